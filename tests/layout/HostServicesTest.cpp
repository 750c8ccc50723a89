// Host services: the automation service name, the system type, the remote tools switch,
// clipboard text and path splitting.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "layout/HostServices.h"
#include "layout/Settings.h"
#include "platform/os/registry/Registry.h"
#include "platform/user/app/WinApp.h"
#include "tests/support/TestSupport.h"

namespace {

class HostServicesTest : public zel_test::ZelChildTest {
 protected:
  HostServicesTest() { app.m_strExeName = "hosttest"; }
  CWinApp app{"Host Test"};
};

// The service name is fixed on its first call in a process, so each case runs in a fresh
// child process.
TEST_F(HostServicesTest, ServiceNameComesFromTheSettingsOncePerProcess) {
  EXPECT_EXIT(
      {
        ZelWriteProfileString("Automation", "ServiceName", "Qlli5#old");
        ChildExpectEq("not unique", CString("hosttest"), ZelGetDDEServerName());
        ChildExpectEq("stored", CString("hosttest"),
                      ZelGetProfileString("automation", "servicename", nullptr));
        ZelWriteProfileInt("Automation", "NeedUniqueServiceName", 1);
        ChildExpectEq("settings changed", CString("hosttest"), ZelGetDDEServerName());
        ExitChild(0);
      },
      ::testing::ExitedWithCode(0), ::testing::IsEmpty());
  EXPECT_EXIT(
      {
        ZelWriteProfileInt("Automation", "NeedUniqueServiceName", 1);
        ZelWriteProfileString("Automation", "ServiceName", "Qlli5#1234abcd");
        ChildExpectEq("unique, stored", CString("Qlli5#1234abcd"), ZelGetDDEServerName());
        ExitChild(0);
      },
      ::testing::ExitedWithCode(0), ::testing::IsEmpty());
  EXPECT_EXIT(
      {
        ZelWriteProfileInt("Automation", "NeedUniqueServiceName", 7);
        ZelWriteProfileString("Automation", "ServiceName", "xQlli5#1234");
        time_t before = std::time(nullptr);
        CString name = ZelGetDDEServerName();
        time_t after = std::time(nullptr);
        ChildExpectEq("prefix", CString("Qlli5#"), name.Left(6));
        unsigned long seconds = std::strtoul(name.Mid(6), nullptr, 16);
        ChildExpectEq(("time of the call in " + name.str()).c_str(), true,
                      seconds >= static_cast<unsigned long>(before) &&
                          seconds <= static_cast<unsigned long>(after));
        CString digits = name.Mid(6);
        ChildExpectEq("lower-case digits", CString(digits).MakeLower(), digits);
        ChildExpectEq("stored", name, ZelGetProfileString("Automation", "ServiceName", nullptr));
        ExitChild(0);
      },
      ::testing::ExitedWithCode(0), ::testing::IsEmpty());
  EXPECT_EXIT(
      {
        ZelWriteProfileInt("Automation", "NeedUniqueServiceName", 0);
        AfxGetApp()->m_strExeName = CString('n', 150);
        ChildExpectEq("cut", CString('n', 100), ZelGetDDEServerName());
        ExitChild(0);
      },
      ::testing::ExitedWithCode(0), ::testing::IsEmpty());
}

TEST_F(HostServicesTest, SystemTypeFromVersionFacts) {
  struct Case {
    bool record;
    ZelOsVersion version;
    DWORD packed;
    int code;
    const char* description;
    long major, minor, build;
  } cases[] = {
      {true, {4, 10, 1998, 1}, 0, 2, "Windows 98 (4.10)", 4, 10, 1998},
      {true, {4, 0, 950, 1}, 0, 2, "Windows 95 (4.0.950)", 4, 0, 950},
      {true, {1, 30, 7, 0}, 0, 1, "Win32s 1.30 on Windows 3.1", 1, 30, 7},
      {true, {6, 1, 12, 2}, 0, 3, "Windows NT 6.1.12", 6, 1, 12},
      {true, {5, 0, 1, 9}, 0, 3, "Windows NT 5.0.1", 5, 0, 1},
      {false, {}, 0x3303, 3, "Windows NT 3.51", 3, 51, 0},
      {false, {}, 0x0A03, 3, "Windows NT 3.1", 3, 10, 0},
      {false, {}, 0x0004, 2, "Windows 95", 4, 0, 0},
      {false, {}, 0x80000A03u, 1, "Win32s on Windows 3.1", 3, 10, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    long major = -1, minor = -1, build = -1;
    CString description = "stale";
    EXPECT_EQ(ZelSystemTypeFrom(c.record ? &c.version : nullptr, c.packed, major, minor, build,
                                description),
              c.code);
    EXPECT_EQ(description, c.description);
    EXPECT_EQ(major, c.major);
    EXPECT_EQ(minor, c.minor);
    EXPECT_EQ(build, c.build);
  }
  // This system reports its kernel's numbers in the family of current systems.
  long major = 0, minor = 0, build = 0;
  CString description;
  EXPECT_EQ(GetZelSystemType(major, minor, build, description), 3);
  EXPECT_GT(major, 0);
  CString expected;
  expected.Format("Windows NT %ld.%ld.%ld", major, minor, build);
  EXPECT_EQ(description, expected);
}

TEST_F(HostServicesTest, RemoteToolsSwitch) {
  const char* key = "Software\\Tessaly\\Quillion Suite\\10CRVNWeb";
  EXPECT_TRUE(isCrvnWebAccessEbanled());  // no key
  ASSERT_EQ(zel_registry::CreateKey(ZelHive::LocalMachine, key), ERROR_SUCCESS);
  EXPECT_TRUE(isCrvnWebAccessEbanled());  // no value
  struct Case {
    std::string value;
    bool want;
  } cases[] = {
      {"Enabled", true},
      {"ENABLED", true},
      {"disabled", false},
      {"", false},
      {"enabled ", false},
      {std::string(23, 'x'), false},
      {std::string(24, 'x'), true},  // does not fit the buffer: as if absent
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    ASSERT_EQ(zel_registry::SetString(ZelHive::LocalMachine, key, "RemoteTools", c.value.c_str()),
              ERROR_SUCCESS);
    EXPECT_EQ(isCrvnWebAccessEbanled(), c.want);
  }
}

TEST_F(HostServicesTest, ClipboardText) {
  CWnd owner(HWND(42));
  EXPECT_EQ(ZelCopyTextToClipboard(&owner, ""), 0);
  EXPECT_EQ(ZelCopyTextToClipboard(&owner, nullptr), 0);
  EXPECT_FALSE(ui().clipboard.has_value());
  EXPECT_TRUE(ui().messages.empty());
  EXPECT_EQ(ZelSaveClipboardTextToFile(&owner, CZelFileSpec((tmp / "none.txt").c_str(), 0)), 0u);
  EXPECT_FALSE(std::filesystem::exists(tmp / "none.txt"));

  ASSERT_EQ(ZelCopyTextToClipboard(&owner, "line 1\r\nline 2\n"), 1);
  EXPECT_EQ(*ui().clipboard, "line 1\r\nline 2\n");
  CZelFileSpec out((tmp / "clip.txt").c_str(), 0);
  EXPECT_EQ(ZelSaveClipboardTextToFile(&owner, out), 15u);
  EXPECT_EQ(zel_test::ReadFile(tmp / "clip.txt"), "line 1\r\nline 2\n");
  // The text ends at its first zero byte.
  ui().clipboard = CString(std::string("ab\0cd", 5));
  EXPECT_EQ(ZelSaveClipboardTextToFile(&owner, out), 2u);
  EXPECT_EQ(zel_test::ReadFile(tmp / "clip.txt"), "ab");
  EXPECT_TRUE(ui().messages.empty());
  // A file that cannot be made is reported by the file's own message.
  EXPECT_EQ(ZelSaveClipboardTextToFile(&owner, CZelFileSpec((tmp / "no/dir.txt").c_str(), 0)), 0u);
  EXPECT_EQ(ui().messages.size(), 1u);

  // Each failure of the clipboard in its own words, with the warning icon, for the owner.
  struct Case {
    ZelClipboard failure;
    bool copying;
    const char* message;  // null: none
  } cases[] = {
      {ZelClipboard::CannotOpen, true, "Cannot open the Clipboard"},
      {ZelClipboard::CannotStore, true, "Error saving text to the Clipboard"},
      {ZelClipboard::CannotOpen, false, "Cannot open the Clipboard"},
      {ZelClipboard::NoText, false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message ? c.message : "no text");
    ui().messages.clear();
    ui().clipboardFailure = c.failure;
    if (c.copying)
      EXPECT_EQ(ZelCopyTextToClipboard(&owner, "x"), 0);
    else
      EXPECT_EQ(ZelSaveClipboardTextToFile(&owner, out), 0u);
    if (!c.message) {
      EXPECT_TRUE(ui().messages.empty());
      continue;
    }
    ASSERT_EQ(ui().messages.size(), 1u);
    EXPECT_EQ(ui().messages[0].text, c.message);
    EXPECT_EQ(ui().messages[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(ui().messages[0].owner, HWND(42));
  }
}

TEST_F(HostServicesTest, PathSplitting) {
  struct Case {
    const char* path;
    const char* name;
    const char* dir;
  } cases[] = {
      {"a/b\\c", "c", "a/b"},      {"a\\b/c", "c", "a\\b"},
      {"abc", "abc", ""},          {"C:\\Data\\x.gb", "x.gb", "C:\\Data"},
      {"C:\\x.gb", "x.gb", "C:"},  {"/x.gb", "x.gb", ""},
      {"/home/u/", "", "/home/u"}, {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ExtractFileName(c.path), c.name);
    EXPECT_EQ(ExtractFileDirectory(c.path), c.dir);
  }
  CString self = ModuleFileName(HINSTANCE());
  EXPECT_TRUE(std::filesystem::equivalent(self.str(), "/proc/self/exe"));
  // A module is named by an address inside it; the library is linked into this program.
  HINSTANCE inLibrary(reinterpret_cast<uintptr_t>(&ExtractFileName));
  EXPECT_EQ(ModuleFileName(inLibrary), self);
}

}  // namespace
