// File icons: the call of the shell, and the fixed image list that stands in headless.
#include "platform/user/fileicons/FileIcons.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/base/string/String.h"
#include "platform/os/fs/FileSystem.h"
#include "platform/user/integration/Integration.h"

namespace zel_shell {
namespace {

struct Kind {
  const char* typeName;
  uint32_t colour;         // 0xRRGGBB
  const char* extensions;  // ";ext;ext;"
};
constexpr Kind kKinds[] = {
    {"File", 0xD0D0D0, ""},
    {"Folder", 0xF2C744, ""},
    {"Application", 0x3C78D8, ";exe;"},
    {"Tool", 0x3FA34D, ";tq;"},
    {"Internet Shortcut", 0x2BB5C8, ";url;htm;html;"},
    {"Shortcut", 0xF08A24, ";lnk;"},
    {"Text Document", 0xFFFFFF, ";txt;"},
    {"Script", 0x8E5BC2, ";ss;"},
    {"Sequence", 0xD33A3A, ";gb;gbk;fa;fasta;embl;seq;"},
    {"PDF Document", 0x9B1C1C, ";pdf;"},
    {"Image", 0xD64FB4, ";png;jpg;jpeg;gif;bmp;svg;"},
};
constexpr int kKindCount = static_cast<int>(sizeof kKinds / sizeof kKinds[0]);

int KindOf(const std::string& name, bool isFolder) {
  if (isFolder) return 1;
  const size_t slash = name.find_last_of("/\\");
  const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
  const size_t dot = base.rfind('.');
  if (dot == std::string::npos || dot + 1 == base.size()) return 0;
  const std::string ext = ";" + ZelAsciiLowered(base.substr(dot + 1)) + ";";
  for (int i = 2; i < kKindCount; ++i)
    if (std::strstr(kKinds[i].extensions, ext.c_str())) return i;
  return 0;
}

// A page with a folded corner, or a folder, size pixels square, in the kind's colour.
std::vector<uint32_t> Draw(int kind, int size) {
  std::vector<uint32_t> px(static_cast<size_t>(size) * size, 0);
  const uint32_t fill = 0xFF000000u | kKinds[kind].colour, line = 0xFF303030u;
  const int m = size / 8, fold = size / 4;
  auto inside = [&](int x, int y) {
    if (kind == 1)
      return x >= m / 2 && x < size - m / 2 && y >= size / 4 && y < size - m &&
             !(y < size / 4 + m && x > size / 2);
    return x >= m && x < size - m && y >= m / 2 && y < size - m / 2 &&
           !(x >= size - m - fold && y < m / 2 + fold && (x - (size - m - fold)) > (y - m / 2));
  };
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      if (!inside(x, y)) continue;
      const bool edge =
          !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      px[static_cast<size_t>(y) * size + x] = edge ? line : fill;
    }
  return px;
}

std::mutex g_fixedMutex;

}  // namespace

FixedFileIcons& FixedIcons() {
  static FixedFileIcons fixed;
  return fixed;
}

CImageList* FixedFileIcons::ImageList(bool small) {
  std::lock_guard lock(g_fixedMutex);
  CImageList& list = small ? m_small : m_large;
  if (list.GetImageCount() == 0) {
    const int size = small ? 16 : 32;
    list.Create(size, size);
    for (int k = 0; k < kKindCount; ++k) list.Add(Draw(k, size).data());
  }
  return &list;
}

int FixedFileIcons::IconIndex(const std::string& fileName, bool isFolder, bool) {
  return KindOf(fileName, isFolder);
}

std::string FixedFileIcons::TypeName(const std::string& fileName, bool isFolder) {
  return kKinds[KindOf(fileName, isFolder)].typeName;
}

FileIconProvider& CurrentFileIcons() {
  FileIconProvider* installed = zel_user::InstalledEngine<FileIconProvider>();
  return installed ? *installed : FixedIcons();
}

}  // namespace zel_shell

DWORD_PTR SHGetFileInfo(LPCSTR path, DWORD attributes, SHFILEINFO* info, UINT, UINT flags) {
  if (!path || !info) return 0;
  const std::string name = path;
  const bool folder = (flags & SHGFI_USEFILEATTRIBUTES)
                          ? (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                          : zel_fs::KindOf(path) == ZelPathKind::Directory;
  zel_shell::FileIconProvider& icons = zel_shell::CurrentFileIcons();
  if (flags & SHGFI_DISPLAYNAME) {
    const size_t slash = name.find_last_of("/\\");
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    std::snprintf(info->szDisplayName, sizeof info->szDisplayName, "%s", base.c_str());
  }
  if (flags & SHGFI_TYPENAME)
    std::snprintf(info->szTypeName, sizeof info->szTypeName, "%s",
                  icons.TypeName(name, folder).c_str());
  if (!(flags & SHGFI_SYSICONINDEX)) return 1;
  const bool small = flags & SHGFI_SMALLICON;
  CImageList* list = icons.ImageList(small);
  const int index = icons.IconIndex(name, folder, small);
  if (!list || index < 0) return 0;
  info->iIcon = index;
  return reinterpret_cast<DWORD_PTR>(list);
}
