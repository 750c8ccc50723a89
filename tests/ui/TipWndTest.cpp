// Tips headless, on exact times and the fixed metrics: the icon-title font (Tahoma -12)
// measures a cell of 15, an advance of 7 and a descent of 3, so a hover tip of n
// characters is 7n + 21 wide and 15 + 3 + 1 + 3 = 22 high; the full-screen client area is
// 1024 x 748.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/base/string/StringResources.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/gdi/FixedDC.h"
#include "platform/user/input/Input.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/Window.h"
#include "richtext/RichTextLine.h"
#include "tests/support/ScriptedInput.h"
#include "tests/support/TestSupport.h"
#include "ui/TipWnd.h"

namespace {

// A top-level window at (100, 100), 300 by 200, that answers tip requests as told.
class TipSource : public CWnd {
  DECLARE_MESSAGE_MAP()
 public:
  LRESULT answer = 1;
  CString text = "Hello";
  UINT stringId = 0;
  unsigned long tipId = 7;
  BOOL recheck = TRUE;
  TIPSIZEPROC sizeProc = nullptr;
  std::vector<CPoint> asked;    // client coordinates of each request
  std::vector<CPoint> clicked;  // where left clicks came
  bool Make(int x = 100, int y = 100, int cx = 300, int cy = 200) {
    return CreateEx(0, "TipSource", "", WS_POPUP | WS_VISIBLE, x, y, cx, cy, HWND(), HMENU());
  }

 protected:
  LRESULT OnTipRequest(WPARAM, LPARAM lParam) {
    auto* request = reinterpret_cast<TIPREQUEST*>(lParam);
    // The defaults a window finds in a request.
    EXPECT_EQ(request->offset, CPoint(0, 19));
    EXPECT_EQ(request->background, RGB(255, 255, 128));
    EXPECT_TRUE(request->text.IsEmpty());
    asked.push_back(request->point);
    request->text = text;
    request->stringId = stringId;
    request->tipId = tipId;
    request->recheck = recheck;
    request->sizeProc = sizeProc;
    request->data = this;
    return answer;
  }
  LRESULT OnLButtonDown(WPARAM, LPARAM lParam) {
    clicked.push_back(PointOfLParam(lParam));
    return 0;
  }
};
BEGIN_MESSAGE_MAP(TipSource, CWnd)
ON_REGISTERED_MESSAGE(WM_TIP_REQUEST, OnTipRequest)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_MAP()

class TipWndTest : public zel_test::ZelTest {
 protected:
  TipWndTest() { m_scope.Use(&input); }
  ~TipWndTest() override {
    DestroyTipWind();
    AfxSetThreadMainWnd(nullptr);
  }
  void SetUp() override {
    ASSERT_TRUE(source.Make());
    SetTipsTimeout(500);
    ASSERT_NE(Tip(), nullptr);
  }
  static CTipWnd* Tip() { return CTipWnd::GetTipWnd(); }
  static bool Shown() { return Tip() && Tip()->IsWindowVisible(); }
  static CRect TipRect() {
    CRect r;
    Tip()->GetWindowRect(&r);
    return r;
  }
  void At(int x, int y) { input.SetCursorPos(POINT{x, y}); }
  void Tick(DWORD now) {
    input.SetTickCount(now);
    KeepTipsAlive();
  }
  // Rests the pointer at (x, y) from time t until the tip shows at t + 500.
  void ShowAt(int x, int y, DWORD t) {
    At(x, y);
    Tick(t);
    Tick(t + 500);
    ASSERT_TRUE(Shown());
  }
  // The hover tip painted on a fixed-metrics device.
  std::vector<DcEvent> Paint() {
    CFixedDC dc;
    CRect client;
    Tip()->GetClientRect(&client);
    zel_wnd::PaintWindow(Tip()->m_hWnd, &dc, client);
    return dc.Events();
  }

  zel_test::ScriptedInput input;
  TipSource source;

 private:
  zel_test::IntegrationScope m_scope;
};

TEST_F(TipWndTest, TheDelayIsWaitedAndMovingRestartsIt) {
  At(150, 150);
  Tick(1000);
  Tick(1499);  // 499 ms of rest
  EXPECT_FALSE(Shown());
  At(151, 150);  // one pixel restarts the wait
  Tick(1499);
  Tick(1998);
  EXPECT_FALSE(Shown());
  EXPECT_TRUE(source.asked.empty());
  Tick(1999);
  ASSERT_TRUE(Shown());
  EXPECT_TRUE(Tip()->IsActive());
  ASSERT_EQ(source.asked.size(), 1u);
  EXPECT_EQ(source.asked[0], CPoint(51, 50));
  // Below the pointer by the offset, sized to "Hello".
  EXPECT_EQ(TipRect(), CRect(151, 169, 151 + 56, 169 + 22));
  EXPECT_EQ(Tip()->GetTipOwner()->m_hWnd, source.m_hWnd);
  EXPECT_EQ(GetWindowLongPtr(Tip()->m_hWnd, GWLP_HWNDPARENT),
            static_cast<LONG_PTR>(source.m_hWnd.value));
  // Shown once per resting place.
  Tick(5000);
  EXPECT_EQ(source.asked.size(), 1u);
}

TEST_F(TipWndTest, HeldKeysStopTheWaitAndRemoveATipAfterItsHold) {
  At(150, 150);
  input.SetDown(VK_SHIFT, true);
  Tick(1000);
  Tick(1600);
  EXPECT_FALSE(Shown());
  input.SetDown(VK_SHIFT, false);
  ShowAt(160, 150, 2000);  // moved at 2000, shown at 2500
  input.SetDown(VK_CONTROL, true);
  Tick(3499);  // 1499 ms after the pointer stopped: still held
  EXPECT_TRUE(Shown());
  Tick(3500);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(Tip()->IsActive());
  EXPECT_EQ(GetWindowLongPtr(Tip()->m_hWnd, GWLP_HWNDPARENT), 0);
}

TEST_F(TipWndTest, AMovedPointerKeepsTheTipOnlyOverTheSameItem) {
  ShowAt(150, 150, 1000);
  At(170, 150);
  Tick(2499);  // within the hold nothing is looked at
  EXPECT_EQ(source.asked.size(), 1u);
  Tick(2500);  // same text and id: kept, the new place remembered
  EXPECT_TRUE(Shown());
  EXPECT_EQ(source.asked.size(), 2u);
  Tick(2600);  // not moved since: nothing asked
  EXPECT_EQ(source.asked.size(), 2u);
  source.tipId = 8;
  At(180, 150);
  Tick(2700);
  EXPECT_FALSE(Shown());

  // An answer without re-checking: a moved pointer ends the tip unasked.
  source.recheck = FALSE;
  ShowAt(200, 150, 5000);
  At(201, 150);
  Tick(7000);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(source.asked.size(), 4u);
}

TEST_F(TipWndTest, NoAnswerOrNoTextGivesNoTip) {
  source.answer = 0;
  At(150, 150);
  Tick(1000);
  Tick(1500);
  EXPECT_FALSE(Shown());
  source.answer = 1;
  source.text = "";
  At(151, 150);
  Tick(2000);
  Tick(2500);
  EXPECT_FALSE(Shown());
  // A string resource's text wins over the record's.
  AfxSetStringResource(4711, "From the table");
  source.stringId = 4711;
  ShowAt(152, 150, 3000);
  CString text;
  Tip()->GetWindowText(text);
  EXPECT_EQ(text, "From the table");
  AfxSetStringResource(4711, nullptr);
  // Outside every window: nothing is asked.
  const size_t asked = source.asked.size();
  At(900, 700);
  Tick(4000);  // the shown tip goes
  Tick(4500);
  Tick(5000);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(source.asked.size(), asked);
}

TEST_F(TipWndTest, TipsStayOnTheScreen) {
  TipSource edge;
  ASSERT_TRUE(edge.Make(700, 500, 324, 248));
  edge.text = "Hello";
  ShowAt(1000, 740, 1000);
  // Right and bottom edges passed: left of and above the pointer.
  EXPECT_EQ(TipRect(), CRect(1000 - 56, 740 - 22, 1000, 740));
  edge.text = std::string(200, 'x').c_str();  // wider than the screen
  Tip()->TurnOff();
  ShowAt(1001, 740, 5000);
  EXPECT_EQ(TipRect().left, 0);
  EXPECT_EQ(TipRect().Width(), 1400 + 21);
}

TEST_F(TipWndTest, PaintingAndClicks) {
  ShowAt(150, 150, 1000);
  const std::vector<DcEvent> events = Paint();
  const DcEvent* frame = nullptr;
  const DcEvent* fill = nullptr;
  const DcEvent* text = nullptr;
  for (const DcEvent& e : events) {
    if (e.op == DcEvent::kFrameRect && !frame) frame = &e;
    if (e.op == DcEvent::kFillRect && !fill) fill = &e;
    if (e.op == DcEvent::kDrawText && !text) text = &e;
  }
  ASSERT_TRUE(frame && fill && text);
  EXPECT_EQ(CRect(frame->rect), CRect(0, 0, 56, 22));
  EXPECT_EQ(frame->color, RGB(0, 0, 0));
  EXPECT_EQ(CRect(fill->rect), CRect(1, 1, 55, 21));
  EXPECT_EQ(fill->color, RGB(255, 255, 128));
  EXPECT_EQ(text->fg, RGB(0, 0, 0));
  EXPECT_EQ(text->bkMode, TRANSPARENT);
  EXPECT_EQ(text->font.lfHeight, -12);
  // Inset by the average width across and half the descent plus one down.
  EXPECT_EQ(CRect(text->rect), CRect(7, 2, 56 - 7, 22 - 2));
  EXPECT_EQ(text->text, "Hello");

  // A click on the tip removes it and reaches the window below, at the same screen point.
  SendMessage(Tip()->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  EXPECT_FALSE(Shown());
  ASSERT_EQ(source.clicked.size(), 1u);
  EXPECT_EQ(source.clicked[0], CPoint(150 + 3 - 100, 169 + 4 - 100));
}

TEST_F(TipWndTest, FlashedTipsOutliveHidingAndMoveBesideThePointer) {
  AfxSetThreadMainWnd(&source);  // client (0, 0, 300, 200) from the origin
  At(40, 60);
  FlashTip("Saved");
  ASSERT_TRUE(Shown());
  EXPECT_TRUE(Tip()->GetFlashMode());
  EXPECT_FALSE(Tip()->IsActive());
  EXPECT_EQ(TipRect(), CRect(45, 45, 45 + 56, 45 + 22));
  MSG msg{};
  EXPECT_EQ(HideTipIfVisible(&msg), 1);
  EXPECT_TRUE(Shown());
  // The pointer elsewhere: at the rectangle's centre.
  At(400, 400);
  FlashTip("Saved again");
  EXPECT_EQ(TipRect().TopLeft(), CPoint(150, 100));
  Tip()->TurnOff();
  EXPECT_FALSE(Shown());
  // A hover tip hides when asked to.
  ShowAt(150, 150, 1000);
  EXPECT_FALSE(Tip()->GetFlashMode());
  HideTipIfVisible(&msg);
  EXPECT_FALSE(Shown());
}

TEST_F(TipWndTest, SizeCallbacksPlaceTheTipThemselves) {
  static CTipWnd* g_tip;
  static CWnd* g_window;
  static CPoint g_point;
  source.sizeProc = [](CTipWnd* tip, CWnd* window, CPoint* point) {
    g_tip = tip;
    g_window = window;
    g_point = *point;
    tip->SetWindowPos(nullptr, 1, 2, 30, 40, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  };
  ShowAt(150, 150, 1000);
  EXPECT_EQ(g_tip, Tip());
  EXPECT_EQ(g_window->m_hWnd, source.m_hWnd);
  EXPECT_EQ(g_point, CPoint(150, 150));
  EXPECT_EQ(TipRect(), CRect(1, 2, 31, 42));
  EXPECT_EQ(GetWindowLongPtr(Tip()->m_hWnd, GWLP_HWNDPARENT),
            static_cast<LONG_PTR>(source.m_hWnd.value));
}

TEST_F(TipWndTest, TheTipWindowIsMadeAnewAndGoesWithItsOwner) {
  const HWND first = Tip()->m_hWnd;
  SetTipsTimeout(800);
  EXPECT_FALSE(IsWindow(first));
  ASSERT_NE(Tip(), nullptr);
  EXPECT_EQ(Tip()->GetDelay(), 800u);
  EXPECT_EQ(Tip()->GetExStyle() & WS_EX_TOPMOST, static_cast<DWORD>(WS_EX_TOPMOST));
  EXPECT_EQ(Tip()->GetAveCharWidth(), 7);
  EXPECT_EQ(Tip()->GetDescent(), 3);
  DestroyTipWind();
  EXPECT_EQ(Tip(), nullptr);
  // Owned by the thread's main window, it is destroyed with it.
  {
    TipSource main;
    ASSERT_TRUE(main.Make());
    AfxSetThreadMainWnd(&main);
    SetTipsTimeout(500);
    ASSERT_NE(Tip(), nullptr);
    main.DestroyWindow();
    EXPECT_EQ(Tip(), nullptr);
    AfxSetThreadMainWnd(nullptr);
  }
  KeepTipsAlive();  // without a tip window nothing happens
  ShowTipAgain();
}

// Message-box tips, laid out with line mode 12 on the fixed device.
class TipsMessageBoxTest : public TipWndTest {
 protected:
  // The box of a line of markup as the rich-text lines measure it, the icon-title font
  // selected.
  static CRect Box(const std::string& markup) {
    CFixedDC dc;
    const int old = SetRTFLineMode(12);
    LOGFONT lf;
    SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    dc.SelectObject(ToGdiObj(dc.CreateFontIndirect(&lf)));
    CRTFLineMetric m;
    EXPECT_EQ(GetRTFLineMetrics(&dc, markup.c_str(), &lf, &m), RTF_OK);
    SetRTFLineMode(old);
    return m.m_rect;
  }
  static std::vector<std::string> TextsDrawn(const std::vector<DcEvent>& events) {
    std::vector<std::string> texts;
    for (const DcEvent& e : events)
      if (e.op == DcEvent::kText) texts.push_back(e.text);
    return texts;
  }
};

TEST_F(TipsMessageBoxTest, OnlyInformationWithOkBecomesATip) {
  ui().messageAnswers.push_back(IDCANCEL);
  EXPECT_EQ(TipsMessageBox(&source, "Careful", "Title", MB_OK | MB_ICONWARNING), IDCANCEL);
  EXPECT_EQ(TipsMessageBox(&source, "Sure?", "Title", MB_OKCANCEL | MB_ICONINFORMATION), IDOK);
  ASSERT_EQ(ui().messages.size(), 2u);
  EXPECT_EQ(ui().messages[0].text, "Careful");
  EXPECT_EQ(ui().messages[1].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION));
  EXPECT_FALSE(Shown());

  EXPECT_EQ(TipsMessageBox(&source, "Done", "Title", MB_ICONINFORMATION), 1);
  EXPECT_EQ(ui().messages.size(), 2u);
  ASSERT_TRUE(Shown());
  EXPECT_TRUE(Tip()->GetFlashMode());
  EXPECT_TRUE(Tip()->IsActive());
  // The wider box plus 20, the heights plus 22; the text box widened for the icon by
  // 32 / 2 + 10 and at least 32 high.
  const CRect caption = Box("\\b Title"), text = Box("Done");
  const int width = std::max<int>(caption.Width(), text.Width() + 26) + 20;
  const int height = caption.Height() + std::max<int>(text.Height(), 32) + 22;
  // Centred in the owner's client area, 20 higher.
  EXPECT_EQ(TipRect(),
            CRect(100 + (300 - width) / 2, 100 + (200 - height) / 2 - 20,
                  100 + (300 - width) / 2 + width, 100 + (200 - height) / 2 - 20 + height));
  // The 15-second timer ends it.
  SendMessage(Tip()->m_hWnd, WM_TIMER, 1, 0);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(Tip()->IsActive());
}

TEST_F(TipsMessageBoxTest, BackslashesShowUnlessTheTextIsMarkup) {
  EXPECT_EQ(TipTextToMarkup("C:\\dir\tx\ny{z}", 0), "C:\\\\dir\\tab x\\line y{z}");
  EXPECT_EQ(TipTextToMarkup("a\\b b", TIPS_MARKUP), "a\\b b");
  EXPECT_EQ(TipTextToMarkup(nullptr, 0), "");

  DestroyTipWind();  // made anew, with the message-box flag
  ASSERT_EQ(TipsMessageBox("C:\\dir", MB_ICONINFORMATION), 1);
  ASSERT_NE(Tip(), nullptr);
  EXPECT_TRUE(Tip()->IsMessageBox());
  EXPECT_EQ(Tip()->GetDelay(), 500u);
  std::vector<std::string> drawn = TextsDrawn(Paint());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), "C:\\dir"), drawn.end());
  // Without an owner window: centred on the screen.
  EXPECT_EQ(TipRect().left, (1024 - TipRect().Width()) / 2);

  ASSERT_EQ(TipsMessageBox(&source, "\\b bold\\b0  plain", "", MB_ICONINFORMATION | TIPS_MARKUP),
            1);
  drawn = TextsDrawn(Paint());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), "bold"), drawn.end());
  EXPECT_EQ(std::find(drawn.begin(), drawn.end(), "\\b bold"), drawn.end());
  // An empty caption shows none: the text's box alone.
  EXPECT_EQ(TipRect().Height(), std::max<int>(Box("\\b bold\\b0  plain").Height(), 32) + 22);
}

TEST_F(TipsMessageBoxTest, CaptionAndTextAreMeasuredAndDrawnInTheTipFont) {
  EXPECT_EQ(Box("Done here"), CRect(0, 0, 63, 15)) << "nine advances of 7, a cell of 15";
  ASSERT_EQ(TipsMessageBox(&source, "Done here", "", MB_ICONINFORMATION), 1);
  // 63 + 26 for the icon + 20 wide; the icon's 32 + 22 high.
  EXPECT_EQ(CSize(TipRect().Width(), TipRect().Height()), CSize(109, 54));
  ASSERT_EQ(TipsMessageBox(&source, "Done here", "Title", MB_ICONINFORMATION), 1);
  // The bold caption advances 8: 40 wide, 15 high above the text.
  EXPECT_EQ(CSize(TipRect().Width(), TipRect().Height()), CSize(109, 15 + 32 + 22));
  bool caption = false, text = false;
  for (const DcEvent& e : Paint()) {
    if (e.op != DcEvent::kText) continue;
    SCOPED_TRACE(e.text);
    EXPECT_STREQ(e.font.lfFaceName, "Tahoma");
    EXPECT_EQ(CFixedDC::CellHeight(e.font), 15);
    EXPECT_EQ(e.font.lfWeight, e.text == "Title" ? FW_BOLD : FW_NORMAL);
    caption |= e.text == "Title";
    text |= e.text == "Done here";
  }
  EXPECT_TRUE(caption && text);
}

TEST_F(TipsMessageBoxTest, ATipStaysItsFifteenSecondsWhileThePointerRests) {
  At(150, 150);  // over the source, which has a hover tip of its own there
  input.SetTickCount(1000);
  ASSERT_EQ(TipsMessageBox(&source, "Done", "Title", MB_ICONINFORMATION), 1);
  for (DWORD now : {2500u, 5000u, 15999u}) {
    SCOPED_TRACE(now);
    Tick(now);
    EXPECT_TRUE(Shown());
    EXPECT_TRUE(Tip()->IsActive());
  }
  // Moved, the pointer ends it at the next look.
  At(160, 150);
  Tick(16000);
  EXPECT_FALSE(Shown());
}

TEST_F(TipsMessageBoxTest, AVeryLongTextIsLaidOutWithoutHarm) {
  const std::string text(100000, 'a');
  EXPECT_EQ(TipsMessageBox(&source, text.c_str(), "Long", MB_ICONINFORMATION), 1);
  EXPECT_TRUE(Shown());
  EXPECT_GT(TipRect().Width(), 20);
  EXPECT_FALSE(TextsDrawn(Paint()).empty());
}

}  // namespace
