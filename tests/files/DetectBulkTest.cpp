// Detection in bulk: the base-run scans agree with the portable one, detection with its
// fast path agrees with plain line-by-line reading on random documents, lines longer than
// a piece read as whole lines do, and a line ends at its first zero byte.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
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
    // Runs with and without a u, the u before and after where the run stops.
    if (rng() % 2)
      for (char& c : text) c = c == 'u' ? 'a' : c == 'U' ? 'C' : c;
    zel_seqscan::BaseRunSeen want{rng() % 2 == 0, rng() % 2 == 0};
    const zel_seqscan::BaseRunSeen start = want;
    const size_t run = zel_seqscan::BaseRunPortable(text.data(), text.size(), want);
    EXPECT_EQ(want.u, start.u || text.substr(0, run).find_first_of("uU") != std::string::npos);
    for (const auto& [name, scan] : scans) {
      SCOPED_TRACE(name);
      zel_seqscan::BaseRunSeen got = start;
      ASSERT_EQ(scan(text.data(), text.size(), got), run) << "round " << round;
      EXPECT_EQ(got.base, want.base);
      EXPECT_EQ(got.u, want.u);
    }
  }
}
#endif

// The whole lines of bases from the start of text, as the stream's buffer gives them: up
// to the last line end before the first other byte, or all of a run to the end.
zel_seqscan::FileBaseLines WantedBaseLines(const std::string& text) {
  zel_seqscan::BaseRunSeen seen;
  const size_t run = zel_seqscan::BaseRunPortable(text.data(), text.size(), seen);
  zel_seqscan::FileBaseLines want;
  want.toEnd = run == text.size();
  const size_t end = text.find_last_of("\r\n", run == 0 ? 0 : run - 1);
  want.taken = want.toEnd ? run : end == std::string::npos || run == 0 ? 0 : end + 1;
  want.base = text.substr(0, want.taken).find_first_not_of("\r\n") != std::string::npos;
  return want;
}

// A file's run of base lines scanned by offset, in one thread or two, in pieces of any
// size, agrees with the same bytes scanned whole: line ends (a CR LF pair split too),
// ambiguity letters, digits, zero bytes and other bytes straddle every split and piece
// boundary, and the file ends with and without a line end.
TEST(BaseRunTest, FileScanAgreesAtEverySplitAndPieceSize) {
  zel_test::TempDir tmp;
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  const std::string path = tmp / "run.fa";
  const char* ends[] = {"\n", "\r\n", "\r", "\n\r"};
  const std::string others("ry7X>\0 ", 7);
  std::vector<std::string> texts = {"", "\n", "acgt", "acgt\r\nACGT\r", "\r\n\r\n", "x"};
  for (int i = 0; i < 16; ++i) {
    std::string text;
    const size_t length = 20 + rng() % 150;
    while (text.size() < length) {
      text.append(rng() % 9, "acgtnuACGTNU"[rng() % 12]);
      text += ends[rng() % 4];
    }
    // None, one, or many bytes that are neither base nor line end.
    for (int k = i % 3 == 0 ? 0 : 1 + static_cast<int>(rng() % (i % 3 == 1 ? 1 : 8)); k > 0; --k)
      text[rng() % text.size()] = others[rng() % others.size()];
    if (i % 4 == 0) text.pop_back();  // no line end at the end
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    zel_test::WriteFile(path, text);
    CFile file(path.c_str(), CFile::modeRead);
    const uint64_t n = text.size();
    for (const size_t piece : {size_t{1}, size_t{3}, size_t{32}, size_t{4096}})
      for (const uint64_t from : {uint64_t{0}, uint64_t{1}, uint64_t{7}}) {
        if (from > n) continue;
        const zel_seqscan::FileBaseLines want = WantedBaseLines(text.substr(from));
        for (uint64_t split = from; split <= n; ++split) {
          SCOPED_TRACE("text \"" + text + "\" piece " + std::to_string(piece) + " from " +
                       std::to_string(from) + " split " + std::to_string(split));
          zel_seqscan::FileBaseLines got;
          ASSERT_FALSE(zel_seqscan::ScanFileBaseLines(file.m_hFile, from, split, n, got, piece));
          ASSERT_EQ(got.taken, want.taken);
          EXPECT_EQ(got.toEnd, want.toEnd);
          EXPECT_EQ(got.base, want.base);
        }
      }
  }
}

class DetectBulkTest : public zel_test::ZelTest {};

// Guesses from a memory stream over bytes: the stream's buffer holds them all, so base
// lines are never followed in a file.
Guess GuessMemory(std::string bytes) {
  CString text(bytes.data(), static_cast<int>(bytes.size()));
  CEkStream stream(&text, static_cast<unsigned>(bytes.size()));
  Guess g;
  TryToGuessFtype(&stream, &g.seqType, &g.format, &g.archive);
  return g;
}

// Base lines that run on past the stream's buffer are followed in a plain file by offset:
// the answer is the one of the same bytes in memory when what ends the run lies at, just
// before or just after the boundaries of the scan's pieces and halves, where the buffer
// ends, or nowhere.
TEST_F(DetectBulkTest, FileScanAnswersAsAMemoryStream) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  const std::string path = tmp / "big.fa";
  const std::string header = ">s\n";
  const size_t window = 256 << 10, piece = 64 << 10;
  // Lines of 60 bases; a text at `at` then ends the run (or a line end is split there).
  auto document = [&](size_t length, const std::string& end, size_t at, const char* line) {
    std::string doc = header;
    while (doc.size() < length) {
      doc.append(60, "acgtACGTnN"[rng() % 10]);
      doc += line;
    }
    doc.resize(length);
    if (!end.empty()) doc.replace(std::min(at, length - end.size()), end.size(), end);
    return doc;
  };
  struct Case {
    std::string end;  // what ends the run
    const char* line;
  } cases[] = {{"MKVL\n", "\n"},
               {"\r\nMKVL\n", "\r\n"},
               {std::string("\0MK\n", 4), "\n"},
               {"r\n", "\r"},
               {"7\n", "\n"},
               {"\r\n", "\r\n"},
               {"acgtq\n", "\n"},
               {"", "\n"},
               {"\n\nMK", "\n"},
               {"acgtacgtee", "\r"}};
  for (const Case& c : cases) {
    for (const size_t base : {window, window + piece, window + 3 * piece})
      for (const int shift : {-2, -1, 0, 1, 2}) {
        const size_t length = window + 5 * piece + rng() % 100;
        const size_t at = base + static_cast<size_t>(shift);
        const std::string doc = document(length, c.end, at, c.line);
        SCOPED_TRACE("end \"" + c.end + "\" at " + std::to_string(at));
        zel_test::WriteFile(path, doc);
        ASSERT_EQ(GuessFile(path, false), GuessMemory(doc));
      }
  }
  // A file with nothing after the header, and one whose only line has no end.
  for (const std::string& doc : {header, header + "acgt", header + std::string(window, 'a')}) {
    zel_test::WriteFile(path, doc);
    EXPECT_EQ(GuessFile(path, false), GuessMemory(doc));
  }
  // A file big enough for two threads, a run's end right at, before and after their split.
  const size_t big = (size_t{64} << 20) + window + piece;
  const size_t split = window + (big - window) / 2;
  for (const auto& [end, at] : std::vector<std::pair<std::string, size_t>>{
           {"MKVL\n", split}, {"\r\nMKVL\n", split - 1}, {"r", split + 1}, {"", 0}}) {
    const std::string doc = document(big, end, at, "\r\n");
    SCOPED_TRACE("big, end \"" + end + "\" at " + std::to_string(at));
    zel_test::WriteFile(path, doc);
    EXPECT_EQ(GuessFile(path, false), GuessMemory(doc));
  }
}

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

// The detection rules read literally, each line whole, as a reference for the reading in
// pieces.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  for (char c : line + ' ') {
    if (c == ' ' || c == '\f' || c == '\r' || c == '\n') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  return words;
}

bool Has(const std::string& line, const char* what) { return line.find(what) != std::string::npos; }

bool NextLine(CEkStream& stream, std::string& line) {
  CString text;
  if (!stream.ReadString(text)) return false;
  line = text.GetString();  // up to the first zero byte
  return true;
}

int ReferenceSeqType(CEkStream& stream, const std::vector<const char*>& markers) {
  int result = 0;
  std::string line;
  while (NextLine(stream, line)) {
    for (const char* m : markers)
      if (Has(line, m)) return result;
    if (Has(line, "Length") || Has(line, "Check") || Has(line, "Type")) continue;
    for (std::string word : Words(line)) {
      if (std::atoi(word.c_str()) != 0) continue;
      for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (IsNuclSeq(word.data())) {
        if (result != 2) result = 1;
      } else if (IsProtSeq(word.c_str())) {
        result = 2;
      }
    }
  }
  return result;
}

Guess ReferenceGuess(const std::string& path) {
  CEkStream stream(path.c_str(), CFile::modeRead);
  Guess g{0, 0, 0};
  std::string line;
  bool keyword = false;
  while (NextLine(stream, line)) {
    if (Has(line, "@552656AS34@") || Has(line, "@752656AS34@")) return {2, 6, 1};
    if (Has(line, "@551656AS34@") || Has(line, "@751656AS34@")) return {1, 6, 1};
    if (line[0] == '>') {
      g.format = 3;
      break;
    }
    if ((keyword = Has(line, "LOCUS") || Has(line, "ID   "))) break;
  }
  if (keyword) {
    g.format = Has(line, "ID   ") ? 2 : 1;
    for (const std::string& word : Words(line)) {
      if (LocusLooksLike(2, word.c_str())) return {2, g.format, 0};
      if (LocusLooksLike(1, word.c_str())) return {1, g.format, 0};
    }
  }
  if (g.format == 3) g.seqType = ReferenceSeqType(stream, {"//", ">"});
  if (g.format != 1 && g.format != 2) return g;
  while (NextLine(stream, line))
    if (Has(line, "ORIGIN") || Has(line, "SQ   ") ||
        (Has(line, "Length") && Has(line, "Check") && Has(line, "Type"))) {
      g.seqType = ReferenceSeqType(stream, {"LOCUS", "ID   ", "//"});
      break;
    }
  return g;
}

// Lines of several pieces, with the texts and words that decide placed across the places
// where one piece ends and the next begins.
TEST_F(DetectBulkTest, LongLinesReadInPiecesAsWholeLines) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  const std::string path = tmp / "long.txt";
  const std::vector<std::string> tokens = {"LOCUS",
                                           "ID   ",
                                           "@551656AS34@",
                                           "@752656AS34@",
                                           "aa",
                                           " prt ",
                                           " bp ",
                                           "cDNA",
                                           " circular ",
                                           "circulars",
                                           "ORIGIN",
                                           "SQ   ",
                                           "Length",
                                           "Check",
                                           "Type",
                                           "//",
                                           ">",
                                           " 12 ",
                                           " -0 ",
                                           " +7x ",
                                           " \t3 ",
                                           " 4294967296 ",
                                           " MKVLQ ",
                                           " acgtr ",
                                           "acgte",
                                           " ACGT ",
                                           std::string("a\0b", 3),
                                           "\r\n",
                                           "\n\r",
                                           "\r",
                                           "\n"};
  const size_t piece = CEkStream::kLinePiece;
  for (int round = 0; round < 120; ++round) {
    std::string doc = round % 3 == 0 ? ">s\n" : round % 3 == 1 ? "" : "LOCUS x y\nORIGIN\n";
    const int lines = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < lines; ++i) {
      // A line filling most of one to three pieces, then tokens near the edge of a piece.
      const size_t length = piece * (1 + rng() % 3) - rng() % 16;
      std::string line;
      while (line.size() < length) line += rng() % 4 ? "acgt"[rng() % 4] : " MK"[rng() % 3];
      for (int t = 0; t < 3; ++t) line += tokens[rng() % tokens.size()];
      doc += line + (i % 2 ? "\n" : "\r\n");
    }
    zel_test::WriteFile(path, doc);
    SCOPED_TRACE("round " + std::to_string(round));
    EXPECT_EQ(GuessFile(path, false), ReferenceGuess(path));
  }
}

// The peak of this process's resident memory in kB, from /proc; -1 when not known.
long PeakKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

// A sequence held on one line costs the reading no more memory than a short one: the
// line is never held whole.
TEST_F(DetectBulkTest, ALongLineIsNeverHeldWhole) {
  const std::string path = tmp / "oneline.fa";
  {
    std::ofstream out(path, std::ios::binary);
    std::string chunk(1 << 20, 'a');
    for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = "ACGT"[(i * 7 + i / 5) % 4];
    out << ">s\n";
    for (int i = 0; i < 64; ++i) out << chunk;
    out << "\nMKVL\n";
  }
  // Setting the peak back to what is in use now lets it measure the detection alone.
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = PeakKb();
  if (before < 0) GTEST_SKIP() << "no peak memory to read here";
  EXPECT_EQ(GuessFile(path, false), (Guess{2, 3, 0}));
  const long growth = PeakKb() - before;
  EXPECT_LT(growth, 16 * 1024) << growth << " kB for a line of 64 MiB";
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
