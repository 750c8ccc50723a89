// The menu table and the platform's item calls.
#include "platform/user/menu/MenuApi.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

struct Item {
  UINT type = MFT_STRING;
  UINT state = 0;
  UINT id = 0;
  HMENU sub;
  HBITMAP checked, unchecked, bitmap;
  ULONG_PTR data = 0;
  std::string text;
};

struct Menu {
  bool popup = false;
  std::vector<Item> items;
};

constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;
constexpr UINT kTypeBits = MFT_BITMAP | MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_OWNERDRAW |
                           MFT_RADIOCHECK | MFT_SEPARATOR | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;

struct Table {
  std::mutex mutex;
  std::unordered_map<uintptr_t, Menu> menus;
  uintptr_t serial = 0;
};
Table& TheTable() {
  static Table table;
  return table;
}

Menu* MenuOf(Table& t, HMENU h) {
  auto it = t.menus.find(h.value);
  return it == t.menus.end() ? nullptr : &it->second;
}

// The item that item names (by position or by command, popups searched depth-first),
// and the menu holding it.
struct Place {
  Menu* menu = nullptr;
  HMENU handle;
  int index = -1;
  Item* item() const { return menu ? &menu->items[static_cast<size_t>(index)] : nullptr; }
};

Place Locate(Table& t, HMENU h, UINT item, bool byPosition, int depth = 0) {
  Menu* m = MenuOf(t, h);
  if (!m || depth > 64) return {};
  if (byPosition) {
    if (item >= m->items.size()) return {};
    return Place{m, h, static_cast<int>(item)};
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    const Item& it = m->items[i];
    if (!it.sub && it.id == item && !(it.type & MFT_SEPARATOR))
      return Place{m, h, static_cast<int>(i)};
    if (it.sub) {
      Place inner = Locate(t, it.sub, item, false, depth + 1);
      if (inner.menu) return inner;
    }
  }
  return {};
}

void Destroy(Table& t, HMENU h, int depth = 0) {
  Menu* m = MenuOf(t, h);
  if (!m || depth > 64) return;
  std::vector<HMENU> subs;
  for (const Item& it : m->items)
    if (it.sub) subs.push_back(it.sub);
  t.menus.erase(h.value);
  for (HMENU sub : subs) Destroy(t, sub, depth + 1);
}

// An item from the classic flags and its identifier, popup, text or data argument.
bool MakeItem(Table& t, UINT flags, UINT_PTR newItem, LPCSTR text, Item& out) {
  out = Item();
  out.state = flags & kStateBits & ~static_cast<UINT>(MF_HILITE);
  if (flags & MF_SEPARATOR) {
    out.type = MFT_SEPARATOR;
    return true;
  }
  if (flags & MF_OWNERDRAW) {
    out.type |= MFT_OWNERDRAW;
    out.data = reinterpret_cast<ULONG_PTR>(text);
  } else if (flags & MF_BITMAP) {
    out.type |= MFT_BITMAP;
    out.bitmap = HBITMAP(reinterpret_cast<uintptr_t>(text));
  } else if (text) {
    out.text = text;
  }
  if (flags & MF_MENUBARBREAK) out.type |= MFT_MENUBARBREAK;
  if (flags & MF_MENUBREAK) out.type |= MFT_MENUBREAK;
  if (flags & MF_RIGHTJUSTIFY) out.type |= MFT_RIGHTJUSTIFY;
  if (flags & MF_POPUP) {
    HMENU sub(newItem);
    if (!MenuOf(t, sub)) return false;
    out.sub = sub;
    // The platform gives a popup's item the handle's value as its identifier.
    out.id = static_cast<UINT>(newItem);
  } else {
    out.id = static_cast<UINT>(newItem);
  }
  return true;
}

void Insert(Menu& m, UINT position, Item item) {
  const size_t at = std::min<size_t>(position, m.items.size());
  m.items.insert(m.items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
}

HMENU Make(bool popup) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  // Far above any command identifier, and never given out twice.
  HMENU h(0x100000 + ++t.serial);
  t.menus[h.value].popup = popup;
  return h;
}

void CopyText(const std::string& text, MENUITEMINFO* info) {
  if (!info->dwTypeData || info->cch == 0) {
    info->cch = static_cast<UINT>(text.size());
    return;
  }
  const size_t n = std::min<size_t>(text.size(), info->cch - 1);
  std::memcpy(info->dwTypeData, text.data(), n);
  info->dwTypeData[n] = 0;
  info->cch = static_cast<UINT>(n);
}

void ApplyInfo(Table& t, Item& it, const MENUITEMINFO* info) {
  const UINT mask = info->fMask;
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) it.type = info->fType & kTypeBits;
  if ((mask & MIIM_TYPE) && !(info->fType & (MFT_SEPARATOR | MFT_BITMAP)) && info->dwTypeData)
    it.text = info->dwTypeData;
  if ((mask & MIIM_TYPE) && (info->fType & MFT_BITMAP))
    it.bitmap = HBITMAP(reinterpret_cast<uintptr_t>(info->dwTypeData));
  if (mask & MIIM_STRING) it.text = info->dwTypeData ? info->dwTypeData : "";
  if (mask & MIIM_STATE) it.state = info->fState & kStateBits;
  if (mask & MIIM_ID) it.id = info->wID;
  if (mask & MIIM_SUBMENU) it.sub = MenuOf(t, info->hSubMenu) ? info->hSubMenu : HMENU();
  if (mask & MIIM_CHECKMARKS) {
    it.checked = info->hbmpChecked;
    it.unchecked = info->hbmpUnchecked;
  }
  if (mask & MIIM_DATA) it.data = info->dwItemData;
  if (mask & MIIM_BITMAP) it.bitmap = info->hbmpItem;
}

}  // namespace

HMENU CreateMenu() { return Make(false); }
HMENU CreatePopupMenu() { return Make(true); }

BOOL DestroyMenu(HMENU menu) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  if (!MenuOf(t, menu)) return FALSE;
  Destroy(t, menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  return MenuOf(t, menu) != nullptr;
}

int GetMenuItemCount(HMENU menu) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Menu* m = MenuOf(t, menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, static_cast<UINT>(position), true);
  if (position < 0 || !p.menu || p.item()->sub) return 0xFFFFFFFF;
  return p.item()->id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, static_cast<UINT>(position), true);
  return position >= 0 && p.menu ? p.item()->sub : HMENU();
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, item, flags & MF_BYPOSITION);
  if (!p.menu) return 0xFFFFFFFF;
  const Item& it = *p.item();
  UINT state =
      it.state |
      (it.type & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP | MFT_MENUBARBREAK | MFT_MENUBREAK));
  if (it.sub) {
    Menu* sub = MenuOf(t, it.sub);
    state = (state & 0xFF) | MF_POPUP | (static_cast<UINT>(sub ? sub->items.size() : 0) << 8);
  }
  return state;
}

int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int max, UINT flags) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, item, flags & MF_BYPOSITION);
  if (!p.menu) return 0;
  const std::string& text = p.item()->text;
  if (!buffer) return static_cast<int>(text.size());
  if (max <= 0) return 0;
  const int n = std::min(static_cast<int>(text.size()), max - 1);
  std::memcpy(buffer, text.data(), static_cast<size_t>(n));
  buffer[n] = 0;
  return n;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCSTR text) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Item item;
  if (!MakeItem(t, flags, newItem, text, item)) return FALSE;
  if (flags & MF_BYPOSITION) {
    Menu* m = MenuOf(t, menu);
    if (!m) return FALSE;
    Insert(*m, position, std::move(item));
    return TRUE;
  }
  // By command: before the item with that identifier, appended when there is none.
  Place p = Locate(t, menu, position, false);
  if (p.menu) {
    Insert(*p.menu, static_cast<UINT>(p.index), std::move(item));
    return TRUE;
  }
  Menu* m = MenuOf(t, menu);
  if (!m) return FALSE;
  m->items.push_back(std::move(item));
  return TRUE;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR newItem, LPCSTR text) {
  return InsertMenu(menu, 0xFFFFFFFF, flags | MF_BYPOSITION, newItem, text);
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCSTR text) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, position, flags & MF_BYPOSITION);
  if (!p.menu) return FALSE;
  Item item;
  if (!MakeItem(t, flags, newItem, text, item)) return FALSE;
  Item& old = *p.item();
  // A popup replaced by something else goes, as the platform destroys it.
  if (old.sub && old.sub != item.sub) Destroy(t, old.sub);
  item.checked = old.checked;
  item.unchecked = old.unchecked;
  old = std::move(item);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, position, flags & MF_BYPOSITION);
  if (!p.menu) return FALSE;
  HMENU sub = p.item()->sub;
  p.menu->items.erase(p.menu->items.begin() + p.index);
  if (sub) Destroy(t, sub);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, position, flags & MF_BYPOSITION);
  if (!p.menu) return FALSE;
  p.menu->items.erase(p.menu->items.begin() + p.index);
  return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, item, check & MF_BYPOSITION);
  if (!p.menu) return 0xFFFFFFFF;
  UINT& state = p.item()->state;
  const DWORD previous = state & MF_CHECKED;
  state = (state & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
  return previous;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, item, enable & MF_BYPOSITION);
  if (!p.menu) return 0xFFFFFFFF;
  UINT& state = p.item()->state;
  const UINT previous = state & (MF_GRAYED | MF_DISABLED);
  state =
      (state & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

BOOL HiliteMenuItem(HWND, HMENU menu, UINT item, UINT hilite) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, item, hilite & MF_BYPOSITION);
  if (!p.menu) return FALSE;
  UINT& state = p.item()->state;
  state = (state & ~static_cast<UINT>(MF_HILITE)) | (hilite & MF_HILITE);
  return TRUE;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT item, UINT flags) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  const bool byPosition = flags & MF_BYPOSITION;
  Place target = Locate(t, menu, item, byPosition);
  if (!target.menu) return FALSE;
  for (size_t i = 0; i < target.menu->items.size(); ++i) {
    Item& it = target.menu->items[i];
    const UINT key = byPosition ? static_cast<UINT>(i) : it.id;
    if (key < first || key > last || it.sub) continue;
    if (static_cast<int>(i) == target.index) {
      it.type |= MFT_RADIOCHECK;
      it.state |= MF_CHECKED;
    } else {
      it.state &= ~static_cast<UINT>(MF_CHECKED);
    }
  }
  return TRUE;
}

BOOL SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, position, flags & MF_BYPOSITION);
  if (!p.menu) return FALSE;
  p.item()->checked = checked;
  p.item()->unchecked = unchecked;
  return TRUE;
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info) {
  if (!info) return FALSE;
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, item, byPosition);
  if (!p.menu) return FALSE;
  const Item& it = *p.item();
  const UINT mask = info->fMask;
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it.type;
  if (mask & MIIM_STATE) info->fState = it.state;
  if (mask & MIIM_ID) info->wID = it.id;
  if (mask & MIIM_SUBMENU) info->hSubMenu = it.sub;
  if (mask & MIIM_CHECKMARKS) {
    info->hbmpChecked = it.checked;
    info->hbmpUnchecked = it.unchecked;
  }
  if (mask & MIIM_DATA) info->dwItemData = it.data;
  if (mask & MIIM_BITMAP) info->hbmpItem = it.bitmap;
  if (mask & (MIIM_TYPE | MIIM_STRING)) {
    if (it.type & MFT_SEPARATOR)
      CopyText("", info);
    else
      CopyText(it.text, info);
  }
  return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
  if (!info) return FALSE;
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Place p = Locate(t, menu, item, byPosition);
  if (!p.menu) return FALSE;
  ApplyInfo(t, *p.item(), info);
  return TRUE;
}

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
  if (!info) return FALSE;
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Item fresh;
  ApplyInfo(t, fresh, info);
  if ((info->fMask & MIIM_SUBMENU) && info->hSubMenu && !fresh.sub) return FALSE;
  if (byPosition) {
    Menu* m = MenuOf(t, menu);
    if (!m) return FALSE;
    Insert(*m, item, std::move(fresh));
    return TRUE;
  }
  Place p = Locate(t, menu, item, false);
  if (p.menu) {
    Insert(*p.menu, static_cast<UINT>(p.index), std::move(fresh));
    return TRUE;
  }
  Menu* m = MenuOf(t, menu);
  if (!m) return FALSE;
  m->items.push_back(std::move(fresh));
  return TRUE;
}
