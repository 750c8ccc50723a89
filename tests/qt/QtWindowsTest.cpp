// The window model's windows as Qt widgets on the offscreen platform: a child window inside
// its parent's client area (painted, taking input and the focus, with a scroll bar that
// mirrors the model's), an MDI frame's client as a QMdiArea with a sub-window per child
// (activation, geometry and show state both ways, closing), the wheel and dropped files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/QtPresenter.h"
#include "platform/user/framework/MDIWnd.h"
#include "platform/user/gdi/DC.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/DragDrop.h"
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

// Takes the posted messages of the window off the queue, the latest of the kind in *last.
int Take(HWND hwnd, UINT message, MSG* last = nullptr) {
  int n = 0;
  MSG msg;
  while (PeekMessage(&msg, hwnd, message, message, PM_REMOVE)) {
    ++n;
    if (last) *last = msg;
  }
  return n;
}

CRect RectIn(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  POINT a{r.left, r.top}, b{r.right, r.bottom};
  ScreenToClient(GetParent(hwnd), &a);
  ScreenToClient(GetParent(hwnd), &b);
  return CRect(a.x, a.y, b.x, b.y);
}

LRESULT RedView(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m != WM_PAINT) return DefWindowProc(h, m, w, l);
  PAINTSTRUCT ps;
  CDC* dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  dc->FillSolidRect(&r, RGB(220, 30, 30));
  EndPaint(h, &ps);
  return 0;
}

class QtWindowsTest : public zel_test::ZelTest {
 protected:
  void SetUp() override { zel_qt::InstallPresenter(); }
  void TearDown() override {
    for (HWND h : made) DestroyWindow(h);
    zel_qt::UninstallPresenter();
  }
  HWND Make(DWORD style, RECT r, HWND parent, WNDPROC proc = &DefWindowProc, DWORD ex = 0) {
    HWND h = CreateWindowEx(ex, "Test", "test", style, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, parent, HMENU(), proc, nullptr);
    if (!parent) made.push_back(h);
    return h;
  }
  std::vector<HWND> made;
};

TEST_F(QtWindowsTest, AChildIsAWidgetInItsParentsClientAreaPaintedWithInputAndFocus) {
  HWND frame = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {40, 40, 440, 340}, HWND());
  HWND view = Make(WS_CHILD | WS_VISIBLE | WS_VSCROLL, {10, 20, 210, 170}, frame, &RedView);
  HWND other = Make(WS_CHILD | WS_VISIBLE, {250, 20, 300, 70}, frame);
  QWidget* widget = zel_qt::WidgetOf(view);
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->parentWidget(), zel_qt::ClientOf(frame));
  EXPECT_EQ(widget->geometry(), QRect(10, 20, 200, 150));
  EXPECT_TRUE(widget->isVisible());
  // The client area less the scroll bar, as the model counts it.
  RECT client;
  GetClientRect(view, &client);
  ASSERT_TRUE(ProcessUntil([&] { return zel_qt::ClientOf(view)->width() == client.right; }));
  EXPECT_EQ(zel_qt::ClientOf(view)->height(), client.bottom);
  // Painted by its WM_PAINT inside the frame's picture.
  const QImage shot = zel_qt::ClientOf(frame)->grab().toImage();
  EXPECT_EQ(shot.pixelColor(15, 25), QColor(220, 30, 30));
  EXPECT_NE(shot.pixelColor(5, 5), QColor(220, 30, 30));
  // The model moves it; the widget follows.
  MoveWindow(view, 30, 25, 180, 140, TRUE);
  EXPECT_EQ(widget->geometry(), QRect(30, 25, 180, 140));
  // Its input arrives as its messages, in its client coordinates.
  Take(view, WM_LBUTTONDOWN);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(7, 9), QPointF(0, 0), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(zel_qt::ClientOf(view), &press);
  MSG msg;
  ASSERT_EQ(Take(view, WM_LBUTTONDOWN, &msg), 1);
  EXPECT_EQ(PointOfLParam(msg.lParam).x, 7);
  EXPECT_EQ(PointOfLParam(msg.lParam).y, 9);
  // Focus both ways: the model's SetFocus focuses the widget, the widget's focus the model.
  zel_qt::WidgetOf(frame)->activateWindow();
  SetFocus(view);
  EXPECT_TRUE(ProcessUntil([&] { return zel_qt::ClientOf(view)->hasFocus(); }));
  zel_qt::ClientOf(other)->setFocus(Qt::MouseFocusReason);
  EXPECT_TRUE(ProcessUntil([&] { return GetFocus() == other; }));
  // Hidden and destroyed with the model.
  ShowWindow(other, SW_HIDE);
  EXPECT_FALSE(zel_qt::WidgetOf(other)->isVisible());
  DestroyWindow(other);
  EXPECT_EQ(zel_qt::WidgetOf(other), nullptr);
}

TEST_F(QtWindowsTest, AScrollBarMirrorsTheModelAndTheUsersActionsBecomeRequests) {
  HWND frame = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {40, 40, 440, 340}, HWND());
  HWND view = Make(WS_CHILD | WS_VISIBLE | WS_VSCROLL, {0, 0, 300, 200}, frame);
  QScrollBar* bar = zel_qt::ScrollBarOf(view, SB_VERT);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(zel_qt::ScrollBarOf(view, SB_HORZ), nullptr);
  EXPECT_EQ(bar->width(), GetSystemMetrics(SM_CXVSCROLL));
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  info.nMax = 999;
  info.nPage = 100;
  info.nPos = 300;
  SetScrollInfo(view, SB_VERT, &info, TRUE);
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 900);
  EXPECT_EQ(bar->pageStep(), 100);
  EXPECT_EQ(bar->value(), 300);
  struct Case {
    QAbstractSlider::SliderAction action;
    UINT code;
  };
  const Case cases[] = {{QAbstractSlider::SliderSingleStepAdd, SB_LINEDOWN},
                        {QAbstractSlider::SliderSingleStepSub, SB_LINEUP},
                        {QAbstractSlider::SliderPageStepAdd, SB_PAGEDOWN},
                        {QAbstractSlider::SliderPageStepSub, SB_PAGEUP},
                        {QAbstractSlider::SliderToMinimum, SB_TOP},
                        {QAbstractSlider::SliderToMaximum, SB_BOTTOM}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Take(view, WM_VSCROLL);
    bar->triggerAction(c.action);
    MSG msg;
    ASSERT_EQ(Take(view, WM_VSCROLL, &msg), 1);
    EXPECT_EQ(LOWORD(msg.wParam), c.code);
    // The window moves the bar, not Qt.
    EXPECT_EQ(bar->value(), 300);
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 300);
  }
  // Dragging the thumb: track requests with the position, which SIF_TRACKPOS answers.
  bar->setSliderDown(true);
  bar->setSliderPosition(640);
  MSG msg;
  ASSERT_EQ(Take(view, WM_VSCROLL, &msg), 1);
  EXPECT_EQ(LOWORD(msg.wParam), SB_THUMBTRACK);
  EXPECT_EQ(HIWORD(msg.wParam), 640);
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(view, SB_VERT, &info);
  EXPECT_EQ(info.nTrackPos, 640);
  bar->setSliderDown(false);
  // The window's answer moves the bar.
  SetScrollPos(view, SB_VERT, 640, TRUE);
  EXPECT_EQ(bar->value(), 640);
  // A horizontal bar sends its own message.
  HWND wide = Make(WS_CHILD | WS_VISIBLE | WS_HSCROLL, {0, 210, 300, 280}, frame);
  QScrollBar* across = zel_qt::ScrollBarOf(wide, SB_HORZ);
  ASSERT_NE(across, nullptr);
  EXPECT_EQ(across->height(), GetSystemMetrics(SM_CYHSCROLL));
  SetScrollRange(wide, SB_HORZ, 0, 50, TRUE);
  across->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  ASSERT_EQ(Take(wide, WM_HSCROLL, &msg), 1);
  EXPECT_EQ(LOWORD(msg.wParam), SB_LINERIGHT);
  // The wheel over the bar scrolls the window, as over its client area.
  Take(view, WM_MOUSEWHEEL);
  QWheelEvent wheel(QPointF(5, 5), QPointF(100, 100), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(bar, &wheel);
  ASSERT_EQ(Take(view, WM_MOUSEWHEEL, &msg), 1);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(msg.wParam), -WHEEL_DELTA);
  EXPECT_EQ(bar->value(), 640);
}

TEST_F(QtWindowsTest, TheWheelAndDroppedFilesArriveAsMessagesInScreenAndClientPoints) {
  HWND frame = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {40, 40, 440, 340}, HWND());
  HWND view = Make(WS_CHILD | WS_VISIBLE, {10, 10, 210, 110}, frame);
  QWheelEvent wheel(QPointF(5, 6), zel_qt::ClientOf(view)->mapToGlobal(QPointF(5, 6)), QPoint(),
                    QPoint(0, 240), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(zel_qt::ClientOf(view), &wheel);
  MSG msg;
  ASSERT_EQ(Take(view, WM_MOUSEWHEEL, &msg), 1);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(msg.wParam), 2 * WHEEL_DELTA);
  EXPECT_EQ(GET_KEYSTATE_WPARAM(msg.wParam), MK_CONTROL);
  POINT screen{5, 6};
  ClientToScreen(view, &screen);
  EXPECT_EQ(PointOfLParam(msg.lParam).x, screen.x);
  EXPECT_EQ(PointOfLParam(msg.lParam).y, screen.y);

  // A drag of local files is refused until the frame takes files, then dropped on it.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromUtf8("/data/s\xc3\xa9q.gb"))});
  QDragEnterEvent refused(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(zel_qt::ClientOf(view), &refused);
  EXPECT_FALSE(refused.isAccepted());
  DragAcceptFiles(frame, TRUE);
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(zel_qt::ClientOf(view), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(zel_qt::ClientOf(view), &drop);
  ASSERT_EQ(Take(frame, WM_DROPFILES, &msg), 1);
  const HDROP got{static_cast<uintptr_t>(msg.wParam)};
  char path[64];
  DragQueryFile(got, 0, path, sizeof path);
  EXPECT_STREQ(path, "/data/s\xc3\xa9q.gb");
  POINT at;
  EXPECT_TRUE(DragQueryPoint(got, &at));
  EXPECT_EQ(at.x, 30);  // the view's (20, 20) in the frame's client area
  EXPECT_EQ(at.y, 30);
  DragFinish(got);
}

TEST_F(QtWindowsTest, AFrameShowsTheModelsShowStateAndTellsItTheUsers) {
  HWND frame = Make(WS_OVERLAPPEDWINDOW, {40, 50, 440, 350}, HWND());
  QWidget* widget = zel_qt::WidgetOf(frame);
  WINDOWPLACEMENT wp;
  wp.showCmd = SW_SHOWMAXIMIZED;
  wp.rcNormalPosition = RECT{60, 70, 460, 370};
  SetWindowPlacement(frame, &wp);
  EXPECT_TRUE(widget->isVisible());
  EXPECT_TRUE(widget->isMaximized());
  // The user restores it: the model follows, back at its normal rectangle.
  widget->showNormal();
  ASSERT_TRUE(ProcessUntil([&] { return !IsZoomed(frame); }));
  GetWindowPlacement(frame, &wp);
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  RECT r;
  GetWindowRect(frame, &r);
  EXPECT_EQ(CRect(r), CRect(60, 70, 460, 370));
  // The user maximises it: the model is maximised and keeps that rectangle.
  widget->showMaximized();
  ASSERT_TRUE(ProcessUntil([&] { return IsZoomed(frame) != FALSE; }));
  GetWindowPlacement(frame, &wp);
  EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(60, 70, 460, 370));
  ShowWindow(frame, SW_MINIMIZE);
  EXPECT_TRUE(widget->isMinimized());
  ShowWindow(frame, SW_RESTORE);
  EXPECT_FALSE(widget->isMinimized());
  EXPECT_FALSE(widget->isMaximized());
}

class MdiTest : public QtWindowsTest {
 protected:
  void SetUp() override {
    QtWindowsTest::SetUp();
    ASSERT_TRUE(main.Create(nullptr, "Main", WS_OVERLAPPEDWINDOW, CRect(30, 30, 730, 530)));
    main.ShowWindow(SW_SHOW);
    for (int i = 0; i < 2; ++i)
      ASSERT_TRUE(docs[i].Create(nullptr, ("Doc " + std::to_string(i)).c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | WS_VSCROLL,
                                 CFrameWnd::rectDefault, &main));
    area = zel_qt::MdiAreaOf(main.m_hWndMDIClient);
    ASSERT_NE(area, nullptr);
    for (int i = 0; i < 2; ++i) subs[i] = zel_qt::SubWindowOf(docs[i].m_hWnd);
    ASSERT_TRUE(subs[0] && subs[1]);
  }
  void TearDown() override {
    main.DestroyWindow();
    QtWindowsTest::TearDown();
  }
  // The body (client area and bars) of a sub-window has the model's size.
  void ExpectBodyFits(int i) {
    SCOPED_TRACE(i);
    RECT client;
    docs[i].GetClientRect(&client);
    EXPECT_EQ(subs[i]->widget()->width(), client.right + GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(subs[i]->widget()->height(), client.bottom);
  }
  CMDIFrameWnd main;
  CMDIChildWnd docs[2];
  QMdiArea* area = nullptr;
  QMdiSubWindow* subs[2] = {};
};

TEST_F(MdiTest, TheClientIsAnMdiAreaAndEachChildASubWindowInStepWithTheModel) {
  EXPECT_EQ(area->parentWidget(), zel_qt::ClientOf(main.m_hWnd));
  ASSERT_EQ(area->subWindowList().size(), 2);
  EXPECT_EQ(subs[1]->windowTitle(), QStringLiteral("Doc 1"));
  docs[1].SetWindowText("Renamed");
  EXPECT_EQ(subs[1]->windowTitle(), QStringLiteral("Renamed"));
  // Activation both ways.
  EXPECT_EQ(area->activeSubWindow(), subs[1]);
  docs[0].MDIActivate();
  EXPECT_EQ(area->activeSubWindow(), subs[0]);
  area->setActiveSubWindow(subs[1]);
  EXPECT_EQ(main.MDIGetActive(), &docs[1]);
  // Geometry both ways: the model's tile, the user's move.
  main.MDITile(MDITILE_VERTICAL);
  ASSERT_TRUE(ProcessUntil([&] { return subs[0]->widget()->width() > 0; }));
  ExpectBodyFits(0);
  ExpectBodyFits(1);
  // Side by side: the client areas meet where the model's tiles do, Qt's decoration around.
  const auto inArea = [&](int i) {
    return QRect(subs[i]->widget()->mapTo(area->viewport(), QPoint(0, 0)),
                 subs[i]->widget()->size());
  };
  EXPECT_LE(inArea(0).right(), inArea(1).left());
  POINT origin{0, 0};
  ClientToScreen(docs[1].m_hWnd, &origin);
  ScreenToClient(main.m_hWndMDIClient, &origin);
  EXPECT_EQ(inArea(1).topLeft(), QPoint(origin.x, origin.y));
  const CRect before = RectIn(docs[0].m_hWnd);
  subs[0]->move(subs[0]->pos() + QPoint(15, 12));
  EXPECT_EQ(RectIn(docs[0].m_hWnd),
            CRect(before.left + 15, before.top + 12, before.right + 15, before.bottom + 12));
  ExpectBodyFits(0);
  // The user maximises and restores; the model keeps the normal rectangle.
  const CRect normal = RectIn(docs[1].m_hWnd);
  subs[1]->showMaximized();
  ASSERT_TRUE(ProcessUntil([&] { return docs[1].IsZoomed() != FALSE; }));
  WINDOWPLACEMENT wp;
  docs[1].GetWindowPlacement(&wp);
  EXPECT_EQ(CRect(wp.rcNormalPosition), normal);
  docs[1].MDIRestore();
  EXPECT_FALSE(subs[1]->isMaximized());
  EXPECT_EQ(RectIn(docs[1].m_hWnd), normal);
  docs[1].MDIMaximize();
  EXPECT_TRUE(subs[1]->isMaximized());
  subs[1]->showNormal();
  ASSERT_TRUE(ProcessUntil([&] { return !docs[1].IsZoomed(); }));
  // The close button asks the child: it goes, and the other carries on.
  subs[1]->close();
  EXPECT_FALSE(IsWindow(docs[1].m_hWnd));
  EXPECT_EQ(main.MDIGetActive(), &docs[0]);
  ASSERT_TRUE(ProcessUntil([&] { return area->subWindowList().size() == 1; }));
  EXPECT_EQ(area->activeSubWindow(), subs[0]);
}

}  // namespace
