// The document engine against a naive reading of the same bytes: the index, line starts
// and numbers, reading forward and backward, gzip and BGZF, the file changing on disk,
// and the search.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>

#include "cli/view/doc/Document.h"
#include "cli/view/doc/DocumentInternal.h"
#include "cli/view/doc/LineText.h"
#include "tests/support/GzipFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"

namespace zel_view {
namespace {

namespace fs = std::filesystem;

// A line as a reader of the library meets it: CR, LF and CR LF end lines, a last line
// without its end counts.
struct NaiveLine {
  Offset start, end, next;
};

std::vector<NaiveLine> NaiveLines(const std::string& bytes) {
  std::vector<NaiveLine> lines;
  Offset start = 0;
  for (Offset i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    Offset next = i + 1;
    if (bytes[i] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    lines.push_back({start, i, next});
    start = next;
    i = next - 1;
  }
  if (start < bytes.size()) lines.push_back({start, bytes.size(), bytes.size()});
  return lines;
}

// Lines of every kind the engine must get right, mixed by a seeded generator.
std::string MixedText(unsigned seed, size_t lines) {
  std::mt19937 random(seed);
  const char* ends[] = {"\n", "\r\n", "\r"};
  std::string out;
  for (size_t i = 0; i < lines; ++i) {
    switch (random() % 8) {
      case 0:
        break;  // empty
      case 1:
        out += std::string("NUL\0inside", 10);
        break;
      case 2:
        out += "caf\xC3\xA9 UTF-8";
        break;
      case 3:
        out += "caf\xE9 Windows-1252";
        break;
      default:
        out += std::string(random() % 120, static_cast<char>('a' + random() % 26));
    }
    out += ends[random() % 3];
  }
  return out;
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class DocumentTest : public ::testing::Test {
 protected:
  // Opens path with small blocks and pieces, so that small files cross many of both.
  std::unique_ptr<Document> Open(const std::string& path, DocumentOptions options = Small()) {
    std::string error;
    auto document = OpenDocument(
        path, [this] { ++changes; }, &error, options);
    EXPECT_TRUE(document) << error;
    return document;
  }
  static DocumentOptions Small() {
    DocumentOptions options;
    options.indexBlock = 1000;
    options.piece = 777;
    options.pollMs = 10;
    return options;
  }
  static bool Counted(Document& document) {
    return zel_test::PollUntil([&] { return !document.State().counting; });
  }

  // Every line read forward, from the start, and checked against the naive lines.
  static void ExpectLines(Document& document, const std::string& bytes) {
    const auto naive = NaiveLines(bytes);
    ASSERT_TRUE(Counted(document));
    const DocumentState state = document.State();
    EXPECT_EQ(state.lines, static_cast<int64_t>(naive.size()));
    EXPECT_EQ(state.contentSize, bytes.size());
    EXPECT_EQ(state.failure, "");
    const auto lines = document.LinesFrom(0, naive.size() + 5);
    ASSERT_EQ(lines.size(), naive.size());
    for (size_t i = 0; i < naive.size(); ++i) {
      SCOPED_TRACE("line " + std::to_string(i));
      const NaiveLine& n = naive[i];
      EXPECT_EQ(lines[i].start, n.start);
      EXPECT_EQ(lines[i].next, n.next);
      EXPECT_EQ(lines[i].number, static_cast<int64_t>(i));
      const std::string_view raw = std::string_view(bytes).substr(n.start, n.end - n.start);
      bool cut;
      EXPECT_EQ(lines[i].text, ShowLine(raw.substr(0, kLongLine),
                                        raw.size() - std::min(raw.size(), kLongLine), &cut));
      EXPECT_EQ(lines[i].cut, raw.size() > kLongLine);
      EXPECT_EQ(document.LineStart(static_cast<int64_t>(i)), n.start);
      EXPECT_EQ(document.LineNumber(n.start), static_cast<int64_t>(i));
    }
    EXPECT_EQ(document.LineStart(static_cast<int64_t>(naive.size())), std::nullopt);
  }

  zel_test::TempDir tmp;
  std::atomic<int> changes{0};
};

TEST_F(DocumentTest, IndexAndLinesMatchANaiveCount) {
  std::string longLine(200 * 1024, 'G');
  longLine[1000] = '\0';
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"one line without an end", "ACGT"},
      {"only line ends", "\n\r\n\r\r\n\n"},
      {"LF CR is two ends", "a\n\rb\n"},
      {"mixed", MixedText(7, 3000)},
      {"mixed without a final end", MixedText(8, 2000) + "last"},
      {"a 200 KiB line", "head\r\n" + longLine + "\r\ntail\n" + longLine},
      {"CR LF across every boundary",
       [] {
         std::string s;
         while (s.size() < 20000) s += std::string(998, 'x') + "\r\n";
         return s;
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = tmp / "mixed.txt";
    Write(path, c.bytes);
    auto document = Open(path);
    ASSERT_TRUE(document);
    ExpectLines(*document, c.bytes);
  }
}

TEST_F(DocumentTest, ProgressMovesAsTheCountingGoes) {
  const std::string bytes = MixedText(5, 2000);
  const std::string path = tmp / "progress.txt";
  Write(path, bytes);
  std::vector<std::pair<Offset, int>> seen;  // contents counted, percent
  Document* document = nullptr;
  std::mutex opened;
  DocumentOptions options = Small();
  options.pieceDone = [&](Offset) {
    std::lock_guard lock(opened);
    if (document) seen.emplace_back(document->State().lines, document->State().percent);
  };
  std::unique_ptr<Document> owner;
  {
    std::lock_guard lock(opened);
    owner = Open(path, options);
    document = owner.get();
  }
  ASSERT_TRUE(owner);
  ASSERT_TRUE(Counted(*owner));
  std::lock_guard lock(opened);
  ASSERT_GT(seen.size(), 10u);
  EXPECT_LT(seen.front().second, 10);
  EXPECT_EQ(owner->State().percent, 100);
  for (size_t i = 1; i < seen.size(); ++i) {
    EXPECT_LE(seen[i - 1].first, seen[i].first);
    EXPECT_LE(seen[i - 1].second, seen[i].second);
  }
  EXPECT_LT(seen[seen.size() / 2].first, static_cast<Offset>(NaiveLines(bytes).size()));
}

TEST_F(DocumentTest, LinesBeforeReadBackFromTheEnd) {
  const std::string bytes = MixedText(11, 500) + "no end";
  const std::string path = tmp / "back.txt";
  Write(path, bytes);
  auto document = Open(path);
  ASSERT_TRUE(document);
  const auto naive = NaiveLines(bytes);

  // At the end, before the counting is known to be done: the last lines.
  const auto last = document->LinesBefore(document->ContentEnd(), 50);
  ASSERT_EQ(last.size(), 50u);
  for (size_t i = 0; i < last.size(); ++i)
    EXPECT_EQ(last[i].start, naive[naive.size() - 50 + i].start);

  ASSERT_TRUE(Counted(*document));
  for (size_t k : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, naive.size() - 1, naive.size()}) {
    SCOPED_TRACE("before line " + std::to_string(k));
    const Offset end = k < naive.size() ? naive[k].start : bytes.size();
    const auto lines = document->LinesBefore(end, 3);
    ASSERT_EQ(lines.size(), std::min<size_t>(k, 3));
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].start, naive[k - lines.size() + i].start);
      EXPECT_EQ(lines[i].number, static_cast<int64_t>(k - lines.size() + i));
    }
  }
  // A file that ends with its line end has no empty line after it.
  Write(path, "one\r\ntwo\r\n");
  std::string error;
  ASSERT_TRUE(document->Reload(&error)) << error;
  const auto two = document->LinesBefore(10, 5);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1].text, "two");
}

TEST_F(DocumentTest, GzipAndBgzfGiveThePlainFilesLines) {
  const std::string bytes = MixedText(21, 4000) + std::string(70000, 'L') + "\nend";
  struct Case {
    const char* name;
    std::string file;
    const char* compression;
  } cases[] = {
      {"gzip", zel_test::Gzip(bytes), "gzip"},
      {"gzip of several members", zel_test::Gzip(bytes, 5000), "gzip"},
      {"bgzf", zel_test::Bgzf(bytes), "bgzf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    zel_test::ScopedEnv tmpdir("TMPDIR", tmp.str());
    const std::string path = tmp / "packed.gz";
    Write(path, c.file);
    auto document = Open(path);
    ASSERT_TRUE(document);
    ExpectLines(*document, bytes);
    EXPECT_EQ(document->State().compression, c.compression);
    EXPECT_EQ(document->State().fileSize, c.file.size());
    const auto last = document->LinesBefore(document->ContentEnd(), 1);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].text, "end");
    // The decompressed copy is unlinked as soon as it is made: nothing is left behind.
    for (const auto& entry : fs::directory_iterator(tmp.path()))
      EXPECT_EQ(entry.path().filename().string().rfind("zel-view-", 0), std::string::npos);
  }
}

TEST_F(DocumentTest, AGzipCopyIsReadWhileItGrows) {
  zel_test::ScopedEnv tmpdir("TMPDIR", tmp.str());
  const std::string bytes = MixedText(31, 3000);
  const auto naive = NaiveLines(bytes);
  const std::string path = tmp / "growing.gz";
  Write(path, zel_test::Gzip(bytes));
  struct Seen {
    Offset end;
    Offset contentEnd;
    std::vector<ShownLine> last;
    int percent;
  };
  std::vector<Seen> seen;
  Document* document = nullptr;
  std::mutex opened;
  DocumentOptions options = Small();
  options.pieceDone = [&](Offset end) {
    std::lock_guard lock(opened);
    if (document)
      seen.push_back(
          {end, document->ContentEnd(), document->LinesBefore(end, 1), document->State().percent});
  };
  std::unique_ptr<Document> owner;
  {
    std::lock_guard lock(opened);
    owner = Open(path, options);
    document = owner.get();
  }
  ASSERT_TRUE(owner);
  ASSERT_TRUE(Counted(*owner));
  std::lock_guard lock(opened);
  ASSERT_GT(seen.size(), 10u);
  // The percent of the decompression moves on as it goes.
  EXPECT_EQ(owner->State().percent, 100);
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i - 1].percent, seen[i].percent);
  for (const Seen& s : seen) {
    SCOPED_TRACE("at " + std::to_string(s.end));
    EXPECT_EQ(s.contentEnd, s.end);
    ASSERT_EQ(s.last.size(), 1u);
    // The last line read so far is the naive line starting there, cut where the copy ends.
    const auto line = std::find_if(naive.begin(), naive.end(),
                                   [&](const NaiveLine& n) { return n.start == s.last[0].start; });
    ASSERT_NE(line, naive.end());
    EXPECT_EQ(s.last[0].next, std::min(line->next, s.end));
  }
}

TEST_F(DocumentTest, DamageAndRefusalAreTold) {
  const std::string bytes = MixedText(41, 3000);
  std::string damaged = zel_test::Gzip(bytes);
  damaged[damaged.size() / 2] ^= 0x55;
  std::string cut = zel_test::Gzip(bytes);
  cut.resize(cut.size() * 2 / 3);
  std::string badBlock = zel_test::Bgzf(bytes + bytes + bytes);
  badBlock[badBlock.size() / 3] ^= 0x55;
  struct Case {
    const char* name;
    std::string file;
    size_t whole;  // the contents undamaged; 0: damage may be found only at the end
  } cases[] = {{"gzip damaged", damaged, 0},
               {"gzip cut short", cut, bytes.size()},
               {"bgzf damaged", badBlock, 3 * bytes.size()}};
  zel_test::ScopedEnv tmpdir("TMPDIR", tmp.str());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = tmp / "bad.gz";
    Write(path, c.file);
    auto document = Open(path);
    ASSERT_TRUE(document);
    ASSERT_TRUE(Counted(*document));
    const DocumentState state = document->State();
    EXPECT_EQ(state.failure.rfind(path + ": damaged compressed data (", 0), 0u) << state.failure;
    if (c.whole) {
      EXPECT_LT(state.contentSize, c.whole);
    }
  }

  const std::string bzip2 = tmp / "x.bz2";
  Write(bzip2, "BZh91AY&SY");
  std::string error;
  EXPECT_EQ(Document::Open(bzip2, nullptr, &error), nullptr);
  EXPECT_EQ(error, bzip2 + ": bzip2 compressed data is not read (gzip and BGZF are)");
  const std::string missing = tmp / "missing.gb";
  EXPECT_EQ(Document::Open(missing, nullptr, &error), nullptr);
  EXPECT_EQ(error.rfind(missing, 0), 0u) << error;
}

TEST_F(DocumentTest, FormatAndKindComeFromTheContents) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* format;
    const char* kind;
    int fileType;
  } cases[] = {
      {"GenBank", "LOCUS       X 5386 bp    DNA     circular\r\nORIGIN\r\n  1 acgt\r\n//\r\n",
       "GenBank", "nucleic acid", 27},
      {"protein FASTA", ">p\nMKVLAAGIV\n", "FASTA (protein)", "protein", 32},
      {"FASTA", ">n\nACGTACGTNN\n", "FASTA", "nucleic acid", 28},
      {"text", "just some words\n", "Text", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = tmp / "seq";
    Write(path, c.bytes);
    auto document = Open(path);
    ASSERT_TRUE(document);
    ASSERT_TRUE(Counted(*document));
    const DocumentState state = document->State();
    EXPECT_EQ(state.format, c.format);
    EXPECT_EQ(state.kind, c.kind);
    EXPECT_EQ(state.protein, std::string(c.kind) == "protein");
    EXPECT_EQ(state.fileType, c.fileType);
  }
}

TEST_F(DocumentTest, ChangeAndDeletionOnDiskAreNoticed) {
  const std::string path = tmp / "watched.txt";
  Write(path, "one\n");
  auto document = Open(path);
  ASSERT_TRUE(document);
  ASSERT_TRUE(Counted(*document));
  EXPECT_EQ(document->State().disk, DocumentState::Disk::Same);

  const int before = changes.load();
  Write(path, "one\ntwo\n");
  ASSERT_TRUE(
      zel_test::PollUntil([&] { return document->State().disk == DocumentState::Disk::Changed; }));
  EXPECT_GT(changes.load(), before);
  // Still the contents as they were opened, until reloaded.
  EXPECT_EQ(document->State().lines, 1);
  std::string error;
  ASSERT_TRUE(document->Reload(&error)) << error;
  ASSERT_TRUE(Counted(*document));
  EXPECT_EQ(document->State().lines, 2);
  EXPECT_EQ(document->State().disk, DocumentState::Disk::Same);

  fs::remove(path);
  ASSERT_TRUE(
      zel_test::PollUntil([&] { return document->State().disk == DocumentState::Disk::Deleted; }));
  EXPECT_EQ(document->LinesFrom(0, 5).size(), 2u);
  EXPECT_FALSE(document->Reload(&error));
  EXPECT_EQ(error.rfind(path, 0), 0u) << error;
  EXPECT_NE(document->State().failure, "");
  EXPECT_TRUE(document->LinesFrom(0, 5).empty());
}

TEST_F(DocumentTest, FindGivesTheLineHoldingTheText) {
  std::string bytes = MixedText(51, 2000);
  const auto naive = NaiveLines(bytes);
  const size_t target = 1500;
  bytes.insert(naive[target].start + 0, "needle");
  bytes += "ACGT\r\nlast needle";
  const auto lines = NaiveLines(bytes);
  const std::string path = tmp / "find.txt";
  Write(path, bytes);
  auto document = Open(path);
  ASSERT_TRUE(document);
  auto find = [&](const std::string& text, Offset from) {
    document->Find(text, from);
    EXPECT_TRUE(zel_test::PollUntil([&] { return !document->FindProgress().running; }));
    return document->FindProgress();
  };
  struct Case {
    const char* name;
    std::string text;
    Offset from;
    std::optional<Offset> found;
  } cases[] = {
      {"from the start", "needle", 0, lines[target].start},
      {"from the line found", "needle", lines[target].start, lines[target].start},
      {"from the next line", "needle", lines[target + 1].start, lines.back().start},
      {"across a CR LF", "ACGT\r\nlast", 0, lines[lines.size() - 2].start},
      {"not there", "haystack", 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FindState state = find(c.text, c.from);
    EXPECT_EQ(state.found, c.found);
    EXPECT_EQ(state.percent, 100);
  }
}

TEST_F(DocumentTest, FindCanBeCancelled) {
  // The search waits at the end of a gzip copy that the test holds from growing.
  zel_test::ScopedEnv tmpdir("TMPDIR", tmp.str());
  const std::string path = tmp / "held.gz";
  Write(path, zel_test::Gzip(MixedText(61, 3000) + "needle\n"));
  std::mutex mutex;
  std::condition_variable wake;
  bool held = false, release = false;
  DocumentOptions options = Small();
  options.pieceDone = [&](Offset) {
    std::unique_lock lock(mutex);
    held = true;
    wake.notify_all();
    wake.wait(lock, [&] { return release; });
  };
  auto document = Open(path, options);
  ASSERT_TRUE(document);
  auto letGo = [&] {
    {
      std::lock_guard lock(mutex);
      release = true;
    }
    wake.notify_all();
  };
  // The worker is let go whatever happens, or the document could not stop.
  const std::unique_ptr<void, std::function<void(void*)>> guard(&release, [&](void*) { letGo(); });
  {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(wake.wait_for(lock, std::chrono::seconds(5), [&] { return held; }));
  }
  document->Find("needle", 0);
  EXPECT_TRUE(document->FindProgress().running);
  document->CancelFind();
  const FindState cancelled = document->FindProgress();
  EXPECT_FALSE(cancelled.running);
  EXPECT_EQ(cancelled.found, std::nullopt);
  EXPECT_TRUE(document->State().counting);

  // Let the copy grow: a new search finds the text once it is there.
  document->Find("needle", 0);
  letGo();
  ASSERT_TRUE(zel_test::PollUntil([&] { return !document->FindProgress().running; }));
  EXPECT_TRUE(document->FindProgress().found.has_value());
}

}  // namespace
}  // namespace zel_view
