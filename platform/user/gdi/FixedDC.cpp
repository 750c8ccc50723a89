// CFixedDC: fixed, hand-computable metrics.
#include "platform/user/gdi/FixedDC.h"

namespace {
constexpr int kDefaultCell = 16;
}

CFixedDC::CFixedDC(int mapMode) {
  // The mapping mode is the device's from the start, not a recorded call.
  if (mapMode != MM_TEXT) {
    SetRecording(false);
    SetMapMode(mapMode);
    SetRecording(true);
  }
  SelectStockFont();
}

int CFixedDC::CellHeight(const LOGFONT& lf) {
  if (lf.lfHeight > 0) return lf.lfHeight;
  if (lf.lfHeight < 0) {
    const int h = -lf.lfHeight;
    return h + h / 4;
  }
  return kDefaultCell;
}

int CFixedDC::Advance(const LOGFONT& lf) {
  const int base = lf.lfWidth > 0 ? lf.lfWidth : CellHeight(lf) / 2;
  return base + (lf.lfWeight >= FW_BOLD ? 1 : 0);
}

void CFixedDC::OnSelectFont(const LOGFONT& lf) {
  m_font = lf;
  m_cell = CellHeight(lf);
  m_advance = Advance(lf);
}

void CFixedDC::DoTextMetrics(TEXTMETRIC& tm) {
  tm.tmHeight = m_cell;
  tm.tmDescent = m_cell / 5;
  tm.tmAscent = m_cell - tm.tmDescent;
  tm.tmAveCharWidth = m_advance;
  tm.tmMaxCharWidth = m_advance;
  tm.tmWeight = m_font.lfWeight;
  tm.tmItalic = m_font.lfItalic;
  tm.tmUnderlined = m_font.lfUnderline;
  tm.tmStruckOut = m_font.lfStrikeOut;
  tm.tmPitchAndFamily = m_font.lfPitchAndFamily;
  tm.tmCharSet = m_font.lfCharSet;
  tm.tmLastChar = 255;
  tm.tmDefaultChar = '?';
  tm.tmBreakChar = ' ';
  tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = kPixelsPerInch;
}

SIZE CFixedDC::DoTextExtent(const char*, int count) { return SIZE{count * m_advance, m_cell}; }

bool CFixedDC::DoCharABC(unsigned char, ABC& abc) {
  abc.abcA = 0;
  abc.abcB = static_cast<UINT>(m_advance);
  abc.abcC = m_font.lfItalic ? -(m_cell / 8) : 0;
  return true;
}

int CFixedDC::DoDeviceCaps(int index) const {
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return kPixelsPerInch;
    case HORZRES:
      return kWidth;
    case VERTRES:
      return kHeight;
    case HORZSIZE:
      return kWidth * 254 / (kPixelsPerInch * 10);
    case VERTSIZE:
      return kHeight * 254 / (kPixelsPerInch * 10);
    case BITSPIXEL:
      return 32;
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    default:
      return 0;
  }
}
