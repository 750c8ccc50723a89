// The paged view of a document: a window that reads and draws only the lines on screen,
// scrolls by the document's byte offsets (the scroll bar maps the contents' size, so it
// works before the lines are counted), and selects whole lines with the mouse.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/view/doc/Document.h"
#include "platform/user/framework/Wnd.h"

namespace zel_cli {

// The frame that takes the keys a view leaves (Ctrl+O, Ctrl+G, ...).
class KeyTarget {
 public:
  virtual ~KeyTarget() = default;
  virtual bool OnKey(UINT key, bool control) = 0;
};

// Scroll-bar positions run over 0..kScrollRange, whatever the contents' size.
constexpr int kScrollRange = 1 << 20;
int ScrollPosOf(zel_view::Offset offset, zel_view::Offset end);
zel_view::Offset OffsetOfScrollPos(int pos, zel_view::Offset end);

class PagedView : public CWnd {
  DECLARE_MESSAGE_MAP()
 public:
  explicit PagedView(zel_view::Document& document) : m_document(document) {}
  BOOL Create(CWnd* parent, const RECT& rect, UINT id);

  // Where the view starts: the first line on screen.
  zel_view::Offset Top() const { return m_top; }
  // Lines that fit on screen (at least 1).
  int Rows() const;
  // Moves by lines (negative: up), keeping the last page full.
  void ScrollLines(int count);
  void ScrollPages(int count);
  void ScrollToStart();
  void ScrollToEnd();
  // Shows the line starting at start first on screen, and selects it.
  void ShowLine(zel_view::Offset start);
  // The selected lines' text, one line end after each; empty when none is selected.
  std::string SelectedText(size_t limit) const;
  bool HasSelection() const { return m_anchor.has_value(); }
  // The first selected line, else the first on screen: where a search starts.
  zel_view::Offset SearchStart() const;
  // The document moved on (more counted, reloaded): redraw and reset the scroll bar.
  void Refresh();
  // Keys the frame passes on: the arrows, pages, Home and End (Ctrl for the ends).
  bool HandleKey(UINT key, bool control);

 protected:
  LRESULT OnCreate(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnKeyDown(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnMouseWheel(WPARAM, LPARAM);
  LRESULT OnVScroll(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);

 private:
  void MeasureFont();
  void SetTop(zel_view::Offset top);
  // The start of a line at or before offset.
  zel_view::Offset LineStartAtOrBefore(zel_view::Offset offset) const;
  // The bar's thumb where the first line on screen lies in the contents.
  void UpdateScrollBar();

  zel_view::Document& m_document;
  zel_view::Offset m_top = 0;
  std::optional<zel_view::Offset> m_anchor;  // the line clicked first
  zel_view::Offset m_caret = 0;              // the line clicked last (shift extends to it)
  LOGFONT m_font;                            // a fixed-pitch face, made on each device that draws
  int m_lineHeight = 16;
  int m_charWidth = 8;
  int m_wheelRest = 0;
  zel_view::Offset m_pageBytes =
      0;  // of the lines the last whole paint showed  // wheel movement not yet turned into lines
};

}  // namespace zel_cli
