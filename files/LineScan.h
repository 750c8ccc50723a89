/// \file
/// Finding line ends a block at a time: the first CR or LF of a range. With SSE2 (every
/// x86-64 has it) 64 bytes are compared per step; the portable code, built everywhere and
/// tested against the vector code, serves other processors.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ZelExport.h"
#include "platform/base/file/ReadAhead.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zel_linescan {

/// The vector scans load whole 64-byte blocks: src must stay readable this many bytes past
/// the end of the range, which the read-ahead buffer's margin guarantees.
constexpr unsigned kReadPastEnd = 63;
static_assert(ZelReadAhead::kScanMargin >= kReadPastEnd);

/// Copies src up to its first CR or LF (at most avail bytes) into dst, the line end left
/// out; the bytes copied.
inline unsigned CopyToLineEndPortable(const char* src, unsigned avail, char* dst, unsigned) {
  const void* lf = std::memchr(src, '\n', avail);
  unsigned n = lf ? static_cast<unsigned>(static_cast<const char*>(lf) - src) : avail;
  if (const void* cr = std::memchr(src, '\r', n))
    n = static_cast<unsigned>(static_cast<const char*>(cr) - src);
  std::memcpy(dst, src, n);
  return n;
}

/// The first line end in [p, end), or null; byte by byte, on any processor.
inline const char* FindLineEndPortable(const char* p, const char* end) {
  size_t n = static_cast<size_t>(end - p);
  const char* lf = static_cast<const char*>(std::memchr(p, '\n', n));
  const char* cr =
      static_cast<const char*>(std::memchr(p, '\r', lf ? static_cast<size_t>(lf - p) : n));
  return cr ? cr : lf;
}

#if defined(__SSE2__)
inline uint64_t LineEndBits(__m128i v) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
}

inline unsigned CopyToLineEndSse2(const char* src, unsigned avail, char* dst, unsigned dstRoom) {
  /// 64 bytes a step, compared without branches: most lines end within the first step, so
  /// the one branch a predictor cannot learn, where the line ends, is mostly not taken.
  for (unsigned i = 0;; i += 64) {
    const __m128i* in = reinterpret_cast<const __m128i*>(src + i);
    __m128i a = _mm_loadu_si128(in), b = _mm_loadu_si128(in + 1);
    __m128i c = _mm_loadu_si128(in + 2), d = _mm_loadu_si128(in + 3);
    uint64_t mask =
        LineEndBits(a) | (LineEndBits(b) << 16) | (LineEndBits(c) << 32) | (LineEndBits(d) << 48);
    unsigned left = avail - i;
    if (left < 64) mask &= (uint64_t{1} << left) - 1;
    unsigned take = mask ? static_cast<unsigned>(std::countr_zero(mask)) : (left < 64 ? left : 64);
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
}

inline const char* FindLineEndSse2(const char* p, const char* end) {
  // 64 bytes a step while a long line lasts: one branch per block instead of four.
  while (end - p >= 64) {
    const __m128i* in = reinterpret_cast<const __m128i*>(p);
    uint64_t mask =
        LineEndBits(_mm_loadu_si128(in)) | (LineEndBits(_mm_loadu_si128(in + 1)) << 16) |
        (LineEndBits(_mm_loadu_si128(in + 2)) << 32) | (LineEndBits(_mm_loadu_si128(in + 3)) << 48);
    if (mask) return p + std::countr_zero(mask);
    p += 64;
  }
  while (end - p >= 16) {
    uint64_t mask = LineEndBits(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    if (mask) return p + std::countr_zero(mask);
    p += 16;
  }
  for (; p < end; ++p)
    if (*p == '\r' || *p == '\n') return p;
  return nullptr;
}
#endif

}  // namespace zel_linescan

/// Copies src to dst up to the first CR or LF among the first avail bytes and answers how
/// many bytes that was (avail when there is none). src must stay readable
/// zel_linescan::kReadPastEnd bytes past avail; dst must hold dstRoom bytes, which may be
/// written beyond the copied text where room allows, so that whole 64-byte blocks are
/// stored.
inline unsigned ZelCopyToLineEnd(const char* src, unsigned avail, char* dst, unsigned dstRoom) {
#if defined(__SSE2__)
  return zel_linescan::CopyToLineEndSse2(src, avail, dst, dstRoom);
#else
  return zel_linescan::CopyToLineEndPortable(src, avail, dst, dstRoom);
#endif
}

/// The first '\\r' or '\\n' in [p, end), or null.
inline const char* ZelFindLineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
  return zel_linescan::FindLineEndSse2(p, end);
#else
  return zel_linescan::FindLineEndPortable(p, end);
#endif
}

namespace zel_linescan {

/// Line ends among the n bytes at p, as the text file's whole-line reading meets them: a
/// CR ends a line, an LF ends one unless a CR stands right before it (CR LF is one end).
/// prevCR says whether the byte before p was a CR, and is left saying it of the last byte.
using CountLineEndsFn = uint64_t (*)(const char* p, size_t n, bool& prevCR);
/// Counts the line ends in [p, p + n), byte by byte, on any processor.
ZEL_API uint64_t CountLineEndsPortable(const char* p, size_t n, bool& prevCR);
#if defined(__x86_64__)
ZEL_API uint64_t CountLineEndsSse2(const char* p, size_t n, bool& prevCR);
/// Null when the processor lacks AVX2.
ZEL_API CountLineEndsFn CountLineEndsAvx2();
#endif
/// The fastest the processor runs.
ZEL_API uint64_t CountLineEnds(const char* p, size_t n, bool& prevCR);

}  // namespace zel_linescan
