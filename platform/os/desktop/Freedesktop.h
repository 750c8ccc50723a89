/// \file
/// The freedesktop side of a desktop registration: a shared-mime-info package of a
/// program's document types under `<data>/mime/packages`, a desktop entry that offers the
/// program for them under `<data>/applications`, its icon in the hicolor theme under
/// `<data>/icons`, and the databases a file manager reads, rebuilt by update-mime-database,
/// update-desktop-database and gtk-update-icon-cache where they are installed. `<data>` is
/// the user's data folder (DataHome) or a package's share folder. Files are replaced
/// atomically; nothing else of the desktop (the user's chosen default applications among
/// them) is touched.
#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "ZelExport.h"

namespace zel_desktop {

/// Bytes that mark a type's files, found within [offsetFrom, offsetTo] of the file's start,
/// and, when within is not empty, also one of those.
struct MagicMatch {
  std::string value;
  int offsetFrom = 0;
  int offsetTo = 0;
  std::vector<MagicMatch> within{};
};

/// A document type of the MIME package: its name, comment, globs and parent.
struct MimeType {
  std::string name;  ///< "chemical/seq-na-genbank"
  std::string comment;
  std::vector<std::string> globs;  ///< "*.gb"
  std::vector<MagicMatch> magic;   ///< any one of them marks the type
  int magicPriority = 60;
  std::string parent{};  ///< the type it is a kind of ("text/plain"), or none
};

/// The desktop entry of a program: its name, command, icon and the types it opens.
struct DesktopEntry {
  std::string id;  ///< the file's name without ".desktop"
  std::string name;
  std::string exec;  ///< the program's path, quoted in Exec as the entry's rules ask
  std::vector<std::string> mimeTypes;
  std::string arguments = "%f";  // what follows the program in Exec, as it stands
  std::string comment{};
  std::string icon{};  ///< a name of the icon theme
  /// "Science;Biology;": the menus that show it; without categories the entry is offered
  /// for its types only and stays out of the menus.
  std::string categories{};
};

/// $XDG_DATA_HOME when set, else .local/share in the user's home folder (ZelUserHome);
/// empty when no home folder is known, and then nothing is written or refreshed.
ZEL_API std::string DataHome();
/// Where the MIME package and the desktop entry go under data.
///@{
ZEL_API std::string MimePackagePath(const std::string& package,
                                    const std::string& data = DataHome());
ZEL_API std::string DesktopEntryPath(const std::string& id, const std::string& data = DataHome());
///@}
/// The hicolor theme's folder of the icons of one size ("48x48", "scalable").
ZEL_API std::string IconFolder(const std::string& size, const std::string& data = DataHome());

/// The texts of the two files.
///@{
ZEL_API std::string MimePackageXml(const std::vector<MimeType>& types);
ZEL_API std::string DesktopEntryText(const DesktopEntry& entry);
///@}

/// Each writes its file (making its folders); the system's reason when it cannot, and
/// no_such_file_or_directory for an empty data folder. A program path or a text of the
/// entry holding a control character is refused (ZelFsError::ControlCharacter).
///@{
ZEL_API std::error_code WriteMimePackage(const std::string& package,
                                         const std::vector<MimeType>& types,
                                         const std::string& data = DataHome());
ZEL_API std::error_code WriteDesktopEntry(const DesktopEntry& entry,
                                          const std::string& data = DataHome());
///@}
/// The files of one icon found in a folder laid out as the hicolor theme
/// (`<size>/apps/<icon>.png` or .svg), copied to the same places under data; answers the
/// files written, and a failure's reason with the file it was writing.
struct IconCopy {
  std::vector<std::string> written;
  std::error_code error;
  std::string failedPath;
};
/// Copies the icon's files from a folder laid out as the hicolor theme to the same places under
/// data.
ZEL_API IconCopy CopyIcon(const std::string& icon, const std::string& themeSource,
                          const std::string& data = DataHome());
/// The icon's files under data, of every size.
ZEL_API std::vector<std::string> IconFiles(const std::string& icon,
                                           const std::string& data = DataHome());
/// Removes the file named; a file that is not there is no failure. With pruneBelow, the
/// folders between it and pruneBelow that it leaves empty go too.
ZEL_API std::error_code RemoveRegistrationFile(const std::string& path,
                                               const std::string& pruneBelow = {});

/// Rebuilds the MIME database, the desktop entries' cache and the hicolor icon cache under
/// data with the tools that are installed; answers the command lines that ran and
/// succeeded. The MIME database's files of types that no package defines any more go too.
ZEL_API std::vector<std::string> RefreshDatabases(const std::string& data = DataHome());

}  // namespace zel_desktop
