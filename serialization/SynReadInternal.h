// The token readers shared by the nodes' own InputPtr functions and the tree's whole-file
// reader (TapeInternal.h): token character classes, tokens read in place, strings with
// their escapes, and numbers as values before any node is made for them (or printed
// without one).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "serialization/SyntaxTree.h"

namespace zel_sxf::read_detail {

constexpr int kTagTokenSize = 128;
constexpr int kNumberTokenSize = 64;

constexpr bool IsAsciiLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsAsciiDigit(int c) { return c >= '0' && c <= '9'; }

// The characters of number and tag tokens; the classes' IsTokenChar and the token table
// both answer from these.
constexpr bool IsNumTokenChar(int c, bool first) {
  if (IsAsciiDigit(c) || c == '+' || c == '-' || c == '.') return true;
  return !first && (c == 'e' || c == 'E');
}
constexpr bool IsTagTokenChar(int c, bool first) {
  if (IsAsciiLetter(c)) return true;
  if (first) return false;
  if (IsAsciiDigit(c)) return true;
  for (const char* p = "_$-+<>=/*!?:@%^.&"; *p; ++p)
    if (*p == c) return true;
  return false;
}

// Token character classes, one table lookup per character instead of a call.
enum : uint8_t { kNumFirst = 1, kNumRest = 2, kTagFirst = 4, kTagRest = 8 };

struct TokenTable {
  uint8_t bits[256] = {};
};

// Built by the compiler: a look-up needs no guard of a first use.
inline constexpr TokenTable kTokens = [] {
  TokenTable t;
  for (int c = 0; c < 256; ++c)
    t.bits[c] = static_cast<uint8_t>(
        (IsNumTokenChar(c, true) ? kNumFirst : 0) | (IsNumTokenChar(c, false) ? kNumRest : 0) |
        (IsTagTokenChar(c, true) ? kTagFirst : 0) | (IsTagTokenChar(c, false) ? kTagRest : 0));
  return t;
}();

inline uint8_t TokenBits(int c) { return kTokens.bits[static_cast<unsigned char>(c)]; }

// What CSyntaxTree::ReadToken does for the class whose first and later characters carry
// the bits first and rest: the token under the cursor, read in place and passed (valid
// until the next line is read); too long for size - 1 bytes, it is a bad token.
inline std::string_view ScanToken(CSyntaxTree& tree, uint8_t first, uint8_t rest, int size) {
  const char* s = tree.CursorPtr();
  const int len = tree.CharsLeftToRead();
  int n = 0;
  if (n < len && (TokenBits(s[n]) & first)) {
    ++n;
    while (n < len && (TokenBits(s[n]) & rest)) ++n;
  }
  if (n >= size) CSyntaxTree::ThrowBadTokenException(s[0]);
  tree.Advance(n);
  return {s, static_cast<size_t>(n)};
}

// A number node's five values, before (or without) a node.
struct NumValue {
  int32_t isInteger = 0;
  int32_t isSigned = 0;
  int32_t whole = 0;
  uint32_t bits = 0;
  double real = 0;
  // What is known of the values beyond themselves, for a compact copy.
  enum Form : uint8_t {
    kAny,
    kDigit,    // a digit token 0 to 9: its node is the shared cached one
    kWhole,    // signed whole whose unsigned and double values follow from it (not -0)
    kDecimal,  // signed, not whole: the whole values are the double's truncations
  } form = kAny;
};

// Truncation toward zero into 32 bits, as the suite's platform converts: values outside
// the range give 0x80000000 (and 0 unsigned) rather than undefined behaviour.
int32_t TruncToLong(double v);
uint32_t TruncToUnsigned(double v);

// The values CSynNum::NewPtr gives the node of each C++ number type.
inline NumValue StoredValue(long v) {
  const auto l = static_cast<int32_t>(v);
  return {1, 1, l, static_cast<uint32_t>(l), static_cast<double>(l)};
}
inline NumValue StoredValue(unsigned long v) {
  const auto u = static_cast<uint32_t>(v);
  return {1, 0, static_cast<int32_t>(u), u, static_cast<double>(u)};
}
inline NumValue StoredValue(int v) {
  return {1, 1, v, static_cast<uint32_t>(v), static_cast<double>(v)};
}
inline NumValue StoredValue(unsigned int v) {
  return {1, 0, static_cast<int32_t>(v), v, static_cast<double>(v)};
}
inline NumValue StoredValue(short v) { return StoredValue(static_cast<int>(v)); }
inline NumValue StoredValue(unsigned short v) { return {1, 0, v, v, static_cast<double>(v)}; }
inline NumValue StoredValue(char v) {
  return StoredValue(static_cast<int>(static_cast<signed char>(v)));
}
inline NumValue StoredValue(unsigned char v) { return {1, 0, v, v, static_cast<double>(v)}; }
inline NumValue StoredValue(double v) { return {0, 1, TruncToLong(v), TruncToUnsigned(v), v}; }
inline NumValue StoredValue(float v) { return StoredValue(static_cast<double>(v)); }

// The print of a number node of these values into buf (at least 32 bytes); its length.
int PrintNumber(const NumValue& v, char* buf);

// The value of a number token (not empty), as CSynNum::FromToken makes its node.
NumValue NumberOfToken(std::string_view token);
// Reads the number token under the cursor (CSynNum::InputPtr without the node).
NumValue ReadNumber(CSyntaxTree& tree);
// Reads the quoted string under the cursor (CSynStr::InputPtr without the node): its text,
// valid until the next read.
std::string_view ReadString(CSyntaxTree& tree);

}  // namespace zel_sxf::read_detail
