// zel detect: the file type of sequence files from extension, name and contents; and the
// detection part of `zel demo` over the sample files in examples/sequences.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>
#include <vector>

#include "cli/Command.h"
#include "files/FileTypesTable.h"
#include "files/SequenceDetection.h"

namespace zel_cli {
namespace {

namespace fs = std::filesystem;

struct Detected {
  int type = 0;
  int format = 0, seqType = 0, archive = 0;
};

const char* DescriptionOf(int type) {
  const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(type);
  return row && row->description && row->id == type ? row->description : nullptr;
}

// Tells the user, in the library's words, why path could not be read.
void ReportUnreadable(const std::string& path, const CFileException& e) {
  CFileException copy = e;
  CZelFileSpec(path.c_str(), 0).ReportException(&copy, 1, 1);
}

// The library's exception for a failed folder read; the standard library's codes are the
// system's error numbers.
CFileException FolderError(const fs::path& dir, const std::error_code& ec) {
  return CFileException(CFileException::ErrnoToException(ec.value()), ec.value(), dir.c_str());
}

// The type of one readable file, and the content results for --json. False (after
// reporting why) when the file cannot be opened for reading.
bool Detect(const std::string& path, bool contentOnly, bool wantContent, Detected& d) {
  try {
    CEkStream stream(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    if (contentOnly || wantContent) TryToGuessFtype(&stream, &d.seqType, &d.format, &d.archive);
  } catch (CFileException& e) {
    ReportUnreadable(path, e);
    return false;
  }
  if (contentOnly) {
    d.type = ZelFtypeFromGuess(d.format, d.seqType);
  } else {
    CZelFileSpec spec;
    d.type = spec.GuessExistingFileSpecGivenPath(path.c_str()) ? spec.GetType() : 0;
  }
  return true;
}

// The regular files under dir, in sorted order; folders linked to are not followed.
bool CollectFiles(const fs::path& dir, std::vector<std::string>& files) {
  std::error_code ec;
  fs::directory_iterator it(dir, ec), end;
  if (ec) {
    ReportUnreadable(dir.string(), FolderError(dir, ec));
    return false;
  }
  bool ok = true;
  for (; it != end; it.increment(ec)) {
    if (ec) {
      ReportUnreadable(dir.string(), FolderError(dir, ec));
      return false;
    }
    std::error_code kindError;
    if (it->is_symlink(kindError) == false && it->is_directory(kindError))
      ok &= CollectFiles(it->path(), files);
    else if (it->is_regular_file(kindError))
      files.push_back(it->path().string());
  }
  return ok;
}

int RunDetect(const std::vector<std::string>& paths, bool json, bool contentOnly) {
  bool allRead = true;
  auto rows = nlohmann::ordered_json::array();
  for (const std::string& arg : paths) {
    std::vector<std::string> files;
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
      allRead &= CollectFiles(arg, files);
      std::sort(files.begin(), files.end());
    } else {
      files.push_back(arg);
    }
    for (const std::string& path : files) {
      Detected d;
      if (!Detect(path, contentOnly, json, d)) {
        allRead = false;
        continue;
      }
      const char* description = DescriptionOf(d.type);
      if (json) {
        nlohmann::ordered_json row;
        row["path"] = path;
        row["type"] = d.type;
        row["description"] = description ? nlohmann::ordered_json(description) : nullptr;
        row["format"] = d.format;
        row["seqType"] = d.seqType;
        row["archive"] = d.archive;
        rows.push_back(row);
      } else {
        std::printf("%d\t%s\t%s\n", d.type, description ? description : "-", path.c_str());
      }
    }
  }
  if (json) std::printf("%s\n", rows.dump(2).c_str());
  return allRead ? kOk : kFailed;
}

const CommandRegistrar detect(30, [](CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "detect", "Recognise the file type of sequence files: ID<TAB>DESCRIPTION<TAB>PATH");
  static bool json = false, contentOnly = false;
  static std::vector<std::string> paths;
  cmd->add_flag("--json", json, "An array of {path, type, description, format, seqType, archive}");
  cmd->add_flag("--content", contentOnly, "Look at the contents only, not extension or name");
  cmd->add_option("PATH", paths, "Files, or folders walked recursively")->required();
  cmd->callback([] { SetStatus(RunDetect(paths, json, contentOnly)); });
});

const DemoRegistrar demo(30, "Sequence format detection", [] {
  fs::path dir = fs::path(ExamplesDir()) / "sequences";
  std::vector<std::string> files;
  if (!CollectFiles(dir, files)) return static_cast<int>(kFailed);
  std::sort(files.begin(), files.end());
  static const char* const formats[] = {"no format", "GenBank style", "EMBL style", "FASTA", "",
                                        "",          "suite archive"};
  static const char* const kinds[] = {"undecided", "nucleic acid", "protein"};
  std::printf("Each sample file of %s, with what its contents say:\n", dir.c_str());
  int status = kOk;
  for (const std::string& path : files) {
    Detected d;
    if (!Detect(path, false, true, d)) {
      status = kFailed;
      continue;
    }
    const char* description = DescriptionOf(d.type);
    std::printf("  %-22s %3d %-20s (%s, %s)\n", fs::path(path).filename().c_str(), d.type,
                description ? description : "-", formats[d.format], kinds[d.seqType]);
  }
  const char* ids[] = {"pBR322", " pBR322", "pBR{322}"};
  std::printf("Database identifiers (a rejected one is explained on standard error):\n");
  for (const char* id : ids) {
    std::fflush(stdout);
    int ok = IsValidDbID(id, nullptr);
    std::printf("  \"%s\" %s\n", id, ok ? "is valid" : "is rejected");
  }
  return status;
});

}  // namespace
}  // namespace zel_cli
