// Which menu path components are plain names, and splitting a menu path into them.
#include "tools/ToolSafety.h"

namespace zel_tools {

bool IsSafeMenuComponent(const CString& c) {
  return !c.IsEmpty() && c != "." && c != ".." && c.FindOneOf("/\\|") < 0;
}

bool SplitMenuPath(const char* menuPath, std::vector<CString>& parts) {
  parts.clear();
  if (!menuPath) return false;
  CString path = menuPath;
  int start = 0;
  for (;;) {
    int bar = path.Find('|', start);
    CString part = bar < 0 ? path.Mid(start) : path.Mid(start, bar - start);
    if (!IsSafeMenuComponent(part)) return false;
    parts.push_back(part);
    if (bar < 0) return true;
    start = bar + 1;
  }
}

}  // namespace zel_tools
