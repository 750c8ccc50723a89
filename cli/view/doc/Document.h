// A document of zel view: one file's lines, read only where they are shown. (Agreed
// interface between the document engine and the window; additions are fine, changes to
// what is here are not without telling the integrator.)
//
// Opening is quick whatever the size: the index of line starts (one per 64 KiB block of
// the contents, so memory does not grow with the line count), the line count, the content
// detection and, for plain gzip, the decompression to a temporary file run on a worker
// thread. Every public call is safe from the window's thread while the worker runs; the
// changed callback (from the worker or the watch thread) only says "ask again", and the
// window posts itself a message from it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zel_view {

// Where a line starts in the contents (decompressed bytes for gzip and BGZF).
using Offset = uint64_t;

// One line as drawn: UTF-8 for the device (decoded by the house rule: valid UTF-8 holding
// a multi-byte sequence is UTF-8, anything else Windows-1252), NUL and the other control
// bytes (tab aside, which expands to the next multiple of 8 columns) replaced by visible
// placeholders (U+2400 + byte, U+2421 for DEL); a line longer than kLongLine shows its
// first kLongLine bytes, then the marker " … [N more bytes]" (N the bytes not shown,
// its line end aside). The bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which Windows-1252
// leaves undefined, show as U+FFFD.
struct ShownLine {
  Offset start = 0;               // of the line's first byte
  Offset next = 0;                // of the line after it (past its CR, LF or CR LF)
  std::string text;               // UTF-8, ready to draw
  bool cut = false;               // longer than kLongLine: text ends with the marker
  std::optional<int64_t> number;  // 0-based line number once the index knows it
};

constexpr size_t kLongLine = 64 * 1024;
constexpr size_t kIndexBlock = 64 * 1024;

// What the background work has found so far.
struct DocumentState {
  bool counting = true;      // the index / line count is still being built
  int percent = 0;           // of the counting (of the decompression first, for gzip)
  int64_t lines = 0;         // counted so far; the total once counting is false
  std::string format;        // "GenBank", "EMBL", "FASTA", "GenBank (protein)"... or "Text"
  std::string kind;          // "nucleic acid", "protein", or "" when undecided
  bool protein = false;      // what IsProtein answers for tools
  int fileType = 0;          // the file type id the content detection found (0: none)
  std::string compression;   // "", "gzip" or "bgzf"
  uint64_t fileSize = 0;     // bytes on disk
  uint64_t contentSize = 0;  // bytes of contents (decompressed), known once counted
  enum class Disk { Same, Changed, Deleted } disk = Disk::Same;
  std::string failure;  // why reading stopped (damaged gzip, I/O error); "" if none
};

// A forward search running in the background.
struct FindState {
  bool running = false;
  int percent = 0;
  std::optional<Offset> found;  // start of the first line at or after the start holding it
};

class Document {
 public:
  // Opens path (plain, gzip or BGZF; bzip2, xz and zstd are refused by name) and starts
  // the background work. Null with the reason in *error (the library's failure text).
  // changed is called from other threads whenever DocumentState or FindState moved on
  // (at most about 20 times a second) and when the file changes or vanishes on disk.
  static std::unique_ptr<Document> Open(const std::string& path, std::function<void()> changed,
                                        std::string* error);
  virtual ~Document() = default;  // stops the threads; removes a temporary copy

  virtual const std::string& Path() const = 0;
  virtual DocumentState State() const = 0;

  // Up to count lines from the line starting at start (0 or a ShownLine's start/next);
  // fewer at the end of the contents. Reads only those lines' bytes (through the index's
  // nearest block start at or before start when line numbers are wanted).
  virtual std::vector<ShownLine> LinesFrom(Offset start, size_t count) = 0;
  // The count lines before the line starting at end (end = contents size: the last lines),
  // reading backwards from there; works before the counting ends.
  virtual std::vector<ShownLine> LinesBefore(Offset end, size_t count) = 0;
  // The start of line number (0-based), once the index covers it; nullopt before.
  virtual std::optional<Offset> LineStart(int64_t number) = 0;
  // The line number of the line starting at start, once the index covers it.
  virtual std::optional<int64_t> LineNumber(Offset start) = 0;
  // The size of the contents now known (grows while a gzip copy is being written).
  virtual Offset ContentEnd() const = 0;

  // Searches forward (bytes, case-sensitive) from the line starting at from; a new search
  // ends the last one. FindState tells progress and the result.
  virtual void Find(const std::string& text, Offset from) = 0;
  virtual void CancelFind() = 0;
  virtual FindState FindProgress() const = 0;

  // Reads the file again from the start (after it changed on disk).
  virtual bool Reload(std::string* error) = 0;
};

}  // namespace zel_view
