// File icons through the MIME database and the icon theme.
#include "platform/qt/QtFileIcons.h"

#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <QPixmap>
#include <vector>

#include "platform/qt/QtApplication.h"

namespace zel_qt {
namespace {

QMimeType TypeOf(const std::string& fileName, bool isFolder) {
  QMimeDatabase db;
  if (isFolder) return db.mimeTypeForName(QStringLiteral("inode/directory"));
  return db.mimeTypeForFile(QString::fromUtf8(fileName.c_str()), QMimeDatabase::MatchExtension);
}

}  // namespace

CImageList* QtFileIcons::ImageList(bool small) {
  CImageList& list = small ? m_small : m_large;
  if (list.Width() == 0) list.Create(small ? 16 : 32, small ? 16 : 32);
  return &list;
}

int QtFileIcons::IconIndex(const std::string& fileName, bool isFolder, bool small) {
  EnsureApplication();
  const QMimeType type = TypeOf(fileName, isFolder);
  QString name = type.iconName();
  QIcon icon = QIcon::fromTheme(name);
  if (icon.isNull()) {
    name = type.genericIconName();
    icon = QIcon::fromTheme(name);
  }
  QHash<QString, int>& index = small ? m_smallIndex : m_largeIndex;
  if (icon.isNull()) return FixedIconIndex(fileName, isFolder, small);
  if (auto it = index.constFind(name); it != index.constEnd()) return *it;
  CImageList* list = ImageList(small);
  const QSize size(list->Width(), list->Height());
  // Non-premultiplied 32-bit pixels are the list's own form, 0xAARRGGBB.
  QImage image = icon.pixmap(size).toImage().scaled(size).convertToFormat(QImage::Format_ARGB32);
  std::vector<uint32_t> pixels(static_cast<size_t>(size.width()) * size.height());
  for (int y = 0; y < size.height(); ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    std::copy(row, row + size.width(), pixels.begin() + static_cast<ptrdiff_t>(y) * size.width());
  }
  const int at = list->Add(pixels.data());
  index.insert(name, at);
  return at;
}

int QtFileIcons::FixedIconIndex(const std::string& fileName, bool isFolder, bool small) {
  // A desktop without an icon theme (a bare window manager names none, and Qt's own
  // fallback has no types' icons) would leave tools and files without any icon.
  zel_shell::FixedFileIcons& fixed = zel_shell::FixedIcons();
  const int at = fixed.IconIndex(fileName, isFolder, small);
  if (at < 0) return -1;
  const QString name = QStringLiteral("zel-fixed-%1").arg(at);
  QHash<QString, int>& index = small ? m_smallIndex : m_largeIndex;
  if (auto it = index.constFind(name); it != index.constEnd()) return *it;
  const int added = ImageList(small)->Add(fixed.ImageList(small)->Pixels(at).data());
  index.insert(name, added);
  return added;
}

std::string QtFileIcons::TypeName(const std::string& fileName, bool isFolder) {
  EnsureApplication();
  return TypeOf(fileName, isFolder).comment().toStdString();
}

}  // namespace zel_qt
