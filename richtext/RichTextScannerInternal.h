// The markup scanner between the markup's vocabulary and the line layout: the formatting
// state, the group stack, and the scan that hands on characters and line events.
#pragma once

#include "platform/base/types/WinTypes.h"

namespace rtf_internal {

// Pending changes: applied when the next visible character arrives.
constexpr unsigned kPendingBkColor = 1;
constexpr unsigned kPendingTextColor = 2;
constexpr unsigned kPendingFont = 4;
constexpr unsigned kPendingOffset = 8;

constexpr int kMaxGroups = 10;
// Character strings may hold words that expand character strings, themselves included;
// expansion stops this deep (the word is then ignored).
constexpr int kMaxStringDepth = 16;
// A string that names itself twice would double its work at every level: a line expands
// this many strings at most, and later expansion words are ignored like deep ones.
constexpr int kMaxStringExpansions = 256;

struct Formatting {
  LOGFONT font;
  int offset = 0;  // vertical offset to apply, positive upwards
  COLORREF textColor = 0;
  COLORREF bkColor = 0;
  bool hidden = false;
  bool caps = false;
  bool vertical = false;
};

struct MarkupState {
  Formatting now;
  unsigned pending = 0;
  Formatting groups[kMaxGroups];
  int depth = 0;
  int expansions = 0;
  int baseHeight = 0;
  bool trueTypeFaces = false;
  int status = 0;
};

// What the layout does with the scanned line.
class MarkupSink {
 public:
  // A character to show; fromWord when a control word made it rather than the text.
  virtual void Visible(unsigned char c, bool fromWord) = 0;
  virtual void Tab() = 0;
  virtual void NewLine() = 0;
  // After each byte written literally in the line's own text has been handled.
  virtual void AfterLiteral(int index) = 0;

 protected:
  ~MarkupSink() = default;
};

// Scans text (zero-terminated) into state and sink; the status of problems goes into
// state.status. Open groups at the end are the caller's to report.
void ScanMarkup(const char* text, MarkupState& state, MarkupSink& sink);

}  // namespace rtf_internal
