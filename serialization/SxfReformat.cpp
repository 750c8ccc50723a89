// Reading a structured text file and printing it again.
#include "serialization/SxfReformat.h"

#include <bit>
#include <cstdint>
#include <vector>

#include "files/ZelTextFile.h"
#include "serialization/NumberText.h"
#include "serialization/SyntaxTree.h"

namespace {

void ReadChecked(CSyntaxTree& tree, CZelTextFile& in, const char* prefix, SxfStop* stop) {
  try {
    tree.Serialize(&in, 1, prefix, 0);
  } catch (CException&) {
    if (stop) *stop = SxfStop{tree.StopLine(), tree.StopColumn(), false};
    throw;
  }
  try {
    tree.StartExchange(1);
  } catch (CException&) {
    // The whole root was read: what is wrong is its first element.
    if (stop) *stop = SxfStop{1, 0, true};
    throw;
  }
}

// An atom that prints a text of its own: a whole number in the form that keeps it.
class CSynVerbatim : public CSynNode {
 public:
  explicit CSynVerbatim(std::string text) : m_text(std::move(text)) {}
  int SubtractPrintLen(int n) const override { return n - static_cast<int>(m_text.size()); }
  void OutputToString(CString& s) const override { s.str().append(m_text); }

 private:
  std::string m_text;
};

// The printing of the writer changes a number that was read in one of two ways: a whole
// number keeps only one of its three values, and a double keeps six significant digits.
// Whole numbers get a text that keeps all three; changed doubles are counted.
void KeepNumbers(CSynList* root, SxfReformatLosses& losses) {
  std::vector<CSynList*> lists{root};
  while (!lists.empty()) {
    CSynList* list = lists.back();
    lists.pop_back();
    for (uint32_t i = 0; i < static_cast<uint32_t>(list->GetCount()); ++i) {
      CSynNode* e = list->ElementAt(i);
      if (e->IsKindOf(RUNTIME_CLASS(CSynList))) {
        lists.push_back(static_cast<CSynList*>(e));
        continue;
      }
      if (e->IsKindOf(RUNTIME_CLASS(CSynRef))) {
        // A definition's list is reached through its one defining reference.
        CSynNode* target = static_cast<CSynRef*>(e)->GetNode();
        if (target && target->IsKindOf(RUNTIME_CLASS(CSynList)))
          lists.push_back(static_cast<CSynList*>(target));
        continue;
      }
      if (!e->IsKindOf(RUNTIME_CLASS(CSynNum))) continue;
      const CSynNum& n = *static_cast<CSynNum*>(e);
      char printed[32];
      const std::string_view writer(printed, static_cast<size_t>(n.Print(printed)));
      if (n.IsInteger()) {
        if (zel_sxf::ReadsBackAs(writer, n)) continue;
        std::string kept = zel_sxf::WholeNumberText(n);
        if (!kept.empty()) {
          CSynNode::DeletePtr(list->ReplaceAt(i, new CSynVerbatim(std::move(kept))));
          continue;
        }
      } else {
        // A double is loaded from its double value alone.
        CSynNum* back = CSynNum::FromToken(writer);
        const bool same =
            std::bit_cast<uint64_t>(back->GetDouble()) == std::bit_cast<uint64_t>(n.GetDouble());
        CSynNode::DeletePtr(back);
        if (same) continue;
      }
      if (losses.numbersChanged++ == 0) {
        losses.firstBefore = zel_sxf::ShortestDoubleText(n.GetDouble());
        losses.firstAfter = std::string(writer);
      }
    }
  }
}

}  // namespace

void SxfReformat(CZelTextFile& in, const char* prefix, int width, const char* lineEnd,
                 std::string& out, SxfStop* stop, SxfReformatLosses* losses) {
  CSyntaxTree::CommentLog comments;
  CSyntaxTree tree;
  tree.LogComments(&comments);
  ReadChecked(tree, in, prefix, stop);
  SxfReformatLosses found;
  KeepNumbers(tree.GetRoot(), found);
  found.commentsDropped = comments.insideRoot;
  for (const std::string& text : comments.beforeRoot) tree.AddCommentLine(text.c_str());
  std::string printed;
  tree.PrintToString(printed, prefix, width, lineEnd);
  out.swap(printed);
  if (losses) *losses = std::move(found);
}

void SxfCheck(CZelTextFile& in, const char* prefix, SxfStop* stop) {
  CSyntaxTree tree;
  ReadChecked(tree, in, prefix, stop);
}
