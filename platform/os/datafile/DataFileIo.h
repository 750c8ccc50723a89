/// \file
/// Data files of a shared folder, handled so that nobody else's file is read, written or
/// waited on through them: folder entries told by what they are themselves (a link is a
/// link, whatever it points to), and a new file made beside its target under a fresh
/// name, then renamed over the target.
#pragma once

#include <functional>
#include <system_error>

#include "ZelExport.h"
#include "platform/base/string/String.h"

namespace zel_datafile {

enum class EntryKind {
  kRegular,
  kFolder,
  kOther,  ///< a link (to anything), FIFO, socket or device
};

/// Every entry of dir except "." and "..", in the order the system gives them, with what
/// it is itself; the reason when dir cannot be read.
ZEL_API std::error_code ListEntries(
    const char* dir, const std::function<void(const char* name, EntryKind kind)>& each);

/// Opens path for reading when it is a regular file itself: a link is not followed and a
/// FIFO or device is not waited on (their reason: "Too many levels of symbolic links" for a
/// link, "Invalid argument" for a special file). fd is the caller's to close.
ZEL_API std::error_code OpenRegularForReading(const char* path, int& fd);

/// Whether path (links followed) names the file open at fd.
ZEL_API bool IsOpenFile(const char* path, int fd);

/// A file made beside a target, to take its place once it is written. Until Commit, the
/// target is untouched; a temporary that is not committed is removed with this object.
class ZEL_API TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  /// Makes the file, with a name nobody held before, in target's folder, and with the
  /// target's permissions when it is a regular file (else those a new file gets). fd is
  /// the caller's to close.
  std::error_code Create(const char* target, int& fd);
  /// Renames it over target: a link or file at target is replaced, never written through.
  std::error_code Commit(const char* target);
  const CString& Path() const { return m_path; }

 private:
  CString m_path;
  bool m_committed = false;
};

}  // namespace zel_datafile
