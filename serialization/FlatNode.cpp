// The node of an object stored as its printed text.
#include "serialization/FlatNodeInternal.h"
#include "serialization/SyntaxTree.h"

IMPLEMENT_DYNAMIC(CSynFlat, CSynNode)

void CSynFlat::Output(CSyntaxTree& tree, int) const {
  tree.OutputString(m_text.data(), m_text.size());
}

void CSynFlat::OutputToString(CString& s) const { s.str().append(m_text.view()); }
