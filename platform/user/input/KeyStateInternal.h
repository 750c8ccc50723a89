// The key state as the thread's key messages tell it, kept by the thread's queue as it
// hands the messages out (see GetKeyState).
#pragma once

#include "platform/base/types/WinTypes.h"
#include "platform/base/types/WinUser.h"

namespace zel_input {

inline bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
         message == WM_SYSKEYUP;
}

// Takes note of message when it is a key message: its key is held after WM_KEYDOWN and
// WM_SYSKEYDOWN, released after WM_KEYUP and WM_SYSKEYUP.
void NoteKeyMessage(UINT message, WPARAM virtualKey);

}  // namespace zel_input
