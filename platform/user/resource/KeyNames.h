/// \file
/// Virtual keys and their names, as accelerators show them ("Ctrl+O", "F12", "Del").
#pragma once

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"

enum : UINT {
#define ZEL_KEY(constant, value, name) constant = value,
#include "platform/user/resource/Keys.def"
#undef ZEL_KEY
};

/// The key's name ("A" for 'A', "7" for '7', "Page Up" for VK_PRIOR), copied into buffer
/// (at most size - 1 characters); answers the length copied, 0 for a key without a name.
ZEL_API int ZelGetKeyName(UINT virtualKey, LPSTR buffer, int size);
