// A stretch of a regular file read by offset, in one or two threads.
#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "files/FilePiecesInternal.h"
#include "platform/base/file/ReadAtInternal.h"

namespace zel_fileread {

namespace {

struct Part {
  uint64_t bytes = 0;
  bool whole = false;  // read to its end, its sink wanting every piece
  std::error_code error;
};

// One thread's part, through a buffer of its own; stops early when cancel is set.
void ReadPart(HANDLE h, uint64_t from, uint64_t to, size_t piece, const PieceSink& sink,
              const std::atomic<bool>* cancel, Part& part) {
  std::unique_ptr<char[]> buffer(new char[piece]);
  for (uint64_t at = from; at < to;) {
    if (cancel && cancel->load(std::memory_order_relaxed)) return;
    size_t got = 0;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(piece, to - at));
    if ((part.error = zel_file::ReadSomeAt(h, buffer.get(), want, at, got)) || got == 0) return;
    part.bytes += got;
    at += got;
    if (!sink(buffer.get(), got)) return;
  }
  part.whole = true;
}

}  // namespace

std::error_code ReadPieces(HANDLE h, uint64_t from, uint64_t split, uint64_t to, size_t piece,
                           const PieceSink& near, const PieceSink& far, bool& farCounts) {
  split = std::clamp(split, from, to);
  Part nearPart, farPart;
  if (split < to) {
    std::atomic<bool> nearEnded{false};
    std::thread worker([&] { ReadPart(h, split, to, piece, far, &nearEnded, farPart); });
    ReadPart(h, from, split, piece, near, nullptr, nearPart);
    if (!nearPart.whole) nearEnded.store(true, std::memory_order_relaxed);
    worker.join();
  } else {
    ReadPart(h, from, to, piece, near, nullptr, nearPart);
  }
  farCounts = split < to && nearPart.whole;
  if (nearPart.error) return nearPart.error;
  if (farCounts && farPart.error) return farPart.error;
  return {};
}

}  // namespace zel_fileread
