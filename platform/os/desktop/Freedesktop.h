// The freedesktop side of a desktop registration: a shared-mime-info package of a
// program's document types under $XDG_DATA_HOME/mime/packages, a desktop entry that offers
// the program for them under $XDG_DATA_HOME/applications, and the databases a file manager
// reads, rebuilt by update-mime-database and update-desktop-database where they are
// installed. Files are replaced atomically; nothing else of the desktop (the user's
// chosen default applications among them) is touched.
#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "ZelExport.h"

namespace zel_desktop {

// Bytes that mark a type's files, found within [offsetFrom, offsetTo] of the file's start.
struct MagicMatch {
  std::string value;
  int offsetFrom = 0;
  int offsetTo = 0;
};

struct MimeType {
  std::string name;  // "chemical/seq-na-genbank"
  std::string comment;
  std::vector<std::string> globs;  // "*.gb"
  std::vector<MagicMatch> magic;   // any one of them marks the type
  int magicPriority = 60;
};

struct DesktopEntry {
  std::string id;  // the file's name without ".desktop"
  std::string name;
  std::string exec;  // the program's path; "%f" (the file opened) follows it
  std::vector<std::string> mimeTypes;
};

// $XDG_DATA_HOME when set, else .local/share in the user's home folder (ZelUserHome);
// empty when no home folder is known, and then nothing is written or refreshed.
ZEL_API std::string DataHome();
ZEL_API std::string MimePackagePath(const std::string& package);
ZEL_API std::string DesktopEntryPath(const std::string& id);

// The texts of the two files.
ZEL_API std::string MimePackageXml(const std::vector<MimeType>& types);
ZEL_API std::string DesktopEntryText(const DesktopEntry& entry);

// Each writes its file (making its folders); the system's reason when it cannot. A program
// path or name holding a control character is refused (ZelFsError::ControlCharacter).
ZEL_API std::error_code WriteMimePackage(const std::string& package,
                                         const std::vector<MimeType>& types);
ZEL_API std::error_code WriteDesktopEntry(const DesktopEntry& entry);
// Removes the file named; a file that is not there is no failure.
ZEL_API std::error_code RemoveRegistrationFile(const std::string& path);

// Rebuilds the MIME database and the desktop entries' cache under DataHome() with the
// tools that are installed; answers the command lines that ran and succeeded.
ZEL_API std::vector<std::string> RefreshDatabases();

}  // namespace zel_desktop
