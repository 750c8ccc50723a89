// Bytes found eight at a time in a 64-bit word (portable SWAR), for the inner loops of the
// token readers, which would otherwise test one character per step.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zel_sxf::byte_runs {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

// The eight bytes at p, the first in the lowest byte whatever the machine's byte order.
inline uint64_t Load8(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, sizeof w);
  if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
  return w;
}

// The high bit of each byte of w that is zero and of no other: exact, no carry crosses a byte.
inline uint64_t ZeroBytes(uint64_t w) {
  constexpr uint64_t kLow7 = ~kHighs;
  return ~(((w & kLow7) + kLow7) | w | kLow7);
}

// The index of the first '"' or '\\' among the n bytes at p; n when there is none.
inline size_t FindQuoteOrBackslash(const char* p, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const uint64_t w = Load8(p + i);
    const uint64_t hit = ZeroBytes(w ^ (kOnes * '"')) | ZeroBytes(w ^ (kOnes * '\\'));
    if (hit) return i + static_cast<size_t>(std::countr_zero(hit) / 8);
  }
  while (i < n && p[i] != '"' && p[i] != '\\') ++i;
  return i;
}

}  // namespace zel_sxf::byte_runs
