/// \file
/// How a device that draws Unicode reads the 8-bit bytes of its text calls.
#pragma once

#include "platform/base/string/Utf8.h"

/// What the bytes of a text call are taken to be (symbol-charset fonts read them through
/// their own table whatever this says).
enum class TextBytes {
  kEachCall,     ///< each call decides: UTF-8 when valid and holding a multi-byte sequence
  kWindows1252,  ///< every byte by Windows-1252
  kUtf8,         ///< UTF-8 sequences as such, a byte that starts none by Windows-1252
};
