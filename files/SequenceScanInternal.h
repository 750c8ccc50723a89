// Bulk classification for sequence detection: runs of bases and line ends, found 32 bytes
// a step with AVX2 where the processor has it, 16 with SSE2, a byte at a time elsewhere.
#pragma once

#include <cstddef>

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

}  // namespace zel_seqscan
