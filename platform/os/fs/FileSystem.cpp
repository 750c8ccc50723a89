// File-system services; the system calls are in posix/FileSystem.inc.
#include "platform/os/fs/FileSystem.h"

#include <cstring>
#include <vector>

#include "platform/base/string/String.h"
#include "platform/os/fs/posix/FileSystem.inc"

namespace zel_fs {

namespace {

// Iterative glob with one back-track point: the last "*" seen.
bool Match(const char* p, const char* pEnd, const char* n) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*n) {
    if (p < pEnd && *p == '*') {
      star = p++;
      resume = n;
    } else if (p < pEnd && (*p == '?' || ZelAsciiToLower(*p) == ZelAsciiToLower(*n))) {
      ++p;
      ++n;
    } else if (star) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pEnd && *p == '*') ++p;
  return p == pEnd;
}

}  // namespace

bool WildcardMatch(const char* pattern, const char* name) {
  if (!pattern || !name) return false;
  const char* end = pattern + std::strlen(pattern);
  if (Match(pattern, end, name)) return true;
  // "name.*" also stands for "name" without any extension.
  return end - pattern >= 2 && end[-2] == '.' && end[-1] == '*' && !std::strchr(name, '.') &&
         Match(pattern, end - 2, name);
}

CString JoinPath(const char* dir, const char* name) {
  CString path = dir ? dir : "";
  if (path.IsEmpty() || path[path.GetLength() - 1] != ZEL_PATH_SEP) path += ZEL_PATH_SEP;
  return path + (name ? name : "");
}

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
