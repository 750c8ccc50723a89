/// \file
/// Shell registration: the desktop's associations of the suite's document types with the
/// running program, and the MIME types of three formats, written under the class root of
/// the registry store; and the same for a Linux desktop: a shared-mime-info package with one
/// MIME type per document class (the three formats' own names where a class's extension
/// has one, else `application/x-<class name in lower case>`), globs from the extensions and
/// content matches where the content says it, and a desktop entry offering the program for
/// them, with the program's icon. Failed writes are skipped silently; the associations a
/// user made stay.
#pragma once

#include <vector>

#include "ZelExport.h"
#include "files/FileTypesTable.h"
#include "platform/os/desktop/Freedesktop.h"

/// The rows with a shell class, a shell description and an extension; with null rows the
/// default rows of the file types table (count is then ignored).
ZEL_API void RegisterZelShellFileTypes(const FTTENTRY* rows, int count);
/// ".gb", ".gp" and ".ekm": their "Content Type" and the MIME database's "Extension".
ZEL_API void RegisterZelMimeTypes();

/// What a registration wrote, or its removal took away, for programs that tell their user.
struct ZelShellRegistration {
  CString hive;                    ///< the class root's file
  int classes = 0;                 ///< document classes written whole to it (or taken out)
  std::vector<CString> files;      ///< freedesktop files written (or removed)
  std::vector<CString> mimeTypes;  ///< MIME types registered with the desktop
  std::vector<CString> refreshed;  ///< the database tools that ran
  std::vector<CString> failures;   ///< "file: reason"
};

/// How the desktop shows the registering program and starts it on documents.
struct ZelDesktopProgram {
  CString exec;              ///< the program the entry starts; empty: the running one
  CString name;              ///< empty: the application's name
  CString arguments = "%f";  // what follows the program in the entry's Exec
  CString comment;
  CString categories;  ///< the menus that list it; empty: offered for its types only
  CString icon;        ///< the icon's name in the theme; empty: none
  CString iconSource;  ///< a folder laid out as the hicolor theme that holds the icon
  std::vector<zel_desktop::MimeType> ownTypes;  ///< types it defines beside the suite's
  std::vector<CString> otherTypes;              ///< types it opens that others define
};

/// RegisterZelShellFileTypes, then the desktop's files for program under the user's data
/// folder (zel_desktop::DataHome) and its databases rebuilt; answers what it wrote.
ZEL_API ZelShellRegistration RegisterZelShellFileTypesEx(const FTTENTRY* rows, int count,
                                                         const ZelDesktopProgram& program = {});
/// The desktop's files alone (MIME package, desktop entry, icon) under a share folder, as a
/// package installs them; the class root and the databases are left as they are.
ZEL_API ZelShellRegistration WriteZelDesktopFiles(const FTTENTRY* rows, int count,
                                                  const ZelDesktopProgram& program,
                                                  const CString& share);
/// Takes away what RegisterZelShellFileTypesEx wrote for program: its MIME package, desktop
/// entry and icon files, then rebuilds the databases; and of the class root, the keys of
/// the classes whose open command is still the running program's, the extensions pointing
/// at them and the MIME types written for those extensions. An association another program
/// made stays.
ZEL_API ZelShellRegistration UnregisterZelShellFileTypes(const FTTENTRY* rows, int count,
                                                         const ZelDesktopProgram& program = {});
