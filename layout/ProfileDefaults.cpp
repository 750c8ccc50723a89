// First-run settings defaults.
#include "layout/ProfileDefaults.h"

#include "files/FileTypeIds.h"
#include "files/ZelTextFile.h"
#include "layout/DirectoryLayout.h"
#include "layout/Settings.h"
#include "platform/os/fs/FileSystem.h"
#include "platform/os/profile/ProfileFile.h"

namespace {

const char* const kSetupSection = "common setup";

// Sections renamed since older defaults files were written.
CString CurrentSectionName(const CString& name) {
  static const char* const renamed[][2] = {
      {"View Local Molecules", "View Local DNA/RNA Molecules"},
      {"Open Local Molecules", "Open Local DNA/RNA Molecules"},
      {"View Shared Molecules", "View Shared DNA/RNA Molecules"},
  };
  for (const auto& [old, current] : renamed)
    if (name == old) return current;
  return name;
}

}  // namespace

void SetProfileDefaultsFromFile(const CZelFileSpec& file) {
  CZelTextFile in(file);
  if (!in.OpenInput()) return;
  CString section;
  CString line;
  try {
    while (in.ReadLine(line, 120)) {
      if (line.IsEmpty() || line[0] == ';') continue;
      if (line[0] == '[') {
        int close = line.Find(']');
        if (close <= 1) continue;
        section = CurrentSectionName(line.Mid(1, close - 1));
        continue;
      }
      int equals = line.Find('=');
      if (equals <= 1) continue;  // an entry name has at least two characters
      CString entry = line.Left(equals);
      CString value = line.Mid(equals + 1);
      if (entry.IsEmpty() || value.IsEmpty()) continue;
      if (ZelGetProfileString(section, entry, "").IsEmpty())
        ZelWriteProfileString(section, entry, value);
    }
  } catch (CException&) {
    // An unreadable rest of the file is skipped like a missing file.
  }
  in.Close();
}

void SetNewProfileDefaults(CString flagEntry, CString profileFile, CString profileEntry) {
  if (ZelGetProfileInt(kSetupSection, flagEntry, 0) != 0) return;
  if (GetPrivateProfileInt(kSetupSection, profileEntry, 0, profileFile) != 0) {
    char dir[MAX_PATH];
    UINT length = GetWindowsDirectory(dir, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      CString path = dir;
      if (path.Right(1) != ZEL_PATH_SEP_STR) path += ZEL_PATH_SEP;
      path += profileFile;
      CZelFileSpec hostDefaults(path, 0);
      if (hostDefaults.FileExists()) SetProfileDefaultsFromFile(hostDefaults);
    }
  }
  CZelFileSpec mainDefaults(MAINDIR, "defaults", kProfile);
  if (mainDefaults.FileExists()) SetProfileDefaultsFromFile(mainDefaults);
  ZelWriteProfileInt(kSetupSection, flagEntry, 1);
}
