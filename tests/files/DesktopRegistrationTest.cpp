// Registration on a Linux desktop: the MIME package and the desktop entry, the databases
// built from them, what a file manager then makes of the suite's files and how a launcher
// reads the entry; where the files go without a home in the environment; the private
// runtime folder of a program started outside a session.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "files/ShellRegistration.h"
#include "platform/os/desktop/Freedesktop.h"
#include "platform/os/desktop/RuntimeDir.h"
#include "platform/os/fs/FsError.h"
#include "platform/user/app/WinApp.h"
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
    const std::string out = zel_test::RunShell("XDG_DATA_HOME=" + zel_test::ShellQuoted(data) +
                                               " gio info -a standard::content-type " +
                                               zel_test::ShellQuoted(path) + " 2>/dev/null")
                                .out;
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
        "<match type=\"string\" value=\"LOCUS\" offset=\"0\">\n        <match type=\"string\" "
        "value=\" bp \" offset=\"0:80\"/>",
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
  ZelShellRegistration removed = UnregisterZelShellFileTypes(nullptr, 0);
  EXPECT_EQ(removed.files.size(), 2u);
  EXPECT_FALSE(fs::exists(package));
  EXPECT_FALSE(fs::exists(entry));
  EXPECT_EQ(zel_test::ReadFile(data + "/mime/globs2").find("seq-na-genbank"), std::string::npos);
  EXPECT_EQ(ContentType(tmp / "x.gb"), "application/x-gameboy-rom");
}

// Takes a variable out of the environment for the object's lifetime.
class ScopedUnset {
 public:
  explicit ScopedUnset(const char* name) : m_name(name) {
    if (const char* value = std::getenv(name)) m_old = value;
    ::unsetenv(name);
  }
  ~ScopedUnset() {
    if (m_old) ::setenv(m_name.c_str(), m_old->c_str(), 1);
  }
  ScopedUnset(const ScopedUnset&) = delete;
  ScopedUnset& operator=(const ScopedUnset&) = delete;

 private:
  std::string m_name;
  std::optional<std::string> m_old;
};

// Whether path came into being within a few seconds.
bool Appears(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!fs::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// The program's path in Exec reads back as itself by the desktop entry's rules: a real
// launcher starts it from the entry, whatever characters the path holds; a path that no
// entry can hold is refused.
TEST_F(DesktopRegistrationTest, ExecHoldsTheProgramAsALauncherReadsIt) {
  const std::string bin = tmp / "bin";
  struct Case {
    const char* folder;
    std::string exec;  // the Exec value before " %f"
    bool launch;       // the launcher's own check of the program cannot read "%%"
  } cases[] = {
      {"plain", bin + "/plain/app", true},
      {"my tools", "\"" + bin + "/my tools/app\"", true},
      {"a\\b", "\"" + bin + "/a\\\\\\\\b/app\"", true},
      {"$x \"q\" `c`", "\"" + bin + "/\\\\$x \\\\\"q\\\\\" \\\\`c\\\\`/app\"", true},
      {"100%", bin + "/100%%/app", false},
      {"50% off", "\"" + bin + "/50%% off/app\"", false},
  };
  const std::string ran = tmp / "ran";
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    const std::string program = bin + "/" + c.folder + "/app";
    fs::create_directories(bin + "/" + c.folder);
    zel_test::WriteFile(program, "#!/bin/sh\nprintf '%s|%s' \"$0\" \"$1\" > '" + ran + "'\n");
    fs::permissions(program, fs::perms::owner_all);
    zel_desktop::DesktopEntry entry{
        "zelutil-case" + std::to_string(n++), "Case", program, {"text/plain"}};
    ASSERT_FALSE(zel_desktop::WriteDesktopEntry(entry));
    const std::string path = zel_desktop::DesktopEntryPath(entry.id);
    const std::string text = zel_test::ReadFile(path);
    EXPECT_NE(text.find("\nExec=" + c.exec + " %f\n"), std::string::npos) << text;
    if (!c.launch) continue;
    fs::remove(ran);
    std::string command = "gio launch '" + path + "' '" + tmp / "doc.gb" + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    ASSERT_TRUE(Appears(ran));
    // The script writes its file in one go; wait for the whole of it.
    const std::string want = program + "|" + tmp / "doc.gb";
    for (int i = 0; i < 500 && zel_test::ReadFile(ran).size() < want.size(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(zel_test::ReadFile(ran), want);
  }
  for (const char* bad : {"/opt/a\nb", "/opt/a\tb", "/opt/a\x01", "/opt/a\x7f"}) {
    SCOPED_TRACE(::testing::PrintToString(std::string(bad)));
    zel_desktop::DesktopEntry entry{"zelutil-bad", "Bad", bad, {"text/plain"}};
    EXPECT_EQ(zel_desktop::WriteDesktopEntry(entry), std::error_code(ZelFsError::ControlCharacter));
    EXPECT_FALSE(fs::exists(zel_desktop::DesktopEntryPath("zelutil-bad")));
  }
}

// Without HOME the files go to the home folder of the user's password entry, never to a
// shared temporary folder.
TEST_F(DesktopRegistrationTest, WithoutHomeTheUsersOwnFolderIsUsed) {
  const passwd* pw = ::getpwuid(::getuid());
  ASSERT_TRUE(pw && pw->pw_dir && *pw->pw_dir);
  ScopedUnset home("HOME"), dataHome("XDG_DATA_HOME");
  EXPECT_EQ(zel_desktop::DataHome(), std::string(pw->pw_dir) + "/.local/share");
  EXPECT_EQ(zel_desktop::DesktopEntryPath("x"),
            std::string(pw->pw_dir) + "/.local/share/applications/x.desktop");
}

// The runtime folder made for a program started outside a session is used only when it
// is a real folder of the user's own that no one else can enter; nothing there is changed.
TEST_F(DesktopRegistrationTest, PrivateRuntimeFolderIsTheUsersAlone) {
  const std::string name = "zelutil-runtime-" + std::to_string(::getuid());
  auto modeOf = [](const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0u;
  };
  struct Case {
    const char* what;
    std::function<void(const std::string& dir)> plant;
    bool used;
  } cases[] = {
      {"nothing there yet", [](const std::string&) {}, true},
      {"our own folder from before",
       [](const std::string& d) {
         fs::create_directory(d);
         ::chmod(d.c_str(), 0700);
       },
       true},
      {"a link to a folder of ours",
       [&](const std::string& d) {
         fs::create_directories(tmp / "target");
         ::chmod((tmp / "target").c_str(), 0755);
         fs::create_directory_symlink(tmp / "target", d);
       },
       false},
      {"a folder others may enter",
       [](const std::string& d) {
         fs::create_directory(d);
         ::chmod(d.c_str(), 0755);
       },
       false},
      {"a folder of another user",
       [](const std::string& d) {
         fs::create_directory(d);
         ::chmod(d.c_str(), 0700);
         ASSERT_EQ(::chown(d.c_str(), ::getuid() + 4242, static_cast<gid_t>(-1)), 0);
       },
       false},
      {"a file", [](const std::string& d) { zel_test::WriteFile(d, "x"); }, false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string base = tmp / ("runtime" + std::to_string(n++));
    fs::create_directories(base);
    const std::string dir = base + "/" + name;
    c.plant(dir);
    const mode_t before = modeOf(tmp / "target");
    EXPECT_EQ(zel_desktop::PrivateRuntimeDir(base), c.used ? dir : std::string());
    if (c.used) {
      EXPECT_EQ(modeOf(dir), 0700u);
    }
    EXPECT_EQ(modeOf(tmp / "target"), before);
  }
}

}  // namespace
