/// \file
/// What may be a component of a tool's menu path, and so a file or folder name in the tool
/// folder: not empty, not "." or "..", no '/' or '\' (and no '|', which separates them).
/// Stricter than the platform the tools came from, on purpose: a menu path can then never
/// name a place outside the tool folder.
#pragma once

#include <vector>

#include "ZelExport.h"
#include "platform/base/string/String.h"

namespace zel_tools {

/// Whether component may be one component of a menu path (and so one name in the tool folder).
ZEL_API bool IsSafeMenuComponent(const CString& component);
/// The components of menuPath split at '|'; false (parts unspecified) when any of them
/// is not safe or the path is null.
ZEL_API bool SplitMenuPath(const char* menuPath, std::vector<CString>& parts);

}  // namespace zel_tools
