// CQtDC: text, rectangles, lines and images with QPainter; metrics from QFontMetricsF.
#include "platform/qt/QtDC.h"

#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <bitset>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtSystemValues.h"
#include "platform/qt/QtText.h"
#include "platform/user/gdi/ImageList.h"

namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// Unrounded advances of a realized font's 256 byte characters, each as a one-character
// string is shaped, and for each pair of them whether the two shape to the sum of their
// advances (no ligature, no kerning). A run whose neighbours all do is measured from the
// table, one lookup per character, and rounded once, as the shaped run would be.
class AdvanceTable {
 public:
  explicit AdvanceTable(const std::shared_ptr<zel_qt::RealizedFont>& font) : m_owner(font) {}

  bool Serves(const std::shared_ptr<zel_qt::RealizedFont>& font) const {
    return !m_owner.owner_before(font) && !font.owner_before(m_owner);
  }
  bool Expired() const { return m_owner.expired(); }

  // The width of bytes whose characters are charOf(byte); false when the run needs shaping.
  template <typename CharOf>
  bool Measure(const zel_qt::RealizedFont& f, const unsigned char* bytes, int count,
               CharOf&& charOf, qreal& width) {
    qreal sum = 0;
    for (int i = 0; i < count; ++i) {
      const unsigned char b = bytes[i];
      sum += Advance(f, b, charOf);
      if (i > 0 && !Additive(f, bytes[i - 1], b, charOf)) return false;
    }
    width = sum;
    return true;
  }

 private:
  template <typename CharOf>
  qreal Advance(const zel_qt::RealizedFont& f, unsigned char b, CharOf& charOf) {
    if (!m_known[b]) {
      m_advance[b] = f.metrics.horizontalAdvance(QString(charOf(b)));
      m_known[b] = true;
    }
    return m_advance[b];
  }

  template <typename CharOf>
  bool Additive(const zel_qt::RealizedFont& f, unsigned char a, unsigned char b, CharOf& charOf) {
    const size_t pair = a * 256u + b;
    if (!m_pairKnown[pair]) {
      const QChar two[2] = {charOf(a), charOf(b)};
      const qreal shaped = f.metrics.horizontalAdvance(QString(two, 2));
      m_pairSums[pair] = shaped == Advance(f, a, charOf) + Advance(f, b, charOf);
      m_pairKnown[pair] = true;
    }
    return m_pairSums[pair];
  }

  std::weak_ptr<zel_qt::RealizedFont> m_owner;
  bool m_known[256] = {};
  qreal m_advance[256] = {};
  std::bitset<256 * 256> m_pairKnown;
  std::bitset<256 * 256> m_pairSums;
};

// The table of a realized font, made on its first run; tables of fonts no longer alive
// are dropped as others are made.
AdvanceTable& TableOf(const std::shared_ptr<zel_qt::RealizedFont>& font) {
  static std::unordered_map<const zel_qt::RealizedFont*, std::unique_ptr<AdvanceTable>> tables;
  static const zel_qt::RealizedFont* lastFont = nullptr;
  static AdvanceTable* last = nullptr;
  if (font.get() == lastFont && last->Serves(font)) return *last;
  auto it = tables.find(font.get());
  if (it == tables.end() || !it->second->Serves(font)) {
    std::erase_if(tables, [](const auto& entry) { return entry.second->Expired(); });
    std::unique_ptr<AdvanceTable>& slot = tables[font.get()];
    slot = std::make_unique<AdvanceTable>(font);
    last = slot.get();
  } else {
    last = it->second.get();
  }
  lastFont = font.get();
  return *last;
}

}  // namespace

CQtDC::CQtDC(QPainter* painter) : m_painter(painter) { Init(); }

CQtDC::CQtDC(QPaintDevice* device) {
  zel_qt::EnsureApplication();
  m_own = std::make_unique<QPainter>(device);
  m_painter = m_own.get();
  Init();
}

CQtDC::~CQtDC() {
  if (m_own) m_own->end();
}

void CQtDC::Init() {
  zel_qt::EnsureApplication();
  SelectStockFont();
}

int CQtDC::DeviceY(int y) const { return GetMapMode() == MM_TEXT ? y : -y; }

void CQtDC::OnSelectFont(const LOGFONT& lf) { m_font = zel_qt::RealizeFont(lf); }

void CQtDC::DoTextMetrics(TEXTMETRIC& tm) {
  const zel_qt::RealizedFont& f = *m_font;
  tm.tmAscent = f.ascent;
  tm.tmDescent = f.descent;
  tm.tmHeight = f.ascent + f.descent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - f.pixelSize);
  tm.tmExternalLeading = std::max(0, qRound(f.metrics.leading()));
  tm.tmAveCharWidth = f.averageWidth;
  tm.tmMaxCharWidth = f.maxWidth;
  tm.tmWeight = f.logFont.lfWeight == FW_DONTCARE ? FW_NORMAL : f.logFont.lfWeight;
  tm.tmItalic = f.logFont.lfItalic;
  tm.tmUnderlined = f.logFont.lfUnderline;
  tm.tmStruckOut = f.logFont.lfStrikeOut;
  tm.tmPitchAndFamily = f.logFont.lfPitchAndFamily;
  tm.tmCharSet = f.logFont.lfCharSet;
  tm.tmLastChar = 255;
  tm.tmDefaultChar = '?';
  tm.tmBreakChar = ' ';
  tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = DoDeviceCaps(LOGPIXELSY);
}

SIZE CQtDC::DoTextExtent(const char* text, int count) {
  const zel_qt::RealizedFont& f = *m_font;
  const LONG height = f.ascent + f.descent;
  if (count <= 0) return SIZE{0, height};
  // Bytes that become one character each, as ToUnicode reads them: every byte under a
  // symbol face or by Windows-1252, ASCII always, and the bytes of a call that is not
  // UTF-8 when each call decides.
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const TextBytes how = GetTextBytes();
  bool eachByte = f.logFont.lfCharSet == SYMBOL_CHARSET || how == TextBytes::kWindows1252 ||
                  std::all_of(bytes, bytes + count, [](unsigned char b) { return b < 0x80; });
  if (!eachByte && how == TextBytes::kEachCall) eachByte = !zel_qt::LooksLikeUtf8(text, count);
  auto charOf = [&f](unsigned char b) { return zel_qt::ToUnicode(b, f.logFont); };
  qreal width = 0;
  if (eachByte && TableOf(m_font).Measure(f, bytes, count, charOf, width))
    return SIZE{static_cast<LONG>(qRound(width)), height};
  const QString s = zel_qt::ToUnicode(text, count, f.logFont, how);
  return SIZE{static_cast<LONG>(qRound(f.metrics.horizontalAdvance(s))), height};
}

bool CQtDC::DoCharABC(unsigned char ch, ABC& abc) {
  zel_qt::RealizedFont& f = *m_font;
  if (!f.abcKnown[ch]) {
    const QChar c = zel_qt::ToUnicode(ch, f.logFont);
    const int advance = qRound(f.metrics.horizontalAdvance(c));
    ABC& out = f.abc[ch];
    out.abcA = qRound(f.metrics.leftBearing(c));
    out.abcC = qRound(f.metrics.rightBearing(c));
    out.abcB = static_cast<UINT>(std::max(0, advance - out.abcA - out.abcC));
    f.abcKnown[ch] = true;
  }
  abc = f.abc[ch];
  return true;
}

int CQtDC::DoDeviceCaps(int index) const {
  const QPaintDevice* d = m_painter->device();
  switch (index) {
    case LOGPIXELSX:
      return d->logicalDpiX();
    case LOGPIXELSY:
      return d->logicalDpiY();
    case HORZRES:
      return d->width();
    case VERTRES:
      return d->height();
    case HORZSIZE:
      return d->widthMM();
    case VERTSIZE:
      return d->heightMM();
    case BITSPIXEL:
      return d->depth();
    case TECHNOLOGY:
      return d->devType() == QInternal::Printer ||
                     (m_painter->paintEngine() &&
                      m_painter->paintEngine()->type() == QPaintEngine::Pdf)
                 ? DT_RASPRINTER
                 : DT_RASDISPLAY;
    default:
      return 0;
  }
}

COLORREF CQtDC::DoSysColor(int index) const { return zel_qt::SystemColor(index); }

void CQtDC::DoTextOut(int x, int y, UINT align, UINT options, const RECT* rect, const char* text,
                      int count, const int* dx) {
  const zel_qt::RealizedFont& f = *m_font;
  const QString s = zel_qt::ToUnicode(text, count, f.logFont, GetTextBytes());
  const int width = count > 0 ? static_cast<int>(qRound(f.metrics.horizontalAdvance(s))) : 0;
  const int height = f.ascent + f.descent;
  QPainter& p = *m_painter;
  p.save();
  if (rect && (options & ETO_OPAQUE))
    p.fillRect(QRect(QPoint(rect->left, DeviceY(rect->top)),
                     QPoint(rect->right - 1, DeviceY(rect->bottom) - 1))
                   .normalized(),
               ToQColor(GetBkColor()));
  if (rect && (options & ETO_CLIPPED))
    p.setClipRect(QRect(QPoint(rect->left, DeviceY(rect->top)),
                        QPoint(rect->right - 1, DeviceY(rect->bottom) - 1))
                      .normalized());
  // The reference point as the alignment names it, turned into the left end of the
  // baseline that Qt draws from.
  const int devY = DeviceY(y);
  int left = x;
  if ((align & TA_CENTER) == TA_CENTER)
    left -= width / 2;
  else if (align & TA_RIGHT)
    left -= width;
  int baseline = devY + f.ascent;
  if ((align & TA_BASELINE) == TA_BASELINE)
    baseline = devY;
  else if (align & TA_BOTTOM)
    baseline = devY - f.descent;
  if (f.logFont.lfEscapement != 0) {
    p.translate(x, devY);
    p.rotate(-f.logFont.lfEscapement / 10.0);
    p.translate(-x, -devY);
  }
  if (GetBkMode() == OPAQUE && count > 0)
    p.fillRect(QRect(left, baseline - f.ascent, width, height), ToQColor(GetBkColor()));
  p.setFont(f.font);
  p.setPen(ToQColor(GetTextColor()));
  if (dx) {
    qreal at = left;
    for (int i = 0; i < count && i < s.size(); ++i) {
      p.drawText(QPointF(at, baseline), QString(s[i]));
      at += dx[i];
    }
  } else if (count > 0) {
    p.drawText(QPointF(left, baseline), s);
  }
  p.restore();
}

void CQtDC::DoFillRect(const RECT& rect, COLORREF color) {
  const int top = DeviceY(rect.top), bottom = DeviceY(rect.bottom);
  m_painter->fillRect(
      QRect(rect.left, std::min(top, bottom), rect.right - rect.left, std::abs(bottom - top)),
      ToQColor(color));
}

void CQtDC::DoLine(POINT from, POINT to, int penStyle, int penWidth, COLORREF color) {
  QPen pen(ToQColor(color));
  pen.setWidth(penWidth);
  if (penStyle == PS_DASH) pen.setStyle(Qt::DashLine);
  if (penStyle == PS_DOT) pen.setStyle(Qt::DotLine);
  m_painter->save();
  m_painter->setPen(pen);
  m_painter->setRenderHint(QPainter::Antialiasing, false);
  // The platform leaves a line's end point out: stop one step short along the major axis.
  const QPoint a(from.x, DeviceY(from.y)), b(to.x, DeviceY(to.y));
  const QPoint step = b - a;
  const int major = std::max(std::abs(step.x()), std::abs(step.y()));
  if (major > 0) {
    const QPoint last(b.x() - qRound(qreal(step.x()) / major),
                      b.y() - qRound(qreal(step.y()) / major));
    m_painter->drawLine(a, last);
  }
  m_painter->restore();
}

void CQtDC::DoDrawImage(const CImageList& list, int index, int x, int y, UINT style) {
  const std::vector<uint32_t>& pixels = list.Pixels(index);
  QImage image(reinterpret_cast<const uchar*>(pixels.data()), list.Width(), list.Height(),
               list.Width() * 4, QImage::Format_ARGB32);
  const QPoint at(x, DeviceY(y));
  QPainter& p = *m_painter;
  if (style & ILD_DISABLED) {
    // Embossed: the image's shape in the highlight colour one pixel down and right, then
    // in the shadow colour on top.
    QImage shape(list.Width(), list.Height(), QImage::Format_ARGB32);
    for (int row = 0; row < list.Height(); ++row)
      for (int col = 0; col < list.Width(); ++col) {
        const uint32_t px = pixels[static_cast<size_t>(row) * list.Width() + col];
        shape.setPixel(col, row, (px >> 24) >= 0x80 ? 0xFF000000u : 0u);
      }
    auto tinted = [&](COLORREF color) {
      QImage t = shape;
      QPainter tp(&t);
      tp.setCompositionMode(QPainter::CompositionMode_SourceIn);
      tp.fillRect(t.rect(), ToQColor(color));
      return t;
    };
    p.drawImage(at + QPoint(1, 1), tinted(GetSysColor(COLOR_3DHIGHLIGHT)));
    p.drawImage(at, tinted(GetSysColor(COLOR_3DSHADOW)));
    return;
  }
  if (!(style & ILD_TRANSPARENT) && list.GetBkColor() != CImageList::kNoColor)
    p.fillRect(QRect(at, QSize(list.Width(), list.Height())), ToQColor(list.GetBkColor()));
  p.drawImage(at, image);
}
