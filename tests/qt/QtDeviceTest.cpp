// The Qt device: fonts from descriptions, 8-bit text as Unicode, the offscreen platform,
// and drawing on images and widgets.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtDC.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"
#include "platform/user/gdi/FixedDC.h"
#include "platform/user/gdi/ImageList.h"
#include "platform/user/gdi/PictureBackend.h"

namespace {

LOGFONT Font(LONG height, const char* face = "Arial", LONG weight = FW_NORMAL) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  SetFaceName(lf, face);
  return lf;
}

QImage White(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  return image;
}

// The smallest rectangle holding every pixel that is not white; null when none is.
QRect Ink(const QImage& image, QRect within = QRect()) {
  if (within.isNull()) within = image.rect();
  QRect ink;
  for (int y = within.top(); y <= within.bottom(); ++y)
    for (int x = within.left(); x <= within.right(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
  return ink;
}

TEST(QtApplicationTest, WithoutADisplayTheOffscreenPlatformIsChosen) {
  const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  zel_qt::EnsureApplication();
  ASSERT_NE(QGuiApplication::instance(), nullptr);
  if (!display && (!chosen || std::string(chosen) == "offscreen")) {
    EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
  }
  zel_qt::EnsureApplication();  // a second call keeps the one application
}

TEST(QtFontsTest, FacesFallToMetricCompatibleStandIns) {
  zel_qt::EnsureApplication();
  struct Case {
    const char* face;
    BYTE pitchAndFamily;
    BYTE charSet;
    const char* family;
  } cases[] = {
      {"Arial", 0, 0, "Liberation Sans"},       {"Times New Roman", 0, 0, "Liberation Serif"},
      {"Courier New", 0, 0, "Liberation Mono"}, {"Helv", 0, 0, "Liberation Sans"},
      {"Tms Rmn", 0, 0, "Liberation Serif"},    {"No Such Face", FF_ROMAN, 0, "Liberation Serif"},
      {"", FIXED_PITCH, 0, "Liberation Mono"},  {"", FF_SWISS, 0, "Liberation Sans"},
      {"No Such Face", 0, 0, "DejaVu Sans"},    {"Wingdings", 0x07, SYMBOL_CHARSET, "DejaVu Sans"},
      {"DejaVu Sans", 0, 0, "DejaVu Sans"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    LOGFONT lf = Font(-13, c.face);
    lf.lfPitchAndFamily = c.pitchAndFamily;
    lf.lfCharSet = c.charSet;
    EXPECT_EQ(zel_qt::ResolveFamily(lf).toStdString(), c.family);
    // And Qt really draws with it.
    EXPECT_EQ(QFontInfo(zel_qt::RealizeFont(lf)->font).family().toStdString(), c.family);
  }
}

TEST(QtFontsTest, HeightsAreCharacterOrFittedCellHeights) {
  QImage image = White(10, 10);
  CQtDC dc(&image);
  for (LONG h : {8, 10, 13, 16, 20, 24, 32, 48, 72}) {
    SCOPED_TRACE(h);
    LOGFONT character = Font(-h);
    EXPECT_EQ(zel_qt::RealizeFont(character)->font.pixelSize(), h);
    LOGFONT cell = Font(h);
    HFONT f = dc.CreateFontIndirect(&cell);
    HGDIOBJ old = dc.SelectObject(ToGdiObj(f));
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    EXPECT_LE(tm.tmHeight, h);
    EXPECT_GE(tm.tmHeight, h - 1) << "the largest size that fits the cell";
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    SIZE size;
    dc.GetTextExtentPoint("x", 1, &size);
    EXPECT_EQ(size.cy, tm.tmHeight);
    dc.SelectObject(old);
    dc.DeleteObject(ToGdiObj(f));
  }
  // Character height 13 of Arial: the platform's cell of 15.
  HFONT f = dc.CreateFontIndirect(&static_cast<const LOGFONT&>(Font(-13)));
  dc.SelectObject(ToGdiObj(f));
  TEXTMETRIC tm;
  dc.GetTextMetrics(&tm);
  EXPECT_EQ(tm.tmHeight, 15);
}

TEST(QtFontsTest, WeightWidthAndSlantChangeTheMetrics) {
  QImage image = White(10, 10);
  CQtDC dc(&image);
  auto widthOf = [&](LOGFONT lf, const char* text) {
    HFONT f = dc.CreateFontIndirect(&lf);
    HGDIOBJ old = dc.SelectObject(ToGdiObj(f));
    SIZE s;
    dc.GetTextExtentPoint(text, static_cast<int>(strlen(text)), &s);
    dc.SelectObject(old);
    dc.DeleteObject(ToGdiObj(f));
    return s.cx;
  };
  EXPECT_GT(widthOf(Font(-20, "Arial", FW_BOLD), "Hello world"), widthOf(Font(-20), "Hello world"));
  LOGFONT narrow = Font(-20);
  narrow.lfWidth = 5;
  LOGFONT wide = Font(-20);
  wide.lfWidth = 15;
  EXPECT_GT(widthOf(wide, "abcdefgh"), 2 * widthOf(narrow, "abcdefgh"));
  LOGFONT italic = Font(-40, "Times New Roman");
  italic.lfItalic = 1;
  HFONT f = dc.CreateFontIndirect(&italic);
  dc.SelectObject(ToGdiObj(f));
  ABC abc;
  ASSERT_TRUE(dc.GetCharABCWidths('f', 'f', &abc));
  EXPECT_LT(abc.abcC, 0) << "an italic f hangs over its advance";
}

TEST(QtTextTest, BytesBecomeUnicodeByTheirFont) {
  LOGFONT plain = Font(-13);
  auto text = [&](const std::string& bytes, const LOGFONT& lf) {
    return zel_qt::ToUnicode(bytes.data(), static_cast<int>(bytes.size()), lf);
  };
  EXPECT_EQ(text("\x93q\x94 \x95 \x96\x97", plain), QString::fromUtf8("“q” • –—"));
  EXPECT_EQ(text("caf\xE9", plain), QString::fromUtf8("café"));
  EXPECT_EQ(text("caf\xC3\xA9", plain), QString::fromUtf8("café")) << "UTF-8 typed on Linux";
  EXPECT_EQ(text("\xC3", plain), QString::fromUtf8("Ã")) << "a cut sequence is not UTF-8";
  EXPECT_EQ(text("\xC0\x80", plain), QString::fromUtf8("À€")) << "overlong forms are not";
  EXPECT_EQ(text("\xED\xA0\x80", plain).size(), 3) << "nor are surrogates";
  EXPECT_EQ(text("\xF0\x9F\x99\x82", plain), QString::fromUtf8("🙂"));
  EXPECT_EQ(text("plain", plain), QString("plain"));
  EXPECT_FALSE(zel_qt::LooksLikeUtf8("ascii", 5)) << "no multi-byte sequence";

  LOGFONT symbol = Font(-13, "Symbol");
  symbol.lfCharSet = SYMBOL_CHARSET;
  EXPECT_EQ(text("\xB7"
                 "abg",
                 symbol),
            QString::fromUtf8("•αβγ"));
  LOGFONT wingdings = Font(-13, "Wingdings");
  wingdings.lfCharSet = SYMBOL_CHARSET;
  EXPECT_EQ(text("\xA8\xFE", wingdings), QString::fromUtf8("☐☑"));
  EXPECT_EQ(text("\xC3\xA9", wingdings).size(), 2) << "symbol fonts never read UTF-8";
}

TEST(QtTextTest, ALineDecidedForReadsEveryCallItsWay) {
  LOGFONT plain = Font(-13);
  LOGFONT symbol = Font(-13, "Symbol");
  symbol.lfCharSet = SYMBOL_CHARSET;
  const struct {
    const char* bytes;
    TextBytes how;
    const LOGFONT& font;
    const char* expected;  // UTF-8
  } cases[] = {
      // Bytes outside every sequence (the markup's quotes, dashes, bullet) keep their
      // Windows-1252 meaning inside UTF-8 text.
      {" \x95 caf\xC3\xA9", TextBytes::kUtf8, plain, " \u2022 caf\u00E9"},
      {"\x93q\xC3\xA9\x94", TextBytes::kUtf8, plain, "\u201Cq\u00E9\u201D"},
      {"\xC3", TextBytes::kUtf8, plain, "\u00C3"},
      {"\xF0\x9F\x99\x82!", TextBytes::kUtf8, plain, "\U0001F642!"},
      {"caf\xC3\xA9", TextBytes::kWindows1252, plain, "caf\u00C3\u00A9"},
      {"\xB7\xC3\xA9", TextBytes::kUtf8, symbol, "\u2022\u00C3\u00A9"},
      {"\x95 caf\xC3\xA9", TextBytes::kEachCall, plain, "\u2022 caf\u00C3\u00A9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(zel_qt::ToUnicode(c.bytes, static_cast<int>(std::strlen(c.bytes)), c.font, c.how),
              QString::fromUtf8(c.expected));
  }
}

// Runs are measured from each font's table of advances; every run must measure as the
// shaped run does, whatever its characters, its font and the way its bytes are read.
TEST(QtDeviceTest, RunsMeasureAsTheShapedRunDoes) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  QImage image = White(10, 10);
  CQtDC dc(&image);
  LOGFONT italic = Font(-18, "Times New Roman");
  italic.lfItalic = 1;
  LOGFONT symbol = Font(-14, "Symbol");
  symbol.lfCharSet = SYMBOL_CHARSET;
  LOGFONT stretched = Font(-16, "Verdana");
  stretched.lfWidth = 11;
  const LOGFONT fonts[] = {Font(-13),
                           Font(-20, "Times New Roman"),
                           Font(-16, "Courier New"),
                           Font(-15, "Arial", FW_BOLD),
                           Font(17, "Georgia"),
                           italic,
                           symbol,
                           stretched};
  // Letters that ligate or kern in many faces, punctuation, Windows-1252 and UTF-8 bytes.
  const std::string pieces[] = {"f",    "i",    "l",    "ff",       "fi",          "fl", "A",
                                "V",    "W",    "T",    "o",        "y",           "L",  ".",
                                ",",    " ",    "-",    "'",        "\"",          "7",  "1",
                                "\xe9", "\x93", "\x96", "\xc3\xa9", "\xe2\x80\x94"};
  const TextBytes ways[] = {TextBytes::kEachCall, TextBytes::kWindows1252, TextBytes::kUtf8};
  for (const LOGFONT& lf : fonts) {
    HFONT f = dc.CreateFontIndirect(&lf);
    HGDIOBJ old = dc.SelectObject(ToGdiObj(f));
    const QFontMetricsF direct(zel_qt::RealizeFont(lf)->font);
    for (TextBytes how : ways) {
      dc.SetTextBytes(how);
      for (int run = 0; run < 300; ++run) {
        std::string text;
        const int parts = 1 + static_cast<int>(rng() % 12);
        for (int k = 0; k < parts; ++k) {
          if (rng() % 8 == 0)
            text += static_cast<char>(0x20 + rng() % 0xE0);
          else
            text += pieces[rng() % std::size(pieces)];
        }
        const int n = static_cast<int>(text.size());
        SCOPED_TRACE(std::string(lf.lfFaceName) + " way " + std::to_string(static_cast<int>(how)) +
                     ": " + text);
        SIZE size;
        dc.GetTextExtentPoint(text.c_str(), n, &size);
        ASSERT_EQ(size.cx,
                  qRound(direct.horizontalAdvance(zel_qt::ToUnicode(text.c_str(), n, lf, how))));
      }
    }
    dc.SetTextBytes(TextBytes::kEachCall);
    dc.SelectObject(old);
    dc.DeleteObject(ToGdiObj(f));
  }
}

TEST(QtDeviceTest, TextAlignmentPlacesTheCell) {
  QImage image = White(200, 100);
  {
    CQtDC dc(&image);
    LOGFONT lf = Font(-20);
    HFONT f = dc.CreateFontIndirect(&lf);
    dc.SelectObject(ToGdiObj(f));
    dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(150, 60, "Hxg", 3);
  }
  const QRect ink = Ink(image);
  ASSERT_FALSE(ink.isNull());
  EXPECT_LE(ink.right(), 150);
  EXPECT_GE(ink.right(), 140);
  EXPECT_LE(ink.bottom(), 60);
  EXPECT_GE(ink.bottom(), 55) << "the descender of g reaches near the bottom";
}

TEST(QtDeviceTest, OpaqueTextFillsItsCellInTheBackgroundColour) {
  QImage image = White(100, 40);
  {
    CQtDC dc(&image);
    dc.SetBkColor(RGB(0, 0, 255));
    dc.TextOut(10, 5, "ab", 2);  // stock font, opaque by default
  }
  EXPECT_EQ(image.pixel(10, 5), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(9, 5), qRgb(255, 255, 255));
}

TEST(QtDeviceTest, EdgesFramesLinesAndImages) {
  QImage image = White(40, 40);
  {
    CQtDC dc(&image);
    RECT edge{0, 0, 20, 10};
    dc.DrawEdge(&edge, EDGE_ETCHED, BF_RECT);
    dc.SelectObject(ToGdiObj(dc.CreatePen(PS_SOLID, 1, RGB(255, 0, 0))));
    dc.MoveTo(0, 20);
    dc.LineTo(10, 20);
    CImageList list(4, 4);
    std::vector<uint32_t> pixels(16, 0xFF00FF00);  // green
    for (int i = 0; i < 8; ++i) pixels[i] = 0;     // top half transparent
    list.Add(pixels.data());
    list.SetBkColor(RGB(0, 0, 0));
    list.Draw(&dc, 0, POINT{20, 20}, ILD_TRANSPARENT);
    list.Draw(&dc, 0, POINT{30, 20}, ILD_NORMAL);
    list.Draw(&dc, 0, POINT{20, 30}, ILD_DISABLED);
  }
  const COLORREF shadow = CFixedDC().GetSysColor(COLOR_3DSHADOW);
  const COLORREF light = CFixedDC().GetSysColor(COLOR_3DHIGHLIGHT);
  EXPECT_EQ(image.pixel(5, 0), qRgb(GetRValue(shadow), GetGValue(shadow), GetBValue(shadow)));
  EXPECT_EQ(image.pixel(5, 1), qRgb(GetRValue(light), GetGValue(light), GetBValue(light)));
  EXPECT_EQ(image.pixel(0, 20), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(9, 20), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(10, 20), qRgb(255, 255, 255)) << "the end point is not drawn";
  EXPECT_EQ(image.pixel(21, 21), qRgb(255, 255, 255)) << "transparent stays see-through";
  EXPECT_EQ(image.pixel(21, 23), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(31, 21), qRgb(0, 0, 0)) << "normal shows the list's background";
  EXPECT_EQ(image.pixel(20, 32), qRgb(GetRValue(shadow), GetGValue(shadow), GetBValue(shadow)));
  EXPECT_EQ(image.pixel(20, 30), qRgb(255, 255, 255));
}

// A widget that paints its label through the device in its paint event.
class LabelWidget : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    CQtDC dc(&painter);
    RECT r{2, 2, width(), height()};
    dc.DrawText("&Label", -1, &r, DT_SINGLELINE);
  }
};

TEST(QtDeviceTest, DrawsOnAWidget) {
  zel_qt::EnsureApplication();
  LabelWidget widget;
  widget.resize(80, 24);
  const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect ink = Ink(image);
  ASSERT_FALSE(ink.isNull());
  EXPECT_GE(ink.left(), 2);
  EXPECT_GE(ink.top(), 2);
  EXPECT_LT(ink.bottom(), 24);
}

}  // namespace

namespace {

TEST(QtPictureBackendTest, InstalledOnLoadingAndRefusesWhatItCannotMake) {
  PictureBackend* backend = ZelPictureBackend();
  ASSERT_NE(backend, nullptr);
  EXPECT_TRUE(backend->CanWrite("a.PNG"));
  EXPECT_TRUE(backend->CanWrite("dir.x/a.svg"));
  EXPECT_TRUE(backend->CanWrite("a.pdf"));
  EXPECT_FALSE(backend->CanWrite("a.gif"));
  EXPECT_FALSE(backend->CanWrite("png"));
  EXPECT_FALSE(backend->CanWrite(""));
  std::string error;
  EXPECT_EQ(backend->NewPicture("a.png", 0, 10, &error), nullptr);
  EXPECT_NE(error.find("0 x 10"), std::string::npos);
  EXPECT_EQ(backend->NewPicture("/no/such/folder/a.pdf", 10, 10, &error), nullptr);
  EXPECT_EQ(error, "the folder does not exist");
  auto memory = backend->NewPicture("", 30, 20, &error);
  ASSERT_NE(memory, nullptr);
  EXPECT_EQ(memory->Device()->GetDeviceCaps(LOGPIXELSY), 96);
  EXPECT_EQ(memory->Device()->GetDeviceCaps(HORZRES), 30);
  EXPECT_TRUE(memory->Finish(&error));
}

}  // namespace
