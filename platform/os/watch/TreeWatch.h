/// \file
/// Change notification for a folder tree: the folder and every folder below it, folders
/// made later included as they appear, for changes of names (made, deleted, moved), sizes
/// and writes. A thread waits for a change and a stop descriptor together, so a stop ends
/// the wait at once; while nothing changes, nothing runs.
///
/// The tree is followed as people edit it: a folder renamed inside the tree is watched
/// under its new name (folders made in it later too), one moved out is no longer watched,
/// one that could not be watched when it was reached (no read permission) is tried again
/// when its mode changes, and a lost burst rescans the whole tree.
///
/// The engine is replaceable (zel_os::OsEngines); the system's uses inotify with one
/// watch per folder. A linked folder is watched once, however many links lead to it.
#pragma once

#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "ZelExport.h"

namespace zel_watch {

enum class Wake {
  Changed,   ///< something under the folder changed (everything that had arrived is taken)
  Gone,      ///< the folder itself was deleted or moved away; the watch has ended
  Stopped,   ///< the stop descriptor became readable
  TimedOut,  ///< the time given ran out
  Failed,    ///< the wait itself failed
};

/// A watch of one folder tree: its change notifications, until it is destroyed.
class ZEL_API TreeWatch {
 public:
  virtual ~TreeWatch() = default;
  /// Starts watching path and the folders below it; the reason when it cannot be watched
  /// (missing, not a folder, no watches left). Starting again first ends the last watch.
  virtual std::error_code Start(const std::string& path) = 0;
  /// Waits for a change or for stop (a descriptor; -1 for none) at most timeoutMs
  /// (negative: without limit). A burst of changes that arrived together is one Changed; a
  /// lost burst (the system's queue overflowed) counts as a change and is watched anew.
  virtual Wake Wait(int stop, int timeoutMs) = 0;
  /// Ends the watch.
  virtual void Stop() = 0;
};

/// How the walk reads a folder: the names of its entries that are, or may be, folders
/// (links and entries of unknown type included); false when it cannot be read. A folder on
/// a stalled network share blocks here, and the walk with it: it is the caller's thread
/// that waits, so a watcher that must stop in time leaves that thread behind.
class ZEL_API FolderReader {
 public:
  virtual ~FolderReader() = default;
  virtual bool Subfolders(const std::string& dir, std::vector<std::string>& names) = 0;
};
/// The system's reader (opendir and readdir).
ZEL_API std::shared_ptr<FolderReader> SystemFolderReader();

/// The system's engine (inotify), reading folders through reader (the system's when null).
ZEL_API std::unique_ptr<TreeWatch> NewSystemTreeWatch(
    std::shared_ptr<FolderReader> reader = nullptr);

/// The engine the library uses: the installed factory's (zel_os::OsEngines), else the
/// system's.
ZEL_API std::unique_ptr<TreeWatch> NewTreeWatch();

}  // namespace zel_watch
