// Shell registration: the desktop's associations of the suite's document types with the
// running program, and the MIME types of three formats, written under the class root of
// the registry store; and the same for a Linux desktop: a shared-mime-info package with one
// MIME type per document class (the three formats' own names where a class's extension
// has one, else application/x-<class name in lower case>), globs from the extensions and
// content matches where the content says it, and a desktop entry offering the program for
// them. Failed writes are skipped silently; the associations a user made stay.
#pragma once

#include <vector>

#include "ZelExport.h"
#include "files/FileTypesTable.h"

// The rows with a shell class, a shell description and an extension; with null rows the
// default rows of the file types table (count is then ignored).
ZEL_API void RegisterZelShellFileTypes(const FTTENTRY* rows, int count);
// ".gb", ".gp" and ".ekm": their "Content Type" and the MIME database's "Extension".
ZEL_API void RegisterZelMimeTypes();

// What a registration wrote, for programs that tell their user.
struct ZelShellRegistration {
  CString hive;                    // the class root's file
  int classes = 0;                 // document classes written whole to it
  std::vector<CString> files;      // freedesktop files written (or removed)
  std::vector<CString> mimeTypes;  // MIME types registered with the desktop
  std::vector<CString> refreshed;  // the database tools that ran
  std::vector<CString> failures;   // "file: reason"
};
// RegisterZelShellFileTypes, answering what it wrote.
ZEL_API ZelShellRegistration RegisterZelShellFileTypesEx(const FTTENTRY* rows, int count);
// Takes the running program's freedesktop package and desktop entry away again and
// rebuilds the databases; the class root keeps its keys.
ZEL_API ZelShellRegistration UnregisterZelDesktopEntries();
