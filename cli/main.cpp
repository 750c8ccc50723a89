// zel: the command-line front end of the library.
#include <cstdio>
#include <cstdlib>
#include <map>

#include "cli/Command.h"
#include "platform/app/WinApp.h"
#include "platform/console/Console.h"

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

std::string ExamplesDir() {
  if (const char* dir = std::getenv("ZEL_EXAMPLES"); dir && *dir) return dir;
  return std::string(ZEL_SOURCE_DIR) + "/examples";
}

bool ProgressWanted() { return zel_console::StderrIsTerminal(); }

namespace {
int RunDemo() {
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

  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = cli.exit(e);
    return code == 0 ? 0 : kUsage;
  }
  std::fflush(stdout);
  return GetStatus();
}
