// File specifications: naming rules, derived names, queries and removal on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "files/FileTypeIds.h"
#include "files/ZelFileSpec.h"
#include "tests/support/TestSupport.h"

namespace {

class FileSpecTest : public zel_test::ZelTest {};

TEST_F(FileSpecTest, NamesTakeTheExtensionOfTheirType) {
  CZelDirSpec dir("/data");
  EXPECT_STREQ(CZelFileSpec(dir, "pBR322", kDnaDocument).GetPath(), "/data/pBR322.gb");
  EXPECT_STREQ(CZelFileSpec(dir, "pBR322", 999).GetPath(), "/data/pBR322.");
  CZelFileSpec untouched("/old", kVdb);
  untouched.SetSpec(CZelDirSpec(), "x", kDnaDocument);
  untouched.SetSpec(dir, nullptr, kDnaDocument);
  EXPECT_STREQ(untouched.GetPath(), "/old");
  EXPECT_EQ(untouched.GetType(), kVdb);

  CZelFileSpec coded;
  coded.SetSpecMac("/m", 1, 2);
  coded.SetSpec(dir, "raw", 5ul, 6ul);  // codes ignored, stored ones kept, no extension
  EXPECT_STREQ(coded.GetPath(), "/data/raw");
  EXPECT_EQ(coded.GetType(), kUnknown);
  EXPECT_EQ(coded.GetMacType(), 1u);
  EXPECT_EQ(coded.GetMacCreator(), 2u);
  coded.SetSpecWin("/w");
  EXPECT_EQ(coded.GetMacType(), CZelFileSpec::kUnsetMacCode);

  CZelFileSpec rebuilt;
  rebuilt.ReconstructSpec(CZelDirSpec(), "f.txt", kPlainText);  // unconditional
  EXPECT_TRUE(rebuilt.IsSpecSet());
  EXPECT_STREQ(rebuilt.GetPath(), "/f.txt");
}

TEST_F(FileSpecTest, TitleNameAndDirectory) {
  CZelFileSpec f("/data/seq.v1/pBR322.gb", kDnaDocument);
  EXPECT_EQ(f.GetTitle(), CString("pBR322.gb"));
  EXPECT_EQ(f.GetFileName(), CString("pBR322.gb"));
  EXPECT_EQ(f.GetName(), CString("pBR322"));
  EXPECT_STREQ(f.GetDirectory().GetPath(), "/data/seq.v1");
  EXPECT_FALSE(CZelFileSpec("bare.gb", kDnaDocument).GetDirectory().IsSpecSet());
  EXPECT_STREQ(CZelFileSpec("/top", kUnknown).GetDirectory().GetPath(), "/");
  EXPECT_EQ(CZelFileSpec("relative/name", kUnknown).GetFileName(), CString("name"));
  EXPECT_EQ(CZelFileSpec("noext", kUnknown).GetName(), CString("noext"));

  CZelFileSpec cleared("/x", kType1);
  cleared.ClearSpec();
  EXPECT_EQ(cleared.GetTitle(), CString(""));
  EXPECT_EQ(cleared.GetMacCreator(), CZelFileSpec::kUnsetMacCode);
}

TEST_F(FileSpecTest, DeriveSpecCutsAtTheLastFullStopOfThePath) {
  EXPECT_STREQ(ChangeFileType(CZelFileSpec("/d/a.gb", kDnaDocument), kProteinDocument).GetPath(),
               "/d/a.gp");
  // No extension, but a folder with a full stop: the cut falls inside the folder name.
  EXPECT_STREQ(ChangeFileType(CZelFileSpec("/d.v2/file", kUnknown), kDnaDocument).GetPath(),
               "/d.gb");
  EXPECT_EQ(ChangeFileType(CZelFileSpec("/d/a.gb", kDnaDocument), kProteinDocument).GetType(),
            kProteinDocument);
}

TEST_F(FileSpecTest, EqualityNeedsTheSameTypeAndPathWithoutCase) {
  EXPECT_TRUE(CZelFileSpec("/A/b.gb", kDnaDocument) == CZelFileSpec("/a/B.GB", kDnaDocument));
  EXPECT_FALSE(CZelFileSpec("/a/b.gb", kDnaDocument) == CZelFileSpec("/a/b.gb", kGenBank));
  EXPECT_FALSE(CZelFileSpec() == CZelFileSpec());
  CZelFileSpec kept("/k", kType1);
  kept = CZelFileSpec();
  EXPECT_STREQ(kept.GetPath(), "/k");
}

TEST_F(FileSpecTest, QueriesOnDisk) {
  zel_test::WriteFile(tmp / "f.txt", "x");
  std::filesystem::create_directory(tmp.path() / "sub");
  CZelFileSpec file((tmp / "f.txt").c_str(), 0);
  CZelFileSpec folder((tmp / "sub").c_str(), 0);
  EXPECT_TRUE(file.FileExists());
  EXPECT_FALSE(file.IsFolder());
  EXPECT_FALSE(folder.FileExists());
  EXPECT_TRUE(folder.IsFolder());
  EXPECT_FALSE(CZelFileSpec().FileExists());

  std::filesystem::last_write_time(
      tmp.path() / "f.txt", std::filesystem::file_time_type::clock::now() - std::chrono::hours(48));
  CTime when;
  ASSERT_TRUE(file.GetFileLastModificationTime(when));
  EXPECT_LT(when, CTime::GetCurrentTime());
  CTime pattern;
  ASSERT_TRUE(CZelFileSpec((tmp / "F.*").c_str(), kUnknown).GetFileLastModificationTime(pattern));
  EXPECT_EQ(pattern, when);
  EXPECT_FALSE(CZelFileSpec((tmp / "none").c_str(), kUnknown).GetFileLastModificationTime(when));
}

TEST_F(FileSpecTest, RemoveFileReportsFailuresInsteadOfThrowing) {
  zel_test::WriteFile(tmp / "gone.txt", "x");
  CZelFileSpec gone((tmp / "gone.txt").c_str(), 0);
  gone.RemoveFile();
  EXPECT_FALSE(gone.FileExists());
  EXPECT_TRUE(ui().messages.empty());
  gone.RemoveFile();
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].text, CString("Failed to remove file: gone.txt"));
}

TEST_F(FileSpecTest, GetAllFilesInFolderListsFilesOnlyAndRecursesWhenAsked) {
  std::filesystem::create_directories(tmp.path() / "top" / "inner");
  zel_test::WriteFile(tmp / "top/a", "");
  zel_test::WriteFile(tmp / "top/inner/b", "");
  CStringList flat, deep;
  CZelFileSpec::GetAllFilesInFolder(CString(" ") + (tmp / "top").c_str() + "/ ", flat, 0);
  EXPECT_EQ(flat.GetCount(), 0);  // not an existing folder with the spaces around it
  CZelFileSpec::GetAllFilesInFolder((tmp / "top").c_str(), flat, 0);
  ASSERT_EQ(flat.GetCount(), 1);
  EXPECT_EQ(flat.GetHead(), CString((tmp / "top/a").c_str()));
  deep.AddTail("kept");
  CZelFileSpec::GetAllFilesInFolder((tmp / "top").c_str(), deep, 1);
  std::vector<std::string> got;
  for (POSITION p = deep.GetHeadPosition(); p;) got.push_back(deep.GetNext(p).str());
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0], "kept");
  std::sort(got.begin() + 1, got.end());
  EXPECT_EQ(got[1], tmp / "top/a");
  EXPECT_EQ(got[2], tmp / "top/inner/b");
}

}  // namespace
