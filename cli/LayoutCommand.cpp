// zel layout: the installation's directory layout computed from its three roots.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "layout/DirectoryLayout.h"
#include "layout/HostServices.h"
#include "layout/Settings.h"
#include "platform/fs/FileSystem.h"
#include "platform/host/Host.h"

namespace zel_cli {
namespace {

struct Roots {
  std::string main, exe, network, toolsBase;
};

// A folder given on the command line, as a full path.
CZelDirSpec Folder(const std::string& path) {
  CString full;
  if (!zel_fs::FullPathName(path.c_str(), full)) full = path.c_str();
  return CZelDirSpec(full.GetString());
}

// Sets the roots and recalculates; false (with the reason on stderr) when no main data
// folder can be had.
bool Compute(const Roots& roots) {
  if (!roots.main.empty()) {
    MAINDIR = Folder(roots.main);
  } else {
    CZelDirSpec found;
    if (!GetZelMainDir(found, 0)) {
      std::fprintf(stderr,
                   "zel layout: no main data folder: none is stored in the settings, the "
                   "program's folder holds no Zeludat.def, and no folder was chosen; give "
                   "--main DIR\n");
      return false;
    }
    MAINDIR = found;
  }
  if (!roots.exe.empty()) {
    EXEDIR = Folder(roots.exe);
  } else {
    CString dir;
    ZelGetLocalExeDir(dir, ExtractFileDirectory(zel_host::ExecutablePath()));
    EXEDIR.SetSpecWin(dir);
  }
  if (!roots.network.empty()) NETWORKDIR = Folder(roots.network);
  RecalcMAINDIRDependencies();
  RecalcEXEDIRDependencies();
  RecalcNETWORKDIRDependencies();
  if (!roots.toolsBase.empty()) CalcToolSpecs(Folder(roots.toolsBase));
  return true;
}

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
  static Roots roots;
  cmd->add_flag("--json", json, "An object from global name to path (null when unset)");
  cmd->add_option("--main", roots.main,
                  "The main data folder (default: the stored one, or the program's folder "
                  "when it holds Zeludat.def)");
  cmd->add_option("--exe", roots.exe,
                  "The executables' folder (default: the installation key, else the "
                  "program's folder)");
  cmd->add_option("--network", roots.network, "The shared network database folder");
  cmd->add_option("--tools-base", roots.toolsBase,
                  "Compute the tool folders from this folder instead of the executables'");
  cmd->callback([] { SetStatus(Compute(roots) ? Print(json) : kFailed); });
});

const DemoRegistrar demo(50, "The installation layout", [] {
  std::string base = ExamplesDir() + "/installation";
  Roots roots{base + "/Data", base + "/Programs", base + "/Network", ""};
  if (!Compute(roots)) return static_cast<int>(kFailed);
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
