/// \class QtPictureBackend
/// The Qt picture backend: images in memory, PNG through QImage, SVG through QSvgGenerator,
/// PDF through QPdfWriter, all at 96 dots per inch and drawn by CQtDC: the picture engine
/// of the Qt set (QtIntegration.h).
#pragma once

#include "ZelQtExport.h"
#include "platform/user/gdi/PictureBackend.h"

class ZEL_QT_API QtPictureBackend : public PictureBackend {
 public:
  static constexpr int kDotsPerInch = 96;

  bool CanWrite(const std::string& path) const override;
  std::unique_ptr<Picture> NewPicture(const std::string& path, int width, int height,
                                      std::string* error) override;
};
