// Path rules where Linux differs from the suite's home: wildcards in modification-time
// look-ups, and specifications built on the root folder.
#include <utime.h>

#include <string>

#include "files/FileTypeIds.h"
#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"
#include "platform/os/fs/FileSystem.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(WildcardTest, PlatformRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*", ".hidden", true},  // a leading dot is an ordinary character
      {"*.gb", ".gb", true},
      {"*", "a.b.c", true},  // dots inside a run
      {"a*c", "a.b.c", true},
      {"?.txt", "a.txt", true},
      {"?.txt", "ab.txt", false},
      {"??", "a", false},
      {"*.*", "noext", true},  // "*.*" also takes names without a dot
      {"data.*", "data", true},
      {"data.*", "database", false},
      {"*.*", "a.b", true},
      {"[ab].txt", "[ab].txt", true},  // "[" is not a set
      {"[ab].txt", "a.txt", false},
      {"*.GB", "x.gb", true},  // letters without regard to case
      {"X?Z", "xyz", true},
      {"*a*b*", "xxaxxbxx", true},
      {"*a*b", "xxaxxbxxc", false},
      {"", "", true},
      {"", "a", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.name);
    EXPECT_EQ(zel_fs::WildcardMatch(c.pattern, c.name), c.match);
  }
}

class PathRulesTest : public zel_test::ZelTest {};

TEST_F(PathRulesTest, ModificationTimeTakesAPatternInTheLastComponentOnly) {
  const std::string dir = tmp / "d[1]";
  std::filesystem::create_directories(dir);
  zel_test::WriteFile(dir + "/.profile", "x");
  utimbuf times{1000000000, 1000000000};
  ASSERT_EQ(::utime((dir + "/.profile").c_str(), &times), 0);
  CTime when;
  // The folder's "[1]" is literal; the name's "*" takes the leading dot.
  EXPECT_TRUE(CZelFileSpec((dir + "/*").c_str(), 0).GetFileLastModificationTime(when));
  EXPECT_EQ(when.GetTime(), 1000000000);
  EXPECT_TRUE(CZelFileSpec((dir + "/*.*").c_str(), 0).GetFileLastModificationTime(when));
  EXPECT_TRUE(CZelFileSpec((dir + "/.PRO?ILE").c_str(), 0).GetFileLastModificationTime(when));
  EXPECT_FALSE(CZelFileSpec((tmp / "d?1?/*").c_str(), 0).GetFileLastModificationTime(when));
}

TEST_F(PathRulesTest, TheRootJoinsWithOneSeparator) {
  CZelDirSpec root("/");
  EXPECT_STREQ(root.GetPath(), "/");
  EXPECT_STREQ((root + "etc").GetPath(), "/etc");
  EXPECT_STREQ(CZelDirSpec(root, "etc").GetPath(), "/etc");
  CZelDirSpec moved = root;
  moved.ChDir("etc");
  EXPECT_STREQ(moved.GetPath(), "/etc");
  CZelFileSpec file;
  file.SetSpec(root, "hosts", 0UL, 0UL);
  EXPECT_STREQ(file.GetPath(), "/hosts");
  file.SetSpec(root, "zeludat", kDefinition);
  EXPECT_STREQ(file.GetPath(), "/zeludat.def");
  EXPECT_STREQ(CZelFileSpec(root, "x", kProfile).GetPath(), "/x.ini");
  file.ReconstructSpec(root, "passwd", 0);
  EXPECT_STREQ(file.GetPath(), "/passwd");
  EXPECT_STREQ(file.GetDirectory().GetPath(), "/");
  // Other folders join as before.
  EXPECT_STREQ(CZelFileSpec(CZelDirSpec("/tmp/"), "x", 0).GetPath(), "/tmp/x.");
  EXPECT_STREQ(CZelFileSpec(CZelDirSpec("rel"), "x", 0).GetPath(), "rel/x.");
}

}  // namespace
