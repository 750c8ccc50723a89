// zel view's frame driven in-process, headless: the documents' titles, the Window list,
// the status bar's fields and notices, and the Tools menu with and without a tool folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/frame/MenuImages.h"
#include "cli/view/MainFrame.h"
#include "layout/DirectoryLayout.h"
#include "platform/os/module/Toolkit.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/wnd/Presenter.h"
#include "tests/support/RecordingLauncher.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"
#include "ui/TipWnd.h"
#include "ui/ZelDialogTemplates.h"

namespace {

constexpr const char* kGenBank =
    "LOCUS       PUC19   20 bp    DNA     circular\n"
    "DEFINITION  A test.\n"
    "ORIGIN\n"
    "        1 acgtacgtac gtacgtacgt\n"
    "//\n";

class ViewFrameTest : public zel_test::ZelTest {
 protected:
  void TearDown() override {
    frame.reset();
    tools.reset();
    EXEDIR.ClearSpec();
    TOOLSDIR.ClearSpec();
    TOOLSMENUDIR.ClearSpec();
  }
  // The frame, with the tools of the installation whose programs are in exe (the sample
  // installation's by default) when withTools.
  void Make(bool withTools, std::string exe = "") {
    if (withTools) {
      if (exe.empty()) exe = std::string(ZEL_SOURCE_DIR) + "/examples/installation/Programs";
      EXEDIR = CZelDirSpec(exe.c_str());
      RecalcEXEDIRDependencies();
      tools = std::make_unique<zel_cli::ViewTools>(
          [this](CFrameWnd* f) { return frame->FactsOfFrame(f); },
          [](CFrameWnd* f) {
            auto* doc = dynamic_cast<zel_cli::DocFrame*>(f);
            return doc ? doc->Path() : std::string();
          });
    }
    frame = std::make_unique<zel_cli::MainFrame>(tools.get(), picture);
    ASSERT_TRUE(frame->CreateFrame(zel_cli::Placement{0, 0, 800, 600, SW_SHOWNORMAL}));
  }
  std::string Open(const std::string& name, const std::string& text) {
    zel_test::WriteFile(tmp / name, text);
    std::string error;
    EXPECT_TRUE(frame->OpenDocument(tmp / name, &error)) << error;
    return tmp / name;
  }
  zel_cli::DocFrame* Active() { return dynamic_cast<zel_cli::DocFrame*>(frame->MDIGetActive()); }
  // The texts of a popup of the menu bar, by the popup's position.
  std::vector<std::string> Items(int popup) {
    CMenu* menu = frame->GetMenu()->GetSubMenu(popup);
    std::vector<std::string> texts;
    for (UINT i = 0; menu && i < menu->GetMenuItemCount(); ++i) {
      CString text;
      menu->GetMenuString(i, text, MF_BYPOSITION);
      texts.emplace_back(text.GetString());
    }
    return texts;
  }
  std::string Status(zel_cli::StatusField field) {
    return frame->Bar() ? frame->Bar()->Field(field) : "(no status bar)";
  }

  CWinApp app{"zel"};
  zel_cli::PictureOptions picture;
  std::unique_ptr<zel_cli::ViewTools> tools;
  std::unique_ptr<zel_cli::MainFrame> frame;
};

TEST_F(ViewFrameTest, EachDocumentIsAChildNamedByItsTypeAndListedUnderWindow) {
  Make(false);
  Open("a.gb", kGenBank);
  Open("b.fa", ">s\nACGT\n");
  zel_cli::DocFrame* b = Active();
  ASSERT_NE(b, nullptr);
  CString title;
  b->GetWindowText(title);
  // .fa names no type: its contents do, once the document has looked.
  ASSERT_TRUE(zel_test::PumpUntil([&] {
    b->GetWindowText(title);
    return title == "b.fa - FASTA Files";
  })) << title.GetString();
  CString frameTitle;
  frame->GetWindowText(frameTitle);
  EXPECT_EQ(std::string(frameTitle.GetString()), "b.fa - ZelUtil Viewer");
  EXPECT_EQ(Items(2),
            (std::vector<std::string>{"&Cascade", "&Tile", "", "&1 a.gb - DNA/RNA Documents",
                                      "&2 b.fa - FASTA Files"}));
  CMenu* window = frame->GetMenu()->GetSubMenu(2);
  EXPECT_EQ(window->GetMenuState(4, MF_BYPOSITION) & MF_CHECKED, UINT{MF_CHECKED});
  EXPECT_EQ(window->GetMenuState(3, MF_BYPOSITION) & MF_CHECKED, 0u);

  // Choosing the first makes it the active one; closing it takes it off the list.
  frame->SendMessage(WM_COMMAND, 0xFF00);
  ASSERT_NE(Active(), nullptr);
  EXPECT_EQ(Active()->Name(), "a.gb");
  Active()->SendMessage(WM_CLOSE);
  ASSERT_TRUE(zel_test::PumpUntil([&] { return Items(2).size() == 4; }));
  EXPECT_EQ(Items(2).back(), "&1 b.fa - FASTA Files");
  EXPECT_EQ(frame->OpenPaths(), (std::vector<std::string>{tmp / "b.fa"}));
}

TEST_F(ViewFrameTest, TheStatusBarShowsFormatLinesAndSize) {
  Make(false);
  Open("x.gb", kGenBank);
  ASSERT_TRUE(zel_test::PumpUntil([&] { return Status(zel_cli::kLinesField) == "5 lines"; }))
      << Status(zel_cli::kLinesField);
  EXPECT_EQ(Status(zel_cli::kFormatField), "GenBank, nucleic acid");
  EXPECT_EQ(Status(zel_cli::kSizeField), "108 bytes");
}

TEST_F(ViewFrameTest, AChangedOrDeletedFileSaysSo) {
  Make(false);
  const std::string path = Open("x.gb", kGenBank);
  ASSERT_TRUE(zel_test::PumpUntil([&] { return Status(zel_cli::kLinesField) == "5 lines"; }));
  zel_test::WriteFile(path, std::string(kGenBank) + "LOCUS more\n");
  ASSERT_TRUE(zel_test::PumpUntil([&] {
    return Status(zel_cli::kMessageField) == "x.gb changed on disk: File > Reload reads it again";
  })) << Status(zel_cli::kMessageField);
  std::filesystem::remove(path);
  ASSERT_TRUE(zel_test::PumpUntil([&] {
    return Status(zel_cli::kMessageField) == "x.gb was deleted";
  })) << Status(zel_cli::kMessageField);
}

TEST_F(ViewFrameTest, WithoutAToolFolderTheToolsMenuSaysSo) {
  Make(false);
  ASSERT_EQ(Items(3), (std::vector<std::string>{"No tool folder (zel layout)"}));
  EXPECT_TRUE(frame->GetMenu()->GetSubMenu(3)->GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(ViewFrameTest, TheInstallationsToolsAreMergedIntoTheToolsMenu) {
  Make(true);
  const std::vector<std::string> items = Items(3);
  EXPECT_NE(std::find(items.begin(), items.end(), "Sequence"), items.end());
  EXPECT_NE(std::find(items.begin(), items.end(), "Web"), items.end());
  EXPECT_NE(std::find(items.begin(), items.end(), "Viewer"), items.end());
  // The bar keeps its titles: the tools went into their popup.
  EXPECT_EQ(frame->GetMenu()->GetMenuItemCount(), 5u);
}

TEST_F(ViewFrameTest, FindGoToLineAndCopyWorkOnTheActiveDocument) {
  Make(false);
  std::string text;
  for (int i = 0; i < 500; ++i) text += "line " + std::to_string(i) + "\n";
  text += "the needle\nline after\n";
  Open("long.txt", text);
  zel_cli::DocFrame* doc = Active();
  ASSERT_TRUE(zel_test::PumpUntil([&] { return !doc->Doc().State().counting; }));

  // Find, as a person types it into the dialog.
  ui().dialogScripts.push_back(
      {DialogStep::TypeText(IDC_EDIT_NAME_VALUE, "needle"), DialogStep::ClickButton(IDOK)});
  frame->SendMessage(WM_COMMAND, zel_cli::ID_EDIT_FIND);
  ASSERT_TRUE(zel_test::PumpUntil([&] {
    return Status(zel_cli::kMessageField) == "Found \"needle\" on line 501";
  })) << Status(zel_cli::kMessageField);
  // The line found is selected and on screen.
  EXPECT_EQ(doc->View().SelectedText(1000), "the needle\n");
  ASSERT_NE(ui().dialogs.size(), 0u);
  EXPECT_EQ(ui().dialogs.back().caption, "Find");

  // Finding again goes on below it: there is none.
  ui().dialogScripts.push_back({DialogStep::ClickButton(IDOK)});
  frame->SendMessage(WM_COMMAND, zel_cli::ID_EDIT_FIND);
  ASSERT_TRUE(zel_test::PumpUntil([&] {
    return Status(zel_cli::kMessageField) == "\"needle\" is not found below";
  })) << Status(zel_cli::kMessageField);

  // Go to Line 12 (counted from 1), then copy it.
  ui().dialogScripts.push_back(
      {DialogStep::TypeText(IDC_EDIT_NAME_VALUE, "12"), DialogStep::ClickButton(IDOK)});
  frame->SendMessage(WM_COMMAND, zel_cli::ID_EDIT_GOTO);
  EXPECT_EQ(doc->View().SelectedText(1000), "line 11\n");
  frame->SendMessage(WM_COMMAND, zel_cli::ID_EDIT_COPY);
  ASSERT_TRUE(ui().clipboard.has_value());
  EXPECT_EQ(*ui().clipboard, "line 11\n");
  EXPECT_EQ(Status(zel_cli::kMessageField), "Copied 1 line");

  // A line past the end is told, and nothing moves.
  ui().dialogScripts.push_back(
      {DialogStep::TypeText(IDC_EDIT_NAME_VALUE, "9999"), DialogStep::ClickButton(IDOK)});
  frame->SendMessage(WM_COMMAND, zel_cli::ID_EDIT_GOTO);
  EXPECT_EQ(Status(zel_cli::kMessageField), "long.txt has lines 1 to 502");
  EXPECT_EQ(doc->View().SelectedText(1000), "line 11\n");
}

TEST_F(ViewFrameTest, FilesDroppedOnTheFrameOrADocumentOpen) {
  Make(false);
  Open("a.gb", kGenBank);
  zel_test::WriteFile(tmp / "b.fa", ">s\nACGT\n");
  zel_test::WriteFile(tmp / "c.fa", ">t\nACGT\n");
  // Over a document's view: the frame takes the files.
  const HWND view = Active()->View().m_hWnd;
  EXPECT_EQ(zel_wnd::FileDropTarget(view), frame->m_hWnd);
  zel_wnd::DropFiles(view, {tmp / "b.fa", tmp / "c.fa", tmp / "gone.fa"}, POINT{10, 10});
  ASSERT_TRUE(zel_test::PumpUntil([&] { return frame->OpenPaths().size() == 3; }));
  EXPECT_EQ(frame->OpenPaths()[2], tmp / "c.fa");
  // The one that is not there is told in one message box.
  ASSERT_TRUE(zel_test::PumpUntil([&] { return !ui().messages.empty(); }));
  EXPECT_NE(ui().messages[0].text.Find("gone.fa"), -1) << ui().messages[0].text.GetString();
}

TEST_F(ViewFrameTest, CascadeAndTileArrangeTheDocumentsAndThePlacementKeepsTheState) {
  Make(false);
  Open("a.gb", kGenBank);
  Open("b.fa", ">s\nACGT\n");
  frame->SendMessage(WM_COMMAND, zel_cli::ID_WINDOW_TILE);
  std::vector<CRect> rects;
  for (CMDIChildWnd* child : frame->MDIGetChildren()) {
    CRect r;
    child->GetWindowRect(&r);
    rects.push_back(r);
  }
  ASSERT_EQ(rects.size(), 2u);
  // Side by side: one beside the other, as high as each other.
  EXPECT_LE(std::min(rects[0].right, rects[1].right), std::max(rects[0].left, rects[1].left));
  EXPECT_EQ(rects[0].Height(), rects[1].Height());
  frame->SendMessage(WM_COMMAND, zel_cli::ID_WINDOW_CASCADE);
  CRect first, second;
  frame->MDIGetChildren()[0]->GetWindowRect(&first);
  frame->MDIGetChildren()[1]->GetWindowRect(&second);
  EXPECT_GT(second.top, first.top);
  EXPECT_GT(second.left, first.left);

  frame->ShowWindow(SW_SHOWMAXIMIZED);
  frame->SaveSettings();
  const auto placement = zel_cli::LoadPlacement();
  ASSERT_TRUE(placement);
  EXPECT_EQ(placement->state, SW_SHOWMAXIMIZED);
  // The normal place, not the maximised one, is what comes back.
  EXPECT_EQ(placement->width, 800);
  EXPECT_EQ(placement->height, 600);
}

TEST_F(ViewFrameTest, AboutNamesTheVersionsOfZelTheLibraryAndTheToolkit) {
  Make(false);
  frame->SendMessage(WM_COMMAND, zel_cli::ID_APP_ABOUT);
  ASSERT_EQ(ui().messages.size(), 1u);
  const std::string text = ui().messages[0].text.GetString();
  EXPECT_NE(text.find(std::string("zel ") + ZEL_TEST_VERSION), std::string::npos) << text;
  EXPECT_NE(text.find(std::string("ZelUtil library ") + ZEL_TEST_VERSION), std::string::npos)
      << text;
  // The command's tests run without the toolkit's library, which then says nothing.
  EXPECT_EQ(zel_module::ToolkitVersion(), "");
  zel_module::RegisterToolkitVersion("Qt 6.9.9");
  EXPECT_NE(zel_cli::AboutText().find("\nQt 6.9.9"), std::string::npos);
  zel_module::RegisterToolkitVersion("");
}

TEST_F(ViewFrameTest, OpenOffersTheDocumentTypesAndKeepsItsFolder) {
  Make(false);
  std::filesystem::create_directories(tmp.path() / "seqs");
  zel_test::WriteFile(tmp / "seqs/chosen.gb", kGenBank);
  FileDialogResult chosen;
  chosen.path = (tmp / "seqs/chosen.gb").c_str();
  ui().fileAnswers.push_back(chosen);
  frame->SendMessage(WM_COMMAND, zel_cli::ID_FILE_OPEN);
  ASSERT_EQ(ui().fileDialogs.size(), 1u);
  const FileDialogRequest& request = ui().fileDialogs[0];
  EXPECT_TRUE(request.open);
  const std::string filter = request.filter.GetString();
  // The formats read from the contents (FASTA, EMBL) have no extension of their own, so
  // the first item offers every file.
  EXPECT_EQ(filter.rfind("All Documents (*.*)|*.*|DNA/RNA Documents (*.gb)|*.gb|", 0), 0u)
      << filter;
  for (const char* item : {"GenBank Files (*.gb;*.gbk)|*.gb;*.gbk|", "FASTA Files (*.*)|*.*|",
                           "EMBL Files (*.*)|*.*|"}) {
    SCOPED_TRACE(item);
    EXPECT_NE(filter.find(item), std::string::npos) << filter;
  }
  EXPECT_EQ(frame->OpenPaths(), (std::vector<std::string>{tmp / "seqs/chosen.gb"}));
  // The folder is kept under its own key and offered the next time.
  EXPECT_EQ(app.GetProfileString("Directories", "View", ""), tmp / "seqs");
  ui().fileAnswers.push_back(std::nullopt);
  frame->SendMessage(WM_COMMAND, zel_cli::ID_FILE_OPEN);
  ASSERT_EQ(ui().fileDialogs.size(), 2u);
  EXPECT_EQ(std::string(ui().fileDialogs[1].initialDir.GetString()), tmp / "seqs");
  EXPECT_EQ(frame->OpenPaths().size(), 1u);
}

TEST_F(ViewFrameTest, TheToolsMenuFollowsTheToolFolder) {
  const std::string menu = tmp / "Programs/Tools/Menu";
  std::filesystem::create_directories(menu + "/Align");
  const char* tool = "[ToolUnitShortcut]\r\nInputType=0\r\nTarget=true\r\n";
  zel_test::WriteFile(menu + "/Align/First.tq", tool);
  Make(true, tmp / "Programs");
  ASSERT_EQ(Items(3), (std::vector<std::string>{"Align"}));
  ASSERT_TRUE(zel_test::PumpUntil([&] { return tools->IsWatching() != 0; }));
  zel_test::WriteFile(menu + "/Second.tq", tool);
  ASSERT_TRUE(zel_test::PumpUntil([&] { return Items(3).size() == 2; }))
      << "the new tool did not reach the menu";
  const std::vector<std::string> items = Items(3);
  EXPECT_NE(std::find(items.begin(), items.end(), "Second"), items.end());
  // The bar keeps its five titles.
  EXPECT_EQ(frame->GetMenu()->GetMenuItemCount(), 5u);
}

// The id of a tool item under the Tools popup (one folder deep at most).
UINT ToolId(CMenu* tools, const std::string& folder, const std::string& name) {
  for (UINT i = 0; i < tools->GetMenuItemCount(); ++i) {
    CString text;
    tools->GetMenuString(i, text, MF_BYPOSITION);
    if (text.GetString() != folder) continue;
    CMenu* popup = tools->GetSubMenu(static_cast<int>(i));
    for (UINT j = 0; popup && j < popup->GetMenuItemCount(); ++j) {
      popup->GetMenuString(j, text, MF_BYPOSITION);
      if (text.GetString() == name) return popup->GetMenuItemID(static_cast<int>(j));
    }
  }
  return 0;
}

TEST_F(ViewFrameTest, AToolRunsOnTheActiveDocumentWhenItHasTheFormatItTakes) {
  zel_test::RecordingLauncher launcher;
  zel_test::IntegrationScope scope;
  scope.Use(&launcher);
  Make(true);
  // "Word count" takes one nucleic-acid sequence as FASTA (input type 2).
  const UINT id = ToolId(frame->GetMenu()->GetSubMenu(3), "Sequence", "Word count");
  ASSERT_NE(id, 0u);
  const std::string gb = Open("x.gb", kGenBank);
  ASSERT_TRUE(zel_test::PumpUntil([&] { return Active()->Doc().State().fileType != 0; }));
  frame->SendMessage(WM_COMMAND, id);
  EXPECT_TRUE(launcher.spawned.empty()) << "a GenBank document went to a FASTA tool";
  EXPECT_NE(tools->Prompt(id).find("needs a FASTA file; x.gb is a GenBank file"), std::string::npos)
      << tools->Prompt(id);

  const std::string fa = Open("s.fa", ">s\nACGTACGTAC\n");
  ASSERT_TRUE(zel_test::PumpUntil([&] { return Active()->Doc().State().fileType != 0; }));
  EXPECT_EQ(tools->Prompt(id), "Count the lines of the sequence file");
  frame->SendMessage(WM_COMMAND, id);
  ASSERT_EQ(launcher.spawned.size(), 1u);
  EXPECT_EQ(std::vector<std::string>(launcher.spawned[0].begin() + 1, launcher.spawned[0].end()),
            (std::vector<std::string>{"-l", fa}));
  CTipWnd* tip = CTipWnd::GetTipWnd();
  ASSERT_NE(tip, nullptr);
  CString shown;
  tip->GetWindowText(shown);
  EXPECT_EQ(std::string(shown.GetString()), "Started Word count");
  EXPECT_TRUE(tip->GetFlashMode());

  // A program that cannot be started is told in a message box, and nothing is flashed.
  tip->SetWindowText("");
  launcher.answer = ENOENT;
  frame->SendMessage(WM_COMMAND, id);
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_NE(ui().messages[0].text.Find("wc"), -1) << ui().messages[0].text.GetString();
  tip->GetWindowText(shown);
  EXPECT_EQ(std::string(shown.GetString()), "");
}

}  // namespace
