// The private runtime folder; the system calls are in posix/RuntimeDir.inc.
#include "platform/desktop/RuntimeDir.h"

#include "platform/desktop/posix/RuntimeDir.inc"
