// PNG decoding through libpng's simplified interface, which checks every chunk and
// converts any colour type, palette and bit depth to one pixel format.
#include "platform/user/resource/Png.h"

#include <png.h>

#include <bit>
#include <cstring>

namespace zel_resource {

std::error_code DecodePng(const std::string& bytes, Image& image, std::string* detail) {
  image = Image();
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  auto fail = [&] {
    if (detail) *detail = png.message;
    png_image_free(&png);
    image = Image();
    return std::make_error_code(std::errc::invalid_argument);
  };
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return fail();
  // Toolbars and icons are small; a huge declared size is a damaged or hostile file.
  if (png.width == 0 || png.height == 0 || png.width > 16384 || png.height > 16384 ||
      static_cast<uint64_t>(png.width) * png.height > (1u << 26)) {
    std::strcpy(png.message, "image too large");
    return fail();
  }
  // Bytes whose 32-bit word reads 0xAARRGGBB on this machine.
  png.format = std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.pixels.resize(static_cast<size_t>(png.width) * png.height);
  if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return fail();
  return {};
}

}  // namespace zel_resource
