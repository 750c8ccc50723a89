/// \class CMenu
/// CMenu: a menu of the menu model as the class library wraps it. An object that made or
/// attached its menu destroys it when it goes (unless the menu was detached first);
/// FromHandle answers the attached object or a temporary one of the calling thread.
#pragma once

#include "ZelExport.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"
#include "platform/user/menu/MenuApi.h"

class CWnd;

class ZEL_API CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)
 public:
  CMenu() = default;
  ~CMenu() override;
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  HMENU GetSafeHmenu() const { return m_hMenu; }
  operator HMENU() const { return m_hMenu; }
  static CMenu* FromHandle(HMENU menu);
  /// Makes this the menu's object; FALSE when the menu has one or does not exist.
  BOOL Attach(HMENU menu);
  HMENU Detach();

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  BOOL DestroyMenu();

  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
  BOOL DeleteMenu(UINT position, UINT flags);
  BOOL RemoveMenu(UINT position, UINT flags);
  BOOL InsertMenuItem(UINT item, const MENUITEMINFO* info, BOOL byPosition = FALSE);
  BOOL GetMenuItemInfo(UINT item, MENUITEMINFO* info, BOOL byPosition = FALSE) const;
  BOOL SetMenuItemInfo(UINT item, const MENUITEMINFO* info, BOOL byPosition = FALSE);

  /// 0xFFFFFFFF (as the platform's -1) for a menu that does not exist.
  UINT GetMenuItemCount() const;
  UINT GetMenuItemID(int position) const;
  UINT GetMenuState(UINT id, UINT flags) const;
  int GetMenuString(UINT id, LPSTR buffer, int max, UINT flags) const;
  int GetMenuString(UINT id, CString& text, UINT flags) const;
  CMenu* GetSubMenu(int position) const;

  UINT CheckMenuItem(UINT id, UINT check);
  UINT EnableMenuItem(UINT id, UINT enable);
  BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags);
  BOOL SetMenuItemBitmaps(UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked);
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, LPCRECT rect = nullptr);

  HMENU m_hMenu;
};
