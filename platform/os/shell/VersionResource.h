/// \file
/// The version resource of a program file (PE, 32 or 64 bit), read from the file itself:
/// the resource directory is walked to the version resource (type 16, its first name and
/// first language), which is then searched as the platform's version queries search it.
/// Every offset and size is checked against the file and against the enclosing block.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ZelExport.h"
#include "platform/base/string/String.h"
#include "platform/os/shell/ByteSource.h"

/// Version resources larger than this are not believed.
constexpr uint32_t ZEL_MAX_VERSION_RESOURCE = 1 << 20;

/// The raw version resource; false when the file is no PE file or has none.
ZEL_API bool ZelReadVersionResource(const ZelByteSource& file, std::string& resource);

/// Looks up a block path such as "\VarFileInfo\Translation" or
/// "\StringFileInfo\040904B0\ProductName" (keys compare without regard to case), as
/// VerQueryValue does. value gets the value's bytes: for a text value (type 1) its UTF-16
/// units without the terminator, else wValueLength bytes. False when a block is missing or
/// malformed.
ZEL_API bool ZelQueryVersionValue(std::string_view resource, const char* subBlock,
                                  std::string& value, bool& isText);

/// The product name as the tool reader asks for it: the first translation when the
/// translation table is exactly one entry (4 bytes), else userLanguage with code page
/// 04B0. False when there is no such string.
ZEL_API bool ZelVersionProductName(std::string_view resource, uint16_t userLanguage, CString& name);
