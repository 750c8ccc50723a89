// The Qt application of the Qt backend, made on first need.
#include "platform/qt/QtApplication.h"

#include <QApplication>
#include <QInputDevice>
#include <QtGlobal>
#include <memory>

namespace zel_qt {

void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's list of input devices comes first, so that it outlives the application: a device
  // made later (the offscreen platform makes its pointer on the first mouse event) is
  // taken out of it when the application deletes it at exit.
  QInputDevice::devices();
  static int argc = 1;
  static char name[] = "zelutil";
  static char* argv[] = {name, nullptr};
  // Made after Qt's own globals, so it goes before them at exit.
  static std::unique_ptr<QApplication> app(new QApplication(argc, argv));
}

}  // namespace zel_qt
