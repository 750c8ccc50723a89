// The interactive choosers of file and directory specifications: the type filter, the
// dialog's options, and the type of the chosen file.
#include "files/FileChoosers.h"

#include "files/FileTypesTable.h"
#include "files/ZelFileSpec.h"
#include "platform/user/app/WinApp.h"

namespace {

constexpr const char* kDirectories = "Directories";

// Ids ChooseSpec offers as fixed items of their own, whatever their rows say.
const char* FixedItem(int id) {
  if (id == kRebase) return "REBASE Files (bairoch.*)|bairoch.*|";
  if (id == kProsite) return "PROSITE Files (prosite.*)|prosite.*|";
  return nullptr;
}

HWND MainWindow() {
  CWnd* main = AfxGetApp()->m_pMainWnd;
  return main ? main->GetSafeHwnd() : HWND();
}

const char* FolderKey(const char* folderKey) { return folderKey ? folderKey : "Default"; }

}  // namespace

ZelChooserPlan ZelPlanFileChooser(CTYPE mode, const int* types, int count, const char* title,
                                  const char* allLabel, bool remembering) {
  if (!types || count < 0) count = 0;
  const bool input = mode == CTYPE_INPUT;
  CString filter, combined;
  bool combining = allLabel != nullptr;
  for (int i = 0; i < count; ++i) {
    if (const char* fixed = remembering ? nullptr : FixedItem(types[i])) {
      filter += fixed;
      combining = false;
      continue;
    }
    const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(types[i]);
    filter += row->description ? row->description : "Data Files";
    if (input && row->filter && *row->filter) {
      filter += CString(" (") + row->filter + ")|" + row->filter;
      if (combining) combined += CString(";") + row->filter;
    } else {
      const CString ext = !input || row->byExtension ? CString(row->extension) : CString(".*");
      filter += " (*" + ext + ")|*" + ext;
      if (combining) {
        if (row->byExtension)
          combined += ";*" + ext;
        else
          combining = false;
      }
    }
    filter += "|";
  }

  ZelChooserPlan plan;
  const bool onlyFixed = count == 1 && !remembering && FixedItem(types[0]);
  if (!input || onlyFixed || (remembering && count == 1)) {
    filter += "|";
  } else if (!allLabel) {
    filter += "All Files (*.*)|*.*||";
  } else if (combining && !combined.IsEmpty()) {
    filter = CString(allLabel) + "|" + combined.Mid(1) + "|" + filter + "All Files (*.*)|*.*||";
    plan.frontItem = true;
  } else {
    filter = CString(allLabel) + " (*.*)|*.*|" + filter + "||";
    plan.frontItem = true;
  }

  FileDialogRequest& request = plan.request;
  request.open = remembering ? mode != CTYPE_OUTPUT : input;
  if (title) request.title = title;
  request.filter = filter;
  if (!input && count > 0) {
    const char* ext = _FileTypesTable.FindFileTypeEntry(types[0])->extension;
    request.defaultExt = ext && *ext == '.' ? ext + 1 : (ext ? ext : "");
  }
  request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT |
                  (input ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : OFN_NOREADONLYRETURN);
  return plan;
}

int CZelFileSpec::ChooseInput(const int* types, int count, const char* title,
                              const char* allLabel) {
  return ChooseSpec(CTYPE_INPUT, types, count, title, allLabel, HWND());
}

int CZelFileSpec::ChooseInput(int type, const char* title) {
  return ChooseSpec(CTYPE_INPUT, &type, 1, title, nullptr, HWND());
}

int CZelFileSpec::ChooseOutput(const int* types, int count, const char* title, HWND parent) {
  return ChooseSpec(CTYPE_OUTPUT, types, count, title, nullptr, parent);
}

int CZelFileSpec::ChooseOutput(int type, const char* title) {
  return ChooseSpec(CTYPE_OUTPUT, &type, 1, title, nullptr, HWND());
}

int CZelFileSpec::ChooseAppend(const int* types, int count, const char* title) {
  return ChooseSpec(CTYPE_APPEND, types, count, title, nullptr, HWND());
}

int CZelFileSpec::ChooseAppend(int type, const char* title) {
  return ChooseSpec(CTYPE_APPEND, &type, 1, title, nullptr, HWND());
}

int CZelFileSpec::ChooseSpec(CTYPE mode, const int* types, int count, const char* title,
                             const char* allLabel, HWND parent) {
  ZelChooserPlan plan = ZelPlanFileChooser(mode, types, count, title, allLabel, false);
  if (!types || count < 0) count = 0;
  FileDialogRequest& request = plan.request;
  if (IsSpecSet()) request.fileName = m_path;
  request.owner = parent ? parent : MainWindow();
  FileDialogResult result;
  if (!ZelUi().FileDialog(request, result) || result.path.IsEmpty()) return 0;

  const int index = result.filterIndex - 1 - (plan.frontItem ? 1 : 0);
  int type = 0;
  if (index >= 0 && index < count) {
    type = types[index];
  } else {
    // The front item or "All Files": the type the name's short extension tells.
    const int dot = result.path.ReverseFind('.');
    if (dot >= 0 && result.path.GetLength() - dot - 1 <= 3)
      type = _FileTypesTable.FindFileTypeEntry(result.path.Mid(dot).GetString())->id;
  }
  SetSpec(result.path, type);
  return 1;
}

int CZelFileSpec::ChooseSpecEx(CTYPE mode, const int* types, int count, const char* title,
                               const char* allLabel, const char* folderKey) {
  ZelChooserPlan plan = ZelPlanFileChooser(mode, types, count, title, allLabel, true);
  if (!types || count < 0) count = 0;
  FileDialogRequest& request = plan.request;
  if (IsSpecSet()) request.fileName = m_path;
  request.owner = MainWindow();
  CWinApp* app = AfxGetApp();
  request.initialDir = app->GetProfileString(kDirectories, FolderKey(folderKey), "");
  FileDialogResult result;
  if (!ZelUi().FileDialog(request, result) || result.path.IsEmpty()) return 0;

  const int index = result.filterIndex - 1 - (plan.frontItem ? 1 : 0);
  SetSpec(result.path, index >= 0 && index < count ? types[index] : 0);
  const CZelDirSpec folder = GetDirectory();
  if (folder.IsSpecSet())
    app->WriteProfileString(kDirectories, FolderKey(folderKey), folder.GetPath());
  return 1;
}

int CZelDirSpec::ChooseSpec(CTYPE mode, const char* title) {
  FolderDialogRequest request;
  if (title) request.title = title;
  if (IsSpecSet()) request.initialDir = m_path;
  request.allowNewFolder = mode == CTYPE_OUTPUT;
  request.owner = MainWindow();
  CString chosen;
  if (!ZelUi().BrowseForFolder(request, chosen) || chosen.IsEmpty()) return 0;
  SetSpecWin(chosen);
  return 1;
}
