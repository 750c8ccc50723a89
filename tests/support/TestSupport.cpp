// Shared test helpers.
#include "tests/support/TestSupport.h"

#include <sys/mount.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace zel_test {

TempDir::TempDir() {
  std::random_device rd;
  auto base = std::filesystem::temp_directory_path();
  do {
    m_path = base / ("zeltest-" + std::to_string(rd()));
  } while (std::filesystem::exists(m_path));
  std::filesystem::create_directories(m_path / "home");
  const char* old = std::getenv("ZEL_HOME");
  m_hadHome = old != nullptr;
  if (old) m_oldHome = old;
  setenv("ZEL_HOME", (m_path / "home").c_str(), 1);
}

TempDir::~TempDir() {
  if (m_hadHome)
    setenv("ZEL_HOME", m_oldHome.c_str(), 1);
  else
    unsetenv("ZEL_HOME");
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

ZelResult RunZel(const std::string& args, const std::string& dir) {
  std::string out = dir + "/zel.out", err = dir + "/zel.err";
  // Its temporary files (the demo's folders) go into dir too, and with it.
  std::string command =
      "TMPDIR='" + dir + "' '" + ZEL_BINARY + "' " + args + " >'" + out + "' 2>'" + err + "'";
  int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
}

ShellResult RunShell(const std::string& command) {
  ShellResult r{-1, {}};
  if (std::FILE* p = ::popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int status = ::pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return r;
}

std::string ShellQuoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

ScopedTmpfs::ScopedTmpfs(const std::string& dir, const std::string& size, bool readOnly)
    : m_dir(dir) {
  std::filesystem::create_directories(dir);
  std::string options = "size=" + size;
  m_mounted =
      ::mount("tmpfs", dir.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, options.c_str()) == 0;
}

ScopedTmpfs::~ScopedTmpfs() {
  if (m_mounted) ::umount2(m_dir.c_str(), MNT_DETACH);
}

bool ScopedTmpfs::RemountReadOnly() {
  return m_mounted &&
         ::mount("tmpfs", m_dir.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
  if (const char* old = std::getenv(name)) m_old = old;
  ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (m_old)
    ::setenv(m_name.c_str(), m_old->c_str(), 1);
  else
    ::unsetenv(m_name.c_str());
}

}  // namespace zel_test
