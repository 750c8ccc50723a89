// The menu model: items by position and by command (popups searched), item information,
// states, ownership of popups, and the messages a tracked popup sends its owner.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/framework/Menu.h"
#include "platform/user/wnd/MenuTracking.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/Window.h"
#include "platform/user/wnd/WindowMenus.h"
#include "tests/support/IntegrationScope.h"
#include "tests/support/RecordingPresenter.h"

namespace {

std::string Text(HMENU menu, UINT item, UINT flags = MF_BYPOSITION) {
  char buffer[64];
  GetMenuString(menu, item, buffer, sizeof buffer, flags);
  return buffer;
}

class MenuModelTest : public ::testing::Test {
 protected:
  // File (Open 1, Save 2, Recent popup (Last 3)), a separator, Exit 4.
  void SetUp() override {
    recent = CreatePopupMenu();
    AppendMenu(recent, MF_STRING, 3, "&Last");
    file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 1, "&Open...");
    AppendMenu(file, MF_STRING | MF_GRAYED, 2, "&Save");
    AppendMenu(file, MF_POPUP, recent.value, "&Recent");
    AppendMenu(file, MF_SEPARATOR, 0, nullptr);
    AppendMenu(file, MF_STRING, 4, "E&xit");
    bar = CreateMenu();
    AppendMenu(bar, MF_POPUP, file.value, "&File");
  }
  void TearDown() override { DestroyMenu(bar); }
  HMENU bar, file, recent;
};

TEST_F(MenuModelTest, ItemsByPositionAndByCommandThroughPopups) {
  EXPECT_EQ(GetMenuItemCount(file), 5);
  EXPECT_EQ(GetMenuItemID(file, 0), 1u);
  EXPECT_EQ(GetMenuItemID(file, 2), 0xFFFFFFFFu);  // a popup
  EXPECT_EQ(GetSubMenu(file, 2), recent);
  EXPECT_EQ(GetMenuItemID(file, 3), 0u);  // the separator
  EXPECT_EQ(GetMenuItemID(file, 9), 0xFFFFFFFFu);
  // By command from the bar down: the item in the popup of the popup.
  EXPECT_EQ(Text(bar, 3, MF_BYCOMMAND), "&Last");
  EXPECT_EQ(GetMenuState(bar, 2, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(GetMenuState(file, 2, MF_BYPOSITION), MF_POPUP | (1u << 8));
  EXPECT_EQ(GetMenuState(file, 3, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(GetMenuState(bar, 99, MF_BYCOMMAND), 0xFFFFFFFFu);
  // Checks and enabling answer the previous state.
  EXPECT_EQ(CheckMenuItem(bar, 3, MF_BYCOMMAND | MF_CHECKED), 0u);
  EXPECT_EQ(CheckMenuItem(bar, 3, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(EnableMenuItem(file, 1, MF_BYPOSITION | MF_ENABLED), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(file, 1, MF_BYPOSITION | MF_DISABLED), 0u);
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION), static_cast<UINT>(MF_DISABLED));
  // Inserting by command goes before that item; past the end appends.
  EXPECT_TRUE(InsertMenu(bar, 4, MF_BYCOMMAND | MF_STRING, 5, "Close"));
  EXPECT_EQ(GetMenuItemID(file, 4), 5u);
  EXPECT_TRUE(InsertMenu(file, 100, MF_BYPOSITION | MF_STRING, 6, "Last of all"));
  EXPECT_EQ(GetMenuItemID(file, 6), 6u);
  EXPECT_TRUE(ModifyMenu(file, 6, MF_BYCOMMAND | MF_STRING | MF_CHECKED, 7, "Renamed"));
  EXPECT_EQ(Text(file, 6), "Renamed");
  EXPECT_EQ(GetMenuState(file, 7, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED));
  // A popup handle that is no menu is refused.
  EXPECT_FALSE(AppendMenu(file, MF_POPUP, 0x7777, "Bad"));
  char small[4];
  EXPECT_EQ(GetMenuString(file, 0, small, sizeof small, MF_BYPOSITION), 3);
  EXPECT_STREQ(small, "&Op");
  EXPECT_EQ(GetMenuString(file, 0, nullptr, 0, MF_BYPOSITION), 8);
}

TEST_F(MenuModelTest, ItemInformationReadsAndWritesWhatItsMaskSays) {
  char text[8];
  MENUITEMINFO info;
  info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
  info.dwTypeData = text;
  info.cch = sizeof text;
  ASSERT_TRUE(GetMenuItemInfo(file, 2, TRUE, &info));
  EXPECT_EQ(info.hSubMenu, recent);
  EXPECT_STREQ(text, "&Recent");
  EXPECT_EQ(info.cch, 7u);
  info = MENUITEMINFO();
  info.fMask = MIIM_STRING;
  ASSERT_TRUE(GetMenuItemInfo(file, 0, TRUE, &info));
  EXPECT_EQ(info.cch, 8u);  // no buffer: the length
  // Owner-drawn with item data; the text stays behind it.
  MENUITEMINFO write;
  write.fMask = MIIM_FTYPE | MIIM_DATA;
  write.fType = MFT_OWNERDRAW;
  write.dwItemData = 0xABC;
  ASSERT_TRUE(SetMenuItemInfo(bar, 1, FALSE, &write));
  info = MENUITEMINFO();
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = sizeof text;
  GetMenuItemInfo(file, 0, TRUE, &info);
  EXPECT_EQ(info.fType, static_cast<UINT>(MFT_OWNERDRAW));
  EXPECT_EQ(info.dwItemData, 0xABCu);
  EXPECT_STREQ(text, "&Open..");
  // A new item from its information, inserted by position.
  HMENU sub = CreatePopupMenu();
  MENUITEMINFO fresh;
  fresh.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_ID;
  fresh.dwTypeData = const_cast<char*>("Tools");
  fresh.hSubMenu = sub;
  ASSERT_TRUE(InsertMenuItem(bar, 0, TRUE, &fresh));
  EXPECT_EQ(GetSubMenu(bar, 0), sub);
  fresh.hSubMenu = HMENU(0x4242);
  EXPECT_FALSE(InsertMenuItem(bar, 0, TRUE, &fresh));
  EXPECT_FALSE(GetMenuItemInfo(file, 42, TRUE, &info));
}

TEST_F(MenuModelTest, DeletingDestroysPopupsRemovingDoesNot) {
  EXPECT_TRUE(RemoveMenu(file, 2, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(recent));
  EXPECT_TRUE(InsertMenu(file, 2, MF_BYPOSITION | MF_POPUP, recent.value, "&Recent"));
  EXPECT_TRUE(DeleteMenu(file, 2, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(recent));
  EXPECT_EQ(GetMenuItemCount(recent), -1);
  // A popup replaced by a plain item goes.
  HMENU other = CreatePopupMenu();
  AppendMenu(file, MF_POPUP, other.value, "Other");
  EXPECT_TRUE(ModifyMenu(file, 4, MF_BYPOSITION | MF_STRING, 8, "Plain"));
  EXPECT_FALSE(IsMenu(other));
  EXPECT_EQ(GetMenuItemID(file, 4), 8u);
  // Destroying the bar destroys its popups; the handles are never seen again as menus.
  DestroyMenu(bar);
  EXPECT_FALSE(IsMenu(file));
  EXPECT_EQ(CheckMenuItem(file, 0, MF_BYPOSITION), 0xFFFFFFFFu);
  bar = CreateMenu();
  EXPECT_NE(bar, file);
}

TEST_F(MenuModelTest, RadioChecksDefaultStatesAndSystemMenus) {
  EXPECT_TRUE(CheckMenuRadioItem(file, 0, 1, 1, MF_BYPOSITION));
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_TRUE(CheckMenuRadioItem(file, 0, 1, 0, MF_BYPOSITION));
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_CHECKED, 0u);
  // The default state is a bit of its own, kept apart from the check and enable bits.
  MENUITEMINFO info{};
  info.fMask = MIIM_STATE;
  info.fState = MFS_DEFAULT | MFS_CHECKED;
  EXPECT_TRUE(SetMenuItemInfo(file, 4, TRUE, &info));
  MENUITEMINFO read{};
  read.fMask = MIIM_STATE;
  EXPECT_TRUE(GetMenuItemInfo(file, 4, TRUE, &read));
  EXPECT_EQ(read.fState & (MFS_DEFAULT | MFS_CHECKED),
            static_cast<UINT>(MFS_DEFAULT | MFS_CHECKED));
  HWND h = CreateWindowEx(0, "", "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, HWND(), HMENU(),
                          &DefWindowProc, nullptr);
  HMENU system = GetSystemMenu(h, FALSE);
  EXPECT_EQ(GetSystemMenu(h, FALSE), system);
  EXPECT_GE(GetMenuItemID(system, 0), 0xF000u);
  DestroyWindow(h);
  EXPECT_FALSE(IsMenu(system));
}

TEST_F(MenuModelTest, CMenuObjectsOwnWhatTheyMadeAndWrapWhatTheyMeet) {
  HMENU made;
  {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    made = menu.m_hMenu;
    EXPECT_EQ(CMenu::FromHandle(made), &menu);
    CString text;
    menu.AppendMenu(MF_STRING, 9, "Nine");
    EXPECT_EQ(menu.GetMenuString(9, text, MF_BYCOMMAND), 4);
    EXPECT_EQ(text, "Nine");
  }
  EXPECT_FALSE(IsMenu(made));
  // A temporary object stands for a menu nobody attached, and never destroys it.
  CMenu* temporary = CMenu::FromHandle(file);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(temporary->GetMenuItemCount(), 5u);
  EXPECT_EQ(CMenu::FromHandle(file), temporary);
  EXPECT_EQ(temporary->GetSubMenu(2)->m_hMenu, recent);
  CMenu attached;
  EXPECT_TRUE(attached.Attach(file));
  EXPECT_EQ(CMenu::FromHandle(file), &attached);
  EXPECT_EQ(attached.Detach(), file);
  EXPECT_TRUE(IsMenu(file));
}

TEST_F(MenuModelTest, ATrackedPopupTellsItsOwnerInThePlatformsOrder) {
  static std::vector<std::pair<UINT, WPARAM>> seen;
  seen.clear();
  HWND owner = CreateWindowEx(
      0, "", "", WS_POPUP, 0, 0, 10, 10, HWND(), HMENU(),
      [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m >= WM_INITMENU && m <= WM_EXITMENULOOP && m != WM_TIMER) seen.emplace_back(m, w);
        if (m == WM_COMMAND) seen.emplace_back(m, w);
        return DefWindowProc(h, m, w, l);
      },
      nullptr);
  zel_test::RecordingPresenter presenter;
  zel_test::IntegrationScope scope;
  scope.Use(&presenter);
  presenter.ScriptPopupChoice(3);  // Last, inside Recent
  EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 5, 5, 0, owner, nullptr), 3);
  const std::vector<std::pair<UINT, WPARAM>> expected = {
      {WM_ENTERMENULOOP, TRUE},
      {WM_INITMENUPOPUP, file.value},
      {WM_MENUSELECT, MAKEWPARAM(2, MF_POPUP | MF_HILITE)},
      {WM_INITMENUPOPUP, recent.value},
      {WM_MENUSELECT, MAKEWPARAM(3, MF_HILITE)},
      {WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF)},
      {WM_EXITMENULOOP, TRUE}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(GetMenuState(recent, 0, MF_BYPOSITION) & MF_HILITE, static_cast<UINT>(MF_HILITE));
  // Without TPM_RETURNCMD the choice is posted as a command; nothing chosen posts nothing.
  seen.clear();
  presenter.ScriptPopupChoice(4);
  EXPECT_TRUE(TrackPopupMenu(file, 0, 5, 5, 0, owner, nullptr));
  EXPECT_FALSE(TrackPopupMenu(file, 0, 5, 5, 0, owner, nullptr));
  MSG msg;
  std::vector<WPARAM> commands;
  while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE))
    if (msg.message == WM_COMMAND) commands.push_back(msg.wParam);
  EXPECT_EQ(commands, std::vector<WPARAM>{4});
  // A command that no item has is no choice.
  presenter.ScriptPopupChoice(77);
  EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 5, 5, 0, owner, nullptr), 0);
  DestroyWindow(owner);
}

}  // namespace
