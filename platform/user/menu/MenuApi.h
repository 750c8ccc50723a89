/// Menus: handles into one process-wide table, and the platform's calls on them. A menu is
/// a row of items; an item is a string, a separator, an owner-drawn item or a popup (an
/// item holding another menu), with a state (grayed, disabled, checked, highlighted,
/// default), an identifier, item data and check-mark bitmaps. A stale handle is detected
/// (the calls answer 0, FALSE or -1), never used; handles are never given out twice.
///
/// Calls "by command" (MF_BYCOMMAND) find the first item with that identifier, searching
/// popups depth-first as they come; "by position" (MF_BYPOSITION) count from 0. Inserting
/// at a position past the end appends. Destroying a menu destroys its popups; deleting an
/// item destroys its popup, removing it does not. The state keeps the grayed (1) and
/// disabled (2) bits apart, as GetMenuState and GetMenuItemInfo report them.
#pragma once

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"
#include "platform/base/types/WinUser.h"

/// Item flags of the classic calls (InsertMenu, AppendMenu, ModifyMenu, ...).
enum : UINT {
  MF_INSERT = 0x0000,
  MF_CHANGE = 0x0080,
  MF_APPEND = 0x0100,
  MF_DELETE = 0x0200,
  MF_REMOVE = 0x1000,
  MF_BYCOMMAND = 0x0000,
  MF_BYPOSITION = 0x0400,
  MF_SEPARATOR = 0x0800,
  MF_ENABLED = 0x0000,
  MF_GRAYED = 0x0001,
  MF_DISABLED = 0x0002,
  MF_UNCHECKED = 0x0000,
  MF_CHECKED = 0x0008,
  MF_USECHECKBITMAPS = 0x0200,
  MF_STRING = 0x0000,
  MF_BITMAP = 0x0004,
  MF_OWNERDRAW = 0x0100,
  MF_POPUP = 0x0010,
  MF_MENUBARBREAK = 0x0020,
  MF_MENUBREAK = 0x0040,
  MF_UNHILITE = 0x0000,
  MF_HILITE = 0x0080,
  MF_DEFAULT = 0x1000,
  MF_SYSMENU = 0x2000,
  MF_HELP = 0x4000,
  MF_RIGHTJUSTIFY = 0x4000,
  MF_MOUSESELECT = 0x8000,
};

/// Item types and states of MENUITEMINFO.
enum : UINT {
  MFT_STRING = 0x0000,
  MFT_BITMAP = 0x0004,
  MFT_MENUBARBREAK = 0x0020,
  MFT_MENUBREAK = 0x0040,
  MFT_OWNERDRAW = 0x0100,
  MFT_RADIOCHECK = 0x0200,
  MFT_SEPARATOR = 0x0800,
  MFT_RIGHTORDER = 0x2000,
  MFT_RIGHTJUSTIFY = 0x4000,
  MFS_ENABLED = 0x0000,
  MFS_GRAYED = 0x0003,
  MFS_DISABLED = 0x0003,
  MFS_UNCHECKED = 0x0000,
  MFS_CHECKED = 0x0008,
  MFS_UNHILITE = 0x0000,
  MFS_HILITE = 0x0080,
  MFS_DEFAULT = 0x1000,
};

/// What MENUITEMINFO's fields carry.
enum : UINT {
  MIIM_STATE = 0x0001,
  MIIM_ID = 0x0002,
  MIIM_SUBMENU = 0x0004,
  MIIM_CHECKMARKS = 0x0008,
  MIIM_TYPE = 0x0010,
  MIIM_DATA = 0x0020,
  MIIM_STRING = 0x0040,
  MIIM_BITMAP = 0x0080,
  MIIM_FTYPE = 0x0100,
};

/// TrackPopupMenu flags.
enum : UINT {
  TPM_LEFTALIGN = 0x0000,
  TPM_RIGHTBUTTON = 0x0002,
  TPM_CENTERALIGN = 0x0004,
  TPM_RIGHTALIGN = 0x0008,
  TPM_RETURNCMD = 0x0100,
};

/// A menu item's parts as GetMenuItemInfo reads them and SetMenuItemInfo sets them (fMask says
/// which).
struct MENUITEMINFO {
  UINT cbSize = sizeof(MENUITEMINFO);
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData = 0;
  LPSTR dwTypeData = nullptr;  ///< the text: written into on reading (cch bytes)
  UINT cch = 0;
  HBITMAP hbmpItem;
};

/// A new empty menu bar or popup menu; its handle.
///@{
ZEL_API HMENU CreateMenu();
ZEL_API HMENU CreatePopupMenu();
///@}
/// Destroys the menu and, recursively, its popups.
ZEL_API BOOL DestroyMenu(HMENU menu);
/// Whether the handle is a menu that exists.
ZEL_API BOOL IsMenu(HMENU menu);
/// -1 for a menu that does not exist.
ZEL_API int GetMenuItemCount(HMENU menu);
/// The item's identifier; 0xFFFFFFFF for a popup or a position outside the menu.
ZEL_API UINT GetMenuItemID(HMENU menu, int position);
/// The popup at the position; null for a command item or a position outside the menu.
ZEL_API HMENU GetSubMenu(HMENU menu, int position);
/// The item's flags (MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE, MF_DEFAULT, the type
/// bits, MF_POPUP with the popup's item count in the high byte); 0xFFFFFFFF when missing.
ZEL_API UINT GetMenuState(HMENU menu, UINT item, UINT flags);
/// Copies up to max - 1 characters of the item's text (all of it for a null buffer) and
/// answers how many were copied (the text's length for a null buffer); 0 when missing.
ZEL_API int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int max, UINT flags);
/// The platform's item calls; newItem is the identifier, or the popup's handle value with
/// MF_POPUP. FALSE for a menu or item that does not exist or a popup handle that is not a
/// menu.
///@{
ZEL_API BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCSTR text);
ZEL_API BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR newItem, LPCSTR text);
ZEL_API BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCSTR text);
ZEL_API BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
ZEL_API BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
///@}
/// The previous check or enable state (MF_CHECKED / MF_GRAYED | MF_DISABLED bits), or
/// 0xFFFFFFFF when the item is missing.
///@{
ZEL_API DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
ZEL_API UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
ZEL_API BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite);
///@}
/// Checks item (by position with MF_BYPOSITION) as a radio item and unchecks the others
/// of first..last.
ZEL_API BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT item, UINT flags);
/// The bitmaps shown for the item's checked and unchecked states.
ZEL_API BOOL SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked,
                                HBITMAP checked);
/// The item's parts by MENUITEMINFO: read, set, or a new item inserted.
///@{
ZEL_API BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info);
ZEL_API BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
ZEL_API BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
///@}
