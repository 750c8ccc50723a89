// The version-resource reader, after the published PE/COFF layout and the version
// information blocks (wLength, wValueLength, wType, szKey, padding, value, children).
#include "platform/os/shell/VersionResource.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr uint16_t kRtVersion = 16;
constexpr uint16_t kMaxSections = 96;  // the loader's own limit

struct Section {
  uint32_t virtualAddress, virtualSize, rawSize, rawPointer;
};

// The file offset of n bytes at rva, when they lie within one section's raw data.
bool RvaToOffset(const std::vector<Section>& sections, uint32_t rva, uint32_t n, uint64_t& offset) {
  for (const Section& s : sections) {
    uint64_t span = std::max(s.virtualSize, s.rawSize);
    if (rva < s.virtualAddress || rva - s.virtualAddress >= span) continue;
    uint64_t within = rva - s.virtualAddress;
    if (within > s.rawSize || n > s.rawSize - within) return false;
    offset = static_cast<uint64_t>(s.rawPointer) + within;
    return true;
  }
  return false;
}

// The first entry of the resource directory at dirOffset (inside [base, base + size))
// whose id is wanted (any entry when wanted is negative); answers its OffsetToData.
bool DirectoryEntry(const ZelByteSource& f, uint64_t base, uint32_t size, uint32_t dirOffset,
                    int wanted, uint32_t& data) {
  uint16_t named, ids;
  if (dirOffset > size || size - dirOffset < 16 || !f.U16(base + dirOffset + 12, named) ||
      !f.U16(base + dirOffset + 14, ids))
    return false;
  uint64_t count = static_cast<uint64_t>(named) + ids;
  if (count * 8 > size - dirOffset - 16) return false;
  for (uint64_t i = 0; i < count; ++i) {
    uint64_t entry = base + dirOffset + 16 + i * 8;
    uint32_t name, offset;
    if (!f.U32(entry, name) || !f.U32(entry + 4, offset)) return false;
    bool isId = (name & 0x80000000u) == 0;
    if (wanted < 0 || (isId && name == static_cast<uint32_t>(wanted))) {
      data = offset;
      return true;
    }
  }
  return false;
}

}  // namespace

bool ZelReadVersionResource(const ZelByteSource& f, std::string& resource) {
  resource.clear();
  uint16_t mz, sectionCount, optionalSize, magic;
  uint32_t peOffset, signature;
  if (!f.U16(0, mz) || mz != 0x5A4D || !f.U32(0x3C, peOffset) || !f.U32(peOffset, signature) ||
      signature != 0x00004550)
    return false;
  const uint64_t coff = static_cast<uint64_t>(peOffset) + 4;
  if (!f.U16(coff + 2, sectionCount) || !f.U16(coff + 16, optionalSize)) return false;
  const uint64_t optional = coff + 20;
  if (!f.U16(optional, magic)) return false;
  uint32_t dirCountAt, dirsAt;
  if (magic == 0x10B) {
    dirCountAt = 92;
    dirsAt = 96;
  } else if (magic == 0x20B) {
    dirCountAt = 108;
    dirsAt = 112;
  } else {
    return false;
  }
  uint32_t dirCount, resourceRva, resourceSize;
  // The resource table is data directory 2; it must lie inside the optional header.
  if (!f.U32(optional + dirCountAt, dirCount) || dirCount < 3 || dirsAt + 3 * 8 > optionalSize ||
      !f.U32(optional + dirsAt + 16, resourceRva) || !f.U32(optional + dirsAt + 20, resourceSize) ||
      resourceRva == 0 || resourceSize < 16)
    return false;
  if (sectionCount == 0 || sectionCount > kMaxSections) return false;
  std::vector<Section> sections;
  const uint64_t table = optional + optionalSize;
  for (uint16_t i = 0; i < sectionCount; ++i) {
    Section s;
    uint64_t at = table + static_cast<uint64_t>(i) * 40;
    if (!f.U32(at + 8, s.virtualSize) || !f.U32(at + 12, s.virtualAddress) ||
        !f.U32(at + 16, s.rawSize) || !f.U32(at + 20, s.rawPointer))
      return false;
    if (!f.Holds(s.rawPointer, s.rawSize)) s.rawSize = 0;  // a section cut short holds nothing
    sections.push_back(s);
  }
  uint64_t base;
  if (!RvaToOffset(sections, resourceRva, 16, base)) return false;
  // What of the resource table the file really holds.
  uint32_t size = resourceSize;
  for (const Section& s : sections)
    if (resourceRva >= s.virtualAddress && resourceRva - s.virtualAddress < s.rawSize)
      size = static_cast<uint32_t>(
          std::min<uint64_t>(size, s.rawSize - (resourceRva - s.virtualAddress)));
  // Type, then name, then language: the first two levels point at subdirectories, the
  // last at a data entry.
  uint32_t entry;
  if (!DirectoryEntry(f, base, size, 0, kRtVersion, entry) || !(entry & 0x80000000u) ||
      !DirectoryEntry(f, base, size, entry & 0x7FFFFFFFu, -1, entry) || !(entry & 0x80000000u) ||
      !DirectoryEntry(f, base, size, entry & 0x7FFFFFFFu, -1, entry) || (entry & 0x80000000u) ||
      entry > size || size - entry < 16)
    return false;
  uint32_t dataRva, dataSize;
  uint64_t dataAt;
  if (!f.U32(base + entry, dataRva) || !f.U32(base + entry + 4, dataSize) || dataSize < 6 ||
      dataSize > ZEL_MAX_VERSION_RESOURCE || !RvaToOffset(sections, dataRva, dataSize, dataAt))
    return false;
  resource.resize(dataSize);
  if (!f.ReadAt(dataAt, resource.data(), dataSize)) {
    resource.clear();
    return false;
  }
  return true;
}

namespace {

uint16_t U16At(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                               (static_cast<unsigned char>(b[at + 1]) << 8));
}

size_t Align4(size_t n) { return (n + 3) & ~static_cast<size_t>(3); }

// One block of the version resource: [start, end) within the resource.
struct Block {
  size_t start = 0, end = 0;
  uint16_t valueLength = 0, type = 0;
  CString key;
  size_t valueAt = 0, childrenAt = 0;
};

// Parses the block at start, which must end by limit.
bool ParseBlock(std::string_view r, size_t start, size_t limit, Block& b) {
  if (start + 6 > limit) return false;
  uint16_t length = U16At(r, start);
  if (length < 6 || length > limit - start) return false;
  b.start = start;
  b.end = start + length;
  b.valueLength = U16At(r, start + 2);
  b.type = U16At(r, start + 4);
  std::vector<uint16_t> key;
  size_t at = start + 6;
  for (;; at += 2) {
    if (at + 2 > b.end) return false;
    uint16_t u = U16At(r, at);
    if (u == 0) break;
    key.push_back(u);
  }
  b.key = ZelUtf16ToAnsi(key.data(), key.size());
  b.valueAt = std::min(Align4(at + 2), b.end);
  // A text value counts characters, a binary one bytes.
  size_t valueBytes = b.type == 1 ? static_cast<size_t>(b.valueLength) * 2 : b.valueLength;
  if (valueBytes > b.end - b.valueAt) {
    if (b.type != 1) return false;
    valueBytes = b.end - b.valueAt;  // some writers count bytes for text too
  }
  b.childrenAt = std::min(Align4(b.valueAt + valueBytes), b.end);
  return true;
}

}  // namespace

bool ZelQueryVersionValue(std::string_view r, const char* subBlock, std::string& value,
                          bool& isText) {
  value.clear();
  isText = false;
  Block block;
  if (!ParseBlock(r, 0, r.size(), block)) return false;
  std::string path = subBlock ? subBlock : "";
  size_t pos = 0;
  while (pos < path.size()) {
    while (pos < path.size() && path[pos] == '\\') ++pos;
    if (pos >= path.size()) break;
    size_t next = path.find('\\', pos);
    if (next == std::string::npos) next = path.size();
    std::string want = path.substr(pos, next - pos);
    pos = next;
    bool found = false;
    for (size_t at = block.childrenAt; at + 6 <= block.end;) {
      Block child;
      if (!ParseBlock(r, at, block.end, child)) return false;
      if (ZelStrCmpNoCase(child.key.view(), want) == 0) {
        block = child;
        found = true;
        break;
      }
      at = Align4(child.end);
    }
    if (!found) return false;
  }
  if (block.type == 1) {
    isText = true;
    size_t end = block.childrenAt > block.valueAt ? block.childrenAt : block.valueAt;
    end = std::min(end, block.end);
    size_t at = block.valueAt;
    while (at + 2 <= end && U16At(r, at) != 0) at += 2;
    value.assign(r.substr(block.valueAt, at - block.valueAt));
  } else {
    value.assign(
        r.substr(block.valueAt, std::min<size_t>(block.valueLength, block.end - block.valueAt)));
  }
  return true;
}

bool ZelVersionProductName(std::string_view r, uint16_t userLanguage, CString& name) {
  std::string value;
  bool text;
  char query[64];
  if (ZelQueryVersionValue(r, "\\VarFileInfo\\Translation", value, text) && value.size() == 4) {
    uint16_t language = U16At(value, 0), codePage = U16At(value, 2);
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%02X%02X%02X%02X\\ProductName",
                  language >> 8, language & 0xFF, codePage >> 8, codePage & 0xFF);
  } else {
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04X04B0\\ProductName", userLanguage);
  }
  if (!ZelQueryVersionValue(r, query, value, text)) return false;
  name = text ? ZelUtf16BytesToAnsi(value) : CString(std::string(value.c_str()));
  return true;
}
