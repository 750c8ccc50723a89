/// \file
/// The system's stock icons drawn on a device, from the pixels the system values give.
#pragma once

#include "ZelExport.h"
#include "platform/user/gdi/DC.h"
#include "platform/user/system/SystemValues.h"

namespace zel_gdi {

/// Draws the system's icon with its top-left corner at (x, y), size pixels square,
/// blended with what is there; false for a size below 1.
ZEL_API bool DrawStockIcon(CDC* dc, zel_system::StockIcon icon, int x, int y, int size);

}  // namespace zel_gdi
