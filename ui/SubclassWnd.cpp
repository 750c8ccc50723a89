// The hook chain: the map from windows to their latest hook, and the shared procedure.
#include "ui/SubclassWnd.h"

#include <unordered_map>

#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"

IMPLEMENT_DYNAMIC(CSubclassWnd, CObject)

namespace {

std::unordered_map<uintptr_t, CSubclassWnd*>& HookMap() {
  static std::unordered_map<uintptr_t, CSubclassWnd*> map;
  return map;
}

// The message the thread is handling through a hook, for Default().
thread_local MSG t_current;

}  // namespace

CSubclassWnd::~CSubclassWnd() {
  if (m_pWndHooked) Unhook();
}

BOOL CSubclassWnd::HookWindow(CWnd* wnd) {
  if (m_pWndHooked) Unhook();
  if (!wnd || !wnd->m_hWnd) return TRUE;
  auto& map = HookMap();
  const HWND h = wnd->m_hWnd;
  auto it = map.find(h.value);
  CSubclassWnd* first = it == map.end() ? nullptr : it->second;
  m_pWndHooked = wnd;
  m_pNext = first;
  if (first) {
    m_pOldWndProc = first->m_pOldWndProc;
  } else {
    m_pOldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassWndProc)));
  }
  map[h.value] = this;
  return TRUE;
}

void CSubclassWnd::Unhook() {
  auto& map = HookMap();
  const HWND h = m_pWndHooked->m_hWnd;
  auto it = map.find(h.value);
  if (it != map.end()) {
    if (it->second == this) {
      if (m_pNext) {
        it->second = m_pNext;
      } else {
        map.erase(it);
        ::SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pOldWndProc));
      }
    } else {
      for (CSubclassWnd* p = it->second; p; p = p->m_pNext) {
        if (p->m_pNext == this) {
          p->m_pNext = m_pNext;
          break;
        }
      }
    }
  }
  m_pWndHooked = nullptr;
  m_pNext = nullptr;
  m_pOldWndProc = nullptr;
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pNext) return m_pNext->WindowProc(message, wParam, lParam);
  return ::CallWindowProc(m_pOldWndProc, m_pWndHooked ? m_pWndHooked->m_hWnd : HWND(), message,
                          wParam, lParam);
}

LRESULT CSubclassWnd::Default() {
  // This class's passing on, not the override's: a hook's Default is what comes after it.
  return CSubclassWnd::WindowProc(t_current.message, t_current.wParam, t_current.lParam);
}

LRESULT SubclassWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& map = HookMap();
  auto it = map.find(hwnd.value);
  if (it == map.end()) return ::DefWindowProc(hwnd, message, wParam, lParam);
  CSubclassWnd* first = it->second;
  if (message == WM_NCDESTROY) {
    // The window's last message: every hook lets go, and the saved procedure has it.
    WNDPROC saved = first->m_pOldWndProc;
    while (CSubclassWnd* hook = map.count(hwnd.value) ? map[hwnd.value] : nullptr) hook->Unhook();
    return ::CallWindowProc(saved, hwnd, message, wParam, lParam);
  }
  const MSG previous = t_current;
  t_current = MSG{hwnd, message, wParam, lParam, 0, {}};
  struct Restore {
    MSG saved;
    ~Restore() { t_current = saved; }
  } restore{previous};
  return first->WindowProc(message, wParam, lParam);
}
