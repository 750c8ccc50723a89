// zel lines: counts lines exactly as the text file reads them whole.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Compression.h"
#include "cli/Output.h"
#include "files/StatusMessage.h"
#include "files/ZelTextFile.h"
#include "platform/base/compress/Contents.h"

namespace zel_cli {
namespace {

constexpr HANDLE kStdin = 0;

// Progress goes to the terminal on one line that each message rewrites.
std::string g_progressPath;
void ShowProgress(const char* message) {
  std::fprintf(stderr, "\r%s: %s ", g_progressPath.c_str(), message);
  std::fflush(stderr);
}

// The lines a reader of the file gets whole, as ReadLineLong reads them: a long line is one
// line, and a last line without its end counts too. "-" is standard input. A gzip or
// BGZF file's lines are those of its decompressed contents. False, with the reason in
// error, when the file cannot be read.
bool CountLines(const std::string& path, long long& lines, std::string& error) {
  const bool standardInput = path == "-";
  if (!standardInput && !IsRegularFile(path, error)) return false;
  CZelTextFile file;
  file.SetFileSpec(standardInput ? "standard input" : path.c_str(), 0);
  try {
    auto source = standardInput ? std::make_unique<CStdioFile>(kStdin)
                                : std::make_unique<CStdioFile>(
                                      path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    std::unique_ptr<CContentsFile> contents =
        CContentsFile::Open(std::move(source), CContentsFile::kWholeWhenSmall);
    if (!contents->Readable()) {
      error = CompressionRefused(path, contents->Compression());
      return false;
    }
    // A plain file is counted from the file itself, which the text file reads by offset in
    // large pieces and two threads; the sniffing object would hand it on a piece at a time.
    std::unique_ptr<CStdioFile> plain = standardInput ? nullptr : contents->TakePlainSource();
    if (plain)
      file.AttachInput(std::move(plain));
    else
      file.AttachInput(std::move(contents));
  } catch (CException& e) {
    error = FailureText(path, e, true);
    return false;
  }
  const bool progress = ProgressWanted();
  if (progress) {
    g_progressPath = path;
    SetStatusMessageHook(ShowProgress);
    file.DisplayProgressStatus(1 << 20);
  }
  bool ok = true;
  try {
    lines = file.CountLinesToEnd();
  } catch (CException& e) {
    error = FailureText(path, e, true);
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
  Json out = Json::array();
  for (const std::string& path : paths) {
    long long lines = 0;
    std::string error;
    const bool ok = CountLines(path, lines, error);
    if (!ok) {
      status = kFailed;
      if (!json) Message(error);
    }
    if (json) {
      Json row;
      PutPath(row, path);
      row["lines"] = ok ? Json(lines) : Json(nullptr);
      if (!ok) row["error"] = ToValidUtf8(error);
      out.push_back(row);
    } else if (ok) {
      std::printf("%lld\t%s\n", lines, path.c_str());
    }
  }
  if (json) PrintJson(out);
  return status;
}

const CommandRegistrar lines(20, [](CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "lines",
      "Count the lines of files as they are read whole: CR, LF and CR LF each end one, a "
      "last line without an end counts too. gzip and BGZF files are counted decompressed; "
      "bzip2, xz and zstd files are refused");
  static bool json = false;
  static std::vector<std::string> paths;
  cmd->add_flag("--json", json, "An array of {path, lines} (a failed file: lines null, error)");
  cmd->add_option("FILE", paths, "Regular files to count, or - for standard input")->required();
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
