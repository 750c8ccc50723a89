// zel register-shell: the suite's document types made known to the desktop, opening in
// zel view, and taken away again; --export writes the desktop's files for a package.
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/Command.h"
#include "cli/Output.h"
#include "files/ShellRegistration.h"
#include "platform/os/host/Host.h"
#include "platform/user/app/WinApp.h"

namespace zel_cli {
namespace {

const char* const kIcon = "zelutil-zel";

// The hicolor theme folder that holds zel's icon: the installed one beside an installed
// zel (<prefix>/share/icons/hicolor for <prefix>/bin/zel), else the one the build renders.
std::string IconTheme() {
  namespace fs = std::filesystem;
  const fs::path exe = zel_host::ExecutablePath().str();
  std::error_code ec;
  const fs::path installed = exe.parent_path().parent_path() / "share/icons/hicolor";
  if (fs::exists(installed / "256x256/apps" / (std::string(kIcon) + ".png"), ec))
    return installed.string();
  if (fs::equivalent(exe.parent_path(), ZEL_BUILD_DIR, ec))
    return std::string(ZEL_BUILD_DIR) + "/share/icons/hicolor";
  return installed.string();
}

// zel as the desktop shows it: the document viewer, in the menus, for the suite's types,
// FASTA and EMBL files, and under Open With for any text.
ZelDesktopProgram Viewer(const std::string& exec) {
  ZelDesktopProgram viewer;
  viewer.exec = exec.c_str();
  viewer.name = "ZelUtil Viewer";
  viewer.arguments = "view %F";
  viewer.comment = "Read sequence documents and run the suite's tools on them";
  viewer.categories = "Science;Biology;";
  viewer.icon = kIcon;
  viewer.iconSource = IconTheme().c_str();
  // The content decides where a name alone does not: a file without an extension that
  // starts as a FASTA or EMBL record is one. Nucleic acids win a tie, as they are the
  // commoner kind.
  viewer.ownTypes = {
      {"chemical/seq-na-fasta",
       "FASTA sequence",
       {"*.fa", "*.fasta", "*.fna"},
       {{">", 0, 0}},
       50,
       "text/plain"},
      {"chemical/seq-aa-fasta",
       "Protein FASTA sequence",
       {"*.faa"},
       {{">", 0, 0}},
       40,
       "text/plain"},
      {"chemical/seq-na-embl", "EMBL sequence", {"*.embl"}, {{"ID   ", 0, 0}}, 50, "text/plain"},
  };
  // Offered under Open With, never made the default: no default application is written.
  viewer.otherTypes = {"text/plain"};
  return viewer;
}

// The entry goes without an icon when neither an installed nor a built theme holds it.
void DropMissingIcon(ZelDesktopProgram& viewer) {
  std::error_code ec;
  const std::string png = viewer.iconSource.str() + "/256x256/apps/" + kIcon + ".png";
  if (std::filesystem::exists(png, ec)) return;
  Message("register-shell: no icon at " + viewer.iconSource.str() + "; the entry goes without one");
  viewer.icon.Empty();
}

void PrintFiles(const char* verb, const ZelShellRegistration& r) {
  for (const CString& file : r.files) std::printf("  %s %s\n", verb, file.GetString());
  for (const CString& tool : r.refreshed) std::printf("  ran %s\n", tool.GetString());
  for (const CString& failure : r.failures) Message(failure.str());
}

int Register() {
  ZelDesktopProgram viewer = Viewer("");
  DropMissingIcon(viewer);
  ZelShellRegistration r = RegisterZelShellFileTypesEx(nullptr, 0, viewer);
  RegisterZelMimeTypes();
  std::printf("%d document classes of the suite now open with %s view.\n", r.classes,
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

int Export(const std::string& share, const std::string& exec) {
  ZelDesktopProgram viewer = Viewer(exec);
  DropMissingIcon(viewer);
  ZelShellRegistration r = WriteZelDesktopFiles(nullptr, 0, viewer, share.c_str());
  PrintFiles("wrote", r);
  return r.failures.empty() ? kOk : kFailed;
}

int Remove() {
  ZelShellRegistration r = UnregisterZelShellFileTypes(nullptr, 0, Viewer(""));
  if (r.classes == 0 && r.files.empty() && r.failures.empty()) {
    std::printf("No registration of this program was found: nothing to remove.\n");
    return kOk;
  }
  if (r.classes > 0)
    std::printf("  removed %d document classes from %s\n", r.classes, r.hive.GetString());
  PrintFiles("removed", r);
  return r.failures.empty() ? kOk : kFailed;
}

const CommandRegistrar registerShell(52, [](CLI::App& app) {
  auto* cmd = app.add_subcommand(
      "register-shell",
      "Make the suite's document types open in zel view on this desktop, and print what was "
      "written. It writes: the suite's own associations (shell classes, open commands, "
      "icons, MIME types) to the class-root file registry/classes.reg under the state "
      "folder ($ZEL_HOME, else $XDG_CONFIG_HOME/zelutil); a shared-mime-info package with "
      "one MIME type per document class (globs from the extensions, LOCUS and the archive "
      "markers as content matches) and FASTA and EMBL types (*.fa, *.fasta, *.fna, *.faa, "
      "*.embl; '>' and 'ID   ' as content matches) to "
      "$XDG_DATA_HOME/mime/packages/zelutil-zel.xml; zel's icon to "
      "$XDG_DATA_HOME/icons/hicolor; and the desktop entry \"ZelUtil Viewer\" (in the "
      "Science menu, offered under Open With for text too) to "
      "$XDG_DATA_HOME/applications/zelutil-zel.desktop ($XDG_DATA_HOME: else "
      "~/.local/share). It then runs update-mime-database, update-desktop-database and "
      "gtk-update-icon-cache where they are installed. Associations made before (the "
      "user's default applications, an extension already taken) stay, and no default "
      "application is set.");
  static bool remove = false;
  static std::string share, exec;
  auto* removeFlag = cmd->add_flag(
      "--remove", remove,
      "Take away what register-shell wrote: the MIME package, the desktop entry, the icons, "
      "and the class-root keys that still name this zel (associations of other programs "
      "stay)");
  auto* exportOpt = cmd->add_option(
      "--export", share,
      "Write only the desktop entry, MIME package and icons, under the share folder DIR as a "
      "package installs them (DIR/applications, DIR/mime/packages, DIR/icons); nothing else "
      "is changed and no database is rebuilt");
  exportOpt->type_name("DIR")->excludes(removeFlag);
  cmd->add_option("--exec", exec, "With --export: the program the entry starts (default: this zel)")
      ->type_name("PATH")
      ->needs(exportOpt);
  cmd->callback([] {
    if (!share.empty())
      SetStatus(Export(share, exec));
    else
      SetStatus(remove ? Remove() : Register());
  });
});

}  // namespace
}  // namespace zel_cli
