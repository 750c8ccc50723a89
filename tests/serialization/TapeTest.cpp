// A tree read from a file is walked in its tape and made into nodes only when asked for:
// both must tell the same tree, on random texts large enough to cross the tape's chunks.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "serialization/NodePool.h"
#include "tests/serialization/SxfTestUtil.h"

using namespace sxf_test;

namespace {

// The protected node getters, which a tape walk answers with nodes made for them.
class CNodeTree : public CSyntaxTree {
 public:
  using CSyntaxTree::GetNextNode;
  using CSyntaxTree::GetNextTag;
  using CSyntaxTree::PeekNextNode;
};

// A random text of the format: nested lists, tags (some names repeated in other cases),
// strings with every escape (some too long to sit among the tape's words), number tokens
// of every form the reader knows, and shared indexes defined and used.
class TextMaker {
 public:
  explicit TextMaker(unsigned seed) : m_rng(seed) {}

  std::string Make(int elements) {
    std::string text = "(SXF";
    for (int i = 0; i < elements; ++i) Element(text, 0);
    return text + ")\n";
  }

 private:
  int Pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

  void Gap(std::string& text) { text += Pick(8) == 0 ? "\n " : " "; }

  void Element(std::string& text, int depth) {
    Gap(text);
    const int kind = Pick(depth < 4 ? 12 : 9);
    if (kind <= 2) {
      Number(text);
    } else if (kind <= 4) {
      String(text);
    } else if (kind <= 6) {
      static const char* const kTags[] = {"Rec", "rec", "Item", "a-b.c", "Z9", "Nil"};
      text += kTags[Pick(6)];
    } else if (kind == 7 && m_defined > 0) {
      text += "#" + std::to_string(Pick(m_defined)) + "#";
    } else if (kind == 8 && depth > 0) {
      text += "()";
    } else {
      if (kind == 11) text += "#" + std::to_string(m_defined++) + "=";
      text += "(";
      const int n = Pick(6);
      for (int i = 0; i < n; ++i) Element(text, depth + 1);
      text += ")";
    }
  }

  void Number(std::string& text) {
    static const char* const kForms[] = {"0",
                                         "7",
                                         "-0",
                                         "12",
                                         "-2147483648",
                                         "2147483647",
                                         "4294967295",
                                         "-4294967296",
                                         "123456789012345",
                                         "12345678901234567",
                                         "1e+06",
                                         "-2.5E-3",
                                         "1.5",
                                         "-3.25",
                                         ".5",
                                         "5.",
                                         "+",
                                         "-",
                                         "+12",
                                         "0.1",
                                         "1.2.3",
                                         "3e"};
    if (Pick(3) == 0) {
      text += kForms[Pick(static_cast<int>(std::size(kForms)))];
    } else if (Pick(2) == 0) {
      text += std::to_string(static_cast<int32_t>(m_rng()));
    } else {
      text +=
          std::to_string(static_cast<int32_t>(m_rng()) % 100000) + "." + std::to_string(Pick(1000));
    }
  }

  void String(std::string& text) {
    text += '"';
    const int length = Pick(400) == 0 ? 17000 + Pick(3000) : Pick(30);
    for (int i = 0; i < length; ++i) {
      switch (Pick(20)) {
        case 0:
          text += "\\\"";
          break;
        case 1:
          text += "\\\\";
          break;
        case 2:
          text += "\\n";
          break;
        case 3:
          text += "\\t";
          break;
        case 4:
          text += "\\000";
          break;
        case 5:
          text += "\\351";
          break;
        default:
          text += static_cast<char>('a' + Pick(26));
      }
    }
    text += '"';
  }

  std::mt19937 m_rng;
  int m_defined = 0;
};

// A number exchanged as the type its place in the walk picks, printed exactly.
std::string NumberAs(int pick, const CSynNum* node, CSyntaxTree* tree) {
  auto show = [](auto v) {
    if constexpr (std::is_same_v<decltype(v), double>)
      return std::to_string(std::bit_cast<uint64_t>(v));
    else if constexpr (std::is_same_v<decltype(v), float>)
      return std::to_string(std::bit_cast<uint32_t>(v));
    else
      return std::to_string(static_cast<long long>(v));
  };
  auto as = [&](auto v) {
    if (tree)
      tree->Exchange(v);
    else
      v = static_cast<decltype(v)>(*node);
    return show(v);
  };
  switch (pick % 10) {
    case 0:
      return "c" + as(char{});
    case 1:
      return "s" + as(short{});
    case 2:
      return "i" + as(int{});
    case 3:
      return "l" + as(long{});
    case 4:
      return "C" + as(static_cast<unsigned char>(0));
    case 5:
      return "S" + as(static_cast<unsigned short>(0));
    case 6:
      return "I" + as(0u);
    case 7:
      return "L" + as(0ul);
    case 8:
      return "f" + as(0.0f);
    default:
      return "d" + as(0.0);
  }
}

// The walk through the exchange, in whatever form the tree holds what it read.
void WalkExchange(CNodeTree& tree, std::vector<std::string>& out) {
  while (!tree.AtEnd()) {
    const CRuntimeClass* cls = tree.PeekNextNodeType();
    const auto pick = static_cast<int>(out.size());
    if (cls == RUNTIME_CLASS(CSynList)) {
      out.push_back("(");
      tree.OpenList();
      WalkExchange(tree, out);
      tree.LeaveList();
      out.push_back(")");
    } else if (cls == RUNTIME_CLASS(CSynRef)) {
      CSynNode* peeked = tree.PeekNextNode();
      auto* ref = static_cast<CSynRef*>(tree.GetNextNode());
      EXPECT_EQ(ref, peeked) << "taking the node peeked gives that node";
      out.push_back("#" + std::to_string(ref->GetIndex()) + (ref->GetNode() ? "=" : "#"));
    } else if (cls == RUNTIME_CLASS(CSynTag)) {
      out.push_back(std::string("tag ") + tree.GetNextTag()->Name());
    } else if (cls == RUNTIME_CLASS(CSynStr)) {
      CString s;
      tree.Exchange(s);
      out.push_back("str " + s.str());
    } else {
      out.push_back(NumberAs(pick, nullptr, &tree));
    }
  }
}

// The same walk over the nodes themselves.
void WalkNodes(const CSynList* list, uint32_t from, std::vector<std::string>& out) {
  for (uint32_t i = from; i < static_cast<uint32_t>(list->GetCount()); ++i) {
    const CSynNode* node = list->ElementAt(i);
    const CRuntimeClass* cls = node->GetRuntimeClass();
    const auto pick = static_cast<int>(out.size());
    if (cls == RUNTIME_CLASS(CSynList)) {
      out.push_back("(");
      WalkNodes(static_cast<const CSynList*>(node), 0, out);
      out.push_back(")");
    } else if (cls == RUNTIME_CLASS(CSynRef)) {
      const auto* ref = static_cast<const CSynRef*>(node);
      out.push_back("#" + std::to_string(ref->GetIndex()) + (ref->GetNode() ? "=" : "#"));
    } else if (cls == RUNTIME_CLASS(CSynTag)) {
      out.push_back(std::string("tag ") + static_cast<const CSynTag*>(node)->Name());
    } else if (cls == RUNTIME_CLASS(CSynStr)) {
      out.push_back("str " + std::string(static_cast<const CSynStr*>(node)->View()));
    } else {
      out.push_back(NumberAs(pick, static_cast<const CSynNum*>(node), nullptr));
    }
  }
}

class TapeTest : public zel_test::ZelTest {
 protected:
  std::string path = tmp / "tape.sxf";
};

TEST_F(TapeTest, TheWalkAndTheNodesTellTheSameTree) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    // The last text makes a tape of several chunks, the largest ones among them.
    const std::string text = TextMaker(seed).Make(seed == 4 ? 20000 : 300);
    CNodeTree walked;
    ASSERT_EQ(ReadCause(path, text, walked), 0);
    walked.StartExchange(1);
    std::vector<std::string> byWalk;
    WalkExchange(walked, byWalk);
    walked.EndExchange();

    CSyntaxTree made;
    ASSERT_EQ(ReadCause(path, text, made), 0);
    std::vector<std::string> byNodes;
    WalkNodes(made.GetRoot(), 1, byNodes);
    ASSERT_EQ(byWalk.size(), byNodes.size());
    for (size_t i = 0; i < byWalk.size(); ++i) ASSERT_EQ(byWalk[i], byNodes[i]) << "element " << i;

    // The nodes print the text they were read from, as the tree's printer lays it out.
    std::string printed, again;
    made.PrintToString(printed, nullptr, 75);
    CSyntaxTree reread;
    ASSERT_EQ(ReadCause(path, printed, reread), 0);
    reread.PrintToString(again, nullptr, 75);
    EXPECT_EQ(again, printed);
  }
}

TEST_F(TapeTest, SharedListsAreOneNodeWhoeverAsksFirst) {
  const std::string text = "(SXF #0=(Rec 1 #1=(Rec 2)) #1# #0#)";
  for (bool tableFirst : {true, false}) {
    SCOPED_TRACE(tableFirst ? "the table asked first" : "the root asked first");
    CSyntaxTree tree;
    ASSERT_EQ(ReadCause(path, text, tree), 0);
    CObject* object = nullptr;
    CSynNode* fromTable = nullptr;
    if (tableFirst) {
      EXPECT_FALSE(tree.GetShared(1, object, fromTable));
    }
    const CSynList* root = tree.GetRoot();
    const auto* outer = static_cast<const CSynRef*>(root->ElementAt(1));
    const auto* inner =
        static_cast<const CSynRef*>(static_cast<const CSynList*>(outer->GetNode())->ElementAt(2));
    if (!tableFirst) {
      EXPECT_FALSE(tree.GetShared(1, object, fromTable));
    }
    EXPECT_EQ(fromTable, inner->GetNode());
    EXPECT_EQ(static_cast<const CSynRef*>(root->ElementAt(2))->GetNode(), nullptr);
    CSynNode* zero = nullptr;
    tree.GetShared(0, object, zero);
    EXPECT_EQ(zero, outer->GetNode());
  }
}

TEST_F(TapeTest, ARootThatIsNoListIsReadWholeAndRefused) {
  // A definition is read by the nodes' own reader, through a tape of its own that is gone
  // once its nodes are made; then it is refused, and nothing of it stays.
  CSyntaxTree tree;
  EXPECT_EQ(ReadCause(path, "#4=(a #5=(b) #5# \"s\" 3)\n", tree), CArchiveException::badClass);
  EXPECT_EQ(tree.GetRoot(), nullptr);
  CObject* object = nullptr;
  CSynNode* node = nullptr;
  EXPECT_FALSE(tree.GetShared(5, object, node));
  EXPECT_EQ(node, nullptr);
  EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
  // A use of an index the broken definition named is no use of anything.
  EXPECT_EQ(ReadCause(path, "(SXF #4=(a \"unclosed)\n", tree), CArchiveException::genericException);
  EXPECT_EQ(ReadCause(path, "(SXF #4#)", tree), CArchiveException::badIndex);
}

}  // namespace
