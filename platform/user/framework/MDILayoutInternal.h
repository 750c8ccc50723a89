// Where MDI Cascade and Tile put a frame's children: pure geometry, in the MDI client's
// coordinates, one rectangle per child in the order given.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/base/types/WinTypes.h"

namespace zel_afx {

// Cascade: window i sits step pixels right of and below window i - 1, all of one size,
// the last one's bottom-right corner at the area's. After k windows the cascade starts
// again at the top-left corner, k chosen so that each window keeps at least half the
// area's width and height: k = min(count, (width / 2) / step + 1, (height / 2) / step + 1);
// the size is the area less (k - 1) steps.
std::vector<RECT> CascadeRects(const RECT& area, size_t count, int step);

// Tile: sideBySide (MDITILE_VERTICAL) puts the windows in columns, filled top to bottom,
// one column per window up to three windows, else ceil(sqrt(count)) columns; the columns
// share the width, and the windows of a column its height. When the windows do not divide
// evenly, the rightmost columns take one more. Otherwise (MDITILE_HORIZONTAL) the same
// with rows and columns exchanged. Edges meet: a cell runs from area * i / n to
// area * (i + 1) / n.
std::vector<RECT> TileRects(const RECT& area, size_t count, bool sideBySide);

}  // namespace zel_afx
