/// \file
/// The system's metrics, colours and fonts from Qt on a desktop: the style's metrics, the
/// palette, the application's fonts. Headless (Qt's offscreen or minimal platform) the
/// fixed values answer, so that pictures and sizes stay reproducible.
#pragma once

#include <QFont>

#include "ZelQtExport.h"
#include "platform/user/system/SystemValues.h"

namespace zel_qt {

/// Whether Qt runs without a display (the offscreen or minimal platform).
ZEL_QT_API bool IsHeadless();
/// A system colour (COLOR_ index): the palette's on a desktop, the fixed one headless.
ZEL_QT_API COLORREF SystemColor(int index);
/// A Qt font as a font description: the pixel height as a negative character height.
ZEL_QT_API LOGFONT LogFontOf(const QFont& font);

/// The system values answered from Qt's style, palette and fonts.
class ZEL_QT_API QtSystemValues : public zel_system::SystemValues {
 public:
  int Metric(int index) const override;
  COLORREF Color(int index) const override { return SystemColor(index); }
  LOGFONT SystemFont(zel_system::Font which) const override;
  /// The style's information icon on a desktop.
  std::vector<uint32_t> IconPixels(zel_system::StockIcon icon, int size) const override;
};

}  // namespace zel_qt
