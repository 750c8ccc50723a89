// Loading the tool tree: `zel tools list` (the whole process) over a tool folder of 776
// tools in 40 folders, all four kinds of tool file and a menu-order file, beside
// `find DIR -type f -print0 | xargs -0 cat >/dev/null` over the same files, in the same
// run. Best of the rounds for each; the goal is at most 2x the reference.
//
//   tools_bench ZEL [--rounds N] [--dir PATH]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "tests/tools/ToolFixtures.h"
#include "tools/MenuOrder.h"

namespace fs = std::filesystem;

namespace {

double Seconds(const std::string& command) {
  auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// 776 tools in 40 folders, kinds in turn; every folder's entries in reverse order by the
// menu-order file. Answers the number of files written.
int MakeFolder(const fs::path& tools) {
  fs::path menu = tools / "Menu";
  CMenuOrder order;
  int tool = 0, files = 0;
  for (int f = 0; f < 40; ++f) {
    std::string folder = "Folder " + std::to_string(f);
    fs::create_directories(menu / folder);
    CMenuOrder* folderOrder = order.GetOrCreateNode(folder.c_str());
    folderOrder->SetOrderName(std::string(1, static_cast<char>('z' - f % 26)).c_str());
    int count = f < 16 ? 20 : 19;
    for (int i = 0; i < count; ++i, ++tool) {
      std::string name = "Tool " + std::to_string(tool);
      std::string file;
      std::string bytes;
      switch (tool % 4) {
        case 0:
          file = name + ".tq";
          bytes = "[ToolUnitShortcut]\r\nInputType=" + std::to_string(tool % 51) +
                  "\r\nTarget=~..\\bin\\tool" + std::to_string(tool) +
                  ".exe\r\nDescription=Tool number " + std::to_string(tool) +
                  "\r\nCommand=-in %1 -name %2 -out %3\r\n";
          break;
        case 1:
          file = name + ".url";
          bytes = "[InternetShortcut]\r\nURL=https://tools.example/run?id=" + std::to_string(tool) +
                  "\r\n[Tessaly]\r\nDescription=Web tool " + std::to_string(tool) + "\r\n";
          break;
        case 2: {
          file = name + ".lnk";
          zel_fixtures::LinkSpec s;
          s.description = "Linked tool " + std::to_string(tool);
          s.localBasePath = "C:\\Program Files\\Tool" + std::to_string(tool) + "\\";
          s.commonPathSuffix = "tool.exe";
          s.arguments = "-q %1";
          s.workingDir = "C:\\Temp";
          s.idList = std::string(60, '\x01');
          bytes = zel_fixtures::ShellLink(s);
          break;
        }
        default:
          file = name + ".exe";
          bytes = zel_fixtures::ProgramFile(zel_fixtures::VersionResource(
              zel_fixtures::ProductVersion("Program " + std::to_string(tool))));
          break;
      }
      Write(menu / folder / file, bytes);
      ++files;
      folderOrder->GetOrCreateNode(file.c_str())
          ->SetOrderName(std::string(1, static_cast<char>('z' - i)).c_str());
    }
  }
  if (order.WriteOrderFile((tools / "MenuOrder.ini").c_str())) {
    std::fprintf(stderr, "cannot write the menu-order file\n");
    std::exit(1);
  }
  return files + 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string zel;
  int rounds = 15;
  std::string base;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--rounds" && i + 1 < argc)
      rounds = std::max(1, std::atoi(argv[++i]));
    else if (a == "--dir" && i + 1 < argc)
      base = argv[++i];
    else
      zel = a;
  }
  if (zel.empty()) {
    std::fprintf(stderr, "usage: tools_bench ZEL [--rounds N] [--dir PATH]\n");
    return 2;
  }
  std::random_device rd;
  fs::path dir = (base.empty() ? fs::temp_directory_path() : fs::path(base)) /
                 ("zel-tools-bench-" + std::to_string(rd()));
  fs::path tools = dir / "Programs" / "Tools";
  int files = MakeFolder(tools);

  std::string quoted = "'" + tools.string() + "'";
  std::string list = "'" + zel + "' tools list --exe '" + (dir / "Programs").string() + "' > '" +
                     (dir / "list.txt").string() + "'";
  std::string reference = "find " + quoted + " -type f -print0 | xargs -0 cat >/dev/null";
  // Warm the page cache and check the listing once.
  Seconds(list);
  Seconds(reference);
  std::ifstream in(dir / "list.txt");
  int lines = static_cast<int>(
      std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
  double best = 1e30, bestRef = 1e30;
  for (int r = 0; r < rounds; ++r) {
    best = std::min(best, Seconds(list));
    bestRef = std::min(bestRef, Seconds(reference));
  }
  std::printf("tool folder: %d files (776 tools in 40 folders, four kinds, menu order)\n", files);
  std::printf("best of %d rounds, files in the page cache\n", rounds);
  std::printf("  zel tools list           %8.2f ms  (%d tools listed)\n", best * 1e3, lines);
  std::printf("  find | xargs cat         %8.2f ms\n", bestRef * 1e3);
  std::printf("  ratio                    %8.2fx  (goal: at most 2x)\n", best / bestRef);
  std::error_code ec;
  fs::remove_all(dir, ec);
  return lines == 776 ? 0 : 1;
}
