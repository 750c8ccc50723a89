/// \file
/// The system's metrics, colours and fonts, from one engine of the integration: the Qt set
/// answers the desktop's; headless the fixed values below answer, so that sizes made of
/// them can be worked out by hand.
///
/// Fixed values (headless): screen 1024 x 768, of which a window's client area can fill
/// 1024 x 748 (SM_CXFULLSCREEN, SM_CYFULLSCREEN: the screen less a caption); menu bar height
/// (SM_CYMENU) 20; scroll bars (SM_CXVSCROLL, SM_CYHSCROLL) 17; check mark 13 x 13; icons 32 x 32,
/// small icons 16 x 16; caption 20; edges 2, borders 1; menu-bar buttons 19 x 19. Every system font
/// is "Tahoma" at lfHeight -12 (weight 400, variable pitch, Swiss family; the caption font weight
/// 700), which the fixed-metrics device measures as a cell of 15 and an advance of 7. Colours are
/// the classic grey desktop (COLOR_MENU 0xF0F0F0, COLOR_HIGHLIGHT RGB(0, 120, 215), ...), the same
/// table the fixed-metrics device draws with; tips are black on RGB(255, 255, 128), the tip colours
/// of the older systems. The information icon is a blue disc with a white "i".
#pragma once

#include <cstdint>
#include <vector>

#include "ZelExport.h"
#include "platform/base/types/GdiTypes.h"
#include "platform/base/types/WinTypes.h"

class CDC;

/// Metrics.
enum : int {
  SM_CXSCREEN = 0,
  SM_CYSCREEN = 1,
  SM_CXVSCROLL = 2,
  SM_CYHSCROLL = 3,
  SM_CYCAPTION = 4,
  SM_CXBORDER = 5,
  SM_CYBORDER = 6,
  SM_CXICON = 11,
  SM_CYICON = 12,
  SM_CYMENU = 15,
  SM_CXFULLSCREEN = 16,
  SM_CYFULLSCREEN = 17,
  SM_CXEDGE = 45,
  SM_CYEDGE = 46,
  SM_CXSMICON = 49,
  SM_CYSMICON = 50,
  SM_CXMENUSIZE = 54,
  SM_CYMENUSIZE = 55,
  SM_CXMENUCHECK = 71,
  SM_CYMENUCHECK = 72,
};

/// SystemParametersInfo actions.
enum : UINT { SPI_GETICONTITLELOGFONT = 0x001F, SPI_GETNONCLIENTMETRICS = 0x0029 };

/// The sizes and fonts of windows' non-client parts.
struct NONCLIENTMETRICS {
  UINT cbSize = sizeof(NONCLIENTMETRICS);
  int iBorderWidth = 0;
  int iScrollWidth = 0;
  int iScrollHeight = 0;
  int iCaptionWidth = 0;
  int iCaptionHeight = 0;
  LOGFONT lfCaptionFont;
  int iSmCaptionWidth = 0;
  int iSmCaptionHeight = 0;
  LOGFONT lfSmCaptionFont;
  int iMenuWidth = 0;
  int iMenuHeight = 0;
  LOGFONT lfMenuFont;
  LOGFONT lfStatusFont;
  LOGFONT lfMessageFont;
};

namespace zel_system {

enum class Font { Menu, IconTitle, Caption, Status, Message };
enum class StockIcon { Information };

/// The engine that answers the system's metrics, colours and fonts.
class ZEL_API SystemValues {
 public:
  virtual ~SystemValues() = default;
  /// A metric by its SM_ index; 0 for an index the service does not know.
  virtual int Metric(int index) const = 0;
  /// A colour by its COLOR_ index; 0 for an index outside the table.
  virtual COLORREF Color(int index) const = 0;
  virtual LOGFONT SystemFont(Font which) const = 0;
  /// The icon, size pixels square, row by row, each 0xAARRGGBB (not premultiplied).
  virtual std::vector<uint32_t> IconPixels(StockIcon icon, int size) const = 0;
};

/// The fixed values answered headless, so that sizes are the same on every machine.
class ZEL_API FixedSystemValues : public SystemValues {
 public:
  int Metric(int index) const override;
  COLORREF Color(int index) const override;
  LOGFONT SystemFont(Font which) const override;
  std::vector<uint32_t> IconPixels(StockIcon icon, int size) const override;
};

/// The installed integration's values, else the fixed ones.
ZEL_API SystemValues& Current();
/// The fixed values of the headless set.
ZEL_API FixedSystemValues& Fixed();

}  // namespace zel_system

/// A system metric and a system colour by index, from the installed engine.
///@{
ZEL_API int GetSystemMetrics(int index);
ZEL_API DWORD GetSysColor(int index);
///@}
/// SPI_GETNONCLIENTMETRICS (pv a NONCLIENTMETRICS) and SPI_GETICONTITLELOGFONT (pv a
/// LOGFONT); FALSE for any other action or a null pv.
ZEL_API BOOL SystemParametersInfo(UINT action, UINT param, void* pv, UINT winIni);
