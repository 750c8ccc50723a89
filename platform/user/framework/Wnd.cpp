// CWnd: its maps, its procedure, and the window calls as members.
#include "platform/user/framework/Wnd.h"

#include <utility>

#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/HandleMapInternal.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/menu/MenuApi.h"
#include "platform/user/wnd/DragDrop.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/ScrollBars.h"
#include "platform/user/wnd/Window.h"
#include "platform/user/wnd/WindowMenus.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

namespace {

zel_afx::HandleMap<HWND, CWnd, &CWnd::m_hWnd>& Windows() {
  static zel_afx::HandleMap<HWND, CWnd, &CWnd::m_hWnd> map;
  return map;
}
bool Alive(HWND h) { return IsWindow(h); }

// The object whose window is being made on this thread: it meets its handle with the
// window's first message, before CreateWindowEx answers.
thread_local CWnd* t_creating = nullptr;

// Asks a command's update handler whether the command is enabled, changing nothing.
class CTestCmdUI : public CCmdUI {
 public:
  void Enable(BOOL on) override {
    m_bEnableChanged = TRUE;
    enabled = on;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCSTR) override {}
  BOOL enabled = TRUE;
};

const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, UINT message) {
  for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->kind != AFX_MSGMAP_ENTRY::kEnd; ++e) {
      if ((e->kind == AFX_MSGMAP_ENTRY::kMessage || e->kind == AFX_MSGMAP_ENTRY::kDropFiles) &&
          e->message == message)
        return e;
      if (e->kind == AFX_MSGMAP_ENTRY::kRegistered && *e->registered && *e->registered == message)
        return e;
    }
  }
  return nullptr;
}

}  // namespace

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {
      {AFX_MSGMAP_ENTRY::kEnd, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, entries};
  return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

CWnd::~CWnd() {
  if (!m_hWnd) return;
  if (Windows().FindPermanent(m_hWnd) == this) {
    if (m_ownsWindow && zel_wnd::IsOwnWindow(m_hWnd))
      ::DestroyWindow(m_hWnd);  // detaches through WM_NCDESTROY
    else
      Detach();
  }
}

CWnd* CWnd::FromHandle(HWND hWnd) { return Windows().FromHandle(hWnd, &Alive); }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  return hWnd ? Windows().FindPermanent(hWnd) : nullptr;
}

BOOL CWnd::Attach(HWND hWnd) {
  if (!IsWindow(hWnd) || Windows().FindPermanent(hWnd)) return FALSE;
  m_hWnd = hWnd;
  Windows().SetPermanent(hWnd, this);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) Windows().ErasePermanent(h, this);
  m_hWnd = HWND();
  m_ownsWindow = false;
  return h;
}

LRESULT AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
  if (!wnd && t_creating) {
    wnd = std::exchange(t_creating, nullptr);
    wnd->m_hWnd = hWnd;
    wnd->m_ownsWindow = true;
    Windows().SetPermanent(hWnd, wnd);
  }
  if (!wnd) return ::DefWindowProc(hWnd, message, wParam, lParam);
  LRESULT result = wnd->WindowProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    wnd->Detach();
    wnd->PostNcDestroy();
  }
  return result;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, LPVOID param) {
  if (m_hWnd) return FALSE;
  CWnd* previous = std::exchange(t_creating, this);
  HWND h = ::CreateWindowEx(exStyle, className, windowName, style, x, y, width, height, parent,
                            menuOrId, &AfxWndProc, param);
  t_creating = previous;
  if (!h) {
    if (m_hWnd) Detach();
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, parent ? parent->m_hWnd : HWND(),
                  HMENU(id), param);
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::DestroyWindow() { return m_hWnd && ::DestroyWindow(m_hWnd); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& m = zel_wnd::CurrentMessage();
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT r = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
  } else if (const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), message)) {
    if (e->kind == AFX_MSGMAP_ENTRY::kDropFiles)
      (this->*e->onDropFiles)(HDROP(static_cast<uintptr_t>(wParam)));
    else
      r = (this->*e->onMessage)(wParam, lParam);
  } else {
    return FALSE;
  }
  if (result) *result = r;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
  const UINT id = LOWORD(wParam);
  if (id == 0) return FALSE;
  // A command whose item says it is disabled is not carried out, as the framework does
  // for accelerators of greyed items.
  CTestCmdUI probe;
  probe.m_nID = id;
  OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &probe, nullptr);
  if (probe.m_bEnableChanged && !probe.enabled) return TRUE;
  return OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
}

BOOL CWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->kind != AFX_MSGMAP_ENTRY::kEnd; ++e) {
      if (id < e->firstId || id > e->lastId) continue;
      const bool command =
          e->kind == AFX_MSGMAP_ENTRY::kCommand || e->kind == AFX_MSGMAP_ENTRY::kCommandRange;
      const bool update = e->kind == AFX_MSGMAP_ENTRY::kUpdate;
      if ((code == CN_COMMAND && !command) || (code == CN_UPDATE_COMMAND_UI && !update) ||
          (!command && !update))
        continue;
      if (info) {
        info->pTarget = this;
        return TRUE;
      }
      if (e->kind == AFX_MSGMAP_ENTRY::kCommand)
        (this->*e->onCommand)();
      else if (e->kind == AFX_MSGMAP_ENTRY::kCommandRange)
        (this->*e->onRange)(id);
      else
        (this->*e->onUpdate)(static_cast<CCmdUI*>(extra));
      return TRUE;
    }
  }
  return FALSE;
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags) {
  return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : HWND(), x, y, width, height,
                        flags);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }

void CWnd::ClientToScreen(LPRECT rect) const {
  POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
  ::ClientToScreen(m_hWnd, &a);
  ::ClientToScreen(m_hWnd, &b);
  *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::ScreenToClient(LPRECT rect) const {
  POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
  ::ScreenToClient(m_hWnd, &a);
  ::ScreenToClient(m_hWnd, &b);
  *rect = RECT{a.x, a.y, b.x, b.y};
}

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
CDC* CWnd::GetDC() { return ::GetDC(m_hWnd); }
int CWnd::ReleaseDC(CDC* dc) { return ::ReleaseDC(m_hWnd, dc); }
CWnd* CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }

void CWnd::SetWindowText(LPCSTR text) { ::SetWindowText(m_hWnd, text); }
int CWnd::GetWindowText(LPSTR buffer, int size) const {
  return ::GetWindowText(m_hWnd, buffer, size);
}
void CWnd::GetWindowText(CString& text) const {
  const int n = ::GetWindowTextLength(m_hWnd);
  ::GetWindowText(m_hWnd, text.GetBuffer(n), n + 1);
  text.ReleaseBuffer(n);
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CFrameWnd* CWnd::GetParentFrame() const {
  for (HWND p = ::GetParent(m_hWnd); p; p = ::GetParent(p)) {
    CWnd* w = FromHandlePermanent(p);
    if (w && w->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(w);
  }
  return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  CFrameWnd* top = IsKindOf(RUNTIME_CLASS(CFrameWnd))
                       ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this))
                       : GetParentFrame();
  while (top)
    if (CFrameWnd* up = top->GetParentFrame())
      top = up;
    else
      break;
  return top;
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const {
  return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE));
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : HMENU()); }

void CWnd::DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
  return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert));
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) {
  return ::SetTimer(m_hWnd, id, elapse, proc);
}

BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

void CWnd::DragAcceptFiles(BOOL accept) { ::DragAcceptFiles(m_hWnd, accept); }

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const {
  return ::GetWindowPlacement(m_hWnd, placement);
}
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) {
  return ::SetWindowPlacement(m_hWnd, placement);
}

BOOL CWnd::SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw) {
  if (!info || !::IsWindow(m_hWnd)) return FALSE;
  ::SetScrollInfo(m_hWnd, bar, info, redraw);
  return TRUE;
}
BOOL CWnd::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask) const {
  if (!info) return FALSE;
  info->fMask = mask;
  return ::GetScrollInfo(m_hWnd, bar, info);
}
int CWnd::SetScrollPos(int bar, int position, BOOL redraw) {
  return ::SetScrollPos(m_hWnd, bar, position, redraw);
}
int CWnd::GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
void CWnd::SetScrollRange(int bar, int min, int max, BOOL redraw) {
  ::SetScrollRange(m_hWnd, bar, min, max, redraw);
}
