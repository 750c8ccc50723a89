/// \file
/// Whole-folder operations on the suite's data folders: listing a folder's files,
/// copying one data file byte for byte, and removing or copying every file of a folder or
/// a named selection of them. Per-file failures are shown to the user and the walk goes on;
/// a read or write failure in the middle of a copy raises CFileException to the caller.
#pragma once

#include "ZelExport.h"
#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"
#include "platform/base/collections/Collections.h"

/// Appends a new CZelFileSpec (type 0; the caller deletes them) for every file of dir,
/// subfolders left out. 0 when dir is unset or not an existing folder, else 1.
ZEL_API int ZelDirectoryFiles(const CZelDirSpec& dir, CObList& out);

/// Copies from onto to (created or truncated). 0, after telling the user why, when they
/// name the same file or either cannot be opened; 1 when copied.
ZEL_API int copy_datafile(const CZelFileSpec& from, const CZelFileSpec& to);

/// Removes every file of dir; failures are reported one by one.
ZEL_API void remove_datafiles(const CZelDirSpec& dir);
/// names: file names ended by a null pointer, compared without regard to case. With except
/// false only the listed files are removed, with except true only the others.
ZEL_API void remove_datafiles_ex(const CZelDirSpec& dir, const char** names, bool except);

/// Copies every file of from into the existing folder to, file by file.
///@{
ZEL_API void transfer_datafiles(const CZelDirSpec& from, const CZelDirSpec& to);
ZEL_API void transfer_datafiles_ex(const CZelDirSpec& from, const CZelDirSpec& to,
                                   const char** names, bool except);
///@}
