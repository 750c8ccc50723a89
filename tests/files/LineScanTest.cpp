// The line-end scans: the vector code and the portable code agree on random input.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/LineScan.h"

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
#endif

}  // namespace
