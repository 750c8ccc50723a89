// CCoolMenuManager: the window's messages, converting popups, toolbars and accelerators.
#include "ui/CoolMenuManager.h"

#include <algorithm>
#include <utility>

#include "platform/base/string/String.h"
#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/MDIWnd.h"
#include "platform/user/gdi/Bitmap.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/Message.h"
#include "ui/MenuRClickHook.h"

IMPLEMENT_DYNAMIC(CMenuItemData, CObject)
IMPLEMENT_DYNAMIC(CCoolMenuManager, CSubclassWnd)

const UINT WM_RELOADCOOLMENU = RegisterWindowMessage("WM_RELOADCOOLMENU");

namespace {

constexpr int kTextBuffer = 256;

CMenu* MenuOfParam(uintptr_t value) { return CMenu::FromHandle(HMENU(value)); }

// Repaints the framework's radio image: white, a black disc in the middle, its bounding
// square the image shrunk by (width / 2 - 2, height / 2 - 2) on each side.
void RepaintMenuDot() {
  HBITMAP dot = AfxGetMenuDotBitmap();
  SIZE size;
  if (!GetBitmapDimension(dot, &size)) return;
  const int w = size.cx, h = size.cy;
  std::vector<uint32_t> px(static_cast<size_t>(w) * static_cast<size_t>(h), 0xFFFFFFFFu);
  const double left = w / 2 - 2, top = h / 2 - 2, right = w - left, bottom = h - top;
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double rx = (right - left) / 2, ry = (bottom - top) / 2;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      if (rx > 0 && ry > 0 && dx * dx + dy * dy <= 1.0)
        px[static_cast<size_t>(y) * w + x] = 0xFF000000u;
    }
  SetBitmapPixels(dot, px.data());
}

}  // namespace

CCoolMenuManager::CCoolMenuManager() { RepaintMenuDot(); }

CCoolMenuManager::~CCoolMenuManager() {
  RestoreAllMenus();
  Destroy();
}

void CCoolMenuManager::Install(CWnd* window) {
  m_pFrame = window;
  HookWindow(window);
  if (window)
    Reload();
  else
    RestoreAllMenus();
}

void CCoolMenuManager::RestoreAllMenus() {
  for (HMENU menu : m_menuList)
    if (IsMenu(menu)) ConvertMenu(CMenu::FromHandle(menu), FALSE, FALSE);
  m_menuList.clear();
}

void CCoolMenuManager::Reload() {
  RestoreAllMenus();
  Destroy();
  OnReload();
}

CMenuRClickHook* CCoolMenuManager::SetRClickHook(CMenuRClickHook* hook) {
  return std::exchange(m_pRClickHook, hook);
}

void CCoolMenuManager::Destroy() {
  m_ilButtons = CImageList();
  m_buttonMap.clear();
  m_szBitmap = m_szButton = CSize(0, 0);
  m_fontMenu.reset();
  m_fontMenuBold.reset();
  m_accel.clear();
  m_accelMap.clear();
  m_hAccel = HACCEL();
  while (!m_lstItemData.IsEmpty()) delete m_lstItemData.RemoveHead();
}

int CCoolMenuManager::FindButton(UINT id) const {
  for (const ButtonEntry& e : m_buttonMap)
    if (e.id == id) return e.image;
  return -1;
}

bool CCoolMenuManager::IsMyItemData(ULONG_PTR data) const {
  return data && m_lstItemData.Find(reinterpret_cast<CObject*>(data)) != nullptr;
}

LRESULT CCoolMenuManager::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto lp = static_cast<uintptr_t>(lParam);
  switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      Reload();
      return Default();
    case WM_MEASUREITEM:
      if (OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      return Default();
    case WM_DRAWITEM:
      if (OnDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
      return Default();
    case WM_INITMENU: {
      CMenu* bar = MenuOfParam(wParam);
      if (bar) {
        const int count = static_cast<int>(bar->GetMenuItemCount());
        for (int i = 0; i < count; ++i)
          if (CMenu* sub = bar->GetSubMenu(i)) OnInitMenuPopupEx(sub, FALSE, FALSE);
      }
      Default();
      return 0;
    }
    case WM_INITMENUPOPUP: {
      CMenu* popup = MenuOfParam(wParam);
      BOOL system = HIWORD(lp);
      // A maximized MDI child's system menu stands first in the frame's menu bar.
      if (!system && LOWORD(lp) == 0 && m_pFrame && popup &&
          m_pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
        CMDIChildWnd* child = static_cast<CMDIFrameWnd*>(m_pFrame)->MDIGetActive();
        CMenu* childSystem = child ? child->GetSystemMenu(FALSE) : nullptr;
        if (childSystem && childSystem->m_hMenu == popup->m_hMenu) system = TRUE;
      }
      if (popup) OnInitMenuPopupEx(popup, system, FALSE);
      Default();
      if (popup) OnInitMenuPopupEx(popup, system, TRUE);
      return 0;
    }
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam), HMENU(lp));
      if (m_pRClickHook) m_pRClickHook->OnWmMenuSelect(wParam, lParam);
      return Default();
    case WM_MENUCHAR: {
      LRESULT r = OnMenuChar(LOBYTE(wParam), HIWORD(wParam), MenuOfParam(lp));
      return r ? r : Default();
    }
    case WM_RBUTTONDOWN:
      if (m_pRClickHook && m_pRClickHook->OnWmRButtonClick(wParam, lParam)) return 0;
      return Default();
    case WM_ENTERMENULOOP:
      if (m_pRClickHook) m_pRClickHook->OnWmEnterMenuLoop(wParam, lParam);
      return Default();
    case WM_EXITMENULOOP:
      if (m_pRClickHook) m_pRClickHook->OnWmExitMenuLoop(wParam, lParam);
      return Default();
    default:
      return Default();
  }
}

void CCoolMenuManager::OnInitMenuPopupEx(CMenu* menu, BOOL system, BOOL after) {
  if (!after) {
    auto it = std::find(m_menuList.begin(), m_menuList.end(), menu->m_hMenu);
    if (it != m_menuList.end()) {
      ConvertMenu(menu, system, FALSE);
      m_menuList.erase(it);
    }
    const int count = static_cast<int>(menu->GetMenuItemCount());
    for (int i = 0; i < count; ++i)
      if (CMenu* sub = menu->GetSubMenu(i)) OnInitMenuPopupEx(sub, FALSE, FALSE);
    return;
  }
  if (m_bAutoAccel && m_pFrame && m_pFrame->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    HACCEL table = static_cast<CFrameWnd*>(m_pFrame)->GetDefaultAccelerator();
    if (table && table != m_hAccel) LoadAccel(table);
  }
  if (ConvertMenu(menu, system, m_bShowButtons) &&
      std::find(m_menuList.begin(), m_menuList.end(), menu->m_hMenu) == m_menuList.end())
    m_menuList.push_front(menu->m_hMenu);
}

BOOL CCoolMenuManager::ConvertMenu(CMenu* menu, BOOL system, BOOL ownerDraw) {
  BOOL answer = FALSE;
  const int count = static_cast<int>(menu->GetMenuItemCount());
  for (int i = 0; i < count; ++i) {
    char buffer[kTextBuffer] = {};
    MENUITEMINFO info;
    info.fMask = MIIM_SUBMENU | MIIM_DATA | MIIM_ID | MIIM_TYPE | MIIM_STATE;
    info.dwTypeData = buffer;
    info.cch = kTextBuffer;
    if (!menu->GetMenuItemInfo(static_cast<UINT>(i), &info, TRUE)) continue;
    // Somebody else's item, a picture, or one of the window's own commands.
    if (info.dwItemData && !IsMyItemData(info.dwItemData)) continue;
    if (info.fType & MFT_BITMAP) continue;
    if (system && info.wID >= 0xF000) continue;

    auto* record = reinterpret_cast<CMenuItemData*>(info.dwItemData);
    CString text = buffer;
    bool newType = false, newData = false, newText = false;
    if (ownerDraw) {
      if (!(info.fType & MFT_OWNERDRAW)) {
        info.fType |= MFT_OWNERDRAW;
        newType = true;
        if (record) {
          record->text = text;
        } else {
          record = new CMenuItemData;
          record->text = text;
          record->fType = info.fType;
          record->fState = info.fState;
          record->iButton = FindButton(info.wID);
          m_lstItemData.AddTail(record);
          info.dwItemData = reinterpret_cast<ULONG_PTR>(record);
          newData = true;
        }
      }
      answer = TRUE;
    } else {
      if (info.fType & MFT_OWNERDRAW) {
        info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
        newType = true;
        if (record) text = record->text;
      }
      if (record) {
        m_lstItemData.RemoveAt(m_lstItemData.Find(record));
        delete record;
        info.dwItemData = 0;
        newData = true;
      }
      if (m_bAutoAccel && !m_accel.empty() && AppendAccelName(text, info.wID)) newText = true;
      newText = newText || newType;
    }
    if (!newType && !newData && !newText) continue;
    MENUITEMINFO write;
    write.fMask = (newType ? static_cast<UINT>(MIIM_FTYPE) : 0u) |
                  (newData ? static_cast<UINT>(MIIM_DATA) : 0u) |
                  (newText ? static_cast<UINT>(MIIM_STRING) : 0u);
    write.fType = info.fType;
    write.dwItemData = info.dwItemData;
    CString cut = text.Left(kTextBuffer);
    write.dwTypeData = cut.GetBuffer(0);
    menu->SetMenuItemInfo(static_cast<UINT>(i), &write, TRUE);
    cut.ReleaseBuffer();
  }
  return answer;
}

void CCoolMenuManager::OnMenuSelect(UINT, UINT flags, HMENU menu) {
  if (!menu && flags == 0xFFFF) RestoreAllMenus();
}

LRESULT CCoolMenuManager::OnMenuChar(UINT ch, UINT, CMenu* menu) {
  if (!menu) return 0;
  std::vector<int> matches;
  int current = -1;
  const int count = static_cast<int>(menu->GetMenuItemCount());
  for (int i = 0; i < count; ++i) {
    MENUITEMINFO info;
    info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_STATE;
    if (!menu->GetMenuItemInfo(static_cast<UINT>(i), &info, TRUE)) continue;
    if ((info.fType & MFT_OWNERDRAW) && IsMyItemData(info.dwItemData)) {
      const CString& text = reinterpret_cast<CMenuItemData*>(info.dwItemData)->text;
      const int amp = text.Find('&');
      if (amp >= 0 && amp + 1 < text.GetLength() &&
          ZelAsciiToLower(text[amp + 1]) == ZelAsciiToLower(static_cast<char>(ch & 0xFF)))
        matches.push_back(i);
    }
    if (info.fState & MFS_HILITE) current = i;
  }
  if (matches.empty()) return 0;
  if (matches.size() == 1) return MAKELRESULT(static_cast<WORD>(matches[0]), MNC_EXECUTE);
  for (int m : matches)
    if (m > current) return MAKELRESULT(static_cast<WORD>(m), MNC_SELECT);
  return MAKELRESULT(static_cast<WORD>(matches[0]), MNC_SELECT);
}

void CCoolMenuManager::LoadAccel(HACCEL table) {
  m_accel.clear();
  m_accelMap.clear();
  m_hAccel = table;
  const int count = CopyAcceleratorTable(table, nullptr, 0);
  if (count <= 0) return;
  m_accel.resize(static_cast<size_t>(count));
  CopyAcceleratorTable(table, m_accel.data(), count);
  for (size_t i = 0; i < m_accel.size(); ++i) {
    ACCEL& entry = m_accel[i];
    const UINT id = entry.cmd;
    auto it = std::find_if(m_accelMap.begin(), m_accelMap.end(),
                           [&](const AccelEntry& e) { return e.id == id; });
    if (it != m_accelMap.end()) {
      entry.cmd = static_cast<WORD>(&entry - it->entry);
      it->entry = &entry;
    } else {
      entry.cmd = 0;
      if (static_cast<int>(m_accelMap.size()) < kMaxMapEntries) m_accelMap.push_back({id, &entry});
    }
  }
}

BOOL CCoolMenuManager::AppendAccelName(CString& text, UINT id) {
  const int tab = text.Find('\t');
  if (tab > 0) text = text.Left(tab);
  auto it = std::find_if(m_accelMap.begin(), m_accelMap.end(),
                         [&](const AccelEntry& e) { return e.id == id; });
  if (it == m_accelMap.end()) return FALSE;
  bool first = true;
  for (const ACCEL* a = it->entry; a; a = a->cmd ? a - a->cmd : nullptr) {
    text += first ? "\t" : ", ";
    first = false;
    if (a->fVirt & FALT) text += "Alt+";
    if (a->fVirt & FCONTROL) text += "Ctrl+";
    if (a->fVirt & FSHIFT) text += "Shift+";
    if (a->fVirt & FVIRTKEY) {
      char name[64];
      ZelGetKeyName(a->key, name, sizeof name);
      text += name;
    } else {
      text += static_cast<char>(a->key);
    }
  }
  return TRUE;
}

BOOL CCoolMenuManager::LoadToolbar(UINT resourceId) {
  std::string words;
  if (!AfxFindResource(RT_TOOLBAR, resourceId, words) || words.size() < 8) return FALSE;
  auto word = [&](size_t i) {
    return static_cast<UINT>(static_cast<unsigned char>(words[2 * i]) |
                             (static_cast<unsigned char>(words[2 * i + 1]) << 8));
  };
  const UINT count = word(3);
  if (words.size() < 2 * (4 + static_cast<size_t>(count))) return FALSE;
  std::vector<UINT> ids(count);
  for (UINT i = 0; i < count; ++i) ids[i] = word(4 + i);
  return LoadToolbar(resourceId, CSize(static_cast<LONG>(word(1)), static_cast<LONG>(word(2))),
                     ids.data(), static_cast<int>(count));
}

BOOL CCoolMenuManager::LoadToolbar(UINT bitmapId, const UINT* ids, int count) {
  return LoadToolbar(bitmapId, CSize(16, 15), ids, count);
}

BOOL CCoolMenuManager::LoadToolbar(UINT bitmapId, CSize size, const UINT* ids, int count) {
  if (size.cx < 1 || size.cy < 1 || count < 0 || (count > 0 && !ids)) return FALSE;
  HBITMAP bitmap = LoadSysColorBitmap(bitmapId);
  if (!bitmap) return FALSE;
  SIZE bm;
  std::vector<uint32_t> px;
  GetBitmapDimension(bitmap, &bm);
  GetBitmapPixels(bitmap, px);
  DeleteBitmap(bitmap);
  if (m_szBitmap.cx || m_szBitmap.cy) {
    if (!(size == m_szBitmap)) return FALSE;
  } else {
    m_szBitmap = size;
    m_szButton = CSize(size.cx + 4, size.cy + 4);
    m_ilButtons.Create(size.cx, size.cy);
  }
  // The button face is the mask beside the alpha channel, as for the classic opaque strips.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const uint32_t faceRgb = (static_cast<uint32_t>(GetRValue(face)) << 16) |
                           (static_cast<uint32_t>(GetGValue(face)) << 8) | GetBValue(face);
  int next = m_ilButtons.GetImageCount();
  // Whole images only; rows the bitmap lacks stay transparent.
  std::vector<uint32_t> image(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
  for (int left = 0; left + size.cx <= bm.cx; left += size.cx) {
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x) {
        uint32_t p = y < bm.cy ? px[static_cast<size_t>(y) * bm.cx + left + x] : 0;
        if ((p & 0xFFFFFF) == faceRgb) p = 0;
        image[static_cast<size_t>(y) * size.cx + x] = p;
      }
    m_ilButtons.Add(image.data());
  }
  for (int i = 0; i < count; ++i) {
    if (ids[i] == 0) continue;
    if (FindButton(ids[i]) < 0 && static_cast<int>(m_buttonMap.size()) < kMaxMapEntries)
      m_buttonMap.push_back({ids[i], next});
    ++next;
  }
  return TRUE;
}
