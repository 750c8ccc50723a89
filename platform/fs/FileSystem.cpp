// File-system services; the system calls are in posix/FileSystem.inc.
#include "platform/fs/FileSystem.h"

#include <vector>

#include "platform/fs/posix/FileSystem.inc"

namespace zel_fs {

bool FullPathName(const char* path, CString& out) {
  if (!path || !*path) return false;
  std::string full = path;
  if (full[0] != ZEL_PATH_SEP) {
    std::string cwd = CurrentDir();
    if (cwd.empty()) return false;
    cwd += ZEL_PATH_SEP;
    full.insert(0, cwd);
  }
  // Resolve "." and ".." by name, as the platform's full-path call does.
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= full.size()) {
    size_t j = full.find(ZEL_PATH_SEP, i);
    if (j == std::string::npos) j = full.size();
    std::string part = full.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string result;
  for (const std::string& p : parts) {
    result += ZEL_PATH_SEP;
    result += p;
  }
  if (result.empty() || full.back() == ZEL_PATH_SEP) result += ZEL_PATH_SEP;
  out = CString(result);
  return true;
}

}  // namespace zel_fs
