/// \file
/// Reading a structured text file and printing it again, the job behind `zel sxf`.
#pragma once

#include <string>

#include "ZelExport.h"

class CZelTextFile;

/// Where reading stopped, for people: the line (from 1; 0 when none was read) and the
/// column (from 1; 0 when not known, as at the end of the file), and whether the root list
/// was read whole but does not begin with the header tag.
struct SxfStop {
  int line = 0;
  int column = 0;
  bool noHeaderTag = false;
};

/// What reformatting could not keep: doubles whose value the writer's six significant
/// digits change (the first one's shortest exact text and its print), and comments inside
/// the root, which the tree does not hold.
struct SxfReformatLosses {
  long numbersChanged = 0;
  std::string firstBefore;
  std::string firstAfter;
  long commentsDropped = 0;
};

/// Reads the whole file (lines begin with prefix when one is given), checks the root's
/// header tag as loading does, and prints the tree into out as the writer prints it, at
/// width, each line starting with prefix and ending with lineEnd, with two exceptions
/// that keep what the file means: a whole number prints in a form that reads back to all
/// three of its values (a token such as `1e+06` holds 1 and 1000000.0, and the writer would
/// print 1), and comment lines before the root are kept (as ";; text"). Shared definitions
/// and uses print as read. Raises CArchiveException (or the file's CFileException) for a
/// malformed or unreadable file; out is then unchanged. When stop is given it tells where a
/// failure happened; when losses is given it tells what the print does not keep.
ZEL_API void SxfReformat(CZelTextFile& in, const char* prefix, int width, const char* lineEnd,
                         std::string& out, SxfStop* stop = nullptr,
                         SxfReformatLosses* losses = nullptr);
/// Reads and checks only.
ZEL_API void SxfCheck(CZelTextFile& in, const char* prefix, SxfStop* stop = nullptr);
