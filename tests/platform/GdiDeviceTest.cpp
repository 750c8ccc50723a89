// The device platform: rounded multiply-divide, the fixed-metrics device's numbers and
// record, objects, and the calls made of a device's primitives (formatted text, edges,
// frames, images).
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/user/gdi/FixedDC.h"
#include "platform/user/gdi/ImageList.h"
#include "platform/user/gdi/MulDiv.h"

namespace {

TEST(MulDivTest, RoundsHalvesAwayFromZeroAndFailsAsThePlatformDoes) {
  struct Case {
    int a, b, c, want;
  } cases[] = {
      {10, 96, 72, 13},
      {16, 7, 10, 11},
      {16, -1, 10, -2},
      {3, 1, 2, 2},
      {-3, 1, 2, -2},
      {3, -1, 2, -2},
      {-3, -1, 2, 2},
      {5, 1, -2, -3},
      {7, 5, 10, 4},
      {0, 5, 3, 0},
      {5, 1, 0, -1},
      {INT_MAX, 2, 1, -1},
      {INT_MIN, 1, 1, INT_MIN},
      {INT_MIN, -1, 1, -1},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {1 << 20, 1 << 20, 1 << 10, 1 << 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.a) + " * " + std::to_string(c.b) + " / " + std::to_string(c.c));
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.want);
  }
}

LOGFONT Font(LONG height, LONG width = 0, LONG weight = FW_NORMAL, BYTE italic = 0) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  SetFaceName(lf, "Arial");
  return lf;
}

TEST(FixedDeviceTest, MetricsFollowTheFontDescriptionByHand) {
  struct Case {
    LOGFONT font;
    int cell, advance, descent, c;
  } cases[] = {
      {Font(16), 16, 8, 3, 0},
      {Font(-13), 16, 8, 3, 0},
      {Font(-12), 15, 7, 3, 0},
      {Font(0), 16, 8, 3, 0},
      {Font(-1), 1, 0, 0, 0},
      {Font(20, 7), 20, 7, 4, 0},
      {Font(-13, 0, FW_BOLD), 16, 9, 3, 0},
      {Font(16, 0, 699), 16, 8, 3, 0},
      {Font(24, 0, FW_NORMAL, 1), 24, 12, 4, -3},
      {Font(7, 0, FW_NORMAL, 1), 7, 3, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("height " + std::to_string(c.font.lfHeight));
    CFixedDC dc;
    HFONT f = dc.CreateFontIndirect(&c.font);
    dc.SelectObject(ToGdiObj(f));
    TEXTMETRIC tm;
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, c.cell);
    EXPECT_EQ(tm.tmDescent, c.descent);
    EXPECT_EQ(tm.tmAscent, c.cell - c.descent);
    EXPECT_EQ(tm.tmAveCharWidth, c.advance);
    SIZE size;
    ASSERT_TRUE(dc.GetTextExtentPoint("abcde", 5, &size));
    EXPECT_EQ(size.cx, 5 * c.advance);
    EXPECT_EQ(size.cy, c.cell);
    ABC abc[3];
    ASSERT_TRUE(dc.GetCharABCWidths('x', 'z', abc));
    for (const ABC& w : abc) {
      EXPECT_EQ(w.abcA, 0);
      EXPECT_EQ(static_cast<int>(w.abcB), c.advance);
      EXPECT_EQ(w.abcC, c.c);
    }
  }
}

TEST(FixedDeviceTest, StartsAsDocumentedAndRecordsStateChangesInOrder) {
  CFixedDC dc;
  EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
  EXPECT_EQ(dc.GetTextColor(), 0x000000u);
  EXPECT_EQ(dc.GetBkColor(), 0xFFFFFFu);
  EXPECT_EQ(dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(dc.GetTextAlign(), TA_LEFT | TA_TOP);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
  EXPECT_EQ(dc.GetSelectedFontId(), 0);
  EXPECT_TRUE(SameLogFont(dc.GetSelectedFont(), StockSystemFont()));
  TEXTMETRIC tm;
  dc.GetTextMetrics(&tm);
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmWeight, FW_NORMAL);
  EXPECT_TRUE(dc.Events().empty());

  EXPECT_EQ(dc.SetTextColor(0x0000FF), 0u);
  EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
  EXPECT_EQ(dc.SetBkMode(7), 0) << "an unknown mode is refused";
  EXPECT_EQ(dc.SetTextAlign(TA_BOTTOM), TA_TOP);
  dc.TextOut(3, 4, "hi", 2);
  const auto& e = dc.Events();
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].op, DcEvent::kTextColor);
  EXPECT_EQ(e[1].op, DcEvent::kBkMode);
  EXPECT_EQ(e[2].op, DcEvent::kAlign);
  EXPECT_EQ(e[3].op, DcEvent::kText);
  EXPECT_EQ(e[3].x, 3);
  EXPECT_EQ(e[3].y, 4);
  EXPECT_EQ(e[3].text, "hi");
  EXPECT_EQ(e[3].fg, 0x0000FFu);
  EXPECT_EQ(e[3].bkMode, TRANSPARENT);
  EXPECT_STREQ(DcEventName(e[3].op), "text");
  EXPECT_EQ(CFixedDC(MM_LOMETRIC).Events().size(), 0u) << "the initial mapping mode is no call";
}

TEST(FixedDeviceTest, ObjectsHaveIdsAndSelectedOnesSurviveDeletion) {
  CFixedDC dc;
  LOGFONT lf = Font(-10);
  HFONT a = dc.CreateFontIndirect(&lf);
  HFONT b = dc.CreateFontIndirect(&lf);
  HPEN pen = dc.CreatePen(PS_SOLID, 2, 0x00FF00);
  HGDIOBJ stock = dc.SelectObject(ToGdiObj(a));
  EXPECT_EQ(stock, dc.GetStockObject(SYSTEM_FONT));
  EXPECT_FALSE(dc.DeleteObject(ToGdiObj(a))) << "a selected font stays";
  EXPECT_EQ(dc.SelectObject(ToGdiObj(b)), ToGdiObj(a));
  EXPECT_TRUE(dc.DeleteObject(ToGdiObj(a)));
  EXPECT_FALSE(dc.SelectObject(ToGdiObj(a))) << "a deleted font is unknown";
  EXPECT_TRUE(dc.DeleteObject(dc.GetStockObject(SYSTEM_FONT))) << "stock objects ignore it";
  dc.SelectObject(dc.GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(dc.GetSelectedFontId(), 0);
  EXPECT_FALSE(dc.SelectObject(HGDIOBJ(12345)));

  std::vector<std::pair<std::string, int>> seen;
  for (const DcEvent& e : dc.Events()) seen.emplace_back(DcEventName(e.op), e.id);
  const std::vector<std::pair<std::string, int>> want = {
      {"createfont", 1}, {"createfont", 2}, {"createpen", 1},  {"selectfont", 1}, {"deletefont", 1},
      {"selectfont", 2}, {"deletefont", 1}, {"deletefont", 0}, {"selectfont", 0}};
  EXPECT_EQ(seen, want);
  dc.SelectObject(ToGdiObj(pen));
  dc.MoveTo(1, 1);
  EXPECT_TRUE(dc.LineTo(5, 1));
}

// A fixed device that also keeps what its primitives were asked to draw.
class ProbeDC : public CFixedDC {
 public:
  struct Text {
    int x, y;
    UINT align;
    std::string text;
  };
  std::vector<Text> texts;
  std::vector<std::pair<RECT, COLORREF>> fills;

 protected:
  void DoTextOut(int x, int y, UINT align, UINT, const RECT*, const char* text, int count,
                 const int*) override {
    texts.push_back({x, y, align, std::string(text, count)});
  }
  void DoFillRect(const RECT& r, COLORREF c) override { fills.emplace_back(r, c); }
};

TEST(DeviceDrawTextTest, LinesPrefixesTabsAndAlignment) {
  ProbeDC dc;  // stock font: cell 16, advance 8
  RECT calc{10, 20, 10, 20};
  EXPECT_EQ(dc.DrawText("one\r\nthree&&x", -1, &calc, DT_CALCRECT), 32);
  EXPECT_EQ(calc.right, 10 + 7 * 8) << "\"&&\" is one character wide";
  EXPECT_EQ(calc.bottom, 52);
  EXPECT_TRUE(dc.texts.empty()) << "calculating draws nothing";

  RECT box{0, 0, 200, 40};
  dc.DrawText("&Open\tCtrl+O", -1, &box, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
  ASSERT_EQ(dc.texts.size(), 1u);
  EXPECT_EQ(dc.texts[0].text.substr(0, 4), "Open");
  EXPECT_EQ(dc.texts[0].text.find("Ctrl+O"), 8u) << "the tab reaches 8 average widths";
  EXPECT_EQ(dc.texts[0].y, 12);
  EXPECT_EQ(dc.texts[0].align, TA_LEFT | TA_TOP);
  ASSERT_EQ(dc.fills.size(), 1u) << "the mnemonic is underlined";
  EXPECT_EQ(dc.fills[0].first.left, 0);
  EXPECT_EQ(dc.fills[0].first.right, 8);
  EXPECT_EQ(dc.fills[0].first.top, 12 + 13 + 1);

  dc.texts.clear();
  dc.fills.clear();
  dc.DrawText("&Hide", -1, &box, DT_RIGHT | DT_HIDEPREFIX);
  ASSERT_EQ(dc.texts.size(), 1u);
  EXPECT_EQ(dc.texts[0].text, "Hide");
  EXPECT_EQ(dc.texts[0].x, 200 - 32);
  EXPECT_TRUE(dc.fills.empty());

  dc.texts.clear();
  RECT narrow{0, 0, 100, 100};
  EXPECT_EQ(dc.DrawText("alpha beta gamma delta", -1, &narrow, DT_WORDBREAK | DT_CENTER), 32);
  ASSERT_EQ(dc.texts.size(), 2u);
  EXPECT_EQ(dc.texts[0].text, "alpha beta");
  EXPECT_EQ(dc.texts[1].text, "gamma delta");
  EXPECT_EQ(dc.texts[1].y, 16);
  EXPECT_EQ(dc.texts[0].x, (100 - 80) / 2);
  EXPECT_EQ(dc.Events().back().op, DcEvent::kDrawText);
}

TEST(DeviceDrawTextTest, EtchedEdgeAndFrameAreOneUnitLinesInTheSystemColours) {
  ProbeDC dc;
  RECT r{0, 0, 20, 10};
  EXPECT_TRUE(dc.DrawEdge(&r, EDGE_ETCHED, BF_RECT | BF_ADJUST));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.bottom, 8);
  ASSERT_EQ(dc.fills.size(), 8u);
  // Sunken outside: dark top; raised inside: light top.
  EXPECT_EQ(dc.fills[0].second, dc.GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(dc.fills[0].first.bottom, 1);
  EXPECT_EQ(dc.fills[4].second, dc.GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(dc.fills[4].first.top, 1);

  dc.fills.clear();
  RECT line{0, 5, 30, 7};
  dc.DrawEdge(&line, EDGE_ETCHED, BF_TOP);
  EXPECT_EQ(dc.fills.size(), 2u) << "the etched line: a dark and a light one";
  EXPECT_EQ(line.top, 5) << "without BF_ADJUST the rectangle stays";

  dc.fills.clear();
  RECT frame{0, 0, 5, 5};
  EXPECT_TRUE(dc.FrameRect(&frame, dc.GetSysColorBrush(COLOR_WINDOWTEXT)));
  EXPECT_EQ(dc.fills.size(), 4u);
  HBRUSH red = dc.CreateSolidBrush(0x0000FF);
  EXPECT_TRUE(dc.FillRect(&frame, red));
  EXPECT_EQ(dc.fills.back().second, 0x0000FFu);
  EXPECT_FALSE(dc.FillRect(&frame, HBRUSH(999))) << "not a brush of this device";
}

TEST(ImageListTest, StripsSplitIntoImagesThatDevicesDraw) {
  CImageList list(2, 2);
  // Two 2x2 images side by side: red, then transparent.
  const uint32_t strip[] = {0xFFFF0000, 0xFFFF0000, 0, 0, 0xFFFF0000, 0xFFFF0000, 0, 0};
  EXPECT_EQ(list.AddStrip(strip, 4), 0);
  EXPECT_EQ(list.GetImageCount(), 2);
  EXPECT_EQ(list.Pixels(0), std::vector<uint32_t>(4, 0xFFFF0000));
  EXPECT_EQ(list.Pixels(1), std::vector<uint32_t>(4, 0));
  EXPECT_TRUE(list.Pixels(2).empty());
  CFixedDC dc;
  EXPECT_TRUE(list.Draw(&dc, 1, POINT{3, 4}, ILD_DISABLED));
  EXPECT_FALSE(list.Draw(&dc, 2, POINT{3, 4}, ILD_NORMAL));
  ASSERT_EQ(dc.Events().size(), 1u);
  EXPECT_EQ(dc.Events()[0].op, DcEvent::kImage);
  EXPECT_EQ(dc.Events()[0].flags, 1u);
  EXPECT_EQ(dc.Events()[0].value, static_cast<int>(ILD_DISABLED));
  EXPECT_TRUE(list.Remove(0));
  EXPECT_EQ(list.GetImageCount(), 1);
  EXPECT_FALSE(CImageList().Create(0, 5));
  EXPECT_EQ(CImageList().Add(strip), -1);
}

}  // namespace
