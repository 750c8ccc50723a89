// Decoding a line for the screen: UTF-8 or Windows-1252 by the house rule, control bytes
// made visible, tabs expanded.
#include "cli/view/doc/LineText.h"

#include <algorithm>

#include "platform/base/string/Utf8.h"
#include "platform/os/shell/ByteSource.h"

namespace zel_view {

namespace {

constexpr int kTabStop = 8;

void PutCodePoint(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// An ASCII byte: a tab to the next stop, control bytes as their pictures.
void PutAscii(std::string& out, unsigned char b, size_t& column) {
  if (b == '\t') {
    const size_t spaces = kTabStop - column % kTabStop;
    out.append(spaces, ' ');
    column += spaces;
    return;
  }
  if (b < 0x20)
    PutCodePoint(out, 0x2400 + b);
  else if (b == 0x7F)
    PutCodePoint(out, 0x2421);
  else
    out += static_cast<char>(b);
  ++column;
}

// Whether the bytes read as UTF-8 (valid, with a multi-byte sequence); a line cut short may
// end inside a sequence, which *whole then leaves out.
bool IsUtf8(std::string_view bytes, bool cutShort, size_t* whole) {
  Utf8Check check;
  bool multiByte = false;
  size_t complete = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (!check.Add(static_cast<unsigned char>(bytes[i]))) return false;
    multiByte |= check.Completed();
    if (!check.InSequence()) complete = i + 1;
  }
  if (complete < bytes.size() && !cutShort) return false;
  *whole = complete;
  return multiByte;
}

}  // namespace

std::string ShowLine(std::string_view bytes, uint64_t more, bool* cut) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  size_t column = 0;
  size_t whole = bytes.size();
  if (IsUtf8(bytes, more > 0, &whole)) {
    more += bytes.size() - whole;
    for (size_t i = 0; i < whole;) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (b < 0x80) {
        PutAscii(out, b, column);
        ++i;
        continue;
      }
      const int n = Utf8SequenceAt(bytes.data() + i,
                                   static_cast<int>(std::min<size_t>(whole - i, 4)), nullptr);
      out.append(bytes.substr(i, static_cast<size_t>(n)));
      i += static_cast<size_t>(n);
      ++column;
    }
  } else {
    for (const char c : bytes) {
      const auto b = static_cast<unsigned char>(c);
      if (b < 0x80) {
        PutAscii(out, b, column);
        continue;
      }
      const char32_t code = ZelAnsiCharToUtf16(b);
      // The five bytes the code page leaves undefined come out as C1 controls, which
      // draw as nothing.
      PutCodePoint(out, code >= 0x80 && code <= 0x9F ? 0xFFFD : code);
      ++column;
    }
  }
  *cut = more > 0;
  if (more > 0) out += " \u2026 [" + std::to_string(more) + " more bytes]";
  return out;
}

}  // namespace zel_view
