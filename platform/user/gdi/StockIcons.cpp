// The system's stock icons drawn on a device.
#include "platform/user/gdi/StockIcons.h"

#include "platform/user/gdi/ImageList.h"

namespace zel_gdi {

bool DrawStockIcon(CDC* dc, zel_system::StockIcon icon, int x, int y, int size) {
  CImageList list;
  if (!dc || !list.Create(size, size)) return false;
  list.Add(zel_system::Current().IconPixels(icon, size).data());
  return list.Draw(dc, 0, POINT{x, y}, ILD_TRANSPARENT);
}

}  // namespace zel_gdi
