// Numbered-field lines as they land on disk, and the comment readers over streams and
// text files.
#include <string>
#include <vector>

#include "layout/RecordFields.h"
#include "tests/support/TestSupport.h"

namespace {

class RecordFieldsTest : public zel_test::ZelTest {
 protected:
  // What the writer puts in a fresh file.
  template <typename Write>
  std::string Written(Write&& write) {
    std::string path = tmp / "record.txt";
    CZelTextFile file(CZelFileSpec(path.c_str(), 0));
    EXPECT_EQ(file.CreateOutput(), 1);
    write(file);
    file.Close();
    return zel_test::ReadFile(path);
  }

  static std::vector<std::string> Items(const CStringList& list) {
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(list.GetNext(pos).str());
    return out;
  }
};

TEST_F(RecordFieldsTest, FieldLines) {
  EXPECT_EQ(Written([](CZelTextFile& f) { WriteIntField(12, -7, f); }), "12|-7\r\n");
  EXPECT_EQ(Written([](CZelTextFile& f) { WriteLongField(-3, 2147483647L, f); }),
            "-3|2147483647\r\n");
  // A long keeps its 32 bits, as the record format has them.
  EXPECT_EQ(Written([](CZelTextFile& f) { WriteLongField(1, 4294967295L, f); }), "1|-1\r\n");
  EXPECT_EQ(Written([](CZelTextFile& f) { WriteStringField(5, "", f, 0); }), "");
  EXPECT_EQ(Written([](CZelTextFile& f) { WriteStringField(5, "", f, 1); }), "5|\r\n");
  EXPECT_EQ(Written([](CZelTextFile& f) { WriteStringField(5, "a b|c", f, 0); }), "5|a b|c\r\n");
  EXPECT_EQ(Written([](CZelTextFile& f) { WriteSeparator(50, f); }), "50\r\n");
  EXPECT_EQ(Written([](CZelTextFile& f) {
              WriteIntField(1, 2, f);
              WriteStringField(3, "x", f, 0);
            }),
            "1|2\r\n3|x\r\n");
}

TEST_F(RecordFieldsTest, StringLists) {
  struct Case {
    const char* name;
    std::vector<std::string> items;
    std::string expected;
  };
  const std::string k600(599, 'k');  // 600 with its bar
  const Case cases[] = {
      {"empty list", {}, ""},
      {"middle empty", {"a", "", "c"}, "7|a|c\r\n"},
      {"only empty", {"", ""}, "7\r\n"},
      {"break", {k600, k600, "z"}, "7|" + k600 + "|" + k600 + "\r\n7|z\r\n"},
      {"no break after the last", {k600, k600}, "7|" + k600 + "|" + k600 + "\r\n"},
      {"break then empties", {k600, k600, "", ""}, "7|" + k600 + "|" + k600 + "\r\n7\r\n"},
      {"below the limit",
       {k600, std::string(598, 'q'), "z"},
       "7|" + k600 + "|" + std::string(598, 'q') + "|z\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CStringList list;
    for (const std::string& s : c.items) list.AddTail(s.c_str());
    EXPECT_EQ(Written([&list](CZelTextFile& f) { WriteStrList(7, &list, f); }), c.expected);
  }
  EXPECT_EQ(Written([](CZelTextFile& f) { WriteStrList(7, nullptr, f); }), "");
}

TEST_F(RecordFieldsTest, CommentsRoundTrip) {
  CStringList comments;
  comments.AddTail("first");
  comments.AddTail("");
  comments.AddTail("a|b");
  std::string text = Written([&comments](CZelTextFile& f) {
    WriteIntField(1, 5, f);
    WriteCommentData(f, &comments);
    WriteSeparator(50, f);
    WriteStringField(248, "after the end", f, 0);
  });
  EXPECT_EQ(text, "1|5\r\n248|first\r\n248|\r\n248|a|b\r\n50\r\n248|after the end\r\n");

  CString s{std::string_view(text)};
  CEkStream stream(&s, 0);
  CStringList read;
  int counter = 10;
  ReadCommentData(&stream, &read, &counter);
  EXPECT_EQ(Items(read), (std::vector<std::string>{"first", "", "a|b"}));
  EXPECT_EQ(counter, 15);  // every line up to the 50 line, ignored ones too
  CString next;
  stream.ReadString(next);
  EXPECT_EQ(next, "248|after the end");

  CZelTextFile file(CZelFileSpec((tmp / "record.txt").c_str(), 0));
  ASSERT_EQ(file.OpenInput(), 1);
  CStringList fromFile;
  ReadCommentData(file, &fromFile);
  EXPECT_EQ(Items(fromFile), (std::vector<std::string>{"first", "", "a|b"}));
  CString rest;
  file.ReadString(rest);
  EXPECT_EQ(rest, "248|after the end\n");
}

TEST_F(RecordFieldsTest, CommentLineForms) {
  struct Case {
    std::string line;
    std::vector<std::string> comments;
  };
  const Case cases[] = {
      {"248|a|b", {"a|b"}}, {"248|", {""}},       {"248", {""}},     {"|248|x", {"x"}},
      {"248||x", {"|x"}},   {"248\fx\fy", {"x"}}, {" 248|x", {"x"}}, {"248abc|x", {"x"}},
      {"249|x", {}},        {"||", {}},           {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    CString s{std::string_view(c.line + "\r\n")};
    CEkStream stream(&s, 0);
    CStringList read;
    int counter = 0;
    ReadCommentData(&stream, &read, &counter);
    EXPECT_EQ(Items(read), c.comments);
    EXPECT_EQ(counter, 1);
  }
  // Without a 50 line the reading stops at the end; a null counter is allowed.
  CString s("248|x\n7|y\n248|z");
  CEkStream stream(&s, 0);
  CStringList read;
  ReadCommentData(&stream, &read, nullptr);
  EXPECT_EQ(Items(read), (std::vector<std::string>{"x", "z"}));
}

TEST_F(RecordFieldsTest, LongCommentLinesComeInPieces) {
  // The text-file reader takes 1499 characters at a time; the rest of a longer line is
  // read as a line of its own (and, not starting with a field number, ignored).
  std::string longComment(2000, 'c');
  std::string text = "248|" + longComment + "\r\n248|" + "7" + std::string(1600, 'd') + "\r\n";
  std::string path = tmp / "long.txt";
  zel_test::WriteFile(path, text);
  CZelTextFile file(CZelFileSpec(path.c_str(), 0));
  ASSERT_EQ(file.OpenInput(), 1);
  CStringList read;
  ReadCommentData(file, &read);
  std::vector<std::string> items = Items(read);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0], std::string(1499 - 4, 'c'));
  EXPECT_EQ(items[1], "7" + std::string(1494, 'd'));

  // The stream reader takes whole lines.
  CString s{std::string_view(text)};
  CEkStream stream(&s, 0);
  CStringList whole;
  int counter = 0;
  ReadCommentData(&stream, &whole, &counter);
  EXPECT_EQ(Items(whole), (std::vector<std::string>{longComment, "7" + std::string(1600, 'd')}));
  EXPECT_EQ(counter, 2);
}

}  // namespace
