// The user's input from Qt's cursor, buttons and modifiers.
#include "platform/qt/QtInput.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/user/resource/KeyNames.h"

namespace zel_qt {

POINT QtInput::CursorPos() const {
  const QPoint p = QCursor::pos();
  return POINT{p.x(), p.y()};
}

bool QtInput::SetCursorPos(POINT p) {
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return false;
  QCursor::setPos(p.x, p.y);
  return true;
}

bool QtInput::IsDown(int virtualKey) const {
  // Asked of the window system now, not of the last event Qt handled.
  switch (virtualKey) {
    case VK_LBUTTON:
      return QGuiApplication::mouseButtons() & Qt::LeftButton;
    case VK_RBUTTON:
      return QGuiApplication::mouseButtons() & Qt::RightButton;
    case VK_MBUTTON:
      return QGuiApplication::mouseButtons() & Qt::MiddleButton;
    case VK_SHIFT:
      return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    case VK_CONTROL:
      return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    case VK_MENU:
      return QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier;
    default:
      return false;
  }
}

}  // namespace zel_qt
