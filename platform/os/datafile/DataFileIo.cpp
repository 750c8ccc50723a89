// Data files of a shared folder: the portable part; the system calls are in posix/.
#include "platform/os/datafile/DataFileIo.h"

#include "platform/os/datafile/posix/DataFileIo.inc"
