// The framework on the window model: message maps, command routing through views and
// frames, CCmdUI updates before a popup opens, MDI frames with their client, cascade and
// tile, dropped files in a map, window objects.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/user/app/WinApp.h"
#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/MDILayoutInternal.h"
#include "platform/user/framework/MDIWnd.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/framework/View.h"
#include "platform/user/resource/Resources.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/DragDrop.h"
#include "platform/user/wnd/MenuTracking.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/Window.h"
#include "tests/support/DroppedFiles.h"

namespace {

const UINT WM_TEST_REGISTERED = RegisterWindowMessage("WM_TEST_REGISTERED");
constexpr UINT ID_OPEN = 100, ID_SAVE = 101, ID_ORPHAN = 102, ID_FIRST = 200, ID_LAST = 210;

std::vector<std::string> g_log;

class TestView : public CView {
  DECLARE_MESSAGE_MAP()
 protected:
  void OnSave() { g_log.push_back("view save"); }
};
BEGIN_MESSAGE_MAP(TestView, CView)
ON_COMMAND(ID_SAVE, OnSave)
END_MESSAGE_MAP()

class TestFrame : public CFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  BOOL saveEnabled = FALSE;

 protected:
  LRESULT OnRegistered(WPARAM w, LPARAM) {
    g_log.push_back("registered " + std::to_string(w));
    return 11;
  }
  LRESULT OnUser(WPARAM, LPARAM) {
    // Passed on: the frame's default handling answers for it.
    return 1000 + Default();
  }
  void OnOpen() { g_log.push_back("frame open"); }
  void OnSave() { g_log.push_back("frame save"); }
  void OnRange(UINT id) { g_log.push_back("range " + std::to_string(id)); }
  void OnUpdateSave(CCmdUI* ui) { ui->Enable(saveEnabled); }
  void OnUpdateRange(CCmdUI* ui) {
    ui->SetCheck(ui->m_nID == ID_FIRST);
    if (ui->m_nID == ID_FIRST + 1) ui->SetText("Renamed");
  }
};
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
ON_REGISTERED_MESSAGE(WM_TEST_REGISTERED, OnRegistered)
ON_MESSAGE(WM_USER, OnUser)
ON_COMMAND(ID_OPEN, OnOpen)
ON_COMMAND(ID_SAVE, OnSave)
ON_COMMAND_RANGE(ID_FIRST, ID_LAST, OnRange)
ON_UPDATE_COMMAND_UI(ID_SAVE, OnUpdateSave)
ON_UPDATE_COMMAND_UI_RANGE(ID_FIRST, ID_LAST, OnUpdateRange)
END_MESSAGE_MAP()

class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    HMENU bar = CreateMenu();
    popup = CreatePopupMenu();
    AppendMenu(popup, MF_STRING, ID_OPEN, "&Open");
    AppendMenu(popup, MF_STRING, ID_SAVE, "&Save");
    AppendMenu(popup, MF_STRING, ID_ORPHAN, "Orphan");
    AppendMenu(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenu(popup, MF_STRING, ID_FIRST, "First");
    AppendMenu(popup, MF_STRING, ID_FIRST + 1, "Second");
    AppendMenu(bar, MF_POPUP, popup.value, "&File");
    ASSERT_TRUE(
        frame.Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, bar));
  }
  void Dispatch() {
    MSG msg;
    while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }
  UINT State(UINT id) { return GetMenuState(popup, id, MF_BYCOMMAND); }
  TestFrame frame;
  HMENU popup;
};

TEST_F(FrameworkTest, MessageMapsFindRegisteredMessagesAndPassTheRestOn) {
  EXPECT_EQ(CWnd::FromHandlePermanent(frame.m_hWnd), &frame);
  EXPECT_EQ(frame.SendMessage(WM_TEST_REGISTERED, 4), 11);
  EXPECT_EQ(g_log, std::vector<std::string>{"registered 4"});
  EXPECT_EQ(frame.SendMessage(WM_USER), 1000);
  frame.SetWindowText("Titled");
  CString title;
  frame.GetWindowText(title);
  EXPECT_EQ(title, "Titled");
  // The frame's menu and the window's own menu are one.
  EXPECT_EQ(frame.GetMenu()->m_hMenu, frame.m_hMenuDefault);
}

TEST_F(FrameworkTest, CommandsGoToTheActiveViewFirstAndDisabledOnesNowhere) {
  frame.PostMessage(WM_COMMAND, ID_OPEN);
  frame.PostMessage(WM_COMMAND, ID_FIRST + 3);
  Dispatch();
  EXPECT_EQ(g_log, (std::vector<std::string>{"frame open", "range 203"}));
  g_log.clear();
  // Save's update handler disables it: the command is not carried out.
  frame.SendMessage(WM_COMMAND, ID_SAVE);
  EXPECT_TRUE(g_log.empty());
  frame.saveEnabled = TRUE;
  frame.SendMessage(WM_COMMAND, ID_SAVE);
  TestView view;
  ASSERT_TRUE(view.Create(&frame));
  frame.SetActiveView(&view);
  frame.SendMessage(WM_COMMAND, ID_SAVE);
  EXPECT_EQ(g_log, (std::vector<std::string>{"frame save", "view save"}));
  EXPECT_EQ(view.GetParentFrame(), &frame);
}

TEST_F(FrameworkTest, APopupIsUpdatedBeforeItOpens) {
  EnableMenuItem(popup, ID_OPEN, MF_GRAYED);
  zel_menu::InitMenuPopup(frame.m_hWnd, popup, 0, false);
  EXPECT_EQ(State(ID_OPEN) & MF_GRAYED, 0u);  // a command handler exists: enabled
  EXPECT_EQ(State(ID_SAVE) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));    // its update says so
  EXPECT_EQ(State(ID_ORPHAN) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));  // no handler at all
  EXPECT_EQ(State(ID_FIRST) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(GetMenuItemID(popup, 5), ID_FIRST + 1);
  char text[16];
  GetMenuString(popup, ID_FIRST + 1, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Renamed");
  // Without automatic enabling an item without handlers is left alone.
  frame.m_bAutoMenuEnable = FALSE;
  EnableMenuItem(popup, ID_ORPHAN, MF_ENABLED);
  zel_menu::InitMenuPopup(frame.m_hWnd, popup, 0, false);
  EXPECT_EQ(State(ID_ORPHAN) & MF_GRAYED, 0u);
  // A system menu is not updated.
  EnableMenuItem(popup, ID_OPEN, MF_GRAYED);
  zel_menu::InitMenuPopup(frame.m_hWnd, popup, 0, true);
  EXPECT_EQ(State(ID_OPEN) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
}

TEST_F(FrameworkTest, UpdatesRadioCheckItemsAndLeavePopupsAlone) {
  CMenu* menu = CMenu::FromHandle(popup);
  CCmdUI ui;
  ui.m_pMenu = menu;
  ui.m_nIndex = 4;
  ui.m_nID = ID_FIRST;
  ui.SetRadio(TRUE);
  MENUITEMINFO info;
  info.fMask = MIIM_CHECKMARKS | MIIM_STATE;
  menu->GetMenuItemInfo(4, &info, TRUE);
  EXPECT_EQ(info.hbmpChecked, AfxGetMenuDotBitmap());
  EXPECT_TRUE(info.fState & MFS_CHECKED);
  // An item that stands for a popup is not changed through its first command.
  HMENU sub = CreatePopupMenu();
  AppendMenu(sub, MF_STRING, ID_OPEN, "Inner");
  AppendMenu(popup, MF_POPUP, sub.value, "Sub");
  ui.m_nIndex = 6;
  ui.m_pSubMenu = CMenu::FromHandle(sub);
  ui.Enable(FALSE);
  ui.SetText("Changed");
  EXPECT_EQ(GetMenuState(popup, 6, MF_BYPOSITION) & MF_GRAYED, 0u);
  char text[16];
  GetMenuString(popup, 6, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Sub");
}

TEST_F(FrameworkTest, TheDefaultAcceleratorTableComesFromItsResource) {
  EXPECT_FALSE(frame.GetDefaultAccelerator());
  const ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'O', ID_OPEN}, {FVIRTKEY, 0x7B, ID_OPEN}};
  AfxSetAcceleratorResource(900, keys, 2);
  EXPECT_FALSE(frame.LoadAccelTable(901));
  ASSERT_TRUE(frame.LoadAccelTable(900));
  HACCEL table = frame.GetDefaultAccelerator();
  EXPECT_EQ(LoadAccelerators(HINSTANCE(), 900), table);
  ACCEL copy[2];
  EXPECT_EQ(CopyAcceleratorTable(table, nullptr, 0), 2);
  ASSERT_EQ(CopyAcceleratorTable(table, copy, 2), 2);
  EXPECT_EQ(copy[1].key, 0x7B);
  EXPECT_EQ(copy[0].fVirt, FCONTROL | FVIRTKEY);
  // The resource set anew loads as a new table.
  AfxSetAcceleratorResource(900, keys, 1);
  HACCEL renewed = LoadAccelerators(HINSTANCE(), 900);
  EXPECT_NE(renewed, table);
  EXPECT_EQ(CopyAcceleratorTable(renewed, nullptr, 0), 1);
  EXPECT_TRUE(DestroyAcceleratorTable(renewed));
  EXPECT_EQ(CopyAcceleratorTable(renewed, nullptr, 0), 0);
  AfxSetResource(RT_ACCELERATOR, 900, "");
}

TEST_F(FrameworkTest, TheMainWindowIsTheThreadsOwnOrTheApplications) {
  CWinApp app("frames");
  app.m_pMainWnd = &frame;
  EXPECT_EQ(AfxGetMainWnd(), &frame);
  CFrameWnd other;
  AfxSetThreadMainWnd(&other);
  EXPECT_EQ(AfxGetMainWnd(), &other);
  CWnd* seenElsewhere = nullptr;
  std::thread([&] { seenElsewhere = AfxGetMainWnd(); }).join();
  EXPECT_EQ(seenElsewhere, &frame);
  AfxSetThreadMainWnd(nullptr);
  EXPECT_EQ(AfxGetMainWnd(), &frame);
}

class TestChild : public CMDIChildWnd {
  DECLARE_MESSAGE_MAP()
 protected:
  void OnOpen() { g_log.push_back("child open"); }
};
BEGIN_MESSAGE_MAP(TestChild, CMDIChildWnd)
ON_COMMAND(ID_OPEN, OnOpen)
END_MESSAGE_MAP()

class TestMain : public CMDIFrameWnd {
  DECLARE_MESSAGE_MAP()
 protected:
  void OnOpen() { g_log.push_back("main open"); }
};
BEGIN_MESSAGE_MAP(TestMain, CMDIFrameWnd)
ON_COMMAND(ID_OPEN, OnOpen)
END_MESSAGE_MAP()

TEST(MDIFrameTest, TheActiveChildIsTheActiveFrameAndGetsCommandsFirst) {
  g_log.clear();
  TestMain main;
  ASSERT_TRUE(main.Create(nullptr, "Main"));
  EXPECT_EQ(main.GetActiveFrame(), &main);
  CMDIChildWnd first, second;
  ASSERT_TRUE(first.Create(nullptr, "One", WS_CHILD | WS_VISIBLE, CFrameWnd::rectDefault, &main));
  ASSERT_TRUE(second.Create(nullptr, "Two", WS_CHILD | WS_VISIBLE, CFrameWnd::rectDefault, &main));
  BOOL maximized = TRUE;
  EXPECT_EQ(main.MDIGetActive(&maximized), &second);
  EXPECT_FALSE(maximized);
  second.MDIMaximize();
  main.MDIGetActive(&maximized);
  EXPECT_TRUE(maximized);
  first.MDIActivate();
  EXPECT_EQ(main.GetActiveFrame(), &first);
  EXPECT_EQ(first.GetMDIFrame(), &main);
  EXPECT_EQ(first.GetTopLevelFrame(), &main);
  // The active child's handler first, the frame's when it has none.
  TestChild handling;
  ASSERT_TRUE(handling.Create(nullptr, "Three", WS_CHILD, CFrameWnd::rectDefault, &main));
  main.SendMessage(WM_COMMAND, ID_OPEN);
  first.MDIActivate();
  main.SendMessage(WM_COMMAND, ID_OPEN);
  EXPECT_EQ(g_log, (std::vector<std::string>{"child open", "main open"}));
  // The active child goes: the most recent visible one of the others carries on (the third,
  // shown when the maximised state passed through it), maximised as the one that went.
  first.DestroyWindow();
  EXPECT_EQ(main.MDIGetActive(&maximized), &handling);
  handling.DestroyWindow();
  EXPECT_EQ(main.MDIGetActive(), &second);
  second.DestroyWindow();
  EXPECT_EQ(main.MDIGetActive(), nullptr);
  EXPECT_EQ(main.GetActiveFrame(), &main);
}

CRect RectIn(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  POINT a{r.left, r.top}, b{r.right, r.bottom};
  ScreenToClient(GetParent(hwnd), &a);
  ScreenToClient(GetParent(hwnd), &b);
  return CRect(a.x, a.y, b.x, b.y);
}

class MDILayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(main.Create(nullptr, "Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 602, 421)));
    ASSERT_TRUE(main.m_hWndMDIClient);
    main.ShowWindow(SW_SHOW);
    for (int i = 0; i < 4; ++i)
      ASSERT_TRUE(children[i].Create(nullptr, ("Doc " + std::to_string(i)).c_str(),
                                     WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                     CFrameWnd::rectDefault, &main));
  }
  CMDIFrameWnd main;
  CMDIChildWnd children[4];
};

TEST_F(MDILayoutTest, TheClientFillsTheFrameBesideTheStatusBarAndListsTheChildrenInOrder) {
  RECT client;
  main.GetClientRect(&client);
  EXPECT_EQ(RectIn(main.m_hWndMDIClient), CRect(client));
  char name[16];
  GetClassName(main.m_hWndMDIClient, name, sizeof name);
  EXPECT_STREQ(name, "MDICLIENT");
  // A status bar keeps its height at the bottom; the client takes the rest.
  CWnd status;
  ASSERT_TRUE(
      status.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 10, 22), &main, AFX_IDW_STATUS_BAR));
  main.RecalcLayout();
  EXPECT_EQ(RectIn(status), CRect(0, client.bottom - 22, client.right, client.bottom));
  EXPECT_EQ(RectIn(main.m_hWndMDIClient), CRect(0, 0, client.right, client.bottom - 22));
  main.SetWindowPos(nullptr, 0, 0, 702, 521, SWP_NOMOVE | SWP_NOZORDER);
  main.GetClientRect(&client);
  EXPECT_EQ(RectIn(status), CRect(0, client.bottom - 22, client.right, client.bottom));
  // The children, in the order they were made; each in the MDI client.
  const std::vector<CMDIChildWnd*> listed = main.MDIGetChildren();
  ASSERT_EQ(listed.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(listed[i], &children[i]);
    EXPECT_EQ(GetParent(children[i]), main.m_hWndMDIClient);
    EXPECT_TRUE(children[i].GetExStyle() & WS_EX_MDICHILD);
  }
  children[1].DestroyWindow();
  EXPECT_EQ(main.MDIGetChildren(),
            (std::vector<CMDIChildWnd*>{&children[0], &children[2], &children[3]}));
}

TEST_F(MDILayoutTest, CascadeAndTilePlaceTheChildrenAsTheFrameIsAsked) {
  RECT area;
  GetClientRect(main.m_hWndMDIClient, &area);
  children[1].MDIActivate();
  children[2].MDIMaximize();
  // Cascade (asked through the MDI client, as the platform's programs do): in order, the
  // active one last, none maximised any more.
  SendMessage(main.m_hWndMDIClient, WM_MDICASCADE, 0, 0);
  EXPECT_FALSE(children[2].IsZoomed());
  const std::vector<RECT> cascade = zel_afx::CascadeRects(
      area, 4, GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CXBORDER));
  const int order[] = {0, 2, 3, 1};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(RectIn(children[order[i]]), CRect(cascade[i]));
  }
  EXPECT_EQ(main.MDIGetActive(), &children[1]);
  EXPECT_EQ(CWnd::WindowFromPoint([&] {
              POINT p{cascade[3].left + 30, cascade[3].top + 30};
              ClientToScreen(main.m_hWndMDIClient, &p);
              return p;
            }()),
            &children[1]);
  // Tiles keep the order of making; a minimised child stays out of it.
  children[3].ShowWindow(SW_MINIMIZE);
  main.MDITile(MDITILE_HORIZONTAL);
  const std::vector<RECT> rows = zel_afx::TileRects(area, 3, false);
  EXPECT_EQ(RectIn(children[0]), CRect(rows[0]));
  EXPECT_EQ(RectIn(children[1]), CRect(rows[1]));
  EXPECT_EQ(RectIn(children[2]), CRect(rows[2]));
  main.SendMessage(WM_MDITILE, MDITILE_VERTICAL);
  const std::vector<RECT> columns = zel_afx::TileRects(area, 3, true);
  EXPECT_EQ(RectIn(children[2]), CRect(columns[2]));
  EXPECT_TRUE(children[3].IsIconic());
}

TEST_F(MDILayoutTest, NextAndPreviousGoRoundAndAMaximisedChildHandsItsStateOn) {
  EXPECT_EQ(main.MDIGetActive(), &children[3]);
  main.MDINext();
  EXPECT_EQ(main.MDIGetActive(), &children[0]);
  main.MDIPrev();
  main.MDIPrev();
  EXPECT_EQ(main.MDIGetActive(), &children[2]);
  BOOL maximized = FALSE;
  EXPECT_EQ(HWND(static_cast<uintptr_t>(
                main.SendMessage(WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)))),
            children[2].m_hWnd);
  children[2].MDIMaximize();
  SendMessage(main.m_hWndMDIClient, WM_MDIACTIVATE, HandleToWParam(children[0].m_hWnd), 0);
  EXPECT_EQ(main.MDIGetActive(&maximized), &children[0]);
  EXPECT_TRUE(maximized);
  EXPECT_FALSE(children[2].IsZoomed());
}

TEST(MDILayoutRulesTest, CascadeWrapsAtHalfTheAreaAndTilesMeetEdgeToEdge) {
  const RECT area{0, 0, 400, 300};
  // 150 / 22 + 1 = 7 steps fit in half the height: the eighth window starts again.
  std::vector<RECT> c = zel_afx::CascadeRects(area, 8, 22);
  EXPECT_EQ(CRect(c[0]), CRect(0, 0, 400 - 6 * 22, 300 - 6 * 22));
  EXPECT_EQ(CRect(c[6]), CRect(6 * 22, 6 * 22, 400, 300));
  EXPECT_EQ(CRect(c[7]), CRect(c[0]));
  c = zel_afx::CascadeRects(area, 2, 22);
  EXPECT_EQ(CRect(c[1]), CRect(22, 22, 400, 300));
  struct Case {
    size_t count;
    bool sideBySide;
    std::vector<CRect> want;
  };
  const Case cases[] = {
      {1, true, {CRect(0, 0, 400, 300)}},
      {3, true, {CRect(0, 0, 133, 300), CRect(133, 0, 266, 300), CRect(266, 0, 400, 300)}},
      {2, false, {CRect(0, 0, 400, 150), CRect(0, 150, 400, 300)}},
      // Five in ceil(sqrt(5)) = 3 columns: the rightmost two take two each.
      {5,
       true,
       {CRect(0, 0, 133, 300), CRect(133, 0, 266, 150), CRect(133, 150, 266, 300),
        CRect(266, 0, 400, 150), CRect(266, 150, 400, 300)}},
      {4,
       false,
       {CRect(0, 0, 200, 150), CRect(200, 0, 400, 150), CRect(0, 150, 200, 300),
        CRect(200, 150, 400, 300)}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.count << (k.sideBySide ? " side by side" : " stacked"));
    const std::vector<RECT> got = zel_afx::TileRects(area, k.count, k.sideBySide);
    ASSERT_EQ(got.size(), k.want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(CRect(got[i]), k.want[i]) << i;
  }
  EXPECT_TRUE(zel_afx::TileRects(area, 0, true).empty());
}

class DropFrame : public CFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  std::vector<std::string> dropped;

 protected:
  void OnDropFiles(HDROP drop) {
    for (std::string& path : zel_test::TakeDroppedFiles(drop)) dropped.push_back(std::move(path));
  }
};
BEGIN_MESSAGE_MAP(DropFrame, CFrameWnd)
ON_WM_DROPFILES()
END_MESSAGE_MAP()

TEST(DropMapTest, ADropReachesTheFramesHandlerUnpacked) {
  DropFrame frame;
  ASSERT_TRUE(frame.Create(nullptr, "Drops"));
  frame.ShowWindow(SW_SHOW);
  frame.DragAcceptFiles();
  POINT at{5, 5};
  frame.ClientToScreen(&at);
  ASSERT_EQ(zel_wnd::DropFiles(frame.m_hWnd, {"/a/one.gb", "/b/two.fa"}, at), frame.m_hWnd);
  MSG msg;
  while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_EQ(frame.dropped, (std::vector<std::string>{"/a/one.gb", "/b/two.fa"}));
}

TEST(WindowObjectTest, ObjectsOwnWhatTheyMadeAndOnlyWrapWhatTheyAttach) {
  HWND made;
  {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "", "", WS_POPUP, 0, 0, 10, 10, HWND(), HMENU()));
    made = wnd.m_hWnd;
  }
  EXPECT_FALSE(IsWindow(made));
  HWND plain =
      CreateWindowEx(0, "", "", WS_POPUP, 0, 0, 10, 10, HWND(), HMENU(), &DefWindowProc, nullptr);
  CWnd* temporary = CWnd::FromHandle(plain);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
  EXPECT_EQ(CWnd::FromHandle(plain), temporary);
  {
    CWnd attached;
    EXPECT_TRUE(attached.Attach(plain));
    EXPECT_EQ(CWnd::FromHandle(plain), &attached);
  }
  EXPECT_TRUE(IsWindow(plain));  // attached, not owned
  DestroyWindow(plain);
  EXPECT_EQ(CWnd::FromHandle(HWND()), nullptr);
}

}  // namespace
