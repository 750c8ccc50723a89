// The installation's roots as the commands take them (--main, --exe, --network,
// --tools-base), and the directory layout computed from them.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace zel_cli {

struct LayoutRoots {
  std::string main, exe, network, toolsBase;
};

void AddLayoutRootOptions(CLI::App* cmd, LayoutRoots& roots);

// Sets the roots and recalculates every derived folder and file. Without --main the main
// data folder is searched for (stored setting, the program's folder, the picker) only when
// mainRequired: then false, with the reason on stderr under the command's name, when none
// can be had; otherwise the main folder's globals stay unset and nothing is searched for
// (or stored). Without --exe the executables' folder is the installation key's, else the
// program's.
bool ComputeLayout(const LayoutRoots& roots, bool mainRequired, const char* command);

}  // namespace zel_cli
