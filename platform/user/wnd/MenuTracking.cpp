// The menu messages as a presenter raises them.
#include "platform/user/wnd/MenuTracking.h"

#include "platform/user/menu/MenuApi.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/Message.h"

namespace zel_menu {
namespace {

bool IsOwnerDrawn(HMENU menu, int position, MENUITEMINFO& info) {
  info = MENUITEMINFO();
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
  return GetMenuItemInfo(menu, static_cast<UINT>(position), TRUE, &info) &&
         (info.fType & MFT_OWNERDRAW);
}

}  // namespace

void EnterMenuLoop(HWND owner, bool trackPopup) {
  SendMessage(owner, WM_ENTERMENULOOP, trackPopup ? TRUE : FALSE, 0);
}

void InitMenu(HWND owner, HMENU bar) { SendMessage(owner, WM_INITMENU, HandleToWParam(bar), 0); }

void InitMenuPopup(HWND owner, HMENU popup, int position, bool system) {
  SendMessage(owner, WM_INITMENUPOPUP, HandleToWParam(popup),
              MAKELPARAM(static_cast<WORD>(position), system ? TRUE : FALSE));
}

void Select(HWND owner, HMENU menu, int position, bool system) {
  const int count = GetMenuItemCount(menu);
  if (position < 0 || position >= count) return;
  for (int i = 0; i < count; ++i)
    HiliteMenuItem(owner, menu, static_cast<UINT>(i),
                   MF_BYPOSITION | (i == position ? MF_HILITE : MF_UNHILITE));
  UINT flags = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
  const bool popup = flags & MF_POPUP;
  flags = (flags & 0xFF) | MF_HILITE | (system ? static_cast<UINT>(MF_SYSMENU) : 0u);
  const UINT id = popup ? static_cast<UINT>(position) : GetMenuItemID(menu, position);
  SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(flags)),
              HandleToLParam(menu));
}

MenuCharAnswer MenuChar(HWND owner, HMENU menu, char ch, bool system) {
  const WORD flags = static_cast<WORD>(system ? static_cast<UINT>(MF_SYSMENU) : MF_POPUP);
  const LRESULT r = SendMessage(owner, WM_MENUCHAR, MAKEWPARAM(static_cast<BYTE>(ch), flags),
                                HandleToLParam(menu));
  return MenuCharAnswer{HIWORD(static_cast<uintptr_t>(r)), LOWORD(static_cast<uintptr_t>(r))};
}

void Close(HWND owner) { SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); }

void ExitMenuLoop(HWND owner, bool trackPopup) {
  SendMessage(owner, WM_EXITMENULOOP, trackPopup ? TRUE : FALSE, 0);
}

void Command(HWND owner, UINT id, bool system) {
  PostMessage(owner, system ? WM_SYSCOMMAND : WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
}

SIZE MeasureItem(HWND owner, HMENU menu, int position) {
  MENUITEMINFO info;
  if (!IsOwnerDrawn(menu, position, info)) return SIZE{0, 0};
  MEASUREITEMSTRUCT m;
  m.CtlType = ODT_MENU;
  m.itemID = info.wID;
  m.itemData = info.dwItemData;
  SendMessage(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
  return SIZE{static_cast<LONG>(m.itemWidth) + GetSystemMetrics(SM_CXMENUCHECK),
              static_cast<LONG>(m.itemHeight)};
}

bool DrawItem(HWND owner, HMENU menu, int position, CDC* dc, const RECT& rect, UINT action,
              UINT state) {
  MENUITEMINFO info;
  if (!dc || !IsOwnerDrawn(menu, position, info)) return false;
  DRAWITEMSTRUCT d;
  d.CtlType = ODT_MENU;
  d.itemID = info.wID;
  d.itemAction = action;
  d.itemState = state;
  d.hwndItem = HWND(menu.value);
  d.hDC = dc;
  d.rcItem = rect;
  d.itemData = info.dwItemData;
  SendMessage(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
  return true;
}

}  // namespace zel_menu
