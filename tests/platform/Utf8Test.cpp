// The UTF-8 decoder: which sequences it takes, whole or a byte at a time.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/string/Utf8.h"

namespace {

TEST(Utf8, SequencesAreDecodedOrRefusedWholeAndByteByByte) {
  struct Case {
    const char* what;
    std::string bytes;
    int length;  // of the sequence at the start, 0 for none
    char32_t code;
  } cases[] = {
      {"ASCII starts no sequence", "A", 0, 0},
      {"two bytes", "\xC3\xA9", 2, 0xE9},
      {"three bytes", "\xE2\x82\xAC", 3, 0x20AC},
      {"four bytes", "\xF0\x9F\x92\xA9", 4, 0x1F4A9},
      {"the last code point", "\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
      {"only the first sequence counts", "\xC3\xA9\xC3\xA9", 2, 0xE9},
      {"overlong two", "\xC0\x80", 0, 0},
      {"overlong two, highest", "\xC1\xBF", 0, 0},
      {"overlong three", "\xE0\x9F\xBF", 0, 0},
      {"overlong four", "\xF0\x8F\xBF\xBF", 0, 0},
      {"a surrogate", "\xED\xA0\x80", 0, 0},
      {"past U+10FFFF", "\xF4\x90\x80\x80", 0, 0},
      {"a lead byte past F4", "\xF5\x80\x80\x80", 0, 0},
      {"a lone continuation byte", "\x80", 0, 0},
      {"a lead byte without its continuation", "\xC3", 0, 0},
      {"cut short by ASCII",
       "\xE2\x82"
       "A",
       0, 0},
      {"a byte that leads nothing", "\xFF", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char32_t code = 0;
    EXPECT_EQ(Utf8SequenceAt(c.bytes.data(), static_cast<int>(c.bytes.size()), &code), c.length);
    if (c.length) {
      EXPECT_EQ(code, c.code);
    }
    // Byte by byte, the check accepts exactly the bytes of a whole sequence.
    Utf8Check check;
    bool all = true;
    const size_t take = c.length ? static_cast<size_t>(c.length) : c.bytes.size();
    for (size_t i = 0; i < take; ++i)
      all = check.Add(static_cast<unsigned char>(c.bytes[i])) && all;
    if (c.length) {
      EXPECT_TRUE(all && check.Completed() && check.IsUtf8());
      EXPECT_EQ(check.CodePoint(), c.code);
    } else {
      EXPECT_FALSE(check.IsUtf8());
    }
  }
}

TEST(Utf8, ABreakInsideASequenceEndsTheText) {
  Utf8Check check;
  EXPECT_TRUE(check.Add(0xE2));
  EXPECT_TRUE(check.InSequence());
  check.Break();
  EXPECT_FALSE(check.Add(0x82));
  EXPECT_FALSE(check.IsUtf8());
  // Between whole sequences a break changes nothing.
  Utf8Check whole;
  EXPECT_TRUE(whole.Add(0xC3) && whole.Add(0xA9));
  whole.Break();
  EXPECT_TRUE(whole.Add('x'));
  EXPECT_TRUE(whole.IsUtf8());
}

}  // namespace
