// Windows: making and destroying them, their data, geometry, text, menu and painting.
#include "platform/user/wnd/Window.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "platform/user/menu/MenuApi.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/WindowInternal.h"

using zel_wnd_internal::Change;
using zel_wnd_internal::Find;
using zel_wnd_internal::ThreadQueue;
using zel_wnd_internal::WindowRecord;

namespace {

thread_local HWND t_active;
thread_local HWND t_focus;

constexpr DWORD kShowStates = WS_MAXIMIZE | WS_MINIMIZE;

// The frame around a window: border, caption and menu bar.
RECT FrameInsets(const WindowRecord& w) {
  const int b = (w.style & (WS_BORDER | WS_THICKFRAME)) ? GetSystemMetrics(SM_CXBORDER) : 0;
  RECT in{b, b, b, b};
  if ((w.style & WS_CAPTION) == WS_CAPTION) in.top += GetSystemMetrics(SM_CYCAPTION);
  if (!(w.style & WS_CHILD) && w.menu) in.top += GetSystemMetrics(SM_CYMENU);
  return in;
}

// Everything between the window's rectangle and its client area: the frame and the
// scroll bars.
RECT Insets(const WindowRecord& w) {
  RECT in = FrameInsets(w);
  if (w.style & WS_VSCROLL) in.right += GetSystemMetrics(SM_CXVSCROLL);
  if (w.style & WS_HSCROLL) in.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return in;
}

// The screen position of a window's top-left corner.
POINT Origin(const WindowRecord& w) {
  POINT p{w.rect.left, w.rect.top};
  if (!(w.style & WS_CHILD) || !w.parent) return p;
  auto parent = Find(w.parent);
  if (!parent) return p;
  POINT o = Origin(*parent);
  RECT in = Insets(*parent);
  return POINT{o.x + in.left + p.x, o.y + in.top + p.y};
}

POINT ClientOrigin(const WindowRecord& w) {
  POINT o = Origin(w);
  RECT in = Insets(w);
  return POINT{o.x + in.left, o.y + in.top};
}

bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Windows nearer the top first: topmost ones above the others, then the latest raised.
std::vector<WindowRecord> ByZOrder(std::vector<WindowRecord> windows) {
  std::sort(windows.begin(), windows.end(), [](const WindowRecord& a, const WindowRecord& b) {
    const bool ta = a.exStyle & WS_EX_TOPMOST, tb = b.exStyle & WS_EX_TOPMOST;
    if (ta != tb) return ta;
    return a.zorder > b.zorder;
  });
  return windows;
}

std::map<CDC*, std::unique_ptr<CDC>>& OpenDCs() {
  thread_local std::map<CDC*, std::unique_ptr<CDC>> dcs;
  return dcs;
}

}  // namespace

namespace zel_wnd {
bool IsOwnWindow(HWND hwnd) {
  auto w = Find(hwnd);
  return w && w->queue == ThreadQueue::Current();
}
}  // namespace zel_wnd

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, WNDPROC proc, LPVOID param) {
  const bool messageOnly = parent == HWND_MESSAGE;
  if (messageOnly) {
    parent = HWND();
    style &= ~static_cast<DWORD>(WS_VISIBLE | WS_CHILD);
  }
  if (parent && !IsWindow(parent)) return HWND();
  if ((style & WS_CHILD) && !parent) return HWND();
  WindowRecord r;
  r.queue = ThreadQueue::Current();
  r.proc = proc;
  r.parent = parent;
  r.style = style & ~static_cast<DWORD>(WS_VISIBLE);
  r.exStyle = exStyle;
  r.className = className ? className : "";
  r.text = windowName ? windowName : "";
  r.messageOnly = messageOnly;
  if (x == CW_USEDEFAULT) x = 100, y = 100;
  if (width == CW_USEDEFAULT) width = 640, height = 480;
  r.rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  r.normalRect = r.rect;
  if (style & WS_CHILD)
    r.id = static_cast<UINT>(menu.value);
  else
    r.menu = menu;
  HWND h = zel_wnd_internal::Add(std::move(r));
  if (!messageOnly) zel_wnd::CurrentPresenter().Created(h);
  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  if (!SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
      SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(h);
    return HWND();
  }
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return h;
}

BOOL DestroyWindow(HWND hwnd) {
  auto w = Find(hwnd);
  if (!w || w->destroying || w->queue != ThreadQueue::Current()) return FALSE;
  Change(hwnd, [](WindowRecord& r) { r.destroying = true; });
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  for (const WindowRecord& child : zel_wnd_internal::All())
    if (child.parent == hwnd) DestroyWindow(child.handle);
  SendMessage(hwnd, WM_NCDESTROY, 0, 0);
  w->queue->KillTimersOf(hwnd);
  zel_wnd::CurrentPresenter().Destroyed(hwnd);
  // The window's menus go with it, as on the platform.
  if (auto last = Find(hwnd)) {
    if (last->menu && !(last->style & WS_CHILD)) DestroyMenu(last->menu);
    if (last->systemMenu) DestroyMenu(last->systemMenu);
  }
  zel_wnd_internal::Remove(hwnd);
  if (t_active == hwnd) t_active = HWND();
  if (t_focus == hwnd) t_focus = HWND();
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd).has_value(); }

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      if (!Change(hwnd, [&](WindowRecord& r) { r.text = text ? text : ""; })) return FALSE;
      zel_wnd::CurrentPresenter().Retitled(hwnd);
      return TRUE;
    }
    case WM_GETTEXT:
      return GetWindowText(hwnd, reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
      return GetWindowTextLength(hwnd);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_MENUCHAR:
      return MAKELRESULT(0, MNC_IGNORE);
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      auto w = Find(hwnd);
      return w && (w->style & WS_CHILD) ? SendMessage(w->parent, message, wParam, lParam) : 0;
    }
    default:
      return 0;
  }
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  auto w = Find(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_ID:
      return static_cast<LONG_PTR>(w->id);
    case GWL_STYLE:
      return static_cast<LONG_PTR>(w->style | (w->visible ? static_cast<DWORD>(WS_VISIBLE) : 0u));
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(w->exStyle);
    case GWLP_USERDATA:
      return w->userData;
    case GWLP_HWNDPARENT:
      return static_cast<LONG_PTR>(w->parent.value);
    default:
      return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  LONG_PTR previous = 0;
  if (index == GWLP_HWNDPARENT) {
    // A top-level window's owner: it goes with its owner and, on a desktop, stays above it.
    const HWND owner{static_cast<uintptr_t>(value)};
    if (owner && (owner == hwnd || !IsWindow(owner))) return 0;
    bool changed = false;
    Change(hwnd, [&](WindowRecord& r) {
      if (r.style & WS_CHILD) return;
      previous = static_cast<LONG_PTR>(r.parent.value);
      changed = r.parent != owner;
      r.parent = owner;
    });
    if (changed) zel_wnd::CurrentPresenter().OwnerChanged(hwnd);
    return previous;
  }
  Change(hwnd, [&](WindowRecord& r) {
    switch (index) {
      case GWLP_WNDPROC:
        previous = reinterpret_cast<LONG_PTR>(r.proc);
        r.proc = reinterpret_cast<WNDPROC>(value);
        break;
      case GWLP_ID:
        previous = static_cast<LONG_PTR>(r.id);
        r.id = static_cast<UINT>(value);
        break;
      case GWL_STYLE:
        previous = static_cast<LONG_PTR>(r.style);
        r.style = static_cast<DWORD>(value) & ~static_cast<DWORD>(WS_VISIBLE);
        break;
      case GWL_EXSTYLE:
        previous = static_cast<LONG_PTR>(r.exStyle);
        r.exStyle = static_cast<DWORD>(value);
        break;
      case GWLP_USERDATA:
        previous = std::exchange(r.userData, value);
        break;
      default:
        break;
    }
  });
  return previous;
}

HWND GetParent(HWND hwnd) {
  auto w = Find(hwnd);
  return w ? w->parent : HWND();
}

int GetDlgCtrlID(HWND hwnd) {
  auto w = Find(hwnd);
  return w && (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
}

int GetClassName(HWND hwnd, LPSTR buffer, int size) {
  auto w = Find(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  const int n = std::min(static_cast<int>(w->className.size()), size - 1);
  std::memcpy(buffer, w->className.data(), static_cast<size_t>(n));
  buffer[n] = 0;
  return n;
}

HWND GetDlgItem(HWND parent, int id) {
  HWND found;
  for (const WindowRecord& w : zel_wnd_internal::All())
    if (w.parent == parent && (w.style & WS_CHILD) && static_cast<int>(w.id) == id &&
        (!found || w.handle.value < found.value))
      found = w.handle;
  return found;
}

namespace {

// The show state a command asks for: WS_MAXIMIZE, WS_MINIMIZE, 0 (normal), or the current
// one.
DWORD StateOf(int command, DWORD current) {
  switch (command) {
    case SW_SHOWMAXIMIZED:
      return WS_MAXIMIZE;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      return WS_MINIMIZE;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      return 0;
    default:
      return current;
  }
}

// Where a maximised window goes: its client area over the parent's client area (or the
// work area), its frame just outside.
RECT MaximizedRect(const WindowRecord& w) {
  RECT area{0, 0, GetSystemMetrics(SM_CXFULLSCREEN),
            GetSystemMetrics(SM_CYFULLSCREEN) + GetSystemMetrics(SM_CYCAPTION)};
  if ((w.style & WS_CHILD) && w.parent) GetClientRect(w.parent, &area);
  const RECT in = FrameInsets(w);
  return RECT{area.left - in.left, area.top - in.top, area.right + in.right,
              area.bottom + in.bottom};
}

void SendSize(HWND hwnd, WPARAM how) {
  RECT client;
  GetClientRect(hwnd, &client);
  SendMessage(hwnd, WM_SIZE, how,
              MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
}

WPARAM SizeKind(DWORD style) {
  return (style & WS_MAXIMIZE)   ? SIZE_MAXIMIZED
         : (style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                 : SIZE_RESTORED;
}

// Maximised children keep filling their parent when it is sized.
void FitMaximizedChildren(HWND parent) {
  for (const WindowRecord& child : zel_wnd_internal::All())
    if (child.parent == parent && (child.style & WS_CHILD) && (child.style & WS_MAXIMIZE)) {
      const RECT r = MaximizedRect(child);
      SetWindowPos(child.handle, HWND(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ChangeShowState(HWND hwnd, DWORD state) {
  auto w = Find(hwnd);
  if (!w || (w->style & kShowStates) == state) return;
  RECT target = w->rect;
  if (state == WS_MAXIMIZE) {
    WindowRecord next = *w;
    next.style = (next.style & ~kShowStates) | state;
    target = MaximizedRect(next);
  } else if (state == 0) {
    target = w->normalRect;
  }
  const bool moved = std::memcmp(&target, &w->rect, sizeof(RECT)) != 0;
  Change(hwnd, [&](WindowRecord& r) {
    if (!(r.style & kShowStates)) r.normalRect = r.rect;
    r.style = (r.style & ~kShowStates) | state;
    r.rect = target;
  });
  zel_wnd::Presenter& presenter = zel_wnd::CurrentPresenter();
  presenter.ShowStateChanged(hwnd);
  if (moved) presenter.Moved(hwnd);
  SendSize(hwnd, SizeKind(state));
  if (moved) FitMaximizedChildren(hwnd);
}

}  // namespace

BOOL ShowWindow(HWND hwnd, int command) {
  auto w = Find(hwnd);
  if (!w || w->messageOnly) return FALSE;
  const bool visible = command != SW_HIDE;
  // The state first, so that the presenter shows the window as it is meant to be.
  ChangeShowState(hwnd, StateOf(command, w->style & kShowStates));
  const uint64_t top = zel_wnd_internal::NextZOrder();
  Change(hwnd, [&](WindowRecord& r) {
    r.visible = visible;
    if (visible && command != SW_SHOWNOACTIVATE && command != SW_SHOWNA) r.zorder = top;
  });
  if (w->visible != visible) {
    SendMessage(hwnd, WM_SHOWWINDOW, visible, 0);
    zel_wnd::CurrentPresenter().Shown(hwnd, visible);
  }
  const bool activates = visible && command != SW_SHOWNOACTIVATE && command != SW_SHOWNA &&
                         !(w->exStyle & WS_EX_NOACTIVATE) && !(w->style & WS_CHILD);
  if (activates && zel_wnd::IsOwnWindow(hwnd)) t_active = hwnd;
  return w->visible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  auto w = Find(hwnd);
  return w && w->visible;
}

BOOL IsZoomed(HWND hwnd) {
  auto w = Find(hwnd);
  return w && (w->style & WS_MAXIMIZE);
}

BOOL IsIconic(HWND hwnd) {
  auto w = Find(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
  auto w = Find(hwnd);
  if (!w || !placement) return FALSE;
  placement->flags = 0;
  placement->showCmd = (w->style & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
                       : (w->style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                                  : SW_SHOWNORMAL;
  placement->ptMinPosition = POINT{-1, -1};
  placement->ptMaxPosition = POINT{-1, -1};
  placement->rcNormalPosition = (w->style & kShowStates) ? w->normalRect : w->rect;
  return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
  auto w = Find(hwnd);
  if (!w || !placement) return FALSE;
  const RECT& n = placement->rcNormalPosition;
  if (w->style & kShowStates)
    Change(hwnd, [&](WindowRecord& r) { r.normalRect = n; });
  else
    SetWindowPos(hwnd, HWND(), n.left, n.top, n.right - n.left, n.bottom - n.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd, static_cast<int>(placement->showCmd));
  return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int width, int height, UINT flags) {
  auto w = Find(hwnd);
  if (!w) return FALSE;
  RECT r = w->rect;
  if (!(flags & SWP_NOMOVE)) {
    r.right += x - r.left;
    r.bottom += y - r.top;
    r.left = x;
    r.top = y;
  }
  if (!(flags & SWP_NOSIZE)) {
    r.right = r.left + std::max(width, 0);
    r.bottom = r.top + std::max(height, 0);
  }
  const bool moved = r.left != w->rect.left || r.top != w->rect.top;
  const bool sized = r.right - r.left != w->rect.right - w->rect.left ||
                     r.bottom - r.top != w->rect.bottom - w->rect.top;
  const uint64_t top = zel_wnd_internal::NextZOrder();
  DWORD style = 0;
  Change(hwnd, [&](WindowRecord& rec) {
    rec.rect = r;
    // A maximised or minimised window keeps the rectangle it goes back to.
    if (!(rec.style & kShowStates)) rec.normalRect = r;
    if (!(flags & SWP_NOZORDER)) rec.zorder = top;
    style = rec.style;
  });
  zel_wnd::Presenter& presenter = zel_wnd::CurrentPresenter();
  if (flags & SWP_FRAMECHANGED) presenter.FrameChanged(hwnd);
  if (moved || sized) {
    presenter.Moved(hwnd);
    if (sized) SendSize(hwnd, SizeKind(style));
    if (moved) SendMessage(hwnd, WM_MOVE, 0, LParamOfPoint(POINT{r.left, r.top}));
    if (sized) FitMaximizedChildren(hwnd);
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  BOOL ok = SetWindowPos(hwnd, HWND(), x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (ok && repaint) InvalidateRect(hwnd, nullptr, TRUE);
  return ok;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  auto w = Find(hwnd);
  if (!w || !rect) return FALSE;
  POINT o = Origin(*w);
  *rect =
      RECT{o.x, o.y, o.x + (w->rect.right - w->rect.left), o.y + (w->rect.bottom - w->rect.top)};
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  auto w = Find(hwnd);
  if (!w || !rect) return FALSE;
  if (w->style & WS_MINIMIZE) {
    *rect = RECT{0, 0, 0, 0};
    return TRUE;
  }
  RECT in = Insets(*w);
  *rect = RECT{0, 0, std::max<LONG>(0, w->rect.right - w->rect.left - in.left - in.right),
               std::max<LONG>(0, w->rect.bottom - w->rect.top - in.top - in.bottom)};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  auto w = Find(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOrigin(*w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  auto w = Find(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOrigin(*w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

namespace {
// The visible child of parent under the point (parent's client coordinates), or parent
// itself when the point is inside it but in no child; null when outside.
HWND ChildFromPoint(HWND parent, POINT point) {
  RECT client;
  if (!GetClientRect(parent, &client) || !Contains(client, point)) return HWND();
  std::vector<WindowRecord> children;
  for (WindowRecord& w : zel_wnd_internal::All())
    if (w.parent == parent && (w.style & WS_CHILD) && w.visible) children.push_back(w);
  for (const WindowRecord& child : ByZOrder(std::move(children)))
    if (Contains(child.rect, point)) return child.handle;
  return parent;
}
}  // namespace

HWND WindowFromPoint(POINT point) {
  std::vector<WindowRecord> tops;
  for (WindowRecord& w : zel_wnd_internal::All())
    if (!(w.style & WS_CHILD) && w.visible) tops.push_back(w);
  for (const WindowRecord& top : ByZOrder(std::move(tops))) {
    RECT r;
    GetWindowRect(top.handle, &r);
    if (!Contains(r, point)) continue;
    // Down through the children, in each one's client coordinates.
    HWND found = top.handle;
    for (;;) {
      POINT p = point;
      ScreenToClient(found, &p);
      HWND child = ChildFromPoint(found, p);
      if (!child || child == found) return found;
      found = child;
    }
  }
  return HWND();
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
  return IsWindow(hwnd) && SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

int GetWindowText(HWND hwnd, LPSTR buffer, int size) {
  auto w = Find(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  const int n = std::min(static_cast<int>(w->text.size()), size - 1);
  std::memcpy(buffer, w->text.data(), static_cast<size_t>(n));
  buffer[n] = 0;
  return n;
}

int GetWindowTextLength(HWND hwnd) {
  auto w = Find(hwnd);
  return w ? static_cast<int>(w->text.size()) : 0;
}

HMENU GetMenu(HWND hwnd) {
  auto w = Find(hwnd);
  return w && !(w->style & WS_CHILD) ? w->menu : HMENU();
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  if (menu && !IsMenu(menu)) return FALSE;
  bool child = false;
  if (!Change(hwnd,
              [&](WindowRecord& r) {
                child = r.style & WS_CHILD;
                if (!child) r.menu = menu;
              }) ||
      child)
    return FALSE;
  zel_wnd::CurrentPresenter().MenuChanged(hwnd);
  return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  zel_wnd::CurrentPresenter().MenuBarRedrawn(hwnd);
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL) {
  if (!IsWindow(hwnd)) return FALSE;
  zel_wnd::CurrentPresenter().Invalidated(hwnd, rect);
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  zel_wnd::CurrentPresenter().Update(hwnd);
  return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  auto w = Find(hwnd);
  if (!w || !paint) return nullptr;
  paint->hdc = w->paintDC;
  paint->rcPaint = w->paintRect;
  paint->fErase = FALSE;
  return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT*) { return IsWindow(hwnd); }

HDC GetDC(HWND hwnd) {
  if (hwnd && !IsWindow(hwnd)) return nullptr;
  std::unique_ptr<CDC> dc = zel_wnd::CurrentPresenter().NewDC(hwnd);
  CDC* raw = dc.get();
  if (raw) OpenDCs()[raw] = std::move(dc);
  return raw;
}

int ReleaseDC(HWND, HDC dc) { return OpenDCs().erase(dc) ? 1 : 0; }

HWND GetActiveWindow() {
  if (t_active && !IsWindow(t_active)) t_active = HWND();
  return t_active;
}

HWND SetActiveWindow(HWND hwnd) {
  HWND previous = GetActiveWindow();
  if (zel_wnd::IsOwnWindow(hwnd)) {
    t_active = hwnd;
    const uint64_t top = zel_wnd_internal::NextZOrder();
    Change(hwnd, [&](WindowRecord& r) { r.zorder = top; });
  }
  return previous;
}

HWND GetFocus() {
  if (t_focus && !IsWindow(t_focus)) t_focus = HWND();
  return t_focus;
}

HWND SetFocus(HWND hwnd) {
  if (hwnd && !zel_wnd::IsOwnWindow(hwnd)) return HWND();
  const HWND previous = GetFocus();
  if (previous == hwnd) return previous;
  t_focus = hwnd;
  if (previous) SendMessage(previous, WM_KILLFOCUS, HandleToWParam(hwnd), 0);
  // The window that lost the focus may have given it elsewhere meanwhile.
  if (hwnd && t_focus == hwnd) SendMessage(hwnd, WM_SETFOCUS, HandleToWParam(previous), 0);
  if (t_focus == hwnd) zel_wnd::CurrentPresenter().Focused(hwnd);
  return previous;
}
