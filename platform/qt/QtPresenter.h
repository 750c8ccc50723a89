// The window model on the desktop through Qt. Installing the presenter makes every
// top-level window of the model a widget: a frame (a window with a caption) gets its menu
// as a QMenuBar above its client area; a popup (WS_POPUP with WS_EX_NOACTIVATE or
// WS_EX_TOOLWINDOW) becomes a frameless window that takes no focus. Client areas are
// painted through the Qt device (WM_PAINT), Qt's mouse and key events are posted to the
// window as its messages, closing the widget sends WM_CLOSE, and moves made by the user go
// back into the model. Child windows stay in the model only.
//
// The installing thread's message queue is served by Qt's event loop (a socket notifier
// on its wake-up descriptor, a single-shot timer for the next timer); PostQuitMessage ends
// that loop with its code. Installing the presenter installs the Qt set (QtIntegration.h):
// the system values and, on a desktop, the file icons and input come from Qt too.
// Usage:
//   zel_qt::InstallPresenter();     // on the user-interface thread
//   frame.Create(...); frame.ShowWindow(SW_SHOW);
//   return QApplication::exec();
#pragma once

#include <QMenuBar>
#include <QWidget>

#include "ZelQtExport.h"
#include "platform/base/types/WinUser.h"

namespace zel_wnd {
class Desktop;
class Presenter;  // the window model's presenter contract: not a host's to call
}  // namespace zel_wnd

namespace zel_qt {

// Makes the Qt application when there is none (EnsureApplication) and installs the Qt set
// with the installed UI and os engines kept (and, offscreen, the input and file icons), its
// queue served for the calling thread. Windows made before stay unpresented.
ZEL_QT_API void InstallPresenter();
// Puts back the set the first InstallPresenter replaced; the widgets go.
ZEL_QT_API void UninstallPresenter();

// The engines of the Qt set (QtIntegration.h) that live here.
ZEL_QT_API zel_wnd::Presenter& PresenterInstance();
ZEL_QT_API zel_wnd::Desktop& DesktopInstance();

// The widget presenting a window, its client area and its menu bar (null when none).
ZEL_QT_API QWidget* WidgetOf(HWND hwnd);
ZEL_QT_API QWidget* ClientOf(HWND hwnd);
ZEL_QT_API QMenuBar* MenuBarOf(HWND hwnd);

}  // namespace zel_qt
