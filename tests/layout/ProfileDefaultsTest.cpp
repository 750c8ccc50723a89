// First-run settings defaults: the defaults file rules and the once-only import.
#include <gtest/gtest.h>

#include <filesystem>

#include "layout/DirectoryLayout.h"
#include "layout/ProfileDefaults.h"
#include "layout/Settings.h"
#include "platform/os/profile/ProfileFile.h"
#include "platform/user/app/WinApp.h"
#include "tests/support/TestSupport.h"

namespace {

class ProfileDefaultsTest : public zel_test::ZelTest {
 protected:
  ProfileDefaultsTest() {
    app.m_strExeName = "defaultstest";
    std::filesystem::create_directories(tmp / "main");
    MAINDIR.SetSpecWin((tmp / "main").c_str());
  }
  CString Get(const char* section, const char* entry) {
    return ZelGetProfileString(section, entry, "<unset>");
  }
  CWinApp app{"Defaults Test"};
};

TEST_F(ProfileDefaultsTest, DefaultsFileFillsOnlyEmptyEntries) {
  ZelWriteProfileString("s", "mine", "user value");
  ZelWriteProfileString("s", "blank", "");
  std::string longValue(200, 'v');
  zel_test::WriteFile(tmp / "d.ini",
                      "top=before any section\r\n"
                      "[s]\r\n"
                      "; comment=ignored\r\n"
                      "a=1\r\n"
                      "ab=1\r\n"
                      "cd=\r\n"
                      "ef=x=y\r\n"
                      " g=blank first\r\n"
                      "mine=default\r\n"
                      "blank=filled\r\n"
                      "[]\r\n"
                      "after=empty brackets\r\n"
                      "[x\r\n"
                      "afterx=unclosed\r\n"
                      "[View Local Molecules]\r\n"
                      "sort=Name\r\n"
                      "[ t ]\n"
                      "long=" +
                          longValue +
                          "\n"
                          "[]x]\n"
                          "z1=short section name\n");
  SetProfileDefaultsFromFile(CZelFileSpec((tmp / "d.ini").c_str(), 0));
  struct Case {
    const char* section;
    const char* entry;
    std::string want;
  } cases[] = {
      {"", "top", "before any section"},
      {"s", "a", "<unset>"},
      {"s", "ab", "1"},
      {"s", "cd", "<unset>"},
      {"s", "ef", "x=y"},
      {"s", " g", "blank first"},
      {"s", "mine", "user value"},
      {"s", "blank", "filled"},
      {"s", "after", "empty brackets"},
      {"s", "afterx", "unclosed"},
      {"View Local DNA/RNA Molecules", "sort", "Name"},
      {"View Local Molecules", "sort", "<unset>"},
      // At most 118 characters of a line are read at a time; the rest is another line.
      {" t ", "long", longValue.substr(0, 118 - 5)},
      {"]x", "z1", "<unset>"},
      {" t ", "z1", "short section name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.entry);
    EXPECT_EQ(Get(c.section, c.entry).str(), c.want);
  }
}

TEST_F(ProfileDefaultsTest, FirstRunImportsOnceWithHostFileFirst) {
  zel_test::WriteFile(tmp / "main/defaults.ini", "[v]\r\nfrom=main\r\nmainonly=1\r\n");
  ASSERT_TRUE(WritePrivateProfileString("common setup", "Import", "1", "HostDefaults.ini"));
  ASSERT_TRUE(WritePrivateProfileString("v", "from", "host", "HostDefaults.ini"));
  SetNewProfileDefaults("Imported", "HostDefaults.ini", "Import");
  EXPECT_EQ(Get("v", "from"), "host");
  EXPECT_EQ(Get("v", "mainonly"), "1");
  EXPECT_EQ(ZelGetProfileInt("common setup", "imported", 0), 1u);

  // Once the flag is set neither file is read again.
  ZelWriteProfileString("v", "from", nullptr);
  ZelWriteProfileString("v", "mainonly", nullptr);
  SetNewProfileDefaults("Imported", "HostDefaults.ini", "Import");
  EXPECT_EQ(Get("v", "from"), "<unset>");
  EXPECT_EQ(Get("v", "mainonly"), "<unset>");
}

TEST_F(ProfileDefaultsTest, HostFileNeedsItsOwnSwitch) {
  zel_test::WriteFile(tmp / "main/defaults.ini", "[v]\r\nfrom=main\r\n");
  for (const char* import : {static_cast<const char*>("0"), static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(import ? import : "(missing)");
    ZelWriteProfileString("common setup", "Flag", nullptr);
    ZelWriteProfileString("v", "from", nullptr);
    ASSERT_TRUE(WritePrivateProfileString("common setup", "Import", import, "Host.ini"));
    ASSERT_TRUE(WritePrivateProfileString("v", "from", "host", "Host.ini"));
    SetNewProfileDefaults("Flag", "Host.ini", "Import");
    EXPECT_EQ(Get("v", "from"), "main");
    EXPECT_EQ(ZelGetProfileInt("common setup", "flag", 0), 1u);
  }
  // Without any defaults file the flag is still set.
  std::filesystem::remove(tmp / "main/defaults.ini");
  ZelWriteProfileString("common setup", "Flag", nullptr);
  SetNewProfileDefaults("Flag", "Missing.ini", "Import");
  EXPECT_EQ(ZelGetProfileInt("common setup", "flag", 0), 1u);
}

}  // namespace
