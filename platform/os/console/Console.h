/// \file
/// The console the process runs on, as far as a front end needs to know it.
#pragma once

#include <system_error>

#include "ZelExport.h"

namespace zel_console {

/// Whether standard error is a terminal (progress is worth showing there).
ZEL_API bool StderrIsTerminal();

/// Ctrl+C and termination requests (SIGINT, SIGTERM) as a descriptor to wait on, so that
/// a command ends cleanly instead of being killed. While the object lives the two signals
/// are held back from the calling thread and from the threads it starts afterwards (make
/// it before any), and Handle() becomes readable once one has arrived.
class ZEL_API InterruptSignal {
 public:
  InterruptSignal();
  ~InterruptSignal();
  InterruptSignal(const InterruptSignal&) = delete;
  InterruptSignal& operator=(const InterruptSignal&) = delete;

  /// -1 (with Error() saying why) when the signals cannot be waited for.
  int Handle() const { return m_fd; }
  std::error_code Error() const { return m_error; }

 private:
  int m_fd = -1;
  std::error_code m_error;
  unsigned char m_previousMask[128];  ///< the thread's signal mask before
};

}  // namespace zel_console
