// The tool manager's menus: registering application menus and merging the tools in.
#include <algorithm>
#include <vector>

#include "tools/AppTools.h"
#include "tools/MenuHolder.h"

using zel_tools::IsMenuSeparator;

namespace {

constexpr UINT kFirstToolId = 44444;
constexpr UINT kLastToolId = 45444;

bool IsToolId(UINT id) { return id >= kFirstToolId && id <= kLastToolId; }

// Takes the tool items out of a popup: popups first, and a popup left empty goes with
// its item.
void CleanPopup(CMenu* popup, int depth = 0) {
  for (int i = 0; depth < 64 && i < static_cast<int>(popup->GetMenuItemCount());) {
    if (CMenu* sub = popup->GetSubMenu(i)) {
      CleanPopup(sub, depth + 1);
      if (sub->GetMenuItemCount() == 0) {
        popup->DeleteMenu(static_cast<UINT>(i), MF_BYPOSITION);
        continue;
      }
    } else if (IsToolId(popup->GetMenuItemID(i))) {
      popup->DeleteMenu(static_cast<UINT>(i), MF_BYPOSITION);
      continue;
    }
    ++i;
  }
}

}  // namespace

CMenuHolder* CAppTools::FindMenu(const char* name) {
  for (POSITION p = m_menus.GetHeadPosition(); p;) {
    auto* holder = static_cast<CMenuHolder*>(m_menus.GetNext(p));
    if (holder->m_strName == name) return holder;
  }
  return nullptr;
}

int CAppTools::CheckMenu(const char* name) { return FindMenu(name) ? 1 : 0; }

void CAppTools::UnRegisterMenu(const char* name) {
  for (POSITION p = m_menus.GetHeadPosition(); p;) {
    POSITION at = p;
    auto* holder = static_cast<CMenuHolder*>(m_menus.GetNext(p));
    if (holder->m_strName != name) continue;
    m_menus.RemoveAt(at);
    delete holder;
  }
}

void CAppTools::RegisterMenu(const char* name, CMenu* menu, int* positions, int count, int offset) {
  if (!name || !menu) return;
  CMenuHolder* holder = FindMenu(name);
  if (!holder) {
    holder = new CMenuHolder(name);
    m_menus.AddTail(holder);
  }
  std::vector<int> marks;
  if (!positions) {
    const int items = static_cast<int>(menu->GetMenuItemCount());
    for (int i = offset; i < items; ++i) {
      char text[1024];
      MENUITEMINFO info;
      info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_SUBMENU;
      info.dwTypeData = text;
      info.cch = sizeof text;
      if (!menu->GetMenuItemInfo(static_cast<UINT>(i), &info, TRUE)) continue;
      bool changed = false;
      if (info.fState & MFS_CHECKED) {
        marks.push_back(i - offset);
        info.fState &= ~static_cast<UINT>(MFS_CHECKED);
        changed = true;
      }
      if (info.hSubMenu && (info.fState & MF_DISABLED)) {
        holder->m_nToolsPosition = i - offset;
        info.fState &= ~static_cast<UINT>(MF_DISABLED | MF_GRAYED);
        changed = true;
      }
      if (changed) {
        MENUITEMINFO state;
        state.fMask = MIIM_STATE;
        state.fState = info.fState;
        menu->SetMenuItemInfo(static_cast<UINT>(i), &state, TRUE);
      }
    }
    positions = marks.data();
    count = static_cast<int>(marks.size());
  }
  holder->Load(menu, positions, count);
}

int CAppTools::CompareMenuString(CString& a, CString& b) {
  size_t i = 0, j = 0;
  const std::string &x = a.str(), &y = b.str();
  for (;;) {
    while (i < x.size() && x[i] == '&') ++i;
    while (j < y.size() && y[j] == '&') ++j;
    if (i == x.size() || j == y.size()) return i == x.size() && j == y.size() ? 1 : 0;
    if (x[i++] != y[j++]) return 0;
  }
}

CMenu* CAppTools::FindSubMenuByName(CMenu* menu, CString& name, int* position) {
  if (!menu) return nullptr;
  const int items = static_cast<int>(menu->GetMenuItemCount());
  for (int i = 0; i < items; ++i) {
    char buffer[1024];
    menu->GetMenuString(static_cast<UINT>(i), buffer, sizeof buffer, MF_BYPOSITION);
    CString text = buffer;
    if (text.IsEmpty()) continue;
    CMenu* popup = menu->GetSubMenu(i);
    if (!popup || !CompareMenuString(text, name)) continue;
    if (position) *position = i;
    return popup;
  }
  return nullptr;
}

CMenu* CAppTools::GetSubMenu(CMenu* menu, CString& name) {
  if (CMenu* found = FindSubMenuByName(menu, name, nullptr)) return found;
  HMENU popup = CreatePopupMenu();
  if (!menu->AppendMenu(MF_POPUP, popup.value, name)) {
    DestroyMenu(popup);
    return nullptr;
  }
  MENUITEMINFO info;
  info.fMask = MIIM_ID | MIIM_DATA;
  menu->SetMenuItemInfo(menu->GetMenuItemCount() - 1, &info, TRUE);
  return CMenu::FromHandle(popup);
}

void CAppTools::InsertSubMenu(CToolNode* node, CMenu* menu) {
  if (!node || !menu) return;
  if (node->GetToolIndex() >= 1) {
    menu->AppendMenu(MF_STRING, GetToolCommandID(node->GetToolIndex()), node->GetName());
    return;
  }
  for (POSITION p = node->GetChildren().GetHeadPosition(); p;) {
    auto* child = static_cast<CToolNode*>(node->GetChildren().GetNext(p));
    if (child->GetToolIndex() >= 0) {
      menu->AppendMenu(MF_STRING, GetToolCommandID(child->GetToolIndex()), child->GetName());
    } else {
      CString folder = child->GetName();
      InsertSubMenu(child, GetSubMenu(menu, folder));
    }
  }
}

void CAppTools::UpdateMenu(const char* name, CMenu* menu, int position, int offset) {
  CMenuHolder* holder = name ? FindMenu(name) : nullptr;
  if (!holder || !m_root || !menu) return;
  int place = (position == -1 ? holder->m_nToolsPosition + 1 : position) + offset;
  holder->m_inserted.RemoveAll();

  // Out with the tool items of the last update.
  for (int i = 0; i < static_cast<int>(menu->GetMenuItemCount());) {
    if (CMenu* popup = menu->GetSubMenu(i)) {
      CleanPopup(popup);
      auto& made = holder->m_toolPopups;
      auto ours = std::find(made.begin(), made.end(), popup->m_hMenu);
      if (ours != made.end() && popup->GetMenuItemCount() == 0) {
        made.erase(ours);
        menu->DeleteMenu(static_cast<UINT>(i), MF_BYPOSITION);
        continue;
      }
    } else if (IsToolId(menu->GetMenuItemID(i))) {
      menu->DeleteMenu(static_cast<UINT>(i), MF_BYPOSITION);
      continue;
    }
    ++i;
  }
  std::erase_if(holder->m_toolPopups, [](HMENU h) { return !IsMenu(h); });

  ReloadTools();

  for (POSITION p = m_root->GetChildren().GetHeadPosition(); p;) {
    auto* child = static_cast<CToolNode*>(m_root->GetChildren().GetNext(p));
    CString childName = child->GetName();
    CMenu* popup = FindSubMenuByName(menu, childName, nullptr);
    if (!popup) {
      const bool folder = child->GetToolIndex() < 0;
      MENUITEMINFO info;
      info.fMask = MIIM_STRING | MIIM_ID | (folder ? static_cast<UINT>(MIIM_SUBMENU) : 0u);
      info.dwTypeData = childName.GetBuffer(0);
      info.wID = folder ? 0 : GetToolCommandID(child->GetToolIndex());
      HMENU made;
      if (folder) info.hSubMenu = made = CreatePopupMenu();
      const BOOL inserted = menu->InsertMenuItem(static_cast<UINT>(place), &info, TRUE);
      childName.ReleaseBuffer();
      if (!inserted) {
        if (made) DestroyMenu(made);
        continue;
      }
      holder->m_inserted.Add(static_cast<WORD>(place - offset));
      ++place;
      if (!folder) continue;
      holder->m_toolPopups.push_back(made);
      popup = FindSubMenuByName(menu, childName, nullptr);
    } else {
      if (popup->GetMenuItemCount() == 1 && IsMenuSeparator(popup, 0))
        popup->DeleteMenu(0, MF_BYPOSITION);
      const int items = static_cast<int>(popup->GetMenuItemCount());
      if (items > 0 && !IsMenuSeparator(popup, items - 1)) popup->AppendMenu(MF_SEPARATOR);
    }
    InsertSubMenu(child, popup);
  }
}
