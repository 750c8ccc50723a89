// A tree read from a file, held as one run of 64-bit words in the order of its text.
//
// Loading a big archive used to make a node for every atom and walk them: a million
// records took 152 bytes each of fresh memory, a pointer chase per element, and the
// freeing of every node. The walk needs none of that: it reads each element once, in
// order. So the whole-file reader writes the tape, the archive's walk reads it, and nodes
// are made only for those who ask for them (GetRoot, the shared table's GetShared, the
// protected node getters), the same nodes the nodes' own readers make.
//
// An element is one word (kind in the low byte, a 32-bit value in the high half) and, for
// some kinds, words after it:
//   kList   the next word points just past the list's kEnd
//   kEnd    closes the innermost list
//   kTag    the tag's number in the tape's table of tag nodes (one per name, as read)
//   kStr    the length; the bytes follow, padded to whole words
//   kBigStr the number of a text held apart (too long to sit among the words)
//   kInt    a whole number token whose 32-bit value is the high half; bit 8 marks a digit
//           token, which becomes the shared cached node
//   kDec    a decimal whose whole values are its truncations: the double follows
//   kNum    any other number: bits 8 and 9 the flags, then whole and unsigned, then double
//   kUse    `#n#`, n the high half
//   kDef    `#n=`, n the high half, directly followed by its list
//   kJump   the next word points to where the tape goes on, in the next chunk
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "serialization/SynReadInternal.h"

class CSyntaxTree;
class CSynNode;
class CSynList;
class CSynTag;
struct CRuntimeClass;

namespace zel_sxf {

class Tape {
 public:
  using Pos = const uint64_t*;
  enum Kind : uint8_t { kList = 1, kEnd, kTag, kStr, kBigStr, kInt, kDec, kNum, kUse, kDef, kJump };

  Tape() = default;
  ~Tape();
  Tape(const Tape&) = delete;
  Tape& operator=(const Tape&) = delete;

  /// Reads the list under the tree's cursor, "(" to its ")", as CSynList::InputPtr would
  /// (with sharedIndex >= 0 the list is defined under that index first), registering each
  /// `#n=` in the tree's shared table. Once per tape.
  void ReadList(CSyntaxTree& tree, int sharedIndex);
  /// CSynList::InputPtr itself: reads the list and makes its nodes; the tape goes after.
  static CSynList* ReadNodes(CSyntaxTree& tree, int sharedIndex);
  /// The node of the element at p with everything inside it, as the nodes' readers make
  /// them. The list of a definition is the shared table's (made and entered there when
  /// it has none yet); every other node is the caller's.
  CSynNode* Materialise(CSyntaxTree& tree, Pos p) const;
  /// The table's entries of the indexes this tape defined forget it.
  void Forget(CSyntaxTree& tree) const;

  /// The list read, or null before reading.
  Pos Start() const { return m_chunks.empty() ? nullptr : m_chunks.front().words; }

  static Kind KindAt(Pos p) { return static_cast<Kind>(*p & 0xFF); }
  static uint32_t High(Pos p) { return static_cast<uint32_t>(*p >> 32); }
  /// p, or where the tape goes on when p is the end of a chunk.
  static Pos Settle(Pos p) { return KindAt(p) == kJump ? reinterpret_cast<Pos>(p[1]) : p; }
  /// The first element of the list at p (its kEnd when empty).
  static Pos FirstOf(Pos list) { return Settle(list + 2); }
  /// The element after the one at p.
  static Pos Next(Pos p) {
    switch (KindAt(p)) {
      case kList:
        return Settle(reinterpret_cast<Pos>(p[1]));
      case kDef:
        return Settle(reinterpret_cast<Pos>(p[2]));
      case kStr:
        return Settle(p + 1 + (High(p) + 7) / 8);
      case kDec:
        return Settle(p + 2);
      case kNum:
        return Settle(p + 3);
      default:
        return Settle(p + 1);
    }
  }
  /// The class of the node the element at p stands for.
  static const CRuntimeClass* ClassAt(Pos p);

  static read_detail::NumValue Num(Pos p);
  std::string_view Str(Pos p) const;
  CSynTag* Tag(Pos p) const { return m_tags[High(p)]; }

 private:
  struct Chunk {
    uint64_t* words;
    size_t count;
    bool large;  // from zel_memory::AllocLargeChunk
  };
  // Room for n words of one element; a new chunk when the current one cannot hold them
  // and the jump to the next.
  uint64_t* Put(size_t n) {
    if (static_cast<size_t>(m_end - m_at) < n + 2) NewChunk(n);
    uint64_t* w = m_at;
    m_at += n;
    return w;
  }
  void NewChunk(size_t n);
  void Define(CSyntaxTree& tree, int index, const uint64_t* list);
  void PutString(std::string_view text);
  void PutNumber(const read_detail::NumValue& v);
  CSynNode* Atom(Pos p) const;

  std::vector<Chunk> m_chunks;
  uint64_t* m_at = nullptr;
  uint64_t* m_end = nullptr;
  std::vector<CSynTag*> m_tags;  // a reference to each
  std::vector<std::string> m_bigTexts;
  std::vector<int> m_defined;
};

}  // namespace zel_sxf
