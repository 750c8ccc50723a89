// Inside the window model only: the per-thread message queue and the window table.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/types/WinUser.h"
#include "platform/os/sync/Event.h"

namespace zel_wnd_internal {

class ThreadQueue;

// A message sent from another thread, waiting in the owner's queue for its answer.
struct SentMessage {
  enum State { Queued, Running, Done, Cancelled };
  HWND hwnd;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;              // written before state becomes Done
  std::atomic<int> state{Queued};  // Queued and Cancelled change under the queue's lock
  std::shared_ptr<ThreadQueue> sender;
};

// One thread's queue: posted messages, messages sent from other threads, timers and the
// quit request, with one wake-up descriptor that is signalled whenever any of them
// arrives. The descriptor is a hint; the queue's contents are the truth, so a waiter
// takes the signal first, then looks, then waits.
class ThreadQueue {
 public:
  ThreadQueue();
  ~ThreadQueue();
  ThreadQueue(const ThreadQueue&) = delete;
  ThreadQueue& operator=(const ThreadQueue&) = delete;

  // The calling thread's queue, made on first use; it ends with the thread.
  static std::shared_ptr<ThreadQueue> Current();

  std::thread::id Thread() const { return m_thread; }
  int WakeHandle() const { return m_wake.Handle(); }
  void Wake() { m_wake.Set(); }
  void TakeWake() { m_wake.Reset(); }

  // False when the thread has ended.
  bool Post(const MSG& msg);
  bool QueueSent(const std::shared_ptr<SentMessage>& sent);
  // The sender gave up: a message still queued is dropped, one running keeps running.
  void Cancel(const std::shared_ptr<SentMessage>& sent);
  // Handles every message sent to this thread and queued now (on this thread only).
  void ServeSent();
  // A posted message matching the filter, else WM_QUIT when asked for, else a due timer.
  bool Take(MSG* msg, HWND filter, UINT first, UINT last, bool remove);
  void PostQuit(int code);
  // Anything to handle now: a sent message, or what Take would take with the filter (a
  // posted message, the quit request, a due timer).
  bool HasInput(HWND filter = HWND(), UINT first = 0, UINT last = 0);

  UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
  bool KillTimer(HWND hwnd, UINT_PTR id);
  void KillTimersOf(HWND hwnd);
  // Milliseconds until the next timer matching the filter is due (0 when one is), -1 when
  // there is none.
  int MillisecondsToNextTimer(HWND filter = HWND(), UINT first = 0, UINT last = 0);

  // The thread ends: every queued send is answered 0, nothing more is accepted.
  void Shutdown();

  // The message the thread is handling now (for Default()), and how many of the messages
  // it is handling were sent from other threads. Both are the owning thread's alone.
  MSG current;
  int servingSent = 0;

 private:
  using Clock = std::chrono::steady_clock;
  struct Timer {
    HWND hwnd;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    Clock::time_point due;
  };

  std::mutex m_mutex;
  std::deque<MSG> m_posted;
  std::deque<std::shared_ptr<SentMessage>> m_sent;
  std::vector<Timer> m_timers;
  UINT_PTR m_nextTimerId = 1;
  bool m_quit = false;
  int m_quitCode = 0;
  bool m_ended = false;
  std::thread::id m_thread;
  zel_sync::Event m_wake;
};

// A window's scroll bar: its range, page and position (trackPos while the user drags the
// thumb, else the position).
struct ScrollBarState {
  int min = 0;
  int max = 0;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  bool tracking = false;
};

// One window of the table.
struct WindowRecord {
  HWND handle;
  std::shared_ptr<ThreadQueue> queue;
  WNDPROC proc = nullptr;
  HWND parent;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string className;
  std::string text;
  RECT rect;        // top level: screen coordinates; child: the parent's client coordinates
  RECT normalRect;  // the rectangle to restore to while maximised or minimised
  ScrollBarState scroll[2];  // SB_HORZ, SB_VERT
  HMENU menu;
  HMENU systemMenu;
  UINT id = 0;  // a child's identifier
  LONG_PTR userData = 0;
  bool visible = false;
  bool messageOnly = false;  // made with HWND_MESSAGE: never shown or presented
  bool destroying = false;
  uint64_t zorder = 0;  // higher is nearer the top
  CDC* paintDC = nullptr;
  RECT paintRect;
};

// The table, process-wide. Lookups copy under its lock; changes run under it (and call
// nothing of the table); window procedures are never called while it is held.
std::optional<WindowRecord> Find(HWND hwnd);
bool Change(HWND hwnd, const std::function<void(WindowRecord&)>& change);
HWND Add(WindowRecord record);
void Remove(HWND hwnd);
// The window's system menu slot, for the menu calls.
HMENU SystemMenuOf(HWND hwnd);
void SetSystemMenuOf(HWND hwnd, HMENU menu);
std::vector<WindowRecord> All();
uint64_t NextZOrder();

// Calls a window procedure from the queue's machinery: an exception is caught and
// reported here, and the call answers 0.
LRESULT CallGuarded(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

DWORD TickCount();

}  // namespace zel_wnd_internal
