// Registration on a Linux desktop: the MIME package and the desktop entry, the databases
// built from them, and what a file manager then makes of the suite's files.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "files/ShellRegistration.h"
#include "platform/app/WinApp.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

class DesktopRegistrationTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    data = tmp / "data";
    old = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    app.m_strExeName = "suiteapp";
    app.m_strExePath = "/opt/suite/bin/suiteapp";
  }
  void TearDown() override {
    if (old.empty())
      ::unsetenv("XDG_DATA_HOME");
    else
      ::setenv("XDG_DATA_HOME", old.c_str(), 1);
  }
  // The content type the desktop's file manager gives a file.
  std::string ContentType(const std::string& path) {
    std::string command = "XDG_DATA_HOME='" + data + "' gio info -a standard::content-type '" +
                          path + "' 2>/dev/null";
    std::string out;
    if (std::FILE* p = ::popen(command.c_str(), "r")) {
      char buf[512];
      while (std::fgets(buf, sizeof buf, p)) out += buf;
      ::pclose(p);
    }
    size_t at = out.find("content-type: ");
    if (at == std::string::npos) return out;
    at += 14;
    return out.substr(at, out.find('\n', at) - at);
  }

  std::string data, old;
  CWinApp app{"Suite App"};
};

TEST_F(DesktopRegistrationTest, WritesThePackageAndEntryAndBuildsTheDatabase) {
  ZelShellRegistration r = RegisterZelShellFileTypesEx(nullptr, 0);
  const std::string package = data + "/mime/packages/zelutil-suiteapp.xml";
  const std::string entry = data + "/applications/zelutil-suiteapp.desktop";
  EXPECT_EQ(r.classes, 20);  // 21 rows, two of them one class
  ASSERT_EQ(r.files.size(), 2u);
  EXPECT_EQ(r.files[0], package);
  EXPECT_EQ(r.files[1], entry);
  EXPECT_TRUE(r.failures.empty());
  EXPECT_EQ(r.mimeTypes.size(), 20u);
  EXPECT_EQ(r.refreshed.size(), 2u);  // both database tools ran

  const std::string xml = zel_test::ReadFile(package);
  for (const char* part :
       {"<mime-type type=\"chemical/seq-na-genbank\">",
        "<comment>Quillion DNA/RNA Document</comment>", "<glob pattern=\"*.gb\"/>",
        "<match type=\"string\" value=\"LOCUS\" offset=\"0\"/>",
        "<mime-type type=\"application/qlli-ekmols\">",
        "<mime-type type=\"application/x-qlli-report\">", "<glob pattern=\"*.rgl\"/>",
        "<glob pattern=\"*.rpd\"/>", "value=\"@551656AS34@\" offset=\"0:4096\""})
    EXPECT_NE(xml.find(part), std::string::npos) << part;
  const std::string desktop = zel_test::ReadFile(entry);
  EXPECT_NE(desktop.find("Exec=/opt/suite/bin/suiteapp %f\n"), std::string::npos) << desktop;
  EXPECT_NE(desktop.find("MimeType=chemical/seq-na-genbank;chemical/seq-aa-genpept;"),
            std::string::npos);

  // The database built from the package holds the globs and the content matches.
  EXPECT_NE(zel_test::ReadFile(data + "/mime/globs2").find("chemical/seq-na-genbank:*.gb"),
            std::string::npos);
  EXPECT_NE(zel_test::ReadFile(data + "/mime/magic").find("LOCUS"), std::string::npos);
  EXPECT_NE(zel_test::ReadFile(data + "/applications/mimeinfo.cache")
                .find("chemical/seq-na-genbank=zelutil-suiteapp.desktop"),
            std::string::npos);

  // A GenBank file is told from a game cartridge, which keeps its own type.
  zel_test::WriteFile(tmp / "x.gb", "LOCUS       pBR322    5386 bp    DNA     circular\n");
  std::string rom(0x150, '\0');
  const unsigned char logo[] = {0xCE, 0xED, 0x66, 0x66, 0xCC, 0x0D, 0x00, 0x0B, 0x03, 0x73,
                                0x00, 0x83, 0x00, 0x0C, 0x00, 0x0D, 0x00, 0x08, 0x11, 0x1F,
                                0x88, 0x89, 0x00, 0x0E, 0xDC, 0xCC, 0x6E, 0xE6, 0xDD, 0xDD,
                                0xD9, 0x99, 0xBB, 0xBB, 0x67, 0x63, 0x6E, 0x0E, 0xEC, 0xCC,
                                0xDD, 0xDC, 0x99, 0x9F, 0xBB, 0xB9, 0x33, 0x3E};
  rom.replace(0x104, sizeof logo, reinterpret_cast<const char*>(logo), sizeof logo);
  zel_test::WriteFile(tmp / "game.gb", rom);
  EXPECT_EQ(ContentType(tmp / "x.gb"), "chemical/seq-na-genbank");
  EXPECT_EQ(ContentType(tmp / "game.gb"), "application/x-gameboy-rom");

  // Removed again: both files go, and the database forgets the types.
  ZelShellRegistration removed = UnregisterZelDesktopEntries();
  EXPECT_EQ(removed.files.size(), 2u);
  EXPECT_FALSE(fs::exists(package));
  EXPECT_FALSE(fs::exists(entry));
  EXPECT_EQ(zel_test::ReadFile(data + "/mime/globs2").find("seq-na-genbank"), std::string::npos);
  EXPECT_EQ(ContentType(tmp / "x.gb"), "application/x-gameboy-rom");
}

}  // namespace
