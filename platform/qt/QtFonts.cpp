// Font descriptions made into Qt fonts, cached.
#include "platform/qt/QtFonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QtMath>
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

#include "platform/qt/QtApplication.h"

namespace zel_qt {
namespace {

constexpr int kDefaultCell = 16;
// Enough for every font a suite window shows; past it the cache starts afresh.
constexpr size_t kCacheLimit = 512;

struct StandIn {
  const char* face;
  const char* family;
};
constexpr StandIn kStandIns[] = {
    {"Arial", "Liberation Sans"},
    {"Helv", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"MS Shell Dlg", "Liberation Sans"},
    {"MS Shell Dlg 2", "Liberation Sans"},
    {"System", "Liberation Sans"},
    {"Tahoma", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Tms Rmn", "Liberation Serif"},
    {"MS Serif", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
};
constexpr char kLastResort[] = "DejaVu Sans";

bool Installed(const QString& family) {
  static QHash<QString, bool> known;
  auto it = known.constFind(family);
  if (it != known.constEnd()) return *it;
  const bool has = QFontDatabase::hasFamily(family);
  known.insert(family, has);
  return has;
}

int CellOf(QFont& font, int pixelSize) {
  font.setPixelSize(pixelSize);
  QFontMetricsF m(font);
  return qRound(m.ascent()) + qRound(m.descent());
}

// The largest pixel size whose cell is no taller than cell (1 at least).
int FitCell(QFont font, int cell) {
  int px = std::max(1, cell * cell / std::max(1, CellOf(font, cell)));
  for (int i = 0; i < 64 && px > 1 && CellOf(font, px) > cell; ++i) --px;
  for (int i = 0; i < 64 && CellOf(font, px + 1) <= cell; ++i) ++px;
  return px;
}

std::string KeyOf(const LOGFONT& lf) {
  LOGFONT k = lf;
  const size_t len = strnlen(k.lfFaceName, LF_FACESIZE);
  std::memset(k.lfFaceName + len, 0, LF_FACESIZE - len);
  return std::string(reinterpret_cast<const char*>(&k), sizeof k);
}

}  // namespace

QString ResolveFamily(const LOGFONT& lf) {
  const QString face = QString::fromLatin1(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  QString family;
  if (lf.lfCharSet == SYMBOL_CHARSET) {
    // The symbol faces' characters are mapped to Unicode; DejaVu Sans draws them all.
    family = kLastResort;
  } else if (!face.isEmpty() && Installed(face)) {
    return face;
  } else {
    for (const StandIn& s : kStandIns)
      if (face.compare(QLatin1String(s.face), Qt::CaseInsensitive) == 0) family = s.family;
    if (family.isEmpty()) {
      const BYTE kind = lf.lfPitchAndFamily & 0xF0;
      if (kind == FF_ROMAN)
        family = "Liberation Serif";
      else if (kind == FF_MODERN || (lf.lfPitchAndFamily & 0x3) == FIXED_PITCH)
        family = "Liberation Mono";
      else if (kind == FF_SWISS)
        family = "Liberation Sans";
      else
        family = kLastResort;
    }
  }
  return Installed(family) ? family : QString(kLastResort);
}

std::shared_ptr<RealizedFont> RealizeFont(const LOGFONT& lf) {
  EnsureApplication();
  static std::unordered_map<std::string, std::shared_ptr<RealizedFont>> cache;
  std::string key = KeyOf(lf);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  if (cache.size() >= kCacheLimit) cache.clear();

  auto r = std::make_shared<RealizedFont>();
  r->logFont = lf;
  QFont& f = r->font;
  f.setFamily(ResolveFamily(lf));
  const LONG weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
  f.setWeight(static_cast<QFont::Weight>(std::clamp<LONG>(weight, 1, 1000)));
  f.setItalic(lf.lfItalic != 0);
  f.setUnderline(lf.lfUnderline != 0);
  f.setStrikeOut(lf.lfStrikeOut != 0);
  f.setFixedPitch((lf.lfPitchAndFamily & 0x3) == FIXED_PITCH);
  switch (lf.lfPitchAndFamily & 0xF0) {
    case FF_ROMAN:
      f.setStyleHint(QFont::Serif);
      break;
    case FF_SWISS:
      f.setStyleHint(QFont::SansSerif);
      break;
    case FF_MODERN:
      f.setStyleHint(QFont::TypeWriter);
      break;
    case FF_SCRIPT:
      f.setStyleHint(QFont::Cursive);
      break;
    case FF_DECORATIVE:
      f.setStyleHint(QFont::Decorative);
      break;
    default:
      break;
  }
  // Kerning would make a run's width differ from the sum of its characters' advances,
  // which the layout adds up for overhangs.
  f.setKerning(false);
  const int pixelSize = lf.lfHeight < 0   ? std::min<LONG>(-lf.lfHeight, 0x7FFF)
                        : lf.lfHeight > 0 ? FitCell(f, std::min<LONG>(lf.lfHeight, 0x7FFF))
                                          : FitCell(f, kDefaultCell);
  f.setPixelSize(std::max(1, pixelSize));
  if (lf.lfWidth > 0) {
    const qreal natural = QFontMetricsF(f).averageCharWidth();
    if (natural > 0) f.setStretch(std::clamp(qRound(100.0 * lf.lfWidth / natural), 1, 4000));
  }
  r->metrics = QFontMetricsF(f);
  r->pixelSize = f.pixelSize();
  r->ascent = qRound(r->metrics.ascent());
  r->descent = qRound(r->metrics.descent());
  r->averageWidth = qRound(r->metrics.averageCharWidth());
  r->maxWidth = qRound(r->metrics.maxWidth());
  cache.emplace(std::move(key), r);
  return r;
}

}  // namespace zel_qt
