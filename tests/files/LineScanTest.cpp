// The line-end scans and counts: the vector code agrees with the portable code, and the
// text file's fast count with its line-by-line reading, on random input.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "files/FileLineCountInternal.h"
#include "files/LineEndSearchInternal.h"
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
    if (auto avx2 = zel_linescan::FindLineEndAvx2()) {
      EXPECT_EQ(avx2(src, src + avail), zel_linescan::FindLineEndPortable(src, src + avail));
    }

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

// A file's stretch counted by offset, in one thread or two, in pieces of any size, agrees
// with the portable count of the same bytes: CR LF pairs and lone CRs straddle every
// split and piece boundary.
TEST(LineScanTest, CountByOffsetAgreesAtEverySplitAndPieceSize) {
  zel_test::TempDir tmp;
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  std::string text;
  const char* ends[] = {"\r", "\n", "\r\n", "\n\r", "\r\r\n"};
  while (text.size() < 200) {
    text.append(rng() % 6, 'x');
    text += ends[rng() % 5];
  }
  const std::string path = tmp / "t.txt";
  zel_test::WriteFile(path, text);
  CFile file(path.c_str(), CFile::modeRead);
  const uint64_t n = text.size();
  for (const size_t piece : {size_t{1}, size_t{2}, size_t{7}, size_t{64}, size_t{4096}})
    for (const uint64_t from : {uint64_t{0}, uint64_t{1}, uint64_t{5}})
      for (const bool prevCR : {false, true})
        for (uint64_t split = from; split <= n; ++split) {
          SCOPED_TRACE("piece " + std::to_string(piece) + " from " + std::to_string(from) +
                       " split " + std::to_string(split) + (prevCR ? " after CR" : ""));
          bool wantCR = prevCR;
          const uint64_t want = zel_linescan::CountLineEndsPortable(
              text.data() + from, static_cast<size_t>(n - from), wantCR);
          zel_linescan::FileLineEnds got;
          ASSERT_FALSE(
              zel_linescan::CountFileLineEnds(file.m_hFile, from, split, n, prevCR, got, piece));
          ASSERT_EQ(got.ends, want);
          EXPECT_EQ(got.bytes, n - from);
          EXPECT_EQ(got.lastCR, wantCR);
          EXPECT_EQ(got.lastEnd, text.back() == '\r' || text.back() == '\n');
        }
}

// Counting after some lines were read goes on where they stopped, the buffered rest first
// and the file's remainder by offset, a CR LF pair split between them included.
TEST(LineScanTest, CountAfterReadingLinesCountsTheRest) {
  zel_test::TempDir tmp;
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  std::string text;
  const char* ends[] = {"\r", "\n", "\r\n"};
  while (text.size() < 2 * CZelTextFile::kReadAhead) {
    text.append(rng() % 200, 'y');
    text += ends[rng() % 3];
  }
  text.replace(CZelTextFile::kReadAhead - 1, 2, "\r\n");
  text += "tail";
  const std::string path = tmp / "t.txt";
  zel_test::WriteFile(path, text);
  long long total = 0;
  {
    CZelTextFile all(CZelFileSpec(path.c_str(), 0));
    ASSERT_TRUE(all.OpenInput());
    CString line;
    while (all.ReadLineLong(line)) ++total;
    total += !line.IsEmpty();
  }
  for (long long read : {0LL, 1LL, total / 2, total - 1}) {
    SCOPED_TRACE("after " + std::to_string(read) + " lines");
    CZelTextFile file;
    file.SetFileSpec(path.c_str(), 0);
    ASSERT_TRUE(file.AttachInput(std::make_unique<CFile>(path.c_str(), CFile::modeRead)));
    CString line;
    long long done = 0;
    while (done < read && file.ReadLineLong(line)) ++done;
    EXPECT_EQ(file.CountLinesToEnd() + done, total);
  }
}

}  // namespace
