// The syntax tree: the printed layout, whole-file reading and its faults, shared nodes,
// deep nesting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "serialization/NodePool.h"
#include "tests/serialization/SxfTestUtil.h"

using namespace sxf_test;

namespace {

// Holds objects of its own, stored unshared inside its list: an object of atoms that has
// to turn into nodes halfway.
class CPair : public CObject {
  DECLARE_DYNCREATE(CPair)
 public:
  CMarker left;
  CMarker right;
  int tally = 0;
  void Serialize(CZelArchive& ar) {
    ar(tally);
    ar.WriteObject(&left, 0);
    CString label = "pair";
    ar(label);
    ar.WriteObject(&right, 0);
  }
  static void _zel_serialize(CPair* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;
};
IMPLEMENT_DYNCREATE(CPair, CObject)
ZEL_IMPLEMENT_SERIALIZE(CPair, "Pair")

class SyntaxTreeTest : public zel_test::ZelTest {
 protected:
  std::string path = tmp / "tree.sxf";

  // The graph of the format's example: two segments sharing a marker, one pointing back.
  std::string StoreExample(const char* prefix, int width) {
    CMarker marker;
    marker.number = 3;
    marker.label = "x";
    CSegment first;
    first.text = "first\tpart";
    first.count = 12;
    first.weight = 0.25;
    first.first = &marker;
    CSegment second;
    second.text = "second";
    second.count = -7;
    second.weight = 1.5;
    second.first = &marker;
    second.second = &first;
    return Store(
        path,
        [&](CZelArchive& ar) {
          CObject* p = &first;
          ar(p);
          ar.WriteCommentLine("example file");
          p = &marker;
          ar(p);
          ar.WriteObject(&second, 0);
        },
        prefix, width);
  }

  std::string Reprint(const std::string& bytes, int width, const char* prefix = nullptr) {
    CSyntaxTree tree;
    EXPECT_EQ(ReadCause(path, bytes, tree, prefix), 0);
    std::string out;
    tree.PrintToString(out, prefix, width);
    return out;
  }
};

const char* const kExample40 =
    ";; example file\r\n"
    "(SXF \r\n"
    " #0=(Segment \"first\\tpart\" 12 0.25 \r\n"
    "     #1=(Marker 3 \"x\") Nil) #1# \r\n"
    " (Segment \"second\" -7 1.5 #1# #0#))\r\n";

const char* const kExample75 =
    ";; example file\r\n"
    "(SXF #0=(Segment \"first\\tpart\" 12 0.25 #1=(Marker 3 \"x\") Nil) #1# \r\n"
    " (Segment \"second\" -7 1.5 #1# #0#))\r\n";

std::string WithPrefix(const std::string& text, const std::string& prefix) {
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    out += prefix + text.substr(start, end + 2 - start);
    start = end + 2;
  }
  return out;
}

TEST_F(SyntaxTreeTest, ExamplePrintsExactlyAtBothWidthsWithAndWithoutPrefix) {
  EXPECT_EQ(StoreExample(nullptr, 40), kExample40);
  EXPECT_EQ(StoreExample(nullptr, 75), kExample75);
  EXPECT_EQ(StoreExample("# ", 40), WithPrefix(kExample40, "# "));
  EXPECT_EQ(StoreExample("# ", 75), WithPrefix(kExample75, "# "));
}

TEST_F(SyntaxTreeTest, ExampleReadsBackToTheDescribedTreeAndThreeObjects) {
  // Printing what was read gives the file back, comment aside, at either width.
  std::string body40 = std::string(kExample40).substr(std::strlen(";; example file\r\n"));
  EXPECT_EQ(Reprint(kExample40, 40), body40);
  EXPECT_EQ(Reprint(kExample40, 75),
            std::string(kExample75).substr(std::strlen(";; example file\r\n")));

  CObject *a = nullptr, *b = nullptr, *c = nullptr;
  Load(path, kExample40, [&](CZelArchive& ar) { ar(a)(b)(c); });
  auto* first = dynamic_cast<CSegment*>(a);
  auto* marker = dynamic_cast<CMarker*>(b);
  auto* second = dynamic_cast<CSegment*>(c);
  ASSERT_TRUE(first && marker && second);
  EXPECT_EQ(first->text, "first\tpart");
  EXPECT_EQ(first->count, 12);
  EXPECT_EQ(first->weight, 0.25);
  EXPECT_EQ(first->first, marker);
  EXPECT_EQ(first->second, nullptr);
  EXPECT_EQ(marker->label, "x");
  EXPECT_EQ(second->first, marker);
  EXPECT_EQ(second->second, first);
  delete first;
  delete marker;
  delete second;
}

struct ReadCase {
  const char* name;
  const char* text;
  int cause;  // 0: reads
};

TEST_F(SyntaxTreeTest, ReadingFaultsRaiseTheirCauseAndLeaveTheTreeCleared) {
  const ReadCase cases[] = {
      {"plain", "(SXF 1 2.5 \"s\" tag)", 0},
      {"comments and blanks first", "; one\n\n  ;; two\r\n(SXF)", 0},
      {"text after the root", "(SXF) garbage (((\n\"unterminated", 0},
      {"only comments", ";; nothing\n;; here\n", 1},
      {"empty file", "", 1},
      {"unbalanced", "(SXF (a b)", 1},
      {"stray close", ")", 1},
      {"bad character", "(SXF {)", 1},
      {"string across lines", "(SXF \"abc\ndef\")", 1},
      {"bad escape", "(SXF \"a\\qb\")", 1},
      {"short octal escape", "(SXF \"\\12x\")", 1},
      {"use before definition", "(SXF #4#)", 5},
      {"blank after =", "(SXF #4= (a))", 1},
      {"defined twice", "(SXF #0=(a) #0=(b))", 5},
      {"empty index", "(SXF ##)", 1},
      {"bad mark", "(SXF #1x)", 1},
      {"self reference inside", "(SXF #0=(a #0#))", 0},
      {"huge index", "(SXF #99999999999=(a))", 5},
      {"root is a string", "\"SXF\"", 6},
      {"root is a reference", "#0=(SXF)", 6},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    CSyntaxTree tree;
    EXPECT_EQ(ReadCause(path, c.text, tree), c.cause);
    if (c.cause) {
      EXPECT_EQ(tree.GetRoot(), nullptr);
    }
  }
  // Tags hold at most 127 characters.
  CSyntaxTree tree;
  EXPECT_EQ(ReadCause(path, "(SXF A" + std::string(126, 'a') + ")", tree), 0);
  EXPECT_EQ(ReadCause(path, "(SXF A" + std::string(127, 'a') + ")", tree), 1);
  EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
}

TEST_F(SyntaxTreeTest, HeaderIsCheckedWhenTheExchangeStarts) {
  const ReadCase cases[] = {
      {"upper", "(SXF)", 0},     {"lower", "(sxf 1)", 0},
      {"other tag", "(XYZ)", 7}, {"string first", "(\"SXF\")", 6},
      {"empty root", "()", 1},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    CSyntaxTree tree;
    ASSERT_EQ(ReadCause(path, c.text, tree), 0);
    EXPECT_EQ(zel_test::CauseOf<CArchiveException>([&] {
                tree.StartExchange(1);
                tree.EndExchange();
              }),
              c.cause);
  }
}

TEST_F(SyntaxTreeTest, PrefixIsRequiredOnEveryLine) {
  CSyntaxTree tree;
  EXPECT_EQ(ReadCause(path, "> (SXF\n>  1 2)\n", tree, "> "), 0);
  EXPECT_EQ(tree.GetRoot()->GetCount(), 3);
  EXPECT_EQ(ReadCause(path, "> (SXF\n 1 2)\n", tree, "> "), 1);
  // A comment after the prefix is a comment.
  EXPECT_EQ(ReadCause(path, "> ; note\n> (SXF)\n", tree, "> "), 0);
}

TEST_F(SyntaxTreeTest, NumbersAndStringsReadBackAsWritten) {
  CSyntaxTree tree;
  ASSERT_EQ(
      ReadCause(path,
                "(SXF 5 1.23457e+006 1.23457e+06 1e+006 4294967295 -3 + \"\\351\\007\\\\\\\"\" "
                "x2 .5 2x)",
                tree),
      0);
  CSynList* root = tree.GetRoot();
  auto num = [&](int i) {
    return dynamic_cast<CSynNum*>(root->ElementAt(static_cast<uint32_t>(i)));
  };
  EXPECT_EQ(num(1), &CSynNum::cache[5]);
  EXPECT_DOUBLE_EQ(num(2)->GetDouble(), 1234570.0);
  EXPECT_DOUBLE_EQ(num(3)->GetDouble(), 1234570.0);
  EXPECT_EQ(num(4)->GetLong(), 1);
  EXPECT_DOUBLE_EQ(num(4)->GetDouble(), 1000000.0);
  EXPECT_EQ(static_cast<int>(*num(5)), -1);
  EXPECT_EQ(static_cast<unsigned int>(*num(5)), 4294967295u);
  EXPECT_EQ(num(6)->GetLong(), -3);
  EXPECT_EQ(num(7)->IsSigned(), 0);
  EXPECT_EQ(num(7)->GetLong(), 0);
  EXPECT_EQ(dynamic_cast<CSynStr*>(root->ElementAt(8))->GetValue(), "\351\007\\\"");
  EXPECT_EQ(dynamic_cast<CSynTag*>(root->ElementAt(9))->GetName(), "x2");
  EXPECT_DOUBLE_EQ(num(10)->GetDouble(), 0.5);
  // A tag must start with a letter: 2x is the number 2, then the tag x.
  ASSERT_EQ(root->GetCount(), 13);
  EXPECT_EQ(num(11), &CSynNum::cache[2]);
  EXPECT_EQ(dynamic_cast<CSynTag*>(root->ElementAt(12))->GetName(), "x");
}

struct LineCase {
  const char* name;
  std::string text;
  const char* prefix;
  std::vector<std::string> atoms;  // the root's elements after SXF, as printed
};

// A plain decimal read from a file takes a one-pass way; every number token must give the
// node FromToken makes of it, whatever its signs, points and exponents.
TEST_F(SyntaxTreeTest, NumbersReadAreTheNodesOfTheirTokens) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  std::vector<std::string> tokens = {"0",
                                     "7",
                                     "-0",
                                     "+0",
                                     ".5",
                                     "-.5",
                                     "5.",
                                     "1.5.2",
                                     "1e3",
                                     "-",
                                     "+",
                                     ".",
                                     "+-1",
                                     "3-4",
                                     "999999999999999",
                                     "9999999999999999",
                                     "1234567.891234567",
                                     "0.000000000000001"};
  for (int i = 0; i < 4000; ++i) {
    std::string t(1, "0123456789+-."[rng() % 13]);
    const int more = static_cast<int>(rng() % 19);
    for (int k = 0; k < more; ++k) t += "0123456789+-.eE"[rng() % (k % 4 == 3 ? 15 : 10)];
    tokens.push_back(t);
  }
  std::string text = "(SXF";
  for (const std::string& t : tokens) text += " " + t;
  text += ")";
  CSyntaxTree tree;
  ASSERT_EQ(ReadCause(path, text, tree), 0);
  const CSynList* root = tree.GetRoot();
  ASSERT_EQ(root->GetCount(), static_cast<INT_PTR>(tokens.size() + 1));
  for (size_t i = 0; i < tokens.size(); ++i) {
    SCOPED_TRACE(tokens[i]);
    const auto* got = dynamic_cast<const CSynNum*>(root->ElementAt(static_cast<uint32_t>(i + 1)));
    ASSERT_NE(got, nullptr);
    CSynNum* want = CSynNum::FromToken(tokens[i]);
    EXPECT_EQ(got->IsInteger(), want->IsInteger());
    EXPECT_EQ(got->IsSigned(), want->IsSigned());
    EXPECT_EQ(got->GetLong(), want->GetLong());
    EXPECT_EQ(got->GetUnsigned(), want->GetUnsigned());
    const double a = got->GetDouble(), b = want->GetDouble();
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << a << " against " << b;
    CSynNode::DeletePtr(want);
  }
}

TEST_F(SyntaxTreeTest, LinesOfAnyLengthReadWholeWithEveryLineEnd) {
  // The file's line reader hands over at most 8190 characters at a time; these texts put
  // tokens, strings and comments across that cut.
  const std::string pad(8190 - 5, ' ');  // "(SXF" and pad end one short of the cut
  const std::string cut(8190 - 6, ' ');  // "(SXF", cut and a blank end one short of it
  const std::string big(20000, 'q');
  const LineCase cases[] = {
      {"short lines as before", "(SXF a\r\n b\rc\n\nd)", nullptr, {"a", "b", "c", "d"}},
      {"a NUL ends the line's text", std::string("(SXF a\0 zz\n b)", 14), nullptr, {"a", "b"}},
      {"8190 characters and the line end", "(SXF" + pad + "a\n)", nullptr, {"a"}},
      {"a tag across the cut", "(SXF" + cut + " abc)", nullptr, {"abc"}},
      {"a string across the cut", "(SXF" + cut + " \"abc\")", nullptr, {"\"abc\""}},
      {"a comment across the cut", "(SXF" + cut + " ;x (y \"\r\n z)", nullptr, {"z"}},
      {"a long line ended by CR", "(SXF" + pad + pad + " a\rb)", nullptr, {"a", "b"}},
      {"a long line ended by CR LF", "(SXF" + pad + pad + " a\r\n\nb)", nullptr, {"a", "b"}},
      {"a long last line without its end", "(SXF" + pad + pad + " last)", nullptr, {"last"}},
      {"a long line that holds the prefix once",
       "> (SXF" + pad + pad + " a\n> b)",
       "> ",
       {"a", "b"}},
      {"a 20,000-character string", "(SXF \"" + big + "\" 1)", nullptr, {'"' + big + '"', "1"}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    CSyntaxTree tree;
    ASSERT_EQ(ReadCause(path, c.text, tree, c.prefix), 0);
    std::vector<std::string> atoms;
    for (uint32_t i = 1; i < static_cast<uint32_t>(tree.GetRoot()->GetCount()); ++i) {
      CString printed;
      tree.GetRoot()->ElementAt(i)->OutputToString(printed);
      atoms.emplace_back(printed.view());
    }
    EXPECT_EQ(atoms, c.atoms);
  }
  // Where reading stopped counts lines, not pieces.
  CSyntaxTree tree;
  EXPECT_EQ(ReadCause(path, "(SXF" + pad + pad + " a\n{)", tree), 1);
  EXPECT_EQ(tree.StopLine(), 2);
}

struct SharedCase {
  const char* name;
  std::string text;
  int cause;
  std::vector<int> defined;  // indexes that must then have a definition
};

TEST_F(SyntaxTreeTest, SharedIndexesMayLieAnywhereBelowTwoToThe31) {
  // 255 definitions 65,536 apart once made the table 16.7 million entries long; an index
  // near 2^31 would have needed 32 GB. The table holds only what is defined.
  std::string far = "(SXF";
  for (int k = 1; k <= 255; ++k) far += " #" + std::to_string(k * 65536) + "=(x)";
  far += " #16711680# #65536#)";
  std::string mixed = "(SXF";
  for (int k : {0, 1, 5000, 2, 3, 4999, 70, 2147483646, 71}) {
    mixed += " #" + std::to_string(k) + "=(x)";
  }
  // The rest, up to beyond the two far ones, which then move into the array.
  for (int k = 6; k <= 5100; ++k) {
    if (k != 70 && k != 71 && k != 4999 && k != 5000) mixed += " #" + std::to_string(k) + "=(y)";
  }
  mixed += " #5000# #4999#)";
  const SharedCase cases[] = {
      {"far apart", far, 0, {65536, 131072, 16711680}},
      {"near and far, then filled in between",
       mixed,
       0,
       {0, 1, 2, 70, 199, 4999, 5000, 5100, 2147483646}},
      {"the largest index", "(SXF #2147483646=(x) #2147483646#)", 0, {2147483646}},
      {"too large for an int", "(SXF #2147483647=(x))", 5, {}},
      {"far defined twice", "(SXF #9000000=(x) #1=(y) #9000000=(z))", 5, {}},
      {"a far gap is no definition", "(SXF #9000000=(x) #8999999#)", 5, {}},
  };
  for (const SharedCase& c : cases) {
    SCOPED_TRACE(c.name);
    {
      CSyntaxTree tree;
      ASSERT_EQ(ReadCause(path, c.text, tree), c.cause);
      for (int index : c.defined) {
        SCOPED_TRACE(index);
        EXPECT_NO_THROW(tree.CheckSharedNode(index));
        CObject* object = nullptr;
        CSynNode* node = nullptr;
        EXPECT_FALSE(tree.GetShared(index, object, node));
        EXPECT_NE(node, nullptr);
      }
      if (!c.defined.empty()) {
        EXPECT_EQ(zel_test::CauseOf<CArchiveException>([&] { tree.CheckSharedNode(6000); }), 5);
      }
    }
    EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
  }
}

TEST_F(SyntaxTreeTest, HundredThousandLevelsReadPrintAndFreeWithoutRecursion) {
  const int depth = 100000;
  std::string text = "(SXF ";
  text.append(depth, '(');
  text += "x";
  text.append(depth, ')');
  text += ")";
  {
    CSyntaxTree tree;
    ASSERT_EQ(ReadCause(path, text, tree), 0);
    std::string out;
    tree.PrintToString(out, nullptr, 1 << 30, "\n");
    EXPECT_EQ(out, text + "\n");
    std::string narrow;
    tree.PrintToString(narrow, nullptr, 10, "\n");
    EXPECT_EQ(narrow.substr(0, 8), "(SXF \n (");
  }
  EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
  // Unbalanced at that depth: the fault cleans everything up.
  CSyntaxTree tree;
  EXPECT_EQ(ReadCause(path, text.substr(0, text.size() - 10), tree), 1);
  EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
}

TEST_F(SyntaxTreeTest, RepeatedTagsAndUsesShareNodesAndAllAreFreed) {
  {
    CSyntaxTree tree;
    ASSERT_EQ(ReadCause(path,
                        "(SXF (Aa 1) (Aa 2) (aA 3) #0=(X) #0# #0# (Zz" + std::string(20, 'z') +
                            " Zz" + std::string(20, 'z') + "))",
                        tree),
              0);
    CSynList* root = tree.GetRoot();
    auto head = [&](uint32_t i) {
      return static_cast<CSynList*>(root->ElementAt(i))->ElementAt(0);
    };
    EXPECT_EQ(head(1), head(2));
    EXPECT_NE(head(1), head(3));  // names are kept as written
    EXPECT_EQ(root->ElementAt(5), root->ElementAt(6));
    // A list taken out of the tree keeps its shared nodes alive on its own.
    CSynList* taken = static_cast<CSynList*>(root->RemoveTail());
    tree.Clear();
    EXPECT_EQ(dynamic_cast<CSynTag*>(taken->ElementAt(1))->GetName(), "Zz" + std::string(20, 'z'));
    CSynNode::DeletePtr(taken);
  }
  EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
  std::string text = StoreExample(nullptr, 40);
  EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
  EXPECT_EQ(text, kExample40);
}

// The line breaking written out recursively, straight from its definition, as the
// reference for the printer.
struct ReferencePrinter {
  int width;
  std::string out, line;

  static int Length(const CSynNode* n, int budget) { return n->SubtractPrintLen(budget); }
  int Left() const { return width - static_cast<int>(line.size()); }
  void Flush(int indent) {
    out += line + "\n";
    line.assign(static_cast<size_t>(std::max(indent, 0)), ' ');
  }
  void Print(const CSynNode* n, bool fitsOnLine) {
    if (auto* ref = dynamic_cast<const CSynRef*>(n)) {
      char head[16];
      line.append(head, static_cast<size_t>(ref->PrintHead(head)));
      if (ref->GetNode()) Print(ref->GetNode(), fitsOnLine);
      return;
    }
    auto* list = dynamic_cast<const CSynList*>(n);
    if (!list) {
      CString s;
      n->OutputToString(s);
      line += s.str();
      return;
    }
    int left = Left();
    bool whole = fitsOnLine || list->CanFitOnLine(left);
    line += "(";
    left -= 1;
    int indent = static_cast<int>(line.size());
    for (uint32_t i = 0; i < list->GetCount(); ++i) {
      const CSynNode* e = list->ElementAt(i);
      if (i > 0) {
        line += " ";
        left -= 1;
      }
      bool fits = whole || e->CanFitOnLine(left);
      if (!fits && i > 0) Flush(indent);
      Print(e, fits);
      left = Left();
    }
    line += ")";
  }
};

TEST_F(SyntaxTreeTest, LineBreakingMatchesItsDefinitionOnRandomTrees) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  const char* atoms[] = {"a",    "Tag",   "LongerTagName",    "12",
                         "-3.5", "\"s\"", "\"a\\tb\"",        "\"quite a long string value\"",
                         "()",   "Nil",   "\"\\n\\r\\t\\t\"", "\"\\001\\\\\\\"\""};
  for (int round = 0; round < 300; ++round) {
    // A random nested text, with shared definitions and uses.
    std::string text = "(SXF";
    int depth = 0, defined = 0;
    for (int k = 0; k < 40; ++k) {
      unsigned pick = rng() % 10;
      text += " ";
      if (pick < 2) {
        text += "(x";
        ++depth;
      } else if (pick == 2 && depth > 0) {
        text += ")";
        --depth;
      } else if (pick == 3) {
        text += "#" + std::to_string(defined++) + "=(d";
        ++depth;
      } else if (pick == 4 && defined > 0) {
        text += "#" + std::to_string(rng() % static_cast<unsigned>(defined)) + "#";
      } else {
        text += atoms[rng() % std::size(atoms)];
      }
    }
    text.append(static_cast<size_t>(depth), ')');
    text += ")";
    CSyntaxTree tree;
    ASSERT_EQ(ReadCause(path, text, tree), 0) << text;
    for (int width : {1, 5, 12, 20, 33, 40, 75, 200}) {
      SCOPED_TRACE(text + " at width " + std::to_string(width));
      ReferencePrinter ref{width, {}, {}};
      ref.Print(tree.GetRoot(), false);
      ref.Flush(0);
      std::string got;
      tree.PrintToString(got, nullptr, width, "\n");
      ASSERT_EQ(got, ref.out);
    }
  }
}

// An archive prints what it stores as it goes and frees it; the text must be the one the
// whole tree would print. Random stores, read back and printed by the reference.
TEST_F(SyntaxTreeTest, ArchivesPrintedWhileStoredBreakAsWholeTreesDo) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  const char* strings[] = {
      "", "s", "a\tb", "quite a long string value, longer than some widths", "\n\r\t", "q\"uote\\"};
  std::vector<CMarker> markers(6);
  std::vector<CSegment> segments(6);
  for (size_t i = 0; i < markers.size(); ++i) {
    markers[i].number = static_cast<int>(i) * 37;
    markers[i].label = strings[i % std::size(strings)];
    segments[i].text = strings[(i + 2) % std::size(strings)];
    segments[i].count = static_cast<int>(i);
    segments[i].weight = 0.5 * static_cast<double>(i);
    segments[i].first = &markers[i];
    segments[i].second = i > 0 ? &segments[i - 1] : nullptr;
  }
  for (int round = 0; round < 120; ++round) {
    const int widths[] = {1, 5, 12, 20, 33, 40, 75, 200, 1 << 20};
    const int width = widths[rng() % std::size(widths)];
    const char* prefix = rng() % 4 == 0 ? "# " : nullptr;
    const int ops = 1 + static_cast<int>(rng() % 300);
    std::vector<std::string> comments;
    const std::string text = Store(
        path,
        [&](CZelArchive& ar) {
          int depth = 0;
          for (int k = 0; k < ops; ++k) {
            const unsigned pick = rng() % 12;
            if (pick < 2) {
              ar.OpenArray(pick == 0 ? "Arr" : nullptr);
              ++depth;
            } else if (pick == 2 && depth > 0) {
              ar.CloseArray();
              --depth;
            } else if (pick == 3) {
              int v = static_cast<int>(rng() % 2000) - 1000;
              ar(v);
            } else if (pick == 4) {
              double v = static_cast<double>(rng() % 100000) / 7.0;
              ar(v);
            } else if (pick == 5) {
              CString v = strings[rng() % std::size(strings)];
              ar(v);
            } else if (pick == 6) {
              CObject* p = &markers[rng() % markers.size()];
              ar(p);  // shared
            } else if (pick == 7) {
              ar.WriteObject(&segments[rng() % segments.size()], static_cast<int>(rng() % 2));
            } else if (pick == 8) {
              RECT r{1, -2, 300, 4000};
              ar(r);
            } else if (pick == 9 && rng() % 8 == 0) {
              comments.push_back("note " + std::to_string(k));
              ar.WriteCommentLine(comments.back().c_str());
            } else if (pick == 10) {
              CPair pair;
              pair.tally = static_cast<int>(rng() % 100);
              pair.left = markers[rng() % markers.size()];
              pair.right = markers[rng() % markers.size()];
              ar.WriteObject(&pair, 0);
            } else {
              ar.WriteObject(&markers[rng() % markers.size()], 0);
            }
          }
          for (; depth > 0; --depth) ar.CloseArray();
        },
        prefix, width);
    SCOPED_TRACE("width " + std::to_string(width) + (prefix ? " with a prefix:\n" : ":\n") + text);
    CSyntaxTree tree;
    ASSERT_EQ(ReadCause(path, text, tree, prefix), 0);
    ReferencePrinter ref{width, {}, {}};
    for (const std::string& c : comments) ref.out += ";; " + c + "\n";
    ref.Print(tree.GetRoot(), false);
    ref.Flush(0);
    std::string expected;
    for (size_t start = 0; start < ref.out.size();) {
      const size_t end = ref.out.find('\n', start);
      expected += (prefix ? prefix : "") + ref.out.substr(start, end - start) + "\r\n";
      start = end + 1;
    }
    ASSERT_EQ(text, expected);
  }
  EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
}

TEST_F(SyntaxTreeTest, AtomsLongerThanTheWidthStayWhole) {
  CSyntaxTree tree;
  ASSERT_EQ(ReadCause(path, "(SXF Abcdefghijklmnop q r)", tree), 0);
  std::string out;
  tree.PrintToString(out, nullptr, 8, "\n");
  EXPECT_EQ(out, "(SXF \n Abcdefghijklmnop \n q r)\n");
}

TEST_F(SyntaxTreeTest, ExchangeFaults) {
  CSyntaxTree tree;
  tree.StartExchange(0);
  tree.OpenList();
  EXPECT_THROW(tree.EndExchange(), CArchiveException);
  CSyntaxTree loaded;
  ASSERT_EQ(ReadCause(path, "(SXF 1 \"s\")", loaded), 0);
  loaded.StartExchange(1);
  CString s;
  EXPECT_EQ(zel_test::CauseOf<CArchiveException>([&] { loaded.Exchange(s); }),
            CArchiveException::badClass)
      << "a number read as a string";
  loaded.Exchange(s);
  EXPECT_EQ(s, "s");
  int more;
  EXPECT_EQ(zel_test::CauseOf<CArchiveException>([&] { loaded.Exchange(more); }),
            CArchiveException::genericException)
      << "read past the end";
}

}  // namespace
