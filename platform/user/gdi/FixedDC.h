/// CFixedDC: the fixed-metrics device, a documented device of the library. Its metrics are
/// exact and can be worked out by hand, so a measurement made on it is the same on every
/// machine and can be checked against any other device (the Qt device included). It draws
/// nothing: its record of calls (what was drawn where, in which colours and fonts) is its
/// picture, and that record is what `zel richtext` prints. The headless presenter paints
/// and measures on it.
///
/// 96 pixels per logical inch. A font's cell height is lfHeight when positive, h + h / 4
/// for a negative lfHeight = -h, 16 for 0; every character advances lfWidth when positive,
/// else cell height / 2, plus 1 from weight 700 on. Extents are n advances by the cell
/// height; ABC widths are A = 0, B = the advance, C = -(cell height / 8) in italics, else 0;
/// the descent is cell height / 5.
#pragma once

#include "ZelExport.h"
#include "platform/user/gdi/DC.h"

class ZEL_API CFixedDC : public CDC {
 public:
  static constexpr int kPixelsPerInch = 96;
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;

  explicit CFixedDC(int mapMode = MM_TEXT);

  /// The cell height and advance a font description gets on this device.
  static int CellHeight(const LOGFONT& lf);
  static int Advance(const LOGFONT& lf);

 protected:
  void OnSelectFont(const LOGFONT& lf) override;
  void DoTextMetrics(TEXTMETRIC& tm) override;
  SIZE DoTextExtent(const char* text, int count) override;
  bool DoCharABC(unsigned char ch, ABC& abc) override;
  int DoDeviceCaps(int index) const override;
  void DoTextOut(int, int, UINT, UINT, const RECT*, const char*, int, const int*) override {}
  void DoFillRect(const RECT&, COLORREF) override {}
  void DoLine(POINT, POINT, int, int, COLORREF) override {}
  void DoDrawImage(const CImageList&, int, int, int, UINT) override {}

 private:
  LOGFONT m_font;
  int m_cell = 16;
  int m_advance = 8;
};
