/// \file
/// The library's one UTF-8 decoder: a check that takes one byte at a time (for text that
/// arrives in pieces, as a device's text calls do), and the sequence at a place in a buffer.
#pragma once
#include "ZelExport.h"

/// Checks bytes for UTF-8 one at a time. Overlong forms, surrogates and values past
/// U+10FFFF are not UTF-8.
class ZEL_API Utf8Check {
 public:
  /// Takes the next byte; false from the first byte that cannot continue valid UTF-8 on.
  bool Add(unsigned char byte);
  /// Something other than text comes between the bytes: a sequence left open cannot be
  /// completed any more.
  void Break();
  /// Whether a lead byte still waits for its continuation bytes.
  bool InSequence() const { return m_more > 0; }
  /// Whether a sequence has just been completed, and its code point.
  bool Completed() const { return m_valid && m_more == 0 && m_length > 0; }
  char32_t CodePoint() const { return m_code; }
  /// Whether all bytes so far are complete, valid UTF-8 with a multi-byte sequence.
  bool IsUtf8() const { return m_valid && m_more == 0 && m_multiByte; }

 private:
  bool m_valid = true;
  bool m_multiByte = false;
  int m_more = 0;    ///< continuation bytes still wanted
  int m_length = 0;  ///< continuation bytes of the sequence in hand (0 after a single byte)
  char32_t m_code = 0;
};

/// The length of the valid UTF-8 multi-byte sequence at text (count bytes available), 0
/// when none starts there; code receives its code point.
ZEL_API int Utf8SequenceAt(const char* text, int count, char32_t* code);
