/// \file
/// The window model on the desktop through Qt. Installing the presenter makes every window
/// of the model a widget: a frame (a window with a caption) gets its menu as a QMenuBar
/// above its client area; a popup (WS_POPUP with WS_EX_NOACTIVATE or WS_EX_TOOLWINDOW)
/// becomes a frameless window that takes no focus; a child is a widget in its parent's
/// client area at the model's rectangle; an MDI client ("MDICLIENT") is a QMdiArea and each
/// MDI child (WS_EX_MDICHILD) in it a QMdiSubWindow. Client areas are painted through the Qt
/// device (WM_PAINT); Qt's mouse, wheel and key events are posted to the window as its
/// messages (a click focuses it: SetFocus); a WS_VSCROLL / WS_HSCROLL window shows
/// QScrollBars that mirror its bars and send WM_VSCROLL / WM_HSCROLL; local files dragged
/// over a window that takes them (DragAcceptFiles, its own or a parent's) are accepted and
/// arrive as WM_DROPFILES. Closing a frame or sub-window sends WM_CLOSE; moves, sizes,
/// maximising and restoring made by the user, and the MDI child they activate, go back into
/// the model, which keeps its normal rectangles.
///
/// The installing thread's message queue is served by Qt's event loop (a socket notifier
/// on its wake-up descriptor, a single-shot timer for the next timer); PostQuitMessage ends
/// that loop with its code. Installing the presenter installs the Qt set (QtIntegration.h):
/// the system values and, on a desktop, the file icons and input come from Qt too.
/// Usage:
/// ```
///   zel_qt::InstallPresenter();     // on the user-interface thread
///   frame.Create(...); frame.ShowWindow(SW_SHOW);
///   return QApplication::exec();
/// ```
#pragma once

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QWidget>

#include "ZelQtExport.h"
#include "platform/base/types/WinUser.h"

namespace zel_wnd {
class Desktop;
class Presenter;  // the window model's presenter contract: not a host's to call
}  // namespace zel_wnd

namespace zel_qt {

/// Makes the Qt application when there is none (EnsureApplication) and installs the Qt set
/// with the installed UI and os engines kept (and, offscreen, the input and file icons), its
/// queue served for the calling thread. Windows made before stay unpresented.
ZEL_QT_API void InstallPresenter();
/// Puts back the set the first InstallPresenter replaced; the widgets go.
ZEL_QT_API void UninstallPresenter();

/// The engines of the Qt set (QtIntegration.h) that live here.
///@{
ZEL_QT_API zel_wnd::Presenter& PresenterInstance();
ZEL_QT_API zel_wnd::Desktop& DesktopInstance();
///@}

/// The widget presenting a window, its client area and its menu bar (null when none).
///@{
ZEL_QT_API QWidget* WidgetOf(HWND hwnd);
ZEL_QT_API QWidget* ClientOf(HWND hwnd);
ZEL_QT_API QMenuBar* MenuBarOf(HWND hwnd);
///@}
/// The area of an MDI client, the sub-window of an MDI child, a window's scroll bar
/// (SB_VERT, SB_HORZ); null when none.
///@{
ZEL_QT_API QMdiArea* MdiAreaOf(HWND mdiClient);
ZEL_QT_API QMdiSubWindow* SubWindowOf(HWND mdiChild);
ZEL_QT_API QScrollBar* ScrollBarOf(HWND hwnd, int bar);
///@}

}  // namespace zel_qt
