// The shell-link reader; layout per the published shell link binary file format.
#include "platform/os/shell/ShellLink.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t kHeaderSize = 0x4C;
// The link class identifier 00021401-0000-0000-C000-000000000046 as stored.
constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
// No string of a link is longer than the longest path the link's system allows (32,767
// characters); a longer one marks a crafted file, which is then not read at all rather
// than held in memory whole.
constexpr uint32_t kMaxStringChars = 32767;

// A NUL-terminated string of units of unitBytes bytes starting at offset, which must end
// before limit and within kMaxStringChars characters; its units' bytes go into raw.
bool TerminatedZ(const ZelByteSource& s, uint64_t offset, uint64_t limit, size_t unitBytes,
                 std::string& raw) {
  raw.clear();
  if (offset >= limit || limit > s.Size()) return false;
  limit = std::min<uint64_t>(limit, offset + (kMaxStringChars + 1) * uint64_t{unitBytes});
  char buf[512];
  for (uint64_t at = offset; at + unitBytes <= limit;) {
    size_t n = static_cast<size_t>(std::min<uint64_t>(sizeof buf, limit - at));
    n -= n % unitBytes;
    if (!s.ReadAt(at, buf, n)) return false;
    for (size_t i = 0; i < n; i += unitBytes) {
      if (buf[i] == '\0' && (unitBytes == 1 || buf[i + 1] == '\0')) return true;
      raw.append(buf + i, unitBytes);
    }
    at += n;
  }
  return false;  // no terminator inside the structure, or too long
}

// A NUL-terminated 8-bit string starting at offset, which must end before limit.
bool AnsiZ(const ZelByteSource& s, uint64_t offset, uint64_t limit, CString& out) {
  std::string text;
  if (!TerminatedZ(s, offset, limit, 1, text)) return false;
  out = CString(std::move(text));
  return true;
}

// A NUL-terminated UTF-16 string starting at offset, ending before limit.
bool UnicodeZ(const ZelByteSource& s, uint64_t offset, uint64_t limit, CString& out) {
  std::string bytes;
  if (!TerminatedZ(s, offset, limit, 2, bytes)) return false;
  out = ZelUtf16BytesToAnsi(bytes);
  return true;
}

// One counted string of the string data at offset; offset moves past it.
bool CountedString(const ZelByteSource& s, uint64_t& offset, bool unicode, CString& out) {
  uint16_t count;
  if (!s.U16(offset, count)) return false;
  offset += 2;
  uint64_t bytes = static_cast<uint64_t>(count) * (unicode ? 2 : 1);
  if (count > kMaxStringChars || !s.Holds(offset, bytes)) return false;
  std::string raw(static_cast<size_t>(bytes), '\0');
  if (bytes && !s.ReadAt(offset, raw.data(), raw.size())) return false;
  offset += bytes;
  out = unicode ? ZelUtf16BytesToAnsi(raw) : CString(std::move(raw));
  return true;
}

CString JoinNetwork(const CString& share, const CString& suffix) {
  if (suffix.IsEmpty()) return share;
  CString path = share;
  if (!path.IsEmpty() && path[path.GetLength() - 1] != '\\' && suffix[0] != '\\') path += '\\';
  return path + suffix;
}

// The link info structure at base; fills the local and network paths.
bool ReadLinkInfo(const ZelByteSource& s, uint64_t base, uint32_t& size, ZelShellLink& link) {
  uint32_t headerSize, flags, volumeOff, localOff, networkOff, suffixOff;
  if (!s.U32(base, size) || !s.U32(base + 4, headerSize) || !s.U32(base + 8, flags) ||
      !s.U32(base + 12, volumeOff) || !s.U32(base + 16, localOff) ||
      !s.U32(base + 20, networkOff) || !s.U32(base + 24, suffixOff))
    return false;
  // The header is 0x1C bytes, or 0x24 and more with the Unicode offsets.
  if (headerSize < 0x1C || headerSize > size || size < 0x1C || !s.Holds(base, size)) return false;
  const uint64_t end = base + size;
  const bool unicodeOffsets = headerSize >= 0x24;
  uint32_t localOffW = 0, suffixOffW = 0;
  if (unicodeOffsets && (!s.U32(base + 28, localOffW) || !s.U32(base + 32, suffixOffW)))
    return false;

  CString suffix;
  if (flags & (ZEL_LIF_VOLUME_AND_LOCAL_PATH | ZEL_LIF_NETWORK_AND_SUFFIX)) {
    bool ok = unicodeOffsets && suffixOffW ? UnicodeZ(s, base + suffixOffW, end, suffix)
                                           : AnsiZ(s, base + suffixOff, end, suffix);
    if (!ok) return false;
  }
  if (flags & ZEL_LIF_VOLUME_AND_LOCAL_PATH) {
    // The volume ID must at least lie inside the structure; its contents are not used.
    uint32_t volumeSize;
    if (volumeOff < headerSize || volumeOff >= size || !s.U32(base + volumeOff, volumeSize) ||
        volumeSize < 0x10 || volumeSize > size - volumeOff)
      return false;
    CString local;
    bool ok = unicodeOffsets && localOffW ? UnicodeZ(s, base + localOffW, end, local)
                                          : AnsiZ(s, base + localOff, end, local);
    if (!ok) return false;
    link.localPath = local + suffix;
  }
  if (flags & ZEL_LIF_NETWORK_AND_SUFFIX) {
    uint64_t cnrl = base + networkOff;
    uint32_t cnrlSize, cnrlFlags, netNameOff, deviceOff, provider;
    if (networkOff < headerSize || networkOff >= size || !s.U32(cnrl, cnrlSize) ||
        cnrlSize < 0x14 || cnrlSize > size - networkOff || !s.U32(cnrl + 4, cnrlFlags) ||
        !s.U32(cnrl + 8, netNameOff) || !s.U32(cnrl + 12, deviceOff) || !s.U32(cnrl + 16, provider))
      return false;
    const uint64_t cnrlEnd = cnrl + cnrlSize;
    uint32_t netNameOffW = 0;
    if (netNameOff > 0x14 && !s.U32(cnrl + 20, netNameOffW)) return false;
    CString share;
    bool ok = netNameOffW ? UnicodeZ(s, cnrl + netNameOffW, cnrlEnd, share)
                          : AnsiZ(s, cnrl + netNameOff, cnrlEnd, share);
    if (!ok) return false;
    if (!share.IsEmpty()) link.networkPath = JoinNetwork(share, suffix);
  }
  return true;
}

}  // namespace

bool ZelReadShellLink(const ZelByteSource& s, ZelShellLink& link) {
  link = ZelShellLink();
  uint32_t headerSize, flags;
  unsigned char clsid[16];
  if (!s.U32(0, headerSize) || headerSize != kHeaderSize || !s.Holds(0, kHeaderSize) ||
      !s.ReadAt(4, clsid, 16) || std::memcmp(clsid, kLinkClsid, 16) != 0 || !s.U32(20, flags))
    return false;
  uint64_t at = kHeaderSize;
  if (flags & ZEL_SLF_HAS_ID_LIST) {
    uint16_t idListSize;
    if (!s.U16(at, idListSize) || !s.Holds(at + 2, idListSize)) return false;
    at += 2 + static_cast<uint64_t>(idListSize);
  }
  if ((flags & ZEL_SLF_HAS_LINK_INFO)) {
    ZelShellLink paths;
    uint32_t size = 0;
    if (!ReadLinkInfo(s, at, size, paths)) return false;
    if (!(flags & ZEL_SLF_FORCE_NO_LINK_INFO)) {
      link.localPath = paths.localPath;
      link.networkPath = paths.networkPath;
    }
    at += size;
  }
  const bool unicode = (flags & ZEL_SLF_IS_UNICODE) != 0;
  struct Item {
    uint32_t flag;
    CString* out;
  } items[] = {{ZEL_SLF_HAS_NAME, &link.description},
               {ZEL_SLF_HAS_RELATIVE_PATH, &link.relativePath},
               {ZEL_SLF_HAS_WORKING_DIR, &link.workingDir},
               {ZEL_SLF_HAS_ARGUMENTS, &link.arguments}};
  for (const Item& item : items) {
    if (!(flags & item.flag)) continue;
    if (!CountedString(s, at, unicode, *item.out)) return false;
  }
  // The icon location and the extra data blocks that may follow are not needed.
  return true;
}
