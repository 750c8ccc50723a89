/// \file
/// File icons and type names, as the shell gives them for a file's name (the file need not
/// exist): one engine of the integration. The Qt set's asks the desktop's icon theme
/// through the name's MIME type; headless a fixed image list stands in, keyed by the
/// name's extension (compared without case):
///
///   0 any other file ("File")          6 .txt ("Text Document")
///   1 a folder ("Folder")              7 .ss ("Script")
///   2 .exe ("Application")             8 .gb .gbk .fa .fasta .embl .seq ("Sequence")
///   3 .tq ("Tool")                     9 .pdf ("PDF Document")
///   4 .url .htm .html ("Internet Shortcut") 10 .png .jpg .jpeg .gif .bmp .svg ("Image")
///   5 .lnk ("Shortcut")
///
/// each a page (a folder: a folder shape) in a colour of its own with a dark outline, 16
/// pixels square in the small list and 32 in the large one.
#pragma once

#include <string>

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"
#include "platform/user/gdi/ImageList.h"

enum : UINT {
  SHGFI_LARGEICON = 0x0000,
  SHGFI_SMALLICON = 0x0001,
  SHGFI_USEFILEATTRIBUTES = 0x0010,
  SHGFI_DISPLAYNAME = 0x0200,
  SHGFI_TYPENAME = 0x0400,
  SHGFI_SYSICONINDEX = 0x4000,
};
enum : DWORD { FILE_ATTRIBUTE_DIRECTORY = 0x10, FILE_ATTRIBUTE_NORMAL = 0x80 };

/// A file's icon, display name and type name, as SHGetFileInfo fills it in.
struct SHFILEINFO {
  HICON hIcon;
  int iIcon = 0;
  DWORD dwAttributes = 0;
  char szDisplayName[MAX_PATH] = {};
  char szTypeName[80] = {};
};

/// With SHGFI_SYSICONINDEX: the system image list (the CImageList's address) and in iIcon
/// the index of the path's icon; 0 when there is no icon for it. Without it: 1 when the
/// asked fields (display name: the path's last component; type name) were filled. The
/// path's name decides; with SHGFI_USEFILEATTRIBUTES, attributes says whether it is a
/// folder, else the file system does (a missing path is a file).
ZEL_API DWORD_PTR SHGetFileInfo(LPCSTR path, DWORD attributes, SHFILEINFO* info, UINT size,
                                UINT flags);

namespace zel_shell {

/// The engine that gives file icons and type names.
class ZEL_API FileIconProvider {
 public:
  virtual ~FileIconProvider() = default;
  /// The list of small (16) or large (32) icons.
  virtual CImageList* ImageList(bool small) = 0;
  /// The index of the icon the name calls for in that list; -1 when there is none.
  virtual int IconIndex(const std::string& fileName, bool isFolder, bool small) = 0;
  virtual std::string TypeName(const std::string& fileName, bool isFolder) = 0;
};

/// The headless file icons: drawn icons and type names for a few kinds of file, told by
/// the name alone.
class ZEL_API FixedFileIcons : public FileIconProvider {
 public:
  CImageList* ImageList(bool small) override;
  int IconIndex(const std::string& fileName, bool isFolder, bool small) override;
  std::string TypeName(const std::string& fileName, bool isFolder) override;

 private:
  CImageList m_small, m_large;
};

/// The installed integration's provider, else the fixed image list.
ZEL_API FileIconProvider& CurrentFileIcons();
/// The fixed image list of the headless set.
ZEL_API FixedFileIcons& FixedIcons();

}  // namespace zel_shell
