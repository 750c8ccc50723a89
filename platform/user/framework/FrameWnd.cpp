// Frames, views and the multiple-document frames.
#include "platform/user/framework/FrameWnd.h"

#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/MDIWnd.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/framework/View.h"
#include "platform/user/resource/Resources.h"
#include "platform/user/wnd/Window.h"

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNAMIC(CMDIChildWnd, CFrameWnd)

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

// ---- multiple-document frames ----

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const {
  CMDIChildWnd* child = m_pActiveChild && m_pActiveChild->m_hWnd ? m_pActiveChild : nullptr;
  if (maximized) *maximized = child && (child->GetStyle() & WS_MAXIMIZE);
  return child;
}

void CMDIFrameWnd::MDIActivate(CWnd* child) {
  CMDIChildWnd* previous = m_pActiveChild;
  m_pActiveChild = child && child->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))
                       ? static_cast<CMDIChildWnd*>(child)
                       : nullptr;
  if (previous != m_pActiveChild && m_pActiveChild)
    m_pActiveChild->SendMessage(WM_MDIACTIVATE,
                                HandleToWParam(previous ? previous->m_hWnd : HWND()),
                                HandleToLParam(m_pActiveChild->m_hWnd));
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
  CMDIChildWnd* child = MDIGetActive();
  return child ? static_cast<CFrameWnd*>(child) : this;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
  if (CMDIChildWnd* child = MDIGetActive())
    if (child->OnCmdMsg(id, code, extra, info)) return TRUE;
  return CFrameWnd::OnCmdMsg(id, code, extra, info);
}

CMDIChildWnd::~CMDIChildWnd() {
  if (m_pMDIFrame && m_pMDIFrame->m_pActiveChild == this) m_pMDIFrame->m_pActiveChild = nullptr;
}

BOOL CMDIChildWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect,
                          CMDIFrameWnd* parent) {
  if (!parent || !parent->m_hWnd) return FALSE;
  RECT r = rect;
  if (r.left == CW_USEDEFAULT) {
    parent->GetClientRect(&r);
    r.right = r.right * 3 / 4;
    r.bottom = r.bottom * 3 / 4;
  }
  m_pMDIFrame = parent;
  if (!CreateEx(WS_EX_MDICHILD, className, title, style | WS_CHILD, r, parent, 0)) {
    m_pMDIFrame = nullptr;
    return FALSE;
  }
  MDIActivate();
  return TRUE;
}

void CMDIChildWnd::MDIActivate() {
  if (m_pMDIFrame) m_pMDIFrame->MDIActivate(this);
}

void CMDIChildWnd::MDIMaximize() {
  ::SetWindowLongPtr(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | WS_MAXIMIZE));
}

void CMDIChildWnd::MDIRestore() {
  ::SetWindowLongPtr(m_hWnd, GWL_STYLE,
                     static_cast<LONG_PTR>(GetStyle() & ~static_cast<DWORD>(WS_MAXIMIZE)));
}

void CMDIChildWnd::PostNcDestroy() {
  if (m_pMDIFrame && m_pMDIFrame->m_pActiveChild == this) m_pMDIFrame->m_pActiveChild = nullptr;
  CFrameWnd::PostNcDestroy();
}
