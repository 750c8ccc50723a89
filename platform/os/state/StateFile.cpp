// Persisted state files; the system calls are in posix/StateFile.inc.
#include "platform/os/state/StateFile.h"

#include <cstdlib>

namespace zel_state {

namespace {
thread_local Failure t_failure;
}  // namespace

const Failure& LastFailure() { return t_failure; }

void ClearLastFailure() { t_failure = Failure(); }

namespace detail {
// Notes a failure for LastFailure and answers it.
std::error_code Record(std::error_code reason, const std::string& path) {
  if (reason) t_failure = Failure{reason, path};
  return reason;
}
}  // namespace detail

}  // namespace zel_state

#include "platform/os/state/posix/StateFile.inc"

CString ZelUserHome() { return zel_posix_state::HomeDir(); }

CString ZelStateRoot() {
  if (const char* home = std::getenv("ZEL_HOME"); home && *home) return home;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    return CString(xdg) + "/zelutil";
  return ZelUserHome() + "/.config/zelutil";
}

CString ZelMachineStateRoot() {
  if (const char* home = std::getenv("ZEL_HOME"); home && *home) return home;
  return "/etc/zelutil";
}
