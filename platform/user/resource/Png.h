/// \file
/// PNG images decoded with libpng into 32-bit pixels (0xAARRGGBB, not premultiplied, rows
/// top to bottom): the alpha channel is the image's mask.
#pragma once

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "ZelExport.h"

namespace zel_resource {

/// A decoded image: its size and its pixels.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

/// Decodes the bytes of a PNG file; on failure (not PNG, damaged, too large) the reason is
/// answered (invalid_argument, libpng's message in *detail when given) and image is left
/// empty.
ZEL_API std::error_code DecodePng(const std::string& bytes, Image& image,
                                  std::string* detail = nullptr);

}  // namespace zel_resource
