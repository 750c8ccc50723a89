// Streams over files, growing memory and strings; line reading against a block-by-block
// reference on random inputs.
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "files/EkStream.h"
#include "tests/support/TestSupport.h"

namespace {

// The line reader as first described: read a block, cut at the first line end, seek back.
// The stream's own ReadString must give the same lines and positions.
struct ReferenceReader {
  CEkStream& s;

  // Returns null at the end, like ReadString(buf, size).
  const char* Line(std::string& out, unsigned size) {
    ULONGLONG start = s.Seek(0, CFile::current);
    std::vector<char> block(size);
    UINT got = s.Read(block.data(), size - 1);
    if (got == 0) return nullptr;
    UINT i = 0;
    while (i < got && block[i] != '\n' && block[i] != '\r') i++;
    if (i < got) {
      UINT skip = 1;
      if (i + 1 < got && block[i + 1] == (block[i] == '\n' ? '\r' : '\n')) skip = 2;
      s.Seek(static_cast<long>(start + i + skip), CFile::begin);
    }
    out.assign(block.data(), i);
    return "";
  }

  int Line(std::string& out) {
    out.clear();
    for (;;) {
      ULONGLONG start = s.Seek(0, CFile::current);
      char block[256];
      UINT got = s.Read(block, 255);
      if (got == 0) break;
      UINT i = 0;
      while (i < got && block[i] != '\n' && block[i] != '\r') i++;
      out.append(block, i);
      if (i < got) {
        UINT skip = (i + 1 < got && block[i + 1] == (block[i] == '\n' ? '\r' : '\n')) ? 2 : 1;
        s.Seek(static_cast<long>(start + i + skip), CFile::begin);
        return 1;
      }
    }
    return out.empty() ? 0 : 1;
  }
};

class StreamTest : public zel_test::ZelTest {
 protected:
  // Every line of content read by the stream under test and by the reference, from a
  // file stream, a memory stream and a string stream alike.
  void ExpectSameLines(const std::string& content, unsigned size) {
    std::string path = tmp / "lines.bin";
    zel_test::WriteFile(path, content);
    CString text{std::string_view(content)};
    CString textCopy = text;

    CEkStream fileStream(path.c_str(), CFile::modeRead);
    CEkStream fileRef(path.c_str(), CFile::modeRead);
    CEkStream memStream(64u);
    memStream.Write(content.data(), static_cast<int>(content.size()));
    memStream.SeekToBegin();
    CEkStream strStream(&text, 0);
    CEkStream strRef(&textCopy, 0);
    CEkStream* streams[] = {&fileStream, &memStream, &strStream};
    CEkStream* refs[] = {&fileRef, &fileRef, &strRef};

    for (int k = 0; k < 3; k++) {
      SCOPED_TRACE(k == 0 ? "file" : k == 1 ? "memory" : "string");
      refs[k]->SeekToBegin();
      ReferenceReader ref{*refs[k]};
      for (int line = 0;; line++) {
        SCOPED_TRACE(line);
        std::string expected;
        if (size == 0) {
          int want = ref.Line(expected);
          CString got;
          ASSERT_EQ(streams[k]->ReadString(got), want);
          ASSERT_EQ(got.str(), expected);
          ASSERT_EQ(streams[k]->Seek(0, CFile::current), refs[k]->Seek(0, CFile::current));
          if (!want) break;
        } else {
          const char* want = ref.Line(expected, size);
          std::vector<char> buf(size + 1, 'Z');
          char* got = streams[k]->ReadString(buf.data(), size);
          ASSERT_EQ(got == nullptr, want == nullptr);
          ASSERT_EQ(streams[k]->Seek(0, CFile::current), refs[k]->Seek(0, CFile::current));
          if (!want) break;
          ASSERT_EQ(std::string(got, expected.size()), expected);
          ASSERT_EQ(got[expected.size()], '\0');
        }
      }
    }
  }
};

TEST_F(StreamTest, WritesThenHandsOverTheBuffer) {
  CEkStream s(16u);
  s.WriteString("a");
  s.Write("bc");
  char* out = s.GetOutputBuffer();
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(std::string(out, 6), std::string("a\r\nbc\0", 6));
  std::free(out);
  // The stream no longer holds memory; closing it has nothing to release.
  EXPECT_EQ(s.GetOutputBuffer(), nullptr);
  s.Close();

  // A buffer filled to the last byte is enlarged for the NUL.
  CEkStream full(4u);
  full.Write("abcd");
  char* four = full.GetOutputBuffer();
  ASSERT_NE(four, nullptr);
  EXPECT_STREQ(four, "abcd");
  std::free(four);

  CEkStream empty(8u);
  char* none = empty.GetOutputBuffer();
  ASSERT_NE(none, nullptr);
  EXPECT_STREQ(none, "");
  std::free(none);

  CEkStream closed;
  EXPECT_EQ(closed.GetOutputBuffer(), nullptr);
}

TEST_F(StreamTest, WriteForms) {
  CEkStream s(8u);
  CString text("hello");
  s.Write(text, 3);
  s.Write(text, 99);
  s.Write(text);
  s.Write("xyz", 2);
  s.Write("", 0);
  s.Write(static_cast<const char*>(nullptr));
  s.WriteString(CString("end"));
  char* out = s.GetOutputBuffer();
  EXPECT_STREQ(out, "helhellohelloxyend\r\n");
  std::free(out);
}

TEST_F(StreamTest, StringStreamTakesWhatWasWritten) {
  CString text("0123456789");
  {
    CEkStream s(&text, 0);
    s.Write("abc");
  }
  EXPECT_EQ(text, "abc");

  // A string only partly read keeps its whole text.
  CString kept("one\ntwo\n");
  CEkStream r(&kept, 0);
  CString line;
  r.ReadString(line);
  r.Close();
  EXPECT_EQ(kept, "one\ntwo\n");

  // A fixed string cannot grow.
  CString small("ab");
  CEkStream w(&small, 0);
  EXPECT_THROW(w.Write("abc"), CMemoryException);

  // An explicit length larger than the string makes room for writing.
  CString room;
  CEkStream big(&room, 8);
  big.WriteString("hi");
  big.Close();
  EXPECT_EQ(room, "hi\r\n");

  // A string stream hands over a copy and the string keeps what was written.
  CString handed("abcdef");
  CEkStream h(&handed, 0);
  h.Write("XY");
  char* copy = h.GetOutputBuffer();
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, "XYcdef");
  std::free(copy);
  EXPECT_EQ(handed, "XY");
}

TEST_F(StreamTest, ClosedStream) {
  CEkStream s;
  char buf[8];
  CString line("junk");
  EXPECT_EQ(s.Read(buf, 8), 0u);
  EXPECT_EQ(s.ReadString(buf, 8), nullptr);
  EXPECT_EQ(s.ReadString(line), 0);
  EXPECT_TRUE(line.IsEmpty());
  EXPECT_EQ(s.GetLength(), 0u);
  EXPECT_EQ(s.GetSFD(), nullptr);
  EXPECT_THROW(s.Write("x"), CFileException);
  EXPECT_THROW(s.Seek(0, CFile::begin), CFileException);
}

TEST_F(StreamTest, FileStream) {
  std::string path = tmp / "out.txt";
  {
    CEkStream w(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(w.GetOutputBuffer(), nullptr);
    w.WriteString("first");
    w.Write("second");
  }
  EXPECT_EQ(zel_test::ReadFile(path), "first\r\nsecond");

  CEkStream r(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
  EXPECT_EQ(r.GetLength(), 13u);
  CString line;
  ASSERT_EQ(r.ReadString(line), 1);
  EXPECT_EQ(line, "first");
  // The lent file stands where the stream stands; reading it moves the stream too.
  CStdioFile* file = r.GetSFD();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->GetPosition(), 7u);
  char two[2];
  ASSERT_EQ(file->Read(two, 2), 2u);
  ASSERT_EQ(r.ReadString(line), 1);
  EXPECT_EQ(line, "cond");
  EXPECT_EQ(r.ReadString(line), 0);
  EXPECT_EQ(r.SeekToEnd(), 13u);
  r.Seek(-6, CFile::end);
  char six[7] = {};
  EXPECT_EQ(r.Read(six, 6), 6u);
  EXPECT_STREQ(six, "second");

  EXPECT_THROW(CEkStream((tmp / "missing.txt").c_str(), CFile::modeRead), CFileException);
  CEkStream reopened;
  EXPECT_THROW(reopened.Open((tmp / "missing.txt").c_str(), CFile::modeRead), CFileException);
}

TEST_F(StreamTest, SeekWithinAndBeyondTheReadAhead) {
  std::string content;
  for (int i = 0; i < 100000; i++) content += "line " + std::to_string(i) + "\n";
  std::string path = tmp / "many.txt";
  zel_test::WriteFile(path, content);
  CEkStream s(path.c_str(), CFile::modeRead);
  CString line;
  for (int i = 0; i < 10; i++) s.ReadString(line);
  EXPECT_EQ(line, "line 9");
  ULONGLONG mark = s.Seek(0, CFile::current);
  s.Seek(static_cast<long>(content.size() - 11), CFile::begin);
  s.ReadString(line);
  EXPECT_EQ(line, "line 99999");
  s.Seek(static_cast<long>(mark), CFile::begin);
  s.ReadString(line);
  EXPECT_EQ(line, "line 10");
  s.Seek(-8, CFile::current);
  s.ReadString(line);
  EXPECT_EQ(line, "line 10");
}

TEST_F(StreamTest, LineEndPairsFollowTheBlocks) {
  // The pair that straddles a 255-byte block is two line ends.
  std::string straddle = std::string(254, 'a') + "\r\nb";
  ExpectSameLines(straddle, 0);
  CString text{std::string_view(straddle)};
  CEkStream s(&text, 0);
  CString line;
  s.ReadString(line);
  EXPECT_EQ(line.GetLength(), 254);
  ASSERT_EQ(s.ReadString(line), 1);
  EXPECT_TRUE(line.IsEmpty());
  s.ReadString(line);
  EXPECT_EQ(line, "b");

  // Pieces of a long line, and the pair at the end of a short buffer.
  ExpectSameLines("x\n\ry\n", 0);
  ExpectSameLines("abcdef\n", 4);
  ExpectSameLines(std::string(600, 'x') + "\n\r" + std::string(300, 'y') + "\r\n", 0);
  ExpectSameLines("abc\r\ndef\n\rgh\r\rij\n", 5);
  ExpectSameLines("abc\r\ndef\n\rgh\r\rij\n", 4);
  ExpectSameLines("", 0);
  ExpectSameLines("", 1);
  ExpectSameLines("no end", 0);
  ExpectSameLines(std::string("nul\0inside\nx", 12), 0);
}

TEST_F(StreamTest, RandomContentMatchesTheReference) {
  unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\0', 'c'};
  for (int round = 0; round < 60; round++) {
    SCOPED_TRACE(round);
    std::string content(rng() % 2000, ' ');
    int lineLength = 1 + static_cast<int>(rng() % 400);
    for (char& c : content)
      c = rng() % lineLength == 0 ? alphabet[2 + rng() % 3] : alphabet[rng() % 6 == 0 ? 5 : 0];
    unsigned sizes[] = {0, 1, 2, 3, 17, 255, 256, 4096};
    ExpectSameLines(content, sizes[rng() % 8]);
  }
}

TEST_F(StreamTest, ReadAheadBoundaries) {
  // A CR LF pair split across the 256 KiB read-ahead, and lines longer than it.
  std::string content(256 * 1024 - 1, 'q');
  content += "\r\n";
  content += std::string(600000, 'r');
  content += "\n\rtail";
  ExpectSameLines(content, 0);
  ExpectSameLines(content, 100000);
}

}  // namespace
