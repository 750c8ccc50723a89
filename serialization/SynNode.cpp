// Syntax nodes: printing, print lengths, reading, and their pooled life cycle.
#include "serialization/SynNode.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "serialization/ByteRunsInternal.h"
#include "serialization/FlatNodeInternal.h"
#include "serialization/NodePool.h"
#include "serialization/NodePoolStateInternal.h"
#include "serialization/SynPrintInternal.h"
#include "serialization/SynReadInternal.h"
#include "serialization/SyntaxTree.h"
#include "serialization/TapeInternal.h"

using namespace zel_sxf::read_detail;

IMPLEMENT_DYNAMIC(CSynNode, CObject)
IMPLEMENT_DYNAMIC(CSynList, CSynNode)
IMPLEMENT_DYNAMIC(CSynRef, CSynNode)
IMPLEMENT_DYNAMIC(CSynTag, CSynNode)
IMPLEMENT_DYNAMIC(CSynStr, CSynNode)
IMPLEMENT_DYNAMIC(CSynNum, CSynNode)

namespace {

constexpr int kDoesNotFit = -69;
constexpr int kIndexTokenSize = 32;

using zel_sxf::IsExactly;

// IsKindOf(CSynList), answered from the exact class for the library's own nodes.
bool IsListNode(const CSynNode* node) {
  const CRuntimeClass* cls = node->GetRuntimeClass();
  if (cls == RUNTIME_CLASS(CSynList)) return true;
  if (cls == RUNTIME_CLASS(CSynNum) || cls == RUNTIME_CLASS(CSynStr) ||
      cls == RUNTIME_CLASS(CSynTag) || cls == RUNTIME_CLASS(CSynRef))
    return false;
  return node->IsKindOf(RUNTIME_CLASS(CSynList));
}

// Scratch print buffer of atoms; trees are used by one thread at a time.
CString& AtomScratch() {
  static CString s;
  return s;
}

}  // namespace

// ---- CSynNode ----

void* CSynNode::operator new(size_t bytes) { return zel_sxf::pool_detail::Take(bytes); }

void CSynNode::operator delete(void* block, size_t bytes) noexcept {
  zel_sxf::pool_detail::Give(block, bytes);
}

int CSynNode::SubtractPrintLen(int n) const {
  // Numbers know their print length without printing into a string.
  if (IsExactly(this, RUNTIME_CLASS(CSynNum)))
    return n - static_cast<const CSynNum*>(this)->PrintLength();
  CString& s = AtomScratch();
  s.Empty();
  OutputToString(s);
  return n - s.GetLength();
}

void CSynNode::Output(CSyntaxTree& tree, int) const {
  // The common atoms go straight onto the line, without a detour through a scratch string.
  if (IsExactly(this, RUNTIME_CLASS(CSynNum))) {
    char buf[32];
    tree.OutputString(buf, static_cast<size_t>(static_cast<const CSynNum*>(this)->Print(buf)));
    return;
  }
  if (IsExactly(this, RUNTIME_CLASS(CSynStr))) {
    zel_sxf::WriteQuoted(static_cast<const CSynStr*>(this)->View(),
                         [&tree](const char* p, size_t n) { tree.OutputString(p, n); });
    return;
  }
  if (IsExactly(this, RUNTIME_CLASS(CSynTag))) {
    const char* name = static_cast<const CSynTag*>(this)->Name();
    tree.OutputString(name, std::strlen(name));
    return;
  }
  CString& s = AtomScratch();
  s.Empty();
  OutputToString(s);
  tree.OutputString(s.GetString(), static_cast<size_t>(s.GetLength()));
}

void CSynNode::OutputToString(CString&) const {}

int CSynNode::RemoveLastRef() { return 1; }

namespace {

template <typename Node>
void FreeExactly(Node* n) {
  n->Node::~Node();
  zel_sxf::pool_detail::Give(n, sizeof(Node));
}

}  // namespace

void CSynNode::DeletePtr(CSynNode* node) {
  if (!node) return;
  // Take nested lists apart with a work stack instead of recursion. The stack is kept from call to
  // call: freeing a loaded archive object by object would otherwise allocate one per object. (A
  // call nested in a node's destructor would only free the outer call's nodes sooner.)
  thread_local std::vector<CSynNode*> work;
  // The library's own atoms are freed without a virtual call but the class query; false
  // for a list or a class derived from the library's, which the caller takes on.
  // A tag name or a shared index's use, shared by several places, goes with its last one.
  auto dropUse = [](auto* n) {
    if (n->m_refs > 1)
      --n->m_refs;
    else
      FreeExactly(n);
  };
  auto freeAtom = [&dropUse](CSynNode* n, const CRuntimeClass* cls) {
    if (cls == RUNTIME_CLASS(CSynNum)) {
      auto* num = static_cast<CSynNum*>(n);
      if (num->CSynNum::RemoveLastRef()) FreeExactly(num);
    } else if (cls == RUNTIME_CLASS(CSynStr)) {
      FreeExactly(static_cast<CSynStr*>(n));
    } else if (cls == RUNTIME_CLASS(CSynTag)) {
      dropUse(static_cast<CSynTag*>(n));
    } else if (cls == RUNTIME_CLASS(CSynRef)) {
      dropUse(static_cast<CSynRef*>(n));
    } else if (cls == RUNTIME_CLASS(CSynFlat)) {
      FreeExactly(static_cast<CSynFlat*>(n));
    } else {
      return false;
    }
    return true;
  };
  // A list of the library's own class frees its atoms at once and leaves the rest of its
  // elements to the work stack.
  auto freeKnown = [&freeAtom](CSynNode* n) {
    const CRuntimeClass* cls = n->GetRuntimeClass();
    if (cls != RUNTIME_CLASS(CSynList)) return freeAtom(n, cls);
    auto* list = static_cast<CSynList*>(n);
    for (uint32_t i = 0; i < list->m_count; ++i) {
      CSynNode* e = list->m_items[i];
      if (e && !freeAtom(e, e->GetRuntimeClass())) work.push_back(e);
    }
    list->m_count = 0;
    list->CSynList::~CSynList();
    zel_sxf::pool_detail::Give(list, sizeof(CSynList));
    return true;
  };
  work.push_back(node);
  while (!work.empty()) {
    CSynNode* n = work.back();
    work.pop_back();
    if (!n || freeKnown(n) || !n->RemoveLastRef()) continue;
    if (IsListNode(n)) {
      CSynList* l = static_cast<CSynList*>(n);
      work.insert(work.end(), l->m_items, l->m_items + l->m_count);
      l->m_count = 0;
    }
    delete n;
  }
  if (work.capacity() > 4096) work.shrink_to_fit();
}

// ---- CSynList ----

CSynList* CSynList::NewPtr() { return new CSynList; }

CSynList::~CSynList() {
  while (m_count) DeletePtr(RemoveTail());
  FreeItems();
}

void CSynList::FreeItems() noexcept {
  if (m_items) zel_sxf::pool_detail::Give(m_items, m_capacity * sizeof(CSynNode*));
  m_items = nullptr;
  m_capacity = 0;
}

void CSynList::Grow() {
  uint32_t capacity = m_capacity ? m_capacity * 2 : 6;
  auto** items = static_cast<CSynNode**>(zel_sxf::pool_detail::Take(capacity * sizeof(CSynNode*)));
  if (m_count) std::memcpy(items, m_items, m_count * sizeof(CSynNode*));
  FreeItems();
  m_items = items;
  m_capacity = capacity;
}

void CSynList::FitToCount() {
  // Room of less than a quarter unused is not worth a new array and a copy.
  if (m_count == 0 || (m_capacity - m_count) * 4 < m_capacity ||
      m_capacity * sizeof(CSynNode*) > zel_sxf::kPoolMaxBlock)
    return;
  auto** items = static_cast<CSynNode**>(zel_sxf::pool_detail::Take(m_count * sizeof(CSynNode*)));
  std::memcpy(items, m_items, m_count * sizeof(CSynNode*));
  FreeItems();
  m_items = items;
  m_capacity = m_count;
}

void CSynList::Adopt(CSynNode* const* nodes, uint32_t count) {
  if (count == 0) return;
  auto** items = static_cast<CSynNode**>(zel_sxf::pool_detail::Take(count * sizeof(CSynNode*)));
  std::memcpy(items, nodes, count * sizeof(CSynNode*));
  FreeItems();
  m_items = items;
  m_count = m_capacity = count;
}

namespace {
struct LenFrame {
  const CSynList* list;
  uint32_t next;
};
std::vector<LenFrame>& LenStack() {
  static std::vector<LenFrame> stack;
  return stack;
}
}  // namespace

int CSynList::SubtractPrintLen(int n) const {
  if (n < 2) return kDoesNotFit;
  // Nested lists are walked with an explicit stack (shared, used above `base`, so that a
  // re-entrant call through an unusual node keeps its own frames).
  std::vector<LenFrame>& stack = LenStack();
  const size_t base = stack.size();
  int r = n - 1;
  stack.push_back({this, 0});
  auto fail = [&] {
    stack.resize(base);
    return kDoesNotFit;
  };
  for (;;) {
    LenFrame& f = stack.back();
    if (f.next == f.list->m_count) {
      r -= 1;
      stack.pop_back();
      if (stack.size() == base) return r;
      if (r < 1) return fail();
      continue;
    }
    if (f.next > 0) r -= 1;
    const CSynNode* e = f.list->m_items[f.next++];
    if (IsExactly(e, RUNTIME_CLASS(CSynList))) {
      if (r < 2) return fail();
      r -= 1;
      stack.push_back({static_cast<const CSynList*>(e), 0});
      continue;
    }
    if (IsExactly(e, RUNTIME_CLASS(CSynRef))) {
      const CSynRef* ref = static_cast<const CSynRef*>(e);
      char head[16];
      r -= ref->PrintHead(head);
      if (r < 0) return fail();
      const CSynNode* target = ref->GetNode();
      if (target && IsExactly(target, RUNTIME_CLASS(CSynList))) {
        if (r < 2) return fail();
        r -= 1;
        stack.push_back({static_cast<const CSynList*>(target), 0});
        continue;
      }
      if (target) r = target->SubtractPrintLen(r);
    } else {
      r = e->SubtractPrintLen(r);
    }
    if (r < 1) return fail();
  }
}

void CSynList::Output(CSyntaxTree& tree, int fitsOnLine) const {
  zel_sxf::ListPrinter(tree, this, fitsOnLine != 0).Run();
}

CSynList* CSynList::InputPtr(CSyntaxTree& tree, int sharedIndex) {
  // Read as the whole-file reader reads, into a tape, and made into nodes from it.
  return zel_sxf::Tape::ReadNodes(tree, sharedIndex);
}

// ---- CSynRef ----

CSynRef* CSynRef::NewPtr(int index, CSynNode* node) { return new CSynRef(index, node); }

int CSynRef::IsTokenChar(int c, int) { return IsAsciiDigit(c); }

int CSynRef::InputHeader(CSyntaxTree& tree, int& index) {
  // The usual header, "#", one to eight digits and the mark, read in one pass; anything
  // else the long way, which also finds its faults.
  {
    const char* s = tree.CursorPtr();
    const int left = tree.CharsLeftToRead();
    int n = 1;
    uint32_t value = 0;
    for (unsigned d; n < left && n <= 9 && (d = static_cast<unsigned char>(s[n]) - '0') < 10; ++n)
      value = value * 10 + d;
    if (left > 0 && s[0] == '#' && n > 1 && n <= 9 && n < left && (s[n] == '#' || s[n] == '=')) {
      tree.Advance(n + 1);
      index = static_cast<int>(value);
      return s[n];
    }
  }
  int c1 = tree.ReadChar();
  // The digits, as ReadToken would take them with IsTokenChar, read in place (before the
  // next character is read, which may read the next line).
  const char* digits = tree.CursorPtr();
  const int left = tree.CharsLeftToRead();
  int len = 0;
  while (len < left && IsAsciiDigit(digits[len])) ++len;
  if (len >= kIndexTokenSize) CSyntaxTree::ThrowBadTokenException(digits[0]);
  // Indexes beyond any table we would build are refused as bad indexes by the table.
  uint64_t value = 0;
  for (int i = 0; i < len; ++i) {
    value = value * 10 + static_cast<uint64_t>(digits[i] - '0');
    if (value > 0x7FFFFFFF) {
      value = 0x7FFFFFFF;
      break;
    }
  }
  tree.Advance(len);
  int c2 = tree.ReadChar();
  if (len == 0) CSyntaxTree::ThrowGenericException();
  if (c1 != '#') CSyntaxTree::ThrowBadTokenException(c1);
  if (c2 != '#' && c2 != '=') CSyntaxTree::ThrowBadTokenException(c2);
  index = static_cast<int>(value);
  return c2;
}

CSynRef* CSynRef::InputPtr(CSyntaxTree& tree) {
  int index;
  if (InputHeader(tree, index) == '#') {
    tree.CheckSharedNode(index);
    return NewPtr(index, nullptr);
  }
  CSynList* list = CSynList::InputPtr(tree, index);
  return NewPtr(index, list);
}

int CSynRef::RemoveLastRef() {
  if (m_refs > 1) {
    --m_refs;
    return 0;
  }
  return 1;
}

int CSynRef::PrintHead(char* buf) const {
  buf[0] = '#';
  auto [end, ec] = std::to_chars(buf + 1, buf + 14, m_index);
  *end++ = m_node ? '=' : '#';
  return static_cast<int>(end - buf);
}

int CSynRef::SubtractPrintLen(int n) const {
  char head[16];
  int r = n - PrintHead(head);
  if (r < 0) return kDoesNotFit;
  return m_node ? m_node->SubtractPrintLen(r) : r;
}

void CSynRef::Output(CSyntaxTree& tree, int fitsOnLine) const {
  char head[16];
  tree.OutputString(head, static_cast<size_t>(PrintHead(head)));
  if (m_node) m_node->Output(tree, fitsOnLine);
}

// ---- CSynTag ----

CSynTag* CSynTag::NewPtr(const char* name) { return new CSynTag(name); }

int CSynTag::IsTokenChar(int c, int first) { return IsTagTokenChar(c, first != 0) ? 1 : 0; }

CSynTag* CSynTag::InputPtr(CSyntaxTree& tree) {
  const std::string_view name = ScanToken(tree, kTagFirst, kTagRest, kTagTokenSize);
  if (name.empty()) CSyntaxTree::ThrowGenericException();
  return new CSynTag(name);
}

int CSynTag::RemoveLastRef() {
  if (m_refs > 1) {
    --m_refs;
    return 0;
  }
  return 1;
}

int CSynTag::SubtractPrintLen(int n) const { return n - static_cast<int>(m_name.size()); }

void CSynTag::OutputToString(CString& s) const { s.str().append(m_name.view()); }

bool operator==(const CSynTag& a, const CSynTag& b) {
  return ZelStrCmpNoCase(a.m_name.view(), b.m_name.view()) == 0;
}

bool operator==(const CSynTag& a, const char* name) {
  return ZelStrCmpNoCase(a.m_name.view(), name ? name : "") == 0;
}

// ---- CSynStr ----

CSynStr* CSynStr::NewPtr(const char* value) { return new CSynStr(value); }

int CSynStr::SubtractPrintLen(int n) const {
  int len = 2;
  for (unsigned char u : m_value.view()) {
    signed char sc = static_cast<signed char>(u);
    if (u == '\\' || u == '"')
      len += 2;
    else if (sc < 32 || sc >= 127)
      len += 4;
    else
      len += 1;
  }
  return n - len;
}

void CSynStr::OutputToString(CString& s) const {
  std::string& out = s.str();
  zel_sxf::WriteQuoted(m_value.view(), [&out](const char* p, size_t n) { out.append(p, n); });
}

CSynStr* CSynStr::InputPtr(CSyntaxTree& tree) { return new CSynStr(ReadString(tree)); }

namespace zel_sxf::read_detail {

std::string_view ReadString(CSyntaxTree& tree) {
  if (tree.ReadChar() != '"') CSyntaxTree::ThrowBadTokenException('"');
  // Gathered in a process-wide scratch string (trees are used by one thread at a time).
  static std::string value;
  value.clear();
  for (bool first = true;; first = false) {
    // Plain characters are taken as a run; a string never continues on the next line.
    const char* p = tree.CursorPtr();
    int n = tree.CharsLeftToRead();
    const int i =
        static_cast<int>(zel_sxf::byte_runs::FindQuoteOrBackslash(p, static_cast<size_t>(n)));
    if (first && i < n && p[i] == '"') {
      // No escape, the usual string: its text is taken from the line as it stands.
      tree.Advance(i + 1);
      return std::string_view(p, static_cast<size_t>(i));
    }
    value.append(p, static_cast<size_t>(i));
    tree.Advance(i);
    int c = tree.ReadChar();
    if (c == '"') return value;
    int e = tree.ReadChar();
    switch (e) {
      case '"':
      case '\\':
        value.push_back(static_cast<char>(e));
        break;
      case 'n':
        value.push_back('\n');
        break;
      case 'r':
        value.push_back('\r');
        break;
      case 't':
        value.push_back('\t');
        break;
      default: {
        if (e < '0' || e > '7') CSyntaxTree::ThrowBadTokenException(e);
        int d2 = tree.ReadChar();
        if (d2 < '0' || d2 > '7') CSyntaxTree::ThrowBadTokenException(d2);
        int d3 = tree.ReadChar();
        if (d3 < '0' || d3 > '7') CSyntaxTree::ThrowBadTokenException(d3);
        value.push_back(static_cast<char>(((e - '0') * 64 + (d2 - '0') * 8 + (d3 - '0')) & 0xFF));
      }
    }
  }
}

}  // namespace zel_sxf::read_detail

// ---- CSynNum ----

namespace zel_sxf::read_detail {
int32_t TruncToLong(double v) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(v);
}
uint32_t TruncToUnsigned(double v) {
  if (!(v > -9223372036854775808.0 && v < 9223372036854775808.0)) return 0;
  return static_cast<uint32_t>(static_cast<int64_t>(v));
}
}  // namespace zel_sxf::read_detail

CSynNum CSynNum::cache[20];

namespace {
bool g_cacheReady = false;

// "%ld" / "%lu" scanning of a number token, kept to 32 bits: an optional sign and at
// least one digit, else no value.
bool ScanWhole(std::string_view s, uint32_t& bits) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size() || !IsAsciiDigit(s[i])) return false;
  uint32_t v = 0;
  for (; i < s.size() && IsAsciiDigit(s[i]); ++i) v = v * 10u + static_cast<uint32_t>(s[i] - '0');
  bits = negative ? 0u - v : v;
  return true;
}

// The plain decimal at the start of s: an optional sign, then digits with at most one
// decimal point among them. It is short with 1 to 15 digits: their value m and the count
// of digits after the point (-1 without one) then give the number, since m is exact in a
// double, and so is 10^f, so m / 10^f rounds once: the value is the correctly rounded one
// the general conversion gives, without its machinery. Most tokens the writer prints are
// of this kind.
struct PlainDecimal {
  size_t end;  // where it stops
  int64_t m;
  int fraction;
  bool isShort;
};
PlainDecimal ScanPlainDecimal(std::string_view s) {
  const char* const begin = s.data();
  const char* const end = begin + s.size();
  const char* q = begin + (!s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0);
  const char* const first = q;
  uint64_t m = 0;  // wraps on a long token, which is not short
  // The digits before the point, then those after it: two tight runs. (Eight digits at a
  // time in a word took more instructions for the usual numbers of five to seven digits.)
  auto digits = [&] {
    for (unsigned d; q < end && (d = static_cast<unsigned char>(*q) - unsigned{'0'}) < 10; ++q)
      m = m * 10 + d;
  };
  digits();
  int fraction = -1;
  if (q < end && *q == '.') {
    const char* point = q++;
    digits();
    fraction = static_cast<int>(q - point - 1);
  }
  const size_t count = static_cast<size_t>(q - first) - (fraction >= 0 ? 1 : 0);
  return {static_cast<size_t>(q - begin), static_cast<int64_t>(m), fraction,
          count > 0 && count <= 15};
}

// The token's decimal value, as strtod gives it in the "C" locale.
double ScanDouble(const char* s, size_t len) {
  const char* p = s;
  const char* end = s + len;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (p == end || *p == '+' || *p == '-') return 0.0;
  double v = 0;
  auto [ptr, ec] = std::from_chars(p, end, v, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    std::string copy(p, static_cast<size_t>(end - p));
    v = std::strtod(copy.c_str(), nullptr);
  } else if (ec != std::errc()) {
    return 0.0;
  }
  return negative ? -v : v;
}
}  // namespace

void CSynNum::InitCache() {
  if (g_cacheReady) return;
  for (int i = 0; i < 20; ++i) {
    cache[i].m_isInteger = 1;
    cache[i].m_isSigned = 1;
    cache[i].m_long = i;
    cache[i].m_unsigned = static_cast<uint32_t>(i);
    cache[i].m_double = i;
  }
  g_cacheReady = true;
}

namespace {
// The cache is filled when the library loads, before any tree can ask for it.
const bool g_cacheFilled = (CSynNum::NewPtr(0), true);
}  // namespace

namespace {
CSynNum* NodeOf(const NumValue& v) {
  if (v.form == NumValue::kDigit) return CSynNum::NewPtr(static_cast<int>(v.whole));
  return CSynNum::NewPtr(v.isInteger, v.isSigned, v.whole, v.bits, v.real);
}
}  // namespace

CSynNum* CSynNum::NewPtr(long v) { return NodeOf(StoredValue(v)); }
CSynNum* CSynNum::NewPtr(unsigned long v) { return NodeOf(StoredValue(v)); }
CSynNum* CSynNum::NewPtr(int v) {
  if (v >= 0 && v < 20) {
    InitCache();
    return &cache[v];
  }
  return NodeOf(StoredValue(v));
}
CSynNum* CSynNum::NewPtr(unsigned int v) { return NodeOf(StoredValue(v)); }
CSynNum* CSynNum::NewPtr(short v) { return NodeOf(StoredValue(v)); }
CSynNum* CSynNum::NewPtr(unsigned short v) { return NodeOf(StoredValue(v)); }
CSynNum* CSynNum::NewPtr(char v) { return NodeOf(StoredValue(v)); }
CSynNum* CSynNum::NewPtr(unsigned char v) { return NodeOf(StoredValue(v)); }
CSynNum* CSynNum::NewPtr(float v) { return NodeOf(StoredValue(v)); }
CSynNum* CSynNum::NewPtr(double v) { return NodeOf(StoredValue(v)); }
CSynNum* CSynNum::NewPtr(int isInteger, int isSigned, int32_t longValue, uint32_t unsignedValue,
                         double doubleValue) {
  return new CSynNum(isInteger, isSigned, longValue, unsignedValue, doubleValue);
}

CSynNum* CSynNum::FromDouble(double v) { return NodeOf(StoredValue(v)); }

int CSynNum::IsTokenChar(int c, int first) { return IsNumTokenChar(c, first != 0) ? 1 : 0; }

namespace {
// The value of a short plain decimal token, with its digits m and fraction.
NumValue ValueOfShort(std::string_view token, int64_t m, int fraction) {
  NumValue v;
  if (token.size() == 1) {  // a digit: the cached node's value
    v.isInteger = v.isSigned = 1;
    v.whole = token[0] - '0';
    v.bits = static_cast<uint32_t>(v.whole);
    v.real = v.whole;
    v.form = NumValue::kDigit;
    return v;
  }
  const bool negative = token[0] == '-';
  if (fraction < 0) {
    const int64_t whole = negative ? -m : m;
    v.isInteger = v.isSigned = 1;
    v.bits = static_cast<uint32_t>(static_cast<uint64_t>(whole));
    v.whole = static_cast<int32_t>(v.bits);
    v.real = negative && whole == 0 ? -0.0 : static_cast<double>(whole);
    if (whole >= INT32_MIN && whole <= INT32_MAX && !(negative && whole == 0))
      v.form = NumValue::kWhole;
    return v;
  }
  static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  double d = static_cast<double>(m) / kPow10[fraction];
  if (negative) d = -d;
  v.isSigned = 1;
  v.whole = TruncToLong(d);
  v.bits = TruncToUnsigned(d);
  v.real = d;
  v.form = NumValue::kDecimal;
  return v;
}

}  // namespace

namespace zel_sxf::read_detail {

NumValue ReadNumber(CSyntaxTree& tree) {
  // A plain decimal is read in the pass that finds where it ends; anything else (an
  // exponent, a second sign or point, more digits) goes the general way.
  const std::string_view rest(tree.CursorPtr(), static_cast<size_t>(tree.CharsLeftToRead()));
  const PlainDecimal d = ScanPlainDecimal(rest);
  if (d.isShort && (d.end == rest.size() || !(TokenBits(rest[d.end]) & kNumRest))) {
    tree.Advance(static_cast<int>(d.end));
    return ValueOfShort(rest.substr(0, d.end), d.m, d.fraction);
  }
  const std::string_view token = ScanToken(tree, kNumFirst, kNumRest, kNumberTokenSize);
  if (token.empty()) CSyntaxTree::ThrowGenericException();
  return NumberOfToken(token);
}

NumValue NumberOfToken(std::string_view token) {
  const PlainDecimal plain = ScanPlainDecimal(token);
  if (plain.isShort && plain.end == token.size())
    return ValueOfShort(token, plain.m, plain.fraction);
  NumValue v;
  v.real = ScanDouble(token.data(), token.size());
  if (token.find('.') != std::string_view::npos) {
    v.isSigned = 1;
    v.whole = TruncToLong(v.real);
    v.bits = TruncToUnsigned(v.real);
    v.form = NumValue::kDecimal;
    return v;
  }
  v.isInteger = 1;
  v.isSigned = ScanWhole(token, v.bits) ? 1 : 0;
  v.whole = static_cast<int32_t>(v.bits);
  return v;
}

}  // namespace zel_sxf::read_detail

CSynNum* CSynNum::InputPtr(CSyntaxTree& tree) { return NodeOf(ReadNumber(tree)); }

CSynNum* CSynNum::FromToken(std::string_view token) { return NodeOf(NumberOfToken(token)); }

namespace {

// "%g" (six significant digits) of a finite v with 1 <= |v| < 1e6, exactly as printf
// writes it; 0 when the value is one this fast path leaves to the general formatter
// (a decimal tie, or rounding that carries into a seventh digit).
int FormatG6Fixed(double v, char* buf) {
  static constexpr double kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
  const double a = std::fabs(v);
  int x = 0;  // decimal exponent of a
  while (x < 5 && a >= kPow10[x + 1]) ++x;
  const double scale = kPow10[5 - x];
  // a * scale exactly as p + err: the product's rounding error is itself a double.
  const double p = a * scale;
  const double err = std::fma(a, scale, -p);
  const double whole = static_cast<double>(static_cast<int64_t>(p));  // p >= 0: the floor
  const double frac = (p - whole) + err;
  if (std::fabs(frac - 0.5) < 1e-6 || frac < 0 || frac >= 1) return 0;
  const uint32_t n = static_cast<uint32_t>(whole) + (frac > 0.5 ? 1 : 0);
  if (n >= 1000000) return 0;
  // The six digits two at a time, then the point put after the whole part in one word:
  // bytes below it stay, bytes from it on move up one.
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char digits[8] = {};
  std::memcpy(digits, kPairs + 2 * (n / 10000), 2);
  std::memcpy(digits + 2, kPairs + 2 * (n / 100 % 100), 2);
  std::memcpy(digits + 4, kPairs + 2 * (n % 100), 2);
  const int intDigits = x + 1;
  int last = 5;
  while (last >= intDigits && digits[last] == '0') --last;
  int len = 0;
  if (v < 0) buf[len++] = '-';
  if constexpr (std::endian::native == std::endian::little) {
    uint64_t word;
    std::memcpy(&word, digits, 8);
    const uint64_t low = (uint64_t{1} << (8 * intDigits)) - 1;
    word = (word & low) | (uint64_t{'.'} << (8 * intDigits)) | ((word & ~low) << 8);
    std::memcpy(buf + len, &word, 8);  // buf holds 32 bytes
  } else {
    for (int i = 0, j = 0; i < 7; ++i) buf[len + i] = i == intDigits ? '.' : digits[j++];
  }
  return len + (last >= intDigits ? last + 2 : intDigits);
}

int DecimalDigits(uint32_t v) {
  int n = 1;
  while (v >= 10) {
    v /= 10;
    ++n;
  }
  return n;
}

}  // namespace

int zel_sxf::read_detail::PrintNumber(const NumValue& v, char* buf) {
  std::to_chars_result r;
  if (!v.isInteger) {
    double a = std::fabs(v.real);
    if (a >= 1 && a < 1e6) {
      if (int len = FormatG6Fixed(v.real, buf)) return len;
    }
    r = std::to_chars(buf, buf + 31, v.real, std::chars_format::general, 6);
  } else if (v.isSigned) {
    r = std::to_chars(buf, buf + 31, v.whole);
  } else {
    r = std::to_chars(buf, buf + 31, v.bits);
  }
  return static_cast<int>(r.ptr - buf);
}

int CSynNum::Print(char* buf) const {
  return PrintNumber({m_isInteger, m_isSigned, m_long, m_unsigned, m_double}, buf);
}

int CSynNum::PrintLength() const {
  if (!m_isInteger) {
    char buf[32];
    return Print(buf);
  }
  if (m_isSigned && m_long < 0) return 1 + DecimalDigits(0u - static_cast<uint32_t>(m_long));
  return DecimalDigits(m_isSigned ? static_cast<uint32_t>(m_long) : m_unsigned);
}

void CSynNum::OutputToString(CString& s) const {
  char buf[32];
  s.Append(buf, Print(buf));
}

int CSynNum::RemoveLastRef() {
  const auto self = reinterpret_cast<uintptr_t>(this);
  const auto first = reinterpret_cast<uintptr_t>(&cache[0]);
  return self >= first && self < first + sizeof cache ? 0 : 1;
}
