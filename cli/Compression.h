// What zel says of compressed files: the compression's name in JSON, and why a file of a
// compressor that is not read is refused.
#pragma once

#include <string>

#include "cli/Output.h"
#include "platform/base/compress/Contents.h"

namespace zel_cli {

// "PATH: bzip2 compressed data is not read (gzip and BGZF are)", naming the compressor.
std::string CompressionRefused(const std::string& path, ZelCompression compression);
// "gzip" or "bgzf"; null for a plain file.
Json CompressionJson(ZelCompression compression);

}  // namespace zel_cli
