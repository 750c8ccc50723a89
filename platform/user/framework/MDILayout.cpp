// The geometry of MDI Cascade and Tile.
#include <algorithm>
#include <cmath>

#include "platform/user/framework/MDILayoutInternal.h"

namespace zel_afx {

std::vector<RECT> CascadeRects(const RECT& area, size_t count, int step) {
  std::vector<RECT> rects;
  if (count == 0) return rects;
  step = std::max(step, 1);
  const LONG width = area.right - area.left, height = area.bottom - area.top;
  const size_t k = std::max<size_t>(
      1, std::min({count, static_cast<size_t>(std::max<LONG>(width / 2 / step, 0)) + 1,
                   static_cast<size_t>(std::max<LONG>(height / 2 / step, 0)) + 1}));
  const LONG span = static_cast<LONG>(k - 1) * step;
  for (size_t i = 0; i < count; ++i) {
    const LONG offset = static_cast<LONG>(i % k) * step;
    const LONG x = area.left + offset, y = area.top + offset;
    rects.push_back(RECT{x, y, x + width - span, y + height - span});
  }
  return rects;
}

std::vector<RECT> TileRects(const RECT& area, size_t count, bool sideBySide) {
  std::vector<RECT> rects;
  if (count == 0) return rects;
  const size_t lines =
      count <= 3 ? count : static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(count))));
  // Along the lines (columns side by side, else rows) and across each line.
  const LONG along = sideBySide ? area.right - area.left : area.bottom - area.top;
  const LONG across = sideBySide ? area.bottom - area.top : area.right - area.left;
  const size_t base = count / lines, longer = count % lines;
  for (size_t line = 0; line < lines; ++line) {
    const size_t cells = base + (line >= lines - longer ? 1 : 0);
    const LONG a0 = static_cast<LONG>(along * static_cast<long long>(line) / lines);
    const LONG a1 = static_cast<LONG>(along * static_cast<long long>(line + 1) / lines);
    for (size_t cell = 0; cell < cells; ++cell) {
      const LONG c0 = static_cast<LONG>(across * static_cast<long long>(cell) / cells);
      const LONG c1 = static_cast<LONG>(across * static_cast<long long>(cell + 1) / cells);
      rects.push_back(sideBySide
                          ? RECT{area.left + a0, area.top + c0, area.left + a1, area.top + c1}
                          : RECT{area.left + c0, area.top + a0, area.left + c1, area.top + a1});
    }
  }
  return rects;
}

}  // namespace zel_afx
