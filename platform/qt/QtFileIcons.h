/// \file
/// File icons from the desktop: the file name's MIME type (QMimeDatabase, by the name
/// alone) and its icon in the freedesktop icon theme (QIcon::fromTheme, the type's generic
/// icon when the theme lacks its own, the fixed list's icon when it lacks both). Icons go into two
/// image lists (small and large), each icon once.
#pragma once

#include <QHash>
#include <QString>

#include "ZelQtExport.h"
#include "platform/user/fileicons/FileIcons.h"

namespace zel_qt {

/// The file icons from the desktop's icon theme and MIME database.
class ZEL_QT_API QtFileIcons : public zel_shell::FileIconProvider {
 public:
  CImageList* ImageList(bool small) override;
  /// -1 only when neither the theme nor the fixed list has an icon for the name.
  int IconIndex(const std::string& fileName, bool isFolder, bool small) override;
  /// The type's description (QMimeType::comment), as UTF-8.
  std::string TypeName(const std::string& fileName, bool isFolder) override;

 private:
  int FixedIconIndex(const std::string& fileName, bool isFolder, bool small);

  CImageList m_small, m_large;
  QHash<QString, int> m_smallIndex, m_largeIndex;  ///< icon name to index
};

}  // namespace zel_qt
