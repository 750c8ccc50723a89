// The Qt application of the Qt backend, made on first need.
#include "platform/qt/QtApplication.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QtGlobal>

#include "platform/user/wnd/ToolkitBridge.h"

namespace zel_qt {
namespace {

struct ApplicationOwner {
  QApplication* app = nullptr;
  ~ApplicationOwner() { delete app; }
};
thread_local ApplicationOwner t_application;

QtMessageHandler g_nextHandler = nullptr;

// The offscreen platform says on standard error that it cannot raise a window or pass on
// size hints, every time a popup shows; nothing is missing for a picture, so it is quiet.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")) &&
      QGuiApplication::platformName() == QLatin1String("offscreen"))
    return;
  if (g_nextHandler) g_nextHandler(type, context, text);
}

}  // namespace

void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Without a session (a terminal over ssh, a test) Qt would warn on standard error that it
  // makes up a runtime folder; it is given one of its own, as a session would, quietly.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const std::string dir = zel_desktop::PrivateRuntimeDir(QDir::tempPath().toStdString());
    if (!dir.empty()) qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
  }
  static int argc = 1;
  static char name[] = "zelutil";
  static char* argv[] = {name, nullptr};
  // Destroyed with the thread that made it: at exit that is before every static object,
  // so Qt's own globals, made later (input devices, the icon caches), are still there.
  t_application.app = new QApplication(argc, argv);
  g_nextHandler = qInstallMessageHandler(QuietOffscreen);
}

}  // namespace zel_qt
