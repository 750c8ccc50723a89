// Popup menus shown for a view or an MDI child: the command reaches the view's frame with
// that view active, or the MDI frame with that child active.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/MDIWnd.h"
#include "platform/user/framework/View.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Presenter.h"
#include "tests/support/IntegrationScope.h"
#include "tests/support/RecordingPresenter.h"
#include "ui/ZelPopupMenu.h"

namespace {

constexpr UINT ID_PASTE = 300;
std::vector<std::string> g_log;

class NamedView : public CView {
  DECLARE_MESSAGE_MAP()
 public:
  std::string name;

 protected:
  void OnPaste() { g_log.push_back("paste in " + name); }
};
BEGIN_MESSAGE_MAP(NamedView, CView)
ON_COMMAND(ID_PASTE, OnPaste)
END_MESSAGE_MAP()

class ZelPopupMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scope.Use(&presenter);
    g_log.clear();
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_PASTE, "&Paste");
  }
  void Choose(CWnd* owner) {
    presenter.ScriptPopupChoice(ID_PASTE);
    EXPECT_TRUE(menu.TrackPopupMenu(0, 10, 10, owner));
    MSG msg;
    while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }
  CZelPopupMenu menu;
  zel_test::RecordingPresenter presenter;
  zel_test::IntegrationScope scope;
};

TEST_F(ZelPopupMenuTest, AViewBecomesActiveAndItsFrameOwnsTheMenu) {
  CFrameWnd frame;
  ASSERT_TRUE(frame.Create(nullptr, "Frame"));
  NamedView left, right;
  left.name = "left";
  right.name = "right";
  ASSERT_TRUE(left.Create(&frame, 0xE900));
  ASSERT_TRUE(right.Create(&frame, 0xE901));
  frame.SetActiveView(&left);
  Choose(&right);
  EXPECT_EQ(frame.GetActiveView(), &right);
  EXPECT_EQ(g_log, std::vector<std::string>{"paste in right"});
}

TEST_F(ZelPopupMenuTest, AnMdiChildIsActivatedInItsFrame) {
  CMDIFrameWnd main;
  ASSERT_TRUE(main.Create(nullptr, "Main"));
  // Frames here do not delete themselves when destroyed; the test owns them.
  CMDIChildWnd first, second;
  ASSERT_TRUE(first.Create(nullptr, "first", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                           CFrameWnd::rectDefault, &main));
  ASSERT_TRUE(second.Create(nullptr, "second", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                            CFrameWnd::rectDefault, &main));
  NamedView view;
  view.name = "first's view";
  ASSERT_TRUE(view.Create(&first));
  first.SetActiveView(&view);
  ASSERT_EQ(main.MDIGetActive(), &second);
  Choose(&first);
  EXPECT_EQ(main.MDIGetActive(), &first);
  EXPECT_EQ(g_log, std::vector<std::string>{"paste in first's view"});
}

}  // namespace
