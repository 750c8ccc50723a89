// zel choose: the suite's file and folder choosers for scripts; prints what was chosen,
// or, with --print-filter, what the file dialog would be asked for.
#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Output.h"
#include "files/FileChoosers.h"
#include "files/ZelFileSpec.h"
#include "platform/user/backend/IntegrationChoice.h"

namespace zel_cli {
namespace {

struct Args {
  std::string mode;
  std::optional<std::string> types, title, allLabel, folderKey;
  bool printFilter = false;
};

[[noreturn]] void Usage(const std::string& option, const std::string& why) {
  throw CLI::ValidationError(option, why);
}

// "27,41": the ids in order. Any id is taken (an unknown one stands for the table's first
// row); what is not a whole number within an int is a usage error.
std::vector<int> TypeIds(const std::string& text) {
  std::vector<int> ids;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
    size_t used = 0;
    long long id = 0;
    try {
      id = std::stoll(item, &used, 10);
    } catch (const std::exception&) {
      used = 0;
    }
    if (item.empty() || used != item.size()) Usage("--types", "not a file type id: '" + item + "'");
    if (id < INT_MIN || id > INT_MAX) Usage("--types", "file type id out of range: " + item);
    ids.push_back(static_cast<int>(id));
    if (comma == std::string::npos) return ids;
    start = comma + 1;
  }
}

const char* Text(const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; }

int ChooseFolder(const Args& a) {
  if (a.types || a.allLabel || a.folderKey)
    Usage(a.types      ? "--types"
          : a.allLabel ? "--all-label"
                       : "--folder-key",
          "applies to the file modes only");
  if (a.printFilter) Usage("--print-filter", "a folder is chosen without a file filter");
  zel_user::InstallIntegration(zel_user::ChooseIntegration());
  CZelDirSpec dir;
  if (!dir.ChooseSpec(CTYPE_OUTPUT, Text(a.title))) {
    Message("choose: no folder was chosen");
    return kFailed;
  }
  std::printf("%s\n", dir.GetPath());
  return kOk;
}

int ChooseFile(const Args& a) {
  if (!a.types) Usage("--types", "is required for open, save and append");
  const std::vector<int> ids = TypeIds(*a.types);
  const CTYPE mode = a.mode == "open"   ? CTYPE_INPUT
                     : a.mode == "save" ? CTYPE_OUTPUT
                                        : CTYPE_APPEND;
  const int count = static_cast<int>(ids.size());
  if (a.printFilter) {
    const ZelChooserPlan plan = ZelPlanFileChooser(mode, ids.data(), count, Text(a.title),
                                                   Text(a.allLabel), a.folderKey.has_value());
    Json out;
    out["filter"] = ToValidUtf8(plan.request.filter.view());
    out["defaultExt"] = ToValidUtf8(plan.request.defaultExt.view());
    out["dialog"] = plan.request.open ? "open" : "save";
    PrintJson(out);
    return kOk;
  }
  zel_user::InstallIntegration(zel_user::ChooseIntegration());
  CZelFileSpec spec;
  const int chosen = a.folderKey ? spec.ChooseSpecEx(mode, ids.data(), count, Text(a.title),
                                                     Text(a.allLabel), a.folderKey->c_str())
                                 : spec.ChooseSpec(mode, ids.data(), count, Text(a.title),
                                                   Text(a.allLabel), HWND());
  if (!chosen) {
    Message("choose: no file was chosen");
    return kFailed;
  }
  std::printf("%s\t%d\n", spec.GetPath(), spec.GetType());
  return kOk;
}

const CommandRegistrar choose(60, [](CLI::App& app) {
  static Args a;
  auto* cmd = app.add_subcommand(
      "choose",
      "Let the user choose a file (open, save, append) or a folder; prints PATH<TAB>TYPE");
  cmd->add_option("MODE", a.mode, "open, save, append or folder")
      ->required()
      ->check(CLI::IsMember({"open", "save", "append", "folder"}));
  cmd->add_option("--types", a.types,
                  "File type ids offered, in order: 27,41 (required for open, save and append; "
                  "not for folder)");
  cmd->add_option("--title", a.title, "The dialog's caption");
  cmd->add_option("--all-label", a.allLabel, "A first filter item offering all types (open)");
  cmd->add_option("--folder-key", a.folderKey,
                  "Start in, and remember, the folder kept under this key");
  cmd->add_flag("--print-filter", a.printFilter,
                "Show no dialog; print {filter, defaultExt, dialog} as JSON");
  cmd->callback([] { SetStatus(a.mode == "folder" ? ChooseFolder(a) : ChooseFile(a)); });
});

}  // namespace
}  // namespace zel_cli
