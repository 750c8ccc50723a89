// Reading parts of an open regular file by offset, beside the file object's own position and
// buffer: threads may each read their part of one file at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>

#include "platform/base/types/WinTypes.h"

namespace zel_file {

// The size of the file behind h when it is a regular file; false for a pipe, a terminal or
// a device, whose bytes can only be read in turn.
bool RegularFileSize(HANDLE h, uint64_t& size);

// Up to n bytes at offset into buf; got is 0 at the end of the file.
std::error_code ReadSomeAt(HANDLE h, void* buf, size_t n, uint64_t offset, size_t& got);

}  // namespace zel_file
