// `zel sxf` end to end: the writer's layout at a width and prefix, line ends, shared nodes
// as read, and failures reported in the library's words with exit status 1.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

class SxfCommandTest : public zel_test::ZelTest {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    std::string path = tmp / name;
    zel_test::WriteFile(path, text);
    return path;
  }
};

const char* const kExample =
    ";; example file\r\n"
    "(SXF #0=(Segment \"first\\tpart\" 12 0.25 #1=(Marker 3 \"x\") Nil) #1# \r\n"
    " (Segment \"second\" -7 1.5 #1# #0#))\r\n";

TEST_F(SxfCommandTest, FmtPrintsAsTheWriterAtAnyWidthPrefixAndLineEnd) {
  std::string path = Write("example.sxf", kExample);
  zel_test::ZelResult r = RunZel("sxf fmt --width 40 '" + path + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "(SXF \r\n"
            " #0=(Segment \"first\\tpart\" 12 0.25 \r\n"
            "     #1=(Marker 3 \"x\") Nil) #1# \r\n"
            " (Segment \"second\" -7 1.5 #1# #0#))\r\n");
  r = RunZel("sxf fmt --lf '" + path + "'");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "(SXF #0=(Segment \"first\\tpart\" 12 0.25 #1=(Marker 3 \"x\") Nil) #1# \n"
            " (Segment \"second\" -7 1.5 #1# #0#))\n");
  // With a prefix, input lines carry it too, and so does every output line.
  std::string prefixed = Write("prefixed.sxf", "# (SXF a\n#  \"b\" 12345)\n");
  r = RunZel("sxf fmt --lf --width 8 --prefix '# ' '" + prefixed + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "# (SXF a \n#  \"b\" \n#  12345)\n");
  // Width 0, as the tree takes it: every element that may go on a line of its own does.
  r = RunZel("sxf fmt --lf --width 0 '" + Write("small.sxf", "(SXF a (\"b\" 12345))") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "(SXF \n a \n (\"b\" \n  12345))\n");
  r = RunZel("sxf fmt --lf - < '" + path + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.substr(0, 5), "(SXF ");
}

TEST_F(SxfCommandTest, MalformedFilesFailWithTheLibrarysMessage) {
  struct Case {
    const char* name;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"bad-index.sxf", "(SXF #3#)", "Unexpected file format (index error)."},
      {"bad-header.sxf", "(DOC 1)", "File format not supported (version error)."},
      {"bad-root.sxf", "\"SXF\"", "Unexpected file format (class error)."},
      {"truncated.sxf", "(SXF (a b", "An unexpected error occurred while reading"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = Write(c.name, c.text);
    zel_test::ZelResult r = RunZel("sxf fmt '" + path + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.name), std::string::npos) << r.err;
  }
  zel_test::ZelResult missing = RunZel("sxf fmt '" + tmp / "missing.sxf" + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Cannot find this file."), std::string::npos) << missing.err;
  EXPECT_EQ(RunZel("sxf fmt --width -1 x").status, 2);
}

TEST_F(SxfCommandTest, CheckReadsEveryFileAndFailsWhenOneDoesNot) {
  std::string good = Write("good.sxf", kExample);
  std::string bad = Write("bad.sxf", "(SXF (");
  zel_test::ZelResult r = RunZel("sxf check '" + good + "'");
  EXPECT_EQ(r.status, 0);
  r = RunZel("sxf check --json '" + good + "' '" + bad + "'");
  EXPECT_EQ(r.status, 1);
  auto json = nlohmann::json::parse(r.out);
  ASSERT_EQ(json.size(), 2u);
  EXPECT_EQ(json[0]["ok"], true);
  EXPECT_EQ(json[1]["ok"], false);
  EXPECT_EQ(json[1]["cause"], 1);
  EXPECT_NE(r.err.find("bad.sxf"), std::string::npos);
}

}  // namespace
