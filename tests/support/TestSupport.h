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

// A fixture with both.
class ZelTest : public ::testing::Test {
 protected:
  TempDir tmp;
  ScriptedUi scripted;
  ScriptedUiBackend& ui() { return scripted.ui; }
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// Mounts a small tmpfs on dir (read-only when asked); true when it worked. Tests that
// need a real read-only or full file system skip when the machine does not allow mounts.
bool MountTmpfs(const std::string& dir, const std::string& size, bool readOnly);
void Unmount(const std::string& dir);

}  // namespace zel_test
