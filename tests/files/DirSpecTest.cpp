// Directory specifications: path rules, equality, and the folder operations on disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/ZelDirSpec.h"
#include "tests/support/TestSupport.h"

namespace {

class DirSpecTest : public zel_test::ZelTest {};

TEST_F(DirSpecTest, SetSpecWinDropsOneTrailingSeparatorButKeepsTheRoot) {
  struct Case {
    const char* in;
    const char* path;
    const char* title;
  } cases[] = {
      {"C:/", "C:", "C:/"},
      {"/data/", "/data", "/data"},
      {"/data//", "/data/", "/data/"},
      {"", "", "/"},
      {"/", "/", "/"},
      {"rel", "rel", "rel"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    CZelDirSpec d(c.in);
    EXPECT_TRUE(d.IsSpecSet());
    EXPECT_STREQ(d.GetPath(), c.path);
    EXPECT_EQ(d.GetTitle(), CString(c.title));
  }
}

TEST_F(DirSpecTest, ChDirAppendsOneSeparatorOnlyWhenNeeded) {
  CZelDirSpec drive("C:/");
  drive.ChDir("x");
  EXPECT_STREQ(drive.GetPath(), "C:/x");
  CZelDirSpec root("/");
  root += "etc";
  EXPECT_STREQ(root.GetPath(), "/etc");
  CZelDirSpec empty("");
  empty.ChDir("a/b/");
  EXPECT_STREQ(empty.GetPath(), "a/b/");
  EXPECT_STREQ((CZelDirSpec("/d") + "..").GetPath(), "/d/..");  // ".." is not interpreted

  CZelDirSpec unset;
  unset.ChDir("x");
  EXPECT_FALSE(unset.IsSpecSet());
  EXPECT_STREQ(unset.GetPath(), "");
  CZelDirSpec d("/d");
  d.ChDir(nullptr);
  EXPECT_STREQ(d.GetPath(), "/d");
}

TEST_F(DirSpecTest, CopyingFromAnUnsetSpecKeepsTheTarget) {
  CZelDirSpec target("/keep");
  CZelDirSpec unset;
  target.SetSpec(unset);
  EXPECT_STREQ(target.GetPath(), "/keep");
  target = unset;
  EXPECT_STREQ(target.GetPath(), "/keep");
  CZelDirSpec copy(unset);
  EXPECT_FALSE(copy.IsSpecSet());
  EXPECT_EQ(copy.GetTitle(), CString(""));
}

TEST_F(DirSpecTest, MacIdsAreKeptBySetSpecMacAndResetBySetSpecWin) {
  CZelDirSpec d;
  d.SetSpecMac(3, 77, nullptr);
  EXPECT_TRUE(d.IsSpecSet());
  EXPECT_STREQ(d.GetPath(), "");
  EXPECT_EQ(d.GetMacVolId(), 3);
  EXPECT_EQ(d.GetMacDirId(), 77);
  CZelDirSpec copy(d);
  EXPECT_EQ(copy.GetMacDirId(), 77);
  d.SetSpecWin("/x");
  EXPECT_EQ(d.GetMacVolId(), 0);
  EXPECT_EQ(d.GetMacDirId(), 0);
}

TEST_F(DirSpecTest, EqualityIgnoresCaseOnlyAndNeedsBothSet) {
  EXPECT_TRUE(CZelDirSpec("c:/Data") == CZelDirSpec("C:/DATA"));
  CZelDirSpec trailing;
  trailing.SetSpecMac(0, 0, "C:/DATA/");
  EXPECT_FALSE(CZelDirSpec("C:/DATA") == trailing);
  EXPECT_TRUE(CZelDirSpec("C:/DATA") != trailing);
  EXPECT_FALSE(CZelDirSpec() == CZelDirSpec());
  CZelDirSpec a, b;
  a.SetSpecMac(1, 2, "/same");
  b.SetSpecMac(5, 6, "/same");
  EXPECT_TRUE(a == b);  // the Mac ids take no part
}

TEST_F(DirSpecTest, FolderOperationsOnDisk) {
  CZelDirSpec base(tmp.str().c_str());
  EXPECT_TRUE(base.DirExists());
  EXPECT_FALSE(base.SubdirExists("new"));
  EXPECT_EQ(base.MakeSubdir("new"), 1);
  EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / "new"));
  EXPECT_EQ(base.MakeSubdir("new"), 1);             // exists already: nothing to do
  EXPECT_EQ(base.MakeSubdir("missing/deeper"), 0);  // one level only
  EXPECT_EQ(base.MakeSubdir(nullptr), 0);
  EXPECT_EQ(CZelDirSpec().MakeSubdir("x"), 0);
  EXPECT_FALSE(CZelDirSpec().DirExists());

  zel_test::WriteFile(tmp / "plain", "x");
  EXPECT_FALSE(base.SubdirExists("plain"));
  EXPECT_EQ(base.MakeSubdir("plain"), 0);
  EXPECT_TRUE(ui().messages.empty());
}

TEST_F(DirSpecTest, RemoveSubdirSaysItIsNotAvailableAndRemovesNothing) {
  CZelDirSpec base(tmp.str().c_str());
  ASSERT_EQ(base.MakeSubdir("keep"), 1);
  EXPECT_EQ(base.RemoveSubdir("keep"), 0);
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].text, CString("CZelDirSpec::RemoveSubdir: NYI"));
  EXPECT_EQ(ui().messages[0].type & MB_ICONMASK, 0u);
  EXPECT_TRUE(base.SubdirExists("keep"));
}

}  // namespace
