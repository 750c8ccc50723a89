// The shared table: an array for the indexes that come in order, a map for the rest.
#include "serialization/SharedTable.h"

#include <algorithm>

namespace zel_sxf {

namespace {
// The array grows to hold an index only while it stays at most about twice the entries
// made, so its room is bounded by what the file defines, not by the numbers it names.
constexpr size_t kSlack = 64;
}  // namespace

const SharedTable::Entry* SharedTable::FindBeyond(int index) const {
  if (index < 0 || index >= m_length) return nullptr;
  auto it = m_sparse.find(index);
  return it == m_sparse.end() ? nullptr : &it->second;
}

SharedTable::Entry& SharedTable::At(int index) {
  if (Entry* e = Find(index)) return *e;
  ++m_entries;
  m_length = std::max(m_length, index + 1);
  const size_t i = static_cast<size_t>(index);
  if (i >= 2 * m_entries + kSlack) return m_sparse[index];
  const size_t from = m_dense.size();
  m_dense.resize(i + 1);
  // Entries the map held for indexes the array now covers move into it.
  for (auto it = m_sparse.lower_bound(static_cast<int>(from));
       it != m_sparse.end() && static_cast<size_t>(it->first) <= i;) {
    m_dense[static_cast<size_t>(it->first)] = it->second;
    it = m_sparse.erase(it);
  }
  return m_dense[i];
}

void SharedTable::Clear() {
  m_dense.clear();
  m_sparse.clear();
  m_entries = 0;
  m_length = 0;
}

}  // namespace zel_sxf
