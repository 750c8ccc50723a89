// Folders that other people may write into; the system calls are in posix/SharedFolders.inc.
#include "platform/fs/SharedFolders.h"

#include "platform/fs/posix/SharedFolders.inc"
