// zel register-shell: the suite's document types made known to the desktop, and taken away
// again.
#include <cstdio>
#include <string>

#include "cli/Command.h"
#include "cli/Output.h"
#include "files/ShellRegistration.h"
#include "platform/user/app/WinApp.h"

namespace zel_cli {
namespace {

void PrintFiles(const char* verb, const ZelShellRegistration& r) {
  for (const CString& file : r.files) std::printf("  %s %s\n", verb, file.GetString());
  for (const CString& tool : r.refreshed) std::printf("  ran %s\n", tool.GetString());
  for (const CString& failure : r.failures) Message(failure.str());
}

int Register() {
  ZelShellRegistration r = RegisterZelShellFileTypesEx(nullptr, 0);
  RegisterZelMimeTypes();
  std::printf("%d document classes of the suite now open with %s.\n", r.classes,
              AfxGetApp()->m_strExePath.GetString());
  if (r.classes > 0) std::printf("  wrote %s (the suite's own associations)\n", r.hive.GetString());
  PrintFiles("wrote", r);
  if (!r.mimeTypes.empty()) std::printf("MIME types registered with the desktop:\n");
  for (const CString& type : r.mimeTypes) std::printf("  %s\n", type.GetString());
  if (r.classes == 0 && r.files.empty()) {
    Message("register-shell: nothing could be written (" + r.hive.str() + ")");
    return kFailed;
  }
  return r.failures.empty() ? kOk : kFailed;
}

int Remove() {
  ZelShellRegistration r = UnregisterZelDesktopEntries();
  if (r.files.empty() && r.failures.empty())
    std::printf("No desktop registration of this program was found.\n");
  PrintFiles("removed", r);
  return r.failures.empty() ? kOk : kFailed;
}

const CommandRegistrar registerShell(52, [](CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "register-shell",
      "Make the suite's document types open with zel on this desktop, and print what was "
      "written. It writes: the suite's own associations (shell classes, open commands, "
      "icons, MIME types) to the class-root file registry/classes.reg under the state "
      "folder ($ZEL_HOME, else $XDG_CONFIG_HOME/zelutil); a shared-mime-info package with "
      "one MIME type per document class (globs from the extensions, LOCUS and the archive "
      "markers as content matches) to $XDG_DATA_HOME/mime/packages/zelutil-zel.xml; and a "
      "desktop entry offering zel for those types to "
      "$XDG_DATA_HOME/applications/zelutil-zel.desktop ($XDG_DATA_HOME: else "
      "~/.local/share). It then runs update-mime-database and update-desktop-database where "
      "they are installed. Associations made before (the user's default applications, an "
      "extension already taken) stay.");
  static bool remove = false;
  cmd->add_flag("--remove", remove,
                "Take the MIME package and the desktop entry away again (the class-root file "
                "keeps its keys)");
  cmd->callback([] { SetStatus(remove ? Remove() : Register()); });
});

}  // namespace
}  // namespace zel_cli
