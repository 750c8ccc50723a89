// Tiny shell links and program files made in code, after the published formats, for the
// tests, the benchmark, the fuzzers' seeds and the sample tool folder. Every size and
// offset can be made to lie afterwards by patching the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zel_fixtures {

inline void PutU16(std::string& b, uint16_t v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>(v >> 8);
}
inline void PutU32(std::string& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void SetU16(std::string& b, size_t at, uint16_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8);
}
inline void SetU32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
// Windows-1252 text as UTF-16 (ASCII and Latin-1 only: enough for fixtures), or raw
// UTF-16 units.
inline std::string Utf16(const std::string& text, bool terminate) {
  std::string b;
  for (unsigned char c : text) PutU16(b, c);
  if (terminate) PutU16(b, 0);
  return b;
}
inline std::string Units(const std::u16string& units) {
  std::string b;
  for (char16_t u : units) PutU16(b, static_cast<uint16_t>(u));
  return b;
}
inline void Pad4(std::string& b) {
  while (b.size() % 4) b += '\0';
}

// ---- shell links ----

struct LinkSpec {
  bool unicode = true;
  std::string description, relativePath, workingDir, arguments;
  std::string idList;  // the target ID list's bytes; none when empty
  std::string localBasePath, commonPathSuffix, netName;
  bool unicodeLinkInfo = false;  // Unicode copies of the local path and suffix too
  bool forceNoLinkInfo = false;
};

inline std::string LinkInfo(const LinkSpec& s) {
  const bool local = !s.localBasePath.empty(), net = !s.netName.empty();
  const uint32_t headerSize = s.unicodeLinkInfo ? 0x24 : 0x1C;
  std::string volume;  // VolumeIDSize, DriveType, serial, label offset, empty label
  PutU32(volume, 0x11);
  PutU32(volume, 3);
  PutU32(volume, 0x1234);
  PutU32(volume, 0x10);
  volume += '\0';
  std::string cnrl;
  PutU32(cnrl, 0);  // size, set below
  PutU32(cnrl, 0);
  PutU32(cnrl, 0x14);
  PutU32(cnrl, 0);
  PutU32(cnrl, 0x20000);
  cnrl += s.netName + '\0';
  SetU32(cnrl, 0, static_cast<uint32_t>(cnrl.size()));

  std::string body;
  uint32_t volumeOff = 0, localOff = 0, netOff = 0, suffixOff = 0, localOffW = 0, suffixOffW = 0;
  auto at = [&] { return static_cast<uint32_t>(headerSize + body.size()); };
  if (local) {
    volumeOff = at();
    body += volume;
    localOff = at();
    body += s.localBasePath + '\0';
  }
  if (net) {
    netOff = at();
    body += cnrl;
  }
  suffixOff = at();
  body += s.commonPathSuffix + '\0';
  if (s.unicodeLinkInfo) {
    if (local) {
      localOffW = at();
      body += Utf16(s.localBasePath, true);
    }
    suffixOffW = at();
    body += Utf16(s.commonPathSuffix, true);
  }
  std::string info;
  PutU32(info, headerSize + static_cast<uint32_t>(body.size()));
  PutU32(info, headerSize);
  PutU32(info, (local ? 1u : 0u) | (net ? 2u : 0u));
  PutU32(info, volumeOff);
  PutU32(info, localOff);
  PutU32(info, netOff);
  PutU32(info, suffixOff);
  if (s.unicodeLinkInfo) {
    PutU32(info, localOffW);
    PutU32(info, suffixOffW);
  }
  return info + body;
}

inline std::string ShellLink(const LinkSpec& s) {
  const bool info = !s.localBasePath.empty() || !s.netName.empty();
  uint32_t flags = 0;
  if (!s.idList.empty()) flags |= 0x1;
  if (info) flags |= 0x2;
  if (!s.description.empty()) flags |= 0x4;
  if (!s.relativePath.empty()) flags |= 0x8;
  if (!s.workingDir.empty()) flags |= 0x10;
  if (!s.arguments.empty()) flags |= 0x20;
  if (s.unicode) flags |= 0x80;
  if (s.forceNoLinkInfo) flags |= 0x100;
  std::string b;
  PutU32(b, 0x4C);
  const unsigned char clsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                   0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  b.append(reinterpret_cast<const char*>(clsid), 16);
  PutU32(b, flags);
  PutU32(b, 0x20);     // archive attribute
  b.append(24, '\0');  // three times
  PutU32(b, 1000);     // file size
  PutU32(b, 0);        // icon index
  PutU32(b, 1);        // show normal
  PutU16(b, 0);        // hot key
  b.append(10, '\0');  // reserved
  if (!s.idList.empty()) {
    PutU16(b, static_cast<uint16_t>(s.idList.size()));
    b += s.idList;
  }
  if (info) b += LinkInfo(s);
  for (const std::string* text : {&s.description, &s.relativePath, &s.workingDir, &s.arguments}) {
    if (text->empty()) continue;
    PutU16(b, static_cast<uint16_t>(text->size()));
    b += s.unicode ? Utf16(*text, false) : *text;
  }
  PutU32(b, 0);  // end of the extra data
  return b;
}

// ---- version resources and program files ----

// One version block: header, key, value, children, each part aligned to 4 bytes.
inline std::string VersionBlock(const std::string& key, const std::string& value,
                                uint16_t valueLength, uint16_t type,
                                const std::vector<std::string>& children) {
  std::string b;
  PutU16(b, 0);
  PutU16(b, valueLength);
  PutU16(b, type);
  b += Utf16(key, true);
  Pad4(b);
  b += value;
  for (const std::string& child : children) {
    Pad4(b);
    b += child;
  }
  SetU16(b, 0, static_cast<uint16_t>(b.size()));
  return b;
}

struct VersionSpec {
  // String tables by key ("040904B0"), each a list of (name, value).
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> tables;
  std::vector<std::pair<uint16_t, uint16_t>> translations;  // (language, code page)
  bool withTranslation = true;  // a VarFileInfo block (even with no translation)
};

inline std::string VersionResource(const VersionSpec& s) {
  std::string fixed;
  PutU32(fixed, 0xFEEF04BD);
  PutU32(fixed, 0x00010000);
  fixed.append(44, '\0');
  std::vector<std::string> tables;
  for (const auto& [key, strings] : s.tables) {
    std::vector<std::string> items;
    for (const auto& [name, value] : strings)
      items.push_back(
          VersionBlock(name, Utf16(value, true), static_cast<uint16_t>(value.size() + 1), 1, {}));
    tables.push_back(VersionBlock(key, "", 0, 1, items));
  }
  std::vector<std::string> children;
  if (!tables.empty()) children.push_back(VersionBlock("StringFileInfo", "", 0, 1, tables));
  if (s.withTranslation) {
    std::string pairs;
    for (auto [language, codePage] : s.translations) {
      PutU16(pairs, language);
      PutU16(pairs, codePage);
    }
    std::string var =
        VersionBlock("Translation", pairs, static_cast<uint16_t>(pairs.size()), 0, {});
    children.push_back(VersionBlock("VarFileInfo", "", 0, 1, {var}));
  }
  return VersionBlock("VS_VERSION_INFO", fixed, 52, 0, children);
}

// The classic case: one English (US) table, Unicode, with its translation.
inline VersionSpec ProductVersion(const std::string& product) {
  VersionSpec s;
  s.tables.push_back({"040904B0", {{"CompanyName", "Corvane"}, {"ProductName", product}}});
  s.translations.push_back({0x0409, 0x04B0});
  return s;
}

// A program file (PE32, or PE32+ when wide) whose only section holds a resource table
// with one version resource (type 16, name 1, language 0x409); none when resource is
// empty.
inline std::string ProgramFile(const std::string& resource, bool wide = false) {
  const uint32_t optionalSize = wide ? 240 : 224;
  const uint32_t sectionVA = 0x1000, sectionRaw = 0x200;
  // The resource section: three directories of one entry each, a data entry, the data.
  std::string rsrc;
  auto directory = [&](uint32_t id, uint32_t target) {
    rsrc.append(12, '\0');
    PutU16(rsrc, 0);
    PutU16(rsrc, 1);
    PutU32(rsrc, id);
    PutU32(rsrc, target);
  };
  if (!resource.empty()) {
    directory(16, 0x80000000u | 24);
    directory(1, 0x80000000u | 48);
    directory(0x409, 72);
    PutU32(rsrc, sectionVA + 88);  // data RVA
    PutU32(rsrc, static_cast<uint32_t>(resource.size()));
    PutU32(rsrc, 0);
    PutU32(rsrc, 0);
    rsrc += resource;
  } else {
    rsrc.append(16, '\0');
  }
  while (rsrc.size() % 0x200) rsrc += '\0';

  std::string b(0x40, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  SetU32(b, 0x3C, 0x40);
  b += "PE";
  b.append(2, '\0');
  PutU16(b, wide ? 0x8664 : 0x14C);
  PutU16(b, 1);  // one section
  PutU32(b, 0);
  PutU32(b, 0);
  PutU32(b, 0);
  PutU16(b, static_cast<uint16_t>(optionalSize));
  PutU16(b, 0x0102);
  std::string opt(optionalSize, '\0');
  SetU16(opt, 0, wide ? 0x20B : 0x10B);
  const size_t countAt = wide ? 108 : 92, dirsAt = wide ? 112 : 96;
  SetU32(opt, countAt, 16);
  SetU32(opt, dirsAt + 16, sectionVA);
  SetU32(opt, dirsAt + 20, static_cast<uint32_t>(resource.empty() ? 16 : 88 + resource.size()));
  b += opt;
  std::string section(40, '\0');
  section.replace(0, 5, ".rsrc");
  SetU32(section, 8, static_cast<uint32_t>(rsrc.size()));
  SetU32(section, 12, sectionVA);
  SetU32(section, 16, static_cast<uint32_t>(rsrc.size()));
  SetU32(section, 20, sectionRaw);
  b += section;
  b.resize(sectionRaw, '\0');
  return b + rsrc;
}

}  // namespace zel_fixtures
