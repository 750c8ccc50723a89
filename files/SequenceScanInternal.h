// Bulk classification for sequence detection: runs of bases and line ends, found 32 bytes
// a step with AVX2 where the processor has it, 16 with SSE2, a byte at a time elsewhere.
#pragma once

#include <cstddef>

namespace zel_seqscan {

// How many bytes from p on are bases (a c g t n u, either case) or line ends (CR, LF),
// and whether a base is among them (anyBase is only ever set, never cleared).
using BaseRunFn = size_t (*)(const char* p, size_t n, bool& anyBase);
size_t BaseRunPortable(const char* p, size_t n, bool& anyBase);
#if defined(__x86_64__)
size_t BaseRunSse2(const char* p, size_t n, bool& anyBase);
// Null when the processor lacks AVX2.
BaseRunFn BaseRunAvx2();
#endif
// The fastest the processor runs.
size_t BaseRun(const char* p, size_t n, bool& anyBase);

}  // namespace zel_seqscan
