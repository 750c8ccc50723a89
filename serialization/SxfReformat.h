// Reading a structured text file and printing it again, the job behind `zel sxf`.
#pragma once

#include <string>

class CZelTextFile;

// Where reading stopped, for people: the line (from 1; 0 when none was read) and the
// column (from 1; 0 when not known, as at the end of the file), and whether the root list
// was read whole but does not begin with the header tag.
struct SxfStop {
  int line = 0;
  int column = 0;
  bool noHeaderTag = false;
};

// Reads the whole file (lines begin with prefix when one is given), checks the root's
// header tag as loading does, and prints the tree into out as the writer prints it, at
// width, each line starting with prefix and ending with lineEnd. Comments are not kept;
// shared definitions and uses print as read. Raises CArchiveException (or the file's
// CFileException) for a malformed or unreadable file; out is then unchanged.
// When stop is given it tells where a failure happened.
void SxfReformat(CZelTextFile& in, const char* prefix, int width, const char* lineEnd,
                 std::string& out, SxfStop* stop = nullptr);
// Reads and checks only.
void SxfCheck(CZelTextFile& in, const char* prefix, SxfStop* stop = nullptr);
