// The suite's 8-bit text in JSON output: each byte as the code point of the same number,
// so that any bytes make valid text and can be told apart again.
#pragma once

#include <string>

#include "platform/afx/String.h"

namespace zel_cli {

inline std::string BytesAsCodePoints(const CString& s) {
  std::string out;
  for (unsigned char c : s.str()) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace zel_cli
