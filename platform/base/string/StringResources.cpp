// The string resources of the module: a process-wide table of texts by number.
#include "platform/base/string/StringResources.h"

#include <map>

namespace {
std::map<UINT, CString>& Table() {
  static std::map<UINT, CString> table;
  return table;
}
}  // namespace

void AfxSetStringResource(UINT id, const char* text) {
  if (text)
    Table()[id] = text;
  else
    Table().erase(id);
}

BOOL AfxLoadString(UINT id, CString& text) {
  auto it = Table().find(id);
  if (it == Table().end()) {
    text.Empty();
    return FALSE;
  }
  text = it->second;
  return TRUE;
}
