// Binary files and the reporting of file failures, on real failures of the file system:
// missing files and folders, a folder opened as a file, a read-only mount and a full one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/FileTypeIds.h"
#include "files/ZelBinaryFile.h"
#include "files/ZelTextFile.h"
#include "tests/support/TestSupport.h"

namespace {

class FileErrorsTest : public zel_test::ZelTest {
 protected:
  CString Message(CException* e, int reading) {
    return CZelFileSpec("/some/where/data.gb", kDnaDocument).FormatExceptionMessage(e, reading);
  }
};

TEST_F(FileErrorsTest, CausesMapToTheirTexts) {
  const bool kFile = false, kArchive = true;
  struct Case {
    bool archive;
    int cause;
    int reading;
    const char* text;
  } cases[] = {
      {kFile, CFileException::none, 1, ""},
      {kFile, CFileException::fileNotFound, 1, "data.gb\nCannot find this file."},
      {kFile, CFileException::badPath, 0, "data.gb\nCannot find this file."},
      {kFile, CFileException::tooManyOpenFiles, 1,
       "data.gb\nUnable to open data.gb for reading: Too many open files."},
      {kFile, CFileException::tooManyOpenFiles, 0,
       "data.gb\nUnable to open data.gb for writing: Too many open files."},
      {kFile, CFileException::accessDenied, 1,
       "Unable to read from data.gb, it is opened by someone else."},
      {kFile, CFileException::accessDenied, 0,
       "Unable to write to data.gb, it is read-only or opened by someone else."},
      {kFile, CFileException::invalidFile, 1, "data.gb\nInternal error (invalid file)."},
      {kFile, CFileException::directoryFull, 0,
       "data.gb\nUnable to open data.gb for writing: directory is full."},
      {kFile, CFileException::badSeek, 1, "data.gb\nInternal error (seek)."},
      {kFile, CFileException::hardIO, 0, "data.gb\nInternal error (hardware I/O)."},
      {kFile, CFileException::diskFull, 0, "Destination disk is full."},
      {kFile, CFileException::sharingViolation, 1,
       "An unexpected error occurred while reading data.gb (io code = 11)."},
      {kFile, CFileException::genericException, 0,
       "An unexpected error occurred while writing data.gb (io code = 1)."},
      {kFile, CFileException::endOfFile, 1,
       "An unexpected error occurred while reading data.gb (io code = 14)."},
      {kArchive, CArchiveException::none, 1, ""},
      {kArchive, CArchiveException::readOnly, 1, "data.gb\nInternal error (read only)."},
      {kArchive, CArchiveException::endOfFile, 1, "data.gb\nPremature end of file."},
      {kArchive, CArchiveException::writeOnly, 0, "data.gb\nInternal error (write only)."},
      {kArchive, CArchiveException::badIndex, 1, "data.gb\nUnexpected file format (index error)."},
      {kArchive, CArchiveException::badClass, 1, "data.gb\nUnexpected file format (class error)."},
      {kArchive, CArchiveException::badSchema, 1,
       "data.gb\nFile format not supported (version error)."},
      {kArchive, CArchiveException::genericException, 1,
       "An unexpected error occurred while reading data.gb (arc code = 1)."},
      {kArchive, 8, 0, "An unexpected error occurred while writing data.gb (arc code = 8)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.archive ? "archive " : "file ") + std::to_string(c.cause));
    CFileException file(c.cause);
    CArchiveException archive(c.cause);
    EXPECT_EQ(Message(c.archive ? static_cast<CException*>(&archive) : &file, c.reading),
              CString(c.text));
  }
  CNotSupportedException other;
  EXPECT_EQ(Message(&other, 1), CString("Failed to read data.gb."));
  EXPECT_EQ(Message(&other, 0), CString("Failed to write data.gb."));
  // A title holding "%s" is put in once, not expanded again.
  CFileException e(CFileException::fileNotFound);
  EXPECT_EQ(CZelFileSpec("/x/100%s.txt", kUnknown).FormatExceptionMessage(&e, 1),
            CString("100%s.txt\nCannot find this file."));
}

TEST_F(FileErrorsTest, ReportShowsAWarningUnlessToldNotTo) {
  CZelFileSpec spec("/d/x.txt", kUnknown);
  CArchiveException e(CArchiveException::badSchema);
  spec.ReportException(&e, 1, 0);
  CFileException none;
  spec.ReportException(&none, 1, 1);
  EXPECT_TRUE(ui().messages.empty());
  spec.ReportException(&e, 1, 1);
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(ui().messages[0].text, CString("x.txt\nFile format not supported (version error)."));
}

TEST_F(FileErrorsTest, FailedOpensKeepTheRealReason) {
  CZelBinaryFile missing(CZelFileSpec((tmp / "absent.bin").c_str(), kUnknown));
  EXPECT_EQ(missing.OpenInput(), 0);
  EXPECT_EQ(missing.GetLastError().m_cause, CFileException::fileNotFound);
  missing.ReportException();
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages.back().text, CString("absent.bin\nCannot find this file."));

  CZelTextFile noFolder(CZelFileSpec((tmp / "nowhere/x.txt").c_str(), kUnknown));
  EXPECT_EQ(noFolder.CreateOutput(), 0);
  EXPECT_EQ(noFolder.GetLastError().m_cause, CFileException::fileNotFound);

  zel_test::WriteFile(tmp / "plain", "x");
  CZelTextFile underFile(CZelFileSpec((tmp / "plain/x.txt").c_str(), kUnknown));
  EXPECT_EQ(underFile.OpenInput(), 0);
  EXPECT_EQ(underFile.GetLastError().m_cause, CFileException::badPath);

  CZelBinaryFile folder(CZelFileSpec(tmp.str().c_str(), 0));
  EXPECT_EQ(folder.OpenInput(), 0);
  EXPECT_EQ(folder.GetLastError().m_cause, CFileException::accessDenied);
  folder.ReportException();
  EXPECT_EQ(ui().messages.back().text,
            CString("Unable to read from " + CZelFileSpec(tmp.str().c_str(), 0).GetTitle() +
                    ", it is opened by someone else."));

  // An unset file answers 0 and leaves the last error as it was.
  CZelBinaryFile unset;
  EXPECT_EQ(unset.OpenInput(), 0);
  EXPECT_EQ(unset.GetLastError().m_cause, CFileException::none);
}

TEST_F(FileErrorsTest, ReadOnlyFileSystemRefusesWritesInTheWritingWords) {
  const std::string ro = tmp / "ro";
  zel_test::ScopedTmpfs mount(ro, "64k", true);
  if (!mount.mounted()) GTEST_SKIP() << "cannot mount a read-only tmpfs here";
  CZelTextFile file(CZelFileSpec((ro + "/new.txt").c_str(), kUnknown));
  EXPECT_EQ(file.CreateOutput(), 0);
  EXPECT_EQ(file.GetLastError().m_cause, CFileException::accessDenied);
  file.ReportException();
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].text,
            CString("Unable to write to new.txt, it is read-only or opened by someone else."));
}

TEST_F(FileErrorsTest, FullDiskRaisesDiskFullFromTheWriteThatFails) {
  const std::string small = tmp / "small";
  zel_test::ScopedTmpfs mount(small, "64k");
  if (!mount.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
  CZelBinaryFile file(CZelFileSpec((small + "/big.bin").c_str(), kUnknown));
  ASSERT_EQ(file.CreateOutput(), 1);
  std::string block(16 * 1024, 'x');
  int cause = CFileException::none;
  try {
    for (int i = 0; i < 16; ++i) file.Write(block.data(), static_cast<UINT>(block.size()));
  } catch (CFileException& e) {
    cause = e.m_cause;
    file.ReportException(&e);
  }
  EXPECT_EQ(cause, CFileException::diskFull);
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].text, CString("Destination disk is full."));
  file.SafeClose(1);
  EXPECT_EQ(ui().messages.size(), 1u);
}

TEST_F(FileErrorsTest, BinaryFileModes) {
  CZelBinaryFile out(CZelFileSpec((tmp / "b.bin").c_str(), kUnknown));
  EXPECT_EQ(out.OpenOutput(), 0);  // does not create
  ASSERT_EQ(out.CreateOutput(), 1);
  out.Write("abcdef", 6);
  out.Close();
  out.Close();  // twice is harmless

  ASSERT_EQ(out.OpenOutput(), 1);  // not truncated
  out.Write("XY", 2);
  out.Close();
  EXPECT_EQ(zel_test::ReadFile(tmp / "b.bin"), "XYcdef");

  CZelBinaryFile io(CZelFileSpec((tmp / "b.bin").c_str(), kUnknown));
  ASSERT_EQ(io.OpenIO(), 1);
  char buf[3] = {};
  EXPECT_EQ(io.Read(buf, 2), 2u);
  EXPECT_STREQ(buf, "XY");
  io.Write("!", 1);  // at the logical position, not where the read buffer ended
  EXPECT_EQ(io.GetLength(), 6u);
  io.SafeClose(1);
  EXPECT_EQ(zel_test::ReadFile(tmp / "b.bin"), "XY!def");

  CZelBinaryFile in(CZelFileSpec((tmp / "b.bin").c_str(), kUnknown));
  ASSERT_EQ(in.OpenInput(), 1);
  try {
    in.Write("z", 1);
    FAIL() << "writing a file opened for reading must throw";
  } catch (CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::invalidFile);  // EBADF
    in.ReportException(&e);
  }
  EXPECT_EQ(ui().messages.back().text, CString("b.bin\nInternal error (invalid file)."));
}

}  // namespace
