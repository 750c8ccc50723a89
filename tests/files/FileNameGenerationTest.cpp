// File names from free text: the two rule sets, the flags, and unique numbering.
#include <gtest/gtest.h>

#include "files/FileNameGeneration.h"
#include "files/FileNameGenerationInternal.h"
#include "files/FileTypeIds.h"
#include "tests/support/TestSupport.h"

namespace {

const int kLong = 3, kShort = 1;
const int kDnaType = kDnaDocument;  // ".gb"

class FileNameGenerationTest : public zel_test::ZelTest {
 protected:
  CZelDirSpec dir{tmp.str().c_str()};
  std::string In(const std::string& name) const { return tmp / name; }
  void Touch(const std::string& name) { zel_test::WriteFile(In(name), ""); }
};

TEST_F(FileNameGenerationTest, NamesKeepOnlyWhatTheFileSystemTakes) {
  struct Case {
    int system;
    const char* name;
    int flags;
    const char* want;  // null: failure
  } cases[] = {
      {kLong, "pBR322 (v2), final", 0, "pBR322 (v2), final"},
      {kLong, "a:b/c*d?e<f>g|h\\i\"j", 0, "abcdefghij"},
      {kLong, "tab\there\x7f\x80\xe9!", 0, "tabhere!"},
      {kLong, "a b,c|d&e(f)g", 8, "ab,cd&e(f)g"},
      {kLong, "a b,c|d&e(f)g", 16, "a bcdefg"},
      {kLong, "my mol", 1, "Shortcut to my mol"},
      {kLong, "my mol", 1 | 8, "mymol"},
      {kLong, "my mol", 1 | 2, "Shortcut to my mol"},
      {kLong, "?*:", 0, nullptr},
      {kLong, "\x01\xff", 0, nullptr},
      {kLong, "", 0, nullptr},
      {kShort, "ABCDEFGHIJKLMNOPQRST", 0, "ABCDEFGH"},
      {kShort, "a b+c.d;e=f[g]h,ij", 0, "abcdefgh"},
      {kShort, "my mol", 1, "mymol"},
      {kShort, "+.,", 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " flags " + std::to_string(c.flags));
    CZelFileSpec spec("untouched", kVdb);
    int ok = GenerateFileSpecFor(c.system, spec, dir, c.name, kDnaType, c.flags);
    if (!c.want) {
      EXPECT_EQ(ok, 0);
      EXPECT_STREQ(spec.GetPath(), "untouched");
      continue;
    }
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(spec.GetPath(), In(std::string(c.want) + ".gb"));
    EXPECT_EQ(spec.GetType(), kDnaType);
  }
  // Long names stop at 64 kept characters.
  CZelFileSpec spec;
  std::string long70(70, 'x');
  ASSERT_EQ(GenerateFileSpecFor(kLong, spec, dir, ("::" + long70).c_str(), kDnaType, 0), 1);
  EXPECT_EQ(spec.GetPath(), In(std::string(64, 'x') + ".gb"));
}

TEST_F(FileNameGenerationTest, UniqueNamesAreNumbered) {
  CZelFileSpec spec;
  ASSERT_EQ(GenerateFileSpecFor(kLong, spec, dir, "mol", kDnaType, 4), 1);
  EXPECT_EQ(spec.GetPath(), In("mol.gb"));
  Touch("mol.gb");
  ASSERT_EQ(GenerateFileSpecFor(kLong, spec, dir, "mol", kDnaType, 0), 1);
  EXPECT_EQ(spec.GetPath(), In("mol.gb"));  // without the unique bit an existing name is fine
  Touch("mol~00.gb");
  ASSERT_EQ(GenerateFileSpecFor(kLong, spec, dir, "mol", kDnaType, 4), 1);
  EXPECT_EQ(spec.GetPath(), In("mol~01.gb"));
  // Numbered names drop the shortcut prefix.
  Touch("Shortcut to mol.gb");
  ASSERT_EQ(GenerateFileSpecFor(kLong, spec, dir, "mol", kDnaType, 4 | 1), 1);
  EXPECT_EQ(spec.GetPath(), In("mol~01.gb"));
  // On a short-name system the numbered names keep five characters.
  Touch("ABCDEFGH.gb");
  Touch("ABCDE~00.gb");
  ASSERT_EQ(GenerateFileSpecFor(kShort, spec, dir, "ABCDEFGHIJKLMNOPQRST", kDnaType, 4), 1);
  EXPECT_EQ(spec.GetPath(), In("ABCDE~01.gb"));
  // A long name is cut to make room for the counter.
  std::string name64(64, 'n');
  Touch(name64 + ".gb");
  ASSERT_EQ(GenerateFileSpecFor(kLong, spec, dir, name64.c_str(), kDnaType, 4), 1);
  EXPECT_EQ(spec.GetPath(), In(std::string(61, 'n') + "~00.gb"));
}

TEST_F(FileNameGenerationTest, AllNumbersTakenFails) {
  Touch("x.gb");
  for (int i = 0; i < 256; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "x~%02x.gb", i);
    Touch(name);
  }
  CZelFileSpec spec;
  EXPECT_EQ(GenerateFileSpecFor(kLong, spec, dir, "x", kDnaType, 4), 0);
  EXPECT_EQ(spec.GetPath(), In("x~ff.gb"));  // the last one tried
}

TEST_F(FileNameGenerationTest, ThisSystemTakesLongNames) {
  CZelFileSpec spec;
  ASSERT_EQ(spec.SuggestShortcutSpec(dir, "my long molecule name", kDnaType), 1);
  EXPECT_EQ(spec.GetPath(), In("Shortcut to my long molecule name.gb"));
}

}  // namespace
