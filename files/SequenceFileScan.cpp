// Runs of whole base lines in a regular file, read by offset in pieces that stay in the
// cache and, in a big file, two threads: the sequence of a big FASTA file is looked at once,
// at the speed the page cache hands it out.
#include <algorithm>
#include <cstring>
#include <limits>

#include "files/SequenceScanInternal.h"

namespace zel_seqscan {

namespace {

constexpr uint64_t kNone = std::numeric_limits<uint64_t>::max();

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// The bytes up to and with the last CR or LF among the n at p; 0 when there is none. Lines
// are short in most files, so the search goes backwards, LF first (the usual end), then CR
// only after it.
size_t AfterLastLineEnd(const char* p, size_t n) {
  const void* lf = n ? memrchr(p, '\n', n) : nullptr;
  const size_t after = lf ? static_cast<size_t>(static_cast<const char*>(lf) - p) + 1 : 0;
  const void* cr = n > after ? memrchr(p + after, '\r', n - after) : nullptr;
  return cr ? static_cast<size_t>(static_cast<const char*>(cr) - p) + 1 : after;
}

// One part's run, piece after piece, counted from the part's start.
struct RunPart {
  uint64_t run = 0;            // bytes of bases and line ends
  uint64_t lines = 0;          // bytes up to and with the run's last line end
  uint64_t firstBase = kNone;  // where the run's first base lies
  bool stopped = false;        // a byte that is neither ended it

  bool Take(const char* p, size_t n) {
    BaseRunSeen seen;
    const size_t r = BaseRun(p, n, seen);
    if (seen.base && firstBase == kNone)
      firstBase = run + static_cast<uint64_t>(std::find_if_not(p, p + r, IsLineEnd) - p);
    if (const size_t e = AfterLastLineEnd(p, r)) lines = run + e;
    run += r;
    stopped = r < n;
    return !stopped;
  }
  zel_fileread::PieceSink Sink() {
    return [this](const char* p, size_t n) { return Take(p, n); };
  }
};

}  // namespace

std::error_code ScanFileBaseLines(HANDLE h, uint64_t from, uint64_t split, uint64_t to,
                                  FileBaseLines& result, size_t piece) {
  RunPart near, far;
  bool farCounts = false;
  if (std::error_code ec =
          zel_fileread::ReadPieces(h, from, split, to, piece, near.Sink(), far.Sink(), farCounts))
    return ec;
  RunPart all = near;
  // The far part goes on the near one's run only when that ran to the split.
  if (farCounts) {
    if (far.lines) all.lines = near.run + far.lines;
    if (all.firstBase == kNone && far.firstBase != kNone) all.firstBase = near.run + far.firstBase;
    all.run += far.run;
    all.stopped = far.stopped;
  }
  // A run that is not stopped by a byte ends where the file does (or did, when it shrank).
  result.toEnd = !all.stopped;
  result.taken = result.toEnd ? all.run : all.lines;
  result.base = all.firstBase < result.taken;
  return {};
}

}  // namespace zel_seqscan
