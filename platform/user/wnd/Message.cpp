// Sending, posting, pumping and waiting on the per-thread queues.
#include "platform/user/wnd/Message.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/base/string/String.h"
#include "platform/os/engines/OsEngines.h"
#include "platform/user/input/KeyStateInternal.h"
#include "platform/user/wnd/WindowInternal.h"

using zel_wnd_internal::SentMessage;
using zel_wnd_internal::ThreadQueue;

namespace {

struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const {
    return ZelStrCmpNoCase(a, b) < 0;
  }
};

// Waits until the calling thread's queue has input (for the filter of GetMessage) or one of
// fds is readable: the index of the descriptor, count for the queue, -1 when ms ran out, -2
// on failure. Input the filter leaves waits without being looked at again.
int WaitForInput(ThreadQueue& q, const int* fds, int count, DWORD ms, bool queue,
                 HWND filter = HWND(), UINT first = 0, UINT last = 0) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(ms == INFINITE ? 0 : ms);
  std::vector<int> handles(fds, fds + count);
  handles.push_back(queue ? q.WakeHandle() : -1);
  for (;;) {
    // The signal first, then a look: a message arriving after the look signals again.
    q.TakeWake();
    if (queue && q.HasInput(filter, first, last)) return count;
    int wait = -1;
    if (ms != INFINITE) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
      wait = left > 0 ? static_cast<int>(left) : 0;
    }
    if (queue) {
      int timer = q.MillisecondsToNextTimer(filter, first, last);
      if (timer >= 0 && (wait < 0 || timer < wait)) wait = timer;
    }
    // Without a wake-up descriptor (none could be had) the queue is looked at often.
    if (queue && q.WakeHandle() < 0 && (wait < 0 || wait > 10)) wait = 10;
    std::error_code err;
    int which = zel_sync::WaitAny(handles.data(), static_cast<int>(handles.size()), wait, err);
    if (which == -2) return -2;
    if (which >= 0 && which < count) return which;
    if (which < 0 && ms != INFINITE && Clock::now() >= deadline) {
      if (queue && q.HasInput(filter, first, last)) return count;
      return -1;
    }
  }
}

}  // namespace

UINT RegisterWindowMessage(LPCSTR name) {
  if (!name || !*name) return 0;
  static std::mutex mutex;
  static std::map<std::string, UINT, NoCase> names;
  std::lock_guard lock(mutex);
  auto [it, added] = names.emplace(name, 0);
  if (added) {
    if (names.size() > 0x4000) {  // the range is full
      names.erase(it);
      return 0;
    }
    it->second = kFirstRegisteredMessage + static_cast<UINT>(names.size() - 1);
  }
  return it->second;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return zel_wnd::SendMessageUnless(hwnd, message, wParam, lParam, -1, nullptr);
}

LRESULT zel_wnd::SendMessageUnless(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int stop,
                                   bool* stopped) {
  if (stopped) *stopped = false;
  auto window = zel_wnd_internal::Find(hwnd);
  if (!window) return 0;
  auto me = ThreadQueue::Current();
  if (window->queue == me) {
    const MSG saved = me->current;
    me->current = MSG{hwnd, message, wParam, lParam, zel_wnd_internal::TickCount(), {}};
    struct Restore {
      ThreadQueue& q;
      MSG saved;
      ~Restore() { q.current = saved; }
    } restore{*me, saved};
    return window->proc ? window->proc(hwnd, message, wParam, lParam) : 0;
  }
  auto sent = std::make_shared<SentMessage>();
  sent->hwnd = hwnd;
  sent->message = message;
  sent->wParam = wParam;
  sent->lParam = lParam;
  sent->sender = me;
  if (!window->queue->QueueSent(sent)) return 0;
  // The wait below takes this thread's wake-up signal, which may have been meant for the
  // thread's own loop (a posted message, a new timer): it is given back on the way out, so
  // a loop that serves the queue only when signalled (Qt's) still sees it.
  struct GiveBackWake {
    ThreadQueue& q;
    ~GiveBackWake() { q.Wake(); }
  } giveBack{*me};
  for (;;) {
    me->TakeWake();
    // Messages sent to this thread are handled while it waits: two threads sending to
    // each other both get their answers.
    me->ServeSent();
    if (sent->state.load(std::memory_order_acquire) == SentMessage::Done) return sent->result;
    std::vector<int> fds = {me->WakeHandle(), stop};
    std::error_code err;
    int which = zel_sync::WaitAny(fds.data(), 2, me->WakeHandle() < 0 ? 10 : -1, err);
    if (which == 1 || which == -2) {
      window->queue->Cancel(sent);
      if (sent->state.load(std::memory_order_acquire) == SentMessage::Done) return sent->result;
      if (stopped) *stopped = true;
      return 0;
    }
  }
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{hwnd, message, wParam, lParam, zel_wnd_internal::TickCount(), {}};
  if (!hwnd) return ThreadQueue::Current()->Post(msg);
  auto window = zel_wnd_internal::Find(hwnd);
  return window && window->queue->Post(msg);
}

void PostQuitMessage(int exitCode) { ThreadQueue::Current()->PostQuit(exitCode); }

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove) {
  if (!msg) return FALSE;
  auto q = ThreadQueue::Current();
  q->ServeSent();
  return q->Take(msg, hwnd, first, last, remove & PM_REMOVE) ? TRUE : FALSE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT first, UINT last) {
  if (!msg) return -1;
  auto q = ThreadQueue::Current();
  for (;;) {
    q->TakeWake();
    q->ServeSent();
    if (q->Take(msg, hwnd, first, last, true)) return msg->message == WM_QUIT ? FALSE : TRUE;
    if (WaitForInput(*q, nullptr, 0, INFINITE, true, hwnd, first, last) == -2) return -1;
  }
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  auto q = ThreadQueue::Current();
  const MSG saved = q->current;
  q->current = *msg;
  LRESULT result = 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    try {
      proc(msg->hwnd, WM_TIMER, msg->wParam, zel_wnd_internal::TickCount());
    } catch (...) {
      zel_os::ReportFailure("The procedure of a timer failed");
    }
  } else if (auto window = zel_wnd_internal::Find(msg->hwnd)) {
    result = zel_wnd_internal::CallGuarded(window->proc, msg->hwnd, msg->message, msg->wParam,
                                           msg->lParam);
  }
  q->current = saved;
  return result;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms,
                                DWORD wakeMask) {
  if (waitAll || (count > 0 && !handles)) return WAIT_FAILED;
  auto q = ThreadQueue::Current();
  int which = WaitForInput(*q, handles, static_cast<int>(count), ms, wakeMask != 0);
  if (which == -1) return WAIT_TIMEOUT;
  if (which < 0) return WAIT_FAILED;
  return WAIT_OBJECT_0 + static_cast<DWORD>(which);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (!hwnd) {
    auto q = ThreadQueue::Current();
    UINT_PTR r = q->SetTimer(hwnd, id, elapse, proc);
    q->Wake();  // a waiting pump takes the new due time
    return r;
  }
  auto window = zel_wnd_internal::Find(hwnd);
  if (!window || window->queue != ThreadQueue::Current()) return 0;
  UINT_PTR r = window->queue->SetTimer(hwnd, id, elapse, proc);
  window->queue->Wake();  // a waiting pump takes the new due time
  return r;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  if (!hwnd) return ThreadQueue::Current()->KillTimer(hwnd, id);
  auto window = zel_wnd_internal::Find(hwnd);
  return window && window->queue->KillTimer(hwnd, id);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

namespace zel_wnd {

int QueueHandle() { return ThreadQueue::Current()->WakeHandle(); }

bool ServeQueue(int* exitCode) {
  auto q = ThreadQueue::Current();
  q->TakeWake();
  q->ServeSent();
  // Only what is there now: a handler that posts again is served on the next wake-up, so
  // the host's own events are never starved. A key message ends the batch: taking the keys
  // after it before it is handled would tell GetKeyState of them too soon.
  std::vector<MSG> batch;
  MSG msg;
  bool more = false;
  while (batch.size() < 256 && q->Take(&msg, HWND(), 0, 0, true)) {
    if (msg.message == WM_QUIT) {
      for (const MSG& m : batch) DispatchMessage(&m);
      if (exitCode) *exitCode = static_cast<int>(msg.wParam);
      return false;
    }
    batch.push_back(msg);
    if (msg.message == WM_TIMER) break;  // timers come after everything posted
    if (zel_input::IsKeyMessage(msg.message)) {
      more = true;
      break;
    }
  }
  for (const MSG& m : batch) {
    q->ServeSent();
    DispatchMessage(&m);
  }
  if (batch.size() == 256 || more) q->Wake();
  return true;
}

int MillisecondsToNextTimer() { return ThreadQueue::Current()->MillisecondsToNextTimer(); }

const MSG& CurrentMessage() { return ThreadQueue::Current()->current; }

}  // namespace zel_wnd
