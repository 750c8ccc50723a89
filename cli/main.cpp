// zel: the command-line front end of the library.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "cli/Command.h"
#include "cli/Output.h"
#include "platform/os/console/Console.h"
#include "platform/os/host/Host.h"
#include "platform/user/app/WinApp.h"

namespace zel_cli {
namespace {
std::multimap<int, CommandSetup>& Commands() {
  static std::multimap<int, CommandSetup> commands;
  return commands;
}
struct Demo {
  std::string title;
  DemoSection run;
};
std::multimap<int, Demo>& Demos() {
  static std::multimap<int, Demo> demos;
  return demos;
}
int g_status = kOk;
}  // namespace

CommandRegistrar::CommandRegistrar(int order, CommandSetup setup) {
  Commands().emplace(order, std::move(setup));
}
DemoRegistrar::DemoRegistrar(int order, std::string title, DemoSection section) {
  Demos().emplace(order, Demo{std::move(title), std::move(section)});
}
void SetStatus(int status) { g_status = status; }
int GetStatus() { return g_status; }

// An installed zel finds the examples installed beside it (<prefix>/share/zelutil/examples
// for <prefix>/bin/zel), wherever the tree was moved; only the zel of a build tree takes
// the source tree's.
std::string ExamplesDir() {
  if (const char* dir = std::getenv("ZEL_EXAMPLES"); dir && *dir) return dir;
  namespace fs = std::filesystem;
  const fs::path exe = zel_host::ExecutablePath().str();
  std::error_code ec;
  const fs::path installed = exe.parent_path().parent_path() / "share/zelutil/examples";
  if (fs::is_directory(installed, ec)) return installed.string();
  if (fs::equivalent(exe.parent_path(), ZEL_BUILD_DIR, ec))
    return std::string(ZEL_SOURCE_DIR) + "/examples";
  return installed.string();  // missing: the demo says so
}

bool ProgressWanted() { return zel_console::StderrIsTerminal(); }

namespace {
int RunDemo() {
  std::error_code ec;
  if (!std::filesystem::is_directory(ExamplesDir(), ec)) {
    std::fprintf(stderr, "zel: the examples are not at %s; set ZEL_EXAMPLES to their folder\n",
                 ExamplesDir().c_str());
    return kFailed;
  }
  int worst = kOk;
  for (auto& [order, demo] : Demos()) {
    std::printf("\n== %s ==\n", demo.title.c_str());
    std::fflush(stdout);
    int status = demo.run();
    if (status > worst) worst = status;
  }
  return worst;
}
}  // namespace
}  // namespace zel_cli

int main(int argc, char** argv) {
  using namespace zel_cli;
  CWinApp app("zel");
  app.m_strExeName = "zel";

  CLI::App cli{"zel: the suite's utility library on the command line"};
  cli.set_version_flag("--version", std::string("zel ") + ZEL_VERSION);
  cli.require_subcommand(1);
  for (auto& [order, setup] : Commands()) setup(cli);
  CLI::App* demo = cli.add_subcommand("demo", "A short tour of the library over examples/");
  demo->callback([] { SetStatus(RunDemo()); });
  // Every message starts "zel:", usage errors included.
  cli.failure_message([](const CLI::App*, const CLI::Error& e) {
    return std::string("zel: ") + e.what() + "\nRun zel --help for more information.\n";
  });
  auto known = [&cli](const std::string& name) {
    for (const CLI::App* sub : cli.get_subcommands({}))
      if (sub->check_name(name)) return true;
    return false;
  };
  if (argc > 1 && argv[1][0] != '-' && !known(argv[1])) {
    Message(std::string("unknown command '") + argv[1] + "' (zel --help lists the commands)");
    return kUsage;
  }

  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = cli.exit(e);
    return code == 0 ? 0 : kUsage;
  }
  std::fflush(stdout);
  return GetStatus();
}
