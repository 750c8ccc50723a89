/// AfxFormatStrings: the class library's substitution of numbered placeholders.
#pragma once

#include "ZelExport.h"
#include "platform/base/string/String.h"

/// out = format with each "%1" to "%9" replaced by strings[0] to strings[8] and "%A" to
/// "%Z" by strings[9] on; a placeholder beyond count (or "%0") becomes "?", a null string
/// nothing. Every other character, '%' included, is kept.
ZEL_API void AfxFormatStrings(CString& out, const char* format, const char* const* strings,
                              int count);
