// Printing syntax nodes: the quoted form of strings, and the printer that breaks lists into
// lines, for a finished tree or for one still being filled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "serialization/SynNode.h"

class CSyntaxTree;

namespace zel_sxf {

// Whether node is of exactly this class (not one derived from it): the printer's and the
// reader's fast paths serve the library's own node classes.
inline bool IsExactly(const CSynNode* node, const CRuntimeClass* cls) {
  return node->GetRuntimeClass() == cls;
}

// A string character that is written as itself.
inline bool IsPlainStringChar(unsigned char u) {
  signed char sc = static_cast<signed char>(u);
  return sc >= 32 && sc <= 126 && u != '"' && u != '\\';
}

// The quoted, escaped form of value, handed to append(const char*, size_t) piece by piece;
// answers how many tabs, line feeds and returns it escaped (each counts 4 in a print
// length, though printed in 2).
template <typename Append>
size_t WriteQuoted(std::string_view value, Append&& append) {
  size_t controls = 0;
  append("\"", 1);
  const char* p = value.data();
  const char* end = p + value.size();
  while (p < end) {
    const char* run = p;
    while (p < end && IsPlainStringChar(static_cast<unsigned char>(*p))) ++p;
    if (p > run) append(run, static_cast<size_t>(p - run));
    if (p == end) break;
    unsigned char u = static_cast<unsigned char>(*p++);
    switch (u) {
      case '\t':
        append("\\t", 2);
        ++controls;
        break;
      case '\n':
        append("\\n", 2);
        ++controls;
        break;
      case '\r':
        append("\\r", 2);
        ++controls;
        break;
      case '"':
        append("\\\"", 2);
        break;
      case '\\':
        append("\\\\", 2);
        break;
      default: {
        char esc[4] = {'\\', static_cast<char>('0' + (u >> 6)),
                       static_cast<char>('0' + ((u >> 3) & 7)), static_cast<char>('0' + (u & 7))};
        append(esc, 4);
      }
    }
  }
  append("\"", 1);
  return controls;
}

// Prints a list onto a tree's lines as CSynList::Output does. A list that fits on the rest
// of the line goes out whole; otherwise each element is tried against the rest of the line
// and, when it does not fit, starts a new one indented to the column after the list's
// parenthesis.
//
// Those choices depend only on what comes before an element and on the element itself,
// so a printer can also follow a tree that is still being filled: given a test of which
// lists are still open, Run prints what is settled and waits for the rest. An open list is
// settled once what it holds is already too long for its line, as more elements only
// make it longer. With freePrinted, the elements of an open list are freed as soon as
// they are printed, so that a stored tree need never be held whole.
class ListPrinter {
 public:
  // Whether list is still being filled; context is the one given to Run.
  using OpenTest = bool (*)(const void* context, const CSynList* list);

  ListPrinter(CSyntaxTree& tree, const CSynList* list, bool fitsOnLine, bool freePrinted = false);

  // Prints as far as the lists allow; true once the whole list is printed. filled counts
  // the nodes added so far: an open list that still fits is measured again only once a
  // quarter of its budget in nodes has been added since, so that a wide line costs linear
  // time in all.
  bool Run(OpenTest open = nullptr, const void* context = nullptr, size_t filled = 0);

  // Prints a list whose print is text, measure long, as the next element of list, as Run
  // would print it there: when list is the one printed last, an element at a time, every
  // element of it is printed, one at least, and the new one fits the lines list's
  // elements start, it goes out whole, on the line it fits or after a break. False,
  // printing nothing, otherwise.
  bool PrintNext(const CSynList* list, std::string_view text, int measure);

 private:
  struct Frame {
    const CSynList* list;
    uint32_t next;   // elements printed, counting those freed
    uint32_t freed;  // elements already freed (freePrinted): the array starts after them
    int left;
    int indent;
    bool wholeFits;
  };
  void Open(const CSynList* list, bool whole);
  bool Wait(size_t filled, int budget);

  CSyntaxTree& m_tree;
  const CSynList* m_list;
  bool m_fitsOnLine;
  bool m_freePrinted;
  bool m_begun = false;
  size_t m_retryAt = 0;
  std::vector<Frame> m_stack;
};

}  // namespace zel_sxf
