// A launcher for tests: records what would be started and answers a chosen error.
#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "platform/os/process/Process.h"

namespace zel_test {

class RecordingLauncher : public zel_process::Launcher {
 public:
  std::error_code Spawn(const std::string& path, const std::vector<std::string>& argv,
                        int*) override {
    spawned.push_back(argv);
    spawnedPath = path;
    return Answer();
  }
  std::error_code Open(const std::string& target) override {
    opened.push_back(target);
    return Answer();
  }
  std::error_code Answer() const {
    return answer ? std::error_code(answer, std::generic_category()) : std::error_code();
  }
  std::vector<std::vector<std::string>> spawned;
  std::string spawnedPath;
  std::vector<std::string> opened;
  int answer = 0;  // an errno value; 0 for success
};

}  // namespace zel_test
