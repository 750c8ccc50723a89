/// \file
/// Facts about the running process and the machine: the system's version numbers and the
/// files of the running program and its modules.
#pragma once

#include "ZelExport.h"
#include "platform/base/string/String.h"
#include "platform/base/types/WinTypes.h"

/// The system's version, in the platform's version-record terms. On this system the
/// numbers are the kernel release's first three ("6.1.12-amd64": 6, 1, 12) and the
/// platform id is 2, the family of current systems.
struct ZelOsVersion {
  long major = 0;
  long minor = 0;
  long build = 0;
  int platformId = 2;
};
/// False when the system does not say.
ZEL_API bool ZelQueryOsVersion(ZelOsVersion& version);

namespace zel_host {

/// The full path of the running program's file; empty when it cannot be had.
ZEL_API CString ExecutablePath();
/// The full path of the file of the module holding the address module.value (a module's
/// handle is its load address); for a null handle the program's own file.
ZEL_API CString ModulePath(HINSTANCE module);

}  // namespace zel_host
