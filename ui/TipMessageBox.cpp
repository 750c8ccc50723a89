// Information messages as tips: the markup of their caption and text, their size and
// place in the middle of the owner, and their painting as a small message box.
#include <algorithm>
#include <utility>

#include "platform/user/app/WinApp.h"
#include "platform/user/gdi/StockIcons.h"
#include "platform/user/input/Input.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/ui/UiBackend.h"
#include "platform/user/wnd/Window.h"
#include "richtext/RichTextLine.h"
#include "ui/TipDCInternal.h"
#include "ui/TipWnd.h"

namespace {

using tip_internal::TipDC;

// The last message-box tip's caption and text as markup, and its style.
std::string g_captionMarkup;
std::string g_textMarkup;
unsigned int g_style = 0;

constexpr int kLineMode = RTF_MODE_DEVICE_BASE | RTF_MODE_FIXED_OVERHANG;
constexpr UINT kTipTimer = 1;
constexpr UINT kTipShowMs = 15000;
constexpr unsigned int kIconBits = 0xF0;
constexpr unsigned int kInformationIcon = 0x40;

// The line mode of message-box tips for as long as it lives.
class LineMode {
 public:
  LineMode() : m_old(SetRTFLineMode(kLineMode)) {}
  ~LineMode() { SetRTFLineMode(m_old); }

 private:
  int m_old;
};

// The lines measure and draw what the font selected in the device shows until the markup
// changes it, and a line that changed it leaves the stock font behind: the tip font is
// selected afresh for every line.

// Measures a line of markup in the tip's font: its box from (0, 0).
CRect Measure(CDC* dc, const std::string& markup, const LOGFONT& font, CRTFLineMetric& metric) {
  TipDC selected(dc, font);
  LOGFONT lf = font;  // the line may write a cell height into it
  GetRTFLineMetrics(dc, markup.c_str(), &lf, &metric);
  return metric.m_rect;
}

// Draws a line of markup with its top-left corner at (x, y); answers its box there.
CRect DrawAt(CDC* dc, const std::string& markup, const LOGFONT& font, int x, int y) {
  CRTFLineMetric metric;
  CRect box = Measure(dc, markup, font, metric);
  box.OffsetRect(x - box.left, y - box.top);
  metric.m_rect = box;
  TipDC selected(dc, font);
  LOGFONT lf = font;
  RTFLineOut(dc, markup.c_str(), &lf, &metric);
  return box;
}

void SizeMessageBoxTip(CTipWnd* tip, CWnd* owner, CPoint*) {
  CRect caption(0, 0, 0, 0), text;
  if (CDC* dc = tip->GetDC()) {
    LineMode mode;
    CRTFLineMetric metric;
    if (!g_captionMarkup.empty()) caption = Measure(dc, g_captionMarkup, tip->GetTipFont(), metric);
    text = Measure(dc, g_textMarkup, tip->GetTipFont(), metric);
    tip->ReleaseDC(dc);
  }
  if (g_style & kIconBits) {
    text.right += GetSystemMetrics(SM_CXICON) / 2 + 10;
    if (text.Height() < GetSystemMetrics(SM_CYICON))
      text.bottom = text.top + GetSystemMetrics(SM_CYICON);
  }
  const int width = std::max(caption.Width(), text.Width()) + 20;
  const int height = caption.Height() + text.Height() + 22;
  const bool ownerIsWindow = owner && ::IsWindow(owner->m_hWnd);
  CRect area(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (ownerIsWindow) owner->GetClientRect(&area);
  CPoint at(area.left + (area.Width() - width) / 2, area.top + (area.Height() - height) / 2);
  if (ownerIsWindow) owner->ClientToScreen(&at);
  ::SetWindowLongPtr(tip->m_hWnd, GWLP_HWNDPARENT,
                     ownerIsWindow ? static_cast<LONG_PTR>(owner->m_hWnd.value) : 0);
  tip->SetWindowPos(nullptr, at.x, at.y - 20, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void PaintMessageBoxTip(CTipWnd* tip, CDC* dc, CRect* rect) {
  const LOGFONT& font = tip->GetTipFont();
  const CRect inner(rect->left + 1, rect->top + 1, rect->right - 1, rect->bottom - 1);
  LineMode mode;
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(::GetSysColor(COLOR_INFOTEXT));
  dc->FillRect(&inner, dc->GetSysColorBrush(COLOR_INFOBK));
  CRect area(inner.left + 10, inner.top + 15, inner.right - 10, inner.bottom);
  if (!g_captionMarkup.empty()) {
    const CRect caption = DrawAt(dc, g_captionMarkup, font, area.left, inner.top + 7);
    CRect band(area.left, caption.bottom, area.right, caption.bottom + 3);
    dc->DrawEdge(&band, EDGE_ETCHED, BF_BOTTOM);
    area.top = caption.bottom + 7;
  }
  if ((g_style & kIconBits) == kInformationIcon) {
    zel_gdi::DrawStockIcon(dc, zel_system::StockIcon::Information, area.left, area.top, 16);
    area.left += 10 + GetSystemMetrics(SM_CXICON) / 2;
  }
  DrawAt(dc, g_textMarkup, font, area.left, area.top);
}

}  // namespace

std::string TipTextToMarkup(const char* text, unsigned int style) {
  std::string markup;
  for (const char* c = text ? text : ""; *c; ++c) {
    switch (*c) {
      case '\t':
        markup += "\\tab ";
        break;
      case '\n':
        markup += "\\line ";
        break;
      case '\\':
        markup += (style & TIPS_MARKUP) ? "\\" : "\\\\";
        break;
      default:
        markup += *c;
    }
  }
  return markup;
}

int TipsMessageBox(CWnd* parent, const char* text, const char* caption, unsigned int style) {
  CTipWnd* tip = CTipWnd::GetTipWnd();
  if (!tip) {
    tip = new CTipWnd;
    if (tip->Create(500))
      tip->m_messageBox = TRUE;
    else
      delete std::exchange(tip, nullptr);
  }
  if (!tip || !ShowsAsTip(style)) return AfxMessageBox(text, style);
  tip->ShowWindow(SW_HIDE);
  tip->m_sizeProc = SizeMessageBoxTip;
  tip->m_paintProc = PaintMessageBoxTip;
  CPoint pointer;
  GetCursorPos(&pointer);
  // The hover logic keeps a tip while the pointer rests where it was last noted.
  tip->m_point = pointer;
  g_style = style;
  g_captionMarkup = TipTextToMarkup(caption ? caption : AfxGetAppName(), style);
  if (!g_captionMarkup.empty()) g_captionMarkup.insert(0, "\\b ");
  g_textMarkup = TipTextToMarkup(text, style);
  CWnd* owner = parent && ::IsWindow(parent->m_hWnd) ? parent : AfxGetMainWnd();
  tip->m_owner = owner ? owner->m_hWnd : HWND();
  tip->m_sizeProc(tip, owner, &pointer);
  tip->SetFlashMode(TRUE);
  tip->ShowWindow(SW_SHOWNA);
  tip->SetTimer(kTipTimer, kTipShowMs);
  tip->m_active = TRUE;
  tip->m_time = GetTickCount();
  return 1;
}

// Only an information message with nothing to choose becomes a tip.
bool ShowsAsTip(unsigned int style) {
  return (style & 0xF) == 0 && (style & kIconBits) == kInformationIcon;
}

int TipsMessageBox(const char* text, unsigned int style) {
  return TipsMessageBox(nullptr, text, nullptr, style);
}
