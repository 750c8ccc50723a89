// The UTF-8 decoder.
#include "platform/base/string/Utf8.h"

namespace {

// The least code point each length may carry: anything below is an overlong form.
constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};

}  // namespace

bool Utf8Check::Add(unsigned char byte) {
  if (!m_valid) return false;
  if (m_more == 0) {
    m_length = 0;
    m_code = byte;
    if (byte < 0x80) return true;
    if ((byte & 0xE0) == 0xC0) {
      m_more = 1;
      m_code = byte & 0x1F;
    } else if ((byte & 0xF0) == 0xE0) {
      m_more = 2;
      m_code = byte & 0x0F;
    } else if ((byte & 0xF8) == 0xF0) {
      m_more = 3;
      m_code = byte & 0x07;
    } else {
      return m_valid = false;
    }
    m_length = m_more;
    return true;
  }
  if ((byte & 0xC0) != 0x80) return m_valid = false;
  m_code = (m_code << 6) | (byte & 0x3F);
  if (--m_more > 0) return true;
  if (m_code < kLeast[m_length] || m_code > 0x10FFFF || (m_code >= 0xD800 && m_code <= 0xDFFF))
    return m_valid = false;
  m_multiByte = true;
  return true;
}

void Utf8Check::Break() {
  if (m_more > 0) m_valid = false;
}

int Utf8SequenceAt(const char* text, int count, char32_t* code) {
  if (count <= 0 || static_cast<unsigned char>(text[0]) < 0x80) return 0;
  Utf8Check check;
  for (int i = 0; i < count && i < 4; ++i) {
    if (!check.Add(static_cast<unsigned char>(text[i]))) return 0;
    if (check.Completed()) {
      if (code) *code = check.CodePoint();
      return i + 1;
    }
  }
  return 0;
}
