// The status bar of zel view: a strip along the bottom of the frame with a message field
// (prompts, notices, progress) and the active document's format and kind, line count and
// size, each field with a hover tip saying what it shows.
#pragma once

#include <array>
#include <string>

#include "cli/view/doc/Document.h"
#include "platform/user/framework/Wnd.h"

namespace zel_cli {

enum StatusField { kMessageField, kFormatField, kLinesField, kSizeField, kFieldCount };

// The fields' texts for a document's state: "GenBank, nucleic acid"; "Counting lines...
// 42%" then "1,234 lines"; the size on disk (and the contents' when compressed).
std::string FormatText(const zel_view::DocumentState& state);
std::string LinesText(const zel_view::DocumentState& state);
std::string SizeText(const zel_view::DocumentState& state);
// 1234567 as "1,234,567".
std::string Grouped(uint64_t value);

class StatusBar : public CWnd {
  DECLARE_MESSAGE_MAP()
 public:
  static constexpr int kHeight = 22;

  BOOL Create(CWnd* parent);
  void SetField(StatusField field, const std::string& text);
  const std::string& Field(StatusField field) const { return m_texts[field]; }
  // The field under a point of the bar's client area; kFieldCount outside every field.
  StatusField FieldAt(POINT p) const;
  // Where the field lies in the bar's client area.
  RECT FieldRect(StatusField field) const;

 protected:
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnTipRequest(WPARAM, LPARAM);

 private:
  std::array<std::string, kFieldCount> m_texts;
};

}  // namespace zel_cli
