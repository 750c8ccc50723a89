// Detection in bulk: the base-run scans agree with the portable one, detection with its
// fast path agrees with plain line-by-line reading on random documents, and a line ends
// at its first zero byte.
#include <random>
#include <string>
#include <vector>

#include "files/SequenceDetection.h"
#include "files/SequenceScanInternal.h"
#include "tests/support/TestSupport.h"

namespace {

struct Guess {
  int seqType = -1, format = -1, archive = -1;
  bool operator==(const Guess&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Guess& g) {
  return os << "{seq " << g.seqType << ", format " << g.format << ", archive " << g.archive << "}";
}

// plain: the disk file is lent out first, which keeps the stream from reading ahead, so
// every line is read one by one.
Guess GuessFile(const std::string& path, bool plain) {
  CEkStream stream(path.c_str(), CFile::modeRead);
  if (plain) stream.GetSFD();
  Guess g;
  TryToGuessFtype(&stream, &g.seqType, &g.format, &g.archive);
  return g;
}

#if defined(__x86_64__)
TEST(BaseRunTest, ScansAgreeWithThePortableOne) {
  std::vector<std::pair<const char*, zel_seqscan::BaseRunFn>> scans = {
      {"sse2", &zel_seqscan::BaseRunSse2}};
  if (auto avx2 = zel_seqscan::BaseRunAvx2()) scans.push_back({"avx2", avx2});
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  const std::string alphabet = "acgtnuACGTNU\r\n";
  const std::string others = "bxX>/ \t0\x80\xff";
  for (int round = 0; round < 3000; ++round) {
    std::string text(rng() % 200, 'a');
    for (char& c : text)
      c = rng() % 50 ? alphabet[rng() % alphabet.size()] : others[rng() % others.size()];
    if (rng() % 3 == 0)  // runs without any base
      for (char& c : text) c = c == '\r' || c == '\n' ? c : '\n';
    bool want = rng() % 2, start = want;
    const size_t run = zel_seqscan::BaseRunPortable(text.data(), text.size(), want);
    for (const auto& [name, scan] : scans) {
      SCOPED_TRACE(name);
      bool got = start;
      ASSERT_EQ(scan(text.data(), text.size(), got), run) << "round " << round;
      EXPECT_EQ(got, want);
    }
  }
}
#endif

class DetectBulkTest : public zel_test::ZelTest {};

// Documents of FASTA and GenBank shape whose sequence lines are mostly bases, with now and
// then a line of other letters, a number, a zero byte or a stop marker, under every line
// end and with lines longer than the stream's read-ahead.
TEST_F(DetectBulkTest, FastPathAnswersAsLineByLineReading) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  const char* ends[] = {"\n", "\r\n", "\r", "\n\r", "\n\n"};
  const char* odd[] = {"MKVLAAGIVL", "12 acgt",  "acgt\0xyz", "//",
                       ">next",      "ACGTRYKM", "",          "Length: 5 Check: 1 Type: N",
                       "acgtq",      "n"};
  const std::string path = tmp / "doc.txt";
  // One word of bases running past the read-ahead into letters that make it no sequence
  // at all: its bases alone must not count.
  std::string word;
  for (int i = 0; i < 100000; ++i) word += "acgu";
  zel_test::WriteFile(path, ">s\n" + word + "e1\n");
  EXPECT_EQ(GuessFile(path, false), (Guess{0, 3, 0}));
  for (int round = 0; round < 60; ++round) {
    std::string doc = round % 2 ? ">seq\n" : "LOCUS x 10\nORIGIN\n";
    const char* end = ends[rng() % 5];
    const bool longLines = round % 10 == 9;
    const int lines = 1 + static_cast<int>(rng() % (longLines ? 6 : 400));
    for (int i = 0; i < lines; ++i) {
      if (rng() % 40 == 0) {
        const char* o = odd[rng() % 10];
        doc.append(o, o == odd[2] ? 8 : std::strlen(o));
      } else {
        const size_t n = longLines ? 100000 + rng() % 200000 : rng() % 120;
        for (size_t k = 0; k < n; ++k) doc += "acgtnuACGTNU"[rng() % 12];
      }
      doc += rng() % 30 ? end : ends[rng() % 5];
    }
    zel_test::WriteFile(path, doc);
    SCOPED_TRACE("round " + std::to_string(round));
    EXPECT_EQ(GuessFile(path, false), GuessFile(path, true));
  }
}

TEST_F(DetectBulkTest, ALineEndsAtItsFirstZeroByte) {
  const std::string path = tmp / "index.bin";
  struct Case {
    std::string text;
    Guess want;
  } cases[] = {
      // A binary index whose lines hold the word only after a zero byte is no GenBank file.
      {std::string("\x01\x00LOCUS       pBR322 5386 bp DNA\n", 33), {0, 0, 0}},
      {std::string("ID\0   X 1 BP.\n", 14), {0, 0, 0}},
      {std::string(">s\nacgtacgtac\0MKVLQ*EL\n", 23), {1, 3, 0}},
      {std::string(">s\nMKVLAA\0acgtacgtacgt\n", 22), {2, 3, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 8));
    zel_test::WriteFile(path, c.text);
    EXPECT_EQ(GuessFile(path, false), c.want);
    EXPECT_EQ(GuessFile(path, true), c.want);
  }
}

}  // namespace
