/// \file
/// Folders that other people may write into, such as a shared tool folder: what an entry
/// is, learnt without opening it (opening a pipe waits for a writer, opening a device may
/// act on it); a walk that follows folder links only to places inside the tree it walks;
/// and taking back the folders a failed change made.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <system_error>
#include <utility>

#include "ZelExport.h"

namespace zel_fs {

/// What a path names, links followed. Other is anything that is neither a regular file nor
/// a folder: a pipe, a socket, a device, or a link to one.
enum class EntryKind { None, File, Folder, Other };

/// What is at path, links followed: nothing, a file, a folder or something else.
ZEL_API EntryKind KindOfEntry(const char* path);

/// A walk of the folder tree under a root. Folders are entered once each (known by device
/// and inode, so a link to an ancestor or a folder linked twice is walked once), and only
/// when they, links resolved, are the root or lie inside it: a link planted in the tree
/// never takes the walk to the rest of the system.
class ZEL_API ContainedWalk {
 public:
  explicit ContainedWalk(const char* root);

  /// True the first time folder is entered and it lies inside the root; false otherwise,
  /// or when it cannot be examined.
  bool Enter(const char* folder);

  /// Each entry of folder except "." and "..", in the order the system gives them, with
  /// its kind; no entry is opened. The reason when the folder cannot be read.
  static std::error_code List(const char* folder,
                              const std::function<void(const char* name, EntryKind kind)>& each);

 private:
  std::string m_root;  ///< resolved; empty when the root cannot be resolved
  std::set<std::pair<unsigned long long, unsigned long long>> m_entered;
};

/// Removes a folder when it is empty (a folder made by a change that then failed, and
/// into which no one has put anything since).
ZEL_API std::error_code RemoveEmptyFolder(const char* path);

}  // namespace zel_fs
