// The key-name table.
#include "platform/user/resource/KeyNames.h"

#include <algorithm>
#include <cstring>

int ZelGetKeyName(UINT virtualKey, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  char single[2] = {0, 0};
  const char* name = nullptr;
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
    single[0] = static_cast<char>(virtualKey);
    name = single;
  }
  switch (virtualKey) {
#define ZEL_KEY(constant, value, text) \
  case value:                          \
    name = text;                       \
    break;
#include "platform/user/resource/Keys.def"
#undef ZEL_KEY
    default:
      break;
  }
  if (!name) {
    buffer[0] = 0;
    return 0;
  }
  const int n = std::min(static_cast<int>(std::strlen(name)), size - 1);
  std::memcpy(buffer, name, static_cast<size_t>(n));
  buffer[n] = 0;
  return n;
}
