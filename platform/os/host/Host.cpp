// Host facts; the system calls are in posix/Host.inc.
#include "platform/os/host/Host.h"

#include <cstdlib>

#include "platform/os/host/posix/Host.inc"

bool ZelQueryOsVersion(ZelOsVersion& version) {
  std::string release;
  if (!zel_posix_host::KernelRelease(release)) return false;
  // "major.minor.build" followed by anything; missing numbers are 0.
  long numbers[3] = {0, 0, 0};
  const char* p = release.c_str();
  for (int i = 0; i < 3; ++i) {
    char* end = nullptr;
    numbers[i] = std::strtol(p, &end, 10);
    if (end == p || *end != '.') break;
    p = end + 1;
  }
  version.major = numbers[0];
  version.minor = numbers[1];
  version.build = numbers[2];
  version.platformId = 2;
  return true;
}
