// Rich text lines on a device: runs measured, placed and drawn.
#include "richtext/RichTextLine.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/user/gdi/MulDiv.h"
#include "richtext/RichTextScannerInternal.h"

namespace {

using namespace rtf_internal;

constexpr int kRunBufferSize = 4095;

int g_mode = RTF_MODE_TRUETYPE;
int g_tabCount = 0;
int* g_tabStops = nullptr;

enum class Pass { kMeasure, kDraw, kDrawMetric };

// How a device that draws Unicode is to read a line's bytes, decided once for the whole
// line so that a word reads the same in every run: UTF-8 when the text the markup hands on
// is UTF-8 as a whole. What control words make (quotes, dashes, the bullet) and what
// symbol faces show are no text of the writer's: they keep their own meaning either way,
// and one coming inside a sequence breaks it.
class LineTextBytes final : public MarkupSink {
 public:
  // Scans text once more on a copy of the state the line starts with.
  static TextBytes Of(const char* text, const MarkupState& start) {
    MarkupState state = start;
    LineTextBytes sink(state);
    ScanMarkup(text, state, sink);
    return sink.m_check.IsUtf8() ? TextBytes::kUtf8 : TextBytes::kWindows1252;
  }

  void Visible(unsigned char c, bool fromWord) override {
    if (fromWord || m_state.now.font.lfCharSet == SYMBOL_CHARSET)
      m_check.Break();
    else
      m_check.Add(c);
  }
  void Tab() override { m_check.Break(); }
  void NewLine() override { m_check.Break(); }
  void AfterLiteral(int) override {}

 private:
  explicit LineTextBytes(const MarkupState& state) : m_state(state) {}

  const MarkupState& m_state;
  Utf8Check m_check;
};

// The working state of the line in hand. Fixed-size buffers: nothing is allocated per
// character or per run.
class Line final : public MarkupSink {
 public:
  int Run(HDC dc, const char* text, LOGFONT* font, Pass pass, RECT* rect, int shift,
          CRTFLineMetric* metric, int* runStarts);

  void Visible(unsigned char c, bool fromWord) override;
  void Tab() override;
  void NewLine() override;
  void AfterLiteral(int index) override;

 private:
  bool Measuring() const { return m_pass == Pass::kMeasure; }
  void Begin(LOGFONT* font);
  void EndRun();
  void ApplyPending();
  void Place(const char* text, int count, bool downwards);
  void Grow(int y);
  int NextTab(int x) const;
  void Finish();

  HDC m_dc = nullptr;
  Pass m_pass = Pass::kMeasure;
  bool m_metricMode = false;
  int m_d = -1;  // -1 when y grows downwards
  int m_x = 0, m_y = 0;
  int m_left = 0;
  int m_applied = 0;
  char m_run[kRunBufferSize];
  int m_runLength = 0;
  int m_runs = 0;
  POINT m_positions[RTF_MAX_RUNS];
  POINT m_extents[RTF_MAX_RUNS];
  RECT m_rect;  // the measured rectangle
  HFONT m_created;
  int m_savedBkMode = 0;
  TextBytes m_savedTextBytes = TextBytes::kEachCall;
  CRTFLineMetric* m_metric = nullptr;
  RECT m_placed;  // the metric's rectangle when drawing from it
  int* m_runStarts = nullptr;
  int m_startsWritten = 0;
  int m_runsAtLastLiteral = -1;
  MarkupState m_markup;
};

Line g_line;

void Line::Begin(LOGFONT* font) {
  g_mode = (g_mode & ~(RTF_MODE_DRAWING | RTF_MODE_METRIC)) |
           (m_pass != Pass::kMeasure ? RTF_MODE_DRAWING : 0) | (m_metricMode ? RTF_MODE_METRIC : 0);
  const int mapMode = m_dc->GetMapMode();
  m_d = mapMode == MM_TEXT || mapMode == 0 ? -1 : 1;
  m_savedBkMode = m_dc->GetBkMode();
  if (m_metricMode) m_dc->SetBkMode(TRANSPARENT);

  if (font->lfHeight < 0) {
    // A character height: the font itself says what cell it makes. It is only borrowed
    // for the question, so the device's selection is left as the caller made it.
    HFONT probe = m_dc->CreateFontIndirect(font);
    if (probe) {
      HGDIOBJ previous = m_dc->SelectObject(ToGdiObj(probe));
      TEXTMETRIC tm;
      m_dc->GetTextMetrics(&tm);
      m_dc->SelectObject(previous);
      m_dc->DeleteObject(ToGdiObj(probe));
      font->lfHeight = tm.tmHeight;
    }
  }
  m_markup = MarkupState();
  Formatting& now = m_markup.now;
  now.font = *font;
  if (now.font.lfHeight < 0) now.font.lfHeight = -now.font.lfHeight;
  m_markup.baseHeight = (g_mode & RTF_MODE_DEVICE_BASE)
                            ? MulDiv(10, m_dc->GetDeviceCaps(LOGPIXELSY), 72)
                            : now.font.lfHeight;
  if (!(m_metricMode && !(g_mode & RTF_MODE_NO_WIDTH))) now.font.lfWidth = 0;
  m_markup.trueTypeFaces = (g_mode & RTF_MODE_TRUETYPE) != 0;
  now.textColor = m_dc->GetTextColor();
  now.bkColor = m_dc->GetBkColor();

  m_applied = 0;
  m_runLength = 0;
  m_created = HFONT();
  m_runs = 0;
  m_startsWritten = 0;
  m_runsAtLastLiteral = -1;
  m_x = m_y = m_left = 0;
  m_rect = RECT();
}

void Line::Visible(unsigned char c, bool) {
  // Measuring alone ignores colours; a metric measured to be drawn splits runs where the
  // drawing will, so that every drawn run has its recorded place.
  const unsigned matter =
      m_pass == Pass::kMeasure && !m_metricMode
          ? (kPendingFont | kPendingOffset)
          : (kPendingFont | kPendingOffset | kPendingTextColor | kPendingBkColor);
  if (m_markup.pending & matter) {
    EndRun();
    ApplyPending();
  }
  if (m_markup.now.vertical) {
    EndRun();
    const char one = static_cast<char>(c);
    Place(&one, 1, true);
    return;
  }
  if (m_runLength < kRunBufferSize) m_run[m_runLength++] = static_cast<char>(c);
}

void Line::ApplyPending() {
  const unsigned pending = m_markup.pending;
  const Formatting& now = m_markup.now;
  if (!Measuring() && (pending & kPendingBkColor)) m_dc->SetBkColor(now.bkColor);
  if (!Measuring() && (pending & kPendingTextColor)) m_dc->SetTextColor(now.textColor);
  if (pending & kPendingFont) {
    HFONT font = m_dc->CreateFontIndirect(&now.font);
    if (font) {
      m_dc->SelectObject(ToGdiObj(font));
      if (m_created) m_dc->DeleteObject(ToGdiObj(m_created));
      m_created = font;
    }
  }
  if (pending & kPendingOffset) m_applied = now.offset;
  m_markup.pending = 0;
}

void Line::EndRun() {
  if (m_runLength == 0) return;
  Place(m_run, m_runLength, false);
  m_runLength = 0;
}

// The rectangle grows along the y direction of the mapping mode: its top is the extreme
// upwards and its bottom the extreme downwards, so its height comes out positive in every
// mode.
void Line::Grow(int y) {
  if (m_d < 0) {
    m_rect.top = std::min<LONG>(m_rect.top, y);
    m_rect.bottom = std::max<LONG>(m_rect.bottom, y);
  } else {
    m_rect.top = std::max<LONG>(m_rect.top, y);
    m_rect.bottom = std::min<LONG>(m_rect.bottom, y);
  }
}

void Line::Place(const char* text, int count, bool downwards) {
  // Drawing from a metric takes each run's place from it: nothing to measure.
  if (m_pass == Pass::kDrawMetric) {
    if (m_runs == RTF_MAX_RUNS) {
      m_markup.status = RTF_TOO_MANY_RUNS;
    } else if (m_runs >= m_metric->m_nCount) {
      m_markup.status = RTF_TOO_MANY_GROUPS;
    } else {
      const POINT at = m_metric->m_pPositions[m_runs];
      const UINT align = m_dc->SetTextAlign(TA_LEFT | TA_BOTTOM);
      m_dc->ExtTextOut(m_placed.left + at.x, m_placed.bottom + m_d * at.y, 0, nullptr, text,
                       static_cast<UINT>(count), nullptr);
      m_dc->SetTextAlign(align);
      ++m_runs;
    }
    return;
  }
  SIZE extent;
  m_dc->GetTextExtentPoint(text, count, &extent);
  int left = 0, right = 0;
  if ((g_mode & RTF_MODE_TRUETYPE) && count > 0) {
    if (g_mode & RTF_MODE_FIXED_OVERHANG) {
      left = right = m_markup.baseHeight / 20;
    } else {
      ABC abc;
      if (m_dc->GetCharABCWidths(static_cast<unsigned char>(text[0]),
                                 static_cast<unsigned char>(text[0]), &abc) &&
          abc.abcA < 0)
        left = -abc.abcA;
      if (m_dc->GetCharABCWidths(static_cast<unsigned char>(text[count - 1]),
                                 static_cast<unsigned char>(text[count - 1]), &abc) &&
          abc.abcC < 0)
        right = -abc.abcC;
    }
  }
  const int bottomEdge = m_y + m_d * m_applied;
  switch (m_pass) {
    case Pass::kDrawMetric:
      break;
    case Pass::kMeasure: {
      if (m_runs == RTF_MAX_RUNS) {
        m_markup.status = RTF_TOO_MANY_RUNS;
        return;
      }
      const int rightEnd = m_x + extent.cx + left + right;
      const int topEdge = bottomEdge + m_d * extent.cy;
      m_positions[m_runs] = POINT{m_x + left, bottomEdge};
      m_extents[m_runs] = POINT{rightEnd, topEdge};
      ++m_runs;
      m_rect.right = std::max<LONG>(m_rect.right, rightEnd);
      Grow(bottomEdge);
      Grow(topEdge);
      break;
    }
    case Pass::kDraw: {
      // Each run is drawn from its left bottom corner and the caller's alignment comes
      // back after it.
      const UINT align = m_dc->SetTextAlign(TA_LEFT | TA_BOTTOM);
      m_dc->ExtTextOut(m_x + left, bottomEdge, 0, nullptr, text, static_cast<UINT>(count), nullptr);
      m_dc->SetTextAlign(align);
      break;
    }
  }
  if (downwards)
    m_y -= m_d * m_markup.now.font.lfHeight;
  else
    m_x += extent.cx + left + right;
}

int Line::NextTab(int x) const {
  for (int i = 0; i < g_tabCount && g_tabStops; ++i)
    if (g_tabStops[i] > x - m_left) return m_left + g_tabStops[i];
  return x + m_markup.baseHeight / 2;
}

void Line::Tab() {
  EndRun();
  if (m_pass != Pass::kDrawMetric) m_x = NextTab(m_x);
}

// New lines (and vertical advance) go by the formatting state's height even while its
// font is still pending: the line below starts where the new size says.
void Line::NewLine() {
  EndRun();
  if (m_pass == Pass::kDrawMetric) return;
  m_y -= m_d * m_markup.now.font.lfHeight;
  m_x = m_left;
}

void Line::AfterLiteral(int index) {
  if (!m_runStarts || m_runs == m_runsAtLastLiteral) return;
  m_runsAtLastLiteral = m_runs;
  if (m_startsWritten <= RTF_MAX_RUNS) m_runStarts[m_startsWritten++] = index;
}

void Line::Finish() {
  EndRun();
  if (m_created) {
    m_dc->SelectObject(m_dc->GetStockObject(SYSTEM_FONT));
    m_dc->DeleteObject(ToGdiObj(m_created));
    m_created = HFONT();
  }
  // Always, not only where the line changed it: the device leaves as the line found it.
  m_dc->SetBkMode(m_savedBkMode);
  m_dc->SetTextBytes(m_savedTextBytes);
  if (m_pass == Pass::kMeasure && m_metricMode) {
    const int top = m_rect.top * m_d, bottom = m_rect.bottom * m_d;
    for (int i = 0; i < m_runs; ++i) m_positions[i].y = (m_positions[i].y - m_rect.bottom) * m_d;
    m_metric->SetRuns(m_positions, m_extents, m_runs);
    m_rect.top = 0;
    m_rect.bottom = top - bottom;
    if (m_rect.right == 0) m_rect.right = 1;
    if (m_rect.bottom == 0) m_rect.bottom = 1;
    m_metric->m_rect = m_rect;
  }
  if (m_markup.depth > 0) m_markup.status = RTF_OPEN_GROUPS;
}

int Line::Run(HDC dc, const char* text, LOGFONT* font, Pass pass, RECT* rect, int shift,
              CRTFLineMetric* metric, int* runStarts) {
  m_dc = dc;
  m_pass = pass;
  m_metricMode = metric != nullptr;
  m_metric = metric;
  m_runStarts = runStarts;
  Begin(font);
  if (pass == Pass::kDraw) {
    m_x = m_left = rect->left;
    m_y = rect->bottom - shift;
  } else if (pass == Pass::kDrawMetric) {
    m_placed = metric->m_rect;
    m_left = m_placed.left;
  }
  if (!text) text = "";
  m_savedTextBytes = m_dc->SetTextBytes(LineTextBytes::Of(text, m_markup));
  ScanMarkup(text, m_markup, *this);
  Finish();
  if (pass == Pass::kMeasure && !m_metricMode && rect) *rect = m_rect;
  m_runStarts = nullptr;
  return m_markup.status;
}

}  // namespace

CRTFLineMetric::~CRTFLineMetric() {
  delete[] m_pPositions;
  delete[] m_pExtents;
}

void CRTFLineMetric::SetRuns(const POINT* positions, const POINT* extents, int count) {
  delete[] m_pPositions;
  delete[] m_pExtents;
  m_pPositions = m_pExtents = nullptr;
  m_nCount = count;
  if (count <= 0) return;
  m_pPositions = new POINT[count];
  m_pExtents = new POINT[count];
  std::copy(positions, positions + count, m_pPositions);
  std::copy(extents, extents + count, m_pExtents);
}

int SetRTFLineMode(int mode) { return std::exchange(g_mode, mode); }

void SetRTFLineTabStops(int count, int* stops, int* previousCount, int** previousStops) {
  if (previousCount) *previousCount = g_tabCount;
  if (previousStops) *previousStops = g_tabStops;
  g_tabCount = count;
  g_tabStops = stops;
}

// A missing device, font or metric object leaves nothing to measure or draw on: such a
// call does nothing and answers RTF_OK.
int MeasureRTFLine(HDC dc, const char* text, LOGFONT* font, RECT* rect, int* value) {
  if (value) *value = 0;
  if (!dc || !font) return RTF_OK;
  return g_line.Run(dc, text, font, Pass::kMeasure, rect, 0, nullptr, nullptr);
}

int DrawRTFLine(HDC dc, const char* text, LOGFONT* font, RECT* rect, int shift) {
  if (!dc || !font || !rect) return RTF_OK;
  return g_line.Run(dc, text, font, Pass::kDraw, rect, shift, nullptr, nullptr);
}

int GetRTFLineMetrics(HDC dc, const char* text, LOGFONT* font, CRTFLineMetric* metric) {
  if (!dc || !font || !metric) return RTF_OK;
  return g_line.Run(dc, text, font, Pass::kMeasure, nullptr, 0, metric, nullptr);
}

int GetRTFLineMetricsEx(HDC dc, const char* text, LOGFONT* font, CRTFLineMetric* metric,
                        int* runStarts) {
  if (!dc || !font || !metric) return RTF_OK;
  return g_line.Run(dc, text, font, Pass::kMeasure, nullptr, 0, metric, runStarts);
}

int RTFLineOut(HDC dc, const char* text, LOGFONT* font, CRTFLineMetric* metric) {
  if (!dc || !font || !metric) return RTF_OK;
  return g_line.Run(dc, text, font, Pass::kDrawMetric, nullptr, 0, metric, nullptr);
}
