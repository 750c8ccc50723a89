// zel layout: the installation's directory layout computed from its three roots.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/LayoutRoots.h"
#include "layout/DirectoryLayout.h"

namespace zel_cli {
namespace {

int Print(bool json) {
  if (json) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (const ZelLayoutGlobal& g : ZelLayoutGlobals()) {
      const char* path = g.Path();
      out[g.name] = path ? nlohmann::ordered_json(path) : nlohmann::ordered_json(nullptr);
    }
    std::printf("%s\n", out.dump(2).c_str());
    return kOk;
  }
  for (const ZelLayoutGlobal& g : ZelLayoutGlobals())
    std::printf("%s\t%s\n", g.name, g.Path() ? g.Path() : "");
  return kOk;
}

const CommandRegistrar layout(50, [](CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "layout", "Compute the installation's folders and files from its three roots");
  static bool json = false;
  static LayoutRoots roots;
  cmd->add_flag("--json", json, "An object from global name to path (null when unset)");
  AddLayoutRootOptions(cmd, roots);
  cmd->callback(
      [] { SetStatus(ComputeLayout(roots, true, "zel layout") ? Print(json) : kFailed); });
});

const DemoRegistrar demo(50, "The installation layout", [] {
  std::string base = ExamplesDir() + "/installation";
  LayoutRoots roots{base + "/Data", base + "/Programs", base + "/Network", ""};
  if (!ComputeLayout(roots, true, "zel layout")) return static_cast<int>(kFailed);
  std::printf("zel layout --main %s/Data --exe %s/Programs --network %s/Network\n", base.c_str(),
              base.c_str(), base.c_str());
  const char* shown[] = {"MAINDIR",  "SEQDIR",     "TCHDIR",    "DEFFILE",    "UDATFILE",
                         "TOOLSDIR", "TUVAPPFILE", "NETSEQDIR", "NETLOCKFILE"};
  const std::vector<ZelLayoutGlobal>& all = ZelLayoutGlobals();
  for (const char* name : shown)
    for (const ZelLayoutGlobal& g : all)
      if (std::string(g.name) == name) std::printf("  %-12s %s\n", g.name, g.Path());
  std::printf("  ... %zu globals in all (zel layout --json for every one).\n", all.size());
  std::printf(
      "UDATFILE %s: it is the marker by which a data folder beside the program is "
      "recognised.\n",
      UDATFILE.FileExists() ? "exists here" : "is missing here");
  return static_cast<int>(kOk);
});

}  // namespace
}  // namespace zel_cli
