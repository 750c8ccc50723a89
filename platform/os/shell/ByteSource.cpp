// Byte sources and the Windows-1252 conversion; the system calls are in posix/ByteSource.inc.
#include "platform/os/shell/ByteSource.h"

#include <cstring>

#include "platform/os/shell/posix/ByteSource.inc"

bool ZelByteSource::U16(uint64_t offset, uint16_t& v) const {
  unsigned char b[2];
  if (!ReadAt(offset, b, 2)) return false;
  v = static_cast<uint16_t>(b[0] | (b[1] << 8));
  return true;
}

bool ZelByteSource::U32(uint64_t offset, uint32_t& v) const {
  unsigned char b[4];
  if (!ReadAt(offset, b, 4)) return false;
  v = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
      (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
  return true;
}

bool ZelMemorySource::ReadAt(uint64_t offset, void* out, size_t n) const {
  if (!Holds(offset, n)) return false;
  if (n) std::memcpy(out, m_bytes.data() + offset, n);
  return true;
}

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 where the code page has no character.
constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char AnsiOf(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] && kHigh[i] == cp) return static_cast<char>(0x80 + i);
  // The control characters 0x80-0x9F that 1252 leaves unassigned map to themselves, as
  // the system's conversion does.
  if (cp >= 0x80 && cp <= 0x9F && kHigh[cp - 0x80] == 0) return static_cast<char>(cp);
  return '?';
}

}  // namespace

CString ZelUtf16ToAnsi(const uint16_t* units, size_t count) {
  std::string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    uint16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      out += '?';  // a character beyond the first plane: never in the code page
      ++i;
      continue;
    }
    if (u >= 0xD800 && u <= 0xDFFF) {
      out += '?';
      continue;
    }
    out += AnsiOf(u);
  }
  return CString(std::move(out));
}

CString ZelUtf16BytesToAnsi(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return ZelUtf16ToAnsi(reinterpret_cast<const uint16_t*>(units.data()), units.size());
}

char16_t ZelAnsiCharToUtf16(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] ? kHigh[byte - 0x80] : byte;
}

std::u16string ZelAnsiToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out += ZelAnsiCharToUtf16(static_cast<unsigned char>(c));
  return out;
}
