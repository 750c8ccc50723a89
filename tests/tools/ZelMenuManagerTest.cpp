// The tool menus' manager: tool items drawn with the icons of their tools' files, and the
// reload message to its window.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "layout/DirectoryLayout.h"
#include "platform/user/fileicons/FileIcons.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/gdi/FixedDC.h"
#include "platform/user/wnd/MenuTracking.h"
#include "platform/user/wnd/Message.h"
#include "tests/support/TestSupport.h"
#include "tools/AppTools.h"
#include "tools/ZelMenuManager.h"

namespace fs = std::filesystem;

namespace {

// Answers icons only for the names it is told, and remembers every name asked for.
class RecordingIcons : public zel_shell::FileIconProvider {
 public:
  std::vector<std::string> asked;
  std::vector<std::string> known;
  CImageList* ImageList(bool) override {
    if (list.GetImageCount() == 0) {
      list.Create(16, 16);
      std::vector<uint32_t> px(256, 0xFF00FF00u);
      list.Add(px.data());
    }
    return &list;
  }
  int IconIndex(const std::string& name, bool, bool) override {
    asked.push_back(name);
    for (const std::string& k : known)
      if (name.size() >= k.size() && name.compare(name.size() - k.size(), k.size(), k) == 0)
        return 0;
    return -1;
  }
  std::string TypeName(const std::string&, bool) override { return "t"; }
  CImageList list;
};

class ReloadWindow : public CFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  std::vector<LPARAM> reloads;

 protected:
  LRESULT OnReloadMenus(WPARAM w, LPARAM l) {
    EXPECT_EQ(w, 0u);
    reloads.push_back(l);
    return 0;
  }
};
BEGIN_MESSAGE_MAP(ReloadWindow, CFrameWnd)
ON_REGISTERED_MESSAGE(WM_RELOADCOOLMENU, OnReloadMenus)
END_MESSAGE_MAP()

class ZelMenuManagerTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    base = tmp / "Programs";
    EXEDIR = CZelDirSpec(base.c_str());
    RecalcEXEDIRDependencies();
    const std::string menu = TOOLSMENUDIR.GetPath();
    fs::create_directories(menu + "/Web");
    zel_test::WriteFile(menu + "/Viewer.tq",
                        "[ToolUnitShortcut]\r\nInputType=0\r\nTarget=~..\\bin\\viewer.exe\r\n");
    zel_test::WriteFile(menu + "/Script.tq",
                        "[ToolUnitShortcut]\r\nInputType=0\r\nTarget=~Trim.ss\r\n");
    zel_test::WriteFile(menu + "/Web/NCBI.url",
                        "[InternetShortcut]\r\nURL=https://ncbi.example/\r\n");
    scope.Use(&icons);
    tools.ReloadTools();
    frame.Create(nullptr, "Tools");
  }
  void TearDown() override {
    EXEDIR.ClearSpec();
    TOOLSDIR.ClearSpec();
    TOOLSMENUDIR.ClearSpec();
  }
  UINT Id(const char* menuPath) {
    for (auto type : {CToolDataUnit::tq, CToolDataUnit::url})
      if (CToolNode* n = tools.FindTool(menuPath, type)) return GetToolCommandID(n->GetToolIndex());
    return 0;
  }
  std::string base;
  RecordingIcons icons;
  zel_test::IntegrationScope scope;
  CAppTools tools{CAppTools::kNoWatch};
  ReloadWindow frame;
};

TEST_F(ZelMenuManagerTest, ToolItemsShowTheIconsOfTheFilesTheyOpen) {
  CZelMenuManager menus;
  menus.SetToolsManager(&tools);
  EXPECT_EQ(menus.GetToolsManager(), &tools);
  // A target in the executables' folder, one in the tools folder, a web link's own file.
  EXPECT_EQ(menus.IconFileOf(Id("Viewer")), base + "/bin/viewer.exe");
  EXPECT_EQ(tools.GetLastTool(), "Viewer");
  EXPECT_EQ(menus.IconFileOf(Id("Script")), std::string(TOOLSDIR.GetPath()) + "/Trim.ss");
  EXPECT_EQ(menus.IconFileOf(Id("Web|NCBI")),
            std::string(TOOLSMENUDIR.GetPath()) + "/Web/NCBI.url");
  EXPECT_EQ(menus.IconFileOf(32771), "");

  // Drawn through the owner-drawn menu: the viewer's icon, or the tool file's when the
  // target's name has none.
  CMenu popup;
  popup.CreatePopupMenu();
  popup.AppendMenu(MF_STRING, Id("Viewer"), "Viewer");
  popup.AppendMenu(MF_STRING, Id("Script"), "Script");
  popup.AppendMenu(MF_STRING, 32771, "Options");
  menus.Install(&frame);
  zel_menu::InitMenuPopup(frame.m_hWnd, popup.m_hMenu, 0, false);
  auto draw = [&](int position) {
    CFixedDC dc;
    zel_menu::DrawItem(frame.m_hWnd, popup.m_hMenu, position, &dc, RECT{0, 0, 120, 20},
                       ODA_DRAWENTIRE, 0);
    for (const DcEvent& e : dc.Events())
      if (e.op == DcEvent::kImage) return true;
    return false;
  };
  icons.known = {"viewer.exe"};
  icons.asked.clear();
  EXPECT_TRUE(draw(0));
  EXPECT_EQ(icons.asked, std::vector<std::string>{base + "/bin/viewer.exe"});
  icons.known = {"Script.tq"};
  icons.asked.clear();
  EXPECT_TRUE(draw(1));
  ASSERT_EQ(icons.asked.size(), 2u);
  EXPECT_EQ(icons.asked[1], std::string(TOOLSMENUDIR.GetPath()) + "/Script.tq");
  icons.known.clear();
  EXPECT_FALSE(draw(1));  // no icon at all: nothing drawn, no crash
  EXPECT_FALSE(draw(2));  // not a tool: no image of its own either
  menus.Install(static_cast<CWnd*>(nullptr));
}

TEST_F(ZelMenuManagerTest, ReloadingAsksTheWindowToLoadItsToolbars) {
  CZelMenuManager menus;
  menus.Reload();  // no window yet: nobody to ask
  menus.Install(&frame);
  ASSERT_EQ(frame.reloads.size(), 1u);
  EXPECT_EQ(frame.reloads[0], reinterpret_cast<LPARAM>(&menus));
  frame.SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(frame.reloads.size(), 2u);
}

}  // namespace
