// Command strings: the rows and edge cases of the parser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/exceptions/Exceptions.h"
#include "tools/ExecCommandParams.h"

namespace {

struct Row {
  const char* text;
  int command;
  std::vector<std::string> params;
  bool correct;
};

std::vector<std::string> ParamsOf(const CExecCommandParams& p) {
  std::vector<std::string> out;
  for (int i = 0; i < p.GetCount(); ++i) out.push_back(p[i].str());
  return out;
}

TEST(ExecCommandParams, Table) {
  const std::vector<Row> rows = {
      {R"([openas(C:\a b\x.gb, 3)])", 3, {R"(C:\a b\x.gb)", "3"}, true},
      {"[ DBR ( ) ]", 1, {}, true},
      {R"([import("a, b", "")])", 5, {"a, b", ""}, true},
      {R"([import("say \"hi\"")])", 5, {"say \"hi\""}, true},
      {"[savetodb(x)", 6, {"x"}, false},
      {"[foo(x)]", 0, {}, false},
      {"import(x)", 0, {}, false},
      {"", 0, {}, false},
      {" \t\r\n", 0, {}, false},
      {"[ImportAs(x)]", 4, {"x"}, true},
      {"[openas (x)]", 3, {"x"}, true},
      {"[open as(x)]", 0, {}, false},
      {R"([import(a"b)])", 5, {}, false},
      {R"([import(a""b)])", 5, {"ab"}, true},
      {R"([import("a" x)])", 5, {}, false},
      {"[import(  a  b  )]", 5, {"a  b"}, true},
      {"[import(a, )]", 5, {"a", ""}, true},
      {"[import()]", 5, {}, true},
      {"[import(a", 5, {}, false},
      {"[import(a, b", 5, {"a"}, false},
      {"[dbreport(x)] trailing", 1, {"x"}, true},
      {"[import(a\\b, \\)]", 5, {"a\\b"}, false},
      {R"([import("x)y", z)])", 5, {"x)y", "z"}, true},
      {"[opendbmol(\xE9t\xE9)]", 2, {"t\xE9"}, true},  // bytes from 0x80 up are blanks
      {"[()]", 0, {}, false},
      {"[import(x)\x01]", 5, {"x"}, true},
  };
  for (const Row& row : rows) {
    CExecCommandParams p(row.text);
    EXPECT_EQ(p.GetCommand(), row.command) << row.text;
    EXPECT_EQ(ParamsOf(p), row.params) << row.text;
    EXPECT_EQ(p.IsCorrect(), row.correct) << row.text;
  }
}

TEST(ExecCommandParams, BytesFromTheHighHalfAreBlanksBetweenButTextWithin) {
  CExecCommandParams p("[import(\xE9t\xE9 x)]");
  ASSERT_EQ(p.GetCount(), 1);
  EXPECT_EQ(p[0], "t\xE9 x");
  EXPECT_TRUE(p.IsCorrect());
  CExecCommandParams word("[imp\xE9ort(x)]");  // a high byte ends the word
  EXPECT_EQ(word.GetCommand(), 0);
  EXPECT_FALSE(word.IsCorrect());
}

TEST(ExecCommandParams, GetParamLeavesTheOutputForAnEmptyParameter) {
  CExecCommandParams p("[import(a, )]");
  CString out = "kept";
  EXPECT_TRUE(p.GetParam(1, out));
  EXPECT_EQ(out, "kept");
  EXPECT_TRUE(p.GetParam(0, out));
  EXPECT_EQ(out, "a");
  EXPECT_FALSE(p.GetParam(-1, out));
  EXPECT_FALSE(p.GetParam(2, out));
}

TEST(ExecCommandParams, IndexOutsideRaisesInvalidArgument) {
  CExecCommandParams p("[import(a)]");
  EXPECT_THROW(p[1], CInvalidArgException);
  EXPECT_THROW(p[-1], CInvalidArgException);
  EXPECT_EQ(p[0], "a");
}

TEST(ExecCommandParams, CommandStrings) {
  using C = CExecCommandParams;
  EXPECT_EQ(C::GetCommandString(C::dbreport), "dbreport");
  EXPECT_EQ(C::GetCommandString(C::savetodb), "savetodb");
  EXPECT_EQ(C::GetCommandString(C::none), "unknow");
  EXPECT_EQ(C::GetCommandString(static_cast<C::CCommandType>(7)), "unknow");
}

}  // namespace
