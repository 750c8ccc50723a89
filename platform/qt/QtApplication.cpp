// The Qt application of the Qt backend, made on first need.
#include "platform/qt/QtApplication.h"

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QtGlobal>
#include <memory>

namespace zel_qt {

void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Without a session (a terminal over ssh, a test) Qt would warn on standard error that it
  // makes up a runtime folder; it is given one of its own, as a session would, quietly.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QString dir = QDir::tempPath() + "/zelutil-runtime-" + QString::number(::getuid());
    if (QDir().mkpath(dir) &&
        QFile::setPermissions(
            dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
      qputenv("XDG_RUNTIME_DIR", dir.toLocal8Bit());
  }
  static int argc = 1;
  static char name[] = "zelutil";
  static char* argv[] = {name, nullptr};
  // Made after Qt's own globals, so it goes before them at exit.
  static std::unique_ptr<QApplication> app(new QApplication(argc, argv));
}

}  // namespace zel_qt
