// Counting line ends at memory speed: 32 bytes a step with AVX2 where the processor has
// it (chosen once, by VectorPathInternal.h), 16 with SSE2 elsewhere on x86-64, a byte at a time on
// other processors. Every path is tested against the portable one.
#include "files/LineScan.h"

#include <bit>

#include "files/LineEndSearchInternal.h"
#include "files/VectorPathInternal.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace zel_linescan {

namespace {

// The tail of a block, a byte at a time.
uint64_t CountTail(const char* p, size_t n, bool& prevCR) {
  uint64_t ends = 0;
  for (size_t i = 0; i < n; ++i) {
    const bool cr = p[i] == '\r';
    ends += cr || (p[i] == '\n' && !prevCR);
    prevCR = cr;
  }
  return ends;
}

}  // namespace

uint64_t CountLineEndsPortable(const char* p, size_t n, bool& prevCR) {
  return CountTail(p, n, prevCR);
}

#if defined(__x86_64__)
// A block's CR and LF bit masks give its ends: every CR, and every LF whose left
// neighbour (the bit before, or the carried-in CR) is not a CR.
uint64_t CountLineEndsSse2(const char* p, size_t n, bool& prevCR) {
  const __m128i crs = _mm_set1_epi8('\r'), lfs = _mm_set1_epi8('\n');
  uint64_t ends = 0;
  uint32_t carry = prevCR;
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    uint32_t cr = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, crs)));
    uint32_t lf = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lfs)));
    ends += std::popcount(cr) + std::popcount(lf & ~((cr << 1) | carry));
    carry = cr >> 15;
  }
  prevCR = carry;
  return ends + CountTail(p + i, n - i, prevCR);
}

namespace {

__attribute__((target("avx2,popcnt"))) uint64_t CountAvx2(const char* p, size_t n, bool& prevCR) {
  const __m256i crs = _mm256_set1_epi8('\r'), lfs = _mm256_set1_epi8('\n');
  uint64_t ends = 0;
  uint64_t carry = prevCR;
  size_t i = 0;
  // Two blocks a step, so that the carry of the first feeds the second in registers.
  for (; i + 64 <= n; i += 64) {
    __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 32));
    uint64_t cr = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, crs))) |
                  static_cast<uint64_t>(
                      static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(b, crs))))
                      << 32;
    uint64_t lf = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, lfs))) |
                  static_cast<uint64_t>(
                      static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(b, lfs))))
                      << 32;
    ends += static_cast<uint64_t>(_mm_popcnt_u64(cr)) +
            static_cast<uint64_t>(_mm_popcnt_u64(lf & ~((cr << 1) | carry)));
    carry = cr >> 63;
  }
  prevCR = carry;
  return ends + CountLineEndsSse2(p + i, n - i, prevCR);
}

}  // namespace

namespace {

__attribute__((target("avx2"))) const char* FindAvx2(const char* p, const char* end) {
  const __m256i crs = _mm256_set1_epi8('\r'), lfs = _mm256_set1_epi8('\n');
  for (; end - p >= 64; p += 64) {
    __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    __m256i ea = _mm256_or_si256(_mm256_cmpeq_epi8(a, crs), _mm256_cmpeq_epi8(a, lfs));
    __m256i eb = _mm256_or_si256(_mm256_cmpeq_epi8(b, crs), _mm256_cmpeq_epi8(b, lfs));
    if (_mm256_testz_si256(_mm256_or_si256(ea, eb), _mm256_or_si256(ea, eb))) continue;
    const uint64_t mask = static_cast<uint32_t>(_mm256_movemask_epi8(ea)) |
                          static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(eb)))
                              << 32;
    return p + std::countr_zero(mask);
  }
  return FindLineEndSse2(p, end);
}

}  // namespace

CountLineEndsFn CountLineEndsAvx2() { return zel_vector::IfAvx2(&CountAvx2); }
FindLineEndFn FindLineEndAvx2() { return zel_vector::IfAvx2(&FindAvx2); }
#endif

uint64_t CountLineEnds(const char* p, size_t n, bool& prevCR) {
  static const CountLineEndsFn best = zel_vector::Pick<CountLineEndsFn>({
    &CountLineEndsPortable,
#if defined(__x86_64__)
        &CountLineEndsSse2, &CountAvx2,
#endif
  });
  return best(p, n, prevCR);
}

const char* FindLineEndWide(const char* p, const char* end) {
  static const FindLineEndFn best = zel_vector::Pick<FindLineEndFn>({
    &FindLineEndPortable,
#if defined(__x86_64__)
        &FindLineEndSse2, &FindAvx2,
#endif
  });
  return best(p, end);
}

}  // namespace zel_linescan
