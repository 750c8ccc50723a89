/// \file
/// Persisted state: where it lives (the state root) and how a file of it is replaced.
/// Every replacement happens under an exclusive advisory lock on "<file>.lock", re-reads
/// the current file inside the lock, writes a temporary file of a fresh name in the same
/// folder, flushes it and renames it over the old one: readers see the old or the new file,
/// never half of one, and two writers of different entries both keep their changes.
/// Nothing planted at a temporary's or a lock's name (a link, a pipe) is ever followed or
/// written through; a file that is itself a link (a store kept elsewhere on purpose) stays
/// one, and the file it points to is replaced.
#pragma once

#include <functional>
#include <string>
#include <system_error>

#include "ZelExport.h"
#include "platform/base/string/String.h"

/// $ZEL_HOME when set, else $XDG_CONFIG_HOME/zelutil, else `<home>/.config/zelutil`.
ZEL_API CString ZelStateRoot();
/// Where the machine-wide state is read: $ZEL_HOME when set, else /etc/zelutil.
ZEL_API CString ZelMachineStateRoot();
/// $HOME when set, else the home folder of the user's password entry; empty when neither
/// is known (never a shared folder in its place).
ZEL_API CString ZelUserHome();

namespace zel_state {

/// The whole file into bytes; the system's reason on failure (no_such_file_or_directory
/// when it does not exist). Only a regular file is read: a pipe, socket or device is
/// refused without waiting on it (ZelFsError::NotRegularFile), a folder is is_a_directory.
ZEL_API std::error_code ReadFile(const char* path, std::string& bytes);

/// Runs change on the file's current bytes (empty when it does not exist yet) while the
/// lock is held; when change answers true its bytes replace the file. makeParents creates
/// missing folders on the way. Temporaries that killed writers left beside the file are
/// removed first. No error on success (also when change wrote nothing), else the reason of
/// the failing step; on failure the old file is untouched.
ZEL_API std::error_code UpdateFile(const char* path, bool makeParents,
                                   const std::function<bool(std::string& bytes)>& change);

/// Replaces path with bytes through a temporary file, without locking (for use inside an
/// UpdateFile change, or for files no one else writes). The new file has the old one's
/// permissions (and owner, where the system allows), a new one 0666 less the umask.
ZEL_API std::error_code ReplaceFile(const char* path, const std::string& bytes);

/// Keeps bytes as a copy at path that never overwrites an earlier one: at path when nothing
/// is there, else, when a regular file (an earlier copy) is, at "<path>.<UTC time>" (with
/// "-2", "-3", ... when that is taken too). keptAs gets the name used. Anything else at
/// path (a folder, a link) is a failure, as is a full disk: the copy is then not made.
ZEL_API std::error_code KeepCopy(const char* path, const std::string& bytes, std::string& keptAs);

/// Creates dir and its missing parents (0777 less the umask, as every folder the library
/// makes).
ZEL_API std::error_code MakeDirs(const char* dir);

/// The reason and the file of the last failure of the calls above on this thread, for
/// messages to people: an interface that answers only success or failure (the settings
/// functions, the profile calls) keeps its shape, and its caller can still say why.
/// Failures are recorded, never cleared by a success: clear before the call you ask about.
struct Failure {
  std::error_code reason;
  std::string path;
};
/// The last failure of a state file's change on this thread, and its clearing.
///@{
ZEL_API const Failure& LastFailure();
ZEL_API void ClearLastFailure();
///@}

}  // namespace zel_state
