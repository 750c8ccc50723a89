/// \class CWnd
/// CWnd: a window of the window model as the class library wraps it: its handle, its
/// message map and WindowProc, and the window calls as members.
///
/// A CWnd made with Create/CreateEx is the window's permanent object: every message of the
/// window goes to its WindowProc, which looks the message up in the class's message map
/// (then its bases') and leaves anything unhandled to DefWindowProc. Such a window is
/// destroyed with its object. Attach makes an existing window's object permanent without
/// taking ownership; FromHandle answers the permanent object or a temporary one of the
/// calling thread. CWnd(HWND) only holds the handle.
#pragma once

#include "ZelExport.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"
#include "platform/base/types/WinTypes.h"
#include "platform/base/types/WinUser.h"
#include "platform/user/framework/MessageMap.h"

class CMenu;
class CFrameWnd;

class ZEL_API CWnd : public CObject {
  DECLARE_DYNAMIC(CWnd)
 public:
  CWnd() = default;
  explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  /// The window's permanent object, else a temporary one (null for a null handle).
  static CWnd* FromHandle(HWND hWnd);
  static CWnd* FromHandlePermanent(HWND hWnd);
  /// Makes this the window's permanent object (FALSE when it has one or is no window).
  BOOL Attach(HWND hWnd);
  HWND Detach();

  /// Makes the window with this object's WindowProc; the rectangle is in the parent's
  /// client coordinates for a child. FALSE when the window could not be made.
  virtual BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                        int y, int width, int height, HWND parent, HMENU menuOrId,
                        LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id, LPVOID param = nullptr);
  virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                      CWnd* parent, UINT id);
  virtual BOOL DestroyWindow();

  /// Messages.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  /// The message being handled, passed on to DefWindowProc.
  LRESULT Default();
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  /// The message map: TRUE (and *result) when a handler took the message.
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  /// WM_COMMAND: the command is routed by OnCmdMsg unless its item says it is disabled.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  /// Routes a command (CN_COMMAND) or its update (CN_UPDATE_COMMAND_UI, extra the CCmdUI)
  /// to a handler of the map. With info given, only tells whether a handler exists.
  virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info);
  /// After the window's last message; the object no longer holds a window.
  virtual void PostNcDestroy() {}

  /// Geometry, visibility, painting.
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags);
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void GetWindowRect(LPRECT rect) const;
  void GetClientRect(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const;
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void UpdateWindow();
  CDC* GetDC();
  int ReleaseDC(CDC* dc);
  static CWnd* WindowFromPoint(POINT point);

  /// Text, family, identity.
  void SetWindowText(LPCSTR text);
  int GetWindowText(LPSTR buffer, int size) const;
  void GetWindowText(CString& text) const;
  CWnd* GetParent() const;
  /// The nearest frame among the parents (TRUE: then its own parent frames up to the top).
  CFrameWnd* GetParentFrame() const;
  CFrameWnd* GetTopLevelFrame() const;
  int GetDlgCtrlID() const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;

  /// Menus and timers.
  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* menu);
  void DrawMenuBar();
  CMenu* GetSystemMenu(BOOL revert) const;
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);

  /// Files dropped on the window (WM_DROPFILES, ON_WM_DROPFILES), focus, show state and
  /// placement, scroll bars: the window calls of DragDrop.h, Window.h and ScrollBars.h.
  void DragAcceptFiles(BOOL accept = TRUE);
  /// The window that had the focus (a temporary object, or null).
  CWnd* SetFocus();
  static CWnd* GetFocus();
  BOOL IsZoomed() const;
  BOOL IsIconic() const;
  BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
  BOOL SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw = TRUE);
  BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const;
  int SetScrollPos(int bar, int position, BOOL redraw = TRUE);
  int GetScrollPos(int bar) const;
  void SetScrollRange(int bar, int min, int max, BOOL redraw = TRUE);

  HWND m_hWnd;

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
  /// The procedure messages go on to when the map leaves them (null: the model's default).
  WNDPROC m_pfnSuper = nullptr;

 private:
  friend ZEL_API LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  bool m_ownsWindow = false;  ///< made by CreateEx: destroyed with the object
};

/// The procedure of windows made through CWnd: hands each message to its object's
/// WindowProc (the model's default handling for a window without one).
ZEL_API LRESULT AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
