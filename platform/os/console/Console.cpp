// The console; the system calls are in posix/Console.inc.
#include "platform/os/console/Console.h"

#include "platform/os/console/posix/Console.inc"
