// Bulk classification for sequence detection: runs of bases and line ends, found 32 bytes
// a step with AVX2 where the processor has it, 16 with SSE2, a byte at a time elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>

#include "files/FilePiecesInternal.h"
#include "platform/base/types/WinTypes.h"

namespace zel_seqscan {

// What a run of bases held; each flag is only ever set, never cleared.
struct BaseRunSeen {
  bool base = false;  // a base
  bool u = false;     // a u or U, which no amino acid is written as
};

// How many bytes from p on are bases (a c g t n u, either case) or line ends (CR, LF), and
// what the run held.
using BaseRunFn = size_t (*)(const char* p, size_t n, BaseRunSeen& seen);
size_t BaseRunPortable(const char* p, size_t n, BaseRunSeen& seen);
#if defined(__x86_64__)
size_t BaseRunSse2(const char* p, size_t n, BaseRunSeen& seen);
// Null when the processor lacks AVX2.
BaseRunFn BaseRunAvx2();
#endif
// The fastest the processor runs.
size_t BaseRun(const char* p, size_t n, BaseRunSeen& seen);

// The whole lines of bases (and line ends) that start at an offset of a regular file.
struct FileBaseLines {
  uint64_t taken = 0;  // their bytes, line ends included
  bool toEnd = false;  // they run on to the end of the file, a last line without its end too
  bool base = false;   // a base lies among them
};

// The whole lines of bases from `from` on in [from, to) of h, the file ending at to: up to
// the last line end before the first byte that is neither, or to the end. [split, to) is
// scanned by a second thread (split == to: none), in pieces of at most piece bytes. Fails
// with the system's reason when a read fails.
std::error_code ScanFileBaseLines(HANDLE h, uint64_t from, uint64_t split, uint64_t to,
                                  FileBaseLines& result, size_t piece = zel_fileread::kPiece);

}  // namespace zel_seqscan
