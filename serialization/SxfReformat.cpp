// Reading a structured text file and printing it again.
#include "serialization/SxfReformat.h"

#include "files/ZelTextFile.h"
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
}  // namespace

void SxfReformat(CZelTextFile& in, const char* prefix, int width, const char* lineEnd,
                 std::string& out, SxfStop* stop) {
  CSyntaxTree tree;
  ReadChecked(tree, in, prefix, stop);
  std::string printed;
  tree.PrintToString(printed, prefix, width, lineEnd);
  out.swap(printed);
}

void SxfCheck(CZelTextFile& in, const char* prefix, SxfStop* stop) {
  CSyntaxTree tree;
  ReadChecked(tree, in, prefix, stop);
}
