// Persisted state files; the system calls are in posix/StateFile.inc.
#include "platform/state/StateFile.h"

#include <cstdlib>

#include "platform/state/posix/StateFile.inc"

CString ZelStateRoot() {
  if (const char* home = std::getenv("ZEL_HOME"); home && *home) return home;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    return CString(xdg) + "/zelutil";
  return CString(zel_posix_state::HomeDir()) + "/.config/zelutil";
}

CString ZelMachineStateRoot() {
  if (const char* home = std::getenv("ZEL_HOME"); home && *home) return home;
  return "/etc/zelutil";
}
