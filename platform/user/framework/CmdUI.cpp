// CCmdUI on menu items, and the framework's radio image.
#include "platform/user/framework/CmdUI.h"

#include <vector>

#include "platform/user/framework/Menu.h"
#include "platform/user/framework/Wnd.h"
#include "platform/user/gdi/Bitmap.h"
#include "platform/user/system/SystemValues.h"

void CCmdUI::Enable(BOOL on) {
  if (m_pMenu && !m_pSubMenu)
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check) {
  if (m_pMenu && !m_pSubMenu)
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetRadio(BOOL on) {
  SetCheck(on ? 1 : 0);
  if (m_pMenu && !m_pSubMenu && on)
    m_pMenu->SetMenuItemBitmaps(m_nIndex, MF_BYPOSITION, HBITMAP(), AfxGetMenuDotBitmap());
}

void CCmdUI::SetText(LPCSTR text) {
  if (!m_pMenu || m_pSubMenu) return;
  const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) &
                     (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_DEFAULT);
  m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
}

BOOL CCmdUI::DoUpdate(CWnd* target, BOOL disableIfNoHandler) {
  if (!target || m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;
  m_bEnableChanged = FALSE;
  const BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (disableIfNoHandler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info;
    Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return handled;
}

HBITMAP AfxGetMenuDotBitmap() {
  static const HBITMAP dot = [] {
    const int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
    std::vector<uint32_t> px(static_cast<size_t>(w) * static_cast<size_t>(h), 0xFFFFFFFFu);
    // A disc of a third of the image in its middle.
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0, r = w / 6.0 + 0.5;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
          px[static_cast<size_t>(y) * w + x] = 0xFF000000u;
    return CreateBitmap32(w, h, px.data());
  }();
  return dot;
}
