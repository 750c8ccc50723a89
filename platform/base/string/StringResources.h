/// \file
/// The string resources of the module: texts by number. On this platform there is no
/// resource script compiled into the binary; the host registers its texts at start-up.
#pragma once

#include "ZelExport.h"
#include "platform/base/string/String.h"

/// Adds or replaces the text of id (null removes it).
ZEL_API void AfxSetStringResource(UINT id, const char* text);
/// 1 and the text of id, or 0 and an empty text when there is none.
ZEL_API BOOL AfxLoadString(UINT id, CString& text);
