// File name generation and the CZelFileSpec members that use it.
#include "files/FileNameGeneration.h"

#include <cstring>

#include "files/FileNameGenerationInternal.h"
#include "platform/user/app/HostIdentity.h"

namespace {

// The base name: allowed characters of name, cut to the system's length; with a counter
// of 0 or more, room is made for "~xx" and the counter appended.
CString BaseName(int systemType, const char* name, int flags, int counter) {
  bool shortNames = systemType < 2;
  int max = shortNames ? 8 : 64;
  std::string forbidden =
      shortNames ? std::string(" \"*+,./:;<=>?[\\]|", 17) : std::string(":/*?<>|\\\"", 9);
  if (flags & ZEL_GFS_NO_BLANK) forbidden += ' ';
  if (flags & ZEL_GFS_NO_SHELL) forbidden += ",|*?<>\\&()";
  CString kept;
  for (const char* p = name; p && *p && kept.GetLength() < max; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 32 || c > 126 || forbidden.find(static_cast<char>(c)) != std::string::npos) continue;
    kept += static_cast<char>(c);
  }
  if (counter >= 0) {
    if (kept.GetLength() + 3 > max) kept = kept.Left(max - 3);
    kept.AppendFormat("~%02x", counter);
  }
  return kept;
}

}  // namespace

int GenerateFileSpecFor(int systemType, CZelFileSpec& spec, const CZelDirSpec& dir,
                        const char* name, int type, int flags) {
  CString result = BaseName(systemType, name, flags, -1);
  if ((flags & ZEL_GFS_SHORTCUT) && !(flags & ZEL_GFS_NO_BLANK) && systemType >= 2)
    result = "Shortcut to " + result;
  if (result.IsEmpty()) return 0;
  spec.SetSpec(dir, result, type);
  if (!(flags & ZEL_GFS_UNIQUE) || !spec.FileExists()) return 1;
  for (int counter = 0; counter < 256; ++counter) {
    CString numbered = BaseName(systemType, name, flags, counter);
    if (numbered.IsEmpty()) return 0;
    spec.SetSpec(dir, numbered, type);
    if (!spec.FileExists()) return 1;
  }
  return 0;
}

int GenerateFileSpec(CZelFileSpec& spec, const CZelDirSpec& dir, const char* name, int type,
                     int flags) {
  long major = 0, minor = 0, build = 0;
  CString description;
  int systemType = GetZelSystemType(major, minor, build, description);
  return GenerateFileSpecFor(systemType, spec, dir, name, type, flags);
}

int CZelFileSpec::GenerateSpec(const CZelDirSpec& dir, const char* name, int type, int flags) {
  return GenerateFileSpec(*this, dir, name, type, flags);
}

int CZelFileSpec::SuggestSpec(const CZelDirSpec& dir, const char* name, int type) {
  return GenerateFileSpec(*this, dir, name, type, 0);
}

int CZelFileSpec::SuggestShortcutSpec(const CZelDirSpec& dir, const char* name, int type) {
  return GenerateFileSpec(*this, dir, name, type, ZEL_GFS_SHORTCUT);
}
