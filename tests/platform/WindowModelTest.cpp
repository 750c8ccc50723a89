// The window model: windows and their procedures, registered messages, the per-thread
// queues with sending across threads, failures caught at dispatch, timers, geometry and
// the window under a point, painting through the presenter, scroll bars, show states and
// placement, focus, dropped files and the wheel.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/os/sync/Event.h"
#include "platform/user/gdi/FixedDC.h"
#include "platform/user/input/Input.h"
#include "platform/user/menu/MenuApi.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/DragDrop.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/ScrollBars.h"
#include "platform/user/wnd/Window.h"
#include "tests/support/IntegrationScope.h"
#include "tests/support/RecordingPresenter.h"
#include "tests/support/ScriptedInput.h"
#include "tests/support/Wait.h"

namespace {

// A window whose procedure is a function the test gives, per window.
std::map<uintptr_t, std::function<LRESULT(UINT, WPARAM, LPARAM)>>& Handlers() {
  static std::map<uintptr_t, std::function<LRESULT(UINT, WPARAM, LPARAM)>> handlers;
  return handlers;
}
std::mutex g_handlersMutex;

LRESULT TestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::function<LRESULT(UINT, WPARAM, LPARAM)> handler;
  {
    std::lock_guard lock(g_handlersMutex);
    auto it = Handlers().find(hwnd.value);
    if (it != Handlers().end()) handler = it->second;
  }
  if (handler) return handler(message, wParam, lParam);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND MakeWindow(std::function<LRESULT(UINT, WPARAM, LPARAM)> handler, DWORD style = WS_POPUP,
                RECT r = {10, 20, 110, 80}, HWND parent = HWND()) {
  HWND h = CreateWindowEx(0, "Test", "test", style, r.left, r.top, r.right - r.left,
                          r.bottom - r.top, parent, HMENU(), &TestProc, nullptr);
  std::lock_guard lock(g_handlersMutex);
  Handlers()[h.value] = std::move(handler);
  return h;
}

using zel_test::PumpUntil;

class WindowModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scope.Use(&reporter);
    scope.Use(&presenter);
  }
  void TearDown() override {
    for (HWND h : windows) DestroyWindow(h);
  }
  HWND Window(std::function<LRESULT(UINT, WPARAM, LPARAM)> handler, DWORD style = WS_POPUP,
              RECT r = {10, 20, 110, 80}, HWND parent = HWND()) {
    HWND h = MakeWindow(std::move(handler), style, r, parent);
    windows.push_back(h);
    return h;
  }
  std::vector<HWND> windows;
  zel_test::RecordingFailureReporter reporter;
  zel_test::RecordingPresenter presenter;
  zel_test::IntegrationScope scope;
  std::vector<std::string>& failures = reporter.texts;
};

TEST_F(WindowModelTest, RegisteredMessagesAreOneNumberPerNameWhateverTheCase) {
  const UINT a = RegisterWindowMessage("WM_TEST_ONE");
  EXPECT_GE(a, kFirstRegisteredMessage);
  EXPECT_EQ(RegisterWindowMessage("wm_test_one"), a);
  EXPECT_NE(RegisterWindowMessage("WM_TEST_TWO"), a);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
  EXPECT_EQ(RegisterWindowMessage(nullptr), 0u);
  // The same number from another thread.
  UINT other = 0;
  std::thread([&] { other = RegisterWindowMessage("Wm_Test_One"); }).join();
  EXPECT_EQ(other, a);
}

TEST_F(WindowModelTest, CreationAndDestructionSendTheirMessagesAndStaleHandlesAreRefused) {
  std::vector<UINT> seen;
  HWND parent = MakeWindow([&](UINT m, WPARAM, LPARAM) -> LRESULT {
    seen.push_back(m);
    return m == WM_NCCREATE ? TRUE : 0;
  });
  HWND child = MakeWindow(
      [&](UINT m, WPARAM, LPARAM) -> LRESULT {
        if (m == WM_DESTROY) seen.push_back(0xC0DE);
        return m == WM_NCCREATE ? TRUE : 0;
      },
      WS_CHILD, {0, 0, 10, 10}, parent);
  ASSERT_TRUE(IsWindow(parent));
  EXPECT_EQ(GetParent(child), parent);
  seen.clear();
  EXPECT_TRUE(DestroyWindow(parent));
  // The window's own WM_DESTROY, its child's, then its last message.
  EXPECT_EQ(seen, (std::vector<UINT>{WM_DESTROY, 0xC0DE, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(SendMessage(parent, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessage(parent, WM_USER, 0, 0));
  EXPECT_FALSE(ShowWindow(parent, SW_SHOW));
  EXPECT_FALSE(DestroyWindow(parent));
  // A window whose creation is refused is not made.
  HWND refused = CreateWindowEx(
      0, "Test", "", WS_POPUP, 0, 0, 1, 1, HWND(), HMENU(),
      [](HWND, UINT m, WPARAM, LPARAM) -> LRESULT { return m == WM_CREATE ? -1 : TRUE; }, nullptr);
  EXPECT_FALSE(refused);
  // Nor a child of a window that is gone.
  EXPECT_FALSE(
      CreateWindowEx(0, "", "", WS_CHILD, 0, 0, 1, 1, parent, HMENU(), &TestProc, nullptr));
}

TEST_F(WindowModelTest, DefaultHandlingKeepsTextAndCloseDestroys) {
  HWND h = Window(nullptr);
  EXPECT_TRUE(SetWindowText(h, "Caption"));
  char buffer[4];
  EXPECT_EQ(GetWindowText(h, buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "Cap");
  EXPECT_EQ(GetWindowTextLength(h), 7);
  EXPECT_EQ(SendMessage(h, WM_MENUCHAR, 'x', 0), MAKELRESULT(0, MNC_IGNORE));
  SendMessage(h, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(WindowModelTest, TheProcedureSlotCanBeReplacedAndTheOldOneCalledOn) {
  HWND h = Window([](UINT m, WPARAM w, LPARAM) -> LRESULT {
    return m == WM_USER ? static_cast<LRESULT>(w) : m == WM_NCCREATE;
  });
  static WNDPROC saved = nullptr;
  saved = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
      h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND hw, UINT m, WPARAM w, LPARAM l) {
        return CallWindowProc(saved, hw, m, w + 1, l) * 10;
      })));
  EXPECT_EQ(saved, &TestProc);
  EXPECT_EQ(SendMessage(h, WM_USER, 4, 0), 50);
  SetWindowLongPtr(h, GWLP_USERDATA, 77);
  EXPECT_EQ(GetWindowLongPtr(h, GWLP_USERDATA), 77);
  EXPECT_EQ(GetWindowLongPtr(h, GWL_STYLE) & WS_POPUP, static_cast<LONG_PTR>(WS_POPUP));
  SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
  EXPECT_EQ(SendMessage(h, WM_USER, 4, 0), 4);
  DestroyWindow(h);
  EXPECT_EQ(GetWindowLongPtr(h, GWLP_USERDATA), 0);
}

TEST_F(WindowModelTest, PostedMessagesComeInOrderAndQuitComesAfterThem) {
  std::vector<WPARAM> got;
  HWND h = Window([&](UINT m, WPARAM w, LPARAM) -> LRESULT {
    if (m == WM_USER) got.push_back(w);
    return m == WM_NCCREATE;
  });
  PostMessage(h, WM_USER, 1, 0);
  PostQuitMessage(7);
  PostMessage(h, WM_USER, 2, 0);
  MSG msg;
  int quitCode = -1;
  while (GetMessage(&msg, HWND(), 0, 0) > 0) DispatchMessage(&msg);
  quitCode = static_cast<int>(msg.wParam);
  EXPECT_EQ(got, (std::vector<WPARAM>{1, 2}));
  EXPECT_EQ(quitCode, 7);
  // A filter takes only what it names.
  PostMessage(h, WM_USER + 1, 0, 0);
  PostMessage(h, WM_USER + 2, 0, 0);
  EXPECT_TRUE(PeekMessage(&msg, HWND(), WM_USER + 2, WM_USER + 2, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 2u);
  EXPECT_TRUE(PeekMessage(&msg, h, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1u);
  EXPECT_TRUE(PeekMessage(&msg, h, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE));
}

// The tests' one wait: it pumps what another thread posts, looks again after each round,
// and gives up at its deadline, not before.
TEST_F(WindowModelTest, PumpUntilHandlesPostsFromAnotherThreadAndGivesUpAtItsDeadline) {
  std::vector<WPARAM> got;
  HWND h = Window([&](UINT m, WPARAM w, LPARAM) -> LRESULT {
    if (m == WM_USER) got.push_back(w);
    return m == WM_NCCREATE;
  });
  std::thread poster([h] {
    for (WPARAM w = 1; w <= 3; ++w) PostMessage(h, WM_USER, w, 0);
  });
  EXPECT_TRUE(PumpUntil([&] { return got.size() == 3; }));
  poster.join();
  EXPECT_EQ(got, (std::vector<WPARAM>{1, 2, 3}));
  int looks = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(PumpUntil([&] { return ++looks < 0; }, 60));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60));
  EXPECT_GT(looks, 1);
  int steps = 0;
  EXPECT_TRUE(zel_test::WaitUntil([&] { return steps == 3; }, [&] { ++steps; }));
}

TEST_F(WindowModelTest, ASendFromAnotherThreadBlocksUntilTheOwnerHasHandledIt) {
  std::thread::id handledOn;
  HWND h = Window([&](UINT m, WPARAM w, LPARAM) -> LRESULT {
    if (m == WM_USER) {
      handledOn = std::this_thread::get_id();
      return static_cast<LRESULT>(w * 2);
    }
    return m == WM_NCCREATE;
  });
  std::atomic<LRESULT> answer{-1};
  std::thread sender([&] { answer = SendMessage(h, WM_USER, 21, 0); });
  ASSERT_TRUE(PumpUntil([&] { return answer.load() != -1; }));
  sender.join();
  EXPECT_EQ(answer.load(), 42);
  EXPECT_EQ(handledOn, std::this_thread::get_id());
}

TEST_F(WindowModelTest, TwoThreadsSendingToEachOtherBothGetTheirAnswers) {
  // B's thread sends to A while A's handler, on this thread, sends to B: each serves the
  // other's send while it waits.
  std::atomic<HWND> b{HWND()};
  std::atomic<bool> stop{false};
  std::atomic<LRESULT> bAnswer{-1};
  HWND a = Window([&](UINT m, WPARAM, LPARAM) -> LRESULT {
    if (m == WM_USER) return 100 + SendMessage(b.load(), WM_USER + 1, 0, 0);
    return m == WM_NCCREATE;
  });
  std::thread other([&] {
    HWND mine = MakeWindow(
        [](UINT m, WPARAM, LPARAM) -> LRESULT { return m == WM_USER + 1 ? 5 : m == WM_NCCREATE; });
    b = mine;
    bAnswer = SendMessage(a, WM_USER, 0, 0);
    while (!stop) PumpUntil([&] { return stop.load(); }, 50);
    DestroyWindow(mine);
  });
  ASSERT_TRUE(PumpUntil([&] { return bAnswer.load() != -1; }));
  EXPECT_EQ(bAnswer.load(), 105);
  stop = true;
  other.join();
}

TEST_F(WindowModelTest, AStopEndsASendAndTheMessageIsNeverHandledLater) {
  int handled = 0;
  HWND h = Window([&](UINT m, WPARAM, LPARAM) -> LRESULT {
    if (m == WM_USER) ++handled;
    return m == WM_NCCREATE;
  });
  zel_sync::Event stop;
  std::atomic<bool> stopped{false};
  std::atomic<LRESULT> answer{-1};
  std::thread sender([&] {
    bool s = false;
    answer = zel_wnd::SendMessageUnless(h, WM_USER, 0, 0, stop.Handle(), &s);
    stopped = s;
  });
  // This thread does not pump: only the stop ends the send.
  stop.Set();
  sender.join();
  EXPECT_TRUE(stopped);
  EXPECT_EQ(answer.load(), 0);
  MSG msg;
  while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_EQ(handled, 0);
}

// A loop that serves the queue only when its descriptor wakes (as Qt's does) must be woken
// by what arrived while the thread was in a send to another thread, and by a new timer.
TEST_F(WindowModelTest, TheQueuesWakeUpOutlivesASendToAnotherThreadAndANewThreadTimer) {
  auto signalled = [] {
    const int fd = zel_wnd::QueueHandle();
    std::error_code err;
    return zel_sync::WaitAny(&fd, 1, 0, err) == 0;
  };
  int posted = 0;
  HWND mine = Window([&](UINT m, WPARAM, LPARAM) -> LRESULT {
    if (m == WM_USER) ++posted;
    return m == WM_NCCREATE;
  });
  std::atomic<HWND> theirs{HWND()};
  std::atomic<bool> stop{false}, postBack{false};
  std::thread other([&] {
    HWND h = MakeWindow([&](UINT m, WPARAM, LPARAM) -> LRESULT {
      if (m == WM_USER && postBack) PostMessage(mine, WM_USER, 0, 0);
      return m == WM_USER ? 7 : m == WM_NCCREATE;
    });
    theirs = h;
    while (!stop) PumpUntil([&] { return stop.load(); }, 50);
    DestroyWindow(h);
  });
  while (!theirs.load()) std::this_thread::yield();
  struct Cases {
    const char* what;
    std::function<void()> arrive;
  };
  const Cases cases[] = {
      {"posted before the send", [&] { PostMessage(mine, WM_USER, 0, 0); }},
      {"posted by the other thread while it answers", [&] { postBack = true; }},
  };
  for (const Cases& c : cases) {
    SCOPED_TRACE(c.what);
    zel_wnd::ServeQueue(nullptr);  // nothing left, the signal taken
    ASSERT_FALSE(signalled());
    c.arrive();
    ASSERT_EQ(SendMessage(theirs.load(), WM_USER, 0, 0), 7);
    EXPECT_TRUE(signalled());
    const int before = posted;
    zel_wnd::ServeQueue(nullptr);
    EXPECT_EQ(posted, before + 1);
  }
  stop = true;
  other.join();
  // A thread timer set outside the loop: the loop must learn its due time.
  zel_wnd::ServeQueue(nullptr);
  ASSERT_FALSE(signalled());
  const UINT_PTR timer = SetTimer(HWND(), 0, 1000, nullptr);
  EXPECT_TRUE(signalled());
  KillTimer(HWND(), timer);
}

TEST_F(WindowModelTest, AThreadThatEndsAnswersWhatWasSentToIt) {
  std::atomic<HWND> h{HWND()};
  zel_sync::Event made;
  std::thread owner([&] {
    h = MakeWindow([](UINT m, WPARAM, LPARAM) -> LRESULT { return m == WM_NCCREATE; });
    made.Set();
    // Ends as soon as the send has arrived, without handling it, its window left behind.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
  });
  made.Wait(-1);
  std::atomic<LRESULT> answer{-1};
  std::thread sender([&] { answer = SendMessage(h.load(), WM_USER, 0, 0); });
  owner.join();
  sender.join();
  EXPECT_EQ(answer.load(), 0);
  EXPECT_FALSE(PostMessage(h.load(), WM_USER, 0, 0));
}

TEST_F(WindowModelTest, AnExceptionInAProcedureIsCaughtAtDispatchAndReported) {
  HWND h = Window([&](UINT m, WPARAM, LPARAM) -> LRESULT {
    if (m == WM_USER) throw std::runtime_error("broken handler");
    if (m == WM_USER + 1) return 9;
    return m == WM_NCCREATE;
  });
  PostMessage(h, WM_USER, 0, 0);
  PostMessage(h, WM_USER + 1, 0, 0);
  MSG msg;
  std::vector<LRESULT> results;
  while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) results.push_back(DispatchMessage(&msg));
  EXPECT_EQ(results, (std::vector<LRESULT>{0, 9}));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("0x0400"), std::string::npos) << failures[0];
  EXPECT_NE(failures[0].find("broken handler"), std::string::npos);
  // A send from another thread is answered 0 and the sender goes on.
  std::atomic<LRESULT> answer{-1};
  std::thread sender([&] { answer = SendMessage(h, WM_USER, 0, 0); });
  ASSERT_TRUE(PumpUntil([&] { return answer.load() != -1; }));
  sender.join();
  EXPECT_EQ(answer.load(), 0);
  EXPECT_EQ(failures.size(), 2u);
}

// A handler sees the keys held when its message was made, though the keyboard has moved on:
// Ctrl pressed and released around a key, all queued before any is handled.
TEST_F(WindowModelTest, KeyStateIsTheOneOfTheMessageBeingHandled) {
  zel_test::ScriptedInput input;        // the keyboard of the moment: nothing held
  zel_test::IntegrationScope keyboard;  // gone before input, the windows kept till TearDown
  keyboard.Use(&input);
  std::vector<std::pair<WPARAM, bool>> seen;  // each key with Ctrl as GetKeyState told it
  HWND h = Window([&](UINT m, WPARAM w, LPARAM) -> LRESULT {
    if (m == WM_KEYDOWN) seen.emplace_back(w, (GetKeyState(VK_CONTROL) & 0x8000) != 0);
    return m == WM_NCCREATE;
  });
  auto press = [&](std::vector<std::pair<UINT, WPARAM>> keys) {
    seen.clear();
    for (auto [message, key] : keys) PostMessage(h, message, key, 1);
  };
  const std::vector<std::pair<UINT, WPARAM>> ctrlEnd = {{WM_KEYDOWN, VK_CONTROL},
                                                        {WM_KEYDOWN, VK_END},
                                                        {WM_KEYUP, VK_CONTROL},
                                                        {WM_KEYDOWN, VK_HOME}};
  const std::vector<std::pair<WPARAM, bool>> want = {
      {VK_CONTROL, true}, {VK_END, true}, {VK_HOME, false}};
  // Served as the desktop serves the queue, and through a loop of the program's own.
  MSG msg;
  press(ctrlEnd);
  while (PeekMessage(&msg, HWND(), 0, 0, PM_NOREMOVE)) zel_wnd::ServeQueue(nullptr);
  EXPECT_EQ(seen, want);
  press(ctrlEnd);
  while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_EQ(seen, want);

  // Keys no message told of answer the keyboard of the moment, and so do all once the
  // application was inactive; new messages tell again.
  input.SetDown(VK_SHIFT, true);
  EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
  press({{WM_KEYDOWN, VK_CONTROL}});
  while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_TRUE(GetKeyState(VK_CONTROL) & 0x8000);
  EXPECT_FALSE(GetAsyncKeyState(VK_CONTROL) & 0x8000);
  zel_input::ResyncKeyStates();
  EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
  input.SetDown(VK_CONTROL, true);
  EXPECT_TRUE(GetKeyState(VK_CONTROL) & 0x8000);
  zel_input::ResyncKeyStates();
}

TEST_F(WindowModelTest, TimersArriveAfterPostedMessagesAndStopWhenKilled) {
  int ticks = 0;
  HWND h = Window([&](UINT m, WPARAM w, LPARAM) -> LRESULT {
    if (m == WM_TIMER && w == 5) ++ticks;
    return m == WM_NCCREATE;
  });
  ASSERT_TRUE(SetTimer(h, 5, 10, nullptr));
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  EXPECT_TRUE(KillTimer(h, 5));
  EXPECT_FALSE(KillTimer(h, 5));
  const int after = ticks;
  // A thread timer that is due, and a message posted after it: the message comes first.
  static std::atomic<int> procCalls{0};
  UINT_PTR thread = SetTimer(HWND(), 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++procCalls; });
  EXPECT_NE(thread, 0u);
  ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
  PostMessage(h, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  ASSERT_TRUE(PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  DispatchMessage(&msg);
  EXPECT_EQ(procCalls, 1);
  KillTimer(HWND(), thread);
  EXPECT_EQ(ticks, after);
  // Another thread cannot time a window of this one.
  UINT_PTR foreign = 1;
  std::thread([&] { foreign = SetTimer(h, 6, 10, nullptr); }).join();
  EXPECT_EQ(foreign, 0u);
}

TEST_F(WindowModelTest, GeometryClientAreasAndTheWindowUnderAPoint) {
  // A captioned window with a menu: its client area lies below caption and menu bar.
  HWND frame = Window(nullptr, WS_OVERLAPPEDWINDOW, {100, 100, 400, 300});
  HMENU bar = CreateMenu();
  ASSERT_TRUE(SetMenu(frame, bar));
  const int b = GetSystemMetrics(SM_CXBORDER);
  const int top = b + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU);
  RECT client;
  GetClientRect(frame, &client);
  EXPECT_EQ(client.right, 300 - 2 * b);
  EXPECT_EQ(client.bottom, 200 - top - b);
  POINT p{0, 0};
  ClientToScreen(frame, &p);
  EXPECT_EQ(p.x, 100 + b);
  EXPECT_EQ(p.y, 100 + top);
  HWND child = Window(nullptr, WS_CHILD | WS_VISIBLE, {10, 10, 60, 40}, frame);
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 100 + b + 10);
  EXPECT_EQ(r.top, 100 + top + 10);
  // Nothing is under a point while the windows are hidden.
  EXPECT_FALSE(WindowFromPoint(POINT{r.left + 1, r.top + 1}));
  ShowWindow(frame, SW_SHOW);
  EXPECT_EQ(WindowFromPoint(POINT{r.left + 1, r.top + 1}), child);
  EXPECT_EQ(WindowFromPoint(POINT{r.right + 5, r.top + 1}), frame);
  // A topmost popup above it wins; moving it away uncovers the frame.
  HWND popup = CreateWindowEx(WS_EX_TOPMOST, "", "", WS_POPUP | WS_VISIBLE, r.left, r.top, 5, 5,
                              HWND(), HMENU(), &DefWindowProc, nullptr);
  windows.push_back(popup);
  EXPECT_EQ(WindowFromPoint(POINT{r.left + 1, r.top + 1}), popup);
  SetWindowPos(popup, HWND(), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowFromPoint(POINT{r.left + 1, r.top + 1}), child);
  EXPECT_FALSE(WindowFromPoint(POINT{2000, 2000}));
  // Destroying the frame takes its menu along.
  DestroyWindow(frame);
  EXPECT_FALSE(IsMenu(bar));
}

TEST_F(WindowModelTest, PresenterRequestsAndPaintingHeadless) {
  PAINTSTRUCT seen;
  CDC* painted = nullptr;
  HWND h;
  h = Window(
      [&](UINT m, WPARAM, LPARAM) -> LRESULT {
        if (m == WM_PAINT) {
          painted = BeginPaint(h, &seen);
          EndPaint(h, &seen);
        }
        return m == WM_NCCREATE;
      },
      WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kCreated, h), 1);
  ShowWindow(h, SW_SHOW);
  SetWindowPos(h, HWND(), 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  DrawMenuBar(h);
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kShown, h), 1);
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kFrameChanged, h), 1);
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kMoved, h), 0);
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kMenuBarRedrawn, h), 1);
  EXPECT_EQ(GetActiveWindow(), h);
  // Nothing invalid, nothing painted; invalid, painted once on a device of its own.
  UpdateWindow(h);
  EXPECT_EQ(painted, nullptr);
  RECT part{1, 2, 30, 40};
  InvalidateRect(h, &part, TRUE);
  UpdateWindow(h);
  ASSERT_NE(painted, nullptr);
  EXPECT_EQ(seen.rcPaint.left, 1);
  EXPECT_EQ(seen.rcPaint.bottom, 40);
  painted = nullptr;
  UpdateWindow(h);
  EXPECT_EQ(painted, nullptr);
  // Outside painting there is no paint device; a measuring one comes from the presenter.
  PAINTSTRUCT outside;
  EXPECT_EQ(BeginPaint(h, &outside), nullptr);
  CDC* dc = GetDC(h);
  ASSERT_NE(dc, nullptr);
  SIZE s;
  dc->GetTextExtentPoint32("abc", 3, &s);
  EXPECT_EQ(s.cx, 24);  // the fixed device: 8 per character of the stock font
  EXPECT_EQ(ReleaseDC(h, dc), 1);
  EXPECT_EQ(ReleaseDC(h, dc), 0);
}

TEST_F(WindowModelTest, ScrollBarsKeepPageAndPositionInRangeAndTakeFromTheClientArea) {
  HWND h = Window(nullptr, WS_CHILD | WS_VSCROLL | WS_HSCROLL, {0, 0, 200, 100},
                  Window(nullptr, WS_POPUP, {0, 0, 400, 400}));
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(client.bottom, 100 - GetSystemMetrics(SM_CYHSCROLL));
  struct Case {
    const char* what;
    UINT mask;
    int min, max;
    UINT page;
    int pos;
    // expected after the call
    int wantMax;
    UINT wantPage;
    int wantPos;
  };
  const Case cases[] = {
      {"range, page and position", SIF_ALL, 0, 99, 10, 50, 99, 10, 50},
      {"the position stops where the page still fits", SIF_POS, 0, 0, 0, 95, 99, 10, 90},
      {"below the range", SIF_POS, 0, 0, 0, -4, 99, 10, 0},
      {"a page larger than the range", SIF_PAGE, 0, 0, 500, 0, 99, 100, 0},
      {"without a page the position reaches max", SIF_PAGE | SIF_POS, 0, 0, 0, 99, 99, 0, 99},
      {"an upside-down range is empty", SIF_RANGE, 30, 10, 0, 0, 30, 0, 30},
      {"the widest range", SIF_RANGE | SIF_POS, INT32_MIN, INT32_MAX, 0, INT32_MAX, INT32_MAX, 0,
       INT32_MAX},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SCROLLINFO in;
    in.fMask = c.mask;
    in.nMin = c.min;
    in.nMax = c.max;
    in.nPage = c.page;
    in.nPos = c.pos;
    EXPECT_EQ(SetScrollInfo(h, SB_VERT, &in, TRUE), c.wantPos);
    SCROLLINFO out;
    out.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(h, SB_VERT, &out));
    EXPECT_EQ(out.nMax, c.wantMax);
    EXPECT_EQ(out.nPage, c.wantPage);
    EXPECT_EQ(out.nPos, c.wantPos);
    EXPECT_EQ(out.nTrackPos, c.wantPos);
  }
  // The bars are apart; the presenter hears of each change, not of a call that changes
  // nothing.
  SetScrollRange(h, SB_VERT, 0, 1000, TRUE);
  const int before = presenter.Count(zel_test::RecordingPresenter::kScrollBarChanged, h);
  EXPECT_EQ(SetScrollPos(h, SB_VERT, 400, TRUE), 1000);  // where the range put it
  EXPECT_EQ(SetScrollPos(h, SB_VERT, 400, TRUE), 400);
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kScrollBarChanged, h), before + 1);
  EXPECT_EQ(GetScrollPos(h, SB_HORZ), 0);
  int min = -1, max = -1;
  ASSERT_TRUE(GetScrollRange(h, SB_VERT, &min, &max));
  EXPECT_EQ(max, 1000);
  // The thumb dragged: the track position is the user's until the window sets its own.
  zel_wnd::TrackScroll(h, SB_VERT, 700, true);
  SCROLLINFO track;
  track.fMask = SIF_TRACKPOS | SIF_POS;
  GetScrollInfo(h, SB_VERT, &track);
  EXPECT_EQ(track.nTrackPos, 700);
  EXPECT_EQ(track.nPos, 400);
  zel_wnd::TrackScroll(h, SB_VERT, 720, false);
  GetScrollInfo(h, SB_VERT, &track);
  EXPECT_EQ(track.nTrackPos, 720);
  SetScrollPos(h, SB_VERT, 720, TRUE);
  GetScrollInfo(h, SB_VERT, &track);
  EXPECT_EQ(track.nTrackPos, 720);
  EXPECT_EQ(track.nPos, 720);
  // Bars of controls are not kept here.
  EXPECT_FALSE(SetScrollRange(h, SB_CTL, 0, 5, TRUE));
  EXPECT_FALSE(GetScrollInfo(h, SB_CTL, &track));
}

TEST_F(WindowModelTest, ShowStatesKeepTheNormalRectangleAndTellTheWindowHowItWasSized) {
  std::vector<std::pair<WPARAM, LPARAM>> sizes;
  HWND frame = Window(nullptr, WS_OVERLAPPEDWINDOW, {100, 100, 500, 400});
  HWND child = Window(
      [&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_SIZE) sizes.emplace_back(w, l);
        return m == WM_NCCREATE;
      },
      WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, {10, 20, 110, 90}, frame);
  const RECT normal{10, 20, 110, 90};
  RECT parentClient;
  GetClientRect(frame, &parentClient);

  ShowWindow(child, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(child));
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kShowStateChanged, child), 1);
  // Its client area fills the parent's, its caption and border just outside.
  RECT client;
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, parentClient.right);
  EXPECT_EQ(client.bottom, parentClient.bottom);
  POINT origin{0, 0};
  ClientToScreen(child, &origin);
  POINT parentOrigin{0, 0};
  ClientToScreen(frame, &parentOrigin);
  EXPECT_EQ(origin.x, parentOrigin.x);
  EXPECT_EQ(origin.y, parentOrigin.y);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back().first, SIZE_MAXIMIZED);
  EXPECT_EQ(LOWORD(static_cast<uintptr_t>(sizes.back().second)), parentClient.right);

  // Maximised, it follows its parent; moving it leaves the rectangle it goes back to.
  SetWindowPos(frame, HWND(), 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(frame, &parentClient);
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, parentClient.right);
  EXPECT_EQ(client.bottom, parentClient.bottom);
  WINDOWPLACEMENT wp;
  ASSERT_TRUE(GetWindowPlacement(child, &wp));
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(normal));

  // Minimised: an empty client area, the same normal rectangle.
  ShowWindow(child, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(child));
  EXPECT_FALSE(IsZoomed(child));
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, 0);
  EXPECT_EQ(sizes.back().first, SIZE_MINIMIZED);
  GetWindowPlacement(child, &wp);
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
  EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(normal));

  ShowWindow(child, SW_RESTORE);
  EXPECT_FALSE(IsIconic(child));
  EXPECT_EQ(sizes.back().first, SIZE_RESTORED);
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left - parentOrigin.x, normal.left);
  EXPECT_EQ(r.right - r.left, normal.right - normal.left);

  // A placement set comes back whole, and shows the window as it says.
  WINDOWPLACEMENT set;
  set.showCmd = SW_SHOWMAXIMIZED;
  set.rcNormalPosition = RECT{30, 40, 330, 240};
  ASSERT_TRUE(SetWindowPlacement(frame, &set));
  EXPECT_TRUE(IsWindowVisible(frame));
  EXPECT_TRUE(IsZoomed(frame));
  GetWindowRect(frame, &r);
  EXPECT_NE(r.right - r.left, 300);
  GetWindowPlacement(frame, &wp);
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(30, 40, 330, 240));
  set.showCmd = SW_SHOWNORMAL;
  set.rcNormalPosition = RECT{50, 60, 250, 160};
  SetWindowPlacement(frame, &set);
  EXPECT_FALSE(IsZoomed(frame));
  GetWindowRect(frame, &r);
  EXPECT_EQ(CRect(r), CRect(50, 60, 250, 160));
}

TEST_F(WindowModelTest, FocusMovesWithKillAndSetFocusAndStaysOnItsThread) {
  std::vector<std::string> log;
  auto logging = [&](const char* name) {
    return [&log, name](UINT m, WPARAM, LPARAM) -> LRESULT {
      if (m == WM_SETFOCUS) log.push_back(std::string("set ") + name);
      if (m == WM_KILLFOCUS) log.push_back(std::string("kill ") + name);
      return m == WM_NCCREATE;
    };
  };
  HWND a = Window(logging("a"));
  HWND b = Window(logging("b"));
  EXPECT_EQ(SetFocus(a), HWND());
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(SetFocus(b), b);  // no change, no messages
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(log, (std::vector<std::string>{"set a", "kill a", "set b"}));
  EXPECT_EQ(presenter.Count(zel_test::RecordingPresenter::kFocused, b), 1);
  HWND other;
  std::thread([&] { other = SetFocus(b); }).join();
  EXPECT_EQ(other, HWND());
  EXPECT_EQ(GetFocus(), b);
  DestroyWindow(b);
  EXPECT_EQ(GetFocus(), HWND());
}

TEST_F(WindowModelTest, DroppedFilesGoToTheNearestWindowThatTakesThem) {
  HDROP got;
  HWND frame = Window(
      [&](UINT m, WPARAM w, LPARAM) -> LRESULT {
        if (m == WM_DROPFILES) got = HDROP(static_cast<uintptr_t>(w));
        return m == WM_NCCREATE;
      },
      WS_POPUP | WS_VISIBLE, {100, 100, 400, 300});
  HWND child = Window(nullptr, WS_CHILD | WS_VISIBLE, {10, 10, 110, 60}, frame);
  // Nobody takes files yet.
  EXPECT_EQ(zel_wnd::FileDropTarget(child), HWND());
  EXPECT_EQ(zel_wnd::DropFiles(child, {"/tmp/a"}, POINT{120, 120}), HWND());
  DragAcceptFiles(frame, TRUE);
  EXPECT_TRUE(GetWindowLongPtr(frame, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_EQ(zel_wnd::FileDropTarget(child), frame);
  const std::string long_name = "/data/" + std::string(300, 'x') + "/\xc3\xa9t\xc3\xa9.gb";
  ASSERT_EQ(zel_wnd::DropFiles(child, {"/data/x.gb", long_name}, POINT{150, 130}), frame);
  ASSERT_TRUE(PumpUntil([&] { return bool(got); }));
  EXPECT_EQ(DragQueryFile(got, 0xFFFFFFFF, nullptr, 0), 2u);
  EXPECT_EQ(DragQueryFile(got, 1, nullptr, 0), long_name.size());
  std::string path(DragQueryFile(got, 1, nullptr, 0), '\0');
  EXPECT_EQ(DragQueryFile(got, 1, path.data(), static_cast<UINT>(path.size()) + 1),
            long_name.size());
  EXPECT_EQ(path, long_name);
  char small[5];
  EXPECT_EQ(DragQueryFile(got, 0, small, sizeof small), 4u);
  EXPECT_STREQ(small, "/dat");
  EXPECT_EQ(DragQueryFile(got, 2, small, sizeof small), 0u);
  POINT at;
  EXPECT_TRUE(DragQueryPoint(got, &at));
  EXPECT_EQ(at.x, 50);
  EXPECT_EQ(at.y, 30);
  DragFinish(got);
  EXPECT_EQ(DragQueryFile(got, 0xFFFFFFFF, nullptr, 0), 0u);
  EXPECT_FALSE(DragQueryPoint(got, &at));
  // A child that takes files itself gets them; a frame that stops taking them does not.
  DragAcceptFiles(child, TRUE);
  DragAcceptFiles(frame, FALSE);
  EXPECT_EQ(zel_wnd::FileDropTarget(child), child);
  EXPECT_EQ(zel_wnd::FileDropTarget(frame), HWND());
}

TEST_F(WindowModelTest, TheWheelGoesUpFromAChildToTheWindowThatHandlesIt) {
  WPARAM wheel = 0;
  LPARAM where = 0;
  HWND frame = Window([&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_MOUSEWHEEL) wheel = w, where = l;
    return m == WM_NCCREATE;
  });
  HWND view = Window(nullptr, WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, frame);
  SendMessage(view, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-2 * WHEEL_DELTA)),
              LParamOfPoint(POINT{300, 200}));
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel), -2 * WHEEL_DELTA);
  EXPECT_EQ(GET_KEYSTATE_WPARAM(wheel), MK_CONTROL);
  EXPECT_EQ(PointOfLParam(where).x, 300);
}

TEST(SystemValuesTest, HeadlessValuesAreTheDocumentedFixedOnes) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYMENU), 20);
  EXPECT_EQ(GetSystemMetrics(SM_CXMENUCHECK), 13);
  EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 128));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 120, 215));
  NONCLIENTMETRICS ncm;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
  EXPECT_EQ(ncm.lfMenuFont.lfHeight, -12);
  EXPECT_STREQ(ncm.lfMenuFont.lfFaceName, "Tahoma");
  EXPECT_EQ(ncm.lfCaptionFont.lfWeight, FW_BOLD);
  LOGFONT icon;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0));
  // The fixed device measures the menu font as documented: cell 15, advance 7.
  EXPECT_EQ(CFixedDC::CellHeight(icon), 15);
  EXPECT_EQ(CFixedDC::Advance(icon), 7);
  EXPECT_FALSE(SystemParametersInfo(0x1234, 0, &icon, 0));
}

}  // namespace
