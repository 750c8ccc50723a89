// CEkMemFile: a memory file that also tells how many bytes its buffer holds.
#include "files/EkMemFile.h"

IMPLEMENT_DYNAMIC(CEkMemFile, CMemFile)

CEkMemFile::CEkMemFile(unsigned growBytes) : CMemFile(growBytes) {}

CEkMemFile::CEkMemFile(unsigned char* buffer, unsigned size, unsigned growBytes)
    : CMemFile(buffer, size, growBytes) {}
