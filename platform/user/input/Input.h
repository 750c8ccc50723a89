/// \file
/// The user's input as the platform reports it outside messages: where the pointer is,
/// which buttons and keys are held, and the tick count. One engine of the integration: the
/// Qt set's on a display is the desktop's (Qt's cursor, buttons and modifiers); headless the
/// system's clock answers and the pointer rests where it was put, at first (0, 0), with
/// nothing held. Tests install an input of their own that they set by hand, so that timing
/// logic runs on exact times.
#pragma once

#include <atomic>

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"

/// The mouse buttons as virtual keys (the keyboard's are in platform/user/resource/Keys.def).
enum : int { VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04 };

namespace zel_input {

/// The engine that answers the cursor's position and the buttons' and keys' states.
class ZEL_API Input {
 public:
  virtual ~Input() = default;
  /// The pointer's position in screen coordinates.
  virtual POINT CursorPos() const = 0;
  /// Moves the pointer; false where the platform does not let programs do that.
  virtual bool SetCursorPos(POINT p) = 0;
  /// Whether the button or key (VK_LBUTTON, VK_SHIFT, VK_CONTROL, VK_MENU, ...) is held.
  virtual bool IsDown(int virtualKey) const = 0;
  /// Milliseconds from an arbitrary start, wrapping at 2^32.
  virtual DWORD TickCount() const = 0;
};

/// The monotonic clock, a pointer that stays where it was put, nothing held.
class ZEL_API SystemInput : public Input {
 public:
  POINT CursorPos() const override;
  bool SetCursorPos(POINT p) override;
  bool IsDown(int) const override { return false; }
  DWORD TickCount() const override;

 private:
  std::atomic<long long> m_cursor{0};  ///< x in the high half, y in the low one
};

/// Keys pressed or released while the keyboard's focus was elsewhere went to other programs
/// or popups: the calling thread's GetKeyState answers the keyboard of the moment again,
/// until new key messages tell otherwise. The desktop's integration calls it when one of
/// the thread's windows gets the focus from the toolkit.
ZEL_API void ResyncKeyStates();

/// The installed integration's input, else the system's.
ZEL_API Input& Current();
/// The system's input of the headless set.
ZEL_API SystemInput& System();

}  // namespace zel_input

/// The cursor's position on the screen, read and set.
///@{
ZEL_API BOOL GetCursorPos(POINT* point);
ZEL_API BOOL SetCursorPos(int x, int y);
///@}
/// The high bit (0x8000) set while the key is held. GetAsyncKeyState answers the keyboard
/// of this moment; GetKeyState the keyboard as the thread's key messages (WM_KEYDOWN,
/// WM_KEYUP and their WM_SYS forms) told it when they were taken from its queue, so that a
/// handler sees the keys held when its message was made, even if they were released since
/// (a quick Ctrl+End). A key no message has told of, since the thread began or the
/// focus last came back (ResyncKeyStates), answers as GetAsyncKeyState.
///@{
ZEL_API SHORT GetAsyncKeyState(int virtualKey);
ZEL_API SHORT GetKeyState(int virtualKey);
///@}
/// Milliseconds from an arbitrary start, wrapping as the platform's does.
ZEL_API DWORD GetTickCount();
