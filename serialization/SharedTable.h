/// \class zel_sxf::SharedTable
/// The syntax tree's table of shared nodes and objects by index. It behaves as two arrays
/// as long as the highest index held, but only indexes near the ones already held take
/// array room: a file may name any index, and "#2000000000=(x)" must not cost gigabytes.
/// Indexes too far beyond go to an ordered map and move into the array once it reaches them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "ZelExport.h"

class CObject;
class CSynNode;

namespace zel_sxf {

class ZEL_API SharedTable {
 public:
  /// One index's slots: the node stored under it and the object loaded from it.
  struct Entry {
    CSynNode* node = nullptr;
    CObject* object = nullptr;
    /// Where the defining list lies in the tape of a tree read from a file (null when
    /// the index was not defined by reading); its node is made when asked for.
    const uint64_t* tape = nullptr;
  };

  /// One past the highest index held: the length of the arrays this table stands for.
  int Length() const { return m_length; }
  /// The entry of index, or null when it has none (never set, or out of range). Indexes
  /// the array holds, the usual ones, are answered inline: every `#n#` read asks.
  const Entry* Find(int index) const {
    if (index >= 0 && static_cast<size_t>(index) < m_dense.size())
      return &m_dense[static_cast<size_t>(index)];
    return FindBeyond(index);
  }
  Entry* Find(int index) {
    return const_cast<Entry*>(static_cast<const SharedTable*>(this)->Find(index));
  }
  /// The entry of index (0 or more, below INT_MAX), made empty when it has none.
  Entry& At(int index);
  /// Calls f(Entry&) for every entry held, in no particular order.
  template <typename F>
  void ForEach(F f) {
    for (Entry& e : m_dense) f(e);
    for (auto& [index, e] : m_sparse) f(e);
  }
  void Clear();

 private:
  /// Find for an index the array does not hold.
  const Entry* FindBeyond(int index) const;
  std::vector<Entry> m_dense;
  std::map<int, Entry> m_sparse;
  size_t m_entries = 0;  ///< entries ever made, which bounds the array's room
  int m_length = 0;
};

}  // namespace zel_sxf
