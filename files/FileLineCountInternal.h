// Counting the line ends of a stretch of a regular file at the speed the page cache hands
// out bytes: pieces small enough to stay in the processor's cache between the read and the
// count, and a second thread on the far part of a big stretch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>

#include "files/FilePiecesInternal.h"
#include "platform/base/types/WinTypes.h"

namespace zel_linescan {

struct FileLineEnds {
  uint64_t ends = 0;     // CR, LF, and CR LF counting once
  uint64_t bytes = 0;    // read: fewer than asked when the file shrank meanwhile
  bool lastCR = false;   // the last byte read is a CR
  bool lastEnd = false;  // the last byte read is a CR or an LF
};

// The line ends of [from, to) of h, read by offset. prevCR says the byte before from is a
// CR (an LF at from then ends nothing). The part from split on is counted by a second
// thread (split == to: none). Fails with the system's reason when a read fails.
std::error_code CountFileLineEnds(HANDLE h, uint64_t from, uint64_t split, uint64_t to, bool prevCR,
                                  FileLineEnds& result, size_t piece = zel_fileread::kPiece);

}  // namespace zel_linescan
