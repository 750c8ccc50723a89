// CMenu: the menu calls as members, and the menus' objects.
#include "platform/user/framework/Menu.h"

#include "platform/user/framework/HandleMapInternal.h"
#include "platform/user/framework/Wnd.h"
#include "platform/user/wnd/WindowMenus.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

zel_afx::HandleMap<HMENU, CMenu, &CMenu::m_hMenu>& Menus() {
  static zel_afx::HandleMap<HMENU, CMenu, &CMenu::m_hMenu> map;
  return map;
}
bool Alive(HMENU h) { return IsMenu(h); }

}  // namespace

CMenu::~CMenu() {
  if (m_hMenu) DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu) { return Menus().FromHandle(menu, &Alive); }

BOOL CMenu::Attach(HMENU menu) {
  if (!IsMenu(menu) || Menus().FindPermanent(menu) || m_hMenu) return FALSE;
  m_hMenu = menu;
  Menus().SetPermanent(menu, this);
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU h = m_hMenu;
  if (h) Menus().ErasePermanent(h, this);
  m_hMenu = HMENU();
  return h;
}

BOOL CMenu::CreateMenu() { return !m_hMenu && Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return !m_hMenu && Attach(::CreatePopupMenu()); }

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text) {
  return ::AppendMenu(m_hMenu, flags, id, text);
}
BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCSTR text) {
  return ::InsertMenu(m_hMenu, position, flags, id, text);
}
BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR id, LPCSTR text) {
  return ::ModifyMenu(m_hMenu, position, flags, id, text);
}
BOOL CMenu::DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
BOOL CMenu::RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
BOOL CMenu::InsertMenuItem(UINT item, const MENUITEMINFO* info, BOOL byPosition) {
  return ::InsertMenuItem(m_hMenu, item, byPosition, info);
}
BOOL CMenu::GetMenuItemInfo(UINT item, MENUITEMINFO* info, BOOL byPosition) const {
  return ::GetMenuItemInfo(m_hMenu, item, byPosition, info);
}
BOOL CMenu::SetMenuItemInfo(UINT item, const MENUITEMINFO* info, BOOL byPosition) {
  return ::SetMenuItemInfo(m_hMenu, item, byPosition, info);
}

UINT CMenu::GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
UINT CMenu::GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
UINT CMenu::GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
int CMenu::GetMenuString(UINT id, LPSTR buffer, int max, UINT flags) const {
  return ::GetMenuString(m_hMenu, id, buffer, max, flags);
}
int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const {
  const int n = ::GetMenuString(m_hMenu, id, nullptr, 0, flags);
  const int got = ::GetMenuString(m_hMenu, id, text.GetBuffer(n), n + 1, flags);
  text.ReleaseBuffer(got);
  return got;
}
CMenu* CMenu::GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }

UINT CMenu::CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
UINT CMenu::EnableMenuItem(UINT id, UINT enable) { return ::EnableMenuItem(m_hMenu, id, enable); }
BOOL CMenu::CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags) {
  return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
}
BOOL CMenu::SetMenuItemBitmaps(UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked) {
  return ::SetMenuItemBitmaps(m_hMenu, position, flags, unchecked, checked);
}
BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, LPCRECT rect) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, wnd ? wnd->m_hWnd : HWND(), rect);
}
