// Data file operations on real folders: listing, copying, removing and transferring, with
// real failures (read-only and full file systems) reported per file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "files/DataFileOps.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

class DataFileTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    src = tmp / "src";
    dst = tmp / "dst";
    fs::create_directories(fs::path(src) / "sub");
    fs::create_directories(dst);
    zel_test::WriteFile(src + "/A.MOL", "mol");
    zel_test::WriteFile(src + "/b.enz", "enz");
    zel_test::WriteFile(src + "/c.txt", "text");
    zel_test::WriteFile(src + "/empty", "");
    zel_test::WriteFile(src + "/sub/deep.mol", "deep");
  }
  static CZelFileSpec FileAt(const std::string& path) { return CZelFileSpec(path.c_str(), 0); }
  static CZelDirSpec DirAt(const std::string& path) { return CZelDirSpec(path.c_str()); }
  std::set<std::string> Files(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
      names.insert(e.path().filename().string() + (e.is_directory() ? "/" : ""));
    return names;
  }

  // A tmpfs of that size at tmp/name; when readOnly, holding the given files first.
  // Empty when mounts are not allowed here.
  std::string Mount(const std::string& name, const char* size, bool readOnly,
                    const std::set<std::string>& files = {}) {
    std::string dir = tmp / name;
    auto& mount = mounts.emplace_back(std::make_unique<zel_test::ScopedTmpfs>(dir, size));
    if (!mount->mounted()) return {};
    for (const std::string& f : files) zel_test::WriteFile(dir + "/" + f, f);
    if (readOnly && !mount->RemountReadOnly()) return {};
    return dir;
  }

  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const MessageBoxRequest& m : ui().messages) texts.push_back(m.text.str());
    std::sort(texts.begin(), texts.end());
    return texts;
  }

  std::string src, dst;
  std::vector<std::unique_ptr<zel_test::ScopedTmpfs>> mounts;
};

TEST_F(DataFileTest, ListsFilesOnly) {
  CObList out;
  out.AddTail(new CZelFileSpec("kept", 0));
  EXPECT_EQ(ZelDirectoryFiles(DirAt(src), out), 1);
  std::set<std::string> paths;
  POSITION pos = out.GetHeadPosition();
  auto* first = static_cast<CZelFileSpec*>(out.GetNext(pos));
  EXPECT_EQ(first->GetFilePath(), "kept");
  while (pos) {
    auto* spec = static_cast<CZelFileSpec*>(out.GetNext(pos));
    EXPECT_EQ(spec->GetType(), 0);
    paths.insert(spec->GetFilePath().str());
  }
  EXPECT_EQ(paths, (std::set<std::string>{src + "/A.MOL", src + "/b.enz", src + "/c.txt",
                                          src + "/empty"}));
  for (pos = out.GetHeadPosition(); pos;) delete out.GetNext(pos);
  out.RemoveAll();

  EXPECT_EQ(ZelDirectoryFiles(DirAt(dst), out), 1);
  EXPECT_EQ(out.GetCount(), 0);
  EXPECT_EQ(ZelDirectoryFiles(DirAt(tmp / "missing"), out), 0);
  EXPECT_EQ(ZelDirectoryFiles(DirAt(src + "/c.txt"), out), 0);
  EXPECT_EQ(ZelDirectoryFiles(CZelDirSpec(), out), 0);
  EXPECT_EQ(out.GetCount(), 0);
}

TEST_F(DataFileTest, CopiesByteForByte) {
  std::string big(70000, '\0');
  for (size_t i = 0; i < big.size(); i++) big[i] = static_cast<char>(i * 7 + i / 300);
  zel_test::WriteFile(src + "/big.bin", big);
  zel_test::WriteFile(dst + "/big.bin", std::string(100000, 'x'));  // truncated by the copy

  EXPECT_EQ(copy_datafile(FileAt(src + "/big.bin"), FileAt(dst + "/big.bin")), 1);
  EXPECT_EQ(zel_test::ReadFile(dst + "/big.bin"), big);
  EXPECT_EQ(copy_datafile(FileAt(src + "/empty"), FileAt(dst + "/empty")), 1);
  EXPECT_TRUE(fs::exists(dst + "/empty"));
  EXPECT_EQ(fs::file_size(dst + "/empty"), 0u);
  EXPECT_TRUE(ui().messages.empty());
}

TEST_F(DataFileTest, RefusesToCopyOntoItself) {
  struct Case {
    std::string from, to;
    int fromType, toType;
    bool same;
  };
  std::string upper = src + "/a.mol";
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  const Case cases[] = {
      {src + "/A.MOL", src + "/A.MOL", 9, 9, true},
      {src + "/A.MOL", upper, 9, 9, true},
      {src + "/A.MOL", src + "/a.mol", 9, 7, false},  // another type is another file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    ui().messages.clear();
    int copied = copy_datafile(CZelFileSpec(c.from.c_str(), c.fromType),
                               CZelFileSpec(c.to.c_str(), c.toType));
    if (c.same) {
      EXPECT_EQ(copied, 0);
      ASSERT_EQ(ui().messages.size(), 1u);
      EXPECT_EQ(ui().messages[0].text.str(), "Can't read from and write to the same file: " +
                                                 fs::path(c.to).filename().string());
      EXPECT_EQ(ui().messages[0].type & MB_ICONMASK, 0u);
    } else {
      EXPECT_EQ(copied, 1);
      EXPECT_TRUE(ui().messages.empty());
    }
    EXPECT_EQ(zel_test::ReadFile(src + "/A.MOL"), "mol");
  }
}

TEST_F(DataFileTest, CopyFailuresAreReported) {
  EXPECT_EQ(copy_datafile(FileAt(src + "/nope.mol"), FileAt(dst + "/nope.mol")), 0);
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].text, "nope.mol\nCannot find this file.");
  EXPECT_FALSE(fs::exists(dst + "/nope.mol"));

  ui().messages.clear();
  EXPECT_EQ(copy_datafile(FileAt(src + "/A.MOL"), FileAt(tmp / "no/such/dir/A.MOL")), 0);
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].text, "A.MOL\nCannot find this file.");
}

TEST_F(DataFileTest, RemovesTheSelection) {
  const char* names[] = {"a.mol", "B.ENZ", nullptr};
  remove_datafiles_ex(DirAt(src), names, false);
  EXPECT_EQ(Files(src), (std::set<std::string>{"c.txt", "empty", "sub/"}));

  SetUp();
  remove_datafiles_ex(DirAt(src), names, true);
  EXPECT_EQ(Files(src), (std::set<std::string>{"A.MOL", "b.enz", "sub/"}));

  SetUp();
  remove_datafiles(DirAt(src));
  EXPECT_EQ(Files(src), (std::set<std::string>{"sub/"}));
  EXPECT_EQ(Files(src + "/sub"), (std::set<std::string>{"deep.mol"}));
  EXPECT_TRUE(ui().messages.empty());

  // A missing or unset folder: nothing happens.
  remove_datafiles(DirAt(tmp / "missing"));
  remove_datafiles(CZelDirSpec());
  EXPECT_TRUE(ui().messages.empty());
}

TEST_F(DataFileTest, EmptiesFoldersAndSubfolders) {
  CZelDirSpec root(tmp.str().c_str());
  EXPECT_EQ(root.EmptySubdir("src"), 1);
  EXPECT_EQ(Files(src), (std::set<std::string>{"sub/"}));
  EXPECT_EQ(root.EmptySubdir("src/sub"), 1);
  EXPECT_TRUE(Files(src + "/sub").empty());
  EXPECT_EQ(root.EmptySubdir("missing"), 1);
  EXPECT_EQ(CZelDirSpec().EmptyDir(), 1);
  EXPECT_EQ(CZelDirSpec().EmptySubdir("src"), 1);
  EXPECT_TRUE(fs::exists(src + "/sub"));
}

TEST_F(DataFileTest, TransfersFilesNotFolders) {
  transfer_datafiles(DirAt(src), DirAt(dst));
  EXPECT_EQ(Files(dst), (std::set<std::string>{"A.MOL", "b.enz", "c.txt", "empty"}));
  EXPECT_EQ(zel_test::ReadFile(dst + "/c.txt"), "text");

  fs::remove_all(dst);
  fs::create_directories(dst);
  const char* names[] = {"C.TXT", nullptr};
  transfer_datafiles_ex(DirAt(src), DirAt(dst), names, false);
  EXPECT_EQ(Files(dst), (std::set<std::string>{"c.txt"}));
  transfer_datafiles_ex(DirAt(src), DirAt(dst), names, true);
  EXPECT_EQ(Files(dst), (std::set<std::string>{"A.MOL", "b.enz", "c.txt", "empty"}));

  // Nothing is created: a missing target folder fails file by file; a missing source
  // does nothing.
  ui().messages.clear();
  transfer_datafiles(DirAt(tmp / "missing"), DirAt(dst));
  EXPECT_TRUE(ui().messages.empty());
  transfer_datafiles(DirAt(src), DirAt(tmp / "nodir"));
  EXPECT_EQ(ui().messages.size(), 4u);
  EXPECT_FALSE(fs::exists(tmp / "nodir"));
}

// Only regular files are handled: links and FIFOs in either folder are neither followed,
// written through nor waited on, and each one skipped is reported.
TEST_F(DataFileTest, LinksAndSpecialFilesAreSkipped) {
  const std::string outside = tmp / "outside.txt", secret = tmp / "secret";
  zel_test::WriteFile(outside, "outside");
  zel_test::WriteFile(secret, "secret");
  fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(outside, dst + "/A.MOL");  // planted in the target
  fs::create_symlink(secret, src + "/stolen");  // planted in the source
  zel_test::WriteFile(dst + "/b.enz", "old");
  fs::permissions(dst + "/b.enz", fs::perms::owner_read | fs::perms::owner_write);
  const std::string fifo = src + "/pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A writer that a copy reading the FIFO would meet; released below if nobody did.
  std::thread writer([&fifo] {
    const int fd = open(fifo.c_str(), O_WRONLY);
    if (fd >= 0) {
      EXPECT_EQ(write(fd, "x", 1), 1);
      close(fd);
    }
  });

  transfer_datafiles(DirAt(src), DirAt(dst));

  const int release = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  writer.join();
  if (release >= 0) close(release);
  EXPECT_EQ(zel_test::ReadFile(outside), "outside");
  EXPECT_FALSE(fs::is_symlink(dst + "/A.MOL"));
  EXPECT_EQ(zel_test::ReadFile(dst + "/A.MOL"), "mol");
  EXPECT_FALSE(fs::exists(dst + "/stolen"));
  EXPECT_FALSE(fs::exists(dst + "/pipe"));
  EXPECT_EQ(zel_test::ReadFile(dst + "/b.enz"), "enz");
  EXPECT_EQ(fs::status(dst + "/b.enz").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Files(dst), (std::set<std::string>{"A.MOL", "b.enz", "c.txt", "empty"}));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Skipped, not a regular file: pipe",
                                               "Skipped, not a regular file: stolen"}));

  // Copying one file names the source itself: a link there is not followed.
  ui().messages.clear();
  EXPECT_EQ(copy_datafile(FileAt(src + "/stolen"), FileAt(dst + "/stolen")), 0);
  EXPECT_FALSE(fs::exists(dst + "/stolen"));
  EXPECT_EQ(ui().messages.size(), 1u);

  // Removal leaves links and FIFOs alone too.
  ui().messages.clear();
  remove_datafiles(DirAt(src));
  EXPECT_EQ(Files(src), (std::set<std::string>{"pipe", "stolen", "sub/"}));
  EXPECT_EQ(zel_test::ReadFile(secret), "secret");
  EXPECT_EQ(ui().messages.size(), 2u);
}

TEST_F(DataFileTest, ReadOnlyFolderFailsFileByFile) {
  std::string ro = Mount("ro", "1m", true, {"one.mol", "two.enz"});
  if (ro.empty()) GTEST_SKIP() << "cannot mount a read-only tmpfs here";

  remove_datafiles(DirAt(ro));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Failed to remove file: one.mol",
                                               "Failed to remove file: two.enz"}));
  EXPECT_EQ(Files(ro), (std::set<std::string>{"one.mol", "two.enz"}));

  ui().messages.clear();
  const char* names[] = {"A.MOL", "c.txt", nullptr};
  transfer_datafiles_ex(DirAt(src), DirAt(ro), names, false);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"Unable to write to A.MOL, it is read-only or opened by "
                                      "someone else.",
                                      "Unable to write to c.txt, it is read-only or opened by "
                                      "someone else."}));
  EXPECT_EQ(ui().messages[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
}

TEST_F(DataFileTest, FullDiskLeavesTheCopy) {
  std::string small = Mount("small", "64k", false);
  if (small.empty()) GTEST_SKIP() << "cannot mount a tmpfs here";
  zel_test::WriteFile(src + "/A.MOL", std::string(200000, 'm'));
  EXPECT_EQ(zel_test::CauseOf<CFileException>(
                [&] { copy_datafile(FileAt(src + "/A.MOL"), FileAt(small + "/A.MOL")); }),
            CFileException::diskFull);
  EXPECT_EQ(
      zel_test::CauseOf<CFileException>([&] { transfer_datafiles(DirAt(src), DirAt(small)); }),
      CFileException::diskFull)
      << "the full disk went unnoticed";
}

}  // namespace
