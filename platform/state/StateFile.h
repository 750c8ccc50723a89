// Persisted state: where it lives (the state root) and how a file of it is replaced.
// Every replacement happens under an exclusive advisory lock on "<file>.lock", re-reads
// the current file inside the lock, writes a temporary file in the same folder, flushes
// it and renames it over the old one: readers see the old or the new file, never half of
// one, and two writers of different entries both keep their changes.
#pragma once

#include <functional>
#include <string>
#include <system_error>

#include "platform/afx/String.h"

// $ZEL_HOME when set, else $XDG_CONFIG_HOME/zelutil, else ~/.config/zelutil.
CString ZelStateRoot();
// Where the machine-wide state is read: $ZEL_HOME when set, else /etc/zelutil.
CString ZelMachineStateRoot();

namespace zel_state {

// The whole file into bytes; the system's reason on failure (no_such_file_or_directory
// when it does not exist).
std::error_code ReadFile(const char* path, std::string& bytes);

// Runs change on the file's current bytes (empty when it does not exist yet) while the
// lock is held; when change answers true its bytes replace the file. makeParents creates
// missing folders on the way. No error on success (also when change wrote nothing), else
// the reason of the failing step; on failure the old file is untouched.
std::error_code UpdateFile(const char* path, bool makeParents,
                           const std::function<bool(std::string& bytes)>& change);

// Replaces path with bytes through a temporary file, without locking (for use inside an
// UpdateFile change, or for files no one else writes).
std::error_code ReplaceFile(const char* path, const std::string& bytes);

// Creates dir and its missing parents.
std::error_code MakeDirs(const char* dir);

}  // namespace zel_state
