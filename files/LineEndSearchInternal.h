// The first line end of a long stretch at the widest vector path the processor runs, for
// scanners that meet lines of any length; ZelFindLineEnd stays inline for short lines.
#pragma once

namespace zel_linescan {

using FindLineEndFn = const char* (*)(const char* p, const char* end);

// The first '\r' or '\n' in [p, end), or null.
const char* FindLineEndWide(const char* p, const char* end);

#if defined(__x86_64__)
// The AVX2 search; null when the processor lacks AVX2 (for testing it against the others).
FindLineEndFn FindLineEndAvx2();
#endif

}  // namespace zel_linescan
