// Shared test helpers: a temporary folder that is also ZEL_HOME, the scripted UI installed
// for the test's lifetime, and small file utilities.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/user/ui/UiBackend.h"
#include "tests/support/IntegrationScope.h"
#include "tests/support/ScriptedUiBackend.h"

namespace zel_test {

// A fresh folder, removed with everything in it when the object goes. ZEL_HOME points
// to its "home" subfolder while it lives, so nothing touches real settings.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return m_path; }
  std::string str() const { return m_path.string(); }
  std::string operator/(const std::string& name) const { return (m_path / name).string(); }

 private:
  std::filesystem::path m_path;
  std::string m_oldHome;
  bool m_hadHome;
};

// Installs a ScriptedUiBackend for its lifetime.
class ScriptedUi {
 public:
  ScriptedUi() { m_scope.Use(&ui); }
  ScriptedUiBackend ui;

 private:
  IntegrationScope m_scope;
};

// Sets an environment variable for the object's lifetime, then puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string m_name;
  std::optional<std::string> m_old;
};

// What a run of the zel command gave.
struct ZelResult {
  int status;  // the exit status, -1 when it did not exit
  std::string out;
  std::string err;
};

// Runs the zel binary of the build with args (shell words, quoted by the caller), its
// output captured through files in dir, which is also its TMPDIR. It inherits the rest of
// the environment, ZEL_HOME included.
ZelResult RunZel(const std::string& args, const std::string& dir);

// What a shell command printed on its standard output, and its exit status (-1 when it
// did not exit).
struct ShellResult {
  int status;
  std::string out;
};
ShellResult RunShell(const std::string& command);

// s as one word of a shell command line: in single quotes, its own quotes escaped.
std::string ShellQuoted(const std::string& s);

// A fixture with both, and the zel command run in the temporary folder.
class ZelTest : public ::testing::Test {
 protected:
  TempDir tmp;
  ScriptedUi scripted;
  ScriptedUiBackend& ui() { return scripted.ui; }
  ZelResult RunZel(const std::string& args) { return zel_test::RunZel(args, tmp.str()); }
};

// For what only a fresh process shows (state fixed on first use, globals as they start):
// each case runs in a death-test child that checks with ChildExpectEq and ends with
// ExitChild(0). A value that differs is printed to stderr as "what: expected X, got Y" and
// ends the child with status 1; the parent expects status 0 and an empty stderr
// (EXPECT_EXIT(..., ExitedWithCode(0), IsEmpty())), so its failure shows the line.
class ZelChildTest : public ZelTest {
 protected:
  ZelChildTest() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
  // The child skips the fixture's clean-up, so its temporary folder goes here.
  [[noreturn]] void ExitChild(int code) {
    std::filesystem::remove_all(tmp.path());
    std::exit(code);
  }
  template <typename Expected, typename Got>
  void ChildExpectEq(const char* what, const Expected& expected, const Got& got) {
    if (expected == got) return;
    std::fprintf(stderr, "%s: expected %s, got %s\n", what,
                 ::testing::PrintToString(expected).c_str(), ::testing::PrintToString(got).c_str());
    ExitChild(1);
  }
};

// The cause (m_cause) of the exception of class E that body raises; 0 (the causes' "none")
// when it raises none.
template <typename E, typename Body>
int CauseOf(Body&& body) {
  try {
    body();
  } catch (E& e) {
    return e.m_cause;
  }
  return 0;
}

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// A small tmpfs mounted on dir for the object's lifetime (read-only when asked), for real
// read-only and full file systems. Tests skip when the machine does not allow mounts
// (mounted() is false).
class ScopedTmpfs {
 public:
  ScopedTmpfs(const std::string& dir, const std::string& size, bool readOnly = false);
  ~ScopedTmpfs();
  ScopedTmpfs(const ScopedTmpfs&) = delete;
  ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;
  bool mounted() const { return m_mounted; }
  // Makes the mounted file system read-only, keeping what it holds.
  bool RemountReadOnly();

 private:
  std::string m_dir;
  bool m_mounted;
};

}  // namespace zel_test
