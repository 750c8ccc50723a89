// The status bar: fields of fixed widths on the right, the message field takes the rest.
#include "cli/view/StatusBar.h"

#include <cstdio>

#include "platform/user/gdi/DC.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/Window.h"
#include "ui/TipWnd.h"

namespace zel_cli {
namespace {

constexpr int kFieldWidths[kFieldCount] = {0, 230, 180, 230};  // the message field: the rest

const char* const kFieldTips[kFieldCount] = {
    "Messages: what a menu item does, notices about the document, progress",
    "The format and the kind of sequence, found by looking into the document",
    "The document's lines, counted in the background",
    "The document's size on disk; for a compressed file also its contents' size",
};

std::string Bytes(uint64_t n) {
  const char* units[] = {"KiB", "MiB", "GiB", "TiB"};
  if (n < 1024) return Grouped(n) + (n == 1 ? " byte" : " bytes");
  double value = static_cast<double>(n);
  int unit = -1;
  while (value >= 1024 && unit < 3) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
  return text;
}

}  // namespace

std::string Grouped(uint64_t value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<size_t>(at), ",");
  return digits;
}

std::string FormatText(const zel_view::DocumentState& state) {
  std::string text = state.format;
  if (!state.kind.empty()) text += ", " + state.kind;
  if (!state.compression.empty()) text += " (" + state.compression + ")";
  return text;
}

std::string LinesText(const zel_view::DocumentState& state) {
  if (!state.failure.empty()) return Grouped(static_cast<uint64_t>(state.lines)) + " lines read";
  if (state.counting) return "Counting lines... " + std::to_string(state.percent) + "%";
  return Grouped(static_cast<uint64_t>(state.lines)) + (state.lines == 1 ? " line" : " lines");
}

std::string SizeText(const zel_view::DocumentState& state) {
  std::string text = Bytes(state.fileSize);
  if (!state.compression.empty() && state.contentSize && !state.counting)
    text += ", " + Bytes(state.contentSize) + " unpacked";
  return text;
}

BEGIN_MESSAGE_MAP(StatusBar, CWnd)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_REGISTERED_MESSAGE(WM_TIP_REQUEST, OnTipRequest)
END_MESSAGE_MAP()

BOOL StatusBar::Create(CWnd* parent) {
  CRect client;
  parent->GetClientRect(&client);
  return CWnd::Create(nullptr, "", WS_CHILD | WS_VISIBLE,
                      CRect(0, client.bottom - kHeight, client.right, client.bottom), parent,
                      0xE801);
}

void StatusBar::SetField(StatusField field, const std::string& text) {
  if (m_texts[field] == text) return;
  m_texts[field] = text;
  RECT r = FieldRect(field);
  InvalidateRect(&r);
}

RECT StatusBar::FieldRect(StatusField field) const {
  CRect client;
  GetClientRect(&client);
  int right = client.right;
  for (int f = kFieldCount - 1; f > field; --f) right -= kFieldWidths[f];
  const int left = field == kMessageField ? 0 : right - kFieldWidths[field];
  return RECT{std::max(0, left), 0, std::max(0, right), client.bottom};
}

StatusField StatusBar::FieldAt(POINT p) const {
  for (int f = 0; f < kFieldCount; ++f) {
    const RECT r = FieldRect(static_cast<StatusField>(f));
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
      return static_cast<StatusField>(f);
  }
  return kFieldCount;
}

LRESULT StatusBar::OnPaint(WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  CDC* dc = ::BeginPaint(m_hWnd, &ps);
  if (!dc) return 0;
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, ::GetSysColor(COLOR_3DFACE));
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  // Names and messages may hold UTF-8 (file names) or the suite's 8-bit text.
  const TextBytes bytes = dc->SetTextBytes(TextBytes::kEachCall);
  for (int f = 0; f < kFieldCount; ++f) {
    CRect r = FieldRect(static_cast<StatusField>(f));
    r = CRect(r.left + 1, r.top + 2, r.right - 1, r.bottom - 2);
    if (f != kMessageField) dc->DrawEdge(&r, BDR_SUNKENOUTER, BF_RECT);
    CRect inside(r.left + 5, r.top, r.right - 5, r.bottom);
    const std::string& text = m_texts[static_cast<size_t>(f)];
    dc->DrawText(text.c_str(), static_cast<int>(text.size()), &inside,
                 DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  }
  dc->SetTextBytes(bytes);
  ::EndPaint(m_hWnd, &ps);
  return 0;
}

LRESULT StatusBar::OnTipRequest(WPARAM, LPARAM lParam) {
  auto* request = reinterpret_cast<TIPREQUEST*>(lParam);
  const StatusField field = FieldAt(request->point);
  if (field == kFieldCount) return 0;
  std::string text = kFieldTips[field];
  if (!m_texts[field].empty()) text += ": " + m_texts[field];
  request->text = text.c_str();
  request->tipId = static_cast<unsigned long>(field) + 1;
  return 1;
}

}  // namespace zel_cli
