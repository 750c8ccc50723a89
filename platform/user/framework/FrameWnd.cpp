// Frames and views.
#include "platform/user/framework/FrameWnd.h"

#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/framework/View.h"
#include "platform/user/resource/Resources.h"
#include "platform/user/wnd/Window.h"

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CView, CWnd)

const RECT CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopupMessage)
END_MESSAGE_MAP()

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent,
                       HMENU menu, DWORD exStyle) {
  m_hMenuDefault = menu;
  const HWND owner = parent ? parent->m_hWnd : HWND();
  if (rect.left == CW_USEDEFAULT)
    return CreateEx(exStyle, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, owner, menu);
  return CreateEx(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, owner, menu);
}

BOOL CFrameWnd::LoadAccelTable(UINT id) {
  HACCEL table = LoadAccelerators(HINSTANCE(), id);
  if (!table) return FALSE;
  m_hAccelTable = table;
  return TRUE;
}

HACCEL CFrameWnd::GetDefaultAccelerator() { return m_hAccelTable; }

void CFrameWnd::SetActiveView(CView* view, BOOL) { m_pViewActive = view; }

CFrameWnd* CFrameWnd::GetActiveFrame() { return this; }

LRESULT CFrameWnd::OnInitMenuPopupMessage(WPARAM wParam, LPARAM lParam) {
  OnInitMenuPopup(CMenu::FromHandle(HMENU(wParam)), LOWORD(static_cast<uintptr_t>(lParam)),
                  HIWORD(static_cast<uintptr_t>(lParam)));
  return 0;
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu) {
  if (sysMenu || !popup) return;
  CCmdUI state;
  state.m_pMenu = popup;
  state.m_nIndexMax = popup->GetMenuItemCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = popup->GetMenuItemID(static_cast<int>(state.m_nIndex));
    if (state.m_nID == 0) continue;  // a separator
    if (state.m_nID == 0xFFFFFFFF) {
      // A popup answers for its first command, and is never disabled for want of one.
      state.m_pSubMenu = popup->GetSubMenu(static_cast<int>(state.m_nIndex));
      if (!state.m_pSubMenu) continue;
      state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
      if (state.m_nID == 0 || state.m_nID == 0xFFFFFFFF) continue;
      state.DoUpdate(this, FALSE);
    } else {
      state.m_pSubMenu = nullptr;
      state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
    // A handler may have added or removed items: carry on after the item just updated.
    const UINT count = popup->GetMenuItemCount();
    if (count < state.m_nIndexMax) {
      state.m_nIndex -= state.m_nIndexMax - count;
      while (state.m_nIndex < count &&
             popup->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
        ++state.m_nIndex;
    }
    state.m_nIndexMax = count;
  }
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
  if (m_pViewActive && m_pViewActive->OnCmdMsg(id, code, extra, info)) return TRUE;
  return CWnd::OnCmdMsg(id, code, extra, info);
}

void CFrameWnd::PostNcDestroy() {
  m_pViewActive = nullptr;
  m_hMenuDefault = HMENU();
}

// ---- views ----

CView::~CView() {
  if (CFrameWnd* frame = m_hWnd ? GetParentFrame() : nullptr)
    if (frame->GetActiveView() == this) frame->SetActiveView(nullptr);
}

BOOL CView::Create(CFrameWnd* frame, UINT id) {
  if (!frame) return FALSE;
  RECT client;
  frame->GetClientRect(&client);
  return CWnd::Create("View", "", WS_VISIBLE, client, frame, id);
}
