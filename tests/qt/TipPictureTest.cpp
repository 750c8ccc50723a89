// Tips on Qt's offscreen platform, as pictures: a hover tip and a message-box tip have
// exactly the size their layout computes from the font's metrics on the Qt device, a black
// frame and the tip colours inside; and zel tip writes the same picture.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "platform/qt/QtDC.h"
#include "platform/qt/QtPresenter.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/Window.h"
#include "richtext/RichTextLine.h"
#include "tests/support/TestSupport.h"
#include "ui/TipWnd.h"

namespace {

// The picture a command wrote to png, checked against the "PATH<TAB>WIDTH<TAB>HEIGHT" it
// printed; null when there is none.
QImage WrittenPicture(const zel_test::ZelResult& r, const std::string& png) {
  QImage image(QString::fromStdString(png));
  if (image.isNull()) return image;
  std::istringstream out(r.out);
  std::string path;
  int width = 0, height = 0;
  out >> path >> width >> height;
  EXPECT_EQ(path, png);
  EXPECT_EQ(QSize(width, height), image.size());
  return image.convertToFormat(QImage::Format_RGB32);
}

class Answering : public CWnd {
  DECLARE_MESSAGE_MAP()
 public:
  CString text;

 protected:
  LRESULT OnTipRequest(WPARAM, LPARAM lParam) {
    reinterpret_cast<TIPREQUEST*>(lParam)->text = text;
    return 1;
  }
};
BEGIN_MESSAGE_MAP(Answering, CWnd)
ON_REGISTERED_MESSAGE(WM_TIP_REQUEST, OnTipRequest)
END_MESSAGE_MAP()

class TipPictureTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    zel_qt::InstallPresenter();
    scratch.emplace(8, 8, QImage::Format_ARGB32_Premultiplied);
    ASSERT_TRUE(window.CreateEx(0, "Answering", "", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300,
                                HWND(), HMENU()));
  }
  void TearDown() override {
    DestroyTipWind();
    window.DestroyWindow();
    zel_qt::UninstallPresenter();
  }
  static LOGFONT TipFont() {
    LOGFONT lf;
    SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    return lf;
  }
  static QImage Picture() {
    CTipWnd* tip = CTipWnd::GetTipWnd();
    QWidget* widget = tip ? zel_qt::WidgetOf(tip->m_hWnd) : nullptr;
    if (!widget || !widget->isVisible()) return QImage();
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  void Save(const QImage& image, const char* name) {
    if (const char* keep = std::getenv("ZEL_KEEP_PICTURES"))
      image.save(QString::fromStdString(std::string(keep) + "/" + name));
  }
  // The frame is black all round, and the colour is the tip's just inside it.
  static void ExpectFrameAndInside(const QImage& image) {
    const int w = image.width(), h = image.height();
    for (const QPoint& p : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1),
                            QPoint(w / 2, 0), QPoint(0, h / 2)})
      EXPECT_EQ(image.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 128));
    EXPECT_EQ(image.pixel(w - 2, h - 2), qRgb(255, 255, 128));
  }

  Answering window;
  // Made once the application runs: an image made before takes another resolution.
  std::optional<QImage> scratch;
};

TEST_F(TipPictureTest, AHoverTipIsTheTextAndItsMargins) {
  window.text = "Restriction site\tEcoRI";
  SetTipsTimeout(500);
  CPoint at(200, 200);
  CTipWnd::GetTipWnd()->TurnOn(&window, &at);
  const QImage image = Picture();
  ASSERT_FALSE(image.isNull());
  Save(image, "hover-tip.png");

  CQtDC dc(&*scratch);
  const LOGFONT lf = TipFont();
  HFONT font = dc.CreateFontIndirect(&lf);
  dc.SelectObject(ToGdiObj(font));
  TEXTMETRIC tm;
  ASSERT_TRUE(dc.GetTextMetrics(&tm));
  CRect text(0, 0, 0, 0);
  dc.DrawText(window.text, -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
  EXPECT_EQ(image.width(), text.Width() + 3 * tm.tmAveCharWidth);
  EXPECT_EQ(image.height(), text.Height() + tm.tmDescent + tm.tmDescent / 2 + 3);
  ExpectFrameAndInside(image);
  // Text is drawn inside: dark pixels where the first letters go.
  int ink = 0;
  for (int y = 1; y < image.height() - 1; ++y)
    for (int x = tm.tmAveCharWidth; x < 4 * tm.tmAveCharWidth; ++x)
      ink += qGray(image.pixel(x, y)) < 100;
  EXPECT_GT(ink, 10);
}

TEST_F(TipPictureTest, AMessageBoxTipIsItsLinesIconAndMargins) {
  ASSERT_EQ(TipsMessageBox(&window, "Sequence written\tto disk", "Saved", MB_ICONINFORMATION), 1);
  const QImage image = Picture();
  ASSERT_FALSE(image.isNull());
  Save(image, "message-box-tip.png");

  CQtDC dc(&*scratch);
  const int old = SetRTFLineMode(12);
  // Each line measured with the tip font selected, as the tip measures it.
  const LOGFONT tipFont = TipFont();
  const HFONT selected = dc.CreateFontIndirect(&tipFont);
  auto measure = [&](const char* markup, CRTFLineMetric& m) {
    dc.SelectObject(ToGdiObj(selected));
    LOGFONT lf = tipFont;
    return GetRTFLineMetrics(&dc, markup, &lf, &m);
  };
  CRTFLineMetric c, t;
  ASSERT_EQ(measure("\\b Saved", c), RTF_OK);
  ASSERT_EQ(measure("Sequence written\\tab to disk", t), RTF_OK);
  SetRTFLineMode(old);
  const CRect cb = c.m_rect, tb = t.m_rect;
  const int icon = GetSystemMetrics(SM_CXICON);
  EXPECT_EQ(image.width(), std::max<int>(cb.Width(), tb.Width() + icon / 2 + 10) + 20);
  EXPECT_EQ(image.height(), cb.Height() + std::max<int>(tb.Height(), icon) + 22);
  ExpectFrameAndInside(image);
  // The information icon's blue, at the text area's left below the caption.
  bool blue = false;
  for (int y = cb.Height(); y < image.height() && !blue; ++y)
    for (int x = 11; x < 11 + 16 && !blue; ++x)
      blue = qBlue(image.pixel(x, y)) > 150 && qRed(image.pixel(x, y)) < 100;
  EXPECT_TRUE(blue);
}

TEST_F(TipPictureTest, TheCommandWritesTheSamePicture) {
  const std::string png = tmp / "tip.png";
  zel_test::ZelResult r = RunZel("tip --caption Saved 'Sequence written' -o " + png);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const QImage image = WrittenPicture(r, png);
  ASSERT_FALSE(image.isNull());
  ExpectFrameAndInside(image);

  // The same tip in this process has the same size.
  ASSERT_EQ(TipsMessageBox(nullptr, "Sequence written", "Saved", MB_ICONINFORMATION), 1);
  EXPECT_EQ(Picture().size(), image.size());

  r = RunZel("tip --style 0x31 'Sure?' -o " + png);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("shows a message box, not a tip"), std::string::npos);
  EXPECT_EQ(RunZel("tip --style bogus x -o " + png).status, 2);
  EXPECT_EQ(RunZel("tip x -o " + (tmp / "tip.txt")).status, 2);
  EXPECT_EQ(RunZel("tip x -o " + (tmp / "missing/dir/tip.png")).status, 1);
}

TEST(GuiDemoTest, TheScreenshotShowsTheFrameItsMenusAndAHoverTip) {
  zel_test::TempDir tmp;
  const std::string png = tmp / "demo.png";
  zel_test::ZelResult r =
      zel_test::RunZel("gui-demo --screenshot " + png + " --quit-after 100", tmp.str());
  ASSERT_EQ(r.status, 0) << r.err;
  const QImage image = WrittenPicture(r, png);
  ASSERT_FALSE(image.isNull());
  // The frame's client area less the caption and border the desktop draws.
  const int b = GetSystemMetrics(SM_CXBORDER);
  EXPECT_EQ(image.size(), QSize(640 - 2 * b, 440 - 2 * b - GetSystemMetrics(SM_CYCAPTION)));
  int tip = 0, black = 0, band = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      tip += p == qRgb(255, 255, 128);
      black += p == qRgb(0, 0, 0);
      band += p == qRgb(214, 234, 248);
    }
  EXPECT_GT(tip, 1000);  // the hover tip's inside
  EXPECT_GT(black, 100);
  EXPECT_GT(band, 10000);
  EXPECT_EQ(zel_test::RunZel("gui-demo --quit-after 0", tmp.str()).status, 0);
  EXPECT_EQ(zel_test::RunZel("gui-demo --quit-after -5", tmp.str()).status, 2);
}

}  // namespace
