// zel types, zel filter: the file types table and its dialog filters.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Output.h"
#include "files/FileTypesTable.h"

namespace zel_cli {
namespace {

Json TextOrNull(const char* s) { return s ? Json(s) : Json(nullptr); }

Json RowJson(const FTTENTRY& r) {
  Json j;
  j["id"] = r.id;
  j["description"] = TextOrNull(r.description);
  j["extension"] = TextOrNull(r.extension);
  j["filter"] = TextOrNull(r.filter);
  j["byExtension"] = r.byExtension;
  j["shellClass"] = TextOrNull(r.shellClass);
  j["shellDescription"] = TextOrNull(r.shellDescription);
  j["iconIndex"] = r.iconIndex;
  j["formatName"] = TextOrNull(r.formatName);
  j["macType"] = TextOrNull(r.macType);
  j["macCreator"] = TextOrNull(r.macCreator);
  j["byMacCodes"] = r.byMacCodes;
  j["appCode"] = r.appCode;
  j["openSwitch"] = TextOrNull(r.openSwitch);
  return j;
}

int PrintTypes(bool json) {
  if (json) {
    auto rows = Json::array();
    for (const FTTENTRY* r : _FileTypesTable.Rows()) rows.push_back(RowJson(*r));
    PrintJson(rows);
    return kOk;
  }
  for (const FTTENTRY* r : _FileTypesTable.Rows())
    std::printf("%d\t%s\t%s\n", r->id, r->extension, r->description ? r->description : "");
  return kOk;
}

int PrintFilter(std::vector<int> ids, bool noAllFiles) {
  for (int id : ids) {
    // The table's first row, id 0, answers look-ups of unknown types; it is listed with
    // the others, but no filter is made of it (0 ends a list of ids).
    if (id == 0) {
      Message(
          "filter: id 0 stands for an unknown type and has no filter (zel types lists the "
          "others)");
      return kUsage;
    }
    if (_FileTypesTable.FindFileTypeEntry(id)->id != id) {
      Message("filter: no file type has the id " + std::to_string(id) + " (zel types lists them)");
      return kUsage;
    }
  }
  ids.push_back(0);
  std::printf("%s\n", ZelMakeFilterString(ids.data(), noAllFiles).GetString());
  return kOk;
}

const CommandRegistrar types(10, [](CLI::App& app) {
  auto* cmd = app.add_subcommand("types", "List the file types table: id, extension, description");
  static bool json = false;
  cmd->add_flag("--json", json, "An array of every row with all its members");
  cmd->callback([] { SetStatus(PrintTypes(json)); });
});

const CommandRegistrar filter(11, [](CLI::App& app) {
  auto* cmd = app.add_subcommand("filter", "Print the file-dialog filter of file type ids");
  static bool noAllFiles = false;
  static std::vector<int> ids;
  cmd->add_flag("--no-all-files", noAllFiles, "Leave out the closing \"All files\" entry");
  cmd->add_option("ID", ids, "File type ids, in order")->required();
  cmd->callback([] { SetStatus(PrintFilter(ids, noAllFiles)); });
});

const DemoRegistrar demo(10, "The file types table", [] {
  const auto& rows = _FileTypesTable.Rows();
  std::printf("%zu file types; the first row (id %d, extension \"%s\") answers unknown look-ups.\n",
              rows.size(), rows.front()->id, rows.front()->extension);
  for (const char* ext : {".gb", ".GP", ".ma4", ".txt"}) {
    const FTTENTRY* r = _FileTypesTable.FindFileTypeEntry(ext);
    std::printf("  extension %-5s -> id %d %s\n", ext, r->id, r->description ? r->description : "");
  }
  int ids[] = {41, 42, 20, 0};
  std::printf("Dialog filter of ids 41 42 20:\n  %s\n", ZelMakeFilterString(ids, 0).GetString());
  return kOk;
});

}  // namespace
}  // namespace zel_cli
