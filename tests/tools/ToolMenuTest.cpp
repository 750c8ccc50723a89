// Tools in menus: the tree appended to menus, registering application menus with their
// marks, merging tools in and out again, and enabling tool items.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/user/app/WinApp.h"
#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/Menu.h"
#include "tools/AppTools.h"
#include "tools/MenuHolder.h"

namespace {

// A manager whose tree is built in memory (no reload) and whose holders can be looked at.
class Tools : public CAppTools {
 public:
  Tools() : CAppTools(kNoWatch) { SetReloadNeeded(0); }
  int ready = 0;
  int enabled = 1;
  int IsReady() override { return ready; }
  using CAppTools::CompareMenuString;
  using CAppTools::FindMenu;
  void Add(const char* path, int index, int inputType = 0) {
    CToolData tool("", inputType, "t", 1, "");
    tool.m_producedType = CToolDataUnit::tq;
    GetMainNode()->AddToolData(path, &tool, index, CToolDataUnit::none, this);
  }

 protected:
  int onemol(CDXistool&) override { return enabled; }
};

// The menu as text: items by '|', popups in brackets, tool ids as "#n" (n = id - 44444),
// other ids as they are, separators as "-".
std::string Shape(CMenu& menu) {
  std::string out;
  const int count = static_cast<int>(menu.GetMenuItemCount());
  for (int i = 0; i < count; ++i) {
    if (i) out += "|";
    CString text;
    menu.GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
    if (CMenu* sub = menu.GetSubMenu(i)) {
      out += text.str() + "[" + Shape(*sub) + "]";
      continue;
    }
    if (menu.GetMenuState(static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) {
      out += "-";
      continue;
    }
    const UINT id = menu.GetMenuItemID(i);
    out += text.str() + (id >= 44444 && id <= 45444 ? "#" + std::to_string(id - 44444)
                                                    : "=" + std::to_string(id));
  }
  return out;
}

// Builds a menu from a shape of the same form ("&File[Open=1]|-|X=3"), states by a
// trailing '!' (disabled) or '*' (checked).
void Build(CMenu& menu, const std::string& shape) {
  size_t i = 0;
  std::function<void(CMenu&)> items = [&](CMenu& m) {
    while (i < shape.size() && shape[i] != ']') {
      std::string text;
      while (i < shape.size() && !std::strchr("[]|=!*", shape[i])) text += shape[i++];
      UINT state = 0;
      UINT id = 0;
      if (i < shape.size() && shape[i] == '=') {
        size_t used;
        id = static_cast<UINT>(std::stoul(shape.substr(++i), &used));
        i += used;
      }
      while (i < shape.size() && (shape[i] == '!' || shape[i] == '*'))
        state |= shape[i++] == '!' ? MF_DISABLED | MF_GRAYED : MF_CHECKED;
      if (i < shape.size() && shape[i] == '[') {
        ++i;
        CMenu sub;
        sub.CreatePopupMenu();
        items(sub);
        ++i;  // ']'
        while (i < shape.size() && (shape[i] == '!' || shape[i] == '*'))
          state |= shape[i++] == '!' ? MF_DISABLED | MF_GRAYED : MF_CHECKED;
        m.AppendMenu(MF_POPUP | state, sub.Detach().value, text.c_str());
      } else if (text == "-") {
        m.AppendMenu(MF_SEPARATOR);
      } else {
        m.AppendMenu(MF_STRING | state, id, text.c_str());
      }
      if (i < shape.size() && shape[i] == '|') ++i;
    }
  };
  items(menu);
}

class ToolMenuTest : public ::testing::Test {
 protected:
  void SetUp() override { menu.CreateMenu(); }
  Tools tools;
  CMenu menu;
};

TEST_F(ToolMenuTest, TheTreeAppendsToMenusWithoutEmptyFolders) {
  tools.Add("Align|Clustal", 1);
  tools.Add("Analyze|Dot plot", 2);
  tools.Add("Analyze|Blast", 3);
  tools.Add("Viewer", 5);
  tools.Add("Far", 800);  // beyond the last identifier: entry 0's, which no tool has
  tools.GetMainNode()
      ->GetSubnode("Empty", CToolDataUnit::none, &tools)
      ->GetSubnode("Inner", CToolDataUnit::none, &tools);
  CMenu all, general, analyze, align;
  for (CMenu* m : {&all, &general, &analyze, &align}) m->CreatePopupMenu();
  tools.GetMainNode()->AppendContentsToMenu(&all);
  EXPECT_EQ(Shape(all), "Align[Clustal#1]|Analyze[Blast#3|Dot plot#2]|Far#0|Viewer#5");
  tools.GetMainNode()->AppendContentsToTopMenu(&general, 0);
  EXPECT_EQ(Shape(general), "Far#0|Viewer#5");
  tools.GetMainNode()->AppendContentsToTopMenu(&analyze, 1);
  EXPECT_EQ(Shape(analyze), "Blast#3|Dot plot#2");
  tools.GetMainNode()->AppendContentsToTopMenu(&align, 2);
  EXPECT_EQ(Shape(align), "Clustal#1");
  // A folder named "analyze" is an ordinary folder.
  Tools lower;
  lower.Add("analyze|Other", 4);
  CMenu none, ordinary;
  none.CreatePopupMenu();
  ordinary.CreatePopupMenu();
  lower.GetMainNode()->AppendContentsToTopMenu(&none, 1);
  EXPECT_EQ(Shape(none), "");
  lower.GetMainNode()->AppendContentsToTopMenu(&ordinary, 0);
  EXPECT_EQ(Shape(ordinary), "analyze[Other#4]");
}

TEST_F(ToolMenuTest, RegisteringReadsTheMarksAndClearsThem) {
  Build(menu, "&File[Open=1]|&Edit[-|Copy=2|Paste=3]|&Tools[Options=4]!|Help=5|Mark[Z=6|W=7]*");
  tools.RegisterMenu("main", &menu, nullptr, 0, 0);
  CMenuHolder* holder = tools.FindMenu("main");
  ASSERT_NE(holder, nullptr);
  EXPECT_EQ(holder->m_nToolsPosition, 2);
  EXPECT_EQ(menu.GetMenuState(2, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED), 0u);
  EXPECT_EQ(menu.GetMenuState(4, MF_BYPOSITION) & MF_CHECKED, 0u);
  // The layout: the popups' sizes, the marked fifth item's negated.
  ASSERT_EQ(holder->m_layout.GetSize(), 5);
  EXPECT_EQ(holder->m_layout[1], 2);
  EXPECT_EQ(holder->m_layout[3], 0);
  EXPECT_EQ(holder->m_layout[4], static_cast<WORD>(-2));
  EXPECT_TRUE(tools.CheckMenu("main"));
  EXPECT_FALSE(tools.CheckMenu("Main"));  // names are compared with their case
  // Marks counted from the offset: the first item is not looked at.
  CMenu second;
  second.CreateMenu();
  Build(second, "Skip[X=9]!|A[Y=8]!|B=7*");
  tools.RegisterMenu("second", &second, nullptr, 0, 1);
  EXPECT_EQ(tools.FindMenu("second")->m_nToolsPosition, 0);
  EXPECT_NE(second.GetMenuState(0, MF_BYPOSITION) & MF_DISABLED, 0u);
  tools.UnRegisterMenu("second");
  EXPECT_FALSE(tools.CheckMenu("second"));
}

TEST_F(ToolMenuTest, ToolsGoAfterTheToolsPopupOrAtTheOffset) {
  tools.Add("Viewer", 1);
  tools.Add("Sequence|Reverse", 2);
  Build(menu, "&File[Open=1]|&Edit[Copy=2]|&Tools[Options=4]!|&Help[About=5]");
  tools.RegisterMenu("main", &menu, nullptr, 0, 0);
  tools.UpdateMenu("main", &menu, -1, 0);
  EXPECT_EQ(Shape(menu),
            "&File[Open=1]|&Edit[Copy=2]|&Tools[Options=4]|Sequence[Reverse#2]|Viewer#1|"
            "&Help[About=5]");
  EXPECT_EQ(tools.FindMenu("main")->m_inserted.GetSize(), 2);
  EXPECT_EQ(tools.FindMenu("main")->m_inserted[0], 3);
  // No tools popup: from the offset on.
  CMenu plain;
  plain.CreateMenu();
  Build(plain, "Fixed=1|&File[Open=2]");
  tools.RegisterMenu("plain", &plain, nullptr, 0, 1);
  tools.UpdateMenu("plain", &plain, -1, 1);
  EXPECT_EQ(Shape(plain), "Fixed=1|Sequence[Reverse#2]|Viewer#1|&File[Open=2]");
  EXPECT_EQ(tools.FindMenu("plain")->m_inserted[0], 0);
  // An unregistered name changes nothing.
  tools.UpdateMenu("nobody", &plain, -1, 0);
  EXPECT_EQ(Shape(plain), "Fixed=1|Sequence[Reverse#2]|Viewer#1|&File[Open=2]");
}

TEST_F(ToolMenuTest, FoldersMergeIntoPopupsOfTheirNameMnemonicsIgnored) {
  tools.Add("Analyze|Blast", 1);
  tools.Add("Edit|Trim", 2);
  tools.Add("Notes|Sub|Deep", 3);
  Build(menu, "&Analyze[-]|&Edit[Dot plot=7]|ana&lyze[Q=8]");
  tools.RegisterMenu("m", &menu, nullptr, 0, 0);
  tools.UpdateMenu("m", &menu, 3, 0);
  // &Analyze takes Analyze and loses its lone separator; Edit gets a separator first; the
  // lower-case one is another popup; deeper folders become popups inside.
  EXPECT_EQ(Shape(menu),
            "&Analyze[Blast#1]|&Edit[Dot plot=7|-|Trim#2]|ana&lyze[Q=8]|Notes[Sub[Deep#3]]");
  CString a = "&Ana&&lyze", b = "Analyze", c = "analyze", d = "Analyz";
  EXPECT_EQ(tools.CompareMenuString(a, b), 1);
  EXPECT_EQ(tools.CompareMenuString(b, c), 0);
  EXPECT_EQ(tools.CompareMenuString(b, d), 0);
}

TEST_F(ToolMenuTest, UpdatingAgainLeavesOneCopyAndTakesAwayWhatWent) {
  tools.Add("Analyze|Blast", 1);
  tools.Add("Sequence|Sub|Reverse", 2);
  tools.Add("Viewer", 3);
  Build(menu, "&Tools[Options=4]!|&Analyze[Dot plot=7]");
  tools.RegisterMenu("m", &menu, nullptr, 0, 0);
  tools.UpdateMenu("m", &menu, -1, 0);
  const std::string once = Shape(menu);
  EXPECT_EQ(once,
            "&Tools[Options=4]|Sequence[Sub[Reverse#2]]|Viewer#3|&Analyze[Dot plot=7|-|Blast#1]");
  tools.UpdateMenu("m", &menu, -1, 0);
  EXPECT_EQ(Shape(menu), once);
  // The folders and tools go: their popups go, the application's stay with their items.
  tools.GetMainNode()->Clear();
  tools.Add("Viewer", 1);
  tools.UpdateMenu("m", &menu, -1, 0);
  EXPECT_EQ(Shape(menu), "&Tools[Options=4]|Viewer#1|&Analyze[Dot plot=7|-]");
  // A tool item the application put deep into its own popup goes too, and the popup
  // emptied by that with it.
  CMenu* options = menu.GetSubMenu(0);
  CMenu nested;
  nested.CreatePopupMenu();
  nested.AppendMenu(MF_STRING, 44450, "Old tool");
  options->AppendMenu(MF_POPUP, nested.Detach().value, "Nested");
  tools.UpdateMenu("m", &menu, -1, 0);
  EXPECT_EQ(Shape(menu), "&Tools[Options=4]|Viewer#1|&Analyze[Dot plot=7|-]");
}

class ToolUpdateUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, GetToolCommandID(1), "Plain");
    popup.AppendMenu(MF_STRING, GetToolCommandID(2), "Needs data");
    popup.AppendMenu(MF_STRING, GetToolCommandID(9), "Gone");
    tools.Add("Plain", 1, 0);
    tools.Add("Needs data", 2, 1);
  }
  // The item at position after its update through the tools manager.
  UINT Update(int position, int index, bool mainFrame = false) {
    CCmdUI ui;
    ui.m_pMenu = &popup;
    ui.m_nIndex = static_cast<UINT>(position);
    ui.m_nID = popup.GetMenuItemID(position);
    if (mainFrame)
      tools.OnUpdateZelToolMF(&ui, index);
    else
      tools.OnUpdateZelTool(&ui, nullptr, index);
    return popup.GetMenuState(static_cast<UINT>(position), MF_BYPOSITION);
  }
  Tools tools;
  CMenu popup;
};

TEST_F(ToolUpdateUiTest, ToolItemsAreEnabledByInputTypeReadinessAndTheirTest) {
  EXPECT_EQ(Update(0, 1) & MF_GRAYED, 0u);                            // input type 0: always
  EXPECT_EQ(Update(1, 2) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));  // not ready
  tools.ready = 1;
  EXPECT_EQ(Update(1, 2) & MF_GRAYED, 0u);
  tools.enabled = 0;
  EXPECT_EQ(Update(1, 2) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  // No such tool: renamed and disabled, its identifier kept.
  EXPECT_EQ(Update(2, 9) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  char text[32];
  popup.GetMenuString(2, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "-No Tool-");
  EXPECT_EQ(popup.GetMenuItemID(2), GetToolCommandID(9));
  // The main frame's entries: -2 and -4 always, others through the main window's frame.
  EnableMenuItem(popup, 2, MF_BYPOSITION | MF_GRAYED);
  EXPECT_EQ(Update(2, -2, true) & MF_GRAYED, 0u);
  EXPECT_EQ(Update(2, -4, true) & MF_GRAYED, 0u);
  EXPECT_EQ(Update(2, -3, true) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(Update(0, 1, true) & MF_GRAYED, 0u);
}

}  // namespace
