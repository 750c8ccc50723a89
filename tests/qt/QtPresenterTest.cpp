// The window model on Qt's offscreen platform: a frame whose menu bar holds the merged
// tools, an owner-drawn popup painted beside its text, mnemonics through the key filter,
// the user-interface thread's queue served by Qt's loop, and a popup window painted
// through the device.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeDatabase>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "layout/DirectoryLayout.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtFileIcons.h"
#include "platform/qt/QtMenus.h"
#include "platform/qt/QtPresenter.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/MenuTracking.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"
#include "tests/support/PngFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/support/ToolsMenuFrame.h"
#include "tests/support/Wait.h"
#include "tools/AppTools.h"
#include "tools/ZelMenuManager.h"

namespace fs = std::filesystem;

namespace {

constexpr UINT IDR_MAIN = 850, ID_OPEN = 57601, ID_ASK = WM_USER + 1;
constexpr uint32_t kOpenRed = 0xFFE02020u;

// Runs Qt's event loop between looks.
bool ProcessUntil(const std::function<bool()>& done, int ms = 5000) {
  return zel_test::WaitUntil(
      done, [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }, ms);
}

class ToolFrame : public zel_test::ToolsMenuFrame {
  DECLARE_MESSAGE_MAP()
 public:
  ToolFrame() : ToolsMenuFrame(IDR_MAIN) {}
  int opened = 0;
  int ticks = 0;
  std::thread::id askedOn;

 protected:
  void OnOpen() { ++opened; }
  LRESULT OnAsk(WPARAM w, LPARAM) {
    askedOn = std::this_thread::get_id();
    return static_cast<LRESULT>(w + 1);
  }
  LRESULT OnTimer(WPARAM, LPARAM) {
    ++ticks;
    return 0;
  }
};
BEGIN_MESSAGE_MAP(ToolFrame, zel_test::ToolsMenuFrame)
ON_COMMAND(ID_OPEN, OnOpen)
ON_MESSAGE(ID_ASK, OnAsk)
ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_MAP()

class QtPresenterTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    zel_qt::InstallPresenter();
    EXEDIR = CZelDirSpec((tmp / "Programs").c_str());
    RecalcEXEDIRDependencies();
    const std::string menu = TOOLSMENUDIR.GetPath();
    fs::create_directories(menu + "/Analyze");
    const char* tool = "[ToolUnitShortcut]\r\nInputType=0\r\nTarget=~..\\blast.exe\r\n";
    zel_test::WriteFile(menu + "/Analyze/Blast.tq", tool);
    zel_test::WriteFile(menu + "/Analyze/Dot plot.tq", tool);
    zel_test::WriteFile(menu + "/Viewer.tq", tool);
    AfxSetBitmapResource(IDR_MAIN, zel_test::ToolbarPng(16, 15, {kOpenRed}, 0xFF000000u));
    const UINT ids[] = {ID_OPEN};
    AfxSetToolbarResource(IDR_MAIN, 16, 15, ids, 1);

    CMenu bar, file, tools, analyze;
    bar.CreateMenu();
    file.CreatePopupMenu();
    file.AppendMenu(MF_STRING, ID_OPEN, "&Open...");
    tools.CreatePopupMenu();
    tools.AppendMenu(MF_STRING, 32771, "&Options...");
    analyze.CreatePopupMenu();
    analyze.AppendMenu(MF_SEPARATOR);
    bar.AppendMenu(MF_POPUP, file.Detach().value, "&File");
    bar.AppendMenu(MF_POPUP | MF_DISABLED, tools.Detach().value, "&Tools");
    bar.AppendMenu(MF_POPUP, analyze.Detach().value, "&Analyze");
    ASSERT_TRUE(frame.Show(manager, menus, bar, "Tools", CRect(50, 50, 450, 350)));
  }
  void TearDown() override {
    menus.Install(static_cast<CWnd*>(nullptr));
    frame.DestroyWindow();
    zel_qt::UninstallPresenter();
    EXEDIR.ClearSpec();
    TOOLSDIR.ClearSpec();
    TOOLSMENUDIR.ClearSpec();
  }
  QAction* BarAction(const QString& text) {
    for (QAction* a : zel_qt::MenuBarOf(frame.m_hWnd)->actions())
      if (a->text() == text) return a;
    return nullptr;
  }
  // Opens a popup of the menu bar as a click would.
  zel_qt::PopupMenu* Open(const QString& text) {
    QAction* a = BarAction(text);
    if (!a) return nullptr;
    auto* popup = dynamic_cast<zel_qt::PopupMenu*>(a->menu());
    zel_qt::MenuBarOf(frame.m_hWnd)->setActiveAction(a);
    return ProcessUntil([&] { return popup->isVisible(); }) ? popup : nullptr;
  }
  void Save(const QImage& image, const char* name) {
    image.save(QString::fromStdString(tmp / name));
    if (const char* keep = std::getenv("ZEL_KEEP_PICTURES"))
      image.save(QString::fromStdString(std::string(keep) + "/" + name));
  }

  CAppTools manager{CAppTools::kNoWatch};
  CZelMenuManager menus;
  ToolFrame frame;
};

TEST_F(QtPresenterTest, TheMenuBarHoldsTheMergedToolsAndPopupsAreOwnerDrawn) {
  QMenuBar* bar = zel_qt::MenuBarOf(frame.m_hWnd);
  ASSERT_NE(bar, nullptr);
  QStringList titles;
  for (QAction* a : bar->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Tools", "Viewer", "&Analyze"}));
  EXPECT_TRUE(BarAction("&Tools")->isEnabled());  // the tools popup mark was taken off

  zel_qt::PopupMenu* popup = Open("&Analyze");
  ASSERT_NE(popup, nullptr);
  // Converted as it opened: plain QActions that stand for owner-drawn items.
  ASSERT_EQ(popup->actions().size(), 2);
  QAction* blast = popup->actions()[0];
  EXPECT_EQ(zel_qt::OwnerDrawnPosition(blast->text()), 0);
  MENUITEMINFO info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfo(popup->Menu(), 0, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  // Sized by the measure message.
  const SIZE measured = zel_menu::MeasureItem(frame.m_hWnd, popup->Menu(), 0);
  EXPECT_EQ(popup->actionGeometry(blast).height(), measured.cy);
  EXPECT_GE(popup->actionGeometry(blast).width(), measured.cx);

  // Drawn by the draw message: the tool file's icon in the button box, the text beside it.
  const QImage shot = popup->grab().toImage().convertToFormat(QImage::Format_RGB32);
  Save(shot, "owner-drawn-menu.png");
  const QRect item = popup->actionGeometry(blast);
  const QRgb icon = qRgb(0x3C, 0x78, 0xD8);  // the fixed list's program icon (.exe)
  int iconPixels = 0, textPixels = 0;
  for (int y = item.top(); y <= item.bottom(); ++y) {
    for (int x = item.left(); x < item.left() + 20; ++x)
      if (shot.pixel(x, y) == icon) ++iconPixels;
    for (int x = item.left() + 23; x <= item.right(); ++x)
      if (qGray(shot.pixel(x, y)) < 100) ++textPixels;
  }
  EXPECT_GT(iconPixels, 40);
  EXPECT_GT(textPixels, 20);

  // The menu closes: Qt's events close the loop and the items are plain again.
  popup->hide();
  ASSERT_TRUE(ProcessUntil([&] {
    GetMenuItemInfo(popup->Menu(), 0, TRUE, &info);
    return !(info.fType & MFT_OWNERDRAW);
  }));
}

TEST_F(QtPresenterTest, AChangedToolFolderRebuildsTheMenuBar) {
  fs::create_directories(std::string(TOOLSMENUDIR.GetPath()) + "/Sequence");
  zel_test::WriteFile(std::string(TOOLSMENUDIR.GetPath()) + "/Sequence/Reverse.tq",
                      "[ToolUnitShortcut]\r\nInputType=0\r\nTarget=rev\r\n");
  manager.SetReloadNeeded(1);
  CAppTools::CChangeInfo info;
  info.window = &frame;
  info.name = "main";
  manager.DoMenuChange(&info);
  QStringList titles;
  for (QAction* a : zel_qt::MenuBarOf(frame.m_hWnd)->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Tools", "Sequence", "Viewer", "&Analyze"}));
}

TEST_F(QtPresenterTest, TheFilePopupDrawsItsToolbarImageAndTakesItsMnemonic) {
  zel_qt::PopupMenu* popup = Open("&File");
  ASSERT_NE(popup, nullptr);
  const QImage shot = popup->grab().toImage().convertToFormat(QImage::Format_RGB32);
  Save(shot, "toolbar-image-menu.png");
  const QRect item = popup->actionGeometry(popup->actions()[0]);
  int red = 0;
  for (int y = item.top(); y <= item.bottom(); ++y)
    for (int x = item.left(); x < item.left() + 20; ++x)
      if (shot.pixel(x, y) == (kOpenRed | 0xFF000000u)) ++red;
  EXPECT_EQ(red, 14 * 13);  // the image's inside, its black border around it
  // 'o' is no plain item's mnemonic: the owner answers, the item is chosen, the command
  // arrives through the queue that Qt's loop serves.
  QKeyEvent key(QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, "o");
  QApplication::sendEvent(popup, &key);
  ASSERT_TRUE(ProcessUntil([&] { return frame.opened == 1; }));
  EXPECT_FALSE(popup->isVisible());
}

TEST_F(QtPresenterTest, ATrackedPopupAnswersTheItemChosenAndHoveringSelects) {
  CMenu popup;
  popup.CreatePopupMenu();
  popup.AppendMenu(MF_STRING, 901, "&First");
  popup.AppendMenu(MF_STRING, 902, "&Second");
  frame.m_bAutoMenuEnable = FALSE;  // no handlers, but enabled all the same
  bool hilited = false;
  // Once it shows: the pointer goes to the second item, then Enter chooses it.
  QTimer::singleShot(0, [&] {
    auto* shown = dynamic_cast<zel_qt::PopupMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(shown, nullptr);
    shown->setActiveAction(shown->actions()[1]);
    hilited = GetMenuState(popup.m_hMenu, 1, MF_BYPOSITION) & MF_HILITE;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(shown, &enter);
  });
  // Should nothing be chosen, the popup is closed: the test fails instead of waiting.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (QWidget* open = QApplication::activePopupWidget()) open->close();
  });
  guard.start(5000);
  EXPECT_EQ(popup.TrackPopupMenu(TPM_RETURNCMD, 100, 100, &frame), 902);
  EXPECT_TRUE(hilited);
  // Answered, not posted; and the items are plain again once it has closed.
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, frame.m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
  MENUITEMINFO info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfo(popup.m_hMenu, 0, TRUE, &info);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
}

TEST_F(QtPresenterTest, QtsLoopServesTheQueueSendsFromOtherThreadsAndTimers) {
  std::atomic<LRESULT> answer{-1};
  std::thread sender([&] { answer = SendMessage(frame.m_hWnd, ID_ASK, 41, 0); });
  ASSERT_TRUE(ProcessUntil([&] { return answer.load() != -1; }));
  sender.join();
  EXPECT_EQ(answer.load(), 42);
  EXPECT_EQ(frame.askedOn, std::this_thread::get_id());
  frame.SetTimer(1, 20);
  ASSERT_TRUE(ProcessUntil([&] { return frame.ticks >= 2; }));
  frame.KillTimer(1);
  // The frame's widget follows the window: moved by the model, retitled, closed by WM_CLOSE.
  // The desktop draws caption and border outside the widget, and client coordinates agree.
  frame.MoveWindow(60, 70, 300, 200);
  const int b = GetSystemMetrics(SM_CXBORDER), caption = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(zel_qt::WidgetOf(frame.m_hWnd)->geometry(),
            QRect(60 + b, 70 + b + caption, 300 - 2 * b, 200 - 2 * b - caption));
  POINT origin{0, 0};
  frame.ClientToScreen(&origin);
  QCoreApplication::processEvents();
  EXPECT_EQ(zel_qt::ClientOf(frame.m_hWnd)->mapToGlobal(QPoint(0, 0)), QPoint(origin.x, origin.y));
  frame.SetWindowText("Renamed");
  EXPECT_EQ(zel_qt::WidgetOf(frame.m_hWnd)->windowTitle(), "Renamed");
}

// Qt's loop serves the queue only when its descriptor wakes: a send to another thread
// must leave that wake-up for what was posted meanwhile, and a thread timer set outside
// the loop must wake it to be timed.
TEST_F(QtPresenterTest, QtsLoopStaysAwakeAfterASendToAnotherThreadAndForANewThreadTimer) {
  std::atomic<HWND> other{HWND()};
  std::atomic<bool> stop{false};
  std::thread owner([&] {
    // A message-only window: nothing of it is presented, so no widget off Qt's thread.
    HWND h = CreateWindowEx(0, "Other", "", 0, 0, 0, 0, 0, HWND_MESSAGE, HMENU(), &DefWindowProc,
                            nullptr);
    other = h;
    while (!stop) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      MSG msg;
      while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) DispatchMessage(&msg);
    }
    DestroyWindow(h);
  });
  ASSERT_TRUE(ProcessUntil([&] { return other.load() != HWND(); }));
  frame.PostMessage(WM_COMMAND, ID_OPEN, 0);
  SendMessage(other.load(), WM_NULL, 0, 0);
  // Served at once, not when something else happens to wake the loop.
  EXPECT_TRUE(ProcessUntil([&] { return frame.opened == 1; }, 400));
  stop = true;
  owner.join();
  static int ticks = 0;
  const UINT_PTR timer = SetTimer(HWND(), 0, 20, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
  EXPECT_TRUE(ProcessUntil([&] { return ticks >= 1; }, 2000));
  KillTimer(HWND(), timer);
}

TEST_F(QtPresenterTest, APopupWindowIsFramelessTakesNoFocusAndPaintsThroughTheDevice) {
  static int paints = 0;
  HWND tip = CreateWindowEx(
      WS_EX_NOACTIVATE | WS_EX_TOPMOST, "Tip", "", WS_POPUP, 200, 200, 120, 30, HWND(), HMENU(),
      [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m != WM_PAINT) return DefWindowProc(h, m, w, l);
        PAINTSTRUCT ps;
        CDC* dc = BeginPaint(h, &ps);
        RECT r{0, 0, 120, 30};
        dc->FillSolidRect(&r, GetSysColor(COLOR_INFOBK));
        dc->SetBkMode(TRANSPARENT);
        dc->TextOut(4, 4, "Tip text", 8);
        EndPaint(h, &ps);
        ++paints;
        return 0;
      },
      nullptr);
  ShowWindow(tip, SW_SHOWNA);
  QWidget* widget = zel_qt::WidgetOf(tip);
  ASSERT_NE(widget, nullptr);
  EXPECT_TRUE(widget->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(widget->windowFlags() & Qt::WindowDoesNotAcceptFocus);
  EXPECT_TRUE(widget->windowFlags() & Qt::WindowStaysOnTopHint);
  // Topmost and never activated: the desktop's tool-tip kind of window.
  EXPECT_EQ(widget->windowType(), Qt::ToolTip);
  EXPECT_EQ(zel_qt::MenuBarOf(tip), nullptr);
  const QImage shot = zel_qt::ClientOf(tip)->grab().toImage().convertToFormat(QImage::Format_RGB32);
  Save(shot, "popup-window.png");
  EXPECT_GT(paints, 0);
  EXPECT_EQ(shot.pixel(100, 25), qRgb(255, 255, 128));
  int ink = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < 60; ++x)
      if (qGray(shot.pixel(x, y)) < 100) ++ink;
  EXPECT_GT(ink, 20);
  // A mouse click on it arrives as the model's message, in client coordinates.
  MSG msg;
  while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) {
  }
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(7, 9), QPointF(207, 209), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(zel_qt::ClientOf(tip), &press);
  ASSERT_TRUE(PeekMessage(&msg, tip, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
  EXPECT_EQ(PointOfLParam(msg.lParam).x, 7);
  EXPECT_EQ(PointOfLParam(msg.lParam).y, 9);
  DestroyWindow(tip);
  EXPECT_EQ(zel_qt::WidgetOf(tip), nullptr);
}

TEST(QtFileIconsTest, IconsComeFromTheThemeThroughTheNamesType) {
  zel_qt::EnsureApplication();
  zel_qt::QtFileIcons icons;
  const QMimeType type =
      QMimeDatabase().mimeTypeForFile("notes.txt", QMimeDatabase::MatchExtension);
  EXPECT_EQ(type.name(), "text/plain");
  EXPECT_EQ(icons.TypeName("dir/notes.txt", false), type.comment().toStdString());
  // The theme's icon for the type or its generic type; without either (no theme named,
  // as on a bare window manager), the fixed list's icon for the name, never none.
  const bool themed = !QIcon::fromTheme(type.iconName()).isNull() ||
                      !QIcon::fromTheme(type.genericIconName()).isNull();
  const int index = icons.IconIndex("notes.txt", false, true);
  ASSERT_GE(index, 0);
  EXPECT_EQ(icons.IconIndex("other.txt", false, true), index);  // each icon once
  const CImageList* list = icons.ImageList(true);
  EXPECT_EQ(list->Width(), 16);
  const std::vector<uint32_t> px = list->Pixels(index);  // the list grows below
  if (!themed) {
    zel_shell::FixedFileIcons& fixed = zel_shell::FixedIcons();
    EXPECT_EQ(px, fixed.ImageList(true)->Pixels(fixed.IconIndex("notes.txt", false, true)));
    EXPECT_NE(icons.IconIndex("run.exe", false, true), index);
  }
  EXPECT_TRUE(std::any_of(px.begin(), px.end(), [](uint32_t p) { return (p >> 24) > 0; }));
}

}  // namespace
