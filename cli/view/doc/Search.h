// A forward search through a document's contents on a thread of its own: bytes, letter
// case as it stands, answering the start of the line that holds the first match. On
// contents still growing it waits for more at their end.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "cli/view/doc/Document.h"
#include "cli/view/doc/LineIndex.h"
#include "cli/view/doc/Source.h"

namespace zel_view {

class Search {
 public:
  // notify(now) is called from the search's thread as it moves on (now: it ended).
  Search(Source& source, const LineIndex& index, size_t piece, std::function<void(bool)> notify)
      : m_source(source), m_index(index), m_piece(piece), m_notify(std::move(notify)) {}
  ~Search() { Cancel(); }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;

  // Searches for text from the line starting at from, ending the last search first.
  void Start(const std::string& text, Offset from);
  // Ends the search; it is over when this returns.
  void Cancel();
  FindState Progress() const;

 private:
  void Run(const std::string& text, Offset from);
  bool Cancelled() const { return m_cancel.load(); }

  Source& m_source;
  const LineIndex& m_index;
  const size_t m_piece;
  const std::function<void(bool)> m_notify;
  mutable std::mutex m_mutex;
  FindState m_state;
  std::atomic<bool> m_cancel{false};
  std::thread m_thread;
};

}  // namespace zel_view
