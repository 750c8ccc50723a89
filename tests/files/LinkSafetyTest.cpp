// Links and other spellings of a path: a copy never empties its source, and a recursive
// listing ends and lists each file once.
#include <filesystem>
#include <map>
#include <string>

#include "files/DataFileOps.h"
#include "files/FileTypeIds.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

class LinkSafetyTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    dir = tmp / "d";
    fs::create_directories(dir);
    zel_test::WriteFile(dir + "/x.mol", "payload");
    zel_test::WriteFile(dir + "/z.enz", "enzymes");
    fs::create_directory_symlink(dir, tmp / "alias");
    fs::create_symlink("x.mol", dir + "/y.mol");
    fs::create_hard_link(dir + "/x.mol", dir + "/h.mol");
  }
  std::string dir;
};

TEST_F(LinkSafetyTest, CopyingAFileOntoItselfUnderAnotherSpellingKeepsIt) {
  const std::string to[] = {dir + "/./x.mol", dir + "/../d/x.mol", tmp / "alias/x.mol",
                            dir + "/y.mol", dir + "/h.mol"};
  for (const std::string& target : to) {
    SCOPED_TRACE(target);
    ui().messages.clear();
    EXPECT_EQ(copy_datafile(CZelFileSpec((dir + "/x.mol").c_str(), kMol),
                            CZelFileSpec(target.c_str(), kMol)),
              0);
    ASSERT_EQ(ui().messages.size(), 1u);
    EXPECT_EQ(ui().messages[0].text.str(), "Can't read from and write to the same file: " +
                                               fs::path(target).filename().string());
    EXPECT_EQ(zel_test::ReadFile(dir + "/x.mol"), "payload");
  }
  // Another file is still copied over, truncated first.
  zel_test::WriteFile(dir + "/other.mol", "a much longer old content");
  ui().messages.clear();
  EXPECT_EQ(copy_datafile(CZelFileSpec((dir + "/x.mol").c_str(), kMol),
                          CZelFileSpec((dir + "/other.mol").c_str(), kMol)),
            1);
  EXPECT_EQ(zel_test::ReadFile(dir + "/other.mol"), "payload");
  EXPECT_TRUE(ui().messages.empty());
}

TEST_F(LinkSafetyTest, TransferringAFolderOntoItselfKeepsEveryFile) {
  for (const std::string& to : {tmp / "alias", dir + "/.", dir + "/../d"}) {
    SCOPED_TRACE(to);
    ui().messages.clear();
    transfer_datafiles(CZelDirSpec(dir.c_str()), CZelDirSpec(to.c_str()));
    EXPECT_EQ(zel_test::ReadFile(dir + "/x.mol"), "payload");
    EXPECT_EQ(zel_test::ReadFile(dir + "/z.enz"), "enzymes");
    // One refusal per file listed (x.mol, its link, its hard link, z.enz).
    EXPECT_EQ(ui().messages.size(), 4u);
  }
}

TEST_F(LinkSafetyTest, RecursiveListingEntersEachFolderOnce) {
  // root/sub/up -> root (an ancestor), root/p/to_q -> root/q and root/q/to_p -> root/p
  // (a loop), root/t1 and root/t2 -> outside (one folder linked twice).
  const fs::path root = tmp.path() / "root";
  fs::create_directories(root / "sub");
  fs::create_directories(root / "p");
  fs::create_directories(root / "q");
  fs::create_directories(tmp.path() / "outside");
  zel_test::WriteFile((root / "a.txt").string(), "a");
  zel_test::WriteFile((root / "sub/b.txt").string(), "b");
  zel_test::WriteFile((root / "p/c.txt").string(), "c");
  zel_test::WriteFile((root / "q/d.txt").string(), "d");
  zel_test::WriteFile((tmp.path() / "outside/e.txt").string(), "e");
  fs::create_directory_symlink("..", root / "sub/up");
  fs::create_directory_symlink("../q", root / "p/to_q");
  fs::create_directory_symlink("../p", root / "q/to_p");
  fs::create_directory_symlink(tmp.path() / "outside", root / "t1");
  fs::create_directory_symlink(tmp.path() / "outside", root / "t2");

  CStringList files;
  CZelFileSpec::GetAllFilesInFolder(root.c_str(), files, 1);
  std::map<std::string, int> seen;  // by content, which names the real file
  for (POSITION p = files.GetHeadPosition(); p;) ++seen[zel_test::ReadFile(files.GetNext(p).str())];
  EXPECT_EQ(seen, (std::map<std::string, int>{{"a", 1}, {"b", 1}, {"c", 1}, {"d", 1}, {"e", 1}}));
}

}  // namespace
