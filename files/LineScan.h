// Finding line ends a block at a time: the first CR or LF of a range. Sixteen bytes are
// compared per step where the processor has SSE2 (every x86-64 does), a word-free
// fallback elsewhere.
#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The first '\r' or '\n' in [p, end), or null.
inline const char* ZelFindLineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p >= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
    if (mask) return p + __builtin_ctz(static_cast<unsigned>(mask));
    p += 16;
  }
  for (; p < end; ++p)
    if (*p == '\r' || *p == '\n') return p;
  return nullptr;
#else
  size_t n = static_cast<size_t>(end - p);
  const char* lf = static_cast<const char*>(std::memchr(p, '\n', n));
  const char* cr =
      static_cast<const char*>(std::memchr(p, '\r', lf ? static_cast<size_t>(lf - p) : n));
  return cr ? cr : lf;
#endif
}
