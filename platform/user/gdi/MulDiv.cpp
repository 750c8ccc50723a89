// The platform's rounded multiply-divide.
#include "platform/user/gdi/MulDiv.h"

#include <cstdint>
#include <limits>

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t product = static_cast<int64_t>(a) * b;
  // Rounding on magnitudes keeps halves going away from zero whatever the signs.
  const uint64_t num = product < 0 ? 0 - static_cast<uint64_t>(product) : product;
  const uint64_t den = c < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(c)) : c;
  const uint64_t quotient = (num + den / 2) / den;
  const bool negative = (product < 0) != (c < 0);
  constexpr uint64_t kMaxPositive = std::numeric_limits<int>::max();
  if (quotient > kMaxPositive + (negative ? 1 : 0)) return -1;
  return negative ? static_cast<int>(-static_cast<int64_t>(quotient)) : static_cast<int>(quotient);
}
