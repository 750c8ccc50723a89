// PNG files made in code for the tests: pixels (0xAARRGGBB, rows top to bottom) written
// through libpng, and painted shapes to fill them with.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace zel_test {

inline std::string PngBytes(int width, int height, const std::vector<uint32_t>& pixels) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_BGRA;  // a little-endian 0xAARRGGBB word
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  std::string bytes(size, '\0');
  png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr);
  bytes.resize(size);
  return bytes;
}

// A strip of count images of w by h, image i filled with colours[i] (0xAARRGGBB) inside a
// one-pixel border of border (a colour, or 0 for transparent).
inline std::string ToolbarPng(int w, int h, const std::vector<uint32_t>& colours,
                              uint32_t border = 0) {
  const int count = static_cast<int>(colours.size());
  std::vector<uint32_t> px(static_cast<size_t>(w * count) * h, 0);
  for (int i = 0; i < count; ++i)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
        px[static_cast<size_t>(y) * w * count + i * w + x] = edge ? border : colours[i];
      }
  return PngBytes(w * count, h, px);
}

}  // namespace zel_test
