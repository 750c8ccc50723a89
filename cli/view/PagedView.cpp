// The paged view: each paint asks the document for the lines that fit and draws them; the
// scroll position is the first line's byte offset, so a jump anywhere costs one read.
#include "cli/view/PagedView.h"

#include <algorithm>

#include "platform/user/framework/FrameWnd.h"
#include "platform/user/gdi/DC.h"
#include "platform/user/input/Input.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/ScrollBars.h"
#include "platform/user/wnd/Window.h"

namespace zel_cli {

using zel_view::Offset;
using zel_view::ShownLine;

int ScrollPosOf(Offset offset, Offset end) {
  if (end == 0) return 0;
  const long double share = static_cast<long double>(std::min(offset, end)) / end;
  return static_cast<int>(share * kScrollRange);
}

Offset OffsetOfScrollPos(int pos, Offset end) {
  pos = std::clamp(pos, 0, kScrollRange);
  return static_cast<Offset>(static_cast<long double>(end) * pos / kScrollRange);
}

BEGIN_MESSAGE_MAP(PagedView, CWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
ON_MESSAGE(WM_VSCROLL, OnVScroll)
ON_MESSAGE(WM_SIZE, OnSize)
END_MESSAGE_MAP()

BOOL PagedView::Create(CWnd* parent, const RECT& rect, UINT id) {
  return CWnd::Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, rect, parent, id);
}

LRESULT PagedView::OnCreate(WPARAM, LPARAM) {
  MeasureFont();
  UpdateScrollBar();
  return 0;
}

// A fixed-pitch face, so that columns line up as in the file.
void PagedView::MeasureFont() {
  m_font.lfHeight = -13;
  m_font.lfWeight = 400;
  m_font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  SetFaceName(m_font, "Courier New");
  CDC* dc = GetDC();
  if (!dc) return;
  HFONT font = dc->CreateFontIndirect(&m_font);
  HGDIOBJ old = dc->SelectObject(ToGdiObj(font));
  TEXTMETRIC tm;
  if (dc->GetTextMetrics(&tm)) {
    m_lineHeight = std::max<int>(1, tm.tmHeight + tm.tmExternalLeading);
    m_charWidth = std::max<int>(1, tm.tmAveCharWidth);
  }
  dc->SelectObject(old);
  dc->DeleteObject(ToGdiObj(font));
  ReleaseDC(dc);
}

int PagedView::Rows() const {
  CRect client;
  GetClientRect(&client);
  return std::max(1, client.Height() / m_lineHeight);
}

LRESULT PagedView::OnPaint(WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  CDC* dc = ::BeginPaint(m_hWnd, &ps);
  if (!dc) return 0;
  CRect client;
  GetClientRect(&client);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW), text = ::GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  // Fonts belong to the device that made them: one per paint.
  HFONT font = dc->CreateFontIndirect(&m_font);
  HGDIOBJ old = dc->SelectObject(ToGdiObj(font));
  // The lines are UTF-8 already, decoded by the document.
  const TextBytes bytes = dc->SetTextBytes(TextBytes::kUtf8);
  dc->SetBkMode(TRANSPARENT);
  const int first = std::max(0, static_cast<int>(ps.rcPaint.top) / m_lineHeight);
  const int last = std::min(Rows(), static_cast<int>(ps.rcPaint.bottom) / m_lineHeight);
  const std::vector<ShownLine> lines = m_document.LinesFrom(m_top, static_cast<size_t>(last + 1));
  const Offset from = m_anchor ? std::min(*m_anchor, m_caret) : 1;
  const Offset to = m_anchor ? std::max(*m_anchor, m_caret) : 0;
  for (int row = first; row <= last && row < static_cast<int>(lines.size()); ++row) {
    const ShownLine& line = lines[static_cast<size_t>(row)];
    CRect band(0, row * m_lineHeight, client.right, (row + 1) * m_lineHeight);
    const bool selected = line.start >= from && line.start <= to;
    dc->FillSolidRect(&band, selected ? highlight : window);
    dc->SetTextColor(selected ? highlightText : text);
    dc->TextOut(m_charWidth / 2, band.top, line.text.data(), static_cast<int>(line.text.size()));
  }
  const int drawn = std::min(last + 1, static_cast<int>(lines.size()));
  if (first == 0 && !lines.empty()) {
    const Offset pageBytes = lines[static_cast<size_t>(std::min(Rows(), drawn) - 1)].next - m_top;
    if (pageBytes != m_pageBytes) {
      m_pageBytes = pageBytes;
      UpdateScrollBar();
    }
  }
  if (drawn * m_lineHeight < client.bottom) {
    CRect rest(0, std::max(0, drawn) * m_lineHeight, client.right, client.bottom);
    dc->FillSolidRect(&rest, window);
  }
  dc->SetTextBytes(bytes);
  dc->SelectObject(old);
  dc->DeleteObject(ToGdiObj(font));
  ::EndPaint(m_hWnd, &ps);
  return 0;
}

void PagedView::SetTop(Offset top) {
  if (top == m_top) return;
  m_top = top;
  UpdateScrollBar();
  Invalidate();
}

void PagedView::UpdateScrollBar() {
  // The page is the share of the contents the last paint showed: no reading for the bar.
  const Offset end = m_document.ContentEnd();
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = kScrollRange;
  info.nPage = static_cast<UINT>(std::max(1, ScrollPosOf(m_pageBytes, end)));
  info.nPos = ScrollPosOf(m_top, end);
  SetScrollInfo(SB_VERT, &info);
}

Offset PagedView::LineStartAtOrBefore(Offset offset) const {
  if (offset == 0) return 0;
  auto before = m_document.LinesBefore(std::min(offset, m_document.ContentEnd()), 1);
  return before.empty() ? 0 : before.front().start;
}

void PagedView::ScrollLines(int count) {
  if (count > 0) {
    // Never past the point where the last line ends the page.
    const std::vector<ShownLine> tail = m_document.LinesBefore(m_document.ContentEnd(), Rows());
    const Offset lastTop = tail.empty() ? 0 : tail.front().start;
    if (m_top >= lastTop) return;
    const auto lines = m_document.LinesFrom(m_top, static_cast<size_t>(count) + 1);
    Offset top = m_top;
    for (int i = 0; i < count && static_cast<size_t>(i) < lines.size(); ++i)
      top = lines[static_cast<size_t>(i)].next;
    SetTop(std::min(top, lastTop));
  } else if (count < 0) {
    const auto lines = m_document.LinesBefore(m_top, static_cast<size_t>(-count));
    if (!lines.empty()) SetTop(lines.front().start);
  }
}

void PagedView::ScrollPages(int count) { ScrollLines(count * std::max(1, Rows() - 1)); }

void PagedView::ScrollToStart() { SetTop(0); }

void PagedView::ScrollToEnd() {
  const std::vector<ShownLine> tail = m_document.LinesBefore(m_document.ContentEnd(), Rows());
  SetTop(tail.empty() ? 0 : tail.front().start);
}

void PagedView::ShowLine(Offset start) {
  m_anchor = start;
  m_caret = start;
  SetTop(start);
  // The line stays first unless it is within the last page.
  const std::vector<ShownLine> tail = m_document.LinesBefore(m_document.ContentEnd(), Rows());
  if (!tail.empty() && start > tail.front().start) SetTop(tail.front().start);
  Invalidate();
}

Offset PagedView::SearchStart() const { return m_anchor ? std::min(*m_anchor, m_caret) : m_top; }

std::string PagedView::SelectedText(size_t limit) const {
  if (!m_anchor) return {};
  const Offset from = std::min(*m_anchor, m_caret), to = std::max(*m_anchor, m_caret);
  std::string text;
  Offset at = from;
  while (at <= to && text.size() < limit) {
    const auto lines = m_document.LinesFrom(at, 256);
    if (lines.empty()) break;
    for (const ShownLine& line : lines) {
      if (line.start > to || text.size() >= limit) return text;
      text += line.text;
      text += '\n';
      at = line.next;
    }
    if (lines.back().next == lines.back().start) break;
  }
  return text;
}

void PagedView::Refresh() {
  if (m_top > m_document.ContentEnd()) m_top = LineStartAtOrBefore(m_document.ContentEnd());
  UpdateScrollBar();
  Invalidate();
}

bool PagedView::HandleKey(UINT key, bool) {
  switch (key) {
    case VK_UP:
      ScrollLines(-1);
      return true;
    case VK_DOWN:
      ScrollLines(1);
      return true;
    case VK_PRIOR:
      ScrollPages(-1);
      return true;
    case VK_NEXT:
      ScrollPages(1);
      return true;
    // Lines are shown from their start: with Ctrl or without, Home and End go to the
    // first and the last line.
    case VK_HOME:
      ScrollToStart();
      return true;
    case VK_END:
      ScrollToEnd();
      return true;
    default:
      return false;
  }
}

LRESULT PagedView::OnKeyDown(WPARAM key, LPARAM) {
  // Ctrl as it was when the key came: by now a quick Ctrl+End may be released.
  const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  if (HandleKey(static_cast<UINT>(key), control)) return 0;
  if (auto* frame = dynamic_cast<KeyTarget*>(GetTopLevelFrame()))
    if (frame->OnKey(static_cast<UINT>(key), control)) return 0;
  return Default();
}

LRESULT PagedView::OnLButtonDown(WPARAM keys, LPARAM lParam) {
  const POINT p = PointOfLParam(lParam);
  const int row = p.y / m_lineHeight;
  const auto lines = m_document.LinesFrom(m_top, static_cast<size_t>(row) + 1);
  if (row < 0 || static_cast<size_t>(row) >= lines.size()) return 0;
  const Offset start = lines[static_cast<size_t>(row)].start;
  if ((keys & MK_SHIFT) && m_anchor) {
    m_caret = start;
  } else {
    m_anchor = start;
    m_caret = start;
  }
  Invalidate();
  return 0;
}

LRESULT PagedView::OnMouseWheel(WPARAM wParam, LPARAM) {
  // One notch is three lines; finer wheels add up until they make a line.
  m_wheelRest += GET_WHEEL_DELTA_WPARAM(wParam);
  const int lines = m_wheelRest * 3 / WHEEL_DELTA;
  m_wheelRest -= lines * WHEEL_DELTA / 3;
  if (lines) ScrollLines(-lines);
  return 0;
}

LRESULT PagedView::OnVScroll(WPARAM wParam, LPARAM) {
  switch (LOWORD(wParam)) {
    case SB_LINEUP:
      ScrollLines(-1);
      break;
    case SB_LINEDOWN:
      ScrollLines(1);
      break;
    case SB_PAGEUP:
      ScrollPages(-1);
      break;
    case SB_PAGEDOWN:
      ScrollPages(1);
      break;
    case SB_TOP:
      ScrollToStart();
      break;
    case SB_BOTTOM:
      ScrollToEnd();
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The thumb names a place in the contents; the view starts at the line there.
      SCROLLINFO info;
      GetScrollInfo(SB_VERT, &info, SIF_TRACKPOS);
      const Offset end = m_document.ContentEnd();
      const std::vector<ShownLine> tail = m_document.LinesBefore(end, Rows());
      const Offset lastTop = tail.empty() ? 0 : tail.front().start;
      const Offset at = OffsetOfScrollPos(info.nTrackPos, end);
      SetTop(at >= lastTop ? lastTop : LineStartAtOrBefore(at));
      break;
    }
    default:
      break;
  }
  return 0;
}

LRESULT PagedView::OnSize(WPARAM, LPARAM) {
  UpdateScrollBar();
  Invalidate();
  return 0;
}

}  // namespace zel_cli
