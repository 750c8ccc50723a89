// The multiple-document frames: the MDI client, activation, cascade and tile.
#include "platform/user/framework/MDIWnd.h"

#include <algorithm>

#include "platform/user/framework/MDILayoutInternal.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/Window.h"

IMPLEMENT_DYNAMIC(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNAMIC(CMDIChildWnd, CFrameWnd)

namespace {

// The MDI client's procedure: the MDI requests go to the frame, which keeps the children.
LRESULT MDIClientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MDIACTIVATE:
    case WM_MDICASCADE:
    case WM_MDITILE:
    case WM_MDINEXT:
    case WM_MDIGETACTIVE:
      return SendMessage(GetParent(hwnd), message, wParam, lParam);
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

HWND HandleOf(WPARAM w) { return HWND(static_cast<uintptr_t>(w)); }

}  // namespace

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_MESSAGE(WM_SIZE, OnSizeMessage)
ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivateMessage)
ON_MESSAGE(WM_MDICASCADE, OnMDICascadeMessage)
ON_MESSAGE(WM_MDITILE, OnMDITileMessage)
ON_MESSAGE(WM_MDINEXT, OnMDINextMessage)
ON_MESSAGE(WM_MDIGETACTIVE, OnMDIGetActiveMessage)
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menuOrId,
                            LPVOID param) {
  if (!CFrameWnd::CreateEx(exStyle, className, windowName, style, x, y, width, height, parent,
                           menuOrId, param))
    return FALSE;
  RECT client;
  GetClientRect(&client);
  m_hWndMDIClient = ::CreateWindowEx(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                     0, client.right, client.bottom, m_hWnd,
                                     HMENU(AFX_IDW_PANE_FIRST), &MDIClientProc, nullptr);
  if (!m_hWndMDIClient) {
    DestroyWindow();
    return FALSE;
  }
  RecalcLayout();
  return TRUE;
}

void CMDIFrameWnd::RecalcLayout() {
  if (!m_hWndMDIClient) return;
  RECT client;
  GetClientRect(&client);
  LONG bottom = client.bottom;
  HWND status = ::GetDlgItem(m_hWnd, static_cast<int>(AFX_IDW_STATUS_BAR));
  if (status && ::IsWindowVisible(status)) {
    RECT bar;
    ::GetWindowRect(status, &bar);
    const LONG height = std::min<LONG>(bar.bottom - bar.top, client.bottom);
    bottom = client.bottom - height;
    ::SetWindowPos(status, HWND(), 0, bottom, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::SetWindowPos(m_hWndMDIClient, HWND(), 0, 0, client.right, bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMDIFrameWnd::OnSizeMessage(WPARAM, LPARAM) {
  RecalcLayout();
  return 0;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const {
  CMDIChildWnd* child = m_pActiveChild && m_pActiveChild->m_hWnd ? m_pActiveChild : nullptr;
  if (maximized) *maximized = child && child->IsZoomed();
  return child;
}

void CMDIFrameWnd::MDIActivate(CWnd* child) {
  CMDIChildWnd* previous = m_pActiveChild;
  CMDIChildWnd* next = child && child->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))
                           ? static_cast<CMDIChildWnd*>(child)
                           : nullptr;
  if (next && next->GetMDIFrame() != this) return;
  if (previous == next) return;
  m_pActiveChild = next;
  if (!next) return;
  // One maximised child at a time: the newly active one takes the state over.
  if (previous && previous->m_hWnd && previous->IsZoomed()) {
    next->ShowWindow(SW_MAXIMIZE);
    previous->ShowWindow(SW_RESTORE);
  }
  ::SetWindowPos(next->m_hWnd, HWND(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  zel_wnd::CurrentPresenter().MdiActivated(next->m_hWnd);
  next->SendMessage(WM_MDIACTIVATE, HandleToWParam(previous ? previous->m_hWnd : HWND()),
                    HandleToLParam(next->m_hWnd));
}

std::vector<CMDIChildWnd*> CMDIFrameWnd::Arranged(bool skipDisabled) {
  std::vector<CMDIChildWnd*> arranged;
  CMDIChildWnd* active = MDIGetActive();
  for (CMDIChildWnd* child : m_children) {
    if (!child->m_hWnd || !child->IsWindowVisible() || child->IsIconic()) continue;
    if (skipDisabled && (child->GetStyle() & WS_DISABLED)) continue;
    if (child->IsZoomed()) child->ShowWindow(SW_RESTORE);
    if (child != active) arranged.push_back(child);
  }
  if (active && active->IsWindowVisible() && !active->IsIconic() &&
      !(skipDisabled && (active->GetStyle() & WS_DISABLED)))
    arranged.push_back(active);
  return arranged;
}

void CMDIFrameWnd::MDICascade() {
  std::vector<CMDIChildWnd*> children = Arranged(false);
  RECT area;
  ::GetClientRect(m_hWndMDIClient, &area);
  const int step = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CXBORDER);
  const std::vector<RECT> rects = zel_afx::CascadeRects(area, children.size(), step);
  // In order, each raised above the one before: the active one ends on top.
  for (size_t i = 0; i < children.size(); ++i)
    children[i]->SetWindowPos(nullptr, rects[i].left, rects[i].top, rects[i].right - rects[i].left,
                              rects[i].bottom - rects[i].top, SWP_NOACTIVATE);
}

void CMDIFrameWnd::MDITile(int how) {
  std::vector<CMDIChildWnd*> children = Arranged(how & MDITILE_SKIPDISABLED);
  // Tiles keep the order the children were made in.
  std::stable_sort(children.begin(), children.end(), [&](CMDIChildWnd* a, CMDIChildWnd* b) {
    return std::find(m_children.begin(), m_children.end(), a) <
           std::find(m_children.begin(), m_children.end(), b);
  });
  RECT area;
  ::GetClientRect(m_hWndMDIClient, &area);
  const std::vector<RECT> rects =
      zel_afx::TileRects(area, children.size(), !(how & MDITILE_HORIZONTAL));
  for (size_t i = 0; i < children.size(); ++i)
    children[i]->SetWindowPos(nullptr, rects[i].left, rects[i].top, rects[i].right - rects[i].left,
                              rects[i].bottom - rects[i].top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMDIFrameWnd::MDINext() { SendMessage(WM_MDINEXT, 0, 0); }
void CMDIFrameWnd::MDIPrev() { SendMessage(WM_MDINEXT, 0, 1); }

LRESULT CMDIFrameWnd::OnMDIActivateMessage(WPARAM wParam, LPARAM) {
  MDIActivate(CWnd::FromHandlePermanent(HandleOf(wParam)));
  return 0;
}

LRESULT CMDIFrameWnd::OnMDICascadeMessage(WPARAM, LPARAM) {
  MDICascade();
  return TRUE;
}

LRESULT CMDIFrameWnd::OnMDITileMessage(WPARAM wParam, LPARAM) {
  MDITile(static_cast<int>(wParam));
  return TRUE;
}

LRESULT CMDIFrameWnd::OnMDINextMessage(WPARAM wParam, LPARAM lParam) {
  std::vector<CMDIChildWnd*> live;
  for (CMDIChildWnd* c : m_children)
    if (c->m_hWnd && c->IsWindowVisible()) live.push_back(c);
  if (live.empty()) return 0;
  CWnd* from = wParam ? CWnd::FromHandlePermanent(HandleOf(wParam)) : MDIGetActive();
  auto at = std::find(live.begin(), live.end(), from);
  const size_t n = live.size();
  size_t i = at == live.end() ? 0 : static_cast<size_t>(at - live.begin());
  i = at == live.end() ? 0 : (lParam ? i + n - 1 : i + 1) % n;
  MDIActivate(live[i]);
  return 0;
}

LRESULT CMDIFrameWnd::OnMDIGetActiveMessage(WPARAM, LPARAM lParam) {
  CMDIChildWnd* child = MDIGetActive(reinterpret_cast<BOOL*>(lParam));
  return child ? static_cast<LRESULT>(child->m_hWnd.value) : 0;
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

void CMDIFrameWnd::Remove(CMDIChildWnd* child) {
  std::erase(m_children, child);
  if (m_pActiveChild != child) return;
  m_pActiveChild = nullptr;
  // The most recent of the others carries on, as a closed document leaves the next one.
  for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
    if ((*it)->m_hWnd && (*it)->IsWindowVisible()) {
      MDIActivate(*it);
      break;
    }
}

void CMDIFrameWnd::PostNcDestroy() {
  for (CMDIChildWnd* child : m_children) child->m_pMDIFrame = nullptr;
  m_children.clear();
  m_pActiveChild = nullptr;
  m_hWndMDIClient = HWND();
  CFrameWnd::PostNcDestroy();
}

CMDIChildWnd::~CMDIChildWnd() { Leave(); }

void CMDIChildWnd::Leave() {
  if (CMDIFrameWnd* frame = std::exchange(m_pMDIFrame, nullptr)) frame->Remove(this);
}

BOOL CMDIChildWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect,
                          CMDIFrameWnd* parent) {
  if (!parent || !parent->m_hWnd || !parent->m_hWndMDIClient) return FALSE;
  RECT r = rect;
  if (r.left == CW_USEDEFAULT) {
    ::GetClientRect(parent->m_hWndMDIClient, &r);
    const LONG offset = static_cast<LONG>(parent->m_children.size() % 4) *
                        (GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CXBORDER));
    r = RECT{offset, offset, offset + r.right * 3 / 4, offset + r.bottom * 3 / 4};
  }
  m_pMDIFrame = parent;
  parent->m_children.push_back(this);
  if (!CreateEx(WS_EX_MDICHILD, className, title, style | WS_CHILD, r,
                CWnd::FromHandle(parent->m_hWndMDIClient), 0)) {
    Leave();
    return FALSE;
  }
  MDIActivate();
  return TRUE;
}

void CMDIChildWnd::MDIActivate() {
  if (m_pMDIFrame) m_pMDIFrame->MDIActivate(this);
}

void CMDIChildWnd::MDIMaximize() { ShowWindow(SW_MAXIMIZE); }
void CMDIChildWnd::MDIRestore() { ShowWindow(SW_RESTORE); }

void CMDIChildWnd::PostNcDestroy() {
  Leave();
  CFrameWnd::PostNcDestroy();
}
