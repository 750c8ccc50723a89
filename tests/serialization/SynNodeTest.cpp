// Syntax nodes: printed forms and print lengths, numbers and their cache, token classes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/os/memory/LargeChunks.h"
#include "serialization/ByteRunsInternal.h"
#include "serialization/NodePool.h"
#include "serialization/NodePoolInternal.h"
#include "serialization/SynNode.h"

namespace {

std::string Print(const CSynNode* node) {
  CString s;
  node->OutputToString(s);
  return s.str();
}

struct AtomCase {
  const char* name;
  CSynNode* node;
  const char* printed;
  int length;  // what SubtractPrintLen counts
};

class SynNodeTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u) << "nodes left alive"; }
};

TEST_F(SynNodeTest, AtomsPrintAndCountAsTheFormatSays) {
  const AtomCase cases[] = {
      {"tag", CSynTag::NewPtr("Segment"), "Segment", 7},
      {"tag printed unchanged", CSynTag::NewPtr("2x"), "2x", 2},
      {"tab counts 4", CSynStr::NewPtr("a\tb"), "\"a\\tb\"", 8},
      {"high byte", CSynStr::NewPtr("\xC8"), "\"\\310\"", 6},
      {"bell", CSynStr::NewPtr("\x07"), "\"\\007\"", 6},
      {"delete", CSynStr::NewPtr("\x7F"), "\"\\177\"", 6},
      {"quote and backslash", CSynStr::NewPtr("q\"\\"), "\"q\\\"\\\\\"", 7},
      {"line ends", CSynStr::NewPtr("\r\n"), "\"\\r\\n\"", 10},
      {"empty string", CSynStr::NewPtr(""), "\"\"", 2},
      {"long string", CSynStr::NewPtr("abcdefghijklmnopqrstuvwxyz"),
       "\"abcdefghijklmnopqrstuvwxyz\"", 28},
      {"int", CSynNum::NewPtr(-42), "-42", 3},
      {"unsigned -1", CSynNum::NewPtr(static_cast<unsigned int>(-1)), "4294967295", 10},
      {"long keeps 32 bits", CSynNum::NewPtr(0x100000005L), "5", 1},
      {"double half", CSynNum::NewPtr(0.5), "0.5", 3},
      {"double whole", CSynNum::NewPtr(5.0), "5", 1},
      {"double six digits", CSynNum::NewPtr(3.14159265), "3.14159", 7},
      {"double exponent", CSynNum::NewPtr(1234567.0), "1.23457e+06", 11},
      {"double small", CSynNum::NewPtr(0.0001), "0.0001", 6},
      {"double tiny", CSynNum::NewPtr(-0.00001234), "-1.234e-05", 10},
      {"float widened", CSynNum::NewPtr(0.25f), "0.25", 4},
      {"char sign-extended", CSynNum::NewPtr(static_cast<char>(-1)), "-1", 2},
      {"unsigned char", CSynNum::NewPtr(static_cast<unsigned char>(200)), "200", 3},
      {"five arguments unsigned", CSynNum::NewPtr(1, 0, -1, 7u, 2.0), "7", 1},
  };
  for (const AtomCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Print(c.node), c.printed);
    EXPECT_EQ(c.node->SubtractPrintLen(100), 100 - c.length);
    EXPECT_EQ(c.node->CanFitOnLine(c.length), TRUE);
    EXPECT_EQ(c.node->CanFitOnLine(c.length - 1), FALSE);
    CSynNode::DeletePtr(c.node);
  }
}

TEST_F(SynNodeTest, ListsAndReferencesMeasureWithTheirOwnRules) {
  CSynList* empty = CSynList::NewPtr();
  EXPECT_EQ(empty->SubtractPrintLen(2), 0);
  EXPECT_EQ(empty->SubtractPrintLen(1), -69);
  CSynList* list = CSynList::NewPtr();
  list->AddNew(CSynTag::NewPtr("Marker"));
  list->AddNew(CSynNum::NewPtr(3));
  list->AddNew(CSynStr::NewPtr("x"));
  // (Marker 3 "x") is 14 characters.
  EXPECT_EQ(list->SubtractPrintLen(14), 0);
  EXPECT_EQ(list->SubtractPrintLen(13), -69);
  EXPECT_EQ(list->SubtractPrintLen(1), -69);
  CSynRef* def = CSynRef::NewPtr(1, list);
  EXPECT_EQ(def->SubtractPrintLen(17), 0);  // #1=(Marker 3 "x")
  EXPECT_EQ(def->SubtractPrintLen(16), -69);
  EXPECT_EQ(def->SubtractPrintLen(2), -69);
  CSynRef* use = CSynRef::NewPtr(12, nullptr);
  EXPECT_EQ(use->SubtractPrintLen(4), 0);  // #12#
  CSynList* outer = CSynList::NewPtr();
  outer->AddNew(empty);
  outer->AddNew(def);
  outer->AddNew(use);
  // (() #1=(Marker 3 "x") #12#): 1 + 2 + 1 + 17 + 1 + 4 + 1
  EXPECT_EQ(outer->SubtractPrintLen(27), 0);
  EXPECT_EQ(outer->SubtractPrintLen(26), -69);
  CSynNode::DeletePtr(outer);
  // The reference does not own the shared list.
  EXPECT_EQ(list->GetCount(), 3);
  CSynNode::DeletePtr(list);
}

TEST_F(SynNodeTest, SmallWholeNumbersComeFromTheCache) {
  CSynNum* seven = CSynNum::NewPtr(7);
  EXPECT_EQ(CSynNum::NewPtr(7), seven);
  CSynNode::DeletePtr(seven);
  EXPECT_EQ(static_cast<int>(*seven), 7);
  EXPECT_EQ(seven->GetDouble(), 7.0);
  CSynNum* fresh = CSynNum::NewPtr(7L);
  EXPECT_NE(fresh, seven);
  CSynNode::DeletePtr(fresh);
  CSynNum* twenty = CSynNum::NewPtr(20);
  CSynNum* twentyAgain = CSynNum::NewPtr(20);
  EXPECT_NE(twenty, twentyAgain);
  CSynNode::DeletePtr(twenty);
  CSynNode::DeletePtr(twentyAgain);
}

TEST_F(SynNodeTest, NumbersHoldAllThreeValues) {
  CSynNum* d = CSynNum::NewPtr(-2.75);
  EXPECT_EQ(static_cast<long>(*d), -2);
  EXPECT_EQ(static_cast<double>(*d), -2.75);
  EXPECT_EQ(d->IsInteger(), 0);
  CSynNum* u = CSynNum::NewPtr(static_cast<unsigned int>(-1));
  EXPECT_EQ(static_cast<int>(*u), -1);
  EXPECT_EQ(static_cast<unsigned long>(*u), 4294967295ul);
  EXPECT_EQ(static_cast<double>(*u), 4294967295.0);
  CSynNum* big = CSynNum::NewPtr(70000);
  EXPECT_EQ(static_cast<short>(*big), static_cast<short>(70000 & 0xFFFF));
  EXPECT_EQ(static_cast<unsigned char>(*big), static_cast<unsigned char>(70000 & 0xFF));
  CSynNum* huge = CSynNum::NewPtr(1e20);
  EXPECT_EQ(huge->GetLong(), INT32_MIN);  // out of range, as the suite's platform converts
  for (CSynNum* n : {d, u, big, huge}) CSynNode::DeletePtr(n);
}

TEST_F(SynNodeTest, DoublesPrintLikePrintfPercentG) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-8, 12);
  // Rounding edges first, then random values.
  const double edges[] = {999999.5, 999999.4, 0.5, 1.0, 999999.0, 100000.05, 2.5, 1e6, -0.0, 0.0};
  for (size_t i = 0; i < 200000; ++i) {
    double v = mantissa(rng) * std::pow(10.0, exponent(rng));
    if (i % 4 == 0) v = std::round(v * 1000.0) / 1000.0;  // decimal ties and whole numbers
    if (i % 16 == 1) v = static_cast<double>(rng() % 2000000) / 7.0;
    if (i < std::size(edges)) v = edges[i];
    char expected[64];
    std::snprintf(expected, sizeof expected, "%g", v);
    CSynNum* n = CSynNum::NewPtr(v);
    char got[32];
    int len = n->Print(got);
    ASSERT_EQ(std::string(got, static_cast<size_t>(len)), expected) << "value " << v;
    ASSERT_EQ(n->PrintLength(), len);
    CSynNode::DeletePtr(n);
  }
}

// Whole-number tokens take a short path; every token must give the values the general
// conversion gives: the double as strtod reads it, the 32-bit bits as "%ld" wraps them.
TEST_F(SynNodeTest, NumberTokensGiveTheValuesOfTheGeneralConversion) {
  struct Case {
    const char* token;
    int isInteger;
    int isSigned;
    uint32_t bits;
  };
  const Case cases[] = {
      {"7", 1, 1, 7u},
      {"42", 1, 1, 42u},
      {"-0", 1, 1, 0u},
      {"+0", 1, 1, 0u},
      {"+35", 1, 1, 35u},
      {"-1", 1, 1, 0xFFFFFFFFu},
      {"-2147483648", 1, 1, 0x80000000u},
      {"-2147483649", 1, 1, 0x7FFFFFFFu},
      {"4294967297", 1, 1, 1u},
      {"000123", 1, 1, 123u},
      {"999999999999999", 1, 1, static_cast<uint32_t>(999999999999999ull)},
      {"-999999999999999", 1, 1, static_cast<uint32_t>(0ull - 999999999999999ull)},
      {"9007199254740993", 1, 1, static_cast<uint32_t>(9007199254740993ull)},
      {"12345678901234567890", 1, 1, static_cast<uint32_t>(12345678901234567890ull)},
      {"1e5", 1, 1, 1u},
      {"-12.5", 0, 1, static_cast<uint32_t>(-12)},
      {"3-4", 1, 1, 3u},
      {"-", 1, 0, 0u},
      {"+-3", 1, 0, 0u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.token);
    CSynNum* n = CSynNum::FromToken(c.token);
    const double expected = std::strtod(c.token, nullptr);
    EXPECT_EQ(n->IsInteger(), c.isInteger);
    EXPECT_EQ(static_cast<double>(*n), expected);
    EXPECT_EQ(std::signbit(static_cast<double>(*n)), std::signbit(expected));
    EXPECT_EQ(static_cast<unsigned long>(*n), c.bits);
    EXPECT_EQ(static_cast<long>(*n), static_cast<long>(static_cast<int32_t>(c.bits)));
    if (c.isInteger) {
      EXPECT_EQ(n->IsSigned(), c.isSigned);
    }
    CSynNode::DeletePtr(n);
  }
}

// Decimal tokens take a short path too: whatever their digits, point and sign, the double
// is the one strtod reads, to the last bit.
TEST_F(SynNodeTest, DecimalTokensGiveStrtodsDoubleToTheLastBit) {
  std::vector<std::string> tokens = {"0.5",
                                     ".5",
                                     "5.",
                                     "-0.0",
                                     "+.25",
                                     "1.2.3",
                                     ".",
                                     "-.",
                                     "0.1",
                                     "0.3",
                                     "1e.5",
                                     "-1.5",
                                     "12.-3",
                                     "1.0e3",
                                     "9.99",
                                     "0.0001",
                                     "1234567890.12345",
                                     "0.000000000000001",
                                     "123456789012345.6",
                                     "9007199254740.993"};
  std::mt19937_64 rng(7);
  for (int i = 0; i < 20000; ++i) {
    std::string t;
    if (rng() % 4 == 0) t += rng() % 2 ? '-' : '+';
    const int digits = 1 + static_cast<int>(rng() % 17);
    // One in four is a whole number: no point at all.
    const int point =
        rng() % 4 == 0 ? -1 : static_cast<int>(rng() % static_cast<uint64_t>(digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == point) t += '.';
      t += static_cast<char>('0' + rng() % 10);
    }
    if (point == digits) t += '.';
    tokens.push_back(t);
  }
  for (const std::string& token : tokens) {
    SCOPED_TRACE(token);
    CSynNum* n = CSynNum::FromToken(token);
    const double expected = std::strtod(token.c_str(), nullptr);
    const double got = static_cast<double>(*n);
    CSynNode::DeletePtr(n);
    ASSERT_EQ(std::memcmp(&expected, &got, sizeof got), 0) << expected << " " << got;
  }
}

// The eight-byte scan against one character at a time: every byte value next to quotes
// and backslashes, at every place in the word, and the eight-byte steps meeting the tail.
TEST_F(SynNodeTest, EightByteScansFindWhatOneByteScansFind) {
  std::mt19937_64 rng(11);
  const std::string likely = "a\"\\!]\xA2\xDC";
  for (int i = 0; i < 100000; ++i) {
    char bytes[8];
    for (char& b : bytes)
      b = rng() % 3 ? likely[rng() % likely.size()] : static_cast<char>(rng() % 256);
    const size_t n = rng() % 9;
    const std::string_view text(bytes, n);
    const size_t want = std::min(text.find_first_of("\"\\"), n);
    ASSERT_EQ(zel_sxf::byte_runs::FindQuoteOrBackslash(bytes, n), want)
        << testing::PrintToString(std::string(text));
  }
  for (size_t length = 0; length < 40; ++length) {
    for (size_t at = 0; at <= length; ++at) {
      std::string text(length, 'a');
      if (at < length) text[at] = at % 2 ? '"' : '\\';
      ASSERT_EQ(zel_sxf::byte_runs::FindQuoteOrBackslash(text.data(), text.size()), at);
    }
  }
}

TEST_F(SynNodeTest, TokenCharacterClasses) {
  struct Case {
    int c;
    int tagFirst, tagLater, numFirst, numLater, ref;
  };
  const Case cases[] = {
      {'a', 1, 1, 0, 0, 0}, {'Z', 1, 1, 0, 0, 0}, {'7', 0, 1, 1, 1, 1}, {'_', 0, 1, 0, 0, 0},
      {'-', 0, 1, 1, 1, 0}, {'+', 0, 1, 1, 1, 0}, {'.', 0, 1, 1, 1, 0}, {'e', 1, 1, 0, 1, 0},
      {'E', 1, 1, 0, 1, 0}, {'&', 0, 1, 0, 0, 0}, {'(', 0, 0, 0, 0, 0}, {'"', 0, 0, 0, 0, 0},
      {';', 0, 0, 0, 0, 0}, {200, 0, 0, 0, 0, 0}, {'#', 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.c);
    EXPECT_EQ(!!CSynTag::IsTokenChar(c.c, 1), !!c.tagFirst);
    EXPECT_EQ(!!CSynTag::IsTokenChar(c.c, 0), !!c.tagLater);
    EXPECT_EQ(!!CSynNum::IsTokenChar(c.c, 1), !!c.numFirst);
    EXPECT_EQ(!!CSynNum::IsTokenChar(c.c, 0), !!c.numLater);
    EXPECT_EQ(!!CSynRef::IsTokenChar(c.c, 1), !!c.ref);
  }
}

TEST_F(SynNodeTest, TagsCompareWithoutCase) {
  CSynTag* a = CSynTag::NewPtr("Nil");
  CSynTag* b = CSynTag::NewPtr("NIL");
  EXPECT_TRUE(*a == *b);
  EXPECT_TRUE(*a == "nil");
  EXPECT_TRUE(*a != "Nils");
  CSynNode::DeletePtr(a);
  CSynNode::DeletePtr(b);
}

}  // namespace

namespace {

// The pool's chunks while blocks of three chunks' worth are freed inside and outside a
// release scope: what is freed outside is reused, a chunk emptied inside goes back, and
// the free lists never point into a chunk that went back.
TEST_F(SynNodeTest, ChunksEmptiedInAReleaseScopeGoBackAndTheRestIsReused) {
  constexpr size_t kBlock = 48;
  const size_t perChunk = zel_memory::kLargeChunkBytes / kBlock;
  std::vector<void*> blocks;
  for (size_t i = 0; i < 3 * perChunk; ++i) blocks.push_back(zel_sxf::PoolAlloc(kBlock));
  const size_t full = zel_sxf::PoolChunks();
  EXPECT_GE(full, 3u);

  // Outside a scope the blocks are kept for reuse: the chunk stays, and they come back.
  std::vector<void*> again;
  for (size_t i = 0; i < 100; ++i) zel_sxf::PoolFree(blocks[i], kBlock);
  for (size_t i = 0; i < 100; ++i) again.push_back(zel_sxf::PoolAlloc(kBlock));
  EXPECT_EQ(zel_sxf::PoolChunks(), full);
  std::sort(again.begin(), again.end());
  std::vector<void*> firstHundred(blocks.begin(), blocks.begin() + 100);
  std::sort(firstHundred.begin(), firstHundred.end());
  EXPECT_EQ(again, firstHundred);

  // Some blocks of the first chunk go to the free list outside a scope, the rest inside
  // one: the chunk goes back, and the blocks freed outside are forgotten with it.
  for (size_t i = 0; i < 10; ++i) zel_sxf::PoolFree(blocks[i], kBlock);
  {
    zel_sxf::PoolReleaseScope release;
    for (size_t i = 10; i < 2 * perChunk; ++i) zel_sxf::PoolFree(blocks[i], kBlock);
  }
  EXPECT_LE(zel_sxf::PoolChunks(), full - 1);
  // New blocks never come from the chunk that went back (the sanitizers would see it).
  for (size_t i = 0; i < 2 * perChunk; ++i) blocks[i] = zel_sxf::PoolAlloc(kBlock);
  for (void*& b : blocks) std::memset(b, 0x5A, kBlock);
  for (void* b : blocks) zel_sxf::PoolFree(b, kBlock);
  EXPECT_EQ(zel_sxf::PoolChunks(), 1u);  // all free: the pool keeps one chunk
}

}  // namespace
