/// \file
/// The user's input from Qt on a desktop: the cursor's position, the mouse buttons and the
/// keyboard's modifiers as Qt knows them now, the system's clock.
#pragma once

#include "ZelQtExport.h"
#include "platform/user/input/Input.h"

namespace zel_qt {

/// The cursor, the buttons and the keys as Qt sees them on a desktop.
class ZEL_QT_API QtInput : public zel_input::SystemInput {
 public:
  POINT CursorPos() const override;
  /// Where the display lets programs move the pointer (not on Wayland: false there).
  bool SetCursorPos(POINT p) override;
  bool IsDown(int virtualKey) const override;
};

}  // namespace zel_qt
