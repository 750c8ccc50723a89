// Opening a document with the engine's sizes and timings chosen, for tests and measurements
// that want small blocks, quick polls or a look at each step of the background work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "cli/view/doc/Document.h"

namespace zel_view {

struct DocumentOptions {
  uint64_t indexBlock = kIndexBlock;  // contents per index entry
  size_t piece = 1 << 20;             // contents read (or decompressed) per step
  int pollMs = 1000;                  // how often the file on disk is looked at
  // The format and kind are told from the contents' first bytes: the first megabytes of
  // a sequence file decide, and reading a gigabyte twice would double the counting.
  size_t detectBytes = 4 << 20;
  // Called on the worker after each piece of contents is in place, with the contents
  // known then (a growing gzip copy can be looked at while it grows).
  std::function<void(Offset)> pieceDone;
};

std::unique_ptr<Document> OpenDocument(const std::string& path, std::function<void()> changed,
                                       std::string* error, const DocumentOptions& options);

}  // namespace zel_view
