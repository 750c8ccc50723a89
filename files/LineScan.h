// Finding line ends a block at a time: the first CR or LF of a range. Sixteen bytes are
// compared per step where the processor has SSE2 (every x86-64 does), a word-free
// fallback elsewhere.
#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Copies src to dst up to the first CR or LF among the first avail bytes and answers how
// many bytes that was (avail when there is none). src must stay readable 31 bytes past
// avail (callers pad their buffers); dst must hold dstRoom bytes, which may be written
// beyond the copied text where room allows, so that whole 32-byte blocks are stored.
inline unsigned ZelCopyToLineEnd(const char* src, unsigned avail, char* dst, unsigned dstRoom) {
#if defined(__SSE2__)
  // 32 bytes a step: most lines end within one or two steps, so the loop's exit branch,
  // the one a predictor cannot learn, is met less often.
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (unsigned i = 0; i < avail; i += 32) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 16));
    unsigned mask =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(a, cr), _mm_cmpeq_epi8(a, lf)))) |
        (static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(b, cr), _mm_cmpeq_epi8(b, lf)))) << 16);
    unsigned left = avail - i;
    if (left < 32) mask &= (1u << left) - 1;
    unsigned take = mask ? static_cast<unsigned>(__builtin_ctz(mask)) : (left < 32 ? left : 32);
    if (i + 32 <= dstRoom) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), a);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 16), b);
    } else {
      std::memcpy(dst + i, src + i, take);
    }
    if (mask) return i + take;
  }
  return avail;
#else
  const void* end = std::memchr(src, '\n', avail);
  unsigned n = end ? static_cast<unsigned>(static_cast<const char*>(end) - src) : avail;
  const void* cr = std::memchr(src, '\r', n);
  if (cr) n = static_cast<unsigned>(static_cast<const char*>(cr) - src);
  std::memcpy(dst, src, n);
  return n;
#endif
}

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
