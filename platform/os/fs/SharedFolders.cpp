// Folders that other people may write into; the system calls are in posix/SharedFolders.inc.
#include "platform/os/fs/SharedFolders.h"

#include "platform/os/fs/posix/SharedFolders.inc"
