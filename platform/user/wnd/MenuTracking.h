// What a window is told while its menus are worked, in the platform's order and forms, for
// presenters to call as the user opens, walks, types into, draws and closes a menu:
//
//   EnterMenuLoop  WM_ENTERMENULOOP (wParam: TRUE for a popup menu tracked on its own)
//   InitMenu       WM_INITMENU (wParam: the menu bar)
//   InitMenuPopup  WM_INITMENUPOPUP (wParam: the popup; lParam: its position, and TRUE in
//                  the high word for a system menu)
//   Select         WM_MENUSELECT (wParam: the item's identifier, or its position for a
//                  popup, and its flags in the high word; lParam: the menu), the item
//                  highlighted and the others not
//   MenuChar       WM_MENUCHAR (wParam: the character and MF_POPUP or MF_SYSMENU; lParam:
//                  the menu); the answer says what to do
//   MeasureItem    WM_MEASUREITEM for an owner-drawn item
//   DrawItem       WM_DRAWITEM for an owner-drawn item on the presenter's device
//   Close          WM_MENUSELECT with flags 0xFFFF and no menu: the menu closed
//   ExitMenuLoop   WM_EXITMENULOOP
//   Command        WM_COMMAND (or WM_SYSCOMMAND) posted for the item chosen
#pragma once

#include "ZelExport.h"
#include "platform/base/types/WinUser.h"
#include "platform/user/gdi/DC.h"

namespace zel_menu {

ZEL_API void EnterMenuLoop(HWND owner, bool trackPopup);
ZEL_API void InitMenu(HWND owner, HMENU bar);
ZEL_API void InitMenuPopup(HWND owner, HMENU popup, int position, bool system);
ZEL_API void Select(HWND owner, HMENU menu, int position, bool system = false);
// The owner's answer split: what to do (MNC_IGNORE, MNC_CLOSE, MNC_EXECUTE, MNC_SELECT)
// and the position it concerns.
struct MenuCharAnswer {
  UINT action = MNC_IGNORE;
  int position = 0;
};
ZEL_API MenuCharAnswer MenuChar(HWND owner, HMENU menu, char ch, bool system = false);
ZEL_API void Close(HWND owner);
ZEL_API void ExitMenuLoop(HWND owner, bool trackPopup);
ZEL_API void Command(HWND owner, UINT id, bool system = false);

// The size the owner gives the owner-drawn item, with the check-mark column the platform
// adds to it (SM_CXMENUCHECK); (0, 0) for an item that is not owner-drawn.
ZEL_API SIZE MeasureItem(HWND owner, HMENU menu, int position);
// Sends WM_DRAWITEM for the owner-drawn item at rect on dc; action is ODA_DRAWENTIRE or
// ODA_SELECT, state the ODS_ bits. False for an item that is not owner-drawn.
ZEL_API bool DrawItem(HWND owner, HMENU menu, int position, CDC* dc, const RECT& rect, UINT action,
                      UINT state);

}  // namespace zel_menu
