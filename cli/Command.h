// How `zel` commands and demo sections plug in: each command file registers itself with
// a static registrar, so adding a command touches no other file.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>

namespace zel_cli {

// Exit statuses: 0 success, 1 a failure the library reported, 2 bad usage.
enum Status { kOk = 0, kFailed = 1, kUsage = 2 };

// Adds a subcommand to app; its callback stores its status with SetStatus.
using CommandSetup = std::function<void(CLI::App& app)>;
struct CommandRegistrar {
  CommandRegistrar(int order, CommandSetup setup);
};

// A section of `zel demo`; sections run in order and answer their status.
using DemoSection = std::function<int()>;
struct DemoRegistrar {
  DemoRegistrar(int order, std::string title, DemoSection section);
};

void SetStatus(int status);
int GetStatus();

// The sample installation that `zel demo` walks: $ZEL_EXAMPLES, else the source tree's.
std::string ExamplesDir();
// Whether progress may be shown (standard error is a terminal).
bool ProgressWanted();

}  // namespace zel_cli
