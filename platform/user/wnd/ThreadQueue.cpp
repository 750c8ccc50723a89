// The per-thread message queue: posted and sent messages, timers, the quit request.
#include <algorithm>

#include "platform/user/input/KeyStateInternal.h"
#include "platform/user/wnd/WindowInternal.h"

namespace zel_wnd_internal {
namespace {

// Ends the thread's queue with the thread, so that its senders are answered.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (queue) queue->Shutdown();
  }
};
thread_local QueueHolder t_queue;

bool Matches(const MSG& m, HWND filter, UINT first, UINT last) {
  if (filter && m.hwnd != filter) return false;
  return (first == 0 && last == 0) || (m.message >= first && m.message <= last);
}

}  // namespace

ThreadQueue::ThreadQueue() : m_thread(std::this_thread::get_id()) {}
ThreadQueue::~ThreadQueue() = default;

std::shared_ptr<ThreadQueue> ThreadQueue::Current() {
  if (!t_queue.queue) t_queue.queue = std::make_shared<ThreadQueue>();
  return t_queue.queue;
}

bool ThreadQueue::Post(const MSG& msg) {
  {
    std::lock_guard lock(m_mutex);
    if (m_ended) return false;
    m_posted.push_back(msg);
  }
  Wake();
  return true;
}

bool ThreadQueue::QueueSent(const std::shared_ptr<SentMessage>& sent) {
  {
    std::lock_guard lock(m_mutex);
    if (m_ended) return false;
    m_sent.push_back(sent);
  }
  Wake();
  return true;
}

void ThreadQueue::Cancel(const std::shared_ptr<SentMessage>& sent) {
  std::lock_guard lock(m_mutex);
  auto it = std::find(m_sent.begin(), m_sent.end(), sent);
  if (it == m_sent.end()) return;
  m_sent.erase(it);
  sent->state.store(SentMessage::Cancelled, std::memory_order_release);
}

void ThreadQueue::ServeSent() {
  for (;;) {
    std::shared_ptr<SentMessage> sent;
    {
      std::lock_guard lock(m_mutex);
      if (m_sent.empty()) return;
      sent = m_sent.front();
      m_sent.pop_front();
      sent->state.store(SentMessage::Running, std::memory_order_relaxed);
    }
    LRESULT result = 0;
    if (auto window = Find(sent->hwnd)) {
      const MSG saved = current;
      current = MSG{sent->hwnd, sent->message, sent->wParam, sent->lParam, TickCount(), {}};
      ++servingSent;
      result = CallGuarded(window->proc, sent->hwnd, sent->message, sent->wParam, sent->lParam);
      --servingSent;
      current = saved;
    }
    sent->result = result;
    sent->state.store(SentMessage::Done, std::memory_order_release);
    if (sent->sender) sent->sender->Wake();
  }
}

bool ThreadQueue::Take(MSG* msg, HWND filter, UINT first, UINT last, bool remove) {
  std::lock_guard lock(m_mutex);
  for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
    if (!Matches(*it, filter, first, last)) continue;
    *msg = *it;
    if (remove) {
      m_posted.erase(it);
      zel_input::NoteKeyMessage(msg->message, msg->wParam);  // as the message is taken
    }
    return true;
  }
  // The quit request comes once the posted messages are handled, as on the platform.
  if (m_quit && !filter) {
    *msg = MSG{HWND(), WM_QUIT, static_cast<WPARAM>(m_quitCode), 0, TickCount(), {}};
    if (remove) m_quit = false;
    return true;
  }
  const auto now = Clock::now();
  Timer* due = nullptr;
  for (Timer& t : m_timers) {
    MSG probe{t.hwnd, WM_TIMER, t.id, 0, 0, {}};
    if (t.due <= now && Matches(probe, filter, first, last) && (!due || t.due < due->due)) due = &t;
  }
  if (!due) return false;
  *msg = MSG{due->hwnd, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc), TickCount(), {}};
  // A late timer gives one message, not one per period missed.
  if (remove) due->due = now + std::chrono::milliseconds(due->elapse);
  return true;
}

void ThreadQueue::PostQuit(int code) {
  {
    std::lock_guard lock(m_mutex);
    m_quit = true;
    m_quitCode = code;
  }
  Wake();
}

bool ThreadQueue::HasInput(HWND filter, UINT first, UINT last) {
  {
    std::lock_guard lock(m_mutex);
    if (!m_sent.empty()) return true;
  }
  MSG probe;
  return Take(&probe, filter, first, last, false);
}

UINT_PTR ThreadQueue::SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  std::lock_guard lock(m_mutex);
  // A thread timer (no window) gets an identifier of its own; a window's keeps the one given.
  if (!hwnd) id = m_nextTimerId++;
  const auto due = Clock::now() + std::chrono::milliseconds(std::max<UINT>(elapse, 10));
  for (Timer& t : m_timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t.elapse = std::max<UINT>(elapse, 10);
      t.proc = proc;
      t.due = due;
      return hwnd ? 1 : id;
    }
  }
  m_timers.push_back(Timer{hwnd, id, std::max<UINT>(elapse, 10), proc, due});
  return hwnd ? 1 : id;
}

bool ThreadQueue::KillTimer(HWND hwnd, UINT_PTR id) {
  std::lock_guard lock(m_mutex);
  auto it = std::find_if(m_timers.begin(), m_timers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == m_timers.end()) return false;
  m_timers.erase(it);
  return true;
}

void ThreadQueue::KillTimersOf(HWND hwnd) {
  std::lock_guard lock(m_mutex);
  std::erase_if(m_timers, [&](const Timer& t) { return t.hwnd == hwnd; });
  std::erase_if(m_posted, [&](const MSG& m) { return m.hwnd == hwnd; });
}

int ThreadQueue::MillisecondsToNextTimer(HWND filter, UINT first, UINT last) {
  std::lock_guard lock(m_mutex);
  std::optional<Clock::time_point> next;
  for (const Timer& t : m_timers)
    if (Matches(MSG{t.hwnd, WM_TIMER, t.id, 0, 0, {}}, filter, first, last))
      next = next ? std::min(*next, t.due) : t.due;
  if (!next) return -1;
  auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

void ThreadQueue::Shutdown() {
  std::deque<std::shared_ptr<SentMessage>> sent;
  {
    std::lock_guard lock(m_mutex);
    m_ended = true;
    sent.swap(m_sent);
    m_posted.clear();
    m_timers.clear();
  }
  for (auto& s : sent) {
    s->result = 0;
    s->state.store(SentMessage::Done, std::memory_order_release);
    if (s->sender) s->sender->Wake();
  }
}

}  // namespace zel_wnd_internal
