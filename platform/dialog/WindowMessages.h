// The window messages and command notifications that dialogs send and receive, with the
// platform's numbers, and the message record handed to PreTranslateMessage.
#pragma once

#include "platform/afx/WinTypes.h"

enum : UINT {
  WM_CLOSE = 0x0010,
  WM_QUERYNEWPALETTE = 0x030F,
  WM_PALETTECHANGED = 0x0311,
  WM_HELP = 0x0053,
  WM_KEYDOWN = 0x0100,
  WM_CHAR = 0x0102,
  WM_INITDIALOG = 0x0110,
  WM_COMMAND = 0x0111,
  WM_SYSCOMMAND = 0x0112,
};

// Notification codes, in the high word of a command's wParam.
enum : UINT {
  BN_CLICKED = 0,
  LBN_SELCHANGE = 1,
  LBN_DBLCLK = 2,
  CBN_SELCHANGE = 1,
  CBN_DBLCLK = 2,
  CBN_EDITCHANGE = 5,
  EN_CHANGE = 0x0300,
};

// System commands, in a WM_SYSCOMMAND's wParam (the low four bits are the system's).
enum : UINT { SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_CLOSE = 0xF060, SC_CONTEXTHELP = 0xF180 };

struct MSG {
  HWND hwnd;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
};

constexpr WORD LOWORD(uintptr_t value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
  return static_cast<WPARAM>(low) | (static_cast<WPARAM>(high) << 16);
}
