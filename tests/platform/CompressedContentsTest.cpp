// The contents of compressed files: the compression told by the first bytes, gzip and
// BGZF read back byte for byte whole and in a stream, from files and pipes, and damage
// named, never read as data.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "platform/base/compress/Contents.h"
#include "tests/support/GzipFixture.h"
#include "tests/support/TestSupport.h"

namespace {

class CompressedContentsTest : public zel_test::ZelTest {
 protected:
  std::unique_ptr<CContentsFile> OpenFile(const std::string& bytes,
                                          CContentsFile::Decompression how) {
    const std::string path = tmp / "file";
    zel_test::WriteFile(path, bytes);
    return CContentsFile::Open(std::make_unique<CStdioFile>(path.c_str(), CFile::modeRead), how);
  }

  // Everything the file hands on, read in pieces of an odd size.
  static std::string ReadAll(CContentsFile& file) {
    std::string out;
    char buffer[70001];
    for (UINT n; (n = file.Read(buffer, sizeof buffer)) > 0;) out.append(buffer, n);
    return out;
  }

  static std::string Text(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string text;
    while (text.size() < size) text += rng() % 61 ? "ACGT"[rng() % 4] : '\n';
    return text;
  }
};

TEST_F(CompressedContentsTest, FirstBytesTellTheCompression) {
  struct Case {
    std::string head;
    ZelCompression want;
  } cases[] = {
      {zel_test::Gzip("x"), ZelCompression::kGzip},
      {zel_test::Bgzf("x"), ZelCompression::kBgzf},
      {"\x1F\x8B", ZelCompression::kGzip},
      {"BZh91AY&SY", ZelCompression::kBzip2},
      {"BZh0", ZelCompression::kNone},
      {std::string("\xFD"
                   "7zXZ\0\0",
                   7),
       ZelCompression::kXz},
      {"\x28\xB5\x2F\xFD\x24", ZelCompression::kZstd},
      {">seq\nACGT\n", ZelCompression::kNone},
      {"\x1F", ZelCompression::kNone},
      {"", ZelCompression::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.head));
    EXPECT_EQ(ZelCompressionOf(c.head), c.want);
  }
  EXPECT_STREQ(ZelCompressionName(ZelCompression::kBgzf), "bgzf");
  EXPECT_EQ(ZelCompressionName(ZelCompression::kNone), nullptr);
}

TEST_F(CompressedContentsTest, EveryMemberIsReadWholeAndInAStream) {
  const std::string big = Text(3 << 20, 7);
  struct Case {
    const char* name;
    std::string text, file;
    ZelCompression compression;
  } cases[] = {
      {"plain", big, big, ZelCompression::kNone},
      {"empty gzip", "", zel_test::Gzip(""), ZelCompression::kGzip},
      {"one member", big, zel_test::Gzip(big), ZelCompression::kGzip},
      // The last member's size is no guide to the whole: whole decompression runs out of
      // room and the stream takes over.
      {"members", big, zel_test::Gzip(big, 1000000), ZelCompression::kGzip},
      {"small last member", big, zel_test::Gzip(big, 3000000), ZelCompression::kGzip},
      {"bgzf", big, zel_test::Bgzf(big), ZelCompression::kBgzf},
      {"short plain", "ab", "ab", ZelCompression::kNone},
  };
  for (const Case& c : cases) {
    for (auto how : {CContentsFile::kStreaming, CContentsFile::kWholeWhenSmall}) {
      SCOPED_TRACE(std::string(c.name) +
                   (how == CContentsFile::kStreaming ? ", stream" : ", whole"));
      auto file = OpenFile(c.file, how);
      EXPECT_EQ(file->Compression(), c.compression);
      EXPECT_TRUE(file->Readable());
      const std::string got = ReadAll(*file);
      EXPECT_EQ(got.size(), c.text.size());
      EXPECT_TRUE(got == c.text);
      EXPECT_EQ(file->GetPosition(), c.text.size());
      EXPECT_EQ(file->Damage(), nullptr);
      if (!got.empty()) {
        EXPECT_THROW(file->Seek(0, CFile::begin), CFileException);
      }
      EXPECT_EQ(file->Seek(0, CFile::current), c.text.size());
    }
  }
}

TEST_F(CompressedContentsTest, APipeIsReadInAStream) {
  const std::string text = Text(200000, 3);
  for (const std::string& bytes : {zel_test::Gzip(text, 50000), text}) {
    const std::string path = tmp / "piped";
    zel_test::WriteFile(path, bytes);
    std::FILE* pipe = popen(("cat '" + path + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    auto file = CContentsFile::Open(std::make_unique<CStdioFile>(fileno(pipe)),
                                    CContentsFile::kWholeWhenSmall);
    EXPECT_TRUE(ReadAll(*file) == text);
    file.reset();
    pclose(pipe);
  }
}

TEST_F(CompressedContentsTest, DamageIsNamedAndKept) {
  const std::string text = Text(300000, 5);
  const std::string good = zel_test::Gzip(text);
  std::string flipped = good;
  flipped[good.size() / 2] = static_cast<char>(flipped[good.size() / 2] ^ 0x55);
  std::string badCheck = good;
  badCheck[good.size() - 6] = static_cast<char>(badCheck[good.size() - 6] ^ 1);
  struct Case {
    const char* name;
    std::string file;
    const char* reason;
  } cases[] = {
      {"cut short", good.substr(0, good.size() - 100), "unexpected end of file"},
      {"trailer cut", good.substr(0, good.size() - 3), "unexpected end of file"},
      {"header only", "\x1F\x8B", "unexpected end of file"},
      {"check", badCheck, "incorrect data check"},
      {"followed by other bytes", good + "garbage", nullptr},
      {"bad method", std::string("\x1F\x8B\x07\x00\x00\x00\x00\x00\x00\x03xxxxxxxxxxxx", 22),
       nullptr},
      {"flipped", flipped, nullptr},
  };
  for (const Case& c : cases) {
    for (auto how : {CContentsFile::kStreaming, CContentsFile::kWholeWhenSmall}) {
      SCOPED_TRACE(std::string(c.name) +
                   (how == CContentsFile::kStreaming ? ", stream" : ", whole"));
      auto file = OpenFile(c.file, how);
      try {
        ReadAll(*file);
        ADD_FAILURE() << "no damage seen";
      } catch (CCompressedDataException& e) {
        if (c.reason) {
          EXPECT_EQ(e.m_strReason.str(), c.reason);
        }
        EXPECT_FALSE(e.m_strReason.IsEmpty());
        EXPECT_EQ(e.m_strFileName.str(), tmp / "file");
      }
      ASSERT_NE(file->Damage(), nullptr);
      // A reader that goes on meets it again.
      char byte;
      EXPECT_THROW(file->Read(&byte, 1), CCompressedDataException);
    }
  }
}

TEST_F(CompressedContentsTest, OtherCompressorsAreToldButNotRead) {
  for (const std::string& bytes : {std::string("BZh91AY&SY"),
                                   std::string("\xFD"
                                               "7zXZ\0",
                                               6),
                                   std::string("\x28\xB5\x2F\xFD")}) {
    auto file = OpenFile(bytes, CContentsFile::kStreaming);
    EXPECT_FALSE(file->Readable());
    EXPECT_NE(ZelCompressionName(file->Compression()), nullptr);
  }
}

// Readers that read a plain file by offset take its source back from the object that told
// its compression: the file looked into, whatever its name leads to by then.
TEST_F(CompressedContentsTest, APlainFileGivesBackItsOwnSource) {
  const std::string text = Text(300000, 4);
  auto contents = OpenFile(text, CContentsFile::kStreaming);
  const std::string path = tmp / "file";
  zel_test::WriteFile(tmp / "other", "another file\n");
  ASSERT_EQ(std::rename((tmp / "other").c_str(), path.c_str()), 0);
  std::unique_ptr<CStdioFile> plain = contents->TakePlainSource();
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->GetPosition(), 0u);
  std::string got;
  char buffer[65536];
  for (UINT n; (n = plain->Read(buffer, sizeof buffer)) > 0;) got.append(buffer, n);
  EXPECT_TRUE(got == text);
  // What is left behind is closed, not a second reader of the file.
  EXPECT_THROW(contents->Read(buffer, 1), CFileException);
  contents->Close();

  // Compressed files and pipes keep their source: their bytes are only handed on here.
  auto gzip = OpenFile(zel_test::Gzip(text, 50000), CContentsFile::kStreaming);
  EXPECT_EQ(gzip->TakePlainSource(), nullptr);
  EXPECT_TRUE(ReadAll(*gzip) == text);
  zel_test::WriteFile(path, text);
  std::FILE* pipe = popen(("cat '" + path + "'").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  auto piped =
      CContentsFile::Open(std::make_unique<CStdioFile>(fileno(pipe)), CContentsFile::kStreaming);
  EXPECT_EQ(piped->TakePlainSource(), nullptr);
  EXPECT_TRUE(ReadAll(*piped) == text);
  piped.reset();
  pclose(pipe);
}

}  // namespace
