// CDC: state, objects, the record, and the calls made of a device's few primitives.
#include "platform/user/gdi/DC.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/user/gdi/ImageList.h"
#include "platform/user/system/SystemValues.h"

namespace {

constexpr int kFont = 1, kPen = 2, kBrush = 3;
// Stock objects, system colour brushes and created objects each get handles of their own
// range, the created ones above the others, so that no number of them reaches those.
constexpr uintptr_t kStockBase = 0x100000;
constexpr uintptr_t kSysBrushBase = 0x200000;
constexpr uintptr_t kCreatedBase = 0x300000;

LOGFONT MakeFont(LONG height, const char* face, BYTE pitch) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfPitchAndFamily = pitch;
  SetFaceName(lf, face);
  return lf;
}

}  // namespace

const char* DcEventName(DcEvent::Op op) {
  static const char* const kNames[] = {
      "mapmode",   "bkmode",      "textcolor",  "bkcolor",   "align",       "createfont",
      "createpen", "createbrush", "selectfont", "selectpen", "selectbrush", "deletefont",
      "deletepen", "deletebrush", "text",       "fillrect",  "framerect",   "drawedge",
      "moveto",    "lineto",      "drawtext",   "image"};
  return kNames[op];
}

LOGFONT StockSystemFont() { return MakeFont(16, "System", 0); }

bool SameLogFont(const LOGFONT& a, const LOGFONT& b) {
  return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
         a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight &&
         a.lfItalic == b.lfItalic && a.lfUnderline == b.lfUnderline &&
         a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
         a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
         a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
         std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

void SetFaceName(LOGFONT& lf, const char* face) {
  std::memset(lf.lfFaceName, 0, LF_FACESIZE);
  if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
}

CDC::CDC() {
  m_pen = Stock(BLACK_PEN);
  m_brush = Stock(WHITE_BRUSH);
  m_font = Stock(SYSTEM_FONT);
}

CDC::~CDC() = default;

void CDC::SelectStockFont() { OnSelectFont(GetSelectedFont()); }

DcEvent& CDC::Record(DcEvent::Op op) {
  if (!m_recording) {
    m_scratch = DcEvent();
    return m_scratch;
  }
  m_events.emplace_back();
  m_events.back().op = op;
  return m_events.back();
}

int CDC::SetMapMode(int mode) {
  if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  Record(DcEvent::kMapMode).value = mode;
  return std::exchange(m_mapMode, mode);
}

int CDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  Record(DcEvent::kBkMode).value = mode;
  return std::exchange(m_bkMode, mode);
}

COLORREF CDC::SetTextColor(COLORREF color) {
  Record(DcEvent::kTextColor).color = color;
  return std::exchange(m_textColor, color);
}

COLORREF CDC::SetBkColor(COLORREF color) {
  Record(DcEvent::kBkColor).color = color;
  return std::exchange(m_bkColor, color);
}

UINT CDC::SetTextAlign(UINT align) {
  Record(DcEvent::kAlign).value = static_cast<int>(align);
  return std::exchange(m_align, align);
}

CDC::Object* CDC::Find(HGDIOBJ h) {
  if (!h) return nullptr;
  if (h.value >= kStockBase && h.value < kSysBrushBase && !m_objects.count(h.value))
    Stock(static_cast<int>(h.value - kStockBase));
  auto it = m_objects.find(h.value);
  return it == m_objects.end() ? nullptr : &it->second;
}

HGDIOBJ CDC::Make(Object object) {
  object.id = m_nextId[object.kind]++;
  HGDIOBJ h(kCreatedBase + ++m_serial);
  m_objects.emplace(h.value, object);
  return h;
}

HGDIOBJ CDC::Stock(int index) {
  HGDIOBJ h(kStockBase + static_cast<uintptr_t>(index));
  if (m_objects.count(h.value)) return h;
  Object o;
  o.stock = true;
  o.id = index == SYSTEM_FONT ? 0 : -index;
  switch (index) {
    case WHITE_BRUSH:
    case LTGRAY_BRUSH:
    case GRAY_BRUSH:
    case DKGRAY_BRUSH:
    case BLACK_BRUSH:
    case NULL_BRUSH: {
      static const COLORREF kGreys[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                        RGB(64, 64, 64),    RGB(0, 0, 0),       RGB(0, 0, 0)};
      o.kind = kBrush;
      o.color = kGreys[index];
      o.penStyle = index == NULL_BRUSH ? PS_NULL : PS_SOLID;
      break;
    }
    case WHITE_PEN:
    case BLACK_PEN:
    case NULL_PEN:
      o.kind = kPen;
      o.color = index == WHITE_PEN ? RGB(255, 255, 255) : 0;
      o.penStyle = index == NULL_PEN ? PS_NULL : PS_SOLID;
      break;
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
      o.kind = kFont;
      o.font = StockSystemFont();
      break;
    case ANSI_VAR_FONT:
    case DEFAULT_GUI_FONT:
      o.kind = kFont;
      o.font = MakeFont(-11, index == DEFAULT_GUI_FONT ? "MS Shell Dlg" : "MS Sans Serif",
                        VARIABLE_PITCH | FF_SWISS);
      break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
      o.kind = kFont;
      o.font = MakeFont(-12, "Courier", FIXED_PITCH | FF_MODERN);
      break;
    default:
      return HGDIOBJ();
  }
  m_objects.emplace(h.value, o);
  return h;
}

HFONT CDC::CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return HFONT();
  Object o;
  o.kind = kFont;
  o.font = *lf;
  o.font.lfFaceName[LF_FACESIZE - 1] = 0;
  HGDIOBJ h = Make(o);
  DcEvent& e = Record(DcEvent::kCreateFont);
  e.id = m_objects[h.value].id;
  e.font = o.font;
  return HFONT(h.value);
}

HPEN CDC::CreatePen(int style, int width, COLORREF color) {
  Object o;
  o.kind = kPen;
  o.penStyle = style;
  o.penWidth = std::max(width, 1);
  o.color = color;
  HGDIOBJ h = Make(o);
  DcEvent& e = Record(DcEvent::kCreatePen);
  e.id = m_objects[h.value].id;
  e.value = style;
  e.flags = static_cast<UINT>(width);
  e.color = color;
  return HPEN(h.value);
}

HBRUSH CDC::CreateSolidBrush(COLORREF color) {
  Object o;
  o.kind = kBrush;
  o.color = color;
  HGDIOBJ h = Make(o);
  DcEvent& e = Record(DcEvent::kCreateBrush);
  e.id = m_objects[h.value].id;
  e.color = color;
  return HBRUSH(h.value);
}

HGDIOBJ CDC::GetStockObject(int index) { return Stock(index); }

HBRUSH CDC::GetSysColorBrush(int index) {
  if (index < 0 || index >= kSysColorCount) return HBRUSH();
  HGDIOBJ h(kSysBrushBase + static_cast<uintptr_t>(index));
  auto& o = m_objects[h.value];
  o.kind = kBrush;
  o.stock = true;
  o.id = -1000 - index;
  o.color = GetSysColor(index);
  return HBRUSH(h.value);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
  Object* o = Find(object);
  if (!o) return HGDIOBJ();
  static constexpr DcEvent::Op kSelect[] = {DcEvent::kSelectFont, DcEvent::kSelectFont,
                                            DcEvent::kSelectPen, DcEvent::kSelectBrush};
  Record(kSelect[o->kind]).id = o->id;
  HGDIOBJ& slot = o->kind == kFont ? m_font : o->kind == kPen ? m_pen : m_brush;
  HGDIOBJ previous = std::exchange(slot, object);
  if (o->kind == kFont) OnSelectFont(o->font);
  return previous;
}

BOOL CDC::DeleteObject(HGDIOBJ object) {
  Object* o = Find(object);
  if (!o) return FALSE;
  static constexpr DcEvent::Op kDelete[] = {DcEvent::kDeleteFont, DcEvent::kDeleteFont,
                                            DcEvent::kDeletePen, DcEvent::kDeleteBrush};
  Record(kDelete[o->kind]).id = o->id;
  if (o->stock) return TRUE;
  if (object == m_font || object == m_pen || object == m_brush) return FALSE;
  m_objects.erase(object.value);
  return TRUE;
}

const LOGFONT& CDC::GetSelectedFont() const { return m_objects.at(m_font.value).font; }
int CDC::GetSelectedFontId() const { return m_objects.at(m_font.value).id; }

BOOL CDC::GetTextMetrics(TEXTMETRIC* tm) {
  if (!tm) return FALSE;
  *tm = TEXTMETRIC();
  DoTextMetrics(*tm);
  return TRUE;
}

BOOL CDC::GetTextExtentPoint(const char* text, int count, SIZE* size) {
  if (!size || count < 0 || (!text && count > 0)) return FALSE;
  *size = DoTextExtent(text, count);
  return TRUE;
}

BOOL CDC::GetCharABCWidths(UINT first, UINT last, ABC* abc) {
  if (!abc || first > last || last > 255) return FALSE;
  for (UINT c = first; c <= last; ++c)
    if (!DoCharABC(static_cast<unsigned char>(c), abc[c - first])) return FALSE;
  return TRUE;
}

int CDC::GetDeviceCaps(int index) const { return DoDeviceCaps(index); }

COLORREF CDC::GetSysColor(int index) const { return DoSysColor(index); }

// The fixed colours, not the installed service's: a device's pictures stay reproducible.
COLORREF CDC::DoSysColor(int index) const { return zel_system::FixedSystemValues().Color(index); }

void CDC::NoteTextState(DcEvent& e) const {
  e.font = GetSelectedFont();
  e.fontId = GetSelectedFontId();
  e.fg = m_textColor;
  e.bg = m_bkColor;
  e.bkMode = m_bkMode;
}

BOOL CDC::TextOut(int x, int y, const char* text, int count) {
  return count >= 0 && ExtTextOut(x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                     const int* dx) {
  if (!text && count > 0) return FALSE;
  if (m_align & TA_UPDATECP) {
    x = m_current.x;
    y = m_current.y;
  }
  DcEvent& e = Record(DcEvent::kText);
  e.x = x;
  e.y = y;
  e.value = static_cast<int>(options);
  if (rect) e.rect = *rect;
  e.text.assign(text ? text : "", count);
  NoteTextState(e);
  DoTextOut(x, y, m_align, options, rect, text, static_cast<int>(count), dx);
  if (m_align & TA_UPDATECP) m_current.x += DoTextExtent(text, static_cast<int>(count)).cx;
  return TRUE;
}

BOOL CDC::FillRect(const RECT* rect, HBRUSH brush) {
  Object* o = Find(ToGdiObj(brush));
  if (!rect || !o || o->kind != kBrush) return FALSE;
  DcEvent& e = Record(DcEvent::kFillRect);
  e.rect = *rect;
  e.color = o->color;
  if (o->penStyle != PS_NULL) DoFillRect(*rect, o->color);
  return TRUE;
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
  if (!rect) return;
  DcEvent& e = Record(DcEvent::kFillRect);
  e.rect = *rect;
  e.color = color;
  DoFillRect(*rect, color);
}

BOOL CDC::FrameRect(const RECT* rect, HBRUSH brush) {
  Object* o = Find(ToGdiObj(brush));
  if (!rect || !o || o->kind != kBrush) return FALSE;
  DcEvent& e = Record(DcEvent::kFrameRect);
  e.rect = *rect;
  e.color = o->color;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return TRUE;
  for (UINT side : {BF_LEFT, BF_TOP, BF_RIGHT, BF_BOTTOM}) EdgeLine(*rect, side, o->color);
  return TRUE;
}

// A one-unit line along one side of r, inside it.
void CDC::EdgeLine(const RECT& r, UINT side, COLORREF color) {
  RECT line = r;
  if (side == BF_LEFT) line.right = r.left + 1;
  if (side == BF_RIGHT) line.left = r.right - 1;
  if (side == BF_TOP) line.bottom = r.top + 1;
  if (side == BF_BOTTOM) line.top = r.bottom - 1;
  if (line.right > line.left && line.bottom > line.top) DoFillRect(line, color);
}

BOOL CDC::DrawEdge(RECT* rect, UINT edge, UINT flags) {
  if (!rect) return FALSE;
  DcEvent& e = Record(DcEvent::kDrawEdge);
  e.rect = *rect;
  e.value = static_cast<int>(edge);
  e.flags = flags;
  // Outer border first, then the inner one inside it; each side has the light or the dark
  // colour of its kind, as the platform's three-dimensional look has it.
  RECT r = *rect;
  struct Border {
    UINT raised, sunken;
    int lightRaised, darkRaised, lightSunken, darkSunken;
  };
  const Border borders[] = {{BDR_RAISEDOUTER, BDR_SUNKENOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW,
                             COLOR_3DHIGHLIGHT, COLOR_3DSHADOW},
                            {BDR_RAISEDINNER, BDR_SUNKENINNER, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW,
                             COLOR_3DLIGHT, COLOR_3DDKSHADOW}};
  for (const Border& b : borders) {
    if (!(edge & (b.raised | b.sunken))) continue;
    const bool raised = edge & b.raised;
    // Raised: light top-left, dark bottom-right; sunken the other way round.
    const COLORREF topLeft = GetSysColor(raised ? b.lightRaised : b.darkSunken);
    const COLORREF bottomRight = GetSysColor(raised ? b.darkRaised : b.lightSunken);
    if (flags & BF_TOP) EdgeLine(r, BF_TOP, topLeft);
    if (flags & BF_LEFT) EdgeLine(r, BF_LEFT, topLeft);
    if (flags & BF_BOTTOM) EdgeLine(r, BF_BOTTOM, bottomRight);
    if (flags & BF_RIGHT) EdgeLine(r, BF_RIGHT, bottomRight);
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_RIGHT) --r.right;
    if (flags & BF_BOTTOM) --r.bottom;
  }
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}

POINT CDC::MoveTo(int x, int y) {
  DcEvent& e = Record(DcEvent::kMoveTo);
  e.x = x;
  e.y = y;
  POINT previous = m_current;
  m_current = POINT{x, y};
  return previous;
}

BOOL CDC::LineTo(int x, int y) {
  DcEvent& e = Record(DcEvent::kLineTo);
  e.x = x;
  e.y = y;
  const Object* pen = Find(m_pen);
  if (pen->penStyle != PS_NULL)
    DoLine(m_current, POINT{x, y}, pen->penStyle, pen->penWidth, pen->color);
  m_current = POINT{x, y};
  return TRUE;
}

BOOL CDC::DrawImage(const CImageList& list, int index, int x, int y, UINT style) {
  if (index < 0 || index >= list.GetImageCount()) return FALSE;
  DcEvent& e = Record(DcEvent::kImage);
  e.x = x;
  e.y = y;
  e.value = static_cast<int>(style);
  e.flags = static_cast<UINT>(index);
  DoDrawImage(list, index, x, y, style);
  return TRUE;
}

namespace {

// One line of DrawText with its mnemonic prefixes resolved: the text to draw and where
// the underlined character sits in it (-1 for none).
struct PrefixedLine {
  std::string text;
  int underline = -1;
};

PrefixedLine ResolvePrefixes(const std::string& line, UINT format) {
  PrefixedLine out;
  if (format & DT_NOPREFIX) {
    out.text = line;
    return out;
  }
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '&' && i + 1 < line.size()) {
      ++i;
      if (line[i] != '&' && out.underline < 0 && !(format & DT_HIDEPREFIX))
        out.underline = static_cast<int>(out.text.size());
    } else if (line[i] == '&') {
      continue;  // a lone prefix at the end underlines nothing
    }
    out.text += line[i];
  }
  return out;
}

}  // namespace

// Draws (or only measures) one line at (x, y), its top; answers its width.
int CDC::DrawTextLine(const std::string& line, int x, int y, int width, UINT format, bool draw) {
  PrefixedLine p = ResolvePrefixes(line, format);
  const int cx = DoTextExtent(p.text.data(), static_cast<int>(p.text.size())).cx;
  if (!draw) return cx;
  if (format & DT_RIGHT)
    x += width - cx;
  else if (format & DT_CENTER)
    x += (width - cx) / 2;
  DoTextOut(x, y, TA_LEFT | TA_TOP, 0, nullptr, p.text.data(), static_cast<int>(p.text.size()),
            nullptr);
  if (p.underline >= 0) {
    TEXTMETRIC tm;
    DoTextMetrics(tm);
    const int before = DoTextExtent(p.text.data(), p.underline).cx;
    const int under = DoTextExtent(p.text.data() + p.underline, 1).cx;
    const int base = y + tm.tmAscent + 1;
    DoFillRect(RECT{x + before, base, x + before + under, base + 1}, m_textColor);
  }
  return cx;
}

int CDC::DrawText(const char* text, int count, RECT* rect, UINT format) {
  if (!text || !rect) return 0;
  std::string all = count < 0 ? std::string(text) : std::string(text, count);
  DcEvent& e = Record(DcEvent::kDrawText);
  e.rect = *rect;
  e.value = static_cast<int>(format);
  e.text = all;
  NoteTextState(e);

  TEXTMETRIC tm;
  DoTextMetrics(tm);
  if (format & DT_EXPANDTABS) {
    const int tabWidth = std::max<int>(tm.tmAveCharWidth, 1) * 8;
    std::string expanded;
    for (char c : all) {
      if (c == '\t') {
        // Whole blanks up to the next multiple of eight average widths.
        // Measured as drawn, prefixes resolved, so a mnemonic does not shift the columns.
        auto width = [&] {
          const std::string shown = ResolvePrefixes(expanded, format).text;
          return DoTextExtent(shown.data(), static_cast<int>(shown.size())).cx;
        };
        const int blank = std::max<int>(DoTextExtent(" ", 1).cx, 1);
        const int next = (width() / tabWidth + 1) * tabWidth;
        do expanded += ' ';
        while (width() + blank / 2 < next);
      } else {
        expanded += c;
      }
    }
    all = expanded;
  }

  // Lines at line ends; words wrapped at blanks to the rectangle's width.
  std::vector<std::string> lines;
  const int width = rect->right - rect->left;
  auto addWrapped = [&](const std::string& line) {
    if (!(format & DT_WORDBREAK)) {
      lines.push_back(line);
      return;
    }
    std::string current;
    size_t i = 0;
    while (i <= line.size()) {
      size_t end = line.find(' ', i);
      if (end == std::string::npos) end = line.size();
      std::string candidate =
          current.empty() ? line.substr(i, end - i) : current + " " + line.substr(i, end - i);
      if (!current.empty() && DrawTextLine(candidate, 0, 0, 0, format, false) > width) {
        lines.push_back(current);
        current = line.substr(i, end - i);
      } else {
        current = candidate;
      }
      i = end + 1;
    }
    lines.push_back(current);
  };
  if (format & DT_SINGLELINE) {
    addWrapped(all);
  } else {
    size_t start = 0;
    while (true) {
      size_t end = all.find('\n', start);
      std::string line = all.substr(start, end == std::string::npos ? end : end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      addWrapped(line);
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }

  const int lineHeight = tm.tmHeight;
  const int height = lineHeight * static_cast<int>(lines.size());
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const auto& line : lines)
      widest = std::max(widest, DrawTextLine(line, 0, 0, 0, format, false));
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }
  int y = rect->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_BOTTOM)
      y = rect->bottom - lineHeight;
    else if (format & DT_VCENTER)
      y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
  }
  for (const auto& line : lines) {
    DrawTextLine(line, rect->left, y, width, format, true);
    y += lineHeight;
  }
  return height;
}
