// A document opened from the desktop on a real X display (make desktop): after zel
// register-shell, the desktop's own openers (gio open, and xdg-open as a desktop without
// its own opener uses it) start zel view on the file, and its window, named after the
// file, appears within a few seconds.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"

namespace fs = std::filesystem;

namespace {

using zel_test::RunShell;
using zel_test::ShellQuoted;

// A process's arguments, from the system's record of it.
std::vector<std::string> Arguments(int pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
  std::vector<std::string> args;
  for (std::string arg; std::getline(in, arg, '\0');) args.push_back(arg);
  return args;
}

class OpenFromDesktopTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "needs a real X display: run by make desktop";
    // Without the document window the desktop would start a zel that refuses the command;
    // say so at once rather than wait for a window that cannot come.
    zel_test::ZelResult view = RunZel("view --help");
    ASSERT_EQ(view.status, 0) << "this zel has no view command (zel view [FILE...]), which "
                                 "the desktop entry starts:\n"
                              << view.err;
    zel_test::ZelResult r = RunZel("register-shell");
    ASSERT_EQ(r.status, 0) << r.err;
  }
  void TearDown() override {
    for (int pid : started) {
      ::kill(pid, SIGTERM);
      // Gone, or ended and waiting for its parent: no arguments any more.
      zel_test::PollUntil([&] { return Arguments(pid).empty(); });
    }
  }

  // The desktop's tools see this test's data folder beside the system's, nothing of the
  // user's, and zel's settings stay in the test's folder.
  std::string data = tmp / "data";
  zel_test::ScopedEnv dataHome{"XDG_DATA_HOME", data};
  zel_test::ScopedEnv configHome{"XDG_CONFIG_HOME", tmp / "config"};
  zel_test::ScopedEnv dataDirs{"XDG_DATA_DIRS", data + ":/usr/share"};
  std::vector<int> started;  // zel views the desktop started, ended after the test
};

TEST_F(OpenFromDesktopTest, GioOpenAndXdgOpenShowTheDocumentInZelView) {
  struct Case {
    const char* opener;
    const char* file;
    std::string command;  // starts the opener on <file>, and returns
  } cases[] = {
      // What gio starts inherits its descriptors: never the pipe this test reads to its end.
      {"gio open", "x.gb", "timeout 20 gio open <file> </dev/null >/dev/null 2>&1"},
      // xdg-open waits for the program it started: it is left running on its own.
      {"xdg-open", "y.gb", "setsid xdg-open <file> </dev/null >/dev/null 2>&1 &"},
  };
  const std::string zel = fs::canonical(ZEL_BINARY).string();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.opener);
    const std::string file = tmp / c.file;
    zel_test::WriteFile(file,
                        "LOCUS       pBR322    5386 bp    DNA     circular\n"
                        "ORIGIN\n        1 ttctcatgtt tgacagctta tcatcgataa\n//\n");
    std::string command = c.command;
    command.replace(command.find("<file>"), 6, ShellQuoted(file));
    ASSERT_EQ(RunShell(command).status, 0) << command;

    std::string name = c.file;
    name.insert(name.find('.'), "\\");  // a regular expression of the name
    zel_test::ShellResult found =
        RunShell("timeout 10 xdotool search --sync --onlyvisible --name " + ShellQuoted(name));
    ASSERT_EQ(found.status, 0) << "no window named after " << c.file << " within 10 s";
    std::istringstream windows(found.out);
    std::string window;
    windows >> window;
    zel_test::ShellResult pid = RunShell("xdotool getwindowpid " + window);
    ASSERT_EQ(pid.status, 0);
    started.push_back(std::stoi(pid.out));
    // Started by the entry: this zel, its view command, the file.
    const std::vector<std::string> args = Arguments(started.back());
    ASSERT_GE(args.size(), 3u);
    EXPECT_EQ(fs::canonical(args[0]).string(), zel);
    EXPECT_EQ(args[1], "view");
    EXPECT_EQ(args.back(), file);
  }
}

}  // namespace
