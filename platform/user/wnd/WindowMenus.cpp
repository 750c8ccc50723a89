// The menu calls that involve a window.
#include "platform/user/wnd/WindowMenus.h"

#include "platform/user/menu/MenuApi.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/Window.h"
#include "platform/user/wnd/WindowInternal.h"

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT*) {
  if (!IsMenu(menu) || !IsWindow(hwnd)) return FALSE;
  UINT command = zel_wnd::CurrentPresenter().TrackPopupMenu(menu, flags, POINT{x, y}, hwnd);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(command);
  if (command) PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
  return command != 0;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  if (!IsWindow(hwnd)) return HMENU();
  HMENU current = zel_wnd_internal::SystemMenuOf(hwnd);
  if (revert) {
    if (current) DestroyMenu(current);
    zel_wnd_internal::SetSystemMenuOf(hwnd, HMENU());
    return HMENU();
  }
  if (current && IsMenu(current)) return current;
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenu(menu, MF_STRING, SC_MOVE, "&Move");
  AppendMenu(menu, MF_STRING, SC_SIZE, "&Size");
  AppendMenu(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenu(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  zel_wnd_internal::SetSystemMenuOf(hwnd, menu);
  return menu;
}
