// The tape of a tree read from a file: reading it, and making nodes of it.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <new>
#include <unordered_map>

#include "platform/os/memory/LargeChunks.h"
#include "serialization/SynNode.h"
#include "serialization/SyntaxTree.h"
#include "serialization/TapeInternal.h"

namespace zel_sxf {

using namespace read_detail;

namespace {
constexpr size_t kLargeWords = zel_memory::kLargeChunkBytes / sizeof(uint64_t);
// A small tree takes small chunks; from this many words on, chunks are large ones, made
// present at once.
constexpr size_t kFirstWords = 1024;
// Texts longer than this are held apart, so that an element always fits a chunk.
constexpr size_t kLongText = 16 * 1024;

uint64_t Word(Tape::Kind kind, uint32_t high) { return kind | uint64_t{high} << 32; }
}  // namespace

Tape::~Tape() {
  for (CSynTag* tag : m_tags) CSynNode::DeletePtr(tag);
  for (const Chunk& c : m_chunks) {
    if (c.large)
      zel_memory::FreeLargeChunk(c.words);
    else
      ::operator delete(c.words);
  }
}

void Tape::NewChunk(size_t n) {
  const size_t last = m_chunks.empty() ? 0 : m_chunks.back().count;
  size_t count = std::max(last ? std::min(last * 8, kLargeWords) : kFirstWords, n + 2);
  const bool large = count == kLargeWords;
  auto* words = static_cast<uint64_t*>(large ? zel_memory::AllocLargeChunk()
                                             : ::operator new(count * sizeof(uint64_t)));
  if (!words) throw std::bad_alloc();
  try {
    m_chunks.push_back({words, count, large});
  } catch (...) {
    large ? zel_memory::FreeLargeChunk(words) : ::operator delete(words);
    throw;
  }
  if (m_at) {
    m_at[0] = kJump;
    m_at[1] = reinterpret_cast<uint64_t>(words);
  }
  m_at = words;
  m_end = words + count;
}

// ---- reading ----

void Tape::Define(CSyntaxTree& tree, int index, const uint64_t* list) {
  tree.InternNewSharedList(index, list);
  m_defined.push_back(index);
}

void Tape::PutString(std::string_view text) {
  if (text.size() > kLongText) {
    m_bigTexts.emplace_back(text);
    *Put(1) = Word(kBigStr, static_cast<uint32_t>(m_bigTexts.size() - 1));
    return;
  }
  const size_t words = (text.size() + 7) / 8;
  uint64_t* w = Put(1 + words);
  w[0] = Word(kStr, static_cast<uint32_t>(text.size()));
  if (words) w[words] = 0;
  std::memcpy(w + 1, text.data(), text.size());
}

void Tape::PutNumber(const NumValue& v) {
  if (v.form == NumValue::kDigit || v.form == NumValue::kWhole) {
    *Put(1) = Word(kInt, static_cast<uint32_t>(v.whole)) | (v.form == NumValue::kDigit ? 0x100 : 0);
  } else if (v.form == NumValue::kDecimal) {
    uint64_t* w = Put(2);
    w[0] = kDec;
    w[1] = std::bit_cast<uint64_t>(v.real);
  } else {
    uint64_t* w = Put(3);
    w[0] = kNum | uint64_t{v.isInteger != 0} << 8 | uint64_t{v.isSigned != 0} << 9;
    w[1] = static_cast<uint32_t>(v.whole) | uint64_t{v.bits} << 32;
    w[2] = std::bit_cast<uint64_t>(v.real);
  }
}

void Tape::ReadList(CSyntaxTree& tree, int sharedIndex) {
  // Lists wait for their ")" on this stack, to learn where they end.
  std::vector<uint64_t*> open;
  // One tag node per name; the name met last is tried before the map, as records of one
  // class follow each other.
  std::unordered_map<std::string_view, uint32_t> tagNumbers;
  uint32_t lastTag = 0;
  bool anyTag = false;
  uint64_t* root = Put(2);
  root[0] = kList;
  root[1] = 0;
  if (sharedIndex >= 0) Define(tree, sharedIndex, root);
  if (tree.ReadChar() != '(') CSyntaxTree::ThrowBadTokenException('(');
  open.push_back(root);
  for (;;) {
    const int c = tree.SkipWhitespace();
    if (c == ')') {
      tree.Advance(1);
      *Put(1) = kEnd;
      open.back()[1] = reinterpret_cast<uint64_t>(m_at);
      open.pop_back();
      if (open.empty()) return;
      continue;
    }
    if (c == '(') {
      tree.Advance(1);
      uint64_t* w = Put(2);
      w[0] = kList;
      w[1] = 0;
      open.push_back(w);
      continue;
    }
    if (c == '#') {
      int index;
      if (CSynRef::InputHeader(tree, index) == '#') {
        tree.CheckSharedNode(index);
        *Put(1) = Word(kUse, static_cast<uint32_t>(index));
        continue;
      }
      uint64_t* w = Put(3);  // the definition and its list, never apart
      w[0] = Word(kDef, static_cast<uint32_t>(index));
      w[1] = kList;
      w[2] = 0;
      Define(tree, index, w + 1);
      if (tree.ReadChar() != '(') CSyntaxTree::ThrowBadTokenException('(');
      open.push_back(w + 1);
      continue;
    }
    if (c == '"') {
      PutString(ReadString(tree));
      continue;
    }
    const uint8_t bits = TokenBits(c);
    if (bits & kNumFirst) {
      PutNumber(ReadNumber(tree));
      continue;
    }
    if (bits & kTagFirst) {
      const std::string_view name = ScanToken(tree, kTagFirst, kTagRest, kTagTokenSize);
      if (!anyTag || m_tags[lastTag]->m_name.view() != name) {
        auto found = tagNumbers.find(name);
        if (found != tagNumbers.end()) {
          lastTag = found->second;
        } else {
          if (m_tags.size() == m_tags.capacity()) m_tags.reserve(m_tags.size() * 2 + 8);
          auto* tag = new CSynTag(name);
          m_tags.push_back(tag);
          lastTag = static_cast<uint32_t>(m_tags.size() - 1);
          tagNumbers.emplace(tag->m_name.view(), lastTag);
        }
        anyTag = true;
      }
      *Put(1) = Word(kTag, lastTag);
      continue;
    }
    CSyntaxTree::ThrowBadTokenException(c);
  }
}

CSynList* Tape::ReadNodes(CSyntaxTree& tree, int sharedIndex) {
  Tape tape;
  CSynList* list = nullptr;
  try {
    tape.ReadList(tree, sharedIndex);
    list = static_cast<CSynList*>(tape.Materialise(tree, tape.Start()));
  } catch (...) {
    tape.Forget(tree);
    throw;
  }
  tape.Forget(tree);
  // The list defined under the index is the table's from now on.
  if (sharedIndex >= 0) tree.m_shared.At(sharedIndex).node = list;
  return list;
}

void Tape::Forget(CSyntaxTree& tree) const {
  for (int index : m_defined)
    if (SharedTable::Entry* e = tree.m_shared.Find(index)) e->tape = nullptr;
}

// ---- walking ----

const CRuntimeClass* Tape::ClassAt(Pos p) {
  switch (KindAt(p)) {
    case kList:
      return RUNTIME_CLASS(CSynList);
    case kDef:
    case kUse:
      return RUNTIME_CLASS(CSynRef);
    case kTag:
      return RUNTIME_CLASS(CSynTag);
    case kStr:
    case kBigStr:
      return RUNTIME_CLASS(CSynStr);
    default:
      return RUNTIME_CLASS(CSynNum);
  }
}

NumValue Tape::Num(Pos p) {
  NumValue v;
  switch (KindAt(p)) {
    case kInt:
      v.isInteger = v.isSigned = 1;
      v.whole = static_cast<int32_t>(High(p));
      v.bits = High(p);
      v.real = v.whole;
      v.form = (*p & 0x100) != 0 ? NumValue::kDigit : NumValue::kWhole;
      break;
    case kDec:
      v.isSigned = 1;
      v.real = std::bit_cast<double>(p[1]);
      v.whole = TruncToLong(v.real);
      v.bits = TruncToUnsigned(v.real);
      v.form = NumValue::kDecimal;
      break;
    default:
      v.isInteger = (*p >> 8) & 1;
      v.isSigned = (*p >> 9) & 1;
      v.whole = static_cast<int32_t>(static_cast<uint32_t>(p[1]));
      v.bits = static_cast<uint32_t>(p[1] >> 32);
      v.real = std::bit_cast<double>(p[2]);
  }
  return v;
}

std::string_view Tape::Str(Pos p) const {
  if (KindAt(p) == kBigStr) return m_bigTexts[High(p)];
  return {reinterpret_cast<const char*>(p + 1), High(p)};
}

// ---- nodes ----

CSynNode* Tape::Atom(Pos p) const {
  switch (KindAt(p)) {
    case kTag: {
      CSynTag* tag = Tag(p);
      ++tag->m_refs;
      return tag;
    }
    case kStr:
    case kBigStr:
      return new CSynStr(Str(p));
    default: {
      const NumValue v = Num(p);
      if (v.form == NumValue::kDigit) return CSynNum::NewPtr(static_cast<int>(v.whole));
      return CSynNum::NewPtr(v.isInteger, v.isSigned, v.whole, v.bits, v.real);
    }
  }
}

CSynNode* Tape::Materialise(CSyntaxTree& tree, Pos p) const {
  // As the node readers gather: elements on one stack, a list's array made at its end;
  // nesting costs heap, not stack.
  struct Open {
    CSynList* list;
    size_t first;
  };
  std::vector<CSynNode*> gathered;
  std::vector<Open> open;
  // One reference node per used index.
  std::unordered_map<uint32_t, CSynRef*> uses;
  CSynNode* top = nullptr;
  auto place = [&](CSynNode* node) {
    if (open.empty())
      top = node;
    else
      gathered.push_back(node);
  };
  try {
    for (;;) {
      switch (KindAt(p)) {
        case kList: {
          CSynList* list = CSynList::NewPtr();
          place(list);
          open.push_back({list, gathered.size()});
          p = FirstOf(p);
          break;
        }
        case kDef: {
          const int index = static_cast<int>(High(p));
          SharedTable::Entry& e = tree.m_shared.At(index);
          if (e.node) {
            // Made before (GetShared, or an earlier making): the same list.
            place(CSynRef::NewPtr(index, e.node));
            p = Next(p);
          } else {
            CSynList* list = CSynList::NewPtr();
            e.node = list;
            place(CSynRef::NewPtr(index, list));
            open.push_back({list, gathered.size()});
            p = FirstOf(Settle(p + 1));
          }
          break;
        }
        case kUse: {
          CSynRef*& use = uses[High(p)];
          if (use)
            ++use->m_refs;
          else
            use = CSynRef::NewPtr(static_cast<int>(High(p)), nullptr);
          place(use);
          p = Next(p);
          break;
        }
        case kEnd: {
          const Open done = open.back();
          open.pop_back();
          done.list->Adopt(gathered.data() + done.first,
                           static_cast<uint32_t>(gathered.size() - done.first));
          gathered.resize(done.first);
          p = Settle(p + 1);
          break;
        }
        default:
          place(Atom(p));
          p = Next(p);
      }
      if (open.empty()) return top;
    }
  } catch (...) {
    for (CSynNode* n : gathered) CSynNode::DeletePtr(n);
    CSynNode::DeletePtr(top);
    throw;
  }
}

}  // namespace zel_sxf
