/// \class zel_sync::Event
/// Event: an auto-reset event that a thread can wait on together with other descriptors
/// (a message queue's wake-up, a change notification), so that one signal ends any wait.
/// Usage:
/// ```
///   zel_sync::Event stop;               // not signalled
///   std::error_code err;
///   int fds[] = {stop.Handle(), other};
///   int which = zel_sync::WaitAny(fds, 2, -1, err);   // 0: stop was signalled
/// ```
#pragma once

#include <system_error>

#include "ZelExport.h"

namespace zel_sync {

class ZEL_API Event {
 public:
  /// Not signalled. When the system has no descriptor to give, Error() says why and every
  /// operation does nothing (Wait and IsSet answer false).
  Event();
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  std::error_code Error() const { return m_error; }
  /// Signals the event; it stays signalled until a Wait or Reset takes the signal.
  void Set();
  /// Takes the signal without waiting; answers whether the event was signalled.
  bool Reset();
  /// Waits at most timeoutMs (negative: without limit) and takes the signal; false when
  /// the time ran out first.
  bool Wait(int timeoutMs);
  /// Whether the event is signalled, leaving the signal in place.
  bool IsSet() const;
  /// A descriptor that is readable while the event is signalled; -1 when there is none.
  int Handle() const { return m_fd; }

 private:
  int m_fd = -1;
  std::error_code m_error;
};

/// Waits at most timeoutMs (negative: without limit) until one of the descriptors is
/// readable (or closed by its other end) and answers its index, the lowest when several
/// are; -1 when the time ran out, -2 with err set when the wait itself failed. Negative
/// descriptors are skipped. Signals interrupting the wait do not end it.
ZEL_API int WaitAny(const int* fds, int count, int timeoutMs, std::error_code& err);

}  // namespace zel_sync
