// Reading a structured text file and printing it again, the job behind `zel sxf`.
#pragma once

#include <string>

class CZelTextFile;

// Reads the whole file (lines begin with prefix when one is given), checks the root's
// header tag as loading does, and prints the tree into out as the writer prints it, at
// width, each line starting with prefix and ending with lineEnd. Comments are not kept;
// shared definitions and uses print as read. Raises CArchiveException (or the file's
// CFileException) for a malformed or unreadable file; out is then unchanged.
void SxfReformat(CZelTextFile& in, const char* prefix, int width, const char* lineEnd,
                 std::string& out);
// Reads and checks only.
void SxfCheck(CZelTextFile& in, const char* prefix);
