/// \file
/// The suite's 8-bit text as Unicode for Qt: Windows-1252, or UTF-8 where the bytes are
/// valid UTF-8 holding a multi-byte sequence; symbol-charset fonts through their own table.
#pragma once

#include <QString>

#include "ZelQtExport.h"
#include "platform/base/types/WinTypes.h"
#include "platform/user/gdi/TextBytes.h"

namespace zel_qt {

/// Whether bytes are valid UTF-8 with at least one multi-byte sequence.
ZEL_QT_API bool LooksLikeUtf8(const char* text, int count);
/// The code point Windows-1252 gives a byte (0x80-0x9F: quotes, bullet, dashes, ...).
ZEL_QT_API char16_t FromWindows1252(unsigned char byte);
/// The code point a byte stands for in a symbol-charset face ("Wingdings" by its own
/// table, every other by the Symbol face's), or 0 when the table has none.
ZEL_QT_API char16_t FromSymbolFont(const char* face, unsigned char byte);

/// Text as a font of this description shows it, its bytes read as how says.
ZEL_QT_API QString ToUnicode(const char* text, int count, const LOGFONT& font,
                             TextBytes how = TextBytes::kEachCall);
/// One byte as that font shows it.
ZEL_QT_API QChar ToUnicode(unsigned char byte, const LOGFONT& font);

}  // namespace zel_qt
