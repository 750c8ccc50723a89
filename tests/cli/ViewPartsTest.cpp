// zel view's parts with rules of their own, without a desktop: which tools run on which
// document, the recent files and placement in zel's store, the numbered menus, the status
// bar's texts, and the paged view reading only what it shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli/view/NumberedMenu.h"
#include "cli/view/PagedView.h"
#include "cli/view/StatusBar.h"
#include "cli/view/ToolInput.h"
#include "cli/view/ViewSettings.h"
#include "files/FileTypeIds.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/gdi/FixedDC.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/ScrollBars.h"
#include "platform/user/wnd/Window.h"
#include "tests/support/TestSupport.h"
#include "ui/TipWnd.h"

namespace {

using zel_cli::DocumentFacts;
using zel_cli::ToolInputFor;

TEST(ToolInputTest, EachInputTypeGetsTheDocumentOnlyInAFormItHas) {
  const DocumentFacts genbank{"x.gb", kGenBank, false};
  const DocumentFacts fastaProtein{"p.fa", kProteinFasta, true};
  const DocumentFacts embl{"e.embl", kEmbl, false};
  const DocumentFacts text{"notes.txt", 0, false};
  struct Case {
    int type;
    std::optional<DocumentFacts> doc;
    bool enabled, passFile;
    const char* prompt;  // a part of the prompt of a disabled tool
  };
  const Case cases[] = {
      {0, std::nullopt, true, false, ""},
      {7, std::nullopt, true, false, ""},
      {0, genbank, true, false, ""},
      {7, text, true, false, ""},
      {6, std::nullopt, false, false, "Open a document"},
      {6, text, true, true, ""},
      {6, genbank, true, true, ""},
      // One molecule in GenBank form, of nucleic acid.
      {4, genbank, true, true, ""},
      {9, genbank, true, true, ""},
      {4, embl, false, false, "needs a GenBank file; e.embl is a EMBL file"},
      {4, text, false, false, "notes.txt is no sequence file"},
      // One sequence as FASTA: the protein types want protein FASTA.
      {1, genbank, false, false, "needs a FASTA file"},
      {21, fastaProtein, true, true, ""},
      {30, fastaProtein, true, true, ""},
      {17, fastaProtein, false, false, "needs a FASTA file"},
      // The document's own kind decides for 34, 35, 39 and 43.
      {34, fastaProtein, true, true, ""},
      {39, genbank, true, true, ""},
      {39, fastaProtein, false, false, "needs a GenPept file"},
      {43, embl, true, true, ""},
      {13, embl, true, true, ""},
      {26, embl, false, false, "needs a SWISS-PROT file"},
      // Several molecules, the suite's own data: never from a viewer.
      {3, fastaProtein, false, false, "several sequences in FASTA format"},
      {10, genbank, false, false, "several molecules in GenBank format"},
      {45, embl, false, false, "several molecules in EMBL format"},
      {47, genbank, false, false, "a sequence view"},
      {50, genbank, false, false, "database list"},
      {51, genbank, false, false, "does not know"},
      {-1, genbank, false, false, "does not know"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("input type " + std::to_string(c.type) +
                 (c.doc ? " on " + c.doc->name : " without a document"));
    const zel_cli::ToolInput input = ToolInputFor(c.type, c.doc);
    EXPECT_EQ(input.enabled, c.enabled);
    EXPECT_EQ(input.passFile, c.passFile);
    if (c.enabled)
      EXPECT_EQ(input.prompt, "");
    else
      EXPECT_NE(input.prompt.find(c.prompt), std::string::npos) << input.prompt;
  }
}

class ViewSettingsTest : public zel_test::ZelTest {
 protected:
  CWinApp app{"zel"};
};

TEST_F(ViewSettingsTest, RecentFilesComeFirstOnceAndAtMostEight) {
  std::vector<std::string> list;
  for (int i = 1; i <= 10; ++i) list = zel_cli::WithRecent(list, "/d/" + std::to_string(i));
  ASSERT_EQ(list.size(), zel_cli::kMaxRecentFiles);
  EXPECT_EQ(list.front(), "/d/10");
  EXPECT_EQ(list.back(), "/d/3");
  // Opening one of the list again moves it to the top, without a second mention.
  list = zel_cli::WithRecent(list, "/d/5");
  EXPECT_EQ(list, (std::vector<std::string>{"/d/5", "/d/10", "/d/9", "/d/8", "/d/7", "/d/6", "/d/4",
                                            "/d/3"}));

  zel_cli::SaveRecentFiles(list);
  EXPECT_EQ(zel_cli::LoadRecentFiles(), list);
  EXPECT_EQ(app.GetProfileString("Recent File List", "File1", ""), "/d/5");
  EXPECT_EQ(app.GetProfileString("Recent File List", "File8", ""), "/d/3");
  // A shorter list leaves no entry of the longer one behind.
  zel_cli::SaveRecentFiles({"/d/a", "/d/b"});
  EXPECT_EQ(zel_cli::LoadRecentFiles(), (std::vector<std::string>{"/d/a", "/d/b"}));
  EXPECT_EQ(app.GetProfileString("Recent File List", "File3", "gone"), "gone");
}

TEST_F(ViewSettingsTest, OpenDocumentsAreReplacedWhole) {
  zel_cli::SaveOpenDocuments({"/a.gb", "/b.fa", "/c.embl"});
  EXPECT_EQ(app.GetProfileString("View", "Document2", ""), "/b.fa");
  zel_cli::SaveOpenDocuments({"/z.gb"});
  EXPECT_EQ(zel_cli::LoadOpenDocuments(), (std::vector<std::string>{"/z.gb"}));
  EXPECT_EQ(app.GetProfileString("View", "Document2", "gone"), "gone");
  zel_cli::SaveOpenDocuments({});
  EXPECT_TRUE(zel_cli::LoadOpenDocuments().empty());
}

TEST_F(ViewSettingsTest, PlacementIsFiveIntegersOfASensibleWindow) {
  struct Case {
    const char* text;
    bool valid;
  };
  const Case cases[] = {
      {"10,20,640,480,1", true},  {"-30,-4,800,600,3", true},  {"0,0,1,1,2", true},
      {"10,20,640,480", false},   {"10,20,640,480,1,", false}, {"10,20,0,480,1", false},
      {"10,20,640,480,4", false}, {"a,20,640,480,1", false},   {"", false},
      {"10, 20,640,480,1", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto p = zel_cli::ParsePlacement(c.text);
    ASSERT_EQ(p.has_value(), c.valid);
    if (p) {
      EXPECT_EQ(zel_cli::FormatPlacement(*p), c.text);
    }
  }
  zel_cli::SavePlacement({5, 6, 700, 500, 3});
  EXPECT_EQ(app.GetProfileString("View", "Placement", ""), "5,6,700,500,3");
  const auto loaded = zel_cli::LoadPlacement();
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->width, 700);
  EXPECT_EQ(loaded->state, 3);
}

TEST(NumberedMenuTest, TheFirstNineHaveDigitsAndAmpersandsAreShown) {
  std::vector<std::string> titles;
  for (int i = 1; i <= 11; ++i) titles.push_back("doc" + std::to_string(i) + ".gb");
  titles[1] = "R&D.gb - DNA/RNA Documents";
  const auto items = zel_cli::NumberedItems(titles, 0xFF00, 1);
  ASSERT_EQ(items.size(), 11u);
  EXPECT_EQ(items[0].text, "&1 doc1.gb");
  EXPECT_EQ(items[1].text, "&2 R&&D.gb - DNA/RNA Documents");
  EXPECT_EQ(items[8].text, "&9 doc9.gb");
  EXPECT_EQ(items[9].text, "10 doc10.gb");
  EXPECT_EQ(items[10].id, 0xFF00u + 10);
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].checked, i == 1) << i;
}

TEST(StatusTextTest, FieldsSayFormatProgressAndSize) {
  zel_view::DocumentState state;
  state.format = "GenBank";
  state.kind = "nucleic acid";
  state.counting = true;
  state.percent = 42;
  state.fileSize = 3 * 1024 * 1024 + 200 * 1024;
  EXPECT_EQ(zel_cli::FormatText(state), "GenBank, nucleic acid");
  EXPECT_EQ(zel_cli::LinesText(state), "Counting lines... 42%");
  EXPECT_EQ(zel_cli::SizeText(state), "3.2 MiB");
  state.counting = false;
  state.lines = 1234567;
  EXPECT_EQ(zel_cli::LinesText(state), "1,234,567 lines");
  state.lines = 1;
  EXPECT_EQ(zel_cli::LinesText(state), "1 line");
  state.kind = "";
  state.format = "Text";
  state.compression = "gzip";
  state.contentSize = 10 * 1024;
  state.fileSize = 999;
  EXPECT_EQ(zel_cli::FormatText(state), "Text (gzip)");
  EXPECT_EQ(zel_cli::SizeText(state), "999 bytes, 10.0 KiB unpacked");
  EXPECT_EQ(zel_cli::Grouped(0), "0");
  EXPECT_EQ(zel_cli::Grouped(1000), "1,000");
  EXPECT_EQ(zel_cli::Grouped(999999), "999,999");
}

TEST(StatusBarTest, EachFieldHasItsTipWithWhatItShows) {
  CWnd frame;
  ASSERT_TRUE(
      frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 0, 0, 900, 400, HWND(), HMENU()));
  zel_cli::StatusBar bar;
  ASSERT_TRUE(bar.Create(&frame));
  bar.SetField(zel_cli::kLinesField, "Counting lines... 7%");
  struct Case {
    zel_cli::StatusField field;
    const char* tip;  // the start of its tip
  };
  const Case cases[] = {{zel_cli::kMessageField, "Messages"},
                        {zel_cli::kFormatField, "The format and the kind"},
                        {zel_cli::kLinesField,
                         "The document's lines, counted in the background: "
                         "Counting lines... 7%"},
                        {zel_cli::kSizeField, "The document's size"}};
  std::set<unsigned long> ids;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tip);
    const RECT r = bar.FieldRect(c.field);
    ASSERT_LT(r.left, r.right);
    TIPREQUEST request;
    request.point = CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(bar.FieldAt(request.point), c.field);
    ASSERT_EQ(bar.SendMessage(WM_TIP_REQUEST, 0, reinterpret_cast<LPARAM>(&request)), 1);
    EXPECT_EQ(std::string(request.text.GetString()).rfind(c.tip, 0), 0u)
        << request.text.GetString();
    ids.insert(request.tipId);
  }
  EXPECT_EQ(ids.size(), 4u) << "fields share a tip id";
  // Fields lie side by side from the left, the size last at the right edge.
  CRect client;
  bar.GetClientRect(&client);
  EXPECT_EQ(bar.FieldRect(zel_cli::kSizeField).right, client.right);
  EXPECT_EQ(bar.FieldRect(zel_cli::kMessageField).left, 0);
  TIPREQUEST outside;
  outside.point = CPoint(client.right + 5, 2);
  EXPECT_EQ(bar.SendMessage(WM_TIP_REQUEST, 0, reinterpret_cast<LPARAM>(&outside)), 0);
}

TEST(ScrollMappingTest, PositionsCoverTheContentsWhateverTheirSize) {
  const zel_view::Offset big = 1ull << 40;  // a terabyte of contents
  EXPECT_EQ(zel_cli::ScrollPosOf(0, big), 0);
  EXPECT_EQ(zel_cli::ScrollPosOf(big, big), zel_cli::kScrollRange);
  EXPECT_EQ(zel_cli::ScrollPosOf(big / 2, big), zel_cli::kScrollRange / 2);
  EXPECT_EQ(zel_cli::OffsetOfScrollPos(zel_cli::kScrollRange / 4, big), big / 4);
  EXPECT_EQ(zel_cli::OffsetOfScrollPos(zel_cli::kScrollRange + 5, big), big);
  EXPECT_EQ(zel_cli::OffsetOfScrollPos(-3, big), 0u);
  EXPECT_EQ(zel_cli::ScrollPosOf(10, 0), 0);
}

// Lines "line N" of fixed length, counting what the view asks for.
class CountingDocument : public zel_view::Document {
 public:
  explicit CountingDocument(int64_t lines) : m_lines(lines) {}
  static constexpr zel_view::Offset kLength = 12;  // "line 0000001" and a line end

  const std::string& Path() const override { return m_path; }
  zel_view::DocumentState State() const override {
    zel_view::DocumentState s;
    s.counting = false;
    s.lines = m_lines;
    return s;
  }
  std::vector<zel_view::ShownLine> LinesFrom(zel_view::Offset start, size_t count) override {
    ++calls["LinesFrom"];
    std::vector<zel_view::ShownLine> lines;
    for (int64_t n = static_cast<int64_t>(start / (kLength + 1));
         n < m_lines && lines.size() < count; ++n)
      lines.push_back(Line(n));
    linesRead += lines.size();
    return lines;
  }
  std::vector<zel_view::ShownLine> LinesBefore(zel_view::Offset end, size_t count) override {
    ++calls["LinesBefore"];
    const int64_t last = static_cast<int64_t>((end + kLength) / (kLength + 1));
    std::vector<zel_view::ShownLine> lines;
    for (int64_t n = std::max<int64_t>(0, last - static_cast<int64_t>(count)); n < last; ++n)
      lines.push_back(Line(n));
    linesRead += lines.size();
    return lines;
  }
  std::optional<zel_view::Offset> LineStart(int64_t number) override {
    return static_cast<zel_view::Offset>(number) * (kLength + 1);
  }
  std::optional<int64_t> LineNumber(zel_view::Offset start) override {
    return static_cast<int64_t>(start / (kLength + 1));
  }
  zel_view::Offset ContentEnd() const override {
    return static_cast<zel_view::Offset>(m_lines) * (kLength + 1);
  }
  void Find(const std::string&, zel_view::Offset) override {}
  void CancelFind() override {}
  zel_view::FindState FindProgress() const override { return {}; }
  bool Reload(std::string*) override { return true; }

  std::map<std::string, int> calls;
  size_t linesRead = 0;

 private:
  zel_view::ShownLine Line(int64_t n) const {
    zel_view::ShownLine line;
    line.start = static_cast<zel_view::Offset>(n) * (kLength + 1);
    line.next = line.start + kLength + 1;
    char text[32];
    std::snprintf(text, sizeof text, "line %07lld", static_cast<long long>(n));
    line.text = text;
    line.number = n;
    return line;
  }
  std::string m_path = "/x/lines.txt";
  int64_t m_lines;
};

class PagedViewTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, HWND(), HMENU()));
    ASSERT_TRUE(view.Create(&parent, CRect(0, 0, 400, 160), 1));
  }
  // What the view draws of its whole client area, on the fixed-metrics device.
  std::vector<std::string> Paint() {
    CFixedDC dc;
    zel_wnd::PaintWindow(view.m_hWnd, &dc, RECT{0, 0, 400, 160});
    std::vector<std::string> texts;
    for (const DcEvent& e : dc.Events())
      if (e.op == DcEvent::kText) texts.push_back(e.text);
    return texts;
  }

  CountingDocument doc{1'000'000};
  CWnd parent;
  zel_cli::PagedView view{doc};
};

TEST_F(PagedViewTest, APaintReadsOnlyTheLinesOnScreen) {
  const int rows = view.Rows();
  ASSERT_GT(rows, 3);
  doc.linesRead = 0;
  const std::vector<std::string> drawn = Paint();
  // The rows that fit, and the one cut by the bottom edge.
  ASSERT_GE(drawn.size(), static_cast<size_t>(rows));
  EXPECT_LE(drawn.size(), static_cast<size_t>(rows) + 1);
  EXPECT_EQ(drawn.front(), "line 0000000");
  EXPECT_EQ(drawn[3], "line 0000003");
  EXPECT_LE(doc.linesRead, static_cast<size_t>(rows) + 1);
}

TEST_F(PagedViewTest, KeysMoveByLinesPagesAndToTheEnds) {
  const int rows = view.Rows();
  const zel_view::Offset line = CountingDocument::kLength + 1;
  struct Step {
    UINT key;
    bool control;
    zel_view::Offset top;
  };
  const zel_view::Offset lastTop = (1'000'000 - static_cast<zel_view::Offset>(rows)) * line;
  const Step steps[] = {
      {VK_DOWN, false, line},
      {VK_DOWN, false, 2 * line},
      {VK_UP, false, line},
      {VK_NEXT, false, line + static_cast<zel_view::Offset>(rows - 1) * line},
      {VK_PRIOR, false, line},
      {VK_UP, false, 0},
      {VK_UP, false, 0},  // nothing above the first line
      {VK_END, true, lastTop},
      {VK_DOWN, false, lastTop},  // the last line ends the last page
      {VK_HOME, true, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE("key " + std::to_string(s.key));
    EXPECT_TRUE(view.HandleKey(s.key, s.control));
    EXPECT_EQ(view.Top(), s.top);
  }
  // Ctrl+End reads backwards from the end: no walk through a million lines.
  doc.linesRead = 0;
  view.HandleKey(VK_END, true);
  EXPECT_LE(doc.linesRead, static_cast<size_t>(rows) + 1);
  const std::vector<std::string> drawn = Paint();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back(), "line 0999999");
}

TEST_F(PagedViewTest, ClickAndShiftClickSelectWholeLinesForCopy) {
  EXPECT_FALSE(view.HasSelection());
  EXPECT_EQ(view.SelectedText(1000), "");
  const int height = 160 / view.Rows();
  view.SendMessage(WM_LBUTTONDOWN, 0, LParamOfPoint(POINT{5, 3 * height + 1}));
  ASSERT_TRUE(view.HasSelection());
  EXPECT_EQ(view.SelectedText(1000), "line 0000003\n");
  // Shift extends from the first click, either way.
  view.SendMessage(WM_LBUTTONDOWN, MK_SHIFT, LParamOfPoint(POINT{5, 1 * height + 1}));
  EXPECT_EQ(view.SelectedText(1000), "line 0000001\nline 0000002\nline 0000003\n");
  EXPECT_EQ(view.SearchStart(), CountingDocument::kLength + 1);
  // A plain click starts again.
  view.SendMessage(WM_LBUTTONDOWN, 0, LParamOfPoint(POINT{5, 0}));
  EXPECT_EQ(view.SelectedText(1000), "line 0000000\n");
  // A long selection stops at the limit.
  view.ShowLine(0);
  view.HandleKey(VK_END, true);
  view.SendMessage(WM_LBUTTONDOWN, MK_SHIFT, LParamOfPoint(POINT{5, 0}));
  EXPECT_LE(view.SelectedText(100).size(), 100u + CountingDocument::kLength + 1);
}

TEST_F(PagedViewTest, TheWheelScrollsThreeLinesANotch) {
  const zel_view::Offset line = CountingDocument::kLength + 1;
  view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(view.Top(), 3 * line);
  view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 40), 0);
  EXPECT_EQ(view.Top(), 2 * line);
  view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
  EXPECT_EQ(view.Top(), 0u);
}

TEST_F(PagedViewTest, TheScrollBarMapsTheContentsAndItsThumbMovesTheView) {
  const zel_view::Offset line = CountingDocument::kLength + 1;
  EXPECT_EQ(::GetScrollPos(view.m_hWnd, SB_VERT), 0);
  view.HandleKey(VK_END, true);
  Paint();  // the page's share of the contents is known once it is shown
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(::GetScrollInfo(view.m_hWnd, SB_VERT, &info));
  EXPECT_EQ(info.nMax, zel_cli::kScrollRange);
  EXPECT_GE(info.nPage, 1u);
  EXPECT_NEAR(info.nPos + static_cast<int>(info.nPage), zel_cli::kScrollRange, 2);

  // The thumb let go in the middle: the line there comes first.
  zel_wnd::TrackScroll(view.m_hWnd, SB_VERT, zel_cli::kScrollRange / 2, false);
  view.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0));
  EXPECT_EQ(view.Top() % line, 0u) << "not the start of a line";
  EXPECT_NEAR(static_cast<double>(view.Top()), doc.ContentEnd() / 2.0, line);
  EXPECT_NEAR(::GetScrollPos(view.m_hWnd, SB_VERT), zel_cli::kScrollRange / 2, 2);
  // Dragged to the very end, the last page stays full.
  zel_wnd::TrackScroll(view.m_hWnd, SB_VERT, zel_cli::kScrollRange, true);
  view.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0));
  EXPECT_EQ(view.Top(), (1'000'000 - static_cast<zel_view::Offset>(view.Rows())) * line);

  struct Step {
    UINT code;
    zel_view::Offset top;
  };
  const zel_view::Offset pageDown = static_cast<zel_view::Offset>(view.Rows() - 1) * line;
  const Step steps[] = {
      {SB_TOP, 0},
      {SB_LINEDOWN, line},
      {SB_PAGEDOWN, line + pageDown},
      {SB_PAGEUP, line},
      {SB_LINEUP, 0},
      {SB_BOTTOM, (1'000'000 - static_cast<zel_view::Offset>(view.Rows())) * line}};
  for (const Step& s : steps) {
    SCOPED_TRACE("request " + std::to_string(s.code));
    view.SendMessage(WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(s.code), 0));
    EXPECT_EQ(view.Top(), s.top);
  }
}

}  // namespace
