// What zel says of compressed files.
#include "cli/Compression.h"

namespace zel_cli {

std::string CompressionRefused(const std::string& path, ZelCompression compression) {
  const char* name = ZelCompressionName(compression);
  return path + ": " + (name ? name : "unknown") +
         " compressed data is not read (gzip and BGZF are)";
}

Json CompressionJson(ZelCompression compression) {
  const char* name = ZelCompressionName(compression);
  return name ? Json(name) : Json(nullptr);
}

}  // namespace zel_cli
