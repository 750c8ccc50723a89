// Lines measured and drawn on the fixed-metrics device, where every number can be worked
// out by hand: the caller's font is Arial of character height 13, a cell of 16 and the
// base height; the device starts with its stock font (cell 16, advance 8).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/richtext/RichTextFixture.h"

namespace zel_test {
namespace {

struct Rect {
  LONG l, t, r, b;
  friend bool operator==(const Rect&, const Rect&) = default;
};
Rect R(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.l << ", " << r.t << ", " << r.r << ", " << r.b << ")";
}

using Points = std::vector<std::pair<LONG, LONG>>;
Points Positions(const CRTFLineMetric& m) {
  Points out;
  for (int i = 0; i < m.m_nCount; ++i) out.emplace_back(m.m_pPositions[i].x, m.m_pPositions[i].y);
  return out;
}

class RichTextLineTest : public RichTextTest {
 protected:
  Rect Measure(const std::string& text, int mapMode = MM_TEXT, LOGFONT lf = Font()) {
    CFixedDC dc(mapMode);
    RECT r{9, 9, 9, 9};
    int value = 7;
    MeasureRTFLine(&dc, text.c_str(), &lf, &r, &value);
    EXPECT_EQ(value, 0);
    return R(r);
  }
  int Metrics(const std::string& text, CRTFLineMetric& m, int mapMode = MM_TEXT,
              LOGFONT lf = Font()) {
    CFixedDC dc(mapMode);
    return GetRTFLineMetrics(&dc, text.c_str(), &lf, &m);
  }
};

TEST_F(RichTextLineTest, EmptyAndPlainLines) {
  EXPECT_EQ(Measure(""), (Rect{0, 0, 0, 0}));
  CRTFLineMetric empty;
  EXPECT_EQ(Metrics("", empty), RTF_OK);
  EXPECT_EQ(R(empty.m_rect), (Rect{0, 0, 1, 1}));
  EXPECT_EQ(empty.m_nCount, 0);
  EXPECT_EQ(empty.m_pPositions, nullptr);

  EXPECT_EQ(Measure("abc"), (Rect{0, -16, 24, 0}));
  CRTFLineMetric m;
  EXPECT_EQ(Metrics("abc", m), RTF_OK);
  EXPECT_EQ(R(m.m_rect), (Rect{0, 0, 24, 16}));
  EXPECT_EQ(Positions(m), (Points{{0, 0}}));
  EXPECT_EQ(m.m_pExtents[0].x, 24);
  EXPECT_EQ(m.m_pExtents[0].y, -16);
  // Measuring again replaces what the object held.
  EXPECT_EQ(Metrics("", m), RTF_OK);
  EXPECT_EQ(m.m_nCount, 0);
  EXPECT_EQ(m.m_pExtents, nullptr);
}

TEST_F(RichTextLineTest, SuperscriptsRiseAndSubscriptsSinkBelowTheBottom) {
  // super: size 7 (11) and 3 up (16 * 2 / 10 rounded); sub: size 7 and 2 down.
  EXPECT_EQ(Measure("a{\\super b}"), (Rect{0, -16, 13, 0}));
  EXPECT_EQ(Measure("a{\\sub b}"), (Rect{0, -16, 13, 2}));
  CRTFLineMetric up, down;
  Metrics("a{\\super b}c", up);
  EXPECT_EQ(R(up.m_rect), (Rect{0, 0, 21, 16}));
  EXPECT_EQ(Positions(up), (Points{{0, 0}, {8, 3}, {13, 0}}));
  Metrics("a{\\sub b}", down);
  EXPECT_EQ(R(down.m_rect), (Rect{0, 0, 13, 18}));
  EXPECT_EQ(Positions(down), (Points{{0, 2}, {8, 0}}));

  // With y upwards the rectangle grows the other way and keeps a positive height; the
  // metric comes out the same.
  EXPECT_EQ(Measure("a{\\sub b}", MM_LOMETRIC), (Rect{0, 16, 13, -2}));
  CRTFLineMetric yUp;
  Metrics("a{\\sub b}", yUp, MM_LOMETRIC);
  EXPECT_EQ(R(yUp.m_rect), R(down.m_rect));
  EXPECT_EQ(Positions(yUp), Positions(down));
}

TEST_F(RichTextLineTest, FortyRunsAtMost) {
  std::string text;
  for (int i = 0; i < 41; ++i) text += (i % 2 ? "\\b0 x" : "\\b x");
  CRTFLineMetric m;
  EXPECT_EQ(Metrics(text, m), RTF_TOO_MANY_RUNS);
  EXPECT_EQ(m.m_nCount, 40);
  EXPECT_EQ(m.m_pPositions[39].x, 20 * 9 + 19 * 8) << "runs alternate bold (9) and plain (8)";
  EXPECT_EQ(Metrics(text.substr(0, text.size() - 5), m), RTF_OK);
}

TEST_F(RichTextLineTest, TabsGoToTheNextStopOrHalfTheBaseHeight) {
  int stops[] = {50, 100};
  SetRTFLineTabStops(2, stops, nullptr, nullptr);
  struct Case {
    int before;  // characters of 8 before the tab
    LONG x;
  } cases[] = {{0, 50}, {3, 50}, {8, 100}, {15, 128}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    CRTFLineMetric m;
    Metrics(std::string(c.before, 'a') + "\\tab x", m);
    ASSERT_EQ(m.m_nCount, c.before ? 2 : 1);
    EXPECT_EQ(m.m_pPositions[m.m_nCount - 1].x, c.x);
  }
  // Drawn directly, stops count from the rectangle's left.
  CFixedDC dc;
  LOGFONT lf = Font();
  RECT r{1000, 0, 0, 40};
  DrawRTFLine(&dc, "aaa\\tab x", &lf, &r, 0);
  LONG lastX = -1;
  for (const DcEvent& e : dc.Events())
    if (e.op == DcEvent::kText) lastX = e.x;
  EXPECT_EQ(lastX, 1050);
  int count = 0;
  int* previous = nullptr;
  SetRTFLineTabStops(0, nullptr, &count, &previous);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(previous, stops);
  CRTFLineMetric m;
  Metrics("\\tab x", m);
  EXPECT_EQ(m.m_pPositions[0].x, 8) << "no stops: half the base height";
}

TEST_F(RichTextLineTest, NewLinesAndVerticalTextMoveDownByTheFontHeight) {
  CRTFLineMetric m;
  Metrics("ab\\line cd", m);
  EXPECT_EQ(R(m.m_rect), (Rect{0, 0, 16, 32}));
  EXPECT_EQ(Positions(m), (Points{{0, 16}, {0, 0}}));
  EXPECT_EQ(Measure("ab\\line cd"), (Rect{0, -16, 16, 16}));
  // The pending size decides the step, before any character of it.
  EXPECT_EQ(Measure("a\\fs32\\line b"), (Rect{0, -16, 13, 26}));
  EXPECT_EQ(Measure("\\dir1 ab"), (Rect{0, -16, 8, 16}));
  Metrics("\\dir1 ab", m);
  EXPECT_EQ(Positions(m), (Points{{0, 16}, {0, 0}}));
}

TEST_F(RichTextLineTest, ACharacterHeightComesBackAsTheCellHeightOnABorrowedFont) {
  CFixedDC dc;
  LOGFONT lf = Font(-12);
  RECT r;
  int value;
  MeasureRTFLine(&dc, "x", &lf, &r, &value);
  EXPECT_EQ(lf.lfHeight, 15);
  std::vector<std::pair<std::string, int>> seen;
  for (const DcEvent& e : dc.Events()) seen.emplace_back(DcEventName(e.op), e.id);
  const std::vector<std::pair<std::string, int>> want = {
      {"createfont", 1}, {"selectfont", 1}, {"selectfont", 0}, {"deletefont", 1}, {"bkmode", 0}};
  EXPECT_EQ(seen, want);
  EXPECT_EQ(dc.Events()[0].font.lfHeight, -12);
  EXPECT_EQ(dc.Events()[4].value, OPAQUE) << "the end of a line restores the background mode";
}

TEST_F(RichTextLineTest, DeviceBaseHeightAndWidthRules) {
  SetRTFLineMode(RTF_MODE_TRUETYPE | RTF_MODE_DEVICE_BASE);
  const std::vector<DcEvent> texts = Draw("\\fs24 x");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font.lfHeight, 16) << "13 * 12 / 10 rounded";

  struct Case {
    int mode;
    bool metric;
    LONG width;
  } cases[] = {{RTF_MODE_TRUETYPE, true, 10},
               {RTF_MODE_TRUETYPE, false, 0},
               {RTF_MODE_TRUETYPE | RTF_MODE_NO_WIDTH, true, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    SetRTFLineMode(c.mode);
    CFixedDC dc;
    LOGFONT lf = Font(16);
    lf.lfWidth = 7;
    CRTFLineMetric m;
    RECT r;
    int value;
    if (c.metric)
      GetRTFLineMetrics(&dc, "\\fs28 x", &lf, &m);
    else
      MeasureRTFLine(&dc, "\\fs28 x", &lf, &r, &value);
    ASSERT_EQ(dc.Events()[0].op, c.metric ? DcEvent::kBkMode : DcEvent::kCreateFont);
    const DcEvent& created = dc.Events()[c.metric ? 1 : 0];
    EXPECT_EQ(created.font.lfHeight, 22);
    EXPECT_EQ(created.font.lfWidth, c.width) << "7 scaled by 22 / 16";
    EXPECT_EQ(lf.lfWidth, 7) << "the caller's description keeps its width";
  }
}

TEST_F(RichTextLineTest, OverhangsWidenRunsOnlyForTrueTypeFaces) {
  EXPECT_EQ(Measure("\\i x").r, 8 + 2) << "C of an italic 16 is -2";
  SetRTFLineMode(RTF_MODE_TRUETYPE | RTF_MODE_FIXED_OVERHANG);
  CRTFLineMetric m;
  Metrics("\\i x", m, MM_TEXT, Font(40));
  EXPECT_EQ(m.m_pPositions[0].x, 2);
  EXPECT_EQ(m.m_rect.right, 20 + 2 + 2);
  SetRTFLineMode(0);
  EXPECT_EQ(Measure("\\i x").r, 8);
}

TEST_F(RichTextLineTest, TheLineLeavesTheStockFontAndItsModeBits) {
  CFixedDC dc;
  LOGFONT lf = Font();
  RECT r{0, 0, 100, 30};
  EXPECT_EQ(DrawRTFLine(&dc, "a\\b b", &lf, &r, 4), RTF_OK);
  EXPECT_EQ(dc.GetSelectedFontId(), 0);
  const auto& e = dc.Events();
  ASSERT_GE(e.size(), 3u);
  EXPECT_EQ(e[e.size() - 3].op, DcEvent::kSelectFont);
  EXPECT_EQ(e[e.size() - 2].op, DcEvent::kDeleteFont);
  EXPECT_EQ(e[e.size() - 1].op, DcEvent::kBkMode);
  // Each run drawn from its left bottom, the alignment put back around it.
  std::vector<std::string> around;
  for (const DcEvent& ev : e)
    if (ev.op == DcEvent::kAlign || ev.op == DcEvent::kText)
      around.push_back(ev.op == DcEvent::kText ? "text" : std::to_string(ev.value));
  EXPECT_EQ(around, (std::vector<std::string>{"8", "text", "0", "8", "text", "0"}));
  EXPECT_EQ(e[5].y, 26) << "bottom minus the shift";
  EXPECT_EQ(SetRTFLineMode(RTF_MODE_TRUETYPE), RTF_MODE_TRUETYPE | RTF_MODE_DRAWING);

  CRTFLineMetric m;
  GetRTFLineMetrics(&dc, "x", &lf, &m);
  EXPECT_EQ(SetRTFLineMode(RTF_MODE_TRUETYPE), RTF_MODE_TRUETYPE | RTF_MODE_METRIC);
  RTFLineOut(&dc, "x", &lf, &m);
  EXPECT_EQ(SetRTFLineMode(RTF_MODE_TRUETYPE),
            RTF_MODE_TRUETYPE | RTF_MODE_METRIC | RTF_MODE_DRAWING);
}

// Counts the strings the line asks the device to measure, one per run.
class MeasuredRunsDC : public CFixedDC {
 public:
  std::vector<std::string> measured;

 protected:
  SIZE DoTextExtent(const char* text, int count) override {
    measured.emplace_back(text, count);
    return CFixedDC::DoTextExtent(text, count);
  }
};

TEST_F(RichTextLineTest, MetricsSplitRunsAtColoursSoTheyDrawWhole) {
  const char* text = "ab\\cf2 cd\\cf1 e";
  MeasuredRunsDC plain;
  LOGFONT lf = Font();
  RECT r;
  int value;
  MeasureRTFLine(&plain, text, &lf, &r, &value);
  EXPECT_EQ(plain.measured, (std::vector<std::string>{"abcde"}));

  MeasuredRunsDC dc;
  CRTFLineMetric m;
  EXPECT_EQ(GetRTFLineMetrics(&dc, text, &lf, &m), RTF_OK);
  EXPECT_EQ(dc.measured, (std::vector<std::string>{"ab", "cd", "e"}));
  m.m_rect = RECT{100, 200 - m.m_rect.bottom, 100 + m.m_rect.right, 200};
  CFixedDC out;
  EXPECT_EQ(RTFLineOut(&out, text, &lf, &m), RTF_OK);
  std::vector<std::pair<LONG, COLORREF>> drawn;
  for (const DcEvent& e : out.Events())
    if (e.op == DcEvent::kText) drawn.emplace_back(e.x, e.fg);
  EXPECT_EQ(drawn, (std::vector<std::pair<LONG, COLORREF>>{
                       {100, 0x000000}, {116, 0xFF0000}, {132, 0x000000}}));
  EXPECT_EQ(out.Events().front().op, DcEvent::kBkMode);
  EXPECT_EQ(out.Events().front().value, TRANSPARENT);

  // Drawing a line with more runs than the metric holds draws what it can.
  CRTFLineMetric shorter;
  GetRTFLineMetrics(&dc, "ab", &lf, &shorter);
  CFixedDC more;
  EXPECT_EQ(RTFLineOut(&more, "ab\\b cd", &lf, &shorter), RTF_TOO_MANY_GROUPS);
  int texts = 0;
  for (const DcEvent& e : more.Events()) texts += e.op == DcEvent::kText;
  EXPECT_EQ(texts, 1);
}

TEST_F(RichTextLineTest, RunStartsIndexTheTextWhereEachRunBegins) {
  struct Case {
    const char* text;
    std::vector<int> starts;
  } cases[] = {
      {"ab\\b cd\\i ef", {0, 5, 10}},
      {"\\b ab", {3}},
      {"a\\tab b\\tab c", {0, 6, 12}},
      {"{\\v hidden}x\\b y", {4, 15}},  // hidden bytes count as written
      {"\\chbul x", {7}},               // a string's characters are not the text's
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CFixedDC dc;
    LOGFONT lf = Font();
    CRTFLineMetric m;
    int starts[RTF_MAX_RUNS + 1];
    std::fill(std::begin(starts), std::end(starts), -1);
    GetRTFLineMetricsEx(&dc, c.text, &lf, &m, starts);
    std::vector<int> got;
    for (int s : starts)
      if (s >= 0) got.push_back(s);
    EXPECT_EQ(got, c.starts);
  }
}

TEST_F(RichTextLineTest, MissingDeviceOrFontDoesNothing) {
  LOGFONT lf = Font();
  RECT r{1, 2, 3, 4};
  int value = 5;
  CRTFLineMetric m;
  EXPECT_EQ(MeasureRTFLine(nullptr, "x", &lf, &r, &value), RTF_OK);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(R(r), (Rect{1, 2, 3, 4}));
  CFixedDC dc;
  EXPECT_EQ(GetRTFLineMetrics(&dc, "x", nullptr, &m), RTF_OK);
  EXPECT_EQ(RTFLineOut(&dc, "x", &lf, nullptr), RTF_OK);
  EXPECT_TRUE(dc.Events().empty());
  EXPECT_EQ(Measure(std::string()), (Rect{0, 0, 0, 0}));
}

// A fixed device that notes how it was told to read the bytes of each text it measured.
class ReadingDC : public CFixedDC {
 public:
  std::vector<TextBytes> read;

 protected:
  SIZE DoTextExtent(const char* text, int count) override {
    read.push_back(GetTextBytes());
    return CFixedDC::DoTextExtent(text, count);
  }
};

TEST_F(RichTextLineTest, TheWholeLineDecidesHowItsBytesRead) {
  constexpr TextBytes kUtf8 = TextBytes::kUtf8, k1252 = TextBytes::kWindows1252;
  const struct {
    const char* text;
    TextBytes expected;
  } cases[] = {
      // UTF-8 words around a bullet the markup makes: every run reads UTF-8.
      {"caf\xC3\xA9 {\\b na\xC3\xAFve} \\bullet  caf\xC3\xA9", kUtf8},
      {"caf\xE9 {\\b na\xEFve}", k1252},
      {"na\xC3\xAFve {\\b caf\xE9}", k1252},  // one Windows-1252 byte decides for all
      {"plain", k1252},                       // no multi-byte sequence
      {"\\ldblquote caf\xC3\xA9\\rdblquote \\emdash", kUtf8},
      // Symbol faces show their own table's bytes: no text of the writer's.
      {"caf\xC3\xA9 {\\f1 \xB7} caf\xC3\xA9", kUtf8},
      {"caf\xC3\xA9 \\chbul  \\chcdbox ", kUtf8},
      // Hidden text is never handed on.
      {"{\\v \xE9}caf\xC3\xA9", kUtf8},
      // A word or a tab inside a sequence breaks it.
      {"\xC3\\bullet \xA9", k1252},
      {"\xC3\\tab \xA9", k1252},
      {"caf\xC3", k1252},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ReadingDC dc;
    LOGFONT lf = Font();
    RECT r;
    MeasureRTFLine(&dc, c.text, &lf, &r, nullptr);
    ASSERT_FALSE(dc.read.empty());
    for (TextBytes read : dc.read) EXPECT_EQ(read, c.expected);
    EXPECT_EQ(dc.GetTextBytes(), TextBytes::kEachCall) << "put back after the line";
  }
}

}  // namespace
}  // namespace zel_test
