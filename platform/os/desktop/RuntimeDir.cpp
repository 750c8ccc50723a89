// The private runtime folder; the system calls are in posix/RuntimeDir.inc.
#include "platform/os/desktop/RuntimeDir.h"

#include "platform/os/desktop/posix/RuntimeDir.inc"
