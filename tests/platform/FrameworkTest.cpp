// The framework on the window model: message maps, command routing through views and
// frames, CCmdUI updates before a popup opens, MDI frames, window objects.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/user/app/WinApp.h"
#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/MDIWnd.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/framework/View.h"
#include "platform/user/resource/Resources.h"
#include "platform/user/wnd/MenuTracking.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"

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
  first.DestroyWindow();
  EXPECT_EQ(main.MDIGetActive(), nullptr);
  EXPECT_EQ(main.GetActiveFrame(), &main);
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
