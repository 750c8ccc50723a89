// The line-end scans and counts: the vector code agrees with the portable code, and the
// text file's fast count with its line-by-line reading, on random input.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/LineScan.h"
#include "files/ZelTextFile.h"
#include "tests/support/TestSupport.h"

namespace {

#if defined(__SSE2__)
// Random bytes with line ends at a chosen density, padded as the read-ahead pads them.
std::vector<char> RandomText(std::mt19937& rng, size_t n, unsigned endEvery) {
  std::vector<char> text(n + zel_linescan::kReadPastEnd + 1, '\0');
  for (size_t i = 0; i < n; ++i) {
    unsigned r = rng() % endEvery;
    text[i] = r == 0 ? '\n' : r == 1 ? '\r' : static_cast<char>('a' + rng() % 26);
  }
  return text;
}

TEST(LineScanTest, VectorAndPortableScansAgree) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  for (int round = 0; round < 3000; ++round) {
    const size_t n = rng() % 300;
    const unsigned endEvery = 2 + rng() % 200;
    std::vector<char> text = RandomText(rng, n, endEvery);
    const unsigned start = n ? static_cast<unsigned>(rng() % n) : 0;
    const unsigned avail = static_cast<unsigned>(n - start);
    const char* src = text.data() + start;

    EXPECT_EQ(zel_linescan::FindLineEndSse2(src, src + avail),
              zel_linescan::FindLineEndPortable(src, src + avail));

    // A destination both roomy and tight, so both ways of storing are taken.
    const unsigned room = rng() % 2 ? avail + 64 : avail + 1;
    std::string vec(room, '#'), port(room, '#');
    unsigned a = zel_linescan::CopyToLineEndSse2(src, avail, vec.data(), room);
    unsigned b = zel_linescan::CopyToLineEndPortable(src, avail, port.data(), room);
    ASSERT_EQ(a, b) << "at round " << round;
    EXPECT_EQ(vec.substr(0, a), port.substr(0, b));
    EXPECT_EQ(vec.substr(0, a), std::string(src, a));
  }
}

TEST(LineScanTest, EveryLineEndCounterAgreesWithThePortableOne) {
  std::vector<std::pair<const char*, zel_linescan::CountLineEndsFn>> counters = {
      {"sse2", &zel_linescan::CountLineEndsSse2}};
  if (auto avx2 = zel_linescan::CountLineEndsAvx2()) counters.push_back({"avx2", avx2});
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  for (int round = 0; round < 2000; ++round) {
    std::vector<char> text = RandomText(rng, rng() % 400, 1 + rng() % 40);
    const size_t n = text.size() - zel_linescan::kReadPastEnd - 1;
    // Counted in two pieces, so that a CR LF pair may straddle them.
    const size_t cut = n ? rng() % (n + 1) : 0;
    bool cr = rng() % 2, start = cr;
    uint64_t want = zel_linescan::CountLineEndsPortable(text.data(), cut, cr);
    want += zel_linescan::CountLineEndsPortable(text.data() + cut, n - cut, cr);
    for (const auto& [name, count] : counters) {
      SCOPED_TRACE(name);
      bool got = start;
      uint64_t ends = count(text.data(), cut, got);
      ends += count(text.data() + cut, n - cut, got);
      ASSERT_EQ(ends, want) << "round " << round;
      EXPECT_EQ(got, cr);
    }
  }
}
#endif

// Files bigger than the read-ahead, so that fills split lines and CR LF pairs, counted
// fast and read line by line.
TEST(LineScanTest, TextFileCountsWhatItsLineReadingReads) {
  zel_test::TempDir tmp;
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  for (int round = 0; round < 6; ++round) {
    std::string text;
    const size_t size = round == 0 ? 0 : CZelTextFile::kReadAhead * (1 + round % 3) + rng() % 999;
    const char* ends[] = {"\r", "\n", "\r\n", "\n\r"};
    while (text.size() < size) {
      text.append(rng() % (round == 5 ? 3000 : 90), 'x');
      text += ends[rng() % 4];
    }
    // A CR LF pair split by the read-ahead, and on odd rounds a last line without end.
    if (text.size() > CZelTextFile::kReadAhead)
      text.replace(CZelTextFile::kReadAhead - 1, 2, "\r\n");
    if (round % 2) text += "tail";
    const std::string path = tmp / "t.txt";
    zel_test::WriteFile(path, text);

    CZelTextFile lines(CZelFileSpec(path.c_str(), 0));
    ASSERT_TRUE(lines.OpenInput());
    long long want = 0;
    CString line;
    while (lines.ReadLineLong(line)) ++want;
    want += !line.IsEmpty();
    CZelTextFile counted(CZelFileSpec(path.c_str(), 0));
    ASSERT_TRUE(counted.OpenInput());
    EXPECT_EQ(counted.CountLinesToEnd(), want) << "round " << round;
  }
}

}  // namespace
