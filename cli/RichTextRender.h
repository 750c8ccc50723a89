// A rich text line drawn on the Qt device into a PNG, SVG or PDF file just big enough
// for it, on white, at 96 dots per inch.
#pragma once

#include <string>

#include "platform/afx/WinTypes.h"

namespace zel_cli {

// The picture formats by file name extension (case ignored); false for another one.
bool IsPictureName(const std::string& path);

struct RenderedPicture {
  bool ok = false;
  std::string error;  // why the file could not be written
  int width = 0, height = 0;
  int status = 0;  // the line's status
};

// Draws text (markup) with font at margin pixels from each edge into path.
RenderedPicture RenderRichTextLine(const std::string& text, const LOGFONT& font, int margin,
                                   const std::string& path);

}  // namespace zel_cli
