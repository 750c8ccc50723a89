// The bitmap table and the built-in check mark.
#include "platform/user/gdi/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "platform/user/system/SystemValues.h"

namespace {

struct Bits {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

struct Table {
  std::mutex mutex;
  std::unordered_map<uintptr_t, Bits> bitmaps;
  uintptr_t serial = 0;
};
Table& TheTable() {
  static Table table;
  return table;
}

}  // namespace

HBITMAP CreateBitmap32(int width, int height, const uint32_t* pixels) {
  if (width < 1 || height < 1) return HBITMAP();
  Bits b;
  b.width = width;
  b.height = height;
  const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (pixels)
    b.pixels.assign(pixels, pixels + n);
  else
    b.pixels.assign(n, 0);
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  HBITMAP h(0x200000 + ++t.serial);
  t.bitmaps.emplace(h.value, std::move(b));
  return h;
}

BOOL DeleteBitmap(HBITMAP bitmap) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  return t.bitmaps.erase(bitmap.value) ? TRUE : FALSE;
}

BOOL GetBitmapDimension(HBITMAP bitmap, SIZE* size) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  auto it = t.bitmaps.find(bitmap.value);
  if (it == t.bitmaps.end() || !size) return FALSE;
  *size = SIZE{it->second.width, it->second.height};
  return TRUE;
}

BOOL GetBitmapPixels(HBITMAP bitmap, std::vector<uint32_t>& pixels) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  auto it = t.bitmaps.find(bitmap.value);
  if (it == t.bitmaps.end()) return FALSE;
  pixels = it->second.pixels;
  return TRUE;
}

BOOL SetBitmapPixels(HBITMAP bitmap, const uint32_t* pixels) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  auto it = t.bitmaps.find(bitmap.value);
  if (it == t.bitmaps.end() || !pixels) return FALSE;
  std::copy(pixels, pixels + it->second.pixels.size(), it->second.pixels.begin());
  return TRUE;
}

HBITMAP SystemCheckBitmap() {
  static const HBITMAP check = [] {
    const int w = std::max(GetSystemMetrics(SM_CXMENUCHECK), 7);
    const int h = std::max(GetSystemMetrics(SM_CYMENUCHECK), 7);
    std::vector<uint32_t> px(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    // A tick two pixels thick: down from the left third to the bottom point, then up to
    // the top right, inside a margin of a quarter.
    const int left = w / 4, right = w - 1 - w / 4, bottom = h - 1 - h / 4, top = h / 4;
    const int low = left + (right - left) / 3;
    auto plot = [&](int x, int y) {
      for (int dy = 0; dy < 2; ++dy)
        if (x >= 0 && x < w && y + dy >= 0 && y + dy < h)
          px[static_cast<size_t>(y + dy) * w + x] = 0xFF000000u;
    };
    for (int x = left; x <= right; ++x) {
      int y = x <= low ? bottom - (low - x) : bottom - (x - low) * (bottom - top) / (right - low);
      plot(x, y);
    }
    return CreateBitmap32(w, h, px.data());
  }();
  return check;
}
