// Persisted state under concurrent writers: two processes each write their own entries into
// one store at the same time, through the per-user registry hive and through a profile
// file. Every write takes the store's lock and flushes the file, so the figure is what one
// settings write costs when another process is writing too. The state folder is a fresh
// temporary folder on the disk (set ZEL_BENCH_DIR to measure elsewhere, e.g. on a tmpfs).
//
// Usage: state_bench [ZEL_BINARY] [WRITES]   (default 500 writes per process)
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/os/profile/ProfileFile.h"
#include "platform/os/registry/Registry.h"

namespace {

const char* const kKey = "Software\\Bench";

bool WriteOne(bool registry, const std::string& name) {
  if (registry)
    return zel_registry::SetString(ZelHive::CurrentUser, kKey, name.c_str(), name.c_str()) ==
           ERROR_SUCCESS;
  return WritePrivateProfileString("Bench", name.c_str(), name.c_str(), "bench.ini") != 0;
}

// Runs the writers, each in a process of its own; answers the wall time in seconds, or a
// negative number when a writer failed.
double RunWriters(bool registry, int writes) {
  auto start = std::chrono::steady_clock::now();
  pid_t children[2];
  for (int who = 0; who < 2; ++who) {
    children[who] = fork();
    if (children[who] == 0) {
      for (int i = 0; i < writes; ++i)
        if (!WriteOne(registry, std::string(1, static_cast<char>('a' + who)) + std::to_string(i)))
          _exit(1);
      _exit(0);
    }
  }
  bool ok = true;
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return ok ? seconds : -1;
}

// Every entry of both writers is there with its value.
int Missing(bool registry, int writes) {
  int missing = 0;
  for (char who : {'a', 'b'}) {
    for (int i = 0; i < writes; ++i) {
      std::string name = std::string(1, who) + std::to_string(i);
      CString value;
      bool found = registry ? zel_registry::QueryString(ZelHive::CurrentUser, kKey, name.c_str(),
                                                        value) == ERROR_SUCCESS
                            : zel_profile::ReadEntry("bench.ini", "Bench", name.c_str(), value);
      missing += !found || value.str() != name;
    }
  }
  return missing;
}

}  // namespace

int main(int argc, char** argv) {
  int writes = argc > 2 ? std::atoi(argv[2]) : 500;
  const char* where = std::getenv("ZEL_BENCH_DIR");
  std::filesystem::path base =
      where ? std::filesystem::path(where) : std::filesystem::temp_directory_path();
  std::filesystem::path home = base / ("zel-state-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(home);
  setenv("ZEL_HOME", home.c_str(), 1);

  std::printf("Two processes writing %d entries each into one store, in %s\n", writes,
              base.c_str());
  std::printf("%-16s %10s %12s %10s\n", "store", "seconds", "writes/s", "missing");
  int status = 0;
  for (bool registry : {true, false}) {
    double seconds = RunWriters(registry, writes);
    int missing = Missing(registry, writes);
    std::printf("%-16s %10.2f %12.0f %10d\n", registry ? "registry hive" : "profile file", seconds,
                seconds > 0 ? 2 * writes / seconds : 0.0, missing);
    if (seconds < 0 || missing) status = 1;
  }
  std::filesystem::remove_all(home);
  return status;
}
