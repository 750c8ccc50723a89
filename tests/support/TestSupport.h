// Shared test helpers: a temporary folder that is also ZEL_HOME, the scripted UI installed
// for the test's lifetime, and small file utilities.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/ui/UiBackend.h"

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
  ScriptedUi() : m_previous(ZelSetUi(&ui)) {}
  ~ScriptedUi() { ZelSetUi(m_previous == &ui ? nullptr : m_previous); }
  ScriptedUiBackend ui;

 private:
  UiBackend* m_previous;
};

// What a run of the zel command gave.
struct ZelResult {
  int status;  // the exit status, -1 when it did not exit
  std::string out;
  std::string err;
};

// Runs the zel binary of the build with args (shell words, quoted by the caller), its
// output captured through files in dir. It inherits the environment, ZEL_HOME included.
ZelResult RunZel(const std::string& args, const std::string& dir);

// A fixture with both, and the zel command run in the temporary folder.
class ZelTest : public ::testing::Test {
 protected:
  TempDir tmp;
  ScriptedUi scripted;
  ScriptedUiBackend& ui() { return scripted.ui; }
  ZelResult RunZel(const std::string& args) { return zel_test::RunZel(args, tmp.str()); }
};

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
