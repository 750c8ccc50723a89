// The console; the system calls are in posix/Console.inc.
#include "platform/console/Console.h"

#include "platform/console/posix/Console.inc"
