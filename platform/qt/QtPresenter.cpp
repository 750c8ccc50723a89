// The Qt presenter: a widget per top-level window, input as messages, painting through
// the Qt device, menus, and the user-interface thread's queue served by Qt's event loop.
#include "platform/qt/QtPresenter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHash>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtDC.h"
#include "platform/qt/QtIntegration.h"
#include "platform/qt/QtMenus.h"
#include "platform/qt/QtNativeWindowInternal.h"
#include "platform/qt/QtSystemValues.h"
#include "platform/qt/QtText.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/wnd/Desktop.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/ToolkitBridge.h"
#include "platform/user/wnd/Window.h"

namespace zel_qt {
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

WPARAM MouseKeys(const QMouseEvent* e) {
  WPARAM keys = 0;
  if (e->buttons() & Qt::LeftButton) keys |= MK_LBUTTON;
  if (e->buttons() & Qt::RightButton) keys |= MK_RBUTTON;
  if (e->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (e->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

// The client area: painted by the window's WM_PAINT, its input posted as messages.
class ClientWidget : public QWidget {
 public:
  ClientWidget(HWND hwnd, QWidget* parent) : QWidget(parent), m_hwnd(hwnd) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    // The platform erases with the window's background before the window paints.
    painter.fillRect(event->rect(), ToQColor(SystemColor(COLOR_WINDOW)));
    CQtDC dc(&painter);
    const QRect r = event->rect();
    zel_wnd::PaintWindow(m_hwnd, &dc, RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
  }
  void mousePressEvent(QMouseEvent* e) override { Mouse(e, true); }
  void mouseReleaseEvent(QMouseEvent* e) override { Mouse(e, false); }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton)
      PostMessage(m_hwnd, WM_LBUTTONDBLCLK, MouseKeys(e), LParamOf(e));
    else
      Mouse(e, true);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    PostMessage(m_hwnd, WM_MOUSEMOVE, MouseKeys(e), LParamOf(e));
  }
  void leaveEvent(QEvent*) override { PostMessage(m_hwnd, WM_MOUSELEAVE, 0, 0); }
  void keyPressEvent(QKeyEvent* e) override {
    if (UINT vk = VirtualKeyOf(e->key())) PostMessage(m_hwnd, WM_KEYDOWN, vk, 1);
    const QString text = e->text();
    if (text.size() == 1 && text[0].unicode() <= 0xFF && text[0].isPrint())
      PostMessage(m_hwnd, WM_CHAR, text[0].unicode(), 1);
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    if (UINT vk = VirtualKeyOf(e->key())) PostMessage(m_hwnd, WM_KEYUP, vk, 1);
  }

 private:
  static LPARAM LParamOf(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return LParamOfPoint(POINT{p.x(), p.y()});
  }
  void Mouse(QMouseEvent* e, bool down) {
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
    PostMessage(m_hwnd, message, MouseKeys(e), LParamOf(e));
  }

  HWND m_hwnd;
};

class WindowWidget : public QWidget {
 public:
  WindowWidget(HWND hwnd, DWORD style, DWORD exStyle)
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
    m_client = new ClientWidget(hwnd, this);
    m_layout->addWidget(m_client);
  }

  // Shows or hides the widget; shown, its window is filled with the colour its painting
  // starts from until the paint comes.
  void Show(bool visible) {
    if (visible) FillBeforePainting(this, SystemColor(m_fill));
    setVisible(visible);
  }
  QWidget* Client() const { return m_client; }
  QMenuBar* MenuBar() const { return m_bar; }
  QMenuBar* EnsureMenuBar() {
    if (!m_bar) {
      m_bar = new QMenuBar(this);
      // As high as the model counts it, so that client coordinates agree.
      m_bar->setFixedHeight(GetSystemMetrics(SM_CYMENU));
      m_layout->setMenuBar(m_bar);
    }
    return m_bar;
  }
  void RemoveMenuBar() {
    if (!m_bar) return;
    m_layout->setMenuBar(nullptr);
    m_bar->deleteLater();
    m_bar = nullptr;
  }
  // Keeps the window above its owner's (on Wayland, placed relative to it).
  void SetOwner(QWidget* owner) {
    winId();
    if (owner) owner->winId();
    if (QWindow* window = windowHandle())
      window->setTransientParent(owner ? owner->windowHandle() : nullptr);
  }
  // Takes the model's rectangle without telling the model back. The desktop draws the
  // caption and border itself, outside the widget: the widget is what lies within them.
  void SyncGeometry() {
    RECT r;
    if (!GetWindowRect(m_hwnd, &r)) return;
    m_syncing = true;
    setGeometry(r.left + m_frame.left, r.top + m_frame.top,
                r.right - r.left - m_frame.left - m_frame.right,
                r.bottom - r.top - m_frame.top - m_frame.bottom);
    m_syncing = false;
  }

 protected:
  void closeEvent(QCloseEvent* e) override {
    // The window decides: its WM_CLOSE handling destroys it, or not.
    e->ignore();
    SendMessage(m_hwnd, WM_CLOSE, 0, 0);
  }
  void moveEvent(QMoveEvent*) override { TellModel(); }
  void resizeEvent(QResizeEvent*) override { TellModel(); }

 private:
  void TellModel() {
    if (m_syncing || !isVisible()) return;
    const QRect g = geometry();
    m_syncing = true;
    SetWindowPos(m_hwnd, HWND(), g.x() - m_frame.left, g.y() - m_frame.top,
                 g.width() + m_frame.left + m_frame.right,
                 g.height() + m_frame.top + m_frame.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    m_syncing = false;
  }

  // A window the desktop shows without a frame of its own.
  static bool IsPopup(DWORD style, DWORD exStyle) {
    return (style & WS_POPUP) && (exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW));
  }
  // What the model counts outside the widget: a caption and border the desktop draws.
  static RECT FrameOf(DWORD style, DWORD exStyle) {
    if (IsPopup(style, exStyle)) return RECT{};
    const int b = (style & (WS_BORDER | WS_THICKFRAME)) ? GetSystemMetrics(SM_CXBORDER) : 0;
    const int caption = (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
    return RECT{b, b + caption, b, b};
  }

  HWND m_hwnd;
  RECT m_frame;
  int m_fill;  // the system colour a tip or a client area is painted on
  QVBoxLayout* m_layout;
  ClientWidget* m_client;
  QMenuBar* m_bar = nullptr;
  bool m_syncing = false;
};

// A device for measuring: the Qt device on an image of its own.
struct MeasuringImage {
  QImage image{1, 1, QImage::Format_ARGB32_Premultiplied};
};
class MeasuringDC : private MeasuringImage, public CQtDC {
 public:
  MeasuringDC() : CQtDC(&image) {}
};

class QtPresenter : public zel_wnd::Presenter {
 public:
  ~QtPresenter() override { Clear(); }

  // Every widget goes; the windows stay in the model.
  void Clear() {
    for (auto& w : m_widgets) delete w.data();
    m_widgets.clear();
  }

  WindowWidget* Widget(HWND hwnd) const { return m_widgets.value(hwnd.value); }

  void Created(HWND hwnd) override {
    const auto style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
    if (style & WS_CHILD) return;
    auto* w =
        new WindowWidget(hwnd, style, static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_EXSTYLE)));
    m_widgets.insert(hwnd.value, w);
    w->SyncGeometry();
    Retitled(hwnd);
    OwnerChanged(hwnd);
    if (GetMenu(hwnd)) MenuBarRedrawn(hwnd);
  }
  void OwnerChanged(HWND hwnd) override {
    WindowWidget* w = Widget(hwnd);
    if (!w) return;
    // The owner may be a child (a view): its top-level window has the widget.
    HWND owner{static_cast<uintptr_t>(GetWindowLongPtr(hwnd, GWLP_HWNDPARENT))};
    while (owner && (GetWindowLongPtr(owner, GWL_STYLE) & WS_CHILD)) owner = GetParent(owner);
    w->SetOwner(owner ? Widget(owner) : nullptr);
  }
  void Destroyed(HWND hwnd) override {
    QPointer<WindowWidget> w = m_widgets.take(hwnd.value);
    if (!w) return;
    // Later: the window may be going from inside one of its widget's own events.
    w->hide();
    w->deleteLater();
  }
  void Shown(HWND hwnd, bool visible) override {
    if (WindowWidget* w = Widget(hwnd)) w->Show(visible);
  }
  void Moved(HWND hwnd) override {
    if (WindowWidget* w = Widget(hwnd)) w->SyncGeometry();
  }
  void FrameChanged(HWND hwnd) override {
    if (WindowWidget* w = Widget(hwnd)) w->layout()->activate();
  }
  void Retitled(HWND hwnd) override {
    WindowWidget* w = Widget(hwnd);
    if (!w) return;
    std::vector<char> text(static_cast<size_t>(GetWindowTextLength(hwnd)) + 1);
    const int n = GetWindowText(hwnd, text.data(), static_cast<int>(text.size()));
    w->setWindowTitle(ToUnicode(text.data(), n, LOGFONT()));
  }
  void Invalidated(HWND hwnd, const RECT* rect) override {
    WindowWidget* w = Widget(hwnd);
    if (!w) return;
    if (rect)
      w->Client()->update(
          QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
    else
      w->Client()->update();
  }
  void Update(HWND hwnd) override {
    if (WindowWidget* w = Widget(hwnd)) w->Client()->repaint();
  }
  void MenuChanged(HWND hwnd) override { MenuBarRedrawn(hwnd); }
  void MenuBarRedrawn(HWND hwnd) override {
    WindowWidget* w = Widget(hwnd);
    if (!w) return;
    if (HMENU menu = GetMenu(hwnd))
      FillMenuBar(w->EnsureMenuBar(), hwnd, menu);
    else
      w->RemoveMenuBar();
  }
  UINT TrackPopupMenu(HMENU menu, UINT, POINT at, HWND owner) override {
    return TrackPopup(owner, menu, QPoint(at.x, at.y), Widget(owner));
  }
  std::unique_ptr<CDC> NewDC(HWND) override { return std::make_unique<MeasuringDC>(); }

  // The visible windows whose owner, or an owner of their owner, is hwnd, oldest first.
  std::vector<HWND> VisibleOwnedBy(HWND hwnd) const {
    std::vector<HWND> owned;
    for (auto it = m_widgets.cbegin(); it != m_widgets.cend(); ++it) {
      const HWND h{it.key()};
      if (h == hwnd || !it.value() || !it.value()->isVisible()) continue;
      for (HWND o{static_cast<uintptr_t>(GetWindowLongPtr(h, GWLP_HWNDPARENT))}; o;
           o = GetParent(o))
        if (o == hwnd) {
          owned.push_back(h);
          break;
        }
    }
    std::sort(owned.begin(), owned.end(), [](HWND a, HWND b) { return a.value < b.value; });
    return owned;
  }

 private:
  QHash<uintptr_t, QPointer<WindowWidget>> m_widgets;
};

// Serves the thread's queue whenever its descriptor wakes, and at the next timer.
class QueueServer : public QObject {
 public:
  QueueServer() : m_notifier(zel_wnd::QueueHandle(), QSocketNotifier::Read) {
    connect(&m_notifier, &QSocketNotifier::activated, this, [this] { Serve(); });
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { Serve(); });
    Serve();
  }

 private:
  void Serve() {
    int code = 0;
    if (!zel_wnd::ServeQueue(&code)) QCoreApplication::exit(code);
    const int next = zel_wnd::MillisecondsToNextTimer();
    if (next < 0)
      m_timer.stop();
    else
      m_timer.start(next);
  }

  QSocketNotifier m_notifier;
  QTimer m_timer;
};

// Pictures of a window as shown, the popups it owns drawn over it.
bool SaveWindowPicture(QtPresenter* presenter, HWND hwnd, const std::string& path,
                       std::string* error, SIZE* size) {
  WindowWidget* top = presenter ? presenter->Widget(hwnd) : nullptr;
  if (!top || !top->isVisible()) {
    *error = "the window is not shown";
    return false;
  }
  QImage image = top->grab().toImage();
  QPainter painter(&image);
  for (HWND popup : presenter->VisibleOwnedBy(hwnd)) {
    WindowWidget* w = presenter->Widget(popup);
    painter.drawPixmap(w->geometry().topLeft() - top->geometry().topLeft(), w->grab());
  }
  painter.end();
  if (!image.save(QString::fromLocal8Bit(path.c_str()), "PNG")) {
    *error = "cannot write " + path;
    return false;
  }
  if (size) *size = SIZE{image.width(), image.height()};
  return true;
}

QtPresenter* g_presenter = nullptr;
QueueServer* g_server = nullptr;
zel_user::Integration g_before;  // what InstallPresenter replaced

class QtDesktop : public zel_wnd::Desktop {
 public:
  void Present(bool offscreen) override {
    if (offscreen && !QCoreApplication::instance()) qputenv("QT_QPA_PLATFORM", "offscreen");
    InstallPresenter();
  }
  int Run() override { return QApplication::exec(); }
  bool SavePicture(HWND hwnd, const std::string& path, std::string* error, SIZE* size) override {
    return SaveWindowPicture(g_presenter, hwnd, path, error, size);
  }
};

}  // namespace

zel_wnd::Presenter& PresenterInstance() {
  // Never destroyed: at exit the application, and the widgets with it, may be gone first.
  static QtPresenter* const presenter = g_presenter = new QtPresenter;
  return *presenter;
}

zel_wnd::Desktop& DesktopInstance() {
  static QtDesktop desktop;
  return desktop;
}

void InstallPresenter() {
  EnsureApplication();
  zel_user::Integration set = QtIntegration();
  const zel_user::Integration current = zel_user::CurrentIntegration();
  // Who answers people was chosen before (IntegrationChoice.h); the os engines are the
  // host's. Headless, the fixed icons keep pictures reproducible and the input stays the
  // program's (or a test's) to set.
  set.ui = current.ui;
  set.os = current.os;
  if (IsHeadless()) {
    set.input = current.input;
    set.fileIcons = current.fileIcons;
  }
  const zel_user::Integration before = zel_user::InstallIntegration(set);
  if (!g_server) {
    g_before = before;
    g_server = new QueueServer;
  }
}

void UninstallPresenter() {
  if (!g_server) return;
  zel_user::InstallIntegration(g_before);
  delete g_server;
  g_server = nullptr;
  if (g_presenter) g_presenter->Clear();
}

QWidget* WidgetOf(HWND hwnd) { return g_presenter ? g_presenter->Widget(hwnd) : nullptr; }

QWidget* ClientOf(HWND hwnd) {
  WindowWidget* w = g_presenter ? g_presenter->Widget(hwnd) : nullptr;
  return w ? w->Client() : nullptr;
}

QMenuBar* MenuBarOf(HWND hwnd) {
  WindowWidget* w = g_presenter ? g_presenter->Widget(hwnd) : nullptr;
  return w ? w->MenuBar() : nullptr;
}

}  // namespace zel_qt
