// A rich text line drawn into a PNG, SVG or PDF file just big enough for it, on white,
// at 96 dots per inch, by the installed picture backend.
#pragma once

#include <string>

#include "platform/base/types/WinTypes.h"

namespace zel_cli {

struct RenderedPicture {
  bool ok = false;
  std::string error;  // why the picture could not be made or written
  int width = 0, height = 0;
  int status = 0;  // the line's status
};

// Draws text (markup) with font, selected as callers select it, at margin pixels from
// each edge into path.
RenderedPicture RenderRichTextLine(const std::string& text, const LOGFONT& font, int margin,
                                   const std::string& path);

}  // namespace zel_cli
