// Storing an object as the text it prints, while the tree is printed as it is filled.
//
// A stored record of atoms used to cost a node for each member, a list, the measuring of
// that list by printing it flat, and the freeing of every node once printed. When the
// printer has printed everything before the object and the object's list is not its
// parent's first element and fits the lines the parent's elements start, the printer
// prints it whole wherever it goes: then its text is all that is needed, and it is printed
// at once (ListPrinter::PrintNext). Otherwise, or as soon as the object stores something
// text cannot hold here (a list, or an object of its own), the object becomes a list of
// nodes, one printing each atom captured (CSynFlat), and storing goes on into it.
#include <charconv>
#include <string>
#include <utility>

#include "files/StatusMessage.h"
#include "serialization/FlatNodeInternal.h"
#include "serialization/SyntaxTreeInternal.h"

void CSyntaxTree::StoreAsText(const CObject* object, ZelSerializeFn serialize, CZelArchive& ar) {
  if (!m_capture) m_capture = std::make_unique<Capture>();
  Capture& c = *m_capture;
  const size_t depth = m_posStack.size();
  CSynList* list = nullptr;  // the object's nodes, once the capture is abandoned
  try {
    SavePos();
    m_curList = nullptr;  // nothing is added to a list while the capture lasts
    m_pos = nullptr;
    c.size = 0;
    *c.Room(1) = '(';
    c.Wrote(1);
    c.extra = 0;
    c.atoms.clear();
    c.into = &list;
    m_capturing = true;
    CaptureTag(m_lastTag->m_name.view());
    serialize(const_cast<CObject*>(object), ar);
    if (m_capturing) {
      m_capturing = false;
      *c.Room(1) = ')';
      c.Wrote(1);
      RestorePos();
      const int measure = static_cast<int>(c.size) + c.extra;
      AdvanceFilling();  // atoms stored before it may wait to be printed
      if (m_filling->printer.PrintNext(m_curList, c.Text(), measure)) {
        CountStored();  // the list's count, as when it is stored as nodes
        return;
      }
      list = MakeCapturedList();
    } else {
      RestorePos();  // not LeaveList: the list is printable only once it is in the tree
      if (!list) ThrowGenericException();  // the tree was cleared meanwhile
      list->FitToCount();
    }
    PutNextNode(std::exchange(list, nullptr));
  } catch (...) {
    // Back to where this object began; its nodes, if any were made, are ours to free.
    m_capturing = false;
    BackToDepth(depth);
    CSynNode::DeletePtr(list);
    throw;
  }
  AdvanceFilling();
}

void CSyntaxTree::CountStored() {
  if (m_filling) ++m_filling->filled;
  if (m_progressCount >= 0) {
    ++m_progressCount;
    if (m_progressStep > 0 && m_progressCount % m_progressStep == 0)
      FormatStatusMessage("Item %ld", static_cast<long>(m_progressCount));
  }
}

void CSyntaxTree::CaptureString(const char* value) {
  // As CSynStr::NewPtr takes it: up to its first zero byte.
  Capture& c = *m_capture;
  c.Append(" ", 1);
  c.EndAtom(
      zel_sxf::WriteQuoted(value ? value : "", [&c](const char* p, size_t n) { c.Append(p, n); }));
  CountStored();
}

void CSyntaxTree::CaptureTag(std::string_view name) {
  Capture& c = *m_capture;
  if (!c.atoms.empty()) c.Append(" ", 1);
  c.Append(name.data(), name.size());
  c.EndAtom();
  CountStored();
}

void CSyntaxTree::CaptureUse(int index) {
  Capture& c = *m_capture;
  char use[16] = {' ', '#'};
  char* end = std::to_chars(use + 2, use + sizeof use - 1, index).ptr;
  *end++ = '#';
  c.Append(use, static_cast<size_t>(end - use));
  c.EndAtom();
  CountStored();
}

CSynList* CSyntaxTree::MakeCapturedList() {
  Capture& c = *m_capture;
  CSynList* list = CSynList::NewPtr();
  try {
    uint32_t begin = 1;  // after "("
    for (const Capture::Atom& a : c.atoms) {
      const std::string_view text(c.text.get() + begin, a.end - begin);
      auto* node = new CSynFlat(text, static_cast<int>(text.size() + a.extra));
      try {
        list->AddNew(node);
      } catch (...) {
        CSynNode::DeletePtr(node);
        throw;
      }
      begin = a.end + 1;  // after the blank
    }
  } catch (...) {
    CSynNode::DeletePtr(list);
    throw;
  }
  return list;
}

void CSyntaxTree::AbandonCapture() {
  // The object's list is made of what was captured, and storing goes on into it.
  Capture& c = *m_capture;
  m_capturing = false;
  CSynList* list = MakeCapturedList();
  *c.into = list;
  m_curList = list;
  m_pos = list->GetHeadPosition();
}
