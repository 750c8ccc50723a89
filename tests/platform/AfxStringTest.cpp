// CString: the members whose edge cases callers rely on.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/string/String.h"

namespace {

TEST(CStringTest, FindAndSliceClampLikeTheClassLibrary) {
  CString s("GenBank.gbk");
  EXPECT_EQ(s.Find('.'), 7);
  EXPECT_EQ(s.Find("bk"), 9);
  EXPECT_EQ(s.Find('x'), -1);
  EXPECT_EQ(s.Find('G', 99), -1);
  EXPECT_EQ(s.ReverseFind('b'), 9);
  EXPECT_EQ(s.FindOneOf("kB"), 3);
  EXPECT_EQ(s.Mid(7), CString(".gbk"));
  EXPECT_EQ(s.Mid(-3, 3), CString("Gen"));
  EXPECT_EQ(s.Mid(20, 3), CString(""));
  EXPECT_EQ(s.Left(99), s);
  EXPECT_EQ(s.Right(3), CString("gbk"));
  EXPECT_EQ(CString("  x y \t").Trim(), CString("x y"));
  EXPECT_EQ(CString("xxabxx").Trim("x"), CString("ab"));
  EXPECT_EQ(CString("xxxx").TrimRight("x"), CString(""));
}

TEST(CStringTest, CaseFoldingIsAsciiOnly) {
  EXPECT_EQ(CString("ABC").CompareNoCase("abc"), 0);
  EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
  EXPECT_GT(CString("abcd").CompareNoCase("ABC"), 0);
  EXPECT_NE(ZelStrCmpNoCase("\xC4", "\xE4"), 0);  // Latin-1 letters are not folded
  CString mixed("aBc\xC4");
  EXPECT_EQ(mixed.MakeUpper(), CString("ABC\xC4"));
}

// Every case change of the library goes through these: only the 26 ASCII letters change,
// and a string changes byte by byte as the single characters do.
TEST(CStringTest, AsciiCaseHelpersChangeOnlyTheAsciiLetters) {
  std::string all, lower, upper;
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>(i);
    SCOPED_TRACE(i);
    const bool big = c >= 'A' && c <= 'Z', small = c >= 'a' && c <= 'z';
    EXPECT_EQ(ZelAsciiToLower(c), big ? static_cast<char>(i + 32) : c);
    EXPECT_EQ(ZelAsciiToUpper(c), small ? static_cast<char>(i - 32) : c);
    all += c;
    lower += ZelAsciiToLower(c);
    upper += ZelAsciiToUpper(c);
  }
  EXPECT_EQ(ZelAsciiLowered(all), lower);
  std::string s = all;
  ZelAsciiMakeUpper(s);
  EXPECT_EQ(s, upper);
  ZelAsciiMakeLower(s);
  EXPECT_EQ(s, lower);
  EXPECT_EQ(CString(all.c_str() + 1).MakeLower(), CString(lower.c_str() + 1));
  EXPECT_EQ(ZelStrCmpNoCase(lower, upper), 0);
  static_assert(ZelAsciiToLower('Q') == 'q' && ZelAsciiToUpper('@') == '@');
}

TEST(CStringTest, EditingMembers) {
  CString s("a-b-c");
  EXPECT_EQ(s.Replace("-", "--"), 2);
  EXPECT_EQ(s, CString("a--b--c"));
  EXPECT_EQ(s.Remove('-'), 4);
  EXPECT_EQ(s.Insert(1, "XY"), 5);
  EXPECT_EQ(s.Delete(0, 2), 3);
  EXPECT_EQ(s, CString("Ybc"));
  int pos = 0;
  CString list("one, two,,three");
  EXPECT_EQ(list.Tokenize(", ", pos), CString("one"));
  EXPECT_EQ(list.Tokenize(", ", pos), CString("two"));
  EXPECT_EQ(list.Tokenize(", ", pos), CString("three"));
  EXPECT_EQ(list.Tokenize(", ", pos), CString(""));
  EXPECT_EQ(pos, -1);
}

TEST(CStringTest, FormatAndBuffers) {
  CString s;
  s.Format("%s=%ld", "Line", 42L);
  EXPECT_EQ(s, CString("Line=42"));
  std::string big(1000, 'q');
  s.Format("%s!", big.c_str());
  EXPECT_EQ(s.GetLength(), 1001);
  s.AppendFormat("%g", 1234567.0);
  EXPECT_EQ(s.Right(11), CString("1.23457e+06"));

  CString b;
  char* p = b.GetBuffer(10);
  std::snprintf(p, 11, "abc");
  b.ReleaseBuffer();
  EXPECT_EQ(b, CString("abc"));
  EXPECT_EQ(b.GetLength(), 3);
  p = b.GetBufferSetLength(5);
  p[3] = '\0';
  p[4] = 'z';
  b.ReleaseBuffer(5);  // an explicit length keeps embedded zeros
  EXPECT_EQ(b.GetLength(), 5);
}

}  // namespace
