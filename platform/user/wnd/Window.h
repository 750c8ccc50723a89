/// Windows: handles into one process-wide table, each with its procedure, its thread, its
/// rectangle and menu; the calls of the platform that make, find, move, show and paint
/// them. A stale handle is detected (the calls answer 0 or FALSE), never used; handles are
/// never given out twice.
///
/// A window belongs to the thread that made it: DestroyWindow and SetTimer work on that
/// thread only, and the calls that reach the presenter (show, move, menu, paint) are made
/// there too. Top-level rectangles are in screen coordinates, a child's in its parent's
/// client coordinates. The client area of a top-level window lies inside a border of
/// SM_CXBORDER for WS_BORDER or WS_THICKFRAME, below a caption of SM_CYCAPTION for
/// WS_CAPTION and a menu bar of SM_CYMENU when it has a menu; a window of any kind loses
/// SM_CXVSCROLL on the right for WS_VSCROLL and SM_CYHSCROLL at the bottom for WS_HSCROLL,
/// where its scroll bars are (ScrollBars.h).
///
/// Show states: a maximised window fills its parent's client area (a top-level one the work
/// area, SM_CXFULLSCREEN by SM_CYFULLSCREEN below a caption) with its caption and border
/// just outside it; a minimised one keeps its rectangle and has an empty client area. Both
/// remember the normal rectangle, which SW_RESTORE puts back; while maximised, a child
/// follows its parent's size. Every change of state sends WM_SIZE with SIZE_MAXIMIZED,
/// SIZE_MINIMIZED or SIZE_RESTORED.
#pragma once

#include "ZelExport.h"
#include "platform/base/types/WinUser.h"

/// Makes a window (hidden unless WS_VISIBLE) whose messages go to proc; a child
/// (WS_CHILD) takes menu's value as its identifier. WM_NCCREATE and WM_CREATE (lParam the
/// CREATESTRUCT, whose lpCreateParams is param) are sent before the answer; a window whose
/// procedure refuses either (FALSE, -1) is destroyed and null is answered. CW_USEDEFAULT
/// places it at (100, 100), 640 by 480.
ZEL_API HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu, WNDPROC proc,
                            LPVOID param);
/// WM_DESTROY, its children destroyed, WM_NCDESTROY, then the handle, its timers and its
/// menus are gone. On the window's thread only.
ZEL_API BOOL DestroyWindow(HWND hwnd);
/// Whether the handle is a window that exists.
ZEL_API BOOL IsWindow(HWND hwnd);
/// The default handling of the messages a procedure leaves: WM_CLOSE
/// destroys the window, WM_SETTEXT and WM_GETTEXT keep its text, WM_PAINT validates,
/// WM_NCCREATE agrees, WM_MENUCHAR answers MNC_IGNORE; a child passes WM_MOUSEWHEEL and
/// WM_MOUSEHWHEEL on to its parent (so the wheel reaches the window that scrolls); anything
/// else answers 0.
ZEL_API LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

/// A window data value by index (GWLP_WNDPROC, GWLP_USERDATA, GWLP_ID).
ZEL_API LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
/// Answers the previous value; GWLP_WNDPROC replaces the procedure.
ZEL_API LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
/// The window's parent (null for a top-level window) and its child identifier.
///@{
ZEL_API HWND GetParent(HWND hwnd);
ZEL_API int GetDlgCtrlID(HWND hwnd);
///@}
/// The oldest child of parent with the identifier; null when none.
ZEL_API HWND GetDlgItem(HWND parent, int id);
/// The class name the window was made with; its length, 0 for no window.
ZEL_API int GetClassName(HWND hwnd, LPSTR buffer, int size);

/// SW_HIDE hides; every other command shows, SW_SHOWMAXIMIZED (SW_MAXIMIZE) maximises,
/// SW_MINIMIZE, SW_SHOWMINIMIZED and SW_SHOWMINNOACTIVE minimise, SW_RESTORE and
/// SW_SHOWNORMAL restore. Answers whether the window was visible before.
ZEL_API BOOL ShowWindow(HWND hwnd, int command);
/// Whether the window is visible, maximised or minimised.
///@{
ZEL_API BOOL IsWindowVisible(HWND hwnd);
ZEL_API BOOL IsZoomed(HWND hwnd);
ZEL_API BOOL IsIconic(HWND hwnd);
///@}
/// showCmd is SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED or SW_SHOWNORMAL; rcNormalPosition the
/// normal rectangle. SetWindowPlacement takes the normal rectangle, then shows the window
/// with showCmd.
///@{
ZEL_API BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
ZEL_API BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);
///@}
/// The window's place and size: in its parent's client coordinates, on the screen and of its client
/// area.
///@{
ZEL_API BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height,
                          UINT flags);
ZEL_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
ZEL_API BOOL GetWindowRect(HWND hwnd, RECT* rect);
ZEL_API BOOL GetClientRect(HWND hwnd, RECT* rect);
ZEL_API BOOL ClientToScreen(HWND hwnd, POINT* point);
ZEL_API BOOL ScreenToClient(HWND hwnd, POINT* point);
///@}
/// The deepest visible window under the screen point, the topmost first; null when none.
ZEL_API HWND WindowFromPoint(POINT point);

/// The window's text: its title, or a control's contents.
///@{
ZEL_API BOOL SetWindowText(HWND hwnd, LPCSTR text);
ZEL_API int GetWindowText(HWND hwnd, LPSTR buffer, int size);
ZEL_API int GetWindowTextLength(HWND hwnd);
///@}

/// The window's menu bar, and its redrawing after a change.
///@{
ZEL_API HMENU GetMenu(HWND hwnd);
ZEL_API BOOL SetMenu(HWND hwnd, HMENU menu);
ZEL_API BOOL DrawMenuBar(HWND hwnd);
///@}

/// Marks a part of the window for painting (null: all of it), and paints it now.
///@{
ZEL_API BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
ZEL_API BOOL UpdateWindow(HWND hwnd);
///@}
/// Within WM_PAINT: the presenter's device and the part to paint; null outside painting.
///@{
ZEL_API HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
ZEL_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
///@}
/// A device for measuring, from the presenter; ReleaseDC frees it.
///@{
ZEL_API HDC GetDC(HWND hwnd);
ZEL_API int ReleaseDC(HWND hwnd, HDC dc);
///@}

/// The calling thread's active window: the last of its windows activated by ShowWindow or
/// SetActiveWindow; null when none.
///@{
ZEL_API HWND GetActiveWindow();
ZEL_API HWND SetActiveWindow(HWND hwnd);
///@}
/// The calling thread's focus window: SetFocus sends WM_KILLFOCUS (wParam the new one) to
/// the window that had it, then WM_SETFOCUS (wParam the old one) to hwnd, and answers the
/// old one; a window of another thread is refused (null answered, nothing changes).
///@{
ZEL_API HWND SetFocus(HWND hwnd);
ZEL_API HWND GetFocus();
///@}

namespace zel_wnd {
/// Whether the window exists and belongs to the calling thread.
ZEL_API bool IsOwnWindow(HWND hwnd);
}  // namespace zel_wnd
