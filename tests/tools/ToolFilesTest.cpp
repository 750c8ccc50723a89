// Tool files of the four kinds: reading, the fall-through order, writing, names; and the
// shell-link and program readers on fixtures made here, well-formed, truncated and lying.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/os/locale/UserLanguage.h"
#include "platform/os/shell/ByteSource.h"
#include "platform/os/shell/ShellLink.h"
#include "platform/os/shell/VersionResource.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ExampleTools.h"
#include "tests/tools/PlantedFiles.h"
#include "tests/tools/ToolFixtures.h"
#include "tools/ToolDataUnit.h"

namespace {

using namespace zel_fixtures;
using zel_test::ReadFile;
using zel_test::WriteFile;
namespace fs = std::filesystem;

class ToolFilesTest : public zel_test::ZelTest {
 protected:
  CToolDataUnit Read(const std::string& name, const std::string& bytes, bool expect = true) {
    WriteFile(tmp / name, bytes);
    CToolDataUnit unit;
    EXPECT_EQ(unit.Read((tmp / name).c_str()), expect) << name;
    return unit;
  }
};

// ---- .tq ----

TEST_F(ToolFilesTest, ToolFileReadsItsFourKeys) {
  CToolDataUnit u = Read("Viewer.tq",
                         "[ToolUnitShortcut]\r\nInputType=2\r\nTarget=C:\\Tools\\viewer.exe\r\n"
                         "Description=Sequence viewer\r\nCommand=  -open %1  \r\n");
  EXPECT_EQ(u.m_producedType, CToolDataUnit::tq);
  EXPECT_EQ(u.m_inputType, 2);
  EXPECT_EQ(u.m_target, "C:\\Tools\\viewer.exe");
  EXPECT_EQ(u.m_description, "Sequence viewer");
  EXPECT_EQ(u.m_command, "-open %1");
}

TEST_F(ToolFilesTest, ToolFileExtensionIgnoresCaseAndSectionNamesToo) {
  CToolDataUnit u = Read("X.TQ", "[toolunitshortcut]\ninputtype=-2\ntarget=x\n");
  EXPECT_EQ(u.m_producedType, CToolDataUnit::tq);
  EXPECT_EQ(u.m_inputType, -2);
}

TEST_F(ToolFilesTest, ToolFileWithoutInputTypeOrTargetIsOfferedToTheOthers) {
  Read("a.tq", "[ToolUnitShortcut]\nTarget=x\n", false);
  Read("b.tq", "[ToolUnitShortcut]\nInputType=-1\nTarget=x\n", false);
  Read("c.tq", "[ToolUnitShortcut]\nInputType=3\nTarget=\n", false);
  // Not a tool file, but a shortcut holds it.
  CToolDataUnit u =
      Read("d.tq", "[ToolUnitShortcut]\nTarget=x\n[InternetShortcut]\nURL=http://a/\n");
  EXPECT_EQ(u.m_producedType, CToolDataUnit::url);
}

TEST_F(ToolFilesTest, ValuesAreCutAt259Characters) {
  std::string longText(400, 'x');
  CToolDataUnit u =
      Read("long.tq", "[ToolUnitShortcut]\nInputType=0\nTarget=" + longText +
                          "\nDescription=" + longText + "\nCommand=" + longText + "\n");
  EXPECT_EQ(u.m_target.GetLength(), 259);
  EXPECT_EQ(u.m_description.GetLength(), 259);
  EXPECT_EQ(u.m_command.GetLength(), 259);
}

TEST_F(ToolFilesTest, FailedReadFallsBackToThePlainFile) {
  std::string path = tmp / "notes.txt";
  WriteFile(path, "just text\n");
  CToolDataUnit u;
  u.m_description = "old";
  u.m_command = "old";
  u.m_inputType = 5;
  EXPECT_FALSE(u.Read(path.c_str()));
  EXPECT_EQ(u.m_target, path.c_str());
  EXPECT_EQ(u.m_description, "");
  EXPECT_EQ(u.m_command, "");
  EXPECT_EQ(u.m_inputType, 0);
  EXPECT_EQ(u.m_producedType, CToolDataUnit::none);
  EXPECT_FALSE(u.Read((tmp / "missing.tq").c_str()));
  EXPECT_FALSE(u.Read(tmp.str().c_str()));  // a folder
}

TEST_F(ToolFilesTest, WriteReplacesTheExtensionAndKeepsOtherSections) {
  std::string tq = tmp / "tool.tq";
  WriteFile(tq, "[Other]\r\nkeep=1\r\n[ToolUnitShortcut]\r\nTarget=old\r\nExtra=2\r\n");
  CToolDataUnit u;
  u.m_inputType = 4;
  u.m_target = "viewer";
  u.m_description = "  padded  ";
  u.m_command = "-x %1";
  EXPECT_TRUE(u.Write((tmp / "tool.url").c_str()));
  std::string text = ReadFile(tq);
  EXPECT_NE(text.find("[Other]\r\nkeep=1"), std::string::npos) << text;
  EXPECT_NE(text.find("Extra=2"), std::string::npos) << text;
  EXPECT_NE(text.find("InputType=4"), std::string::npos) << text;
  EXPECT_EQ(text.find("old"), std::string::npos) << text;
  CToolDataUnit back;
  ASSERT_TRUE(back.Read(tq.c_str()));
  EXPECT_EQ(back.m_inputType, 4);
  EXPECT_EQ(back.m_target, "viewer");
  EXPECT_EQ(back.m_description, "  padded  ");
  EXPECT_EQ(back.m_command, "-x %1");
  // Nothing else is left in the folder: no copy, no lock.
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(tmp.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(ToolFilesTest, WriteIntoAFolderThatCannotBeWrittenFailsAndLeavesNothing) {
  std::string dir = tmp / "ro";
  std::filesystem::create_directories(dir);
  zel_test::ScopedTmpfs fs(dir, "1m", true);
  if (!fs.mounted()) GTEST_SKIP() << "no mounts here";
  CToolDataUnit u;
  u.m_target = "x";
  EXPECT_FALSE(u.Write((dir + "/t.tq").c_str()));
  EXPECT_TRUE(std::filesystem::is_empty(dir));
}

// In a shared folder someone may plant a link or a pipe where a tool file is written: its
// text is never copied from, or written into, anything but a regular file of its own.
TEST_F(ToolFilesTest, WriteNeverGoesThroughAPlantedFile) {
  const std::string secret = tmp / "secret";
  const std::string secretText = "[ToolUnitShortcut]\r\nTarget=mine\r\n[Private]\r\nkey=1\r\n";
  WriteFile(secret, secretText);
  fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(secret, tmp / "Stolen.tq");
  fs::create_symlink(tmp / "nowhere", tmp / "Dangling.tq");
  zel_special::MakeFifo(tmp / "Piped.tq");
  CToolDataUnit u;
  u.m_inputType = 0;
  u.m_target = "new";
  for (const char* name : {"Stolen.tq", "Dangling.tq", "Piped.tq"}) {
    SCOPED_TRACE(name);
    bool written = true;
    EXPECT_TRUE(zel_special::FinishesWithin([&] { written = u.Write((tmp / name).c_str()); },
                                            {tmp / "Piped.tq"}));
    EXPECT_FALSE(written);
  }
  EXPECT_EQ(ReadFile(secret), secretText);
  EXPECT_EQ(fs::status(secret).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(fs::is_symlink(tmp / "Stolen.tq"));
  EXPECT_TRUE(fs::is_symlink(tmp / "Dangling.tq"));
  EXPECT_FALSE(fs::exists(tmp / "nowhere"));
  EXPECT_TRUE(fs::is_fifo(tmp / "Piped.tq"));
  EXPECT_EQ(u.WriteToolFile((tmp / "Stolen.tq").c_str()), std::errc::too_many_symbolic_link_levels);
}

TEST_F(ToolFilesTest, Names) {
  EXPECT_EQ(CToolDataUnit::GetExtension("/a/b/tool.TQ"), ".TQ");
  EXPECT_EQ(CToolDataUnit::GetExtension("/a.b/tool"), "");
  EXPECT_EQ(CToolDataUnit::GetExtension("C:\\a.b\\tool"), "");
  EXPECT_EQ(CToolDataUnit::GetExtension("x.tar.gz"), ".gz");
  EXPECT_EQ(CToolDataUnit::GenerateOutputFileName("C:\\T\\Blast.url", 0), "C:\\T\\Blast.tq");
  EXPECT_EQ(CToolDataUnit::GenerateOutputFileName("C:\\T\\Blast.url", 2), "C:\\T\\Blast2.tq");
  EXPECT_EQ(CToolDataUnit::GenerateOutputFileName("/t/Blast", 0), "/t/Blast.tq");
  CString n = "~..\\Align";
  int kind = -1;
  EXPECT_EQ(GetScriptTitle(n, &kind), "Align");
  EXPECT_EQ(kind, 1);
  n = "~Align";
  EXPECT_EQ(GetScriptTitle(n, &kind), "Align");
  EXPECT_EQ(kind, 2);
  n = "Align";
  EXPECT_EQ(GetScriptTitle(n, &kind), "Align");
  EXPECT_EQ(kind, 0);
  n = "";
  kind = 9;
  EXPECT_EQ(GetScriptTitle(n, &kind), "");
  EXPECT_EQ(kind, 9);
  n = "~../x";
  EXPECT_EQ(GetScriptTitle(n, nullptr), "x");
}

// ---- .url ----

TEST_F(ToolFilesTest, InternetShortcutTakesItsDescriptionOrItsAddress) {
  CToolDataUnit u = Read("Blast.url",
                         "[InternetShortcut]\r\nURL=https://blast.example/?q=1\r\n"
                         "[Tessaly]\r\nDescription=Search\r\n");
  EXPECT_EQ(u.m_producedType, CToolDataUnit::url);
  EXPECT_EQ(u.m_target, "https://blast.example/?q=1");
  EXPECT_EQ(u.m_description, "Search");
  EXPECT_EQ(u.m_inputType, 0);
  EXPECT_EQ(u.m_command, "");
  u = Read("Bare.url", "[InternetShortcut]\nURL=https://a.example/\n");
  EXPECT_EQ(u.m_description, "https://a.example/");
  Read("Empty.url", "[InternetShortcut]\nURL=\n", false);
  Read("None.url", "[Other]\nURL=x\n", false);
}

// ---- .lnk ----

TEST_F(ToolFilesTest, ShellLinkInUnicodeAndInAnsi) {
  for (bool unicode : {true, false}) {
    LinkSpec s;
    s.unicode = unicode;
    s.description = "Dot plot \xE9";
    s.localBasePath = "C:\\Program Files\\Dotter\\";
    s.commonPathSuffix = "dotter.exe";
    s.arguments = "-q %1";
    s.workingDir = "C:\\Temp";
    s.relativePath = "..\\Dotter\\dotter.exe";
    s.idList = std::string(20, '\x01');
    CToolDataUnit u = Read("Dot.lnk", ShellLink(s));
    EXPECT_EQ(u.m_producedType, CToolDataUnit::lnk);
    EXPECT_EQ(u.m_description, "Dot plot \xE9");
    EXPECT_EQ(u.m_target, "C:\\Program Files\\Dotter\\dotter.exe");
    EXPECT_EQ(u.m_command, "-q %1");
    EXPECT_EQ(u.m_inputType, 0);
  }
}

TEST_F(ToolFilesTest, ShellLinkPrefersTheNetworkPathAndUnicodeCopies) {
  LinkSpec s;
  s.localBasePath = "Z:\\";
  s.netName = "\\\\server\\share";
  s.commonPathSuffix = "bin\\tool.exe";
  CToolDataUnit u = Read("Net.lnk", ShellLink(s));
  EXPECT_EQ(u.m_target, "\\\\server\\share\\bin\\tool.exe");

  LinkSpec w;
  w.localBasePath = "C:\\caf\xE9\\";
  w.commonPathSuffix = "x.exe";
  w.unicodeLinkInfo = true;
  u = Read("Wide.lnk", ShellLink(w));
  EXPECT_EQ(u.m_target, "C:\\caf\xE9\\x.exe");
}

TEST_F(ToolFilesTest, ShellLinkWithItsTargetOnlyInTheIdListHasNoPath) {
  LinkSpec s;
  s.idList = std::string(40, '\x02');
  s.description = "Control panel";
  CToolDataUnit u = Read("Panel.lnk", ShellLink(s));
  EXPECT_EQ(u.m_producedType, CToolDataUnit::lnk);
  EXPECT_EQ(u.m_target, "");
  EXPECT_EQ(u.m_description, "Control panel");
}

TEST_F(ToolFilesTest, ShellLinkTextsAreCutAt254Characters) {
  LinkSpec s;
  s.description = std::string(300, 'd');
  s.arguments = std::string(300, 'a');
  s.localBasePath = std::string(300, 'p');
  CToolDataUnit u = Read("Long.lnk", ShellLink(s));
  EXPECT_EQ(u.m_description.GetLength(), 254);
  EXPECT_EQ(u.m_command.GetLength(), 254);
  EXPECT_EQ(u.m_target.GetLength(), 254);
}

TEST(ShellLinkReader, EveryTruncationIsNoLink) {
  LinkSpec s;
  s.description = "d";
  s.localBasePath = "C:\\x.exe";
  s.netName = "\\\\s\\h";
  s.arguments = "a";
  s.idList = "xyz";
  std::string bytes = ShellLink(s);
  ZelShellLink link;
  ASSERT_TRUE(ZelReadShellLink(ZelMemorySource(bytes), link));
  // The last 4 bytes end the extra data, which is not read.
  for (size_t n = 0; n + 4 < bytes.size(); ++n)
    EXPECT_FALSE(ZelReadShellLink(ZelMemorySource(std::string_view(bytes).substr(0, n)), link))
        << n;
}

TEST(ShellLinkReader, LyingSizesAndOffsetsAreNoLink) {
  LinkSpec s;
  s.localBasePath = "C:\\x.exe";
  s.netName = "\\\\s\\h";
  s.description = "d";
  const std::string good = ShellLink(s);
  const size_t info = 0x4C;
  ZelShellLink link;
  auto rejects = [&](size_t at, uint32_t value, bool wide = true) {
    std::string b = good;
    if (wide)
      SetU32(b, at, value);
    else
      SetU16(b, at, static_cast<uint16_t>(value));
    return !ZelReadShellLink(ZelMemorySource(b), link);
  };
  EXPECT_TRUE(rejects(0, 0x4D));                 // header size
  EXPECT_TRUE(rejects(4, 0));                    // class id
  EXPECT_TRUE(rejects(info, 0xFFFFFFF0u));       // link info size
  EXPECT_TRUE(rejects(info + 4, 0x1000));        // link info header size
  EXPECT_TRUE(rejects(info + 12, 0xFFFFFFF0u));  // volume offset
  EXPECT_TRUE(rejects(info + 16, 0x7FFFFFF0u));  // local base path offset
  EXPECT_TRUE(rejects(info + 20, 0xFFFFFF00u));  // network link offset
  EXPECT_TRUE(rejects(info + 24, 0xFFFFFFFFu));  // suffix offset
  // A string that claims more characters than there are.
  std::string b = good;
  size_t name = b.size() - 4 - 2 - 2;  // the description: count, one UTF-16 unit
  SetU16(b, name, 0xFFFF);
  EXPECT_FALSE(ZelReadShellLink(ZelMemorySource(b), link));
  // A path without its terminator inside the link info.
  b = good;
  uint32_t infoSize = static_cast<uint32_t>(b[info]) & 0xFF;
  b[info + infoSize - 1] = 'x';  // the suffix's NUL, last in the structure
  EXPECT_FALSE(ZelReadShellLink(ZelMemorySource(b), link));
}

// ---- .exe ----

TEST_F(ToolFilesTest, ProgramIsDescribedByItsProductName) {
  for (bool wide : {false, true}) {
    std::string path = tmp / "Viewer.exe";
    CToolDataUnit u =
        Read("Viewer.exe", ProgramFile(VersionResource(ProductVersion("Viewer \xE9")), wide));
    EXPECT_EQ(u.m_producedType, CToolDataUnit::exe);
    EXPECT_EQ(u.m_description, "Viewer \xE9");
    EXPECT_EQ(u.m_target, path.c_str());
    EXPECT_EQ(u.m_inputType, 0);
    EXPECT_EQ(u.m_command, "");
  }
}

TEST_F(ToolFilesTest, ProgramWithoutVersionOrProductNameIsNoTool) {
  Read("a.exe", ProgramFile(""), false);
  VersionSpec s = ProductVersion("x");
  s.tables[0].second.pop_back();  // no ProductName
  Read("b.exe", ProgramFile(VersionResource(s)), false);
  Read("c.exe", "MZ not really", false);
}

TEST_F(ToolFilesTest, WithoutATranslationTheUsersLanguageDecides) {
  VersionSpec s;
  s.withTranslation = false;
  s.tables.push_back({"040704B0", {{"ProductName", "Betrachter"}}});
  s.tables.push_back({"040904B0", {{"ProductName", "Viewer"}}});
  std::string exe = ProgramFile(VersionResource(s));
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  CToolDataUnit u = Read("de.exe", exe);
  EXPECT_EQ(u.m_description, "Betrachter");
  setenv("LC_ALL", "C", 1);
  u = Read("en.exe", exe);
  EXPECT_EQ(u.m_description, "Viewer");
  unsetenv("LC_ALL");
  // A translation table of two entries is not used either.
  s.withTranslation = true;
  s.translations = {{0x0407, 0x04B0}, {0x0409, 0x04B0}};
  setenv("LC_ALL", "en_US.UTF-8", 1);
  u = Read("two.exe", ProgramFile(VersionResource(s)));
  EXPECT_EQ(u.m_description, "Viewer");
  unsetenv("LC_ALL");
}

TEST_F(ToolFilesTest, TheTranslationNamesTheTable) {
  VersionSpec s;
  s.tables.push_back({"041104E4", {{"ProductName", "Japanese"}}});
  s.tables.push_back({"040904B0", {{"ProductName", "Viewer"}}});
  s.translations = {{0x0411, 0x04E4}};
  CToolDataUnit u = Read("ja.exe", ProgramFile(VersionResource(s)));
  EXPECT_EQ(u.m_description, "Japanese");
}

TEST(VersionReader, EveryTruncationOfTheProgramIsNoProduct) {
  std::string exe = ProgramFile(VersionResource(ProductVersion("V")));
  std::string resource;
  CString name;
  ASSERT_TRUE(ZelReadVersionResource(ZelMemorySource(exe), resource));
  for (size_t n = 0; n < exe.size(); n += 7) {
    std::string_view cut = std::string_view(exe).substr(0, n);
    bool got = ZelReadVersionResource(ZelMemorySource(cut), resource) &&
               ZelVersionProductName(resource, 0x409, name);
    // The padding after the resource may go; anything more may not.
    if (got) {
      EXPECT_GE(n, exe.size() - 0x200) << n;
    }
  }
}

TEST(VersionReader, LyingHeadersAreNoProgram) {
  const std::string good = ProgramFile(VersionResource(ProductVersion("V")));
  std::string resource;
  auto reads = [&](size_t at, uint32_t v) {
    std::string b = good;
    SetU32(b, at, v);
    return ZelReadVersionResource(ZelMemorySource(b), resource);
  };
  const size_t coff = 0x44, optional = coff + 20, section = optional + 224, rsrc = 0x200;
  EXPECT_FALSE(reads(0x3C, 0xFFFFFFF0u));           // the PE header's offset
  EXPECT_FALSE(reads(coff, 0x7FFF014C));            // 32767 sections
  EXPECT_FALSE(reads(optional + 92, 2));            // too few data directories
  EXPECT_FALSE(reads(optional + 96 + 16, 0x9000));  // resource table outside every section
  EXPECT_FALSE(reads(section + 20, 0xFFFFFF00u));   // section data beyond the file
  EXPECT_FALSE(reads(rsrc + 12, 0xFFFF0000u));      // 65535 named entries
  EXPECT_FALSE(reads(rsrc + 16 + 4, 0x8FFFFFF0u));  // subdirectory outside the table
  EXPECT_FALSE(reads(rsrc + 72, 0x7FFFFFF0u));      // data outside every section
  EXPECT_FALSE(reads(rsrc + 76, 0x7FFFFFF0u));      // data larger than believed
  EXPECT_TRUE(reads(0, 0x00905A4D));                // the rest of the DOS header is not read
}

TEST(VersionReader, LyingBlocksAreNoValue) {
  std::string r = VersionResource(ProductVersion("Viewer"));
  std::string value;
  bool text;
  ASSERT_TRUE(ZelQueryVersionValue(r, "\\StringFileInfo\\040904B0\\ProductName", value, text));
  EXPECT_TRUE(text);
  EXPECT_EQ(ZelUtf16BytesToAnsi(value), "Viewer");
  ASSERT_TRUE(ZelQueryVersionValue(r, "\\VarFileInfo\\Translation", value, text));
  EXPECT_EQ(value.size(), 4u);
  EXPECT_FALSE(ZelQueryVersionValue(r, "\\StringFileInfo\\040704B0\\ProductName", value, text));
  for (size_t at = 0; at + 2 <= r.size(); at += 2) {
    for (uint16_t lie : {uint16_t(0), uint16_t(5), uint16_t(0xFFFF)}) {
      std::string b = r;
      SetU16(b, at, lie);
      CString name;
      ZelVersionProductName(b, 0x409, name);  // must not read outside, whatever it says
    }
  }
  for (size_t n = 0; n < r.size(); ++n) {
    CString name;
    ZelVersionProductName(std::string_view(r).substr(0, n), 0x409, name);
  }
}

// ---- text and language ----

TEST(Windows1252, Utf16BecomesTheSuitesText) {
  EXPECT_EQ(ZelUtf16BytesToAnsi(Units(u"abc\u00e9\u20ac\u2122")), "abc\xE9\x80\x99");
  EXPECT_EQ(ZelUtf16BytesToAnsi(Units(u"\u4e2d\U0001F600x")), "??x");
  std::u16string lone = {0xD800, u'a', 0xDC00};
  EXPECT_EQ(ZelUtf16BytesToAnsi(Units(lone)), "?a?");
  EXPECT_EQ(ZelAnsiToUtf16("\x80\xE9"), u"\u20ac\u00e9");
}

TEST(UserLanguage, FromTheLocaleThroughTheTable) {
  EXPECT_EQ(ZelLangIDFromLocale("de_DE.UTF-8"), 0x0407);
  EXPECT_EQ(ZelLangIDFromLocale("de_AT"), 0x0C07);
  EXPECT_EQ(ZelLangIDFromLocale("en_GB.UTF-8@euro"), 0x0809);
  EXPECT_EQ(ZelLangIDFromLocale("fr"), 0x040C);
  EXPECT_EQ(ZelLangIDFromLocale("pt_BR"), 0x0416);
  EXPECT_EQ(ZelLangIDFromLocale("xx_YY"), ZEL_LANG_EN_US);
  EXPECT_EQ(ZelLangIDFromLocale("C"), ZEL_LANG_EN_US);
  EXPECT_EQ(ZelLangIDFromLocale("POSIX"), ZEL_LANG_EN_US);
  setenv("LC_ALL", "", 1);
  setenv("LC_MESSAGES", "ja_JP.UTF-8", 1);
  setenv("LANG", "de_DE", 1);
  EXPECT_EQ(ZelUserDefaultLangID(), 0x0411);
  unsetenv("LC_MESSAGES");
  EXPECT_EQ(ZelUserDefaultLangID(), 0x0407);
  setenv("LC_ALL", "it_IT", 1);
  EXPECT_EQ(ZelUserDefaultLangID(), 0x0410);
  unsetenv("LC_ALL");
  unsetenv("LANG");
  EXPECT_EQ(ZelUserDefaultLangID(), ZEL_LANG_EN_US);
}

// ---- the sample tool folder ----

TEST(ExampleToolFolder, ItsBinaryToolsAreTheFixtures) {
  std::string menu = std::string(ZEL_SOURCE_DIR) + "/examples/installation/Programs/Tools/Menu";
  EXPECT_EQ(ReadFile(menu + "/Sequence/Show file.lnk"), ExampleLink());
  EXPECT_EQ(ReadFile(menu + "/Viewer.exe"), ExampleProgram());
}

}  // namespace
