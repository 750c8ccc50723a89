// Text files: line ends, buffer boundaries, limits, progress, memory output, attaching.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "files/StatusMessage.h"
#include "files/ZelTextFile.h"
#include "tests/support/TestSupport.h"

namespace {

class TextFileTest : public zel_test::ZelTest {
 protected:
  // Opens a file holding bytes for input.
  CZelTextFile& Open(const std::string& bytes) {
    zel_test::WriteFile(tmp / "in.txt", bytes);
    file.SetFileSpec((tmp / "in.txt").c_str(), 0);
    EXPECT_EQ(file.OpenInput(), 1);
    return file;
  }
  std::vector<std::string> ReadAll(unsigned size = 1024) {
    std::vector<std::string> lines;
    std::vector<char> buf(size + 1);
    while (file.ReadString(buf.data(), size)) lines.emplace_back(buf.data());
    return lines;
  }
  CZelTextFile file;
};

using Lines = std::vector<std::string>;

TEST_F(TextFileTest, EachOfTheThreeLineEndsEndsOneLine) {
  Open("a\r\nb\nc\rd");
  EXPECT_EQ(ReadAll(), (Lines{"a\n", "b\n", "c\n", "d"}));
  char buf[8];
  EXPECT_EQ(file.ReadString(buf, sizeof buf), nullptr);

  Open("x\n\ry\r\r\n");  // LF CR is two line ends
  EXPECT_EQ(ReadAll(), (Lines{"x\n", "\n", "y\n", "\n"}));
}

TEST_F(TextFileTest, CrLfSplitAcrossTheBufferBoundaryIsOneLineEnd) {
  const std::string first(CZelTextFile::kReadAhead - 1, 'a');
  Open(first + "\r\nnext\r\n");
  Lines lines = ReadAll(CZelTextFile::kReadAhead + 8);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0] == first + "\n");
  EXPECT_EQ(lines[1], "next\n");
  // The same with ReadLineLong.
  Open(first + "\r\nnext\r\n");
  CString s;
  EXPECT_EQ(file.ReadLineLong(s), 1);
  EXPECT_TRUE(s.str() == first);
  EXPECT_EQ(file.ReadLineLong(s), 1);
  EXPECT_EQ(s, CString("next"));
  EXPECT_EQ(file.ReadLineLong(s), 0);
}

TEST_F(TextFileTest, LongLinesComeInPieces) {
  Open(std::string(20, 'z') + "\n");
  CString s;
  EXPECT_EQ(file.ReadLine(s, 10), 1);
  EXPECT_EQ(s.GetLength(), 8);
  EXPECT_EQ(file.ReadLine(s, 10), 1);
  EXPECT_EQ(s.GetLength(), 8);
  EXPECT_EQ(file.ReadLine(s, 10), 1);
  EXPECT_EQ(s, CString("zzzz"));
  EXPECT_EQ(file.ReadLine(s, 10), 0);
  EXPECT_TRUE(s.IsEmpty());

  std::string big(3000, 'q');
  Open(big + "\r\nend");
  EXPECT_EQ(file.ReadString(s), CString(std::string(1023, 'q')));
  EXPECT_EQ(ReadAll(), (Lines{std::string(1023, 'q'), std::string(954, 'q') + "\n", "end"}));
  EXPECT_STREQ(file.ReadString(s), "");

  Open("one\rtwo\n\r\nthree\r");  // a lone CR ends a line here too
  for (const char* want : {"one", "two", "", "three"}) {
    EXPECT_EQ(file.ReadLineLong(s), 1);
    EXPECT_EQ(s, CString(want));
  }
  EXPECT_EQ(file.ReadLineLong(s), 0);
  EXPECT_TRUE(s.IsEmpty());

  Open(big + "\r\n" + big);
  EXPECT_EQ(file.ReadLineLong(s), 1);
  EXPECT_EQ(s.str(), big);
  EXPECT_EQ(file.ReadLineLong(s), 0);  // the last line has no line end
  EXPECT_EQ(s.str(), big);
}

// The reading rules stated on the whole text, without blocks: what ReadString must give
// whatever the buffer boundaries.
std::string ReferenceLine(const std::string& text, size_t& pos, unsigned size) {
  std::string line;
  const size_t room = size >= 2 ? size - 1 : 0;
  while (line.size() < room && pos < text.size()) {
    char c = text[pos];
    if (c == '\r' || c == '\n') {
      pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
      line += '\n';
      break;
    }
    line += c;
    ++pos;
  }
  return line;
}

TEST_F(TextFileTest, RandomTextsReadAsTheRulesSay) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  for (int round = 0; round < 40; ++round) {
    std::string text;
    // A few texts longer than the read-ahead, so that lines also straddle its refills.
    size_t length =
        round < 3 ? CZelTextFile::kReadAhead + rng() % CZelTextFile::kReadAhead : rng() % 5000;
    while (text.size() < length) {
      int run = (rng() % 8 == 0) ? static_cast<int>(rng() % 1500) : static_cast<int>(rng() % 60);
      text.append(static_cast<size_t>(run), static_cast<char>('a' + rng() % 26));
      static const char* ends[] = {"\r\n", "\n", "\r", "\n\r", "\r\r\n"};
      text += ends[rng() % 5];
    }
    Open(text);
    size_t pos = 0;
    std::vector<char> buf(400);
    for (int call = 0;; ++call) {
      unsigned size = 1 + rng() % 300;
      std::string want;
      if (rng() % 2) {
        // ReadLine(s, size) reads as ReadString with one byte less and drops the line end.
        want = ReferenceLine(text, pos, size - 1);
        CString line;
        ASSERT_EQ(file.ReadLine(line, static_cast<int>(size)), want.empty() ? 0 : 1);
        if (!want.empty() && want.back() == '\n') want.pop_back();
        ASSERT_EQ(line.str(), want) << "round " << round << " call " << call;
        if (pos >= text.size() && line.IsEmpty()) break;
        continue;
      }
      want = ReferenceLine(text, pos, size);
      char* got = file.ReadString(buf.data(), size);
      ASSERT_EQ(got ? std::string(got) : std::string(), want)
          << "round " << round << " call " << call;
      ASSERT_EQ(got == nullptr, want.empty());
      if (pos >= text.size() && want.empty()) break;
    }
  }
}

TEST_F(TextFileTest, ProgressCountsEveryCallAndShowsEachMultiple) {
  static std::vector<std::string> shown;
  shown.clear();
  ZelStatusHook previous = SetStatusMessageHook([](const char* m) { shown.push_back(m); });
  std::string text;
  for (int i = 0; i < 250; ++i) text += "line\r\n";
  Open(text);
  EXPECT_EQ(file.GetLineCnt(), -1);
  file.DisplayProgressStatus(100);
  EXPECT_EQ(ReadAll().size(), 250u);
  EXPECT_EQ(shown, (Lines{"Line 100", "Line 200"}));
  EXPECT_EQ(file.GetLineCnt(), 251);
  EXPECT_STREQ(GetStatusMessageBuffer(), "Line 200");
  file.DisplayProgressStatus(0);
  EXPECT_EQ(file.GetLineCnt(), -1);
  SetStatusMessageHook(previous);
}

TEST_F(TextFileTest, WritingUsesCrLfAndCountsLines) {
  file.SetFileSpec((tmp / "out.txt").c_str(), 0);
  ASSERT_EQ(file.CreateOutput(), 1);
  file.DisplayProgressStatus(1000);
  file.WriteString("one\ntwo");
  file.WriteLine(nullptr);
  file.WriteLine("three");
  file.WriteString("");
  EXPECT_EQ(file.GetLineCnt(), 3);
  file.Close();
  EXPECT_EQ(zel_test::ReadFile(tmp / "out.txt"), "one\r\ntwo\r\nthree\r\n");

  // OpenOutput neither creates nor truncates; SeekToEnd appends.
  ASSERT_EQ(file.OpenOutput(), 1);
  file.SeekToEnd();
  file.WriteLine("four");
  file.Close();
  EXPECT_EQ(zel_test::ReadFile(tmp / "out.txt"), "one\r\ntwo\r\nthree\r\nfour\r\n");
  file.SetFileSpec((tmp / "absent.txt").c_str(), 0);
  EXPECT_EQ(file.OpenOutput(), 0);
}

TEST_F(TextFileTest, WithoutASpecOutputGoesToMemory) {
  ASSERT_FALSE(file.IsFileSpecSet());
  EXPECT_EQ(file.OpenInput(), 0);
  ASSERT_EQ(file.CreateOutput(), 1);
  std::string line(600, 'm');
  for (int i = 0; i < 10; ++i) file.WriteLine(line.c_str());
  CFile* mem = file.CheckOutFilePtr();
  ASSERT_NE(mem, nullptr);
  EXPECT_EQ(mem->GetLength(), 10u * 602u);
  file.CheckInFilePtr();
  file.Close();
}

TEST_F(TextFileTest, CheckOutGivesTheLogicalReadingPosition) {
  Open("first\nsecond\nthird\n");
  CString s;
  file.ReadString(s);
  CFile* raw = file.CheckOutFilePtr();
  EXPECT_EQ(raw->GetPosition(), 6u);
  char word[7] = {};
  ASSERT_EQ(raw->Read(word, 6), 6u);
  EXPECT_STREQ(word, "second");
  file.CheckInFilePtr();
  EXPECT_EQ(ReadAll(), (Lines{"\n", "third\n"}));
  file.SeekToBegin();
  EXPECT_EQ(ReadAll().size(), 3u);
}

TEST_F(TextFileTest, AttachedHandlesAreLentNotOwned) {
  zel_test::WriteFile(tmp / "h.txt", "via handle\n");
  int fd = ::open((tmp / "h.txt").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(file.AttachInput(CFile::hFileNull), 0);
  ASSERT_EQ(file.AttachInput(fd), 1);
  EXPECT_EQ(file.AttachInput(fd), 0);  // a handle is held already
  EXPECT_EQ(ReadAll(), (Lines{"via handle\n"}));
  file.Close();
  EXPECT_EQ(file.Detach(), CFile::hFileNull);  // closed holds no handle
  EXPECT_EQ(::lseek(fd, 0, SEEK_SET), 0);      // still open: it is the caller's
  ASSERT_EQ(file.AttachInput(fd), 1);
  EXPECT_EQ(ReadAll(), (Lines{"via handle\n"}));
  EXPECT_EQ(file.Detach(), fd);
  EXPECT_EQ(file.IsInited(), 0);
  ::close(fd);
}

TEST_F(TextFileTest, MisuseRaisesTheDocumentedExceptions) {
  char buf[8];
  try {
    file.ReadString(buf, sizeof buf);
    FAIL() << "reading an unopened file must throw";
  } catch (CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::invalidFile);
    EXPECT_EQ(e.m_lOsError, -1);
  }
  file.Close();  // nothing open: no exception
  file.SafeClose(1);
  EXPECT_TRUE(ui().messages.empty());
}

}  // namespace
