// Profile files and the application object's profile calls.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/os/profile/ProfileFile.h"
#include "platform/os/registry/Registry.h"
#include "platform/user/app/WinApp.h"
#include "tests/support/TestSupport.h"

namespace {

class ProfileTest : public zel_test::ZelTest {
 protected:
  std::string file = tmp / "test.ini";
  CString Get(const char* section, const char* key, const char* def = "<none>") {
    char buf[512];
    GetPrivateProfileString(section, key, def, buf, sizeof buf, file.c_str());
    return buf;
  }
};

TEST_F(ProfileTest, ReadsByThePlatformRules) {
  zel_test::WriteFile(file,
                      "; comment\r\n"
                      "orphan=before any section\r\n"
                      "[Tools]\r\n"
                      "  Target =  C:\\x.exe  \r\n"
                      "quoted=\"  padded  \"\r\n"
                      "single='a'\r\n"
                      "inner=\"a\" -f \"b\"\n"
                      "eq=a=b\r"
                      "empty=\r\n"
                      "[ tools ]\r\n"
                      "target=second section loses\r\n"
                      "[Other]\r\n"
                      "last=no line end");
  struct Case {
    const char* section;
    const char* key;
    const char* want;
  } cases[] = {
      {"TOOLS", "target", "C:\\x.exe"}, {"tools", "quoted", "  padded  "},
      {"tools", "single", "a"},         {"tools", "inner", "a\" -f \"b"},
      {"tools", "eq", "a=b"},           {"tools", "empty", ""},
      {"other", "LAST", "no line end"}, {"", "orphan", "<none>"},
      {"tools", "missing", "<none>"},   {"nosuch", "target", "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(Get(c.section, c.key), c.want);
  }
  char small[5];
  EXPECT_EQ(GetPrivateProfileString("tools", "target", "", small, sizeof small, file.c_str()), 4u);
  EXPECT_STREQ(small, "C:\\x");
  EXPECT_EQ(Get("tools", "missing", "def  "), "def");  // trailing blanks of a default go
  zel_test::WriteFile(file, "[n]\nneg=-12abc\nword=abc\n");
  EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("N", "neg", 7, file.c_str())), -12);
  EXPECT_EQ(GetPrivateProfileInt("n", "word", 7, file.c_str()), 0u);
  EXPECT_EQ(GetPrivateProfileInt("n", "none", 7, file.c_str()), 7u);
}

TEST_F(ProfileTest, WritesChangeOnlyTheirLine) {
  std::string original = "; keep me\r\n[A]\r\nx=1\r\n\r\n[B]\n\x01\x02 junk stays\ny=2\n[C\nz=3\n";
  zel_test::WriteFile(file, original);
  ASSERT_TRUE(WritePrivateProfileString("a", "X", "one", file.c_str()));
  ASSERT_TRUE(WritePrivateProfileString("A", "new", "n", file.c_str()));
  ASSERT_TRUE(WritePrivateProfileString("b", "y", nullptr, file.c_str()));
  ASSERT_TRUE(WritePrivateProfileString("D", "d", "4", file.c_str()));
  EXPECT_EQ(zel_test::ReadFile(file),
            "; keep me\r\n[A]\r\nX=one\r\nnew=n\r\n\r\n[B]\n\x01\x02 junk stays\n[C\nz=3\n"
            "[D]\r\nd=4\r\n");
  EXPECT_EQ(Get("c", "z"), "<none>");  // under an unclosed section line: in no section
  // Values the read rules would change come back as written.
  for (const char* value : {"  blanks  ", "\"quoted\"", "'q'", "", "a=b", "\xe9t\xe9"}) {
    SCOPED_TRACE(value);
    ASSERT_TRUE(WritePrivateProfileString("V", "v", value, file.c_str()));
    EXPECT_EQ(Get("v", "v"), value);
  }
  // What one line cannot hold is refused, and the file stays as it was.
  std::string before = zel_test::ReadFile(file);
  EXPECT_FALSE(WritePrivateProfileString("V", "v", "two\nlines", file.c_str()));
  EXPECT_FALSE(WritePrivateProfileString("V", "k=v", "x", file.c_str()));
  EXPECT_FALSE(WritePrivateProfileString("V]", "k", "x", file.c_str()));
  EXPECT_EQ(zel_test::ReadFile(file), before);
  // A null key removes the section.
  ASSERT_TRUE(WritePrivateProfileString("a", nullptr, nullptr, file.c_str()));
  EXPECT_EQ(Get("a", "new"), "<none>");
  EXPECT_EQ(Get("d", "d"), "4");
}

TEST_F(ProfileTest, LinkedFileStaysLinked) {
  zel_test::WriteFile(tmp / "real.ini", "[s]\r\nold=1\r\n");
  std::filesystem::create_symlink(tmp / "real.ini", file);
  ASSERT_TRUE(WritePrivateProfileString("s", "new", "2", file.c_str()));
  EXPECT_TRUE(std::filesystem::is_symlink(file));
  EXPECT_EQ(zel_test::ReadFile(tmp / "real.ini"), "[s]\r\nold=1\r\nnew=2\r\n");
}

TEST_F(ProfileTest, BareNamesLiveInTheProfilesFolder) {
  char dir[MAX_PATH];
  UINT n = GetWindowsDirectory(dir, MAX_PATH);
  EXPECT_EQ(std::string(dir, n), tmp / "home/profiles");
  EXPECT_EQ(GetWindowsDirectory(dir, 3), n + 1);
  ASSERT_TRUE(WritePrivateProfileString("s", "k", "v", "Host.ini"));
  EXPECT_EQ(zel_test::ReadFile(tmp / "home/profiles/Host.ini"), "[s]\r\nk=v\r\n");
  // A path with a folder is taken as it is, and its folder is not made.
  EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", (tmp / "nodir/x.ini").c_str()));
}

// The application object: a profile file without a registry key, the per-user hive with one.
TEST_F(ProfileTest, ApplicationObjectChoosesItsStore) {
  CWinApp app("Demo");
  app.m_strExeName = "demo";
  ASSERT_TRUE(app.WriteProfileString("Directories", "maindir", "/data"));
  ASSERT_TRUE(app.WriteProfileInt("Numbers", "n", -5));
  EXPECT_EQ(zel_test::ReadFile(tmp / "home/profiles/demo.ini"),
            "[Directories]\r\nmaindir=/data\r\n[Numbers]\r\nn=-5\r\n");
  EXPECT_EQ(app.GetProfileString("directories", "MAINDIR"), "/data");
  EXPECT_EQ(static_cast<int>(app.GetProfileInt("numbers", "n", 3)), -5);
  EXPECT_EQ(app.GetProfileString("directories", "none", "dflt"), "dflt");
  EXPECT_EQ(app.GetProfileLocation().str(), tmp / "home/profiles/demo.ini");

  app.SetRegistryKey("Maker");
  EXPECT_EQ(app.GetProfileString("directories", "maindir"), "");
  ASSERT_TRUE(app.WriteProfileString("Directories", "maindir", "/reg"));
  ASSERT_TRUE(app.WriteProfileInt("Numbers", "n", 42));
  CString text;
  ASSERT_EQ(zel_registry::QueryString(ZelHive::CurrentUser, "Software\\Maker\\Demo\\Directories",
                                      "maindir", text),
            ERROR_SUCCESS);
  EXPECT_EQ(text, "/reg");
  EXPECT_EQ(app.GetProfileInt("Numbers", "n", 0), 42u);
  EXPECT_EQ(app.GetProfileString("Numbers", "n"), "42");

  for (bool registry : {true, false}) {
    SCOPED_TRACE(registry ? "registry" : "profile file");
    if (!registry) app.m_strRegistryKey.Empty();
    const BYTE block[] = {0, 1, 0xab, 0xff};
    ASSERT_TRUE(app.WriteProfileBinary("Bin", "b", block, sizeof block));
    BYTE* data = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(app.GetProfileBinary("bin", "B", &data, &bytes));
    ASSERT_EQ(bytes, sizeof block);
    EXPECT_EQ(std::memcmp(data, block, bytes), 0);
    delete[] data;
    EXPECT_FALSE(app.GetProfileBinary("bin", "none", &data, &bytes));
    EXPECT_EQ(data, nullptr);
    // Deleting an entry, then its section.
    ASSERT_TRUE(app.WriteProfileString("Bin", "b", nullptr));
    EXPECT_FALSE(app.GetProfileBinary("bin", "b", &data, &bytes));
    ASSERT_TRUE(app.WriteProfileString("Numbers", nullptr, nullptr));
    EXPECT_EQ(app.GetProfileInt("numbers", "n", 9), 9u);
  }
}

}  // namespace
