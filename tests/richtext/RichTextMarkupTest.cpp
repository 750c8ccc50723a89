// The markup: words, groups, character strings, colours and status codes, seen through
// what a line draws on the fixed-metrics device.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/richtext/RichTextFixture.h"

namespace zel_test {
namespace {

using Strings = std::vector<std::string>;

TEST_F(RichTextTest, PlainResetsAndTheGroupBringsBoldAndColourBack) {
  CFixedDC dc;
  dc.SetTextColor(0x0000FF);  // red: plain must not keep it
  LOGFONT lf = Font();
  RECT r{0, 0, 0, 50};
  DrawRTFLine(&dc, "{\\cf2\\b x\\plain y}z", &lf, &r, 0);
  std::vector<DcEvent> t;
  for (const DcEvent& e : dc.Events())
    if (e.op == DcEvent::kText) t.push_back(e);
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].fg, 0xFF0000u);  // cf2: blue
  EXPECT_EQ(t[0].font.lfWeight, FW_BOLD);
  EXPECT_EQ(t[1].text, "y");
  EXPECT_EQ(t[1].fg, 0x000000u);
  EXPECT_EQ(t[1].bg, 0xFFFFFFu);
  EXPECT_EQ(t[1].font.lfWeight, FW_NORMAL);
  EXPECT_STREQ(t[1].font.lfFaceName, "Arial") << "font row 2, TrueType substitute";
  EXPECT_EQ(t[1].font.lfHeight, 16) << "size 10 is the base height";
  EXPECT_EQ(t[2].text, "z");
  EXPECT_EQ(t[2].fg, 0x0000FFu) << "the group's start colour comes back";
  EXPECT_EQ(t[2].font.lfWeight, FW_NORMAL);

  EXPECT_EQ(Runs("\\b x{\\plain y}z"), (Strings{"x", "y", "z"}));
  EXPECT_EQ(Draw("\\b x{\\plain y}z")[2].font.lfWeight, FW_BOLD);
}

TEST_F(RichTextTest, WordsAndTheirBlanks) {
  struct Case {
    const char* text;
    Strings runs;
    int status;
  } cases[] = {
      {"\\b  x", {" x"}, 0},                   // one blank ends the word, the next is text
      {"a\\\\ b\\{ \\}", {"a\\b{}"}, 0},       // escapes eat their blank too
      {"\\fs26 x", {"x"}, RTF_UNKNOWN_WORD},   // no 13-point size; size unchanged
      {"a\\\\12b", {"ab"}, RTF_UNKNOWN_WORD},  // "\12" after the escape: unknown, no backslash
      {"\\\\\\\\12b", {"\\b"}, RTF_UNKNOWN_WORD},
      {"ab\\", {"ab"}, RTF_BACKSLASH_AT_END},
      {"\\B x", {"x"}, RTF_UNKNOWN_WORD},  // words are lower case
      {"\\*8 x", {"x"}, RTF_UNKNOWN_WORD},
      {"\\lquote a\\rdblquote",
       {"\x91"
        "a\x94"},
       0},
      {"\\caps abc\\caps0 d\\bullet", {"ABCd\x95"}, 0},
      {"\\caps \\\\x\\{", {"\\X{"}, 0},
      {"\\v a\\{b\\}\\endash\\v0 c", {"{}c"}, 0},  // escapes are shown even hidden
      {"a\tb\nc", {"a\tb\nc"}, 0},                 // bare tab and newline bytes are characters
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int status = -1;
    EXPECT_EQ(Runs(c.text, &status), c.runs);
    EXPECT_EQ(status, c.status);
  }
  EXPECT_EQ(Draw("\\fs26 x")[0].font.lfHeight, 16);
}

TEST_F(RichTextTest, GroupsNestTenDeepAndProblemsAreReportedLatestFirst) {
  const std::string eleven = std::string(11, '{') + "a" + std::string(11, '}');
  EXPECT_EQ(Status(std::string(10, '{') + "a" + std::string(10, '}')), RTF_OK);
  EXPECT_EQ(Status(std::string(11, '{') + "a" + std::string(10, '}')), RTF_TOO_MANY_GROUPS);
  EXPECT_EQ(Status(eleven), RTF_UNMATCHED_CLOSE);
  EXPECT_EQ(Status("a}b"), RTF_UNMATCHED_CLOSE);
  EXPECT_EQ(Status("{\\nope a"), RTF_OPEN_GROUPS) << "open groups are decided last";
  EXPECT_EQ(Status("\\nope {a}"), RTF_UNKNOWN_WORD);
}

TEST_F(RichTextTest, CheckBoxStringFollowsTheCdSelector) {
  struct Case {
    int selector;
    Strings runs;
  } cases[] = {{0, {"\xA8"}}, {1, {"\xFE"}}, {2, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selector);
    SetRTFLineCDSelector(c.selector);
    EXPECT_EQ(Runs("\\chcdbox "), c.runs);
  }
  SetRTFLineCDSelector(1);
  const std::vector<DcEvent> box = Draw("\\chcdbox ");
  ASSERT_EQ(box.size(), 1u);
  EXPECT_STREQ(box[0].font.lfFaceName, "Wingdings");
  EXPECT_EQ(box[0].font.lfCharSet, SYMBOL_CHARSET);
  EXPECT_EQ(box[0].font.lfHeight, 19) << "fs24: 16 * 12 / 10";
  EXPECT_EQ(box[0].fg, 0x00FF00u);
  EXPECT_EQ(box[0].y, 100 + 2) << "dn2: a tenth of 16 lower";
  const std::vector<DcEvent> bullet = Draw("\\chbul x");
  ASSERT_EQ(bullet.size(), 2u) << "the string's group closes before x";
  EXPECT_EQ(bullet[0].text, "\xB7");
  EXPECT_STREQ(bullet[0].font.lfFaceName, "Symbol");
  EXPECT_STREQ(bullet[1].font.lfFaceName, "Arial");
  EXPECT_EQ(Runs("a\\ch3 b"), (Strings{"ab"})) << "an empty slot does nothing";
  EXPECT_EQ(Status("a\\ch3 b"), RTF_OK);
}

TEST_F(RichTextTest, CharacterStringsAreReadWhenExpandedAndCannotRecurseForever) {
  const char* slot5 = "{\\b S}";
  SetRTFLineChString(5, slot5);
  EXPECT_EQ(Runs("a\\ch5 b"), (Strings{"a", "S", "b"}));
  EXPECT_EQ(SetRTFLineChString(5, "T"), slot5);
  EXPECT_EQ(Runs("a\\ch5 b"), (Strings{"aTb"}));
  EXPECT_EQ(SetRTFLineChString(16, "x"), nullptr);
  EXPECT_EQ(SetRTFLineChString(-1, "x"), nullptr);

  // Strings that expand themselves, directly and through each other, stop at a fixed
  // depth: one x for each level below the line.
  SetRTFLineChString(0, "x\\ch0 ");
  int status = -1;
  Strings runs = Runs("\\ch0 ", &status);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], std::string(16, 'x'));
  EXPECT_EQ(status, RTF_OK);
  SetRTFLineChString(1, "{y\\ch2 }");
  SetRTFLineChString(2, "{z\\ch1 }");
  runs = Runs("\\ch1 ", &status);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].size(), 16u);
  // Sixteen groups open: the six past ten are refused, so six closing braces find no group.
  EXPECT_EQ(status, RTF_UNMATCHED_CLOSE);
  // A string naming itself twice would double at every level: a line expands 256 strings
  // at most, one x each.
  SetRTFLineChString(3, "\\ch3 \\ch3 x");
  EXPECT_EQ(Runs("\\ch3 ", &status), (Strings{std::string(256, 'x')}));
}

TEST_F(RichTextTest, ForegroundColoursChangeForLaterLines) {
  const unsigned long old = SetRTFForegroundColor(3, 0x123456);
  EXPECT_EQ(old, 0xFFFF00u) << "cf3 is cyan";
  EXPECT_EQ(Draw("\\cf3 x")[0].fg, 0x123456u);
  EXPECT_EQ(Draw("\\cb3 x")[0].bg, 0xFFFF00u) << "background words keep the table";
  EXPECT_EQ(SetRTFForegroundColor(3, old), 0x123456u);
  EXPECT_EQ(SetRTFForegroundColor(17, 1), 0u);
  EXPECT_EQ(SetRTFForegroundColor(0, 1), 0u);
  EXPECT_EQ(Draw("\\cf16 x")[0].fg, 0xC0C0C0u);
}

TEST_F(RichTextTest, FontWordsUseSubstitutesOnlyInTrueTypeMode) {
  struct Case {
    int mode;
    const char* word;
    const char* face;
    BYTE precision;
  } cases[] = {
      {RTF_MODE_TRUETYPE, "\\f0 x", "Times New Roman", OUT_TT_PRECIS},
      {RTF_MODE_TRUETYPE, "\\f3 x", "Courier New", OUT_TT_PRECIS},
      {RTF_MODE_TRUETYPE, "\\f8 x", "Arial", OUT_TT_PRECIS},
      {0, "\\f0 x", "Tms Rmn", OUT_DEVICE_PRECIS},
      {0, "\\f11 x", "Courier New", OUT_TT_PRECIS},
      {0, "\\f8 x", "", OUT_DEVICE_PRECIS},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    SetRTFLineMode(c.mode);
    const std::vector<DcEvent> t = Draw(c.word);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_STREQ(t[0].font.lfFaceName, c.face);
    EXPECT_EQ(t[0].font.lfOutPrecision, c.precision);
  }
  SetRTFLineMode(RTF_MODE_TRUETYPE);
  EXPECT_EQ(Runs("\\f5 a\\f5 b"), (Strings{"ab"})) << "the same row changes nothing";
}

TEST(RichTextSyntaxTest, EveryTextIsAccepted) {
  char message[8] = "old";
  int position = 7;
  EXPECT_EQ(CheckRTFLineSyntax("{\\nope", &position, message, sizeof message), 0);
  EXPECT_EQ(message[0], 0);
  EXPECT_EQ(position, 7);
}

}  // namespace
}  // namespace zel_test
