// The roots options and the layout computed from them, shared by the commands that need
// the installation's folders.
#include "cli/LayoutRoots.h"

#include <cstdio>

#include "layout/DirectoryLayout.h"
#include "layout/HostServices.h"
#include "layout/Settings.h"
#include "platform/os/fs/FileSystem.h"
#include "platform/os/host/Host.h"

namespace zel_cli {
namespace {

// A folder given on the command line, as a full path.
CZelDirSpec Folder(const std::string& path) {
  CString full;
  if (!zel_fs::FullPathName(path.c_str(), full)) full = path.c_str();
  return CZelDirSpec(full.GetString());
}

}  // namespace

void AddLayoutRootOptions(CLI::App* cmd, LayoutRoots& roots) {
  cmd->add_option("--main", roots.main,
                  "The main data folder (default: the stored one, or the program's folder "
                  "when it holds Zeludat.def)")
      ->type_name("DIR");
  cmd->add_option("--exe", roots.exe,
                  "The executables' folder (default: the installation key, else the "
                  "program's folder)")
      ->type_name("DIR");
  cmd->add_option("--network", roots.network, "The shared network database folder")
      ->type_name("DIR");
  cmd->add_option("--tools-base", roots.toolsBase,
                  "Compute the tool folders from this folder instead of the executables'")
      ->type_name("DIR");
}

bool ComputeLayout(const LayoutRoots& roots, bool mainRequired, const char* command) {
  if (!roots.main.empty()) {
    MAINDIR = Folder(roots.main);
  } else if (mainRequired) {
    CZelDirSpec found;
    if (!GetZelMainDir(found, 0)) {
      std::fprintf(stderr,
                   "zel: %s: no main data folder: none is stored in the settings, the "
                   "program's folder holds no Zeludat.def, and no folder was chosen; give "
                   "--main DIR\n",
                   command);
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

}  // namespace zel_cli
