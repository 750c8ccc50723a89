// 8-bit text as Unicode: Windows-1252, UTF-8 and the symbol faces' tables.
#include "platform/qt/QtText.h"

#include <cstring>

#include "platform/base/types/GdiTypes.h"
#include "platform/os/shell/ByteSource.h"

namespace zel_qt {
namespace {

// The Symbol face's letters are Greek, A to Z and a to z.
constexpr char16_t kSymbolUpper[26] = {0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,
                                       0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D,
                                       0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5,
                                       0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396};
constexpr char16_t kSymbolLower[26] = {0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
                                       0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD,
                                       0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5,
                                       0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6};

struct Pair {
  unsigned char byte;
  char16_t code;
};
constexpr Pair kSymbolOther[] = {{0xA3, 0x2264}, {0xA5, 0x221E}, {0xAB, 0x2194}, {0xAC, 0x2190},
                                 {0xAD, 0x2191}, {0xAE, 0x2192}, {0xAF, 0x2193}, {0xB0, 0x00B0},
                                 {0xB1, 0x00B1}, {0xB3, 0x2265}, {0xB4, 0x00D7}, {0xB5, 0x221D},
                                 {0xB7, 0x2022}, {0xB8, 0x00F7}, {0xB9, 0x2260}, {0xBA, 0x2261},
                                 {0xBB, 0x2248}, {0xBC, 0x2026}, {0xD6, 0x221A}, {0xE5, 0x2211}};
constexpr Pair kWingdings[] = {{0x6C, 0x25CF}, {0x6E, 0x25A0}, {0x9F, 0x2022},
                               {0xA1, 0x25CB}, {0xA8, 0x2610}, {0xFB, 0x2717},
                               {0xFC, 0x2713}, {0xFD, 0x2612}, {0xFE, 0x2611}};

template <size_t N>
char16_t Look(const Pair (&table)[N], unsigned char byte) {
  for (const Pair& p : table)
    if (p.byte == byte) return p.code;
  return 0;
}

}  // namespace

bool LooksLikeUtf8(const char* text, int count) {
  Utf8Check check;
  for (int i = 0; i < count; ++i)
    if (!check.Add(static_cast<unsigned char>(text[i]))) return false;
  return check.IsUtf8();
}

char16_t FromWindows1252(unsigned char byte) { return ZelAnsiCharToUtf16(byte); }

char16_t FromSymbolFont(const char* face, unsigned char byte) {
  if (face && std::strncmp(face, "Wingdings", LF_FACESIZE) == 0) return Look(kWingdings, byte);
  if (byte >= 'A' && byte <= 'Z') return kSymbolUpper[byte - 'A'];
  if (byte >= 'a' && byte <= 'z') return kSymbolLower[byte - 'a'];
  return Look(kSymbolOther, byte);
}

QChar ToUnicode(unsigned char byte, const LOGFONT& font) {
  if (font.lfCharSet == SYMBOL_CHARSET) {
    if (char16_t code = FromSymbolFont(font.lfFaceName, byte)) return QChar(code);
  }
  return QChar(FromWindows1252(byte));
}

QString ToUnicode(const char* text, int count, const LOGFONT& font, TextBytes how) {
  if (count <= 0) return QString();
  if (font.lfCharSet == SYMBOL_CHARSET || how == TextBytes::kWindows1252 ||
      (how == TextBytes::kEachCall && !LooksLikeUtf8(text, count))) {
    QString out(count, Qt::Uninitialized);
    QChar* data = out.data();
    for (int i = 0; i < count; ++i) data[i] = ToUnicode(static_cast<unsigned char>(text[i]), font);
    return out;
  }
  if (how == TextBytes::kEachCall) return QString::fromUtf8(text, count);
  // Read as UTF-8 for the whole line: a byte outside every sequence is one the markup
  // made (a quote, a dash, a bullet) or one left by a broken sequence.
  QString out;
  out.reserve(count);
  for (int i = 0; i < count;) {
    char32_t code = 0;
    if (const int length = Utf8SequenceAt(text + i, count - i, &code)) {
      out += QString::fromUcs4(&code, 1);
      i += length;
    } else {
      out += QChar(FromWindows1252(static_cast<unsigned char>(text[i++])));
    }
  }
  return out;
}

}  // namespace zel_qt
