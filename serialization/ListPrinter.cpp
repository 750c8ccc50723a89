// The list printer: line breaking for a finished tree, and for one still being filled.
#include <algorithm>
#include <cstring>

#include "serialization/FlatNodeInternal.h"
#include "serialization/SynPrintInternal.h"
#include "serialization/SyntaxTree.h"

namespace zel_sxf {

namespace {

// A list printed on one line before it is known to fit there: never more than the budget
// it is measured against, so its room is reserved once and written without checks of
// growth. Trees are used by one thread at a time, so one scratch serves all.
struct FlatText {
  std::vector<char> room;
  size_t length = 0;
};
FlatText& FlatScratch() {
  static FlatText s;
  return s;
}

constexpr int kFlatTooLong = -1;
constexpr int kFlatUnknownNode = -2;

struct FlatFrame {
  const CSynList* list;
  uint32_t next;
};

// Prints list on one line into out, as the printer prints a list that fits, and answers the
// length SubtractPrintLen counts for it (a tab, newline or return in a string counts 4,
// though printed in 2); kFlatTooLong once that passes budget, kFlatUnknownNode for a node
// whose printing is its own. Printing and measuring at once spares a second walk. A list
// still being filled is measured as far as it goes: what it holds already is a lower bound.
int PrintFlat(const CSynList* list, int budget, FlatText& out) {
  out.length = 0;
  if (budget < 2) return kFlatTooLong;
  const size_t limit = static_cast<size_t>(budget);
  if (out.room.size() < limit) out.room.resize(limit);
  char* text = out.room.data();
  size_t length = 0;
  size_t extra = 0;   // counted beyond what is printed
  bool over = false;  // the count passed the budget: the list does not fit
  auto put = [&](const char* p, size_t n) {
    if (over || length + n + extra > limit) {
      over = true;
      return;
    }
    std::memcpy(text + length, p, n);
    length += n;
  };
  auto putChar = [&](char c) {
    if (over || length + 1 + extra > limit) {
      over = true;
      return;
    }
    text[length++] = c;
  };
  static std::vector<FlatFrame> stack;
  stack.clear();
  putChar('(');
  stack.push_back({list, 0});
  while (!stack.empty() && !over) {
    FlatFrame& f = stack.back();
    if (f.next == f.list->GetCount()) {
      putChar(')');
      stack.pop_back();
      continue;
    }
    if (f.next > 0) putChar(' ');
    const CSynNode* e = f.list->ElementAt(f.next++);
    const CRuntimeClass* cls = e->GetRuntimeClass();
    if (cls == RUNTIME_CLASS(CSynList)) {
      putChar('(');
      stack.push_back({static_cast<const CSynList*>(e), 0});
    } else if (cls == RUNTIME_CLASS(CSynNum)) {
      char buf[32];
      put(buf, static_cast<size_t>(static_cast<const CSynNum*>(e)->Print(buf)));
    } else if (cls == RUNTIME_CLASS(CSynStr)) {
      extra += 2 * WriteQuoted(static_cast<const CSynStr*>(e)->View(), put);
      over = over || length + extra > limit;
    } else if (cls == RUNTIME_CLASS(CSynTag)) {
      const char* name = static_cast<const CSynTag*>(e)->Name();
      put(name, std::strlen(name));
    } else if (cls == RUNTIME_CLASS(CSynFlat)) {
      const auto* flat = static_cast<const CSynFlat*>(e);
      put(flat->Text().data(), flat->Text().size());
      extra += static_cast<size_t>(flat->Measure()) - flat->Text().size();
      over = over || length + extra > limit;
    } else if (cls == RUNTIME_CLASS(CSynRef)) {
      const CSynRef* ref = static_cast<const CSynRef*>(e);
      const CSynNode* target = ref->GetNode();
      if (target && !IsExactly(target, RUNTIME_CLASS(CSynList))) return kFlatUnknownNode;
      char head[16];
      put(head, static_cast<size_t>(ref->PrintHead(head)));
      if (target) {
        putChar('(');
        stack.push_back({static_cast<const CSynList*>(target), 0});
      }
    } else {
      return kFlatUnknownNode;
    }
  }
  if (over) return kFlatTooLong;
  out.length = length;
  return static_cast<int>(length + extra);
}

}  // namespace

ListPrinter::ListPrinter(CSyntaxTree& tree, const CSynList* list, bool fitsOnLine, bool freePrinted)
    : m_tree(tree), m_list(list), m_fitsOnLine(fitsOnLine), m_freePrinted(freePrinted) {}

bool ListPrinter::PrintNext(const CSynList* list, std::string_view text, int measure) {
  if (m_stack.empty()) return false;
  Frame& f = m_stack.back();
  if (f.list != list || f.wholeFits || f.next == 0 || f.next != f.freed + list->GetCount())
    return false;
  const int width = m_tree.CharsLeftOnLine() + m_tree.CharsUsedOnLine();
  if (measure > width - f.indent) return false;
  // Run's way with an element after the first (a list measured to fit on its own line
  // takes the same way as an atom): the blank, a break when it does not fit here.
  m_tree.OutputString(" ", 1);
  if (f.left - 1 < measure) m_tree.FlushCurrentLine(f.indent);
  m_tree.OutputString(text.data(), text.size());
  ++f.next;
  ++f.freed;  // it never was in the list
  f.left = m_tree.CharsLeftOnLine();
  return true;
}

void ListPrinter::Open(const CSynList* list, bool whole) {
  const int left = m_tree.CharsLeftOnLine();
  m_tree.OutputString("(", 1);
  m_stack.push_back({list, 0, 0, left - 1, m_tree.CharsUsedOnLine(), whole});
}

bool ListPrinter::Wait(size_t filled, int budget) {
  // Measuring again costs at most the budget: waiting for a quarter of it in new nodes
  // keeps the measuring linear in all.
  m_retryAt = filled + 64 + static_cast<size_t>(std::max(budget, 0)) / 4;
  return false;
}

bool ListPrinter::Run(OpenTest open, const void* context, size_t filled) {
  if (open && filled < m_retryAt) return false;
  auto isOpen = [&](const CSynList* list) { return open && open(context, list); };
  if (!m_begun) {
    const int left = m_tree.CharsLeftOnLine();
    bool whole = m_fitsOnLine || m_list->CanFitOnLine(left);
    if (whole && isOpen(m_list)) return Wait(filled, left);
    m_begun = true;
    Open(m_list, whole);
  }
  // A list's length as its parent measured it, kTooLong when it did not fit a budget at
  // least as large as what is left now, kUnknown otherwise.
  constexpr int kUnknown = -1;
  constexpr int kTooLong = -2;
  while (!m_stack.empty()) {
    const size_t top = m_stack.size() - 1;
    const Frame f = m_stack[top];
    if (f.next == f.freed + f.list->GetCount()) {
      if (isOpen(f.list)) {
        if (m_freePrinted) {
          // All of it is printed: a list being filled is the tree's own, not const.
          auto* list = const_cast<CSynList*>(f.list);
          while (!list->IsEmpty()) CSynNode::DeletePtr(list->RemoveTail());
          m_stack[top].freed = f.next;
        }
        return false;
      }
      m_tree.OutputString(")", 1);
      m_stack.pop_back();
      if (!m_stack.empty()) m_stack.back().left = m_tree.CharsLeftOnLine();
      continue;
    }
    const CSynNode* e = f.list->ElementAt(f.next - f.freed);
    int left = f.left - (f.next > 0 ? 1 : 0);  // after the blank that separates it
    bool fits = f.wholeFits;
    int length = kUnknown;
    const CRuntimeClass* cls = e->GetRuntimeClass();
    const bool isList = cls == RUNTIME_CLASS(CSynList);
    if (!fits && isList) {
      // A list fits n characters exactly when n is at least its length, so one measure
      // against the larger of the two budgets it may meet (the rest of this line, or a
      // new line after the indent) answers both tests.
      const int width = m_tree.CharsLeftOnLine() + m_tree.CharsUsedOnLine();
      const int budget = std::max(left, width - f.indent);
      FlatText& flat = FlatScratch();
      const int measured = PrintFlat(static_cast<const CSynList*>(e), budget, flat);
      if (measured == kFlatUnknownNode) {
        const int r = e->SubtractPrintLen(budget);
        length = r >= 0 ? budget - r : kTooLong;
      } else {
        length = measured >= 0 ? measured : kTooLong;
      }
      // An open list that still fits may yet grow too long: not settled.
      if (length != kTooLong && isOpen(static_cast<const CSynList*>(e)))
        return Wait(filled, budget);
      if (f.next > 0) m_tree.OutputString(" ", 1);
      fits = length >= 0 && left >= length;
      // A list that fits here, or on a new line, goes out as printed.
      if (measured >= 0 && (fits || f.next > 0)) {
        if (!fits) m_tree.FlushCurrentLine(f.indent);
        m_stack[top].next = f.next + 1;
        m_tree.OutputString(flat.room.data(), flat.length);
        m_stack[top].left = m_tree.CharsLeftOnLine();
        continue;
      }
    } else {
      if (f.next > 0) m_tree.OutputString(" ", 1);
      if (!fits) fits = e->CanFitOnLine(left);
    }
    if (!fits && f.next > 0) m_tree.FlushCurrentLine(f.indent);
    m_stack[top].next = f.next + 1;
    m_stack[top].left = left;
    if (isList) {
      const auto* list = static_cast<const CSynList*>(e);
      bool whole = fits;
      if (!whole) {
        const int now = m_tree.CharsLeftOnLine();
        if (length >= 0)
          whole = now >= length;
        else if (length == kUnknown)
          whole = list->CanFitOnLine(now);
      }
      Open(list, whole);
      continue;
    }
    if (cls == RUNTIME_CLASS(CSynRef)) {
      const CSynRef* ref = static_cast<const CSynRef*>(e);
      const CSynNode* target = ref->GetNode();
      if (target && IsExactly(target, RUNTIME_CLASS(CSynList))) {
        char head[16];
        m_tree.OutputString(head, static_cast<size_t>(ref->PrintHead(head)));
        const auto* list = static_cast<const CSynList*>(target);
        Open(list, fits || list->CanFitOnLine(m_tree.CharsLeftOnLine()));
        continue;
      }
    }
    e->Output(m_tree, fits);
    m_stack[top].left = m_tree.CharsLeftOnLine();
  }
  return true;
}

}  // namespace zel_sxf
