// zel detect: the file type of sequence files from extension, name and contents; and the
// detection part of `zel demo` over the sample files in examples/sequences.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "cli/Command.h"
#include "cli/Compression.h"
#include "cli/Output.h"
#include "files/FileTypesTable.h"
#include "files/SequenceDetection.h"
#include "platform/base/compress/Contents.h"

namespace zel_cli {
namespace {

namespace fs = std::filesystem;

constexpr HANDLE kStdin = 0;

struct Detected {
  int type = 0;
  bool byContent = false;  // the contents were looked at (and decided)
  int format = 0, seqType = 0, archive = 0;
  ZelCompression compression = ZelCompression::kNone;
};

const char* DescriptionOf(int type) {
  const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(type);
  return row && row->description && row->id == type ? row->description : nullptr;
}

const char* FormatName(int format) {
  switch (format) {
    case ZEL_GUESS_GENBANK:
      return "GenBank";
    case ZEL_GUESS_EMBL:
      return "EMBL";
    case ZEL_GUESS_FASTA:
      return "FASTA";
    case ZEL_GUESS_ARCHIVE:
      return "archive";
    default:
      return "none";
  }
}

const char* SeqTypeName(int seqType) {
  return seqType == ZEL_SEQ_NUCLEIC   ? "nucleic acid"
         : seqType == ZEL_SEQ_PROTEIN ? "protein"
                                      : "undecided";
}

// The type of one file: by its name first, as the library does, unless contentOnly; the
// contents when the name leaves it to them. "-" is standard input, whose name says
// nothing. The file is opened and its first bytes read even when the name decides, so
// that what does not exist or cannot be read is told, and its compression known. False,
// with the reason in error, when it cannot be read, is compressed in a way that is not
// read, or its compressed data is damaged where detection read it.
bool Detect(const std::string& path, bool contentOnly, Detected& d, std::string& error) {
  const bool standardInput = path == "-";
  if (!standardInput && !IsRegularFile(path, error)) return false;
  try {
    auto source = standardInput ? std::make_unique<CStdioFile>(kStdin)
                                : std::make_unique<CStdioFile>(
                                      path.c_str(),
                                      CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    std::unique_ptr<CContentsFile> contents =
        CContentsFile::Open(std::move(source), CContentsFile::kStreaming);
    d.compression = contents->Compression();
    if (!contents->Readable()) {
      error = CompressionRefused(path, d.compression);
      return false;
    }
    if (!contentOnly && !standardInput) {
      d.type = ZelFtypeFromName(path.c_str());
      if (d.type >= 0) return true;
    }
    d.byContent = true;
    CEkStream stream;
    const CContentsFile* file = nullptr;
    // A plain file is read from the file itself, whose sequence detection reads by offset
    // in large pieces and two threads; the sniffing object would hand it on a piece at a
    // time.
    if (std::unique_ptr<CStdioFile> plain = standardInput ? nullptr : contents->TakePlainSource()) {
      stream.Open(std::move(plain));
    } else {
      file = contents.get();
      stream.Open(std::move(contents));
    }
    TryToGuessFtype(&stream, &d.seqType, &d.format, &d.archive);
    // Detection stops quietly where reading fails; damage is the user's to know.
    if (const CCompressedDataException* damage = file ? file->Damage() : nullptr) {
      CCompressedDataException copy(*damage);
      error = FailureText(path, copy, true);
      return false;
    }
  } catch (CException& e) {
    error = FailureText(path, e, true);
    return false;
  }
  d.type = ZelFtypeFromGuess(d.format, d.seqType);
  return true;
}

// The files under dir, in sorted order, walked into subfolders but not through links to
// folders; what cannot be read or is no regular file goes to problems as "path: reason".
void CollectFiles(const fs::path& dir, std::vector<std::string>& files,
                  std::vector<std::pair<std::string, std::string>>& problems) {
  std::error_code ec;
  fs::directory_iterator it(dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const fs::path& p = it->path();
    std::error_code kindError;
    const fs::file_status link = it->symlink_status(kindError);
    const fs::file_status target = it->status(kindError);
    if (fs::is_symlink(link) && !fs::exists(target)) {
      problems.push_back({p.string(), p.string() + ": broken link, skipped"});
    } else if (fs::is_directory(target)) {
      if (!fs::is_symlink(link)) CollectFiles(p, files, problems);
    } else {
      files.push_back(p.string());  // special files are refused when they are detected
    }
  }
  if (ec) {
    CFileException e(CFileException::ErrnoToException(ec.value()), ec.value(), dir.c_str());
    problems.push_back({dir.string(), FailureText(dir.string(), e, true)});
  }
}

Json DetectedJson(const std::string& path, const Detected* d, const std::string& error) {
  Json row;
  PutPath(row, path);
  auto orNull = [](bool known, Json value) { return known ? value : Json(nullptr); };
  const char* description = d ? DescriptionOf(d->type) : nullptr;
  row["type"] = orNull(d, d ? d->type : 0);
  row["description"] = description ? Json(description) : Json(nullptr);
  row["by"] = orNull(d, d && d->byContent ? "content" : "name");
  const bool content = d && d->byContent;
  row["format"] = orNull(content, content ? d->format : 0);
  row["formatName"] = orNull(content, content ? FormatName(d->format) : "");
  row["seqType"] = orNull(content, content ? d->seqType : 0);
  row["seqTypeName"] = orNull(content, content ? SeqTypeName(d->seqType) : "");
  row["archive"] = orNull(content, content && d->archive != 0);
  row["compression"] = d ? CompressionJson(d->compression) : Json(nullptr);
  if (!d) row["error"] = ToValidUtf8(error);
  return row;
}

int RunDetect(const std::vector<std::string>& paths, bool json, bool contentOnly) {
  int status = kOk;
  Json rows = Json::array();
  auto fail = [&](const std::string& path, const std::string& error) {
    status = kFailed;
    if (json)
      rows.push_back(DetectedJson(path, nullptr, error));
    else
      Message(error);
  };
  for (const std::string& arg : paths) {
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> problems;
    std::error_code ec;
    if (arg != "-" && fs::is_directory(arg, ec)) {
      CollectFiles(arg, files, problems);
      std::sort(files.begin(), files.end());
    } else {
      files.push_back(arg);
    }
    for (const auto& [path, error] : problems) fail(path, error);
    for (const std::string& path : files) {
      Detected d;
      std::string error;
      if (!Detect(path, contentOnly, d, error)) {
        fail(path, error);
        continue;
      }
      if (json) {
        rows.push_back(DetectedJson(path, &d, error));
      } else {
        const char* description = DescriptionOf(d.type);
        std::printf("%d\t%s\t%s\n", d.type, description ? description : "-", path.c_str());
      }
    }
  }
  if (json) PrintJson(rows);
  return status;
}

const CommandRegistrar detect(30, [](CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "detect",
      "Recognise the file type of sequence files: ID<TAB>DESCRIPTION<TAB>PATH.\n"
      "The name decides first: an extension of one to three letters that the file types "
      "table knows (.gb, .gp, .ma4, ...), or BAIROCH or PROSITE in the path. A name without "
      "extension, or with a long one such as .fasta or .embl, decides type 0 without "
      "looking inside. A short extension nobody claims (.txt, .seq, .fa) leaves it to the "
      "contents: GenBank, EMBL and FASTA records, the suite's archive markers, and the "
      "letters of the sequence. --content looks inside whatever the name. gzip and BGZF "
      "files are read decompressed, and a trailing .gz or .bgz is left out of the name; "
      "bzip2, xz and zstd files are refused.");
  static bool json = false, contentOnly = false;
  static std::vector<std::string> paths;
  cmd->add_flag("--json", json,
                "An array of {path, type, description, by (name or content), format, "
                "formatName, seqType, seqTypeName, archive, compression (gzip, bgzf or "
                "null)}; fields of the contents are null when the name decided; a failed "
                "file has error");
  cmd->add_flag("--content", contentOnly, "Look at the contents only, not extension or name");
  cmd->add_option("PATH", paths, "Files, folders walked recursively, or - for standard input")
      ->required();
  cmd->callback([] { SetStatus(RunDetect(paths, json, contentOnly)); });
});

const DemoRegistrar demo(30, "Sequence format detection", [] {
  fs::path dir = fs::path(ExamplesDir()) / "sequences";
  std::vector<std::string> files;
  std::vector<std::pair<std::string, std::string>> problems;
  CollectFiles(dir, files, problems);
  for (const auto& problem : problems) Message(problem.second);
  std::sort(files.begin(), files.end());
  std::printf("Each sample file of %s, with what its contents say:\n", dir.c_str());
  int status = problems.empty() ? kOk : kFailed;
  for (const std::string& path : files) {
    Detected d;
    std::string error;
    if (!Detect(path, true, d, error)) {
      Message(error);
      status = kFailed;
      continue;
    }
    CZelFileSpec spec;
    spec.GuessExistingFileSpecGivenPath(path.c_str());
    const char* description = DescriptionOf(spec.GetType());
    std::printf("  %-22s %3d %-20s (%s, %s)\n", fs::path(path).filename().c_str(), spec.GetType(),
                description ? description : "-", FormatName(d.format), SeqTypeName(d.seqType));
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
