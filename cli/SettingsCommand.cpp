// zel settings: read and write entries of zel's own settings store or the suite-wide one.
#include <cstdio>
#include <string>

#include "cli/Command.h"
#include "layout/Settings.h"
#include "platform/app/WinApp.h"

namespace zel_cli {
namespace {

struct Args {
  bool suite = false;
  std::string section, entry, value, def;
};

int Get(const Args& a) {
  CString value = a.suite ? QlliGetProfileString(a.section.c_str(), a.entry.c_str(), a.def.c_str())
                          : ZelGetProfileString(a.section.c_str(), a.entry.c_str(), a.def.c_str());
  std::printf("%s\n", value.GetString());
  return kOk;
}

int Set(const Args& a) {
  CString ok = a.suite ? QlliWriteProfileString(a.section.c_str(), a.entry.c_str(), a.value.c_str())
                       : ZelWriteProfileString(a.section.c_str(), a.entry.c_str(), a.value.c_str());
  if (ok[0] == 1) return kOk;
  std::fprintf(stderr, "zel settings: cannot write [%s] %s to %s\n", a.section.c_str(),
               a.entry.c_str(), AfxGetApp()->GetProfileLocation().GetString());
  return kFailed;
}

const CommandRegistrar settings(51, [](CLI::App& app) {
  auto* cmd = app.add_subcommand("settings", "Read or write a settings entry");
  cmd->require_subcommand(1);
  static Args get, set;
  auto* g = cmd->add_subcommand("get", "Print an entry (the default when it is not set)");
  g->add_flag("--suite", get.suite, "The store shared by all programs of the suite");
  g->add_option("--default", get.def, "What an entry that is not set reads as");
  g->add_option("SECTION", get.section, "Section name (case does not matter)")->required();
  g->add_option("ENTRY", get.entry, "Entry name (case does not matter)")->required();
  g->callback([] { SetStatus(Get(get)); });
  auto* s = cmd->add_subcommand("set", "Write an entry");
  s->add_flag("--suite", set.suite, "The store shared by all programs of the suite");
  s->add_option("SECTION", set.section, "Section name")->required();
  s->add_option("ENTRY", set.entry, "Entry name")->required();
  s->add_option("VALUE", set.value, "The text to store")->required();
  s->callback([] { SetStatus(Set(set)); });
});

}  // namespace
}  // namespace zel_cli
