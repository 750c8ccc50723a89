// The widgets of the window model's windows: input as messages, painting through the Qt
// device, scroll bars, drops, and each kind's geometry and show state in step with the model.
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/qt/QtDC.h"
#include "platform/qt/QtNativeWindowInternal.h"
#include "platform/qt/QtSystemValues.h"
#include "platform/qt/QtWindowsInternal.h"
#include "platform/user/input/Input.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/wnd/DragDrop.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/ScrollBars.h"
#include "platform/user/wnd/ToolkitBridge.h"
#include "platform/user/wnd/Window.h"

namespace zel_qt_internal {
namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The platform's key for a Qt key; 0 for one it has none for.
UINT VirtualKeyOf(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
      key == Qt::Key_Space)
    return static_cast<UINT>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Tab:
      return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Delete:
      return VK_DELETE;
    case Qt::Key_Shift:
      return VK_SHIFT;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Alt:
      return VK_MENU;
    default:
      return 0;
  }
}

WPARAM KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  WPARAM keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

LPARAM LParamOf(const QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  return LParamOfPoint(POINT{p.x(), p.y()});
}

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return RECT{};
  POINT a{r.left, r.top}, b{r.right, r.bottom};
  if (HWND parent = GetParent(hwnd)) {
    ScreenToClient(parent, &a);
    ScreenToClient(parent, &b);
  }
  return RECT{a.x, a.y, b.x, b.y};
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)); }

// The local files a drag carries, as the file system's bytes.
std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toUtf8().toStdString());
  return files;
}

// A drag of local files over a window that takes them (or whose parent does) is accepted.
void OfferDrag(HWND hwnd, QDropEvent* e) {
  if (!LocalFiles(e->mimeData()).empty() && zel_wnd::FileDropTarget(hwnd))
    e->acceptProposedAction();
  else
    e->ignore();
}

void DeliverDrop(HWND hwnd, QDropEvent* e) {
  const QPoint local = e->position().toPoint();
  POINT screen{local.x(), local.y()};
  ClientToScreen(hwnd, &screen);
  if (zel_wnd::DropFiles(hwnd, LocalFiles(e->mimeData()), screen))
    e->acceptProposedAction();
  else
    e->ignore();
}

// Shows, maximises, minimises or restores the widget as the model's window is.
void ShowAsTheModelSays(QWidget* w, HWND hwnd) {
  if (!IsWindowVisible(hwnd))
    w->hide();
  else if (IsZoomed(hwnd))
    w->showMaximized();
  else if (IsIconic(hwnd))
    w->showMinimized();
  else if (w->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))
    w->showNormal();
  else
    w->show();
}

// The user maximised, minimised or restored the widget: the model's window follows, keeping
// its normal rectangle.
void TellTheModelTheShowState(const QWidget* w, HWND hwnd) {
  if (w->windowState() & Qt::WindowMinimized) {
    if (!IsIconic(hwnd)) ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
  } else if (w->windowState() & Qt::WindowMaximized) {
    if (!IsZoomed(hwnd)) ShowWindow(hwnd, SW_MAXIMIZE);
  } else if (IsZoomed(hwnd) || IsIconic(hwnd)) {
    ShowWindow(hwnd, SW_RESTORE);
  }
}
}  // namespace

RECT ChildFrame(HWND hwnd) {
  RECT window, client;
  POINT origin{0, 0};
  if (!GetWindowRect(hwnd, &window) || !GetClientRect(hwnd, &client)) return RECT{};
  ClientToScreen(hwnd, &origin);
  const DWORD style = StyleOf(hwnd);
  const int vbar = (style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  const int hbar = (style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
  return RECT{origin.x - window.left, origin.y - window.top,
              std::max<LONG>(0, window.right - origin.x - client.right - vbar),
              std::max<LONG>(0, window.bottom - origin.y - client.bottom - hbar)};
}

// ---- the client area ----

ClientWidget::ClientWidget(HWND hwnd, QWidget* parent) : QWidget(parent), m_hwnd(hwnd) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAcceptDrops(true);
}

void ClientWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // The platform erases with the window's background before the window paints.
  painter.fillRect(event->rect(), ToQColor(zel_qt::SystemColor(COLOR_WINDOW)));
  CQtDC dc(&painter);
  const QRect r = event->rect();
  zel_wnd::PaintWindow(m_hwnd, &dc, RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
}

void ClientWidget::mousePressEvent(QMouseEvent* e) { Mouse(e, true); }
void ClientWidget::mouseReleaseEvent(QMouseEvent* e) { Mouse(e, false); }

void ClientWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton)
    PostMessage(m_hwnd, WM_LBUTTONDBLCLK, KeyState(e->buttons(), e->modifiers()), LParamOf(e));
  else
    Mouse(e, true);
}

void ClientWidget::mouseMoveEvent(QMouseEvent* e) {
  PostMessage(m_hwnd, WM_MOUSEMOVE, KeyState(e->buttons(), e->modifiers()), LParamOf(e));
}

void ClientWidget::wheelEvent(QWheelEvent* e) { PostWheel(e); }

void ClientWidget::PostWheel(QWheelEvent* e) {
  // Qt's angle delta counts eighths of a degree: 120 a notch, as WHEEL_DELTA.
  const QPoint delta = e->angleDelta();
  const QPoint local = mapFromGlobal(e->globalPosition().toPoint());
  POINT screen{local.x(), local.y()};
  ClientToScreen(m_hwnd, &screen);
  const WORD keys = static_cast<WORD>(KeyState(e->buttons(), e->modifiers()));
  if (delta.y())
    PostMessage(m_hwnd, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta.y())),
                LParamOfPoint(screen));
  if (delta.x())
    PostMessage(m_hwnd, WM_MOUSEHWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta.x())),
                LParamOfPoint(screen));
  e->accept();
}

void ClientWidget::leaveEvent(QEvent*) { PostMessage(m_hwnd, WM_MOUSELEAVE, 0, 0); }

void ClientWidget::keyPressEvent(QKeyEvent* e) {
  if (UINT vk = VirtualKeyOf(e->key())) PostMessage(m_hwnd, WM_KEYDOWN, vk, 1);
  const QString text = e->text();
  if (text.size() == 1 && text[0].unicode() <= 0xFF && text[0].isPrint())
    PostMessage(m_hwnd, WM_CHAR, text[0].unicode(), 1);
}

void ClientWidget::keyReleaseEvent(QKeyEvent* e) {
  if (UINT vk = VirtualKeyOf(e->key())) PostMessage(m_hwnd, WM_KEYUP, vk, 1);
}

void ClientWidget::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  // Keys pressed or released while the focus was elsewhere (another program, a popup) never
  // reached this queue: the keyboard of the moment answers for them again.
  zel_input::ResyncKeyStates();
  if (GetFocus() != m_hwnd && zel_wnd::IsOwnWindow(m_hwnd)) SetFocus(m_hwnd);
}

void ClientWidget::dragEnterEvent(QDragEnterEvent* e) { OfferDrag(m_hwnd, e); }
void ClientWidget::dragMoveEvent(QDragMoveEvent* e) { OfferDrag(m_hwnd, e); }
void ClientWidget::dropEvent(QDropEvent* e) { DeliverDrop(m_hwnd, e); }

void ClientWidget::Mouse(QMouseEvent* e, bool down) {
  UINT message = 0;
  switch (e->button()) {
    case Qt::LeftButton:
      message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
      break;
    case Qt::RightButton:
      message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
      break;
    case Qt::MiddleButton:
      message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
      break;
    default:
      return;
  }
  PostMessage(m_hwnd, message, KeyState(e->buttons(), e->modifiers()), LParamOf(e));
}

// ---- the body: client area and scroll bars ----

WindowBody::WindowBody(HWND hwnd, QWidget* parent) : QWidget(parent), m_hwnd(hwnd) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  m_client = new ClientWidget(hwnd, this);
  grid->addWidget(m_client, 0, 0);
  const DWORD style = StyleOf(hwnd);
  if (style & WS_VSCROLL) grid->addWidget(MakeBar(SB_VERT), 0, 1);
  if (style & WS_HSCROLL) grid->addWidget(MakeBar(SB_HORZ), 1, 0);
}

QScrollBar* WindowBody::MakeBar(int bar) {
  auto* b = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, this);
  // As wide as the model counts it, so that client areas agree.
  if (bar == SB_VERT)
    b->setFixedWidth(GetSystemMetrics(SM_CXVSCROLL));
  else
    b->setFixedHeight(GetSystemMetrics(SM_CYHSCROLL));
  b->setFocusPolicy(Qt::NoFocus);
  b->installEventFilter(this);
  // Without tracking, Qt moves its value only when told (and when the thumb is let go), so
  // that the window decides where the bar is; the drag comes as sliderMoved.
  b->setTracking(false);
  connect(b, &QAbstractSlider::actionTriggered, this,
          [this, bar](int action) { Action(bar, action); });
  connect(b, &QAbstractSlider::sliderMoved, this, [this, bar](int position) {
    zel_wnd::TrackScroll(m_hwnd, bar, position, true);
    Post(bar, SB_THUMBTRACK, position);
  });
  (bar == SB_VERT ? m_vbar : m_hbar) = b;
  // The bar shows the model's state from the start.
  SyncScrollBar(bar);
  return b;
}

void WindowBody::SyncScrollBar(int bar) {
  QScrollBar* b = Bar(bar);
  if (!b || b->isSliderDown()) return;
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(m_hwnd, bar, &info)) return;
  // Qt's maximum is the last position, where the page still fits.
  const long long last =
      info.nPage ? static_cast<long long>(info.nMax) - info.nPage + 1 : info.nMax;
  b->setRange(info.nMin, static_cast<int>(std::max<long long>(last, info.nMin)));
  b->setPageStep(static_cast<int>(std::max<UINT>(info.nPage, 1)));
  b->setSingleStep(1);
  b->setValue(info.nPos);
}

void WindowBody::Action(int bar, int action) {
  QScrollBar* b = Bar(bar);
  UINT code;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      code = SB_LINEDOWN;
      break;
    case QAbstractSlider::SliderSingleStepSub:
      code = SB_LINEUP;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = SB_PAGEDOWN;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = SB_PAGEUP;
      break;
    case QAbstractSlider::SliderToMinimum:
      code = SB_TOP;
      break;
    case QAbstractSlider::SliderToMaximum:
      code = SB_BOTTOM;
      break;
    default:  // SliderMove: the drag, which sliderMoved and the release report
      return;
  }
  // The window moves the position itself (SetScrollPos) when it handles the request.
  b->setSliderPosition(GetScrollPos(m_hwnd, bar));
  Post(bar, code, 0);
}

void WindowBody::Post(int bar, UINT code, int position) {
  PostMessage(m_hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
              MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position)), 0);
}

bool WindowBody::eventFilter(QObject* watched, QEvent* event) {
  const int bar = watched == m_vbar ? SB_VERT : watched == m_hbar ? SB_HORZ : -1;
  if (bar < 0) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::Wheel) {
    // The wheel scrolls the window, as over its client area.
    m_client->PostWheel(static_cast<QWheelEvent*>(event));
    return true;
  }
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    QScrollBar* b = Bar(bar);
    if (b->isSliderDown()) {
      zel_wnd::TrackScroll(m_hwnd, bar, b->sliderPosition(), false);
      Post(bar, SB_THUMBPOSITION, b->sliderPosition());
    }
    Post(bar, SB_ENDSCROLL, 0);
  }
  return false;
}

// ---- a top-level window ----

WindowWidget::WindowWidget(HWND hwnd, DWORD style, DWORD exStyle)
    : m_hwnd(hwnd), m_frame(FrameOf(style, exStyle)) {
  const bool popup = IsPopup(style, exStyle);
  // A topmost popup that is never activated is a tip: Qt's tool-tip kind of window, which
  // desktops keep above the others and place beside its owner (on Wayland relative to it).
  const bool tip = popup && (exStyle & WS_EX_TOPMOST) && (exStyle & WS_EX_NOACTIVATE);
  m_fill = tip ? COLOR_INFOBK : COLOR_WINDOW;
  Qt::WindowFlags flags = popup ? (tip ? Qt::ToolTip : Qt::Tool) | Qt::FramelessWindowHint |
                                      Qt::WindowDoesNotAcceptFocus
                                : Qt::Window;
  if (exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
  setWindowFlags(flags);
  setAttribute(Qt::WA_ShowWithoutActivating, popup);
  m_layout = new QVBoxLayout(this);
  m_layout->setContentsMargins(0, 0, 0, 0);
  m_layout->setSpacing(0);
  m_body = new WindowBody(hwnd, this);
  m_layout->addWidget(m_body);
}

QMenuBar* WindowWidget::EnsureMenuBar() {
  if (!m_bar) {
    m_bar = new QMenuBar(this);
    // As high as the model counts it, so that client coordinates agree.
    m_bar->setFixedHeight(GetSystemMetrics(SM_CYMENU));
    m_layout->setMenuBar(m_bar);
  }
  return m_bar;
}

void WindowWidget::RemoveMenuBar() {
  if (!m_bar) return;
  m_layout->setMenuBar(nullptr);
  m_bar->deleteLater();
  m_bar = nullptr;
}

void WindowWidget::SetOwner(QWidget* owner) {
  winId();
  if (owner) owner->winId();
  if (QWindow* window = windowHandle())
    window->setTransientParent(owner ? owner->windowHandle() : nullptr);
}

// The desktop draws the caption and border itself, outside the widget: the widget is what
// lies within them.
void WindowWidget::SyncGeometry() {
  RECT r;
  if ((windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) || !GetWindowRect(m_hwnd, &r))
    return;
  const bool was = std::exchange(m_syncing, true);
  setGeometry(r.left + m_frame.left, r.top + m_frame.top,
              r.right - r.left - m_frame.left - m_frame.right,
              r.bottom - r.top - m_frame.top - m_frame.bottom);
  m_syncing = was;
}

void WindowWidget::SyncState() {
  if (m_syncing) return;
  m_syncing = true;
  // Shown, the window is filled with the colour its painting starts from until the paint
  // comes, so that a busy program never shows what lay beneath.
  if (IsWindowVisible(m_hwnd) && !isVisible())
    zel_qt::FillBeforePainting(this, zel_qt::SystemColor(m_fill));
  ShowAsTheModelSays(this, m_hwnd);
  m_syncing = false;
  SyncGeometry();
}

void WindowWidget::closeEvent(QCloseEvent* e) {
  // The window decides: its WM_CLOSE handling destroys it, or not.
  e->ignore();
  SendMessage(m_hwnd, WM_CLOSE, 0, 0);
}

void WindowWidget::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange || m_syncing) return;
  m_syncing = true;
  TellTheModelTheShowState(this, m_hwnd);
  m_syncing = false;
  TellModel();
}

void WindowWidget::TellModel() {
  if (m_syncing || !isVisible() || (windowState() & Qt::WindowMinimized)) return;
  const QRect g = geometry();
  m_syncing = true;
  SetWindowPos(m_hwnd, HWND(), g.x() - m_frame.left, g.y() - m_frame.top,
               g.width() + m_frame.left + m_frame.right, g.height() + m_frame.top + m_frame.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE);
  m_syncing = false;
}

// A window the desktop shows without a frame of its own.
bool WindowWidget::IsPopup(DWORD style, DWORD exStyle) {
  return (style & WS_POPUP) && (exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW));
}

// What the model counts outside the widget: a caption and border the desktop draws.
RECT WindowWidget::FrameOf(DWORD style, DWORD exStyle) {
  if (IsPopup(style, exStyle)) return RECT{};
  const int b = (style & (WS_BORDER | WS_THICKFRAME)) ? GetSystemMetrics(SM_CXBORDER) : 0;
  const int caption = (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
  return RECT{b, b + caption, b, b};
}

// ---- a child window ----

ChildWidget::ChildWidget(HWND hwnd, QWidget* parent) : WindowBody(hwnd, parent), m_hwnd(hwnd) {}

void ChildWidget::SyncGeometry() {
  const RECT r = RectInParent(m_hwnd);
  // The child's own border and caption lie inside its rectangle.
  const RECT f = ChildFrame(m_hwnd);
  setContentsMargins(f.left, f.top, f.right, f.bottom);
  setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void ChildWidget::SyncState() {
  setVisible(IsWindowVisible(m_hwnd));
  if (isVisible()) raise();
}

// ---- the MDI client ----

MdiArea::MdiArea(HWND hwnd, QWidget* parent) : QMdiArea(parent), m_hwnd(hwnd) {
  // No frame of its own: its viewport is the MDI client's client area.
  setFrameShape(QFrame::NoFrame);
  setBackground(ToQColor(zel_qt::SystemColor(COLOR_APPWORKSPACE)));
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  connect(this, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
    auto* child = dynamic_cast<MdiSubWindow*>(sub);
    // The user's activation goes to the frame, which keeps the active child.
    if (child && child->isVisible() && !m_quiet)
      SendMessage(m_hwnd, WM_MDIACTIVATE, HandleToWParam(child->Window()), 0);
  });
}

void MdiArea::SyncGeometry() {
  const RECT r = RectInParent(m_hwnd);
  setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void MdiArea::SyncState() { setVisible(IsWindowVisible(m_hwnd)); }

void MdiArea::dragEnterEvent(QDragEnterEvent* e) { OfferDrag(m_hwnd, e); }
void MdiArea::dragMoveEvent(QDragMoveEvent* e) { OfferDrag(m_hwnd, e); }
void MdiArea::dropEvent(QDropEvent* e) { DeliverDrop(m_hwnd, e); }

// ---- an MDI child ----

MdiSubWindow::MdiSubWindow(HWND hwnd, MdiArea* area) : m_hwnd(hwnd) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  // Without an icon of its own Qt's title bar shows the toolkit's logo: the application's
  // icon, or none.
  QIcon icon = QApplication::windowIcon();
  if (icon.isNull()) {
    QPixmap clear(16, 16);
    clear.fill(Qt::transparent);
    icon = QIcon(clear);
  }
  setWindowIcon(icon);
  m_body = new WindowBody(hwnd, nullptr);
  setWidget(m_body);
  area->addSubWindow(this);
}

// The body keeps the model's client size: Qt's title bar and border (the sub-window's
// margins) lie around it, where the model counts its own caption and border.
void MdiSubWindow::SyncGeometry() {
  if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) return;
  const RECT r = RectInParent(m_hwnd);
  const RECT f = ChildFrame(m_hwnd);
  const QMargins m = contentsMargins();
  const bool was = std::exchange(m_syncing, true);
  setGeometry(r.left + f.left - m.left(), r.top + f.top - m.top(),
              r.right - r.left - f.left - f.right + m.left() + m.right(),
              r.bottom - r.top - f.top - f.bottom + m.top() + m.bottom());
  m_syncing = was;
}

void MdiSubWindow::SyncState() {
  if (m_syncing) return;
  m_syncing = true;
  ShowAsTheModelSays(this, m_hwnd);
  m_syncing = false;
  SyncGeometry();
}

void MdiSubWindow::closeEvent(QCloseEvent* e) {
  e->ignore();
  SendMessage(m_hwnd, WM_CLOSE, 0, 0);
}

void MdiSubWindow::moveEvent(QMoveEvent* e) {
  QMdiSubWindow::moveEvent(e);
  TellModel();
}

void MdiSubWindow::resizeEvent(QResizeEvent* e) {
  QMdiSubWindow::resizeEvent(e);
  TellModel();
}

void MdiSubWindow::changeEvent(QEvent* e) {
  QMdiSubWindow::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange || m_syncing) return;
  m_syncing = true;
  TellTheModelTheShowState(this, m_hwnd);
  m_syncing = false;
  TellModel();
}

void MdiSubWindow::TellModel() {
  if (m_syncing || !isVisible() || (windowState() & Qt::WindowMinimized)) return;
  const QRect g = geometry();
  const QMargins m = contentsMargins();
  const RECT f = ChildFrame(m_hwnd);
  m_syncing = true;
  SetWindowPos(m_hwnd, HWND(), g.x() + m.left() - f.left, g.y() + m.top() - f.top,
               g.width() - m.left() - m.right() + f.left + f.right,
               g.height() - m.top() - m.bottom() + f.top + f.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  m_syncing = false;
}

}  // namespace zel_qt_internal
