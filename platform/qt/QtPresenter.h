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
// that loop with its code. The system values and, on a desktop, the file icons come from
// Qt too.
// Usage:
//   zel_qt::InstallPresenter();     // on the user-interface thread
//   frame.Create(...); frame.ShowWindow(SW_SHOW);
//   return QApplication::exec();
#pragma once

#include <QMenuBar>
#include <QWidget>

#include "ZelQtExport.h"
#include "platform/base/types/WinUser.h"

namespace zel_qt {

// Makes the Qt application when there is none (EnsureApplication) and installs the
// presenter, the system values and the file icons for the calling thread. Windows made
// before stay unpresented.
ZEL_QT_API void InstallPresenter();
// Puts the headless ones back; the widgets go.
ZEL_QT_API void UninstallPresenter();

// The widget presenting a window, its client area and its menu bar (null when none).
ZEL_QT_API QWidget* WidgetOf(HWND hwnd);
ZEL_QT_API QWidget* ClientOf(HWND hwnd);
ZEL_QT_API QMenuBar* MenuBarOf(HWND hwnd);

}  // namespace zel_qt
