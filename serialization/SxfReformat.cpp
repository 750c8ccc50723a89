// Reading a structured text file and printing it again.
#include "serialization/SxfReformat.h"

#include "files/ZelTextFile.h"
#include "serialization/SyntaxTree.h"

namespace {
void ReadChecked(CSyntaxTree& tree, CZelTextFile& in, const char* prefix) {
  tree.Serialize(&in, 1, prefix, 0);
  tree.StartExchange(1);
}
}  // namespace

void SxfReformat(CZelTextFile& in, const char* prefix, int width, const char* lineEnd,
                 std::string& out) {
  CSyntaxTree tree;
  ReadChecked(tree, in, prefix);
  std::string printed;
  tree.PrintToString(printed, prefix, width, lineEnd);
  out.swap(printed);
}

void SxfCheck(CZelTextFile& in, const char* prefix) {
  CSyntaxTree tree;
  ReadChecked(tree, in, prefix);
}
