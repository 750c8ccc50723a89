// Runs of bases and line ends, for reading the sequence of a big FASTA file at the speed
// of memory; every path is tested against the portable one.
#include <bit>
#include <cstdint>

#include "files/SequenceScanInternal.h"
#include "files/VectorPathInternal.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace zel_seqscan {

namespace {

bool IsBase(unsigned char c) {
  c |= 0x20;
  return c == 'a' || c == 'c' || c == 'g' || c == 't' || c == 'n' || c == 'u';
}

}  // namespace

size_t BaseRunPortable(const char* p, size_t n, BaseRunSeen& seen) {
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(p[i]);
    if (IsBase(c)) {
      seen.base = true;
      seen.u |= (c | 0x20) == 'u';
    } else if (c != '\r' && c != '\n') {
      return i;
    }
  }
  return n;
}

#if defined(__x86_64__)
// The u's are gathered in a register and looked at once, where the run stops.
size_t BaseRunSse2(const char* p, size_t n, BaseRunSeen& seen) {
  auto set1 = [](char c) { return _mm_set1_epi8(c); };
  const __m128i fold = set1(0x20), cr = set1('\r'), lf = set1('\n');
  __m128i us = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    __m128i l = _mm_or_si128(v, fold);
    __m128i u = _mm_cmpeq_epi8(l, set1('u'));
    __m128i base = _mm_or_si128(
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(l, set1('a')), _mm_cmpeq_epi8(l, set1('c'))),
                     _mm_or_si128(_mm_cmpeq_epi8(l, set1('g')), _mm_cmpeq_epi8(l, set1('t')))),
        _mm_or_si128(_mm_cmpeq_epi8(l, set1('n')), u));
    __m128i end = _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf));
    const uint32_t ok = static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(base, end)));
    const uint32_t bases = static_cast<uint32_t>(_mm_movemask_epi8(base));
    if (ok != 0xFFFF) {
      const unsigned stop = static_cast<unsigned>(std::countr_zero(~ok));
      const uint32_t before = (1u << stop) - 1;
      seen.base |= (bases & before) != 0;
      seen.u |=
          _mm_movemask_epi8(us) != 0 || (static_cast<uint32_t>(_mm_movemask_epi8(u)) & before) != 0;
      return i + stop;
    }
    seen.base |= bases != 0;
    us = _mm_or_si128(us, u);
  }
  seen.u |= _mm_movemask_epi8(us) != 0;
  return i + BaseRunPortable(p + i, n - i, seen);
}

namespace {

__attribute__((target("avx2"))) size_t BaseRunAvx2Impl(const char* p, size_t n, BaseRunSeen& seen) {
  const __m256i fold = _mm256_set1_epi8(0x20), cr = _mm256_set1_epi8('\r'),
                lf = _mm256_set1_epi8('\n');
  const __m256i a = _mm256_set1_epi8('a'), c = _mm256_set1_epi8('c'), g = _mm256_set1_epi8('g'),
                t = _mm256_set1_epi8('t'), nn = _mm256_set1_epi8('n'), uu = _mm256_set1_epi8('u');
  __m256i us = _mm256_setzero_si256();
  bool any = false;
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    __m256i l = _mm256_or_si256(v, fold);
    __m256i u = _mm256_cmpeq_epi8(l, uu);
    __m256i base = _mm256_or_si256(
        _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(l, a), _mm256_cmpeq_epi8(l, c)),
                        _mm256_or_si256(_mm256_cmpeq_epi8(l, g), _mm256_cmpeq_epi8(l, t))),
        _mm256_or_si256(_mm256_cmpeq_epi8(l, nn), u));
    __m256i end = _mm256_or_si256(_mm256_cmpeq_epi8(v, cr), _mm256_cmpeq_epi8(v, lf));
    const uint32_t ok = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_or_si256(base, end)));
    const uint32_t bases = static_cast<uint32_t>(_mm256_movemask_epi8(base));
    if (ok != 0xFFFFFFFFu) {
      const unsigned stop = static_cast<unsigned>(std::countr_zero(~ok));
      const uint32_t before = static_cast<uint32_t>((uint64_t{1} << stop) - 1);
      seen.base |= any || (bases & before) != 0;
      seen.u |= !_mm256_testz_si256(us, us) ||
                (static_cast<uint32_t>(_mm256_movemask_epi8(u)) & before) != 0;
      return i + stop;
    }
    any |= bases != 0;
    us = _mm256_or_si256(us, u);
  }
  seen.base |= any;
  seen.u |= !_mm256_testz_si256(us, us);
  return i + BaseRunSse2(p + i, n - i, seen);
}

}  // namespace

BaseRunFn BaseRunAvx2() { return zel_vector::IfAvx2(&BaseRunAvx2Impl); }
#endif

size_t BaseRun(const char* p, size_t n, BaseRunSeen& seen) {
  static const BaseRunFn best = zel_vector::Pick<BaseRunFn>({
    &BaseRunPortable,
#if defined(__x86_64__)
        &BaseRunSse2, &BaseRunAvx2Impl,
#endif
  });
  return best(p, n, seen);
}

}  // namespace zel_seqscan
