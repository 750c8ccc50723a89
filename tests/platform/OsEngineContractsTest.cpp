// The os floor's engine contracts over the system's engines and the tests'.
#include <sstream>

#include "tests/support/OsEngineContracts.h"
#include "tests/support/RecordingLauncher.h"

namespace zel_test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

RecordingLauncher& Recorder() {
  static RecordingLauncher recorder;
  return recorder;
}

INSTANTIATE_TEST_SUITE_P(
    Os, LauncherContract,
    testing::Values(LauncherEngine{"System",
                                   [] {
                                     static zel_process::SystemLauncher system;
                                     return &system;
                                   },
                                   [](const std::string& file) {
                                     // The program runs on its own; its answer is there once
                                     // renamed.
                                     PollUntil([&] { return std::filesystem::exists(file); });
                                     return Lines(ReadFile(file));
                                   }},
                    LauncherEngine{"Recording", [] { return &Recorder(); },
                                   [](const std::string&) {
                                     std::vector<std::string> argv = Recorder().spawned.back();
                                     return std::vector<std::string>(argv.begin() + 2, argv.end());
                                   }}),
    EngineName());

INSTANTIATE_TEST_SUITE_P(Os, TreeWatchContract,
                         testing::Values(TreeWatchEngine{
                             "System", [] { return zel_watch::NewSystemTreeWatch(); }}),
                         EngineName());

}  // namespace
}  // namespace zel_test
