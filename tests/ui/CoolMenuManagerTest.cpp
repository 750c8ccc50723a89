// Owner-drawn menus: the hook chain, toolbars, converting popups while they are open,
// mnemonics, accelerator names, measuring and drawing on the fixed-metrics device, and the
// right-click hook.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/MDIWnd.h"
#include "platform/user/gdi/Bitmap.h"
#include "platform/user/gdi/FixedDC.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/MenuTracking.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"
#include "platform/user/wnd/WindowMenus.h"
#include "tests/support/PngFixture.h"
#include "tests/support/TestSupport.h"
#include "ui/CoolMenuManager.h"
#include "ui/MenuRClickHook.h"

namespace {

constexpr UINT IDR_TOOLS = 800, IDR_BIG = 801, IDR_BROKEN = 802;
constexpr UINT ID_OPEN = 100, ID_CLOSE = 101, ID_SAVE = 102, ID_PRINT = 103;
constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kGreen = 0xFF00FF00u;

// Loads the toolbar named by its id, as an application's manager does.
class TestMenus : public CCoolMenuManager {
 public:
  UINT toolbar = IDR_TOOLS;
  int reloads = 0;
  void OnReload() override {
    ++reloads;
    if (toolbar) LoadToolbar(toolbar);
  }
  using CCoolMenuManager::AppendAccelName;
  using CCoolMenuManager::ConvertMenu;
};

class CoolMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Open and Save have images; Close and Print none.
    AfxSetBitmapResource(IDR_TOOLS, zel_test::ToolbarPng(16, 15, {kRed, kBlue, kGreen}));
    const UINT ids[] = {ID_OPEN, 0, ID_SAVE, ID_OPEN};
    AfxSetToolbarResource(IDR_TOOLS, 16, 15, ids, 4);
    popup = CreatePopupMenu();
    AppendMenu(popup, MF_STRING, ID_OPEN, "&Open");
    AppendMenu(popup, MF_STRING, ID_CLOSE, "Cl&ose");
    AppendMenu(popup, MF_STRING | MF_GRAYED, ID_SAVE, "&Save\tCtrl+S");
    AppendMenu(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenu(popup, MF_STRING | MF_CHECKED, ID_PRINT, "&Print");
    HMENU bar = CreateMenu();
    AppendMenu(bar, MF_POPUP, popup.value, "&File");
    ASSERT_TRUE(
        frame.Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, bar));
    frame.m_bAutoMenuEnable = FALSE;  // the states above stay as they are
  }
  MENUITEMINFO Info(int position) {
    MENUITEMINFO info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE | MIIM_ID;
    GetMenuItemInfo(popup, static_cast<UINT>(position), TRUE, &info);
    return info;
  }
  const CMenuItemData* Record(int position) {
    return reinterpret_cast<const CMenuItemData*>(Info(position).dwItemData);
  }
  std::string Text(int position) {
    char text[64];
    GetMenuString(popup, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
  }
  void Open() { zel_menu::InitMenuPopup(frame.m_hWnd, popup, 0, false); }

  zel_test::ScriptedUi scripted;
  CFrameWnd frame;
  HMENU popup;
};

class Recorder : public CSubclassWnd {
 public:
  Recorder(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(log) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER) m_log.push_back(m_name);
    return CSubclassWnd::WindowProc(message, wParam, lParam);
  }

 private:
  std::string m_name;
  std::vector<std::string>& m_log;
};

TEST_F(CoolMenuTest, HooksSeeMessagesLatestFirstAndLetGoWithTheWindow) {
  const auto original = GetWindowLongPtr(frame.m_hWnd, GWLP_WNDPROC);
  std::vector<std::string> log;
  Recorder a("a", log), b("b", log), c("c", log);
  a.HookWindow(&frame);
  b.HookWindow(&frame);
  c.HookWindow(&frame);
  frame.SendMessage(WM_USER);
  EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "a"}));
  // Out of the middle, then the first: the chain closes behind them.
  b.HookWindow(nullptr);
  c.HookWindow(nullptr);
  log.clear();
  frame.SendMessage(WM_USER);
  EXPECT_EQ(log, std::vector<std::string>{"a"});
  EXPECT_NE(GetWindowLongPtr(frame.m_hWnd, GWLP_WNDPROC), original);
  a.HookWindow(nullptr);
  EXPECT_EQ(GetWindowLongPtr(frame.m_hWnd, GWLP_WNDPROC), original);
  // The window's last message unhooks every hook.
  a.HookWindow(&frame);
  b.HookWindow(&frame);
  frame.DestroyWindow();
  EXPECT_FALSE(a.IsHooked());
  EXPECT_FALSE(b.IsHooked());
}

TEST_F(CoolMenuTest, ToolbarsMapCommandsToImagesAndAnotherSizeIsRefused) {
  TestMenus menus;
  menus.Install(&frame);
  EXPECT_EQ(menus.reloads, 1);
  EXPECT_EQ(menus.GetBitmapSize(), CSize(16, 15));
  EXPECT_EQ(menus.GetButtonSize(), CSize(20, 19));
  ASSERT_EQ(menus.GetButtonImages().GetImageCount(), 3);
  // A zero id takes no image; an id met again keeps its first.
  EXPECT_EQ(menus.FindButton(ID_OPEN), 0);
  EXPECT_EQ(menus.FindButton(ID_SAVE), 1);
  EXPECT_EQ(menus.FindButton(ID_CLOSE), -1);
  // The border is transparent, the inside the image's colour (the classic colours mapped).
  const std::vector<uint32_t>& px = menus.GetButtonImages().Pixels(1);
  EXPECT_EQ(px[0], 0u);
  EXPECT_EQ(px[16 + 1], kBlue);
  // Another size: refused, nothing changed.
  AfxSetBitmapResource(IDR_BIG, zel_test::ToolbarPng(24, 24, {kRed}));
  const UINT big[] = {ID_CLOSE};
  EXPECT_FALSE(menus.LoadToolbar(IDR_BIG, CSize(24, 24), big, 1));
  EXPECT_EQ(menus.GetButtonImages().GetImageCount(), 3);
  EXPECT_EQ(menus.FindButton(ID_CLOSE), -1);
  // Missing or damaged bitmaps, or a missing record: no images, no crash.
  EXPECT_FALSE(menus.LoadToolbar(9999));
  AfxSetBitmapResource(IDR_BROKEN, "\x89PNG\r\n\x1a\nbroken");
  const UINT one[] = {ID_CLOSE};
  EXPECT_FALSE(menus.LoadToolbar(IDR_BROKEN, one, 1));
  AfxSetToolbarResource(IDR_BROKEN, 16, 15, one, 1);
  EXPECT_FALSE(menus.LoadToolbar(IDR_BROKEN));
  EXPECT_EQ(menus.FindButton(ID_CLOSE), -1);
  // A second toolbar of the same size adds after the first's images; a command in both
  // keeps the first's.
  AfxSetBitmapResource(IDR_BIG, zel_test::ToolbarPng(16, 15, {kGreen, kRed}));
  const UINT second[] = {ID_OPEN, ID_CLOSE};
  EXPECT_TRUE(menus.LoadToolbar(IDR_BIG, CSize(16, 15), second, 2));
  EXPECT_EQ(menus.FindButton(ID_OPEN), 0);
  EXPECT_EQ(menus.FindButton(ID_CLOSE), 4);
}

TEST_F(CoolMenuTest, PopupsAreOwnerDrawnWhileOpenAndPlainOnceClosed) {
  TestMenus menus;
  menus.Install(&frame);
  // Somebody else's owner-drawn item.
  MENUITEMINFO foreign;
  foreign.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING | MIIM_ID;
  foreign.fType = MFT_OWNERDRAW;
  foreign.dwItemData = 0x5151;
  foreign.wID = 104;
  foreign.dwTypeData = const_cast<char*>("Theirs");
  InsertMenuItem(popup, 5, TRUE, &foreign);
  Open();
  for (int i : {0, 1, 2, 3, 4}) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(Info(i).fType & MFT_OWNERDRAW);
    ASSERT_TRUE(menus.IsMyItemData(Info(i).dwItemData));
  }
  EXPECT_EQ(Record(0)->text, "&Open");
  EXPECT_EQ(Record(0)->iButton, 0);
  EXPECT_EQ(Record(1)->iButton, -1);
  EXPECT_EQ(Record(2)->text, "&Save\tCtrl+S");
  EXPECT_TRUE(Record(3)->fType & MFT_SEPARATOR);
  EXPECT_EQ(Info(5).dwItemData, 0x5151u);
  // Opening again keeps one record per item.
  Open();
  EXPECT_EQ(Record(0)->text, "&Open");
  // The menu closes: plain items with their texts, records gone, the foreign one as it was.
  zel_menu::Close(frame.m_hWnd);
  for (int i : {0, 1, 2, 4}) EXPECT_FALSE(Info(i).fType & MFT_OWNERDRAW) << i;
  EXPECT_EQ(Info(0).dwItemData, 0u);
  EXPECT_EQ(Text(2), "&Save\tCtrl+S");
  EXPECT_EQ(GetMenuItemID(popup, 3), 0u);
  EXPECT_TRUE(GetMenuState(popup, 3, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(Info(5).fType & MFT_OWNERDRAW);
  EXPECT_EQ(Info(5).dwItemData, 0x5151u);
  // The menu bar's init restores converted popups before the window updates them.
  Open();
  zel_menu::InitMenu(frame.m_hWnd, GetMenu(frame.m_hWnd));
  EXPECT_FALSE(Info(0).fType & MFT_OWNERDRAW);
  // Without buttons nothing is converted.
  menus.m_bShowButtons = 0;
  Open();
  EXPECT_FALSE(Info(0).fType & MFT_OWNERDRAW);
  // Uninstalling restores what is open and lets go of the window.
  menus.m_bShowButtons = 1;
  Open();
  menus.Install(static_cast<CWnd*>(nullptr));
  EXPECT_FALSE(menus.IsHooked());
  EXPECT_FALSE(Info(0).fType & MFT_OWNERDRAW);
}

TEST_F(CoolMenuTest, SystemMenuCommandsAreLeftToTheWindow) {
  TestMenus menus;
  menus.Install(&frame);
  HMENU system = GetSystemMenu(frame.m_hWnd, FALSE);
  AppendMenu(system, MF_STRING, ID_OPEN, "&Open");
  zel_menu::InitMenuPopup(frame.m_hWnd, system, 0, true);
  MENUITEMINFO info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfo(system, 0, TRUE, &info);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);  // SC_RESTORE
  GetMenuItemInfo(system, ID_OPEN, FALSE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
}

TEST_F(CoolMenuTest, MnemonicsSelectInTurnAndExecuteWhenAlone) {
  TestMenus menus;
  menus.Install(&frame);
  Open();
  // o: &Open and Cl&ose. Nothing highlighted: the first; Open highlighted: Close; Close
  // highlighted: round to Open.
  auto answer = zel_menu::MenuChar(frame.m_hWnd, popup, 'o');
  EXPECT_EQ(answer.action, static_cast<UINT>(MNC_SELECT));
  EXPECT_EQ(answer.position, 0);
  zel_menu::Select(frame.m_hWnd, popup, 0);
  answer = zel_menu::MenuChar(frame.m_hWnd, popup, 'O');
  EXPECT_EQ(answer.position, 1);
  zel_menu::Select(frame.m_hWnd, popup, 1);
  answer = zel_menu::MenuChar(frame.m_hWnd, popup, 'o');
  EXPECT_EQ(answer.action, static_cast<UINT>(MNC_SELECT));
  EXPECT_EQ(answer.position, 0);
  answer = zel_menu::MenuChar(frame.m_hWnd, popup, 'p');
  EXPECT_EQ(answer.action, static_cast<UINT>(MNC_EXECUTE));
  EXPECT_EQ(answer.position, 4);
  answer = zel_menu::MenuChar(frame.m_hWnd, popup, 'z');
  EXPECT_EQ(answer.action, static_cast<UINT>(MNC_IGNORE));
}

TEST_F(CoolMenuTest, AcceleratorNamesGoIntoItemsMadePlainAgain) {
  const ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'O', ID_OPEN},
                        {FVIRTKEY | FSHIFT, VK_DELETE, ID_CLOSE},
                        {FVIRTKEY, VK_F12, ID_OPEN},
                        {FALT, 'x', ID_PRINT}};
  AfxSetAcceleratorResource(810, keys, 4);
  ASSERT_TRUE(frame.LoadAccelTable(810));
  TestMenus menus;
  menus.m_bAutoAccel = 1;
  menus.Install(&frame);
  Open();
  EXPECT_EQ(Record(0)->text, "&Open");  // owner-drawn items keep their own text
  zel_menu::Close(frame.m_hWnd);
  // The last entry first; an old accelerator part is replaced.
  EXPECT_EQ(Text(0), "&Open\tF12, Ctrl+O");
  EXPECT_EQ(Text(1), "Cl&ose\tShift+Del");
  EXPECT_EQ(Text(2), "&Save");  // the table has none for it: the old part goes all the same
  EXPECT_EQ(Text(4), "&Print\tAlt+x");
  CString text = "\tlead";
  EXPECT_TRUE(menus.AppendAccelName(text, ID_OPEN));
  EXPECT_EQ(text, "\tlead\tF12, Ctrl+O");  // a tab at the start is not cut
  AfxSetResource(RT_ACCELERATOR, 810, "");
}

TEST_F(CoolMenuTest, ItemsAreMeasuredWithTheMenuFont) {
  TestMenus menus;
  menus.Install(&frame);
  Open();
  // "&Open" on the fixed device: 4 characters of 7 by a cell of 15.
  SIZE open = zel_menu::MeasureItem(frame.m_hWnd, popup, 0);
  const int check = GetSystemMetrics(SM_CXMENUCHECK);
  EXPECT_EQ(open.cy, GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(open.cx, (4 * 7 + 6 + 2 * 20 - check) + check);
  SIZE separator = zel_menu::MeasureItem(frame.m_hWnd, popup, 3);
  EXPECT_EQ(separator.cy, GetSystemMetrics(SM_CYMENU) / 2);
  EXPECT_EQ(separator.cx, check);
  // The default item is measured bold: one more per character.
  zel_menu::Close(frame.m_hWnd);
  MENUITEMINFO info{};
  info.fMask = MIIM_STATE;
  info.fState = MFS_DEFAULT;
  SetMenuItemInfo(popup, 0, TRUE, &info);
  Open();
  EXPECT_EQ(zel_menu::MeasureItem(frame.m_hWnd, popup, 0).cx, open.cx + 4);
}

TEST_F(CoolMenuTest, ItemsAreDrawnWithTheirImagesBesideTheText) {
  TestMenus menus;
  menus.Install(&frame);
  Open();
  auto events = [&](int position, UINT state) {
    CFixedDC dc;
    zel_menu::DrawItem(frame.m_hWnd, popup, position, &dc, RECT{0, 0, 150, 20}, ODA_DRAWENTIRE,
                       state);
    return dc.Events();
  };
  auto find = [](const std::vector<DcEvent>& all, DcEvent::Op op, int nth = 0) -> const DcEvent* {
    for (const DcEvent& e : all)
      if (e.op == op && nth-- == 0) return &e;
    return nullptr;
  };
  const COLORREF menuColour = GetSysColor(COLOR_MENU);
  // Open, selected: the button box in the menu colour with a raised edge, its image centred
  // in it, the rest of the row highlighted, the text beside the box.
  std::vector<DcEvent> e = events(0, ODS_SELECTED);
  const DcEvent* box = find(e, DcEvent::kFillRect);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(CRect(box->rect), CRect(0, 0, 20, 19));
  EXPECT_EQ(box->color, menuColour);
  ASSERT_NE(find(e, DcEvent::kDrawEdge), nullptr);
  EXPECT_EQ(find(e, DcEvent::kDrawEdge)->value, static_cast<int>(BDR_RAISEDINNER));
  const DcEvent* image = find(e, DcEvent::kImage);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->x, 2);
  EXPECT_EQ(image->y, 2);
  EXPECT_EQ(image->flags, 0u);
  const DcEvent* row = find(e, DcEvent::kFillRect, 1);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(CRect(row->rect), CRect(21, 0, 150, 20));
  EXPECT_EQ(row->color, GetSysColor(COLOR_HIGHLIGHT));
  const DcEvent* text = find(e, DcEvent::kDrawText);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text, "&Open");
  EXPECT_EQ(CRect(text->rect), CRect(23, 0, 130, 20));
  // Save, disabled: its image embossed (highlight one pixel off, then shadow), its text
  // twice; the accelerator part right-aligned.
  e = events(2, ODS_GRAYED);
  ASSERT_NE(find(e, DcEvent::kImage, 1), nullptr);
  EXPECT_EQ(find(e, DcEvent::kImage, 0)->x, 3);
  EXPECT_EQ(find(e, DcEvent::kImage, 1)->x, 2);
  EXPECT_EQ(find(e, DcEvent::kFillRect), nullptr);  // not selected: no background
  int texts = 0;
  for (const DcEvent& d : e)
    if (d.op == DcEvent::kDrawText) ++texts;
  EXPECT_EQ(texts, 4);  // "&Save" and "Ctrl+S", shifted and in place
  EXPECT_EQ(find(e, DcEvent::kDrawText, 1)->value & DT_RIGHT, static_cast<int>(DT_RIGHT));
  // Print, checked without an image: a sunken check box with the system check mark.
  e = events(4, ODS_CHECKED);
  ASSERT_NE(find(e, DcEvent::kImage), nullptr);
  EXPECT_EQ(find(e, DcEvent::kDrawEdge)->value, static_cast<int>(BDR_SUNKENOUTER));
  EXPECT_EQ(find(e, DcEvent::kFillRect)->color, GetSysColor(COLOR_3DLIGHT));
  // Close: no image and not checked, so no box; the separator an etched line.
  e = events(1, 0);
  EXPECT_EQ(find(e, DcEvent::kImage), nullptr);
  EXPECT_EQ(find(e, DcEvent::kDrawEdge), nullptr);
  e = events(3, 0);
  ASSERT_NE(find(e, DcEvent::kDrawEdge), nullptr);
  EXPECT_EQ(find(e, DcEvent::kDrawEdge)->value, static_cast<int>(EDGE_ETCHED));
  EXPECT_EQ(find(e, DcEvent::kDrawEdge)->rect.top, 10);
}

TEST_F(CoolMenuTest, DisabledImagesAndItemBitmapsFollowTheSettings) {
  TestMenus menus;
  menus.m_bUseDrawState = 1;
  menus.Install(&frame);
  // Close gets an unchecked-state bitmap of its own: drawn in its box, sunken round it.
  HBITMAP box = CreateBitmap32(9, 9, nullptr);
  SetMenuItemBitmaps(popup, ID_CLOSE, MF_BYCOMMAND, box, HBITMAP());
  Open();
  auto images = [&](int position, UINT state) {
    CFixedDC dc;
    zel_menu::DrawItem(frame.m_hWnd, popup, position, &dc, RECT{0, 0, 150, 20}, ODA_DRAWENTIRE,
                       state);
    std::vector<DcEvent> found;
    for (const DcEvent& e : dc.Events())
      if (e.op == DcEvent::kImage || e.op == DcEvent::kDrawEdge) found.push_back(e);
    return found;
  };
  // The device's own disabled look: one image, in place.
  std::vector<DcEvent> save = images(2, ODS_GRAYED);
  ASSERT_EQ(save.size(), 1u);
  EXPECT_EQ(save[0].value, static_cast<int>(ILD_DISABLED));
  EXPECT_EQ(save[0].x, 2);
  std::vector<DcEvent> close = images(1, 0);
  ASSERT_EQ(close.size(), 2u);
  EXPECT_EQ(close[0].x, 5);  // 9 by 9 centred in 20 by 19
  EXPECT_EQ(close[0].y, 5);
  EXPECT_EQ(CRect(close[1].rect), CRect(4, 4, 15, 15));
  DeleteBitmap(box);
}

TEST(CoolMenuMdiTest, AMaximizedChildsSystemMenuInTheFramesBarIsLeftAlone) {
  CMDIFrameWnd main;
  ASSERT_TRUE(main.Create(nullptr, "Main"));
  CMDIChildWnd child;
  ASSERT_TRUE(child.Create(nullptr, "Doc", WS_CHILD | WS_VISIBLE | WS_SYSMENU,
                           CFrameWnd::rectDefault, &main));
  child.MDIMaximize();
  TestMenus menus;
  menus.toolbar = 0;
  menus.Install(&main);
  HMENU system = GetSystemMenu(child.m_hWnd, FALSE);
  // At position 0 of the frame's bar it counts as a system menu though not said so.
  zel_menu::InitMenuPopup(main.m_hWnd, system, 0, false);
  MENUITEMINFO info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfo(system, 0, TRUE, &info);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
  // Elsewhere it is an ordinary popup.
  zel_menu::Close(main.m_hWnd);
  zel_menu::InitMenuPopup(main.m_hWnd, system, 1, false);
  GetMenuItemInfo(system, 0, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  menus.Install(static_cast<CWnd*>(nullptr));
}

TEST_F(CoolMenuTest, TheRadioImageIsRepaintedAsADisc) {
  TestMenus menus;
  HBITMAP dot = AfxGetMenuDotBitmap();
  SIZE size;
  ASSERT_TRUE(GetBitmapDimension(dot, &size));
  std::vector<uint32_t> px;
  GetBitmapPixels(dot, px);
  // 13 by 13: the disc's square is shrunk by 4 on each side, (4, 4) to (9, 9).
  ASSERT_EQ(size.cx, 13);
  EXPECT_EQ(px[6 * 13 + 6], 0xFF000000u);
  EXPECT_EQ(px[4 * 13 + 6], 0xFF000000u);
  EXPECT_EQ(px[3 * 13 + 6], 0xFFFFFFFFu);
  EXPECT_EQ(px[6 * 13 + 9], 0xFFFFFFFFu);
  EXPECT_EQ(px[0], 0xFFFFFFFFu);
}

TEST_F(CoolMenuTest, ARightClickOnAnItemIsNoticedOnlyInTheMenuLoop) {
  TestMenus menus;
  menus.Install(&frame);
  CMenuRClickHook hook(&frame);
  EXPECT_EQ(menus.SetRClickHook(&hook), nullptr);
  EXPECT_EQ(menus.GetRClickHook(), &hook);
  frame.SendMessage(WM_RBUTTONDOWN);
  EXPECT_TRUE(scripted.ui.messages.empty());
  zel_menu::EnterMenuLoop(frame.m_hWnd, false);
  EXPECT_TRUE(hook.m_bInMenuLoop);
  EXPECT_EQ(hook.m_nItemID, 0xFFFFu);
  Open();
  zel_menu::Select(frame.m_hWnd, popup, 1);
  EXPECT_EQ(hook.m_nItemID, ID_CLOSE);
  EXPECT_EQ(hook.m_hMenu, popup);
  EXPECT_EQ(frame.SendMessage(WM_RBUTTONDOWN), 0);
  ASSERT_EQ(scripted.ui.messages.size(), 1u);
  EXPECT_EQ(scripted.ui.messages[0].text, "On Menu");
  EXPECT_EQ(scripted.ui.messages[0].caption, "");
  EXPECT_EQ(scripted.ui.messages[0].owner, frame.m_hWnd);
  // Closed: no menu recorded, no click.
  zel_menu::Close(frame.m_hWnd);
  frame.SendMessage(WM_RBUTTONDOWN);
  zel_menu::ExitMenuLoop(frame.m_hWnd, false);
  EXPECT_FALSE(hook.m_bInMenuLoop);
  EXPECT_EQ(scripted.ui.messages.size(), 1u);
  // A copy takes every field.
  CMenuRClickHook copy = hook;
  EXPECT_EQ(copy.m_pWnd, &frame);
}

}  // namespace
