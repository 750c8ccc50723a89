// Rich text lines drawn on the Qt device, checked in the pictures: the ink stays inside
// the measured rectangle, subscripts sink and superscripts rise, both ways of drawing
// agree, and the fixed-metrics device sees the same structure. Pictures of failures are
// kept in the temporary folder for a look.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/qt/QtDC.h"
#include "platform/user/gdi/FixedDC.h"
#include "richtext/RichTextLine.h"
#include "tests/support/TestSupport.h"

namespace zel_test {
namespace {

constexpr int kMargin = 10;

LOGFONT Font(LONG height, const char* face = "Arial") {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  SetFaceName(lf, face);
  return lf;
}

QRect Ink(const QImage& image, QRect within = QRect()) {
  within = within.isNull() ? image.rect() : within.intersected(image.rect());
  QRect ink;
  for (int y = within.top(); y <= within.bottom(); ++y)
    for (int x = within.left(); x <= within.right(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
  return ink;
}

// A line measured and drawn from its metric at the margin of a white picture, the
// caller's font selected as callers do.
struct Drawn {
  QImage image;
  CRTFLineMetric metric;
  QRect placed;  // the measured rectangle as placed
  int status = 0;
};

void DrawLine(const std::string& text, const LOGFONT& font, Drawn& out) {
  QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
  {
    CQtDC dc(&scratch);
    LOGFONT lf = font;
    HFONT f = dc.CreateFontIndirect(&lf);
    dc.SelectObject(ToGdiObj(f));
    GetRTFLineMetrics(&dc, text.c_str(), &lf, &out.metric);
  }
  const RECT size = out.metric.m_rect;
  out.image = QImage(size.right + 2 * kMargin, size.bottom + 2 * kMargin,
                     QImage::Format_ARGB32_Premultiplied);
  out.image.fill(Qt::white);
  out.metric.m_rect = RECT{kMargin, kMargin, kMargin + size.right, kMargin + size.bottom};
  out.placed =
      QRect(QPoint(kMargin, kMargin), QPoint(kMargin + size.right - 1, kMargin + size.bottom - 1));
  CQtDC dc(&out.image);
  LOGFONT lf = font;
  HFONT f = dc.CreateFontIndirect(&lf);
  dc.SelectObject(ToGdiObj(f));
  out.status = RTFLineOut(&dc, text.c_str(), &lf, &out.metric);
}

class RichTextPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_mode = SetRTFLineMode(RTF_MODE_TRUETYPE);
    m_selector = SetRTFLineCDSelector(1);
  }
  void TearDown() override {
    SetRTFLineMode(m_mode);
    SetRTFLineCDSelector(m_selector);
  }
  // Saves the picture for a look when the test has failed.
  void Keep(const QImage& image, const std::string& name) {
    if (!HasFailure()) return;
    const std::string path = (std::filesystem::temp_directory_path() / (name + ".png")).string();
    image.save(QString::fromStdString(path));
    std::printf("picture kept: %s\n", path.c_str());
  }

 private:
  int m_mode = 0;
  int m_selector = 0;
};

TEST_F(RichTextPictureTest, InkStaysInsideTheMeasuredRectangle) {
  struct Case {
    const char* text;
    LONG height;
    const char* face;
  } cases[] = {
      {"Hello, world", -13, "Arial"},
      {"H{\\sub 2}O and x{\\super 2} and {\\b bold} {\\i italic f}", -16, "Arial"},
      {"{\\i fff} {\\b\\i jjj}", -24, "Times New Roman"},
      {"Mono {\\ul under} {\\strike struck}", 14, "Courier New"},
      {"\\chcdbox  done \\chbul  point {\\f1 abg}", -13, "Arial"},
      {"{\\fs32 Big} {\\fs14 small} {\\up8 up} {\\dn8 down}", -13, "Arial"},
      {"\\ldblquote Quoted\\rdblquote  \\endash  caf\xC3\xA9 \xE9t\xE9", 20, "Arial"},
      {"Two\\line lines", -13, "Arial"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Drawn d;
    DrawLine(c.text, Font(c.height, c.face), d);
    EXPECT_EQ(d.status, RTF_OK);
    const QRect ink = Ink(d.image);
    ASSERT_FALSE(ink.isNull()) << "something is drawn";
    const QRect allowed = d.placed.adjusted(-1, -1, 1, 1);
    EXPECT_TRUE(allowed.contains(ink))
        << "ink (" << ink.left() << "," << ink.top() << ")-(" << ink.right() << "," << ink.bottom()
        << ") outside (" << allowed.left() << "," << allowed.top() << ")-(" << allowed.right()
        << "," << allowed.bottom() << ")";
    // Ink fills the rectangle's width, within the overhang allowances.
    EXPECT_LE(ink.left(), d.placed.left() + 3);
    EXPECT_GE(ink.right(), d.placed.right() - 4);
    Keep(d.image, "richtext-ink");
  }
}

TEST_F(RichTextPictureTest, SubscriptsSinkAndSuperscriptsRise) {
  Drawn d;
  DrawLine("Xx{\\sub 2}Xx{\\super 2}", Font(-24), d);
  ASSERT_EQ(d.metric.m_nCount, 4);
  auto runInk = [&](int run) {
    const int left = d.placed.left() + d.metric.m_pPositions[run].x;
    const int right = d.placed.left() + d.metric.m_pExtents[run].x - 1;
    return Ink(d.image, QRect(QPoint(left, 0), QPoint(right, d.image.height() - 1)));
  };
  const QRect base = runInk(0), sub = runInk(1), super = runInk(3);
  ASSERT_FALSE(base.isNull() || sub.isNull() || super.isNull());
  EXPECT_GT(sub.bottom(), base.bottom()) << "the subscript's ink lies lower";
  EXPECT_LT(super.bottom(), base.bottom()) << "the superscript's ink rests higher";
  EXPECT_LT(sub.height(), base.height()) << "both at size 7";
  EXPECT_GE(d.placed.bottom(), sub.bottom()) << "the subscript's cell makes the bottom";
  Keep(d.image, "richtext-sub");
}

TEST_F(RichTextPictureTest, DrawingDirectlyAndFromTheMetricGiveTheSamePicture) {
  const char* text = "Plain {\\b bold} {\\i italic} {\\cf6 red}\\tab {\\cb7 marked} end";
  Drawn fromMetric;
  DrawLine(text, Font(-15), fromMetric);
  QImage direct(fromMetric.image.size(), QImage::Format_ARGB32_Premultiplied);
  direct.fill(Qt::white);
  {
    CQtDC dc(&direct);
    LOGFONT lf = Font(-15);
    HFONT f = dc.CreateFontIndirect(&lf);
    dc.SelectObject(ToGdiObj(f));
    dc.SetBkMode(TRANSPARENT);
    RECT r{kMargin, 0, 0, kMargin + fromMetric.metric.m_rect.bottom - kMargin};
    EXPECT_EQ(DrawRTFLine(&dc, text, &lf, &r, 0), RTF_OK);
  }
  EXPECT_EQ(direct, fromMetric.image);
  Keep(direct, "richtext-direct");
}

TEST_F(RichTextPictureTest, BothDevicesSeeTheSameRuns) {
  const char* lines[] = {
      "H{\\sub 2}O \\b bold\\b0  and {\\i italic}\\tab \\cf2 blue",
      "\\chcdbox  a\\chbul  b\\line c",
      "{\\fs28 big}{\\fs14 small}{\\super s}{\\dn4 d}",
      "\\dir1 abc",
  };
  for (const char* text : lines) {
    SCOPED_TRACE(text);
    CRTFLineMetric fixed, qt;
    int fixedStarts[RTF_MAX_RUNS + 1], qtStarts[RTF_MAX_RUNS + 1];
    std::fill(std::begin(fixedStarts), std::end(fixedStarts), -1);
    std::fill(std::begin(qtStarts), std::end(qtStarts), -1);
    CFixedDC fixedDc;
    LOGFONT a = Font(-13);
    const int fixedStatus = GetRTFLineMetricsEx(&fixedDc, text, &a, &fixed, fixedStarts);
    QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    CQtDC qtDc(&image);
    LOGFONT b = Font(-13);
    EXPECT_EQ(GetRTFLineMetricsEx(&qtDc, text, &b, &qt, qtStarts), fixedStatus);
    ASSERT_EQ(qt.m_nCount, fixed.m_nCount);
    EXPECT_TRUE(std::equal(std::begin(qtStarts), std::end(qtStarts), fixedStarts));
    for (int i = 0; i < qt.m_nCount; ++i) {
      SCOPED_TRACE(i);
      for (int j = 0; j < i; ++j) {
        // Same order of runs along both axes.
        EXPECT_EQ(qt.m_pPositions[i].x > qt.m_pPositions[j].x,
                  fixed.m_pPositions[i].x > fixed.m_pPositions[j].x);
        EXPECT_EQ(qt.m_pPositions[i].y > qt.m_pPositions[j].y,
                  fixed.m_pPositions[i].y > fixed.m_pPositions[j].y);
      }
    }
  }
}

TEST_F(RichTextPictureTest, EveryWordOfALineReadsTheSameWay) {
  // Each line beside the same line with what it reads as written out in UTF-8: both give
  // the same picture. No overhangs, so that different bytes at a run's ends cannot matter.
  SetRTFLineMode(0);
  const struct {
    const char* markup;
    const char* written;
  } cases[] = {
      {"caf\xC3\xA9 {\\b na\xC3\xAFve} \\bullet  caf\xC3\xA9",
       "caf\xC3\xA9 {\\b na\xC3\xAFve} \xE2\x80\xA2 caf\xC3\xA9"},
      {"\\ldblquote caf\xC3\xA9\\rdblquote  \\endash  x",
       "\xE2\x80\x9C"
       "caf\xC3\xA9\xE2\x80\x9D \xE2\x80\x93 x"},
      // One Windows-1252 byte reads the whole line as Windows-1252.
      {"na\xC3\xAFve {\\b caf\xE9}", "na\xC3\x83\xC2\xAFve {\\b caf\xC3\xA9}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markup);
    Drawn markup, written;
    DrawLine(c.markup, Font(-16), markup);
    DrawLine(c.written, Font(-16), written);
    EXPECT_EQ(markup.metric.m_rect.right, written.metric.m_rect.right);
    EXPECT_EQ(markup.image, written.image);
    Keep(markup.image, "richtext-utf8-markup");
    Keep(written.image, "richtext-utf8-written");
  }
}

TEST(RichTextRenderTest, PicturesOfEveryFormatAtNinetySixDotsPerInch) {
  TempDir tmp;
  const std::string line = "'H{\\sub 2}O {\\cf2 blue}'";
  ZelResult png =
      RunZel("richtext render " + line + " -o '" + (tmp / "a.png") + "' --margin 3", tmp.str());
  ASSERT_EQ(png.status, 0) << png.err;
  QImage image(QString::fromStdString(tmp / "a.png"));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.dotsPerMeterX(), 3780);
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
  // The picture is the line as measured with the caller's font, plus the margins.
  Drawn measured;
  DrawLine("H{\\sub 2}O {\\cf2 blue}", Font(-13), measured);
  const int w = measured.metric.m_rect.right - measured.metric.m_rect.left;
  const int h = measured.metric.m_rect.bottom - measured.metric.m_rect.top;
  EXPECT_EQ(image.width(), w + 6);
  EXPECT_EQ(image.height(), h + 6);
  const QRect ink = Ink(image);
  EXPECT_GE(ink.left(), 2);
  EXPECT_LE(ink.right(), w + 3);

  ASSERT_EQ(RunZel("richtext render " + line + " -o '" + (tmp / "a.svg") + "'", tmp.str()).status,
            0);
  const std::string svg = ReadFile(tmp / "a.svg");
  EXPECT_NE(svg.find("viewBox=\"0 0 " + std::to_string(w + 8) + " " + std::to_string(h + 8) + "\""),
            std::string::npos);
  std::ostringstream mm;
  mm.precision(6);
  mm << "width=\"" << (w + 8) * 25.4 / 96 << "mm\"";
  EXPECT_NE(svg.find(mm.str()), std::string::npos) << "96 dots per inch: " << mm.str();

  ASSERT_EQ(RunZel("richtext render " + line + " -o '" + (tmp / "a.PDF") + "'", tmp.str()).status,
            0);
  const std::string pdf = ReadFile(tmp / "a.PDF");
  EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
  std::ostringstream box;
  box << "/MediaBox [0 0 " << std::ceil((w + 8) * 0.75) << ".000000";
  EXPECT_NE(pdf.find(box.str()), std::string::npos) << box.str();

  ZelResult missing =
      RunZel("richtext render x -o '" + (tmp / "no/such/folder/a.png") + "'", tmp.str());
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("zel: cannot write"), std::string::npos);
  // Without any display the command still draws.
  ZelResult headless = RunZel("richtext render x -o '" + (tmp / "b.png") + "'", tmp.str());
  std::string unset = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                      std::string(ZEL_BINARY) + "' richtext render x -o '" + (tmp / "c.png") +
                      "' >/dev/null 2>&1";
  EXPECT_EQ(std::system(unset.c_str()), 0);
  EXPECT_TRUE(std::filesystem::exists(tmp / "c.png"));
}

TEST(RichTextRenderTest, LineSettingsComeFromTheOptions) {
  TempDir tmp;
  int n = 0;
  auto render = [&](const std::string& args) {
    const std::string path = tmp / ("line" + std::to_string(++n) + ".png");
    ZelResult r =
        RunZel("richtext render --height -40 --margin 0 -o '" + path + "' " + args, tmp.str());
    EXPECT_EQ(r.status, 0) << r.err;
    return QImage(QString::fromStdString(path));
  };
  auto reddish = [](const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() > 200 && c.green() < 80 && c.blue() < 80) return true;
      }
    return false;
  };
  EXPECT_GE(render("--tabs 300 'a\\tab b'").width(), 300);
  EXPECT_TRUE(reddish(render("--fgcolor 2=0x0000FF '{\\cf2 WW}'")));
  EXPECT_FALSE(reddish(render("'{\\cf2 WW}'")));
  EXPECT_TRUE(reddish(render("--chstring '3={\\cf6 WW}' '\\ch3 '")));
  // The check box shows for selector 0 or 1 only.
  EXPECT_FALSE(Ink(render("'\\chcdbox '")).isNull());
  EXPECT_TRUE(Ink(render("--selector 2 '\\chcdbox '")).isNull());
}

TEST(RichTextRenderTest, DemoSaysWhereItsPictureIs) {
  TempDir tmp;
  ZelResult demo = RunZel("demo", tmp.str());
  const size_t at = demo.out.find("drawn on the Qt device into ");
  ASSERT_NE(at, std::string::npos) << demo.out;
  const size_t start = at + std::strlen("drawn on the Qt device into ");
  const std::string path = demo.out.substr(start, demo.out.find(" (", start) - start);
  QImage label(QString::fromStdString(path));
  ASSERT_FALSE(label.isNull()) << path;
  EXPECT_FALSE(Ink(label).isNull());
  bool green = false;  // the check box's colour
  for (int y = 0; y < label.height(); ++y)
    for (int x = 0; x < label.width(); ++x) {
      const QColor c = label.pixelColor(x, y);
      green |= c.green() > 200 && c.red() < 120 && c.blue() < 120;
    }
  EXPECT_TRUE(green);
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

}  // namespace
}  // namespace zel_test
