// An MDI frame on a real X display (make desktop): each document's child is a sub-window
// whose view (a child window painted by its WM_PAINT, with a scroll bar) shows on the screen
// where the model puts it; a real click activates a document, the real wheel reaches the
// view as WM_MOUSEWHEEL, a click on its scroll bar's arrow as WM_VSCROLL, and a double click
// on a title maximises the document in the model too.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/qt/QtPresenter.h"
#include "platform/user/framework/MDIWnd.h"
#include "platform/user/gdi/DC.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/ScrollBars.h"
#include "platform/user/wnd/Window.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"

namespace {

bool ProcessUntil(const std::function<bool()>& done, int ms = 5000) {
  return zel_test::WaitUntil(
      done, [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }, ms);
}

void Xdotool(const std::string& args) {
  const std::string command = "xdotool " + args;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::string At(QPoint p) { return std::to_string(p.x()) + " " + std::to_string(p.y()); }

const COLORREF kColors[2] = {RGB(200, 40, 40), RGB(40, 140, 60)};
int g_wheel = 0;
std::vector<UINT> g_scrolls;

// A document's view: filled with its colour, the wheel's turns counted.
LRESULT ViewProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_MOUSEWHEEL) {
    g_wheel += GET_WHEEL_DELTA_WPARAM(w);
    return 0;
  }
  if (m == WM_VSCROLL) {
    g_scrolls.push_back(LOWORD(w));
    return 0;
  }
  if (m != WM_PAINT) return DefWindowProc(h, m, w, l);
  PAINTSTRUCT ps;
  CDC* dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  dc->FillSolidRect(&r, kColors[GetDlgCtrlID(h)]);
  EndPaint(h, &ps);
  return 0;
}

class MdiDesktopTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    g_wheel = 0;
    g_scrolls.clear();
    zel_qt::InstallPresenter();
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run by make desktop";
    ASSERT_TRUE(main.Create(nullptr, "Documents", WS_OVERLAPPEDWINDOW, CRect(60, 60, 860, 620)));
    main.ShowWindow(SW_SHOW);
    for (int i = 0; i < 2; ++i) {
      ASSERT_TRUE(docs[i].Create(nullptr, i ? "b.fa - Sequences" : "a.gb - DNA/RNA Documents",
                                 WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                 CFrameWnd::rectDefault, &main));
      RECT client;
      docs[i].GetClientRect(&client);
      views[i] =
          CreateWindowEx(0, "View", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, client.right,
                         client.bottom, docs[i].m_hWnd, HMENU(i), &ViewProc, nullptr);
      ASSERT_TRUE(views[i]);
    }
    main.MDITile(MDITILE_VERTICAL);
    for (int i = 0; i < 2; ++i) {
      RECT client;
      docs[i].GetClientRect(&client);
      MoveWindow(views[i], 0, 0, client.right, client.bottom, TRUE);
    }
    QWidget* top = zel_qt::WidgetOf(main.m_hWnd);
    ASSERT_TRUE(
        ProcessUntil([&] { return top->windowHandle() && top->windowHandle()->isExposed(); }));
  }
  void TearDown() override {
    main.DestroyWindow();
    zel_qt::UninstallPresenter();
  }
  // The view's client area as grabbed from the screen.
  QImage Grab(int i) {
    QWidget* client = zel_qt::ClientOf(views[i]);
    const QPoint at = client->mapTo(client->window(), QPoint(0, 0));
    return client->screen()
        ->grabWindow(client->window()->winId(), at.x(), at.y(), client->width(), client->height())
        .toImage();
  }
  CMDIFrameWnd main;
  CMDIChildWnd docs[2];
  HWND views[2];
};

TEST_F(MdiDesktopTest, DocumentsShowWhereTheModelPutsThemAndTakeClicksAndTheWheel) {
  QMdiArea* area = zel_qt::MdiAreaOf(main.m_hWndMDIClient);
  ASSERT_NE(area, nullptr);
  // Tiled side by side, each view painted in its colour on the screen.
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const QColor want(GetRValue(kColors[i]), GetGValue(kColors[i]), GetBValue(kColors[i]));
    QImage shot;
    ASSERT_TRUE(ProcessUntil([&] {
      shot = Grab(i);
      return !shot.isNull() && shot.pixelColor(shot.width() / 2, shot.height() / 2) == want;
    })) << "the view is not on the screen";
    EXPECT_EQ(shot.pixelColor(2, shot.height() - 3), want);
  }
  EXPECT_LT(zel_qt::ClientOf(views[0])->mapToGlobal(QPoint(0, 0)).x(),
            zel_qt::ClientOf(views[1])->mapToGlobal(QPoint(0, 0)).x());
  if (const char* keep = std::getenv("ZEL_KEEP_PICTURES"))
    zel_qt::WidgetOf(main.m_hWnd)
        ->screen()
        ->grabWindow(zel_qt::WidgetOf(main.m_hWnd)->winId())
        .save(QString::fromStdString(std::string(keep) + "/mdi-tiled.png"));

  // A real click on the first document's view makes it the active one.
  ASSERT_EQ(main.MDIGetActive(), &docs[1]);
  QWidget* first = zel_qt::ClientOf(views[0]);
  Xdotool("mousemove --sync " + At(first->mapToGlobal(first->rect().center())) + " click 1");
  EXPECT_TRUE(ProcessUntil([&] { return main.MDIGetActive() == &docs[0]; }));
  EXPECT_EQ(area->activeSubWindow(), zel_qt::SubWindowOf(docs[0].m_hWnd));
  EXPECT_TRUE(ProcessUntil([&] { return GetFocus() == views[0]; }));

  // Two notches of the real wheel towards the user: -240.
  Xdotool("click 5 click 5");
  EXPECT_TRUE(ProcessUntil([&] { return g_wheel == -2 * WHEEL_DELTA; })) << g_wheel;
}

TEST_F(MdiDesktopTest, TheScrollBarsArrowAndADoubleClickOnATitleReachTheModel) {
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  info.nMax = 999;
  info.nPage = 100;
  SetScrollInfo(views[0], SB_VERT, &info, TRUE);
  QScrollBar* bar = zel_qt::ScrollBarOf(views[0], SB_VERT);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(ProcessUntil([&] { return bar->isVisible() && bar->maximum() == 900; }));
  // The down arrow sits at the bottom of the bar, as tall as the bar is wide.
  Xdotool("mousemove --sync " +
          At(bar->mapToGlobal(QPoint(bar->width() / 2, bar->height() - bar->width() / 2))) +
          " click 1");
  ASSERT_TRUE(ProcessUntil([&] { return !g_scrolls.empty() && g_scrolls.back() == SB_ENDSCROLL; }));
  EXPECT_EQ(g_scrolls.front(), SB_LINEDOWN);
  // The view did not move its bar: neither did Qt.
  EXPECT_EQ(bar->value(), 0);

  const CRect normal = [&] {
    WINDOWPLACEMENT wp;
    docs[1].GetWindowPlacement(&wp);
    return CRect(wp.rcNormalPosition);
  }();
  QMdiSubWindow* sub = zel_qt::SubWindowOf(docs[1].m_hWnd);
  const QPoint title = sub->mapToGlobal(QPoint(sub->width() / 2, sub->contentsMargins().top() / 2));
  Xdotool("mousemove --sync " + At(title) + " click --repeat 2 --delay 80 1");
  ASSERT_TRUE(ProcessUntil([&] { return docs[1].IsZoomed() != FALSE; })) << "not maximised";
  EXPECT_TRUE(sub->isMaximized());
  WINDOWPLACEMENT wp;
  docs[1].GetWindowPlacement(&wp);
  EXPECT_EQ(CRect(wp.rcNormalPosition), normal);
  if (const char* keep = std::getenv("ZEL_KEEP_PICTURES"))
    zel_qt::WidgetOf(main.m_hWnd)
        ->screen()
        ->grabWindow(zel_qt::WidgetOf(main.m_hWnd)->winId())
        .save(QString::fromStdString(std::string(keep) + "/mdi-maximized.png"));
  docs[1].MDIRestore();
  EXPECT_TRUE(ProcessUntil([&] { return !sub->isMaximized(); }));
}

}  // namespace
