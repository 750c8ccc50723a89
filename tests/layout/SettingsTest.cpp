// The settings functions: the application's store, the suite-wide store, integers as
// text, and the installation key.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "layout/Settings.h"
#include "platform/os/registry/Registry.h"
#include "platform/user/app/WinApp.h"
#include "tests/support/TestSupport.h"

namespace {

const char* const kSuiteKey = "Software\\TESSALY, INC\\QLLI 10\\Quillion";
const char* const kInstallKey = "Software\\Tessaly\\Quillion Suite\\10\\directories";

class SettingsTest : public zel_test::ZelTest {
 protected:
  SettingsTest() { app.m_strExeName = "settingstest"; }
  CWinApp app{"Settings Test"};
};

TEST_F(SettingsTest, IntegersAreDecimalTextReadWithAtoi) {
  struct Case {
    const char* stored;  // null: entry missing
    unsigned want;
  } cases[] = {
      {nullptr, 77u},  {"", 0u},
      {"letters", 0u}, {"  -5xyz", static_cast<unsigned>(-5)},
      {"+12", 12u},    {"2147483647", 2147483647u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(missing)");
    ASSERT_TRUE(app.WriteProfileString("Numbers", "n", c.stored));
    EXPECT_EQ(ZelGetProfileInt("NUMBERS", "N", 77), c.want);
  }
  ASSERT_NE(ZelWriteProfileInt("Numbers", "n", -5), 0);
  EXPECT_EQ(ZelGetProfileString("numbers", "n", "x"), "-5");
  EXPECT_EQ(ZelGetProfileString("numbers", "missing", nullptr), "");
  EXPECT_EQ(ZelGetProfileString("numbers", "missing", "dflt"), "dflt");
}

TEST_F(SettingsTest, WriteStringAnswersAOneCharacterFlag) {
  CString ok = ZelWriteProfileString("directories", "maindir", "/data");
  ASSERT_EQ(ok.GetLength(), 1);
  EXPECT_EQ(ok[0], 1);
  EXPECT_EQ(ZelGetProfileString("Directories", "MainDir", nullptr), "/data");
  // A store that cannot be written: its folder does not exist.
  app.m_strProfileName = (tmp / "missing/settings.ini").c_str();
  CString failed = ZelWriteProfileString("directories", "maindir", "/data");
  ASSERT_EQ(failed.GetLength(), 1);
  EXPECT_EQ(failed[0], 0);
  EXPECT_EQ(ZelWriteProfileInt("directories", "n", 1), 0);
}

// The suite-wide store is the per-user hive's suite key, whatever the application's own
// store is, and the application object is left as it was.
TEST_F(SettingsTest, SuiteStoreIsSharedAndSwitchedForOneCall) {
  for (bool ownRegistry : {false, true}) {
    SCOPED_TRACE(ownRegistry ? "application in the registry" : "application in a profile file");
    if (ownRegistry) app.SetRegistryKey("Own Maker");
    CString key = app.m_strRegistryKey, name = app.m_strProfileName;
    ASSERT_EQ(QlliWriteProfileString("Paths", "Shared", ownRegistry ? "r" : "p")[0], 1);
    ASSERT_NE(QlliWriteProfileInt("Paths", "Count", -3), 0);
    EXPECT_EQ(app.m_strRegistryKey, key);
    EXPECT_EQ(app.m_strProfileName, name);
    CString text;
    ASSERT_EQ(zel_registry::QueryString(ZelHive::CurrentUser, CString(kSuiteKey) + "\\paths",
                                        "shared", text),
              ERROR_SUCCESS);
    EXPECT_EQ(text, ownRegistry ? "r" : "p");
    EXPECT_EQ(QlliGetProfileString("PATHS", "shared", nullptr), text);
    EXPECT_EQ(static_cast<int>(QlliGetProfileInt("paths", "count", 0)), -3);
    EXPECT_EQ(ZelGetProfileString("paths", "shared", "not here"), "not here");
  }
}

TEST_F(SettingsTest, SuiteBinaryValuesComeBackInANewBlock) {
  unsigned char data[] = {1, 0, 2, 255};
  ASSERT_NE(QlliWriteProfileBinary("Blob", "b", data, sizeof data), 0);
  unsigned char* block = nullptr;
  ASSERT_NE(QlliGetProfileBinary("blob", "B", reinterpret_cast<unsigned char*>(&block), 4), 0);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::memcmp(block, data, sizeof data), 0);
  delete[] block;
  block = nullptr;
  EXPECT_EQ(QlliGetProfileBinary("blob", "none", reinterpret_cast<unsigned char*>(&block), 4), 0);
  EXPECT_EQ(block, nullptr);
}

TEST_F(SettingsTest, InstallationKeyGivesTheExecutablesFolder) {
  CString dir = "old";
  EXPECT_EQ(ZelGetLocalExeDir(dir, "/fallback"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(dir, "/fallback");
  ASSERT_EQ(zel_registry::CreateKey(ZelHive::LocalMachine, kInstallKey), ERROR_SUCCESS);
  EXPECT_EQ(ZelGetLocalExeDir(dir, "/fallback"), ERROR_FILE_NOT_FOUND);  // no value
  EXPECT_EQ(dir, "/fallback");
  ASSERT_EQ(zel_registry::SetString(ZelHive::LocalMachine, kInstallKey, "ExeDir", "/opt/q"),
            ERROR_SUCCESS);
  EXPECT_EQ(ZelGetLocalExeDir(dir, "/fallback"), 0);
  EXPECT_EQ(dir, "/opt/q");
  // A value that does not fit the 1024-byte buffer is an error, and the default is used.
  std::string longPath(1024, 'p');
  ASSERT_EQ(zel_registry::SetString(ZelHive::LocalMachine, kInstallKey, "exedir", longPath.c_str()),
            ERROR_SUCCESS);
  EXPECT_EQ(ZelGetLocalExeDir(dir, "/fallback"), ERROR_MORE_DATA);
  EXPECT_EQ(dir, "/fallback");
}

// zel settings: names no store can hold are usage errors, and a store that cannot be read
// or written says why, in the system's words.
TEST_F(SettingsTest, CommandRefusesWhatNoStoreHoldsAndSaysWhyAStoreFails) {
  const std::string profiles = tmp / "home/profiles";
  const std::string registry = tmp / "home/registry";
  std::filesystem::create_directories(profiles);
  std::filesystem::create_directories(registry);
  struct Case {
    const char* what;
    std::function<void()> plant;
    std::string args;
    int status;
    std::string err;  // the first line of standard error
  } cases[] = {
      {"an empty section", [] {}, "settings set '' e v", 2,
       "zel: settings: a section name cannot be empty"},
      {"a section of blanks", [] {}, "settings get --suite '  ' e", 2,
       "zel: settings: a section name cannot be empty"},
      {"a control character in a suite section", [] {},
       "settings set --suite \"$(printf 'a\\001b')\" e v", 2,
       "zel: settings: a section name of the suite's store cannot hold a control character"},
      {"a folder at the store's lock",
       [&] { std::filesystem::create_directories(profiles + "/zel.ini.lock"); },
       "settings set S e v", 1,
       "zel: settings: cannot write [S] e to " + profiles + "/zel.ini (" + profiles +
           "/zel.ini.lock: Is a directory)"},
      {"a folder at the store", [&] { std::filesystem::create_directories(profiles + "/zel.ini"); },
       "settings get --default d S e", 1,
       "zel: settings: cannot read " + profiles + "/zel.ini (Is a directory)"},
      {"a damaged hive whose copy has no room",
       [&] {
         zel_test::WriteFile(registry + "/user.reg", "[S]\n\"a\"=junk\n");
         std::filesystem::create_directories(registry + "/user.reg.bad");
       },
       "settings set --suite S e v", 1,
       "zel: settings: cannot write [S] e to HKEY_CURRENT_USER\\Software\\TESSALY, INC\\QLLI "
       "10\\Quillion in " +
           registry + "/user.reg (" + registry + "/user.reg.bad: Is a directory)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.plant();
    zel_test::ZelResult r = RunZel(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.err);
    // Whatever failed, the hive was left as it was.
    if (std::filesystem::exists(registry + "/user.reg")) {
      EXPECT_EQ(zel_test::ReadFile(registry + "/user.reg"), "[S]\n\"a\"=junk\n");
    }
    std::filesystem::remove_all(profiles);
    std::filesystem::remove_all(registry);
    std::filesystem::create_directories(profiles);
    std::filesystem::create_directories(registry);
  }
}

}  // namespace
