// AfxFormatStrings.
#include "platform/base/string/FormatStrings.h"

void AfxFormatStrings(CString& out, const char* format, const char* const* strings, int count) {
  std::string result;
  for (const char* p = format ? format : ""; *p;) {
    char next = p[1];
    if (*p == '%' && ((next >= '0' && next <= '9') || (next >= 'A' && next <= 'Z'))) {
      int i = next > '9' ? 9 + (next - 'A') : next - '1';
      if (i < 0 || i >= count)
        result += '?';
      else if (strings[i])
        result += strings[i];
      p += 2;
      continue;
    }
    result += *p++;
  }
  out = CString(std::move(result));
}
