// zel sxf: reformat and check files in the structured text format.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Output.h"
#include "files/ZelTextFile.h"
#include "serialization/SxfReformat.h"

namespace {

using zel_cli::Json;

constexpr HANDLE kStdin = 0;

// Opens path ("-": standard input) for reading; false with the reason in error.
bool OpenForReading(CZelTextFile& file, const std::string& path, std::string& error) {
  if (path == "-") {
    file.SetFileSpec("standard input", 0);
    if (file.AttachInput(kStdin)) return true;
  } else {
    file.SetFileSpec(path.c_str(), 0);
    if (!zel_cli::IsRegularFile(path, error)) return false;
    if (file.OpenInput()) return true;
  }
  CFileException e = file.GetLastError();
  error = zel_cli::FailureText(path, e, true);
  return false;
}

// The failure in the library's words, then where reading stopped.
std::string StopText(const std::string& path, CException& e, const SxfStop& stop) {
  std::string text = zel_cli::FailureText(path, e, true);
  if (stop.noHeaderTag) return text + " The root list does not begin with the header tag SXF.";
  if (stop.line <= 0) return text;
  text += " Reading stopped at line " + std::to_string(stop.line);
  text += stop.column > 0 ? ", column " + std::to_string(stop.column) + "." : ", at its end.";
  return text;
}

const char* ArchiveCauseName(int cause) {
  static const char* const names[] = {"none",      "generic",  "readOnly", "endOfFile",
                                      "writeOnly", "badIndex", "badClass", "badSchema"};
  return cause >= 0 && cause < 8 ? names[cause] : "unknown";
}

// "1 number", "2 numbers".
std::string Counted(long n, const char* noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

struct FmtOptions {
  int width = 75;
  std::string prefix;
  bool lf = false;
  std::string file;
};

int RunFmt(const FmtOptions& o) {
  CZelTextFile in;
  std::string error;
  if (!OpenForReading(in, o.file, error)) {
    zel_cli::Message(error);
    return zel_cli::kFailed;
  }
  const char* prefix = o.prefix.empty() ? nullptr : o.prefix.c_str();
  std::string out;
  SxfStop stop;
  SxfReformatLosses losses;
  try {
    SxfReformat(in, prefix, o.width, o.lf ? "\n" : "\r\n", out, &stop, &losses);
  } catch (CException& e) {
    zel_cli::Message(StopText(o.file, e, stop));
    in.Close();
    return zel_cli::kFailed;
  }
  in.Close();
  std::fwrite(out.data(), 1, out.size(), stdout);
  // What the print could not keep is said, but the print is what was asked for.
  if (losses.numbersChanged > 0)
    zel_cli::Message(o.file + ": " + Counted(losses.numbersChanged, "number") +
                     " changed to the writer's six significant digits; the first: " +
                     losses.firstBefore + " became " + losses.firstAfter);
  if (losses.commentsDropped > 0)
    zel_cli::Message(o.file + ": " + Counted(losses.commentsDropped, "comment") +
                     " inside the root dropped");
  return std::fflush(stdout) == 0 ? zel_cli::kOk : zel_cli::kFailed;
}

struct CheckOptions {
  std::vector<std::string> files;
  std::string prefix;
  bool json = false;
};

int RunCheck(const CheckOptions& o) {
  int status = zel_cli::kOk;
  Json results = Json::array();
  for (const std::string& path : o.files) {
    CZelTextFile in;
    std::string error;
    bool ok = OpenForReading(in, path, error);
    int cause = -1;
    SxfStop stop;
    if (ok) {
      try {
        SxfCheck(in, o.prefix.empty() ? nullptr : o.prefix.c_str(), &stop);
      } catch (CArchiveException& e) {
        ok = false;
        cause = e.m_cause;
        error = StopText(path, e, stop);
      } catch (CException& e) {
        ok = false;
        error = StopText(path, e, stop);
      }
      in.Close();
    }
    if (!ok) {
      status = zel_cli::kFailed;
      if (!o.json) zel_cli::Message(error);
    }
    if (o.json) {
      Json r;
      zel_cli::PutPath(r, path);
      r["ok"] = ok;
      r["cause"] = cause >= 0 ? Json(cause) : Json(nullptr);
      r["causeName"] = cause >= 0 ? Json(ArchiveCauseName(cause)) : Json(nullptr);
      r["line"] = !ok && stop.line > 0 ? Json(stop.line) : Json(nullptr);
      r["column"] = !ok && stop.column > 0 ? Json(stop.column) : Json(nullptr);
      r["headerTagMissing"] = ok ? Json(nullptr) : Json(stop.noHeaderTag);
      if (!ok) r["error"] = zel_cli::ToValidUtf8(error);
      results.push_back(r);
    } else if (ok) {
      std::printf("%s: ok\n", path.c_str());
    }
  }
  if (o.json) zel_cli::PrintJson(results);
  return status;
}

const zel_cli::CommandRegistrar kSxf(40, [](CLI::App& app) {
  CLI::App* sxf = app.add_subcommand("sxf", "Reformat and check structured text (SXF) files");
  sxf->require_subcommand(1);

  auto fmt = std::make_shared<FmtOptions>();
  CLI::App* f = sxf->add_subcommand(
      "fmt",
      "Read FILE and print it as the writer prints it, keeping every whole number and the "
      "comments before the root; say on standard error what changed");
  f->add_option("--width", fmt->width,
                "Characters per line, prefix not counted (0: a break wherever one may go)")
      ->check(CLI::Range(0, 1 << 30));
  f->add_option("--prefix", fmt->prefix, "Text that begins every line, read and written");
  f->add_flag("--lf", fmt->lf, "End lines with LF instead of CR LF");
  f->add_option("file", fmt->file, "The file, or - for standard input")->required();
  f->callback([fmt] { zel_cli::SetStatus(RunFmt(*fmt)); });

  auto check = std::make_shared<CheckOptions>();
  CLI::App* c = sxf->add_subcommand("check", "Read each FILE; fail when one does not read");
  c->add_option("--prefix", check->prefix, "Text that begins every line");
  c->add_flag("--json", check->json,
              "An array of {path, ok, cause, causeName, line, column, headerTagMissing, "
              "error}");
  c->add_option("files", check->files, "The files")->required();
  c->callback([check] { zel_cli::SetStatus(RunCheck(*check)); });
});

}  // namespace
