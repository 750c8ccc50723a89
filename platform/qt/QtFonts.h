/// \file
/// Font descriptions made into Qt fonts: the face through a table of metric-compatible
/// stand-ins, character heights as pixel sizes, cell heights fitted, and the metrics a
/// device reports, in device pixels.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <memory>

#include "ZelQtExport.h"
#include "platform/base/types/GdiTypes.h"
#include "platform/base/types/WinTypes.h"

namespace zel_qt {

/// A font description made into a Qt font, with the metrics the device reports for it.
struct RealizedFont {
  LOGFONT logFont;
  QFont font;
  QFontMetricsF metrics{QFont()};
  int ascent = 0;
  int descent = 0;
  int pixelSize = 0;
  int averageWidth = 0;
  int maxWidth = 0;
  bool abcKnown[256] = {};
  ABC abc[256];
};

/// The family a face name is drawn with: the face itself when installed; else its
/// metric-compatible Liberation face (Arial and the other sans faces: Liberation Sans;
/// Times New Roman and the serif faces: Liberation Serif; Courier New, Courier: Liberation
/// Mono), a Liberation face by the pitch and family byte for an unknown or empty name,
/// DejaVu Sans for symbol faces, and DejaVu Sans whenever the chosen one is missing.
ZEL_QT_API QString ResolveFamily(const LOGFONT& font);

/// The Qt font for a description, shared and cached: a negative height is the character
/// (pixel) height, a positive one the cell height (ascent plus descent, fitted), 0 a cell
/// of 16; weight, italic, underline, strike-out and pitch as described; a positive width
/// stretches the face to that average character width.
ZEL_QT_API std::shared_ptr<RealizedFont> RealizeFont(const LOGFONT& font);

}  // namespace zel_qt
