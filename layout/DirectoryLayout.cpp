// The directory layout: globals, name constants, recalculation and the main folder search.
#include "layout/DirectoryLayout.h"

#include "files/FileTypeIds.h"
#include "layout/Settings.h"
#include "platform/os/host/Host.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/ui/UiBackend.h"

#define ZEL_LAYOUT_ROOT(global) CZelDirSpec global;
#define ZEL_LAYOUT_DIR(table, global, parent, name) CZelDirSpec global;
#define ZEL_LAYOUT_FILE(table, global, parent, name, type) CZelFileSpec global;
#define ZEL_LAYOUT_NAME(constant, text) const char* const constant = text;
#include "layout/DirectoryLayout.def"

namespace {

enum class Table { MAIN, EXE, NETWORK };

// Fills the globals of one table from the list, in its order; the tool table hangs from
// toolsBase, which stands in for EXEDIR.
void Recalc(Table which, const CZelDirSpec& toolsBase = EXEDIR) {
  auto from = [&](const CZelDirSpec& parent) -> const CZelDirSpec& {
    return &parent == &EXEDIR ? toolsBase : parent;
  };
#define ZEL_LAYOUT_DIR(table, global, parent, name) \
  if (which == Table::table) global = from(parent) + name;
#define ZEL_LAYOUT_FILE(table, global, parent, name, type) \
  if (which == Table::table) global = CZelFileSpec(from(parent), name, type);
#include "layout/DirectoryLayout.def"
}

const char* const kPickerTitle = "Please select Quillion Database folder";

void CalcToolSpecsFrom(const CZelDirSpec& base) {
  Recalc(Table::EXE, base);
  // The script engine under its current name when present, else its older one.
  if (!TUVAPPFILE.FileExists()) TUVAPPFILE = CZelFileSpec(TOOLSDIR, OLDTUVAPP_FILE_NAME, kProgram);
}

// The running program's file, as the application object knows it or as the system does.
CZelFileSpec ExecutableSpec() {
  CString path = AfxGetApp()->m_strExePath;
  if (path.IsEmpty()) path = zel_host::ExecutablePath();
  CZelFileSpec spec;
  if (!path.IsEmpty() && path.GetLength() < MAX_PATH) spec.SetSpec(path, 0);
  return spec;
}

int AcceptChosen(CZelDirSpec& dir, const char* path) {
  dir.SetSpecWin(path);
  if (!dir.DirExists()) return 0;
  ZelWriteProfileString("directories", "maindir", dir.GetPath());
  return 1;
}

}  // namespace

int GetZelMainDir(CZelDirSpec& dir, int ask) {
  CZelFileSpec exe = ExecutableSpec();
  if (!ask) {
    CString stored = ZelGetProfileString("directories", "maindir", nullptr);
    dir.SetSpecWin(stored);
    if (!stored.IsEmpty() && dir.DirExists()) return 1;
    if (exe.IsSpecSet()) {
      dir = exe.GetDirectory();
      if (dir.DirExists() && CZelFileSpec(dir, ZELUDAT_FILE_NAME, kDefinition).FileExists()) {
        ZelWriteProfileString("directories", "maindir", dir.GetPath());
        return 1;
      }
    }
  } else if (exe.IsSpecSet()) {
    dir = exe.GetDirectory();
  }
  FolderDialogRequest request;
  request.title = kPickerTitle;
  request.initialDir = dir.GetPath();
  CString chosen;
  if (!ZelUi().BrowseForFolder(request, chosen)) return 0;
  return AcceptChosen(dir, chosen);
}

void RecalcMAINDIRDependencies() { Recalc(Table::MAIN); }

void RecalcEXEDIRDependencies() { CalcToolSpecsFrom(EXEDIR); }

void CalcToolSpecs(const CZelDirSpec& base) { CalcToolSpecsFrom(base); }

void RecalcNETWORKDIRDependencies() { Recalc(Table::NETWORK); }

const char* ZelLayoutGlobal::Path() const {
  if (dir) return dir->IsSpecSet() ? dir->GetPath() : nullptr;
  return file->IsSpecSet() ? file->GetPath() : nullptr;
}

const std::vector<ZelLayoutGlobal>& ZelLayoutGlobals() {
  static const std::vector<ZelLayoutGlobal> all = {
#define ZEL_LAYOUT_ROOT(global) {#global, &global, nullptr},
#define ZEL_LAYOUT_DIR(table, global, parent, name) {#global, &global, nullptr},
#define ZEL_LAYOUT_FILE(table, global, parent, name, type) {#global, nullptr, &global},
#include "layout/DirectoryLayout.def"
  };
  return all;
}
