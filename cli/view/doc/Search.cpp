// The forward search, a piece of the contents at a time.
#include "cli/view/doc/Search.h"

#include <algorithm>
#include <functional>

#include "cli/view/doc/LineReader.h"

namespace zel_view {

void Search::Start(const std::string& text, Offset from) {
  Cancel();
  {
    std::lock_guard lock(m_mutex);
    m_state = FindState{};
    m_state.running = !text.empty();
  }
  if (text.empty()) return m_notify(true);
  m_cancel = false;
  m_thread = std::thread([this, text, from] { Run(text, from); });
}

void Search::Cancel() {
  m_cancel = true;
  m_source.Wake();
  if (m_thread.joinable()) m_thread.join();
  std::lock_guard lock(m_mutex);
  m_state.running = false;
}

FindState Search::Progress() const {
  std::lock_guard lock(m_mutex);
  return m_state;
}

void Search::Run(const std::string& text, Offset from) {
  const std::boyer_moore_horspool_searcher searcher(text.begin(), text.end());
  // Pieces overlap by all but one byte of the text, so a match across two is seen.
  const size_t overlap = text.size() - 1;
  const std::function<bool()> cancelled = [this] { return Cancelled(); };
  std::string buffer;
  std::optional<Offset> found;
  for (Offset at = from; !Cancelled();) {
    const Offset end = m_source.End();
    if (at + text.size() > end) {
      if (!m_source.Growing()) break;
      m_source.WaitForMore(end, cancelled);
      continue;
    }
    buffer.resize(static_cast<size_t>(std::min<Offset>(std::max(m_piece, text.size()), end - at)));
    const size_t got = m_source.ReadAt(at, buffer.data(), buffer.size());
    if (got < text.size()) break;  // the source tells why
    const auto first = buffer.begin(), last = first + static_cast<std::ptrdiff_t>(got);
    if (const auto hit = std::search(first, last, searcher); hit != last) {
      const size_t k = static_cast<size_t>(hit - first);
      Offset match = at + k;
      // An LF after a CR belongs to the line the pair ends.
      if (k > 0 && buffer[k] == '\n' && buffer[k - 1] == '\r') --match;
      LineReader reader(m_source, m_index, end);
      found = std::max(from, reader.StartOfLineEndingAt(match));
      break;
    }
    at += got - overlap;
    {
      std::lock_guard lock(m_mutex);
      m_state.percent = static_cast<int>((at - from) * 100 / std::max<Offset>(1, end - from));
    }
    m_notify(false);
  }
  if (Cancelled()) return;
  {
    std::lock_guard lock(m_mutex);
    m_state.running = false;
    m_state.percent = 100;
    m_state.found = found;
  }
  m_notify(true);
}

}  // namespace zel_view
