// Watching the tool folder: who is told of a change and in what order, a stop that ends
// every wait, the folder going and coming back, bursts, failing handlers, and rebuilding a
// menu on the user-interface thread; the change after the first set-up, a change during a
// load, and a stop while the walk is stalled in a folder.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "layout/DirectoryLayout.h"
#include "platform/os/sync/Event.h"
#include "platform/os/watch/TreeWatch.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Presenter.h"
#include "tests/support/IntegrationScope.h"
#include "tests/support/RecordingPresenter.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"
#include "tools/AppTools.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
using zel_test::PumpUntil;

struct Notice {
  std::string window;
  WPARAM menu;
  int reloadNeeded;
};

// A window that notes each change message and then does what the test asks.
class ChangeWindow : public CFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  ChangeWindow(std::string name, std::vector<Notice>& log, CAppTools*& tools)
      : m_name(std::move(name)), m_log(log), m_tools(tools) {
    Create(nullptr, m_name.c_str());
  }
  std::function<void()> then;

 protected:
  LRESULT OnChange(WPARAM w, LPARAM) {
    m_log.push_back({m_name, w, m_tools ? m_tools->GetReloadNeeded() : -1});
    if (then) then();
    return 0;
  }

 private:
  std::string m_name;
  std::vector<Notice>& m_log;
  CAppTools*& m_tools;
};
BEGIN_MESSAGE_MAP(ChangeWindow, CFrameWnd)
ON_REGISTERED_MESSAGE(WM_MENUCHANGE, OnChange)
END_MESSAGE_MAP()

class ToolMonitorTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    CalcToolSpecs(CZelDirSpec((tmp / "Programs").c_str()));
    menu = TOOLSMENUDIR.GetPath();
    fs::create_directories(menu + "/Sub");
    engines.Use(&reporter);
  }
  void TearDown() override {
    TOOLSDIR.ClearSpec();
    TOOLSMENUDIR.ClearSpec();
  }
  void Tool(const std::string& rel) {
    zel_test::WriteFile(menu + "/" + rel, "[ToolUnitShortcut]\r\nInputType=0\r\nTarget=x\r\n");
  }
  std::string menu;
  std::vector<Notice> log;
  zel_test::IntegrationScope engines;
  zel_test::RecordingFailureReporter reporter;
  std::vector<std::string>& failures = reporter.texts;
};

TEST_F(ToolMonitorTest, AChangeInASubfolderGoesToTheWindowsFirstFirst) {
  CAppTools* current = nullptr;
  ChangeWindow first("first", log, current), second("second", log, current);
  CAppTools tools;
  current = &tools;
  tools.SetMainWindow(&first, nullptr, &second);
  ASSERT_TRUE(PumpUntil([&] { return tools.IsWatching(); }));
  log.clear();  // the change that follows the set-up
  EXPECT_TRUE(tools.IsLoopActive());
  tools.SetReloadNeeded(0);
  Tool("Sub/New.tq");
  ASSERT_TRUE(PumpUntil([&] { return log.size() >= 2; }));
  EXPECT_EQ(log[0].window, "first");
  EXPECT_EQ(log[1].window, "second");
  EXPECT_EQ(log[0].menu, 0u);
  EXPECT_EQ(log[0].reloadNeeded, 1);
  current = nullptr;
}

TEST_F(ToolMonitorTest, WithoutWindowsTheMainWindowIsTold) {
  CAppTools* none = nullptr;
  ChangeWindow main("main", log, none), other("other", log, none);
  CWinApp app("monitor");
  app.m_pMainWnd = &main;
  CAppTools tools;
  ASSERT_TRUE(PumpUntil([&] { return tools.IsWatching(); }));
  Tool("Top.tq");
  ASSERT_TRUE(PumpUntil([&] { return !log.empty(); }));
  for (const Notice& n : log) EXPECT_EQ(n.window, "main");
  // Given a window, the message goes to it alone, with the menu.
  log.clear();
  tools.SetMainWindow(&main);
  tools.ExecuteChangeHandler(HMENU(0x1234), &other);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].window, "other");
  EXPECT_EQ(log[0].menu, 0x1234u);
}

TEST_F(ToolMonitorTest, StoppingEndsTheThreadAtOnceEvenInTheMiddleOfASend) {
  CAppTools* none = nullptr;
  ChangeWindow window("window", log, none);
  {
    auto idle = std::make_unique<CAppTools>();
    ASSERT_TRUE(PumpUntil([&] { return idle->IsWatching(); }));
    const auto start = Clock::now();
    idle.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  }
  // The watcher waits for this thread, which does not pump but stops the manager.
  auto* tools = new CAppTools;
  tools->SetMainWindow(&window);
  ASSERT_TRUE(PumpUntil([&] { return tools->IsWatching(); }));
  log.clear();
  Tool("Blocked.tq");
  ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
  const auto start = Clock::now();
  delete tools;
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  // The send given up on is never handled, now that its manager is gone.
  MSG msg;
  while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_TRUE(log.empty());
}

TEST_F(ToolMonitorTest, AFolderThatGoesIsWatchedAgainWhenItComesBack) {
  CAppTools* current = nullptr;
  ChangeWindow window("window", log, current);
  CAppTools tools;
  current = &tools;
  tools.SetMainWindow(&window);
  ASSERT_TRUE(PumpUntil([&] { return tools.IsWatching(); }));
  log.clear();
  fs::remove_all(menu);
  ASSERT_TRUE(PumpUntil([&] { return !tools.IsWatching() && !log.empty(); }));
  log.clear();
  // While it is missing, retries every second; its return is a change.
  fs::create_directories(menu);
  ASSERT_TRUE(PumpUntil([&] { return tools.IsWatching() && !log.empty(); }));
  EXPECT_EQ(log[0].reloadNeeded, 1);
  log.clear();
  Tool("Again.tq");
  ASSERT_TRUE(PumpUntil([&] { return !log.empty(); }));
  current = nullptr;
}

TEST_F(ToolMonitorTest, ABurstIsToldOncePerWakeUpAndAFailingHandlerIsSurvived) {
  CAppTools* current = nullptr;
  ChangeWindow window("window", log, current);
  window.then = [] { throw std::runtime_error("rebuild failed"); };
  CAppTools tools;
  current = &tools;
  tools.SetMainWindow(&window);
  ASSERT_TRUE(PumpUntil([&] { return tools.IsWatching(); }));
  log.clear();
  failures.clear();
  // Not pumping while the files are written: the watcher, blocked in its first send,
  // finds the rest of the burst together.
  for (int i = 0; i < 100; ++i) Tool("Sub/Burst" + std::to_string(i) + ".tq");
  ASSERT_TRUE(PumpUntil([&] { return !log.empty(); }));
  PumpUntil([] { return false; }, 300);
  EXPECT_LE(log.size(), 2u);
  EXPECT_EQ(failures.size(), log.size());
  EXPECT_NE(failures[0].find("rebuild failed"), std::string::npos);
  // The watcher goes on.
  const size_t before = log.size();
  Tool("After.tq");
  ASSERT_TRUE(PumpUntil([&] { return log.size() > before; }));
  current = nullptr;
}

TEST_F(ToolMonitorTest, AChangeRebuildsTheWindowsMenuWithTheTools) {
  Tool("Sub/Reverse.tq");
  CAppTools* current = nullptr;
  ChangeWindow window("window", log, current);
  CMenu bar;
  bar.CreateMenu();
  CMenu tools_;
  tools_.CreatePopupMenu();
  tools_.AppendMenu(MF_STRING, 32771, "&Options...");
  bar.AppendMenu(MF_POPUP | MF_DISABLED, tools_.Detach().value, "&Tools");
  window.SetMenu(&bar);
  CAppTools tools(CAppTools::kNoWatch);
  zel_test::RecordingPresenter presenter;
  zel_test::IntegrationScope scope;
  scope.Use(&presenter);
  CAppTools::CChangeInfo info;
  info.window = &window;
  info.name = "main";
  info.unregisterAfter = 1;
  tools.DoMenuChange(&info);
  // Registered from its marks (the tools popup first), merged, laid out and redrawn.
  ASSERT_EQ(bar.GetMenuItemCount(), 2u);
  CString text;
  bar.GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_EQ(text, "Sub");
  EXPECT_EQ(bar.GetSubMenu(1)->GetMenuItemID(0), GetToolCommandID(1));
  EXPECT_EQ(bar.GetMenuState(0, MF_BYPOSITION) & MF_DISABLED, 0u);
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kFrameChanged, window.m_hWnd), 1);
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kMenuBarRedrawn, window.m_hWnd), 1);
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kMoved, window.m_hWnd), 0);
  EXPECT_FALSE(tools.CheckMenu("main"));
  // No name, or a window without a menu: nothing happens.
  bar.Detach();  // the window owns it
  info.name.Empty();
  tools.DoMenuChange(&info);
  ChangeWindow bare("bare", log, current);
  info.window = &bare;
  info.name = "bare";
  tools.DoMenuChange(&info);
  EXPECT_FALSE(tools.CheckMenu("bare"));
}

// ---- the first set-up, a load racing a change, a stalled walk ----

// Installs a tree watch factory for its lifetime.
// The watch engine replaced for a scope.
class InstalledFactory {
 public:
  explicit InstalledFactory(zel_os::TreeWatchFactory f) { m_scope.Use(f); }

 private:
  zel_test::IntegrationScope m_scope;
};

// The system's watch, made only once the gate opens: the time before the set-up.
zel_sync::Event& Gate() {
  static zel_sync::Event gate;
  return gate;
}
std::unique_ptr<zel_watch::TreeWatch> GatedWatch() {
  Gate().Wait(-1);
  return zel_watch::NewSystemTreeWatch();
}

TEST_F(ToolMonitorTest, TheFirstSetUpIsFollowedByOneChangeSoAToolAddedBeforeItIsSeen) {
  CAppTools* current = nullptr;
  ChangeWindow window("window", log, current);
  CWinApp app("monitor");
  app.m_pMainWnd = &window;
  InstalledFactory factory(&GatedWatch);
  CAppTools tools;
  current = &tools;
  tools.ReloadTools();
  Tool("Early.tq");  // after the load, before the watch
  Gate().Set();
  ASSERT_TRUE(PumpUntil([&] { return tools.IsWatching(); }));
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].reloadNeeded, 1);
  tools.ReloadTools();
  EXPECT_NE(tools.FindTool("Early", CToolDataUnit::tq), nullptr);
  current = nullptr;
}

// A manager that sees the watcher's mark land while it reads the folder.
class MarkedWhileLoading : public CAppTools {
 public:
  MarkedWhileLoading() : CAppTools(kNoWatch) {}

 protected:
  int IsTypeSupported(int inputType) override {
    if (!m_marked) SetReloadNeeded(1);
    m_marked = true;
    return CAppTools::IsTypeSupported(inputType);
  }

 private:
  bool m_marked = false;
};

TEST_F(ToolMonitorTest, AChangeMarkedWhileTheTreeLoadsIsNotLost) {
  Tool("Sub/One.tq");
  MarkedWhileLoading tools;
  tools.ReloadTools();
  EXPECT_NE(tools.FindTool("Sub|One", CToolDataUnit::tq), nullptr);
  EXPECT_EQ(tools.GetReloadNeeded(), 1);
}

// Reads folders as the system does, but stalls in one named "stalled" until let go, as a
// hung network share would.
class StallingReader : public zel_watch::FolderReader {
 public:
  bool Subfolders(const std::string& dir, std::vector<std::string>& names) override {
    if (dir.ends_with("/stalled")) {
      entered.Set();
      release.Wait(-1);
    }
    return zel_watch::SystemFolderReader()->Subfolders(dir, names);
  }
  zel_sync::Event entered, release;
};
std::mutex g_stallingMutex;
std::shared_ptr<StallingReader> g_stalling;
std::unique_ptr<zel_watch::TreeWatch> StallingWatch() {
  std::lock_guard lock(g_stallingMutex);
  return zel_watch::NewSystemTreeWatch(g_stalling);
}

TEST_F(ToolMonitorTest, AStopReturnsInTimeWhileTheWalkIsStalledInAFolder) {
  fs::create_directories(menu + "/Sub/stalled");
  auto reader = std::make_shared<StallingReader>();
  {
    std::lock_guard lock(g_stallingMutex);
    g_stalling = reader;
  }
  CAppTools* none = nullptr;
  ChangeWindow window("window", log, none);
  {
    InstalledFactory factory(&StallingWatch);
    auto tools = std::make_unique<CAppTools>();
    tools->SetMainWindow(&window);
    ASSERT_TRUE(reader->entered.Wait(5000));
    const auto start = Clock::now();
    tools.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  }
  {
    std::lock_guard lock(g_stallingMutex);
    g_stalling.reset();
  }
  // Let go, the walk ends on its own: it tells no window, and its watch (the reader's
  // last holder) goes with its thread.
  std::weak_ptr<StallingReader> left = reader;
  reader->release.Set();
  reader.reset();
  ASSERT_TRUE(PumpUntil([&] { return left.expired(); }));
  EXPECT_TRUE(log.empty());
}

}  // namespace
