// zel layout: the installation's directory layout computed from its three roots.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/LayoutRoots.h"
#include "cli/Output.h"
#include "layout/DirectoryLayout.h"

namespace zel_cli {
namespace {

int Print(bool json) {
  if (json) {
    Json out = Json::array();
    for (const ZelLayoutGlobal& g : ZelLayoutGlobals()) {
      Json row;
      row["name"] = g.name;
      row["kind"] = g.dir ? "folder" : "file";
      if (const char* path = g.Path())
        PutPath(row, path);
      else
        row["path"] = nullptr;
      out.push_back(row);
    }
    PrintJson(out);
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
  cmd->add_flag("--json", json,
                "An array of {name, kind (folder or file), path (null when unset)}, in the "
                "order of the recalculation");
  AddLayoutRootOptions(cmd, roots);
  cmd->callback([] { SetStatus(ComputeLayout(roots, true, "layout") ? Print(json) : kFailed); });
});

const DemoRegistrar demo(50, "The installation layout", [] {
  std::string base = ExamplesDir() + "/installation";
  LayoutRoots roots{base + "/Data", base + "/Programs", base + "/Network", ""};
  if (!ComputeLayout(roots, true, "layout")) return static_cast<int>(kFailed);
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
