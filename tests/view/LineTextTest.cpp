// A line's bytes as drawn: the UTF-8 / Windows-1252 rule, control pictures, tabs, the cut.
#include <gtest/gtest.h>

#include "cli/view/doc/Document.h"
#include "cli/view/doc/LineText.h"

namespace zel_view {
namespace {

TEST(LineTextTest, DecodesByTheHouseRule) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
  } cases[] = {
      {"ascii", "LOCUS  x", "LOCUS  x"},
      {"tab to the next stop", "a\tb", "a       b"},
      {"tab on a stop", "12345678\tx", "12345678        x"},
      {"tab after a wide character counts it as one column", "\xC3\xA9\tx", "\xC3\xA9       x"},
      {"NUL and escape", std::string("a\0b\x1B", 4), "a\u2400b\u241B"},
      {"DEL", "x\x7Fy", "x\u2421y"},
      {"UTF-8 stays", "caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},
      {"Windows-1252", "caf\xE9 \x80 \x96", "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x93"},
      {"broken UTF-8 is Windows-1252", "\xC3\xA9\xE9", "\xC3\x83\xC2\xA9\xC3\xA9"},
      {"undefined byte", "a\x81z", "a\uFFFDz"},
      {"control bytes in UTF-8", std::string("\xC3\xA9\0", 3), "\xC3\xA9\u2400"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool cut = true;
    EXPECT_EQ(ShowLine(c.bytes, 0, &cut), c.text);
    EXPECT_FALSE(cut);
  }
}

TEST(LineTextTest, LongLinesEndWithTheMarker) {
  const std::string head(kLongLine, 'A');
  bool cut = false;
  EXPECT_EQ(ShowLine(head, 10, &cut), head + " \u2026 [10 more bytes]");
  EXPECT_TRUE(cut);

  // Cut inside a UTF-8 sequence: the part of it shown would be Windows-1252 junk, so it
  // goes to the bytes not shown.
  std::string utf8(kLongLine - 1, 'a');
  utf8[0] = '\xC3';
  utf8[1] = '\xA9';
  utf8 += '\xE2';
  const std::string text = ShowLine(utf8, 5, &cut);
  EXPECT_TRUE(cut);
  EXPECT_EQ(text.substr(0, 3),
            "\xC3\xA9"
            "a");
  EXPECT_TRUE(text.ends_with("a \u2026 [6 more bytes]")) << text.substr(text.size() - 30);
  EXPECT_EQ(text.find("\xC3\xA2"), std::string::npos);
}

}  // namespace
}  // namespace zel_view
