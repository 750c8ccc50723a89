// The Qt presenter: a widget per window (QtWindows.cpp) kept in step with the model, menus,
// and the user-interface thread's queue served by Qt's event loop.
#include "platform/qt/QtPresenter.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtDC.h"
#include "platform/qt/QtIntegration.h"
#include "platform/qt/QtMenus.h"
#include "platform/qt/QtSystemValues.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtWindowsInternal.h"
#include "platform/user/wnd/Desktop.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/ToolkitBridge.h"
#include "platform/user/wnd/Window.h"

namespace zel_qt {
namespace {

using zel_qt_internal::ChildWidget;
using zel_qt_internal::MdiArea;
using zel_qt_internal::MdiSubWindow;
using zel_qt_internal::Placed;
using zel_qt_internal::WindowBody;
using zel_qt_internal::WindowWidget;

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
    for (auto& w : m_widgets)
      if (w && !w->parentWidget()) delete w.data();
    m_widgets.clear();
  }

  // The widget that presents the window: a frame, a child's body, the MDI client's area or
  // an MDI child's sub-window; null when none does.
  QWidget* Outer(HWND hwnd) const { return m_widgets.value(hwnd.value); }
  WindowWidget* Widget(HWND hwnd) const { return dynamic_cast<WindowWidget*>(Outer(hwnd)); }
  WindowBody* Body(HWND hwnd) const {
    QWidget* w = Outer(hwnd);
    if (auto* top = dynamic_cast<WindowWidget*>(w)) return top->Body();
    if (auto* sub = dynamic_cast<MdiSubWindow*>(w)) return sub->Body();
    return dynamic_cast<WindowBody*>(w);
  }
  // Where the window's children go.
  QWidget* Container(HWND hwnd) const {
    if (WindowBody* body = Body(hwnd)) return body->Client();
    if (auto* area = dynamic_cast<MdiArea*>(Outer(hwnd))) return area->viewport();
    return nullptr;
  }

  void Created(HWND hwnd) override {
    const auto style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_EXSTYLE));
    QWidget* made = nullptr;
    if (style & WS_CHILD) {
      // A child of a window no widget presents stays in the model only.
      const HWND parent = GetParent(hwnd);
      QWidget* container = Container(parent);
      if (!container) return;
      char name[16] = {};
      GetClassName(hwnd, name, sizeof name);
      auto* area = dynamic_cast<MdiArea*>(Outer(parent));
      if (std::string_view(name) == "MDICLIENT")
        made = new MdiArea(hwnd, container);
      else if (area && (exStyle & WS_EX_MDICHILD))
        made = new MdiSubWindow(hwnd, area);
      else
        made = new ChildWidget(hwnd, container);
      made->hide();
    } else {
      made = new WindowWidget(hwnd, style, exStyle);
    }
    m_widgets.insert(hwnd.value, made);
    if (auto* placed = dynamic_cast<Placed*>(made)) placed->SyncGeometry();
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
    QPointer<QWidget> w = m_widgets.take(hwnd.value);
    if (!w) return;
    MdiArea* area = dynamic_cast<MdiSubWindow*>(w.data())
                        ? dynamic_cast<MdiArea*>(Outer(GetParent(hwnd)))
                        : nullptr;
    // Qt activates another sub-window when one goes; the frame has chosen already.
    if (area) area->SetQuiet(true);
    // Later: the window may be going from inside one of its widget's own events.
    w->hide();
    w->deleteLater();
    if (area) {
      area->SetQuiet(false);
      const HWND active{static_cast<uintptr_t>(SendMessage(area->Window(), WM_MDIGETACTIVE, 0, 0))};
      if (active) MdiActivated(active);
    }
  }
  void Shown(HWND hwnd, bool) override {
    if (auto* placed = dynamic_cast<Placed*>(Outer(hwnd))) placed->SyncState();
  }
  void ShowStateChanged(HWND hwnd) override { Shown(hwnd, IsWindowVisible(hwnd)); }
  void Moved(HWND hwnd) override {
    if (auto* placed = dynamic_cast<Placed*>(Outer(hwnd))) placed->SyncGeometry();
    // A child's client origin moves with its parent's frame.
    for (auto it = m_widgets.cbegin(); it != m_widgets.cend(); ++it)
      if (GetParent(HWND(it.key())) == hwnd &&
          (GetWindowLongPtr(HWND(it.key()), GWL_STYLE) & WS_CHILD))
        if (auto* placed = dynamic_cast<Placed*>(it.value().data())) placed->SyncGeometry();
  }
  void FrameChanged(HWND hwnd) override {
    if (QWidget* w = Outer(hwnd); w && w->layout()) w->layout()->activate();
  }
  void Retitled(HWND hwnd) override {
    QWidget* w = Outer(hwnd);
    if (!w || !(Widget(hwnd) || dynamic_cast<MdiSubWindow*>(w))) return;
    std::vector<char> text(static_cast<size_t>(GetWindowTextLength(hwnd)) + 1);
    const int n = GetWindowText(hwnd, text.data(), static_cast<int>(text.size()));
    w->setWindowTitle(ToUnicode(text.data(), n, LOGFONT()));
  }
  void Invalidated(HWND hwnd, const RECT* rect) override {
    WindowBody* body = Body(hwnd);
    if (!body) return;
    if (rect)
      body->Client()->update(
          QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
    else
      body->Client()->update();
  }
  void Update(HWND hwnd) override {
    if (WindowBody* body = Body(hwnd)) body->Client()->repaint();
  }
  void Focused(HWND hwnd) override {
    WindowBody* body = hwnd ? Body(hwnd) : nullptr;
    if (body && !body->Client()->hasFocus()) body->Client()->setFocus(Qt::OtherFocusReason);
  }
  void ScrollBarChanged(HWND hwnd, int bar) override {
    if (WindowBody* body = Body(hwnd)) body->SyncScrollBar(bar);
  }
  void MdiActivated(HWND child) override {
    auto* sub = dynamic_cast<MdiSubWindow*>(Outer(child));
    if (sub && sub->mdiArea() && sub->mdiArea()->activeSubWindow() != sub)
      sub->mdiArea()->setActiveSubWindow(sub);
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
    return TrackPopup(owner, menu, QPoint(at.x, at.y), Outer(owner));
  }
  std::unique_ptr<CDC> NewDC(HWND) override { return std::make_unique<MeasuringDC>(); }

  // The visible top-level windows whose owner, or an owner of their owner, is hwnd, oldest
  // first.
  std::vector<HWND> VisibleOwnedBy(HWND hwnd) const {
    std::vector<HWND> owned;
    for (auto it = m_widgets.cbegin(); it != m_widgets.cend(); ++it) {
      const HWND h{it.key()};
      auto* w = dynamic_cast<WindowWidget*>(it.value().data());
      if (h == hwnd || !w || !w->isVisible()) continue;
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
  QHash<uintptr_t, QPointer<QWidget>> m_widgets;
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

QWidget* WidgetOf(HWND hwnd) { return g_presenter ? g_presenter->Outer(hwnd) : nullptr; }

QWidget* ClientOf(HWND hwnd) {
  if (!g_presenter) return nullptr;
  if (WindowBody* body = g_presenter->Body(hwnd)) return body->Client();
  return g_presenter->Container(hwnd);
}

QMdiArea* MdiAreaOf(HWND mdiClient) {
  return g_presenter ? dynamic_cast<MdiArea*>(g_presenter->Outer(mdiClient)) : nullptr;
}

QMdiSubWindow* SubWindowOf(HWND mdiChild) {
  return g_presenter ? dynamic_cast<MdiSubWindow*>(g_presenter->Outer(mdiChild)) : nullptr;
}

QScrollBar* ScrollBarOf(HWND hwnd, int bar) {
  WindowBody* body = g_presenter ? g_presenter->Body(hwnd) : nullptr;
  return body ? body->Bar(bar) : nullptr;
}

QMenuBar* MenuBarOf(HWND hwnd) {
  WindowWidget* w = g_presenter ? g_presenter->Widget(hwnd) : nullptr;
  return w ? w->MenuBar() : nullptr;
}

}  // namespace zel_qt
