// Finding line ends a block at a time: the first CR or LF of a range. Sixteen bytes are
// compared per step where the processor has SSE2 (every x86-64 does), a word-free
// fallback elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Copies src to dst up to the first CR or LF among the first avail bytes and answers how
// many bytes that was (avail when there is none). src must stay readable 63 bytes past
// avail (callers pad their buffers); dst must hold dstRoom bytes, which may be written
// beyond the copied text where room allows, so that whole 64-byte blocks are stored.
inline unsigned ZelCopyToLineEnd(const char* src, unsigned avail, char* dst, unsigned dstRoom) {
#if defined(__SSE2__)
  // 64 bytes a step, compared without branches: most lines end within the first step, so
  // the one branch a predictor cannot learn, where the line ends, is mostly not taken.
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  auto ends = [&](__m128i v) {
    return static_cast<uint64_t>(static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)))));
  };
  for (unsigned i = 0;; i += 64) {
    const __m128i* in = reinterpret_cast<const __m128i*>(src + i);
    __m128i a = _mm_loadu_si128(in), b = _mm_loadu_si128(in + 1);
    __m128i c = _mm_loadu_si128(in + 2), d = _mm_loadu_si128(in + 3);
    uint64_t mask = ends(a) | (ends(b) << 16) | (ends(c) << 32) | (ends(d) << 48);
    unsigned left = avail - i;
    if (left < 64) mask &= (uint64_t{1} << left) - 1;
    unsigned take = mask ? static_cast<unsigned>(__builtin_ctzll(mask)) : (left < 64 ? left : 64);
    if (i + 64 <= dstRoom) {
      __m128i* out = reinterpret_cast<__m128i*>(dst + i);
      _mm_storeu_si128(out, a);
      _mm_storeu_si128(out + 1, b);
      _mm_storeu_si128(out + 2, c);
      _mm_storeu_si128(out + 3, d);
    } else {
      std::memcpy(dst + i, src + i, take);
    }
    if (mask || left <= 64) return i + take;
  }
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
