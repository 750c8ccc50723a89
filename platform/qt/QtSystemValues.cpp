// System values from Qt's style, palette and fonts.
#include "platform/qt/QtSystemValues.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <atomic>
#include <cstring>

#include "platform/qt/QtApplication.h"

namespace zel_qt {
namespace {

// The height of a menu bar, exactly as QMenuBar lays one out: the frames fix their bars to
// it, so a value even one pixel short sends every title behind the extension button. It
// is measured once on a bar of one title, on the application's thread (the only one that
// may make a widget); another thread asking first gets the style's sum until then.
int MenuBarHeight(const QStyle* style) {
  static std::atomic<int> measured{0};
  if (const int height = measured.load(std::memory_order_acquire)) return height;
  if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
    QMenuBar probe;
    probe.addMenu(QStringLiteral("&File"));
    const int height = probe.sizeHint().height();
    measured.store(height, std::memory_order_release);
    return height;
  }
  const QFontMetrics fm(QApplication::font("QMenuBar"));
  return fm.height() + 2 * style->pixelMetric(QStyle::PM_MenuBarVMargin) +
         2 * style->pixelMetric(QStyle::PM_MenuBarPanelWidth) + 4;
}

COLORREF FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

}  // namespace

bool IsHeadless() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

COLORREF SystemColor(int index) {
  // On a desktop the palette says; headless the fixed colours are the reproducible choice.
  if (IsHeadless()) return zel_system::FixedSystemValues().Color(index);
  const QPalette p = QGuiApplication::palette();
  switch (index) {
    case COLOR_WINDOW:
      return FromQColor(p.color(QPalette::Base));
    case COLOR_WINDOWTEXT:
      return FromQColor(p.color(QPalette::Text));
    case COLOR_MENU:
    case COLOR_BTNFACE:
      return FromQColor(p.color(QPalette::Button));
    case COLOR_MENUTEXT:
    case COLOR_BTNTEXT:
      return FromQColor(p.color(QPalette::ButtonText));
    case COLOR_HIGHLIGHT:
    case COLOR_MENUHILIGHT:
      return FromQColor(p.color(QPalette::Highlight));
    case COLOR_HIGHLIGHTTEXT:
      return FromQColor(p.color(QPalette::HighlightedText));
    case COLOR_GRAYTEXT:
      return FromQColor(p.color(QPalette::Disabled, QPalette::Text));
    case COLOR_BTNSHADOW:
      return FromQColor(p.color(QPalette::Mid));
    case COLOR_3DDKSHADOW:
      return FromQColor(p.color(QPalette::Shadow));
    case COLOR_BTNHIGHLIGHT:
      return FromQColor(p.color(QPalette::Light));
    case COLOR_3DLIGHT:
      return FromQColor(p.color(QPalette::Midlight));
    case COLOR_INFOBK:
      return FromQColor(p.color(QPalette::ToolTipBase));
    case COLOR_INFOTEXT:
      return FromQColor(p.color(QPalette::ToolTipText));
    default:
      return zel_system::FixedSystemValues().Color(index);
  }
}

LOGFONT LogFontOf(const QFont& font) {
  LOGFONT lf;
  const QFontInfo info(font);
  lf.lfHeight = -info.pixelSize();
  lf.lfWeight = info.bold() ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = info.italic() ? 1 : 0;
  lf.lfUnderline = font.underline() ? 1 : 0;
  lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
  lf.lfPitchAndFamily = info.fixedPitch() ? FIXED_PITCH : VARIABLE_PITCH;
  const QByteArray family = info.family().toUtf8();
  std::strncpy(lf.lfFaceName, family.constData(), LF_FACESIZE - 1);
  return lf;
}

int QtSystemValues::Metric(int index) const {
  if (IsHeadless()) return zel_system::FixedSystemValues().Metric(index);
  EnsureApplication();
  const QStyle* style = QApplication::style();
  const QScreen* screen = QGuiApplication::primaryScreen();
  switch (index) {
    case SM_CXSCREEN:
      return screen ? screen->geometry().width() : 0;
    case SM_CYSCREEN:
      return screen ? screen->geometry().height() : 0;
    // What a maximised window's client area may fill: the screen less panels and a caption.
    case SM_CXFULLSCREEN:
      return screen ? screen->availableGeometry().width() : 0;
    case SM_CYFULLSCREEN:
      return screen ? screen->availableGeometry().height() -
                          style->pixelMetric(QStyle::PM_TitleBarHeight)
                    : 0;
    case SM_CYCAPTION:
      return style->pixelMetric(QStyle::PM_TitleBarHeight);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return style->pixelMetric(QStyle::PM_ScrollBarExtent);
    case SM_CYMENU:
      return MenuBarHeight(style);
    case SM_CXICON:
    case SM_CYICON:
      return style->pixelMetric(QStyle::PM_LargeIconSize);
    case SM_CXSMICON:
    case SM_CYSMICON:
      return style->pixelMetric(QStyle::PM_SmallIconSize);
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return style->pixelMetric(QStyle::PM_IndicatorWidth);
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
      return Metric(SM_CYMENU) - 1;
    default:
      return zel_system::FixedSystemValues().Metric(index);
  }
}

std::vector<uint32_t> QtSystemValues::IconPixels(zel_system::StockIcon icon, int size) const {
  if (IsHeadless() || size < 1) return zel_system::FixedSystemValues().IconPixels(icon, size);
  EnsureApplication();
  const QImage image = QApplication::style()
                           ->standardIcon(QStyle::SP_MessageBoxInformation)
                           .pixmap(size, size)
                           .toImage()
                           .scaled(size, size)
                           .convertToFormat(QImage::Format_ARGB32);
  std::vector<uint32_t> pixels(static_cast<size_t>(size) * size);
  for (int y = 0; y < size; ++y)
    std::memcpy(&pixels[static_cast<size_t>(y) * size], image.constScanLine(y),
                static_cast<size_t>(size) * 4);
  return pixels;
}

LOGFONT QtSystemValues::SystemFont(zel_system::Font which) const {
  if (IsHeadless()) return zel_system::FixedSystemValues().SystemFont(which);
  EnsureApplication();
  using zel_system::Font;
  switch (which) {
    case Font::Menu:
      return LogFontOf(QApplication::font("QMenu"));
    case Font::Caption:
      return LogFontOf(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    case Font::Status:
      return LogFontOf(QApplication::font("QStatusBar"));
    case Font::Message:
      return LogFontOf(QApplication::font("QMessageBox"));
    case Font::IconTitle:
    default:
      return LogFontOf(QApplication::font());
  }
}

}  // namespace zel_qt
