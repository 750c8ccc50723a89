// zel lines: counts lines exactly as the text file reads them.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "files/StatusMessage.h"
#include "files/ZelTextFile.h"

namespace zel_cli {
namespace {

// Progress goes to the terminal on one line that each message rewrites.
std::string g_progressPath;
void ShowProgress(const char* message) {
  std::fprintf(stderr, "\r%s: %s ", g_progressPath.c_str(), message);
  std::fflush(stderr);
}

// The lines a reader of the file gets whole, as ReadLineLong reads them: a long line is one
// line. A failure is shown in the library's words and answers false.
bool CountLines(const std::string& path, long long& lines) {
  CZelTextFile file(CZelFileSpec(path.c_str(), 0));
  if (!file.OpenInput()) {
    file.ReportException();
    return false;
  }
  const bool progress = ProgressWanted();
  if (progress) {
    g_progressPath = path;
    SetStatusMessageHook(ShowProgress);
    file.DisplayProgressStatus(1 << 20);
  }
  bool ok = true;
  lines = 0;
  try {
    lines = file.CountLinesToEnd();
  } catch (CException& e) {
    file.ReportException(&e);
    ok = false;
  }
  if (progress) {
    SetStatusMessageHook(nullptr);
    std::fprintf(stderr, "\r\033[K");
  }
  file.Close();
  return ok;
}

int RunLines(const std::vector<std::string>& paths, bool json) {
  int status = kOk;
  auto out = nlohmann::ordered_json::array();
  for (const std::string& path : paths) {
    long long lines = 0;
    if (!CountLines(path, lines)) {
      status = kFailed;
      continue;
    }
    if (json)
      out.push_back({{"path", path}, {"lines", lines}});
    else
      std::printf("%lld\t%s\n", lines, path.c_str());
  }
  if (json) std::printf("%s\n", out.dump(2).c_str());
  return status;
}

const CommandRegistrar lines(20, [](CLI::App& app) {
  auto* cmd =
      app.add_subcommand("lines", "Count the lines of files (CR, LF and CR LF each end one)");
  static bool json = false;
  static std::vector<std::string> paths;
  cmd->add_flag("--json", json, "An array of {\"path\", \"lines\"}");
  cmd->add_option("FILE", paths, "Files to count")->required();
  cmd->callback([] { SetStatus(RunLines(paths, json)); });
});

const DemoRegistrar demo(20, "Counting lines of the sample files", [] {
  std::vector<std::string> files;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(ExamplesDir(), ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    if (it->is_regular_file()) files.push_back(it->path().string());
  std::sort(files.begin(), files.end());
  std::printf("Each of CR, LF and CR LF ends a line; a last line without an end counts too.\n");
  return RunLines(files, false);
});

}  // namespace
}  // namespace zel_cli
