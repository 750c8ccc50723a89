// The system values service and its fixed, headless values.
#include "platform/user/system/SystemValues.h"

#include <algorithm>
#include <cmath>

#include "platform/user/integration/Integration.h"

namespace zel_system {
namespace {

// The classic grey desktop, fixed so that pictures are reproducible.
constexpr COLORREF kColors[kSysColorCount] = {
    RGB(200, 200, 200), RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 128, 128),
    RGB(240, 240, 240), RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(0, 120, 215),   RGB(255, 255, 255), RGB(240, 240, 240),
    RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),
    RGB(255, 255, 128), RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234),
    RGB(215, 228, 242), RGB(0, 120, 215),   RGB(240, 240, 240)};

}  // namespace

FixedSystemValues& Fixed() {
  static FixedSystemValues fixed;
  return fixed;
}

int FixedSystemValues::Metric(int index) const {
  switch (index) {
    case SM_CXSCREEN:
      return 1024;
    case SM_CYSCREEN:
      return 768;
    case SM_CXFULLSCREEN:
      return 1024;
    case SM_CYFULLSCREEN:
      return 748;
    case SM_CYCAPTION:
    case SM_CYMENU:
      return 20;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 17;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
      return 19;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return 13;
    default:
      return 0;
  }
}

COLORREF FixedSystemValues::Color(int index) const {
  return index >= 0 && index < kSysColorCount ? kColors[index] : 0;
}

LOGFONT FixedSystemValues::SystemFont(Font which) const {
  LOGFONT lf;
  lf.lfHeight = -12;
  lf.lfWeight = which == Font::Caption ? FW_BOLD : FW_NORMAL;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  for (int i = 0; const char c : {'T', 'a', 'h', 'o', 'm', 'a'}) lf.lfFaceName[i++] = c;
  return lf;
}

std::vector<uint32_t> FixedSystemValues::IconPixels(StockIcon, int size) const {
  std::vector<uint32_t> pixels(static_cast<size_t>(std::max(size, 0)) * std::max(size, 0), 0);
  // Shapes in units of the icon's size, tested at each pixel's centre.
  const double s = size, c = s / 2, r = s / 2 - 0.25, stem = s * 0.09;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      if (std::hypot(px - c, py - c) > r) continue;
      const bool dot = std::hypot(px - c, py - s * 0.29) <= s * 0.1;
      const bool body = std::abs(px - c) <= stem && py >= s * 0.43 && py <= s * 0.8;
      pixels[static_cast<size_t>(y) * size + x] = dot || body ? 0xFFFFFFFFu : 0xFF1E64C8u;
    }
  return pixels;
}

SystemValues& Current() {
  SystemValues* installed = zel_user::InstalledEngine<SystemValues>();
  return installed ? *installed : Fixed();
}

}  // namespace zel_system

int GetSystemMetrics(int index) { return zel_system::Current().Metric(index); }

DWORD GetSysColor(int index) { return zel_system::Current().Color(index); }

BOOL SystemParametersInfo(UINT action, UINT, void* pv, UINT) {
  if (!pv) return FALSE;
  const zel_system::SystemValues& v = zel_system::Current();
  using zel_system::Font;
  switch (action) {
    case SPI_GETICONTITLELOGFONT:
      *static_cast<LOGFONT*>(pv) = v.SystemFont(Font::IconTitle);
      return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICS*>(pv);
      *m = NONCLIENTMETRICS();
      m->iBorderWidth = v.Metric(SM_CXBORDER);
      m->iScrollWidth = v.Metric(SM_CXVSCROLL);
      m->iScrollHeight = v.Metric(SM_CYHSCROLL);
      m->iCaptionHeight = m->iCaptionWidth = v.Metric(SM_CYCAPTION);
      m->iSmCaptionHeight = m->iSmCaptionWidth = v.Metric(SM_CYCAPTION);
      m->iMenuWidth = v.Metric(SM_CXMENUSIZE);
      m->iMenuHeight = v.Metric(SM_CYMENUSIZE);
      m->lfCaptionFont = m->lfSmCaptionFont = v.SystemFont(Font::Caption);
      m->lfMenuFont = v.SystemFont(Font::Menu);
      m->lfStatusFont = v.SystemFont(Font::Status);
      m->lfMessageFont = v.SystemFont(Font::Message);
      return TRUE;
    }
    default:
      return FALSE;
  }
}
