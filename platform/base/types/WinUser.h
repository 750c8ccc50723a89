/// \file
/// The window model's vocabulary, with the platform's values: messages, styles, window
/// positions, the message record, window and timer procedures, owner-draw records, waits.
#pragma once

#include "platform/base/types/GdiTypes.h"
#include "platform/base/types/WinTypes.h"

/// Messages.
enum : UINT {
  WM_NULL = 0x0000,
  WM_CREATE = 0x0001,
  WM_DESTROY = 0x0002,
  WM_MOVE = 0x0003,
  WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006,
  WM_SETFOCUS = 0x0007,
  WM_KILLFOCUS = 0x0008,
  WM_ENABLE = 0x000A,
  WM_SETTEXT = 0x000C,
  WM_GETTEXT = 0x000D,
  WM_GETTEXTLENGTH = 0x000E,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_QUIT = 0x0012,
  WM_ERASEBKGND = 0x0014,
  WM_SYSCOLORCHANGE = 0x0015,
  WM_SHOWWINDOW = 0x0018,
  WM_SETTINGCHANGE = 0x001A,
  WM_DRAWITEM = 0x002B,
  WM_MEASUREITEM = 0x002C,
  WM_WINDOWPOSCHANGED = 0x0047,
  WM_HELP = 0x0053,
  WM_NCCREATE = 0x0081,
  WM_NCDESTROY = 0x0082,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_SYSKEYDOWN = 0x0104,
  WM_SYSKEYUP = 0x0105,
  WM_INITDIALOG = 0x0110,
  WM_COMMAND = 0x0111,
  WM_SYSCOMMAND = 0x0112,
  WM_TIMER = 0x0113,
  WM_HSCROLL = 0x0114,
  WM_VSCROLL = 0x0115,
  WM_INITMENU = 0x0116,
  WM_INITMENUPOPUP = 0x0117,
  WM_MENUSELECT = 0x011F,
  WM_MENUCHAR = 0x0120,
  WM_UNINITMENUPOPUP = 0x0125,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_MBUTTONDOWN = 0x0207,
  WM_MBUTTONUP = 0x0208,
  WM_MOUSEWHEEL = 0x020A,
  WM_MOUSEHWHEEL = 0x020E,
  WM_ENTERMENULOOP = 0x0211,
  WM_EXITMENULOOP = 0x0212,
  WM_MDIACTIVATE = 0x0222,
  WM_MDINEXT = 0x0224,
  WM_MDITILE = 0x0226,
  WM_MDICASCADE = 0x0227,
  WM_MDIGETACTIVE = 0x0229,
  WM_DROPFILES = 0x0233,
  WM_MOUSELEAVE = 0x02A3,
  WM_QUERYNEWPALETTE = 0x030F,
  WM_PALETTECHANGED = 0x0311,
  WM_USER = 0x0400,
  WM_APP = 0x8000,
};
/// Notification codes of controls, in the high word of a command's wParam.
enum : UINT {
  BN_CLICKED = 0,
  LBN_SELCHANGE = 1,
  LBN_DBLCLK = 2,
  CBN_SELCHANGE = 1,
  CBN_DBLCLK = 2,
  CBN_EDITCHANGE = 5,
  EN_CHANGE = 0x0300,
};

/// System commands, the system menu's items and a WM_SYSCOMMAND's wParam (the low four
/// bits of which are the system's).
enum : UINT {
  SC_SIZE = 0xF000,
  SC_MOVE = 0xF010,
  SC_MINIMIZE = 0xF020,
  SC_MAXIMIZE = 0xF030,
  SC_CLOSE = 0xF060,
  SC_RESTORE = 0xF120,
  SC_CONTEXTHELP = 0xF180,
};

/// The parent of a message-only window: it takes messages like any window but is never
/// shown, so nobody presents it (a dialog's window, while a backend shows the dialog).
inline constexpr HWND HWND_MESSAGE{static_cast<uintptr_t>(-3)};

/// Registered messages take numbers from this range on, one per distinct name.
constexpr UINT kFirstRegisteredMessage = 0xC000;

/// Window styles.
enum : DWORD {
  WS_OVERLAPPED = 0x00000000,
  WS_POPUP = 0x80000000,
  WS_CLIPSIBLINGS = 0x04000000,
  WS_CHILD = 0x40000000,
  WS_MINIMIZE = 0x20000000,
  WS_VISIBLE = 0x10000000,
  WS_DISABLED = 0x08000000,
  WS_CLIPCHILDREN = 0x02000000,
  WS_MAXIMIZE = 0x01000000,
  WS_CAPTION = 0x00C00000,
  WS_BORDER = 0x00800000,
  WS_SYSMENU = 0x00080000,
  WS_THICKFRAME = 0x00040000,
  WS_MINIMIZEBOX = 0x00020000,
  WS_MAXIMIZEBOX = 0x00010000,
  WS_OVERLAPPEDWINDOW = 0x00CF0000,
  WS_EX_TOPMOST = 0x00000008,
  WS_EX_ACCEPTFILES = 0x00000010,
  WS_EX_TOOLWINDOW = 0x00000080,
  WS_EX_MDICHILD = 0x00000040,
  WS_EX_NOACTIVATE = 0x08000000,
};
/// Scroll bars of windows, and of list and edit controls: plain values, so that they
/// combine with the controls' own styles.
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

/// SetWindowPos flags.
enum : UINT {
  SWP_NOSIZE = 0x0001,
  SWP_NOMOVE = 0x0002,
  SWP_NOZORDER = 0x0004,
  SWP_NOREDRAW = 0x0008,
  SWP_NOACTIVATE = 0x0010,
  SWP_FRAMECHANGED = 0x0020,
  SWP_SHOWWINDOW = 0x0040,
  SWP_HIDEWINDOW = 0x0080,
  SWP_NOOWNERZORDER = 0x0200,
};

/// ShowWindow commands.
enum : int {
  SW_HIDE = 0,
  SW_SHOWNORMAL = 1,
  SW_SHOWMINIMIZED = 2,
  SW_SHOWMAXIMIZED = 3,
  SW_MAXIMIZE = 3,
  SW_SHOWNOACTIVATE = 4,
  SW_SHOW = 5,
  SW_MINIMIZE = 6,
  SW_SHOWMINNOACTIVE = 7,
  SW_SHOWNA = 8,
  SW_RESTORE = 9,
};

/// WM_SIZE's wParam: how the window was sized.
enum : WPARAM { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

/// A window's placement: its show state and the rectangle it has when neither maximised
/// nor minimised (screen coordinates for a top-level window, the parent's client
/// coordinates for a child).
struct WINDOWPLACEMENT {
  UINT length = sizeof(WINDOWPLACEMENT);
  UINT flags = 0;
  UINT showCmd = 0;
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;
};

/// Scroll bars: which bar, the WM_HSCROLL / WM_VSCROLL request codes (low word of wParam),
/// and the parts of a SCROLLINFO that a call reads or fills.
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };
enum : UINT {
  SB_LINEUP = 0,
  SB_LINELEFT = 0,
  SB_LINEDOWN = 1,
  SB_LINERIGHT = 1,
  SB_PAGEUP = 2,
  SB_PAGELEFT = 2,
  SB_PAGEDOWN = 3,
  SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_LEFT = 6,
  SB_BOTTOM = 7,
  SB_RIGHT = 7,
  SB_ENDSCROLL = 8,
};
enum : UINT {
  SIF_RANGE = 0x0001,
  SIF_PAGE = 0x0002,
  SIF_POS = 0x0004,
  SIF_DISABLENOSCROLL = 0x0008,
  SIF_TRACKPOS = 0x0010,
  SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS,
};
/// A scroll bar's range, page and position, as read and set together.
struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

/// The wheel: one notch of a wheel turns WHEEL_DELTA; WM_MOUSEWHEEL's wParam holds the
/// key state in its low word and the signed turn in its high word.
constexpr int WHEEL_DELTA = 120;
/// The turn and the key state that WM_MOUSEWHEEL's wParam carries.
///@{
constexpr short GET_WHEEL_DELTA_WPARAM(uintptr_t w) {
  return static_cast<short>((w >> 16) & 0xFFFF);
}
constexpr WORD GET_KEYSTATE_WPARAM(uintptr_t w) { return static_cast<WORD>(w & 0xFFFF); }
///@}

/// MDI tiling (WM_MDITILE's wParam).
enum : UINT {
  MDITILE_VERTICAL = 0x0000,
  MDITILE_HORIZONTAL = 0x0001,
  MDITILE_SKIPDISABLED = 0x0002
};

/// Window data indexes.
enum : int {
  GWLP_WNDPROC = -4,
  GWLP_HWNDPARENT = -8,  ///< a top-level window's owner
  GWLP_ID = -12,
  GWL_STYLE = -16,
  GWL_EXSTYLE = -20,
  GWLP_USERDATA = -21
};

/// Menu-char answers (high word of WM_MENUCHAR's result).
enum : UINT { MNC_IGNORE = 0, MNC_CLOSE = 1, MNC_EXECUTE = 2, MNC_SELECT = 3 };

/// PeekMessage.
enum : UINT { PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001 };
/// Waits.
enum : DWORD {
  QS_ALLINPUT = 0x04FF,
  WAIT_OBJECT_0 = 0,
  WAIT_TIMEOUT = 258,
  WAIT_FAILED = 0xFFFFFFFF,
  INFINITE = 0xFFFFFFFF,
};

/// Owner-drawn items.
enum : UINT { ODT_MENU = 1 };
enum : UINT { ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2, ODA_FOCUS = 0x4 };
enum : UINT {
  ODS_SELECTED = 0x0001,
  ODS_GRAYED = 0x0002,
  ODS_DISABLED = 0x0004,
  ODS_CHECKED = 0x0008,
  ODS_FOCUS = 0x0010,
  ODS_DEFAULT = 0x0020,
};

/// Mouse-message key states (wParam).
enum : WPARAM { MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8 };

/// The words and bytes of a message parameter, and parameters made of two words.
///@{
constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(uintptr_t v) { return static_cast<BYTE>(v & 0xFF); }
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
  return static_cast<WPARAM>(low) | (static_cast<WPARAM>(high) << 16);
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
  return static_cast<LPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr LRESULT MAKELRESULT(WORD low, WORD high) {
  return static_cast<LRESULT>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
///@}
/// A point packed as mouse messages carry it (signed 16-bit coordinates).
///@{
inline POINT PointOfLParam(LPARAM lp) {
  return POINT{static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lp))),
               static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lp)))};
}
inline LPARAM LParamOfPoint(POINT p) {
  return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}
///@}

/// Handles travel in message parameters as their values.
///@{
template <typename Tag>
inline WPARAM HandleToWParam(ZelHandle<Tag> h) {
  return static_cast<WPARAM>(h.value);
}
template <typename Tag>
inline LPARAM HandleToLParam(ZelHandle<Tag> h) {
  return static_cast<LPARAM>(h.value);
}
///@}

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

/// A message as the queue holds it: window, number, parameters, time and point.
struct MSG {
  HWND hwnd;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
};

/// What WM_NCCREATE and WM_CREATE carry: the window's creation parameters.
struct CREATESTRUCT {
  LPVOID lpCreateParams = nullptr;
  HMENU hMenu;
  HWND hwndParent;
  int cy = 0, cx = 0, y = 0, x = 0;
  LONG style = 0;
  LPCSTR lpszName = nullptr;
  LPCSTR lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

/// What BeginPaint fills in: the device and the part to paint.
struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;
  RECT rcPaint;
};

/// WM_MEASUREITEM's record: the owner fills in the item's size.
struct MEASUREITEMSTRUCT {
  UINT CtlType = ODT_MENU;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemWidth = 0;
  UINT itemHeight = 0;
  ULONG_PTR itemData = 0;
};

/// WM_DRAWITEM's record. For a menu item, hwndItem holds the menu's handle value (as on
/// the platform, where the field is shared); MenuOfDrawItem reads it back.
struct DRAWITEMSTRUCT {
  UINT CtlType = ODT_MENU;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem;
  HDC hDC = nullptr;
  RECT rcItem;
  ULONG_PTR itemData = 0;
};
/// The menu a WM_DRAWITEM record of a menu item is about.
inline HMENU MenuOfDrawItem(const DRAWITEMSTRUCT& d) { return HMENU(d.hwndItem.value); }
