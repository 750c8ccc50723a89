// Event: the signalling logic; the descriptors are in the POSIX part.
#include "platform/os/sync/Event.h"

#include "platform/os/sync/posix/Event.inc"

namespace zel_sync {

Event::Event() { m_error = zel_posix_sync::MakeEventFd(m_fd); }

Event::~Event() { zel_posix_sync::Close(m_fd); }

void Event::Set() {
  if (m_fd >= 0) zel_posix_sync::Signal(m_fd);
}

bool Event::Reset() { return m_fd >= 0 && zel_posix_sync::Take(m_fd); }

bool Event::Wait(int timeoutMs) {
  if (m_fd < 0) return false;
  std::error_code err;
  // Another waiter may take the signal between the wake-up and the read: wait again then.
  for (;;) {
    if (WaitAny(&m_fd, 1, timeoutMs, err) != 0) return false;
    if (Reset()) return true;
  }
}

bool Event::IsSet() const {
  std::error_code err;
  return m_fd >= 0 && WaitAny(&m_fd, 1, 0, err) == 0;
}

int WaitAny(const int* fds, int count, int timeoutMs, std::error_code& err) {
  return zel_posix_sync::PollReadable(fds, count, timeoutMs, err);
}

}  // namespace zel_sync
