/// CSubclassWnd: a hook on a window's procedure. Several hooks may sit on one window; each
/// sees the window's messages first, the latest installed first, and passes what it does not
/// take on to the next, the last to the procedure that was in place before the first hook.
/// A process-wide map (on the user-interface thread, unguarded) leads from a window to its
/// latest hook. The window's last message (WM_NCDESTROY) unhooks every hook of it.
#pragma once

#include "ZelExport.h"
#include "platform/base/object/Object.h"
#include "platform/user/framework/Wnd.h"

class ZEL_API CSubclassWnd : public CObject {
  DECLARE_DYNAMIC(CSubclassWnd)
 public:
  CSubclassWnd() = default;
  ~CSubclassWnd() override;
  CSubclassWnd(const CSubclassWnd&) = delete;
  CSubclassWnd& operator=(const CSubclassWnd&) = delete;

  /// Hooks the window (a hook on another window is taken off first); null unhooks.
  /// Answers 1.
  BOOL HookWindow(CWnd* wnd);
  BOOL IsHooked() const { return m_pWndHooked != nullptr; }
  /// Passes the message to the next hook or, after the last, to the saved procedure.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  /// Passes the message the thread is handling now on (as this class's WindowProc does).
  LRESULT Default();

  CWnd* m_pWndHooked = nullptr;
  WNDPROC m_pOldWndProc = nullptr;
  CSubclassWnd* m_pNext = nullptr;

 private:
  friend ZEL_API LRESULT SubclassWndProc(HWND, UINT, WPARAM, LPARAM);
  void Unhook();
};

/// The procedure every hooked window has while hooked.
ZEL_API LRESULT SubclassWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
