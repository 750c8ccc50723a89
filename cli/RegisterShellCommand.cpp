// zel register-shell: the desktop associations of the suite's documents and MIME types.
#include <cstdio>
#include <set>
#include <string>

#include "cli/Command.h"
#include "files/FileTypesTable.h"
#include "files/ShellRegistration.h"
#include "platform/registry/Registry.h"

namespace zel_cli {
namespace {

const ZelHive kRoot = ZelHive::ClassesRoot;

void PrintValue(const CString& key, const CString& name, const ZelRegValue& value) {
  std::printf("%s\\%s\t%s\t%s\n", zel_registry::HiveName(kRoot), key.GetString(),
              name.IsEmpty() ? "@" : name.GetString(), value.data.c_str());
}

// The key's values and those of every key below it.
void PrintTree(const CString& key) {
  zel_registry::KeyListing listing;
  if (zel_registry::ListKey(kRoot, key, listing) != ERROR_SUCCESS) return;
  for (const auto& [name, value] : listing.values) PrintValue(key, name, value);
  for (const CString& sub : listing.subkeys) PrintTree(key + "\\" + sub);
}

void PrintOne(const CString& key, const char* name) {
  ZelRegValue value;
  if (zel_registry::QueryValue(kRoot, key, name, value) == ERROR_SUCCESS)
    PrintValue(key, name ? name : "", value);
}

int Register() {
  RegisterZelShellFileTypes(nullptr, 0);
  RegisterZelMimeTypes();
  // What the default rows and the MIME pairs address, each key once.
  std::set<std::string> classes, extensions;
  FileTypesTable defaults;
  for (const FTTENTRY* row : defaults.Rows()) {
    if (!row->shellClass || !*row->shellClass || !row->shellDescription ||
        !*row->shellDescription || !row->extension || !*row->extension)
      continue;
    if (classes.insert(row->shellClass).second) PrintTree(row->shellClass);
    extensions.insert(row->extension);
  }
  for (const std::string& ext : extensions) {
    PrintOne(ext.c_str(), nullptr);
    PrintOne(ext.c_str(), "Content Type");
  }
  PrintTree("MIME\\Database\\Content Type");
  std::fprintf(stderr, "zel register-shell: %zu classes, %zu extensions in %s\n", classes.size(),
               extensions.size(), zel_registry::HivePath(kRoot).GetString());
  return kOk;
}

const CommandRegistrar registerShell(52, [](CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "register-shell",
      "Associate the suite's document types and MIME types with zel; print what was written");
  cmd->callback([] { SetStatus(Register()); });
});

}  // namespace
}  // namespace zel_cli
