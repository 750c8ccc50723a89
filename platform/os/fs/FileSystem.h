/// \file
/// File-system queries and changes at the level the library asks for them: what a path
/// is, making a folder, removing a file, modification times, listing a folder, and the
/// full path of a name. Changes answer the system's reason when they fail; queries answer
/// false when there is nothing to tell.
#pragma once

#include <ctime>
#include <functional>
#include <set>
#include <system_error>
#include <utility>

#include "ZelExport.h"
#include "platform/base/string/String.h"

/// The platform's path separator; code that builds paths writes this, never a literal.
constexpr char ZEL_PATH_SEP = '/';
constexpr const char* ZEL_PATH_SEP_STR = "/";

enum class ZelPathKind { None, File, Directory };

namespace zel_fs {

/// dir, the separator and name; a dir that ends in the separator already (the root "/")
/// gets no second one, so the root joins as "/etc", never "//etc".
ZEL_API CString JoinPath(const char* dir, const char* name);

/// What is at path: nothing, a file or a folder.
ZEL_API ZelPathKind KindOf(const char* path);
/// Creates one folder level.
ZEL_API std::error_code MakeDir(const char* path);
/// Removes a file (not a folder: is_a_directory).
ZEL_API std::error_code RemoveFile(const char* path);
/// Whether name matches pattern by the platform's wildcard rules: "*" is any run of
/// characters (dots and a leading dot included), "?" one character, a pattern ending in
/// ".*" also matches the name without a dot ("*.*" matches every name), "[" is an ordinary
/// character, and letters match without regard to ASCII case.
ZEL_API bool WildcardMatch(const char* pattern, const char* name);
/// The last-write time (UTC seconds) of the first entry matching path, whose final
/// component (only) may hold wildcards, matched as WildcardMatch does.
ZEL_API bool LastWriteTime(const char* path, time_t& when);
/// Every entry of a folder except "." and "..", in the order the system gives them; the
/// reason when the folder cannot be read.
ZEL_API std::error_code ListDir(const char* dir,
                                const std::function<void(const char* name, bool isDir)>& each);
/// The absolute form of path (relative to the working folder), with "." and ".."
/// resolved by name; the file need not exist. False for an empty path.
ZEL_API bool FullPathName(const char* path, CString& out);

/// Whether two open descriptors are the same file (device and inode), whatever names
/// opened them.
ZEL_API bool SameFile(int fdA, int fdB);

/// Keeps a recursive walk finite: a folder is entered at most once per walk, known by its
/// device and inode, so a link to an ancestor, a loop of links or a folder linked twice is
/// walked once. One guard per walk; the walk enters its starting folder first.
class ZEL_API FolderWalkGuard {
 public:
  /// True the first time the folder at path (links followed) is entered; false when it
  /// was entered before in this walk or cannot be examined.
  bool Enter(const char* path);

 private:
  std::set<std::pair<unsigned long long, unsigned long long>> m_entered;
};

}  // namespace zel_fs
