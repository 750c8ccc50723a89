// zel sxf: reformat and check files in the structured text format.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "files/ZelTextFile.h"
#include "serialization/SxfReformat.h"

namespace {

constexpr HANDLE kStdin = 0;

// Opens path ("-": standard input) for reading; reports a failure in the library's words.
bool OpenForReading(CZelTextFile& file, const std::string& path) {
  if (path == "-") {
    file.SetFileSpec("standard input", 0);
    if (file.AttachInput(kStdin)) return true;
  } else {
    file.SetFileSpec(path.c_str(), 0);
    if (file.OpenInput()) return true;
  }
  file.ReportException();
  return false;
}

struct FmtOptions {
  int width = 75;
  std::string prefix;
  bool lf = false;
  std::string file;
};

int RunFmt(const FmtOptions& o) {
  CZelTextFile in;
  if (!OpenForReading(in, o.file)) return zel_cli::kFailed;
  const char* prefix = o.prefix.empty() ? nullptr : o.prefix.c_str();
  std::string out;
  try {
    SxfReformat(in, prefix, o.width, o.lf ? "\n" : "\r\n", out);
  } catch (CException& e) {
    in.ReportException(&e);
    in.Close();
    return zel_cli::kFailed;
  }
  in.Close();
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? zel_cli::kOk : zel_cli::kFailed;
}

struct CheckOptions {
  std::vector<std::string> files;
  std::string prefix;
  bool json = false;
};

int RunCheck(const CheckOptions& o) {
  int status = zel_cli::kOk;
  nlohmann::json results = nlohmann::json::array();
  for (const std::string& path : o.files) {
    CZelTextFile in;
    bool ok = OpenForReading(in, path);
    int cause = -1;
    if (ok) {
      try {
        SxfCheck(in, o.prefix.empty() ? nullptr : o.prefix.c_str());
      } catch (CArchiveException& e) {
        ok = false;
        cause = e.m_cause;
        in.ReportException(&e);
      } catch (CException& e) {
        ok = false;
        in.ReportException(&e);
      }
      in.Close();
    }
    if (!ok) status = zel_cli::kFailed;
    if (o.json) {
      nlohmann::json r = {{"file", path}, {"ok", ok}};
      if (cause >= 0) r["cause"] = cause;
      results.push_back(r);
    } else if (ok) {
      std::printf("%s: ok\n", path.c_str());
    }
  }
  if (o.json) std::printf("%s\n", results.dump(2).c_str());
  return status;
}

const zel_cli::CommandRegistrar kSxf(40, [](CLI::App& app) {
  CLI::App* sxf = app.add_subcommand("sxf", "Reformat and check structured text (SXF) files");
  sxf->require_subcommand(1);

  auto fmt = std::make_shared<FmtOptions>();
  CLI::App* f = sxf->add_subcommand("fmt", "Read FILE and print it as the writer prints it");
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
  c->add_flag("--json", check->json, "Print the results as JSON");
  c->add_option("files", check->files, "The files")->required();
  c->callback([check] { zel_cli::SetStatus(RunCheck(*check)); });
});

}  // namespace
