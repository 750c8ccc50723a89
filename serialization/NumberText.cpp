// Number texts that read back to what a node holds.
#include "serialization/NumberText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "serialization/SynNode.h"

namespace zel_sxf {

namespace {

// Mantissas of up to 38 digits; the search below never needs more than 27 (see there).
using Mantissa = unsigned __int128;
constexpr long double kMaxMantissa = 1e38L;

std::string Digits(Mantissa m) {
  char buf[40];
  char* p = buf + sizeof buf;
  do {
    *--p = static_cast<char>('0' + static_cast<unsigned>(m % 10));
    m /= 10;
  } while (m != 0);
  return std::string(p, buf + sizeof buf);
}

std::string Token(bool negative, Mantissa m, int exponent) {
  std::string t = negative ? "-" : "";
  t += Digits(m);
  if (exponent != 0) t += "e" + std::to_string(exponent);
  return t;
}

// The double the reader gives a positive mantissa and exponent.
double ValueOf(Mantissa m, int exponent) {
  CSynNum* n = CSynNum::FromToken(Token(false, m, exponent));
  const double d = n->GetDouble();
  CSynNode::DeletePtr(n);
  return d;
}

// The shortest token "[-]M[eE]" whose mantissa M is r modulo 2^32 (what the reader keeps
// of it as a 32-bit value) and whose value reads as the positive double a, checked
// against n. Empty when none is found.
//
// For each exponent E, the mantissas whose value rounds to a form one run [first, last],
// found by bisection with the reader itself; the smallest one congruent to r is that
// exponent's candidate. Exponents are tried from the largest down (mantissas grow by a
// digit each step) until no mantissa can be short enough. Some exponent always works
// within 27 digits: once the run is 2^32 wide it holds every residue, and that happens
// while M is below 2^53 * 2^32 * 10.
std::string SearchShortest(bool negative, uint32_t r, double a, const CSynNum& n) {
  const double inf = std::numeric_limits<double>::infinity();
  const long double below = a - std::nextafter(a, 0.0);
  const double up = std::nextafter(a, inf);
  const long double above = std::isinf(up) ? below : up - a;
  std::string best;
  for (int e = static_cast<int>(std::ceil(std::log10(a))) + 1; e >= -400; --e) {
    const long double scale = std::pow(10.0L, e);
    // Bounds a little wider than the rounding interval, whatever the error of scale.
    const long double lo = (a - below) / scale - 1;
    const long double hi = (a + above) / scale + 1;
    if (hi < 1) continue;
    if (lo >= kMaxMantissa) break;
    const Mantissa low = lo < 1 ? 1 : static_cast<Mantissa>(lo);
    if (!best.empty() && negative + Digits(low).size() > best.size()) break;
    const Mantissa high = static_cast<Mantissa>(std::min(hi, kMaxMantissa));
    auto firstWhere = [&](Mantissa from, auto&& pred) {
      Mantissa l = from, h = high;
      if (!pred(ValueOf(h, e))) return high + 1;
      while (l < h) {
        const Mantissa mid = l + (h - l) / 2;
        if (pred(ValueOf(mid, e)))
          h = mid;
        else
          l = mid + 1;
      }
      return l;
    };
    const Mantissa first = firstWhere(low, [a](double v) { return v >= a; });
    if (first > high || ValueOf(first, e) != a) continue;
    const Mantissa last = firstWhere(first, [a](double v) { return v > a; }) - 1;
    const Mantissa m = first + static_cast<uint32_t>(r - static_cast<uint32_t>(first));
    if (m > last) continue;
    std::string token = Token(negative, m, e);
    if ((best.empty() || token.size() < best.size()) && ReadsBackAs(token, n)) best = token;
  }
  return best;
}

}  // namespace

std::string DoubleWriterText(double d) {
  CSynNum* n = CSynNum::NewPtr(d);
  char printed[32];
  std::string text(printed, static_cast<size_t>(n->Print(printed)));
  CSynNode::DeletePtr(n);
  return text;
}

bool ReadsBackAs(std::string_view token, const CSynNum& n) {
  CSynNum* back = CSynNum::FromToken(token);
  const bool same =
      back->GetLong() == n.GetLong() && back->GetUnsigned() == n.GetUnsigned() &&
      std::bit_cast<uint64_t>(back->GetDouble()) == std::bit_cast<uint64_t>(n.GetDouble());
  CSynNode::DeletePtr(back);
  return same;
}

std::string WholeNumberText(const CSynNum& n) {
  char printed[32];
  std::string writer(printed, static_cast<size_t>(n.Print(printed)));
  if (ReadsBackAs(writer, n)) return writer;
  // The writer's print of the double is its form too: `1e+06` reads back as 1 and 1e6.
  if (std::string g = DoubleWriterText(n.GetDouble()); ReadsBackAs(g, n)) return g;

  // The sign goes to both values; the mantissa must leave r in the 32 bits.
  const double d = n.GetDouble();
  const bool negative = std::signbit(d);
  const uint32_t r = negative ? 0u - n.GetUnsigned() : n.GetUnsigned();
  const double a = std::fabs(d);
  auto tryToken = [&](Mantissa m, int e) {
    std::string t = Token(negative, m, e);
    return ReadsBackAs(t, n) ? t : std::string();
  };
  if (a == 0 || std::isinf(a)) {
    // Under- or overflow: the smallest mantissa with the shortest exponent that gets there.
    const Mantissa m = r != 0 || a == 0 ? r : Mantissa{1} << 32;
    if (m == 0) return tryToken(0, 0);
    // Nearer exponents cannot take a mantissa of at most ten digits out of range.
    const int step = a == 0 ? -1 : 1;
    for (int e = 300 * step; std::abs(e) <= 400; e += step)
      if (std::string t = tryToken(m, e); !t.empty()) return t;
    return std::string();
  }
  // r itself is the shortest mantissa there is, so when a power of ten takes it to a,
  // that is the answer (`25e2`, `1e6`).
  if (r != 0) {
    const int e0 = static_cast<int>(std::lround(std::log10(a / r)));
    for (int e = e0 - 1; e <= e0 + 1; ++e)
      if (std::string t = tryToken(r, e); !t.empty()) return t;
  }
  // A whole number that fits a double exactly: its digits, when they leave r.
  if (a < 0x1p53 && a == std::floor(a) && r != 0 &&
      static_cast<uint32_t>(static_cast<uint64_t>(a)) == r)
    return Token(negative, static_cast<Mantissa>(a), 0);
  return SearchShortest(negative, r, a, n);
}

std::string ShortestDoubleText(double d) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, end);
}

}  // namespace zel_sxf
