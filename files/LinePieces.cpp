// Finding fixed texts in lines that arrive in pieces.
#include <algorithm>

#include "files/LinePiecesInternal.h"

namespace zel_pieces {

PieceSearch::PieceSearch(std::vector<std::string> needles)
    : m_needles(std::move(needles)), m_found(m_needles.size(), false) {
  for (const std::string& n : m_needles) m_keep = std::max(m_keep, n.size());
  if (m_keep > 0) m_keep--;
}

void PieceSearch::Reset() {
  std::fill(m_found.begin(), m_found.end(), false);
  m_tail.clear();
}

bool PieceSearch::Any() const {
  return std::find(m_found.begin(), m_found.end(), true) != m_found.end();
}

void PieceSearch::Feed(std::string_view piece, bool last) {
  // A needle that starts in the bytes kept from before ends within its length of this piece.
  std::string joint;
  if (!m_tail.empty()) joint = m_tail + std::string(piece.substr(0, m_keep));
  for (size_t i = 0; i < m_needles.size(); i++)
    if (!m_found[i])
      m_found[i] = piece.find(m_needles[i]) != std::string_view::npos ||
                   (!joint.empty() && joint.find(m_needles[i]) != std::string::npos);
  if (!last) Keep(piece);
}

void PieceSearch::Keep(std::string_view piece) {
  if (piece.size() >= m_keep) {
    m_tail.assign(piece.substr(piece.size() - m_keep));
  } else {
    m_tail.append(piece);
    if (m_tail.size() > m_keep) m_tail.erase(0, m_tail.size() - m_keep);
  }
}

}  // namespace zel_pieces
