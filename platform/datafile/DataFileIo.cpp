// Data files of a shared folder: the portable part; the system calls are in posix/.
#include "platform/datafile/DataFileIo.h"

#include "platform/datafile/posix/DataFileIo.inc"
