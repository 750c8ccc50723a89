// The widgets that present the window model's windows: a client area that is painted by
// WM_PAINT and posts its input as messages, a body that holds it with the window's scroll
// bars, the frame of a top-level window, the MDI client and its sub-windows. One body class
// serves every kind of window, so that input, painting, scroll bars and drops behave the
// same on a frame, a child and an MDI child.
#pragma once

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/base/types/WinUser.h"

namespace zel_qt_internal {

// The client area: painted by the window's WM_PAINT, its mouse, wheel and key input posted
// as messages; taking the focus gives the model's focus to the window.
class ClientWidget : public QWidget {
 public:
  ClientWidget(HWND hwnd, QWidget* parent);
  HWND Window() const { return m_hwnd; }
  // Posts the wheel event as WM_MOUSEWHEEL / WM_MOUSEHWHEEL (screen coordinates).
  void PostWheel(QWheelEvent* e);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void leaveEvent(QEvent*) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void Mouse(QMouseEvent* e, bool down);
  HWND m_hwnd;
};

// The client area with the scroll bars of a WS_VSCROLL / WS_HSCROLL window, which mirror
// the model's range, page and position and send the user's actions as WM_VSCROLL and
// WM_HSCROLL. Margins hold a child window's own border and caption.
class WindowBody : public QWidget {
 public:
  WindowBody(HWND hwnd, QWidget* parent);
  ClientWidget* Client() const { return m_client; }
  QScrollBar* Bar(int bar) const {
    return bar == SB_VERT ? m_vbar : bar == SB_HORZ ? m_hbar : nullptr;
  }
  // Takes the model's range, page and position (not while the user drags the thumb).
  void SyncScrollBar(int bar);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QScrollBar* MakeBar(int bar);
  void Action(int bar, int action);
  void Post(int bar, UINT code, int position);

  HWND m_hwnd;
  ClientWidget* m_client;
  QScrollBar* m_vbar = nullptr;
  QScrollBar* m_hbar = nullptr;
};

// Whatever presents a window and follows the model's rectangle and show state, telling the
// model back what the user changes.
class Placed {
 public:
  virtual ~Placed() = default;
  // Takes the model's rectangle (not while maximised or minimised: Qt places those).
  virtual void SyncGeometry() = 0;
  // Shows, maximises, minimises or restores as the model says.
  virtual void SyncState() = 0;
};

// A top-level window: the desktop's frame around a menu bar and the body.
class WindowWidget : public QWidget, public Placed {
 public:
  WindowWidget(HWND hwnd, DWORD style, DWORD exStyle);
  WindowBody* Body() const { return m_body; }
  QMenuBar* MenuBar() const { return m_bar; }
  QMenuBar* EnsureMenuBar();
  void RemoveMenuBar();
  // Keeps the window above its owner's (on Wayland, placed relative to it).
  void SetOwner(QWidget* owner);
  void SyncGeometry() override;
  void SyncState() override;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void moveEvent(QMoveEvent*) override { TellModel(); }
  void resizeEvent(QResizeEvent*) override { TellModel(); }
  void changeEvent(QEvent* e) override;

 private:
  void TellModel();
  static bool IsPopup(DWORD style, DWORD exStyle);
  static RECT FrameOf(DWORD style, DWORD exStyle);

  HWND m_hwnd;
  RECT m_frame;
  int m_fill;  // the system colour a tip or a client area is painted on
  QVBoxLayout* m_layout;
  WindowBody* m_body;
  QMenuBar* m_bar = nullptr;
  bool m_syncing = false;
};

// A child window: its body placed in the parent's client area, where the program puts it.
class ChildWidget : public WindowBody, public Placed {
 public:
  ChildWidget(HWND hwnd, QWidget* parent);
  void SyncGeometry() override;
  void SyncState() override;

 private:
  HWND m_hwnd;
};

// The MDI client: activation by the user goes to the frame as WM_MDIACTIVATE.
class MdiArea : public QMdiArea, public Placed {
 public:
  MdiArea(HWND hwnd, QWidget* parent);
  HWND Window() const { return m_hwnd; }
  // While quiet, Qt's own activations (a sub-window that goes) are not the user's.
  void SetQuiet(bool quiet) { m_quiet = quiet; }
  void SyncGeometry() override;
  void SyncState() override;

 protected:
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  HWND m_hwnd;
  bool m_quiet = false;
};

// An MDI child: a sub-window of the MDI client holding the child's body, titled by the
// model; its close button sends WM_CLOSE, and the user's moves, sizes, maximising and
// restoring go back into the model.
class MdiSubWindow : public QMdiSubWindow, public Placed {
 public:
  MdiSubWindow(HWND hwnd, MdiArea* area);
  HWND Window() const { return m_hwnd; }
  WindowBody* Body() const { return m_body; }
  void SyncGeometry() override;
  void SyncState() override;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void TellModel();
  HWND m_hwnd;
  WindowBody* m_body;
  bool m_syncing = false;
};

// The model's frame of a child window (border and caption), as insets of its rectangle.
RECT ChildFrame(HWND hwnd);

}  // namespace zel_qt_internal
