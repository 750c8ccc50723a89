// The suite's dialog base: control helpers that tolerate missing controls, text updates
// only on change, palette forwarding, closing, help, the external help module, and the
// dialog layer's free functions.
#include "platform/os/module/LoadedModule.h"
#include "platform/user/app/WinApp.h"
#include "tests/support/RecordingDialogView.h"
#include "tests/support/TestSupport.h"
#include "ui/DialogFunctions.h"
#include "ui/ZelDialog.h"
#include "ui/ZelDialogTemplates.h"

extern "C" {
unsigned HelpModuleCalls(void);
unsigned HelpModuleCharacter(void);
unsigned HelpModuleTemplate(void);
}

namespace {

class HelpApp : public CWinApp {
 public:
  HelpApp() : CWinApp("Help App") {}
  void WinHelp(DWORD_PTR data, UINT command) override { asked.push_back({data, command}); }
  std::vector<std::pair<DWORD_PTR, UINT>> asked;
};

class ZelDialogTest : public zel_test::ZelTest {
 protected:
  // Runs a name-entry template under the suite's base with a recording view.
  int Run(CZelDialog& dialog, std::vector<DialogStep> steps) {
    steps.insert(steps.begin(), DialogStep::Look([this](CDialog& d) { d.SetView(&view); }));
    ui().dialogScripts.push_back(std::move(steps));
    return static_cast<int>(dialog.DoModal());
  }
  zel_test::RecordingDialogView view;
};

TEST_F(ZelDialogTest, HelpersActOnControlsThatExistAndOnlyOnChange) {
  CZelDialog dialog(IDD_EDIT_NAME);
  Run(dialog, {DialogStep::Look([&](CDialog&) {
        dialog.SetDlgItemText(IDC_EDIT_NAME_PROMPT, "Name:");  // the text it has
        EXPECT_EQ(view.changes[IDC_EDIT_NAME_PROMPT], 0);
        dialog.SetDlgItemText(IDC_EDIT_NAME_PROMPT, "name:");  // letter case counts
        EXPECT_EQ(view.changes[IDC_EDIT_NAME_PROMPT], 1);
        dialog.SetDlgItemText(IDC_EDIT_NAME_PROMPT, nullptr);
        CString text;
        dialog.GetDlgItemText(IDC_EDIT_NAME_PROMPT, text);
        EXPECT_EQ(text, "");
        dialog.SetDlgItemText(IDC_EDIT_NAME_PROMPT, "");  // null counted as empty: no change
        EXPECT_EQ(view.changes[IDC_EDIT_NAME_PROMPT], 2);

        dialog.EnableDlgItem(IDOK, FALSE);
        dialog.ShowDlgItem(IDCANCEL, FALSE);
        dialog.SetDlgItemFocus(IDC_EDIT_NAME_VALUE);
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(IDCANCEL)->IsWindowVisible());
        EXPECT_EQ(dialog.GetFocusItem(), dialog.GetDlgItem(IDC_EDIT_NAME_VALUE));
        for (int missing : {0, 4711}) {
          dialog.EnableDlgItem(missing, FALSE);
          dialog.ShowDlgItem(missing, TRUE);
          dialog.SetDlgItemFocus(missing);
          dialog.SetDlgItemText(missing, "x");
        }
        EXPECT_EQ(dialog.GetFocusItem(), dialog.GetDlgItem(IDC_EDIT_NAME_VALUE));
      })});
}

TEST_F(ZelDialogTest, MessageBoxesAreOwnedByTheDialog) {
  CWinApp app("Owner App");
  CZelDialog dialog(IDD_EDIT_NAME);
  dialog.m_hWnd = HWND(31);
  ui().messageAnswers = {IDNO};
  EXPECT_EQ(dialog.MessageBox("Sure?", nullptr, MB_YESNO), IDNO);
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].owner, HWND(31));
  EXPECT_EQ(ui().messages[0].caption, "Owner App");
}

TEST_F(ZelDialogTest, PaletteMessagesGoToThePaletteControl) {
  zel_test::RecordingControl control;
  CZelDialog dialog(IDD_EDIT_NAME);
  Run(dialog, {DialogStep::Look([&](CDialog& d) {
        CWnd focus(HWND(9));
        // Without a palette control nothing is forwarded.
        ASSERT_TRUE(control.SubclassDlgItem(IDC_EDIT_NAME_PROMPT, &d));
        d.WindowProc(WM_PALETTECHANGED, 9, 0);
        EXPECT_TRUE(control.received.empty());

        dialog.AllowPaletteHandling(IDC_EDIT_NAME_PROMPT);
        d.WindowProc(WM_PALETTECHANGED, focus.GetSafeHwnd().value, 0);
        EXPECT_EQ(d.WindowProc(WM_QUERYNEWPALETTE, 0, 0), 0);  // the dialog answers 0
        control.ShowWindow(SW_HIDE);
        d.WindowProc(WM_QUERYNEWPALETTE, 0, 0);  // hidden: not asked
        ASSERT_EQ(control.received.size(), 2u);
        EXPECT_EQ(control.received[0], std::make_pair(UINT(WM_PALETTECHANGED), WPARAM(9)));
        EXPECT_EQ(control.received[1], std::make_pair(UINT(WM_QUERYNEWPALETTE), WPARAM(0)));

        dialog.AllowPaletteHandling(4711);  // no such control
        EXPECT_EQ(d.WindowProc(WM_QUERYNEWPALETTE, 0, 0), 0);
      })});
}

TEST_F(ZelDialogTest, CloseBoxCancelsAndBringsTheOwnerForward) {
  CZelDialog dialog(IDD_EDIT_NAME);
  EXPECT_EQ(Run(dialog, {DialogStep::CloseWindow()}), IDCANCEL);
  EXPECT_EQ(view.parentActivations, 1);
}

TEST_F(ZelDialogTest, HelpAsksTheApplicationWithTheTemplateAsContext) {
  HelpApp app;
  CZelDialog dialog(IDD_EDIT_NAME_WIDE);
  Run(dialog, {DialogStep::PressHelp(), DialogStep::Look([](CDialog& d) {
                 d.WindowProc(WM_SYSCOMMAND, SC_CONTEXTHELP | 0x2, 0);
                 d.WindowProc(WM_SYSCOMMAND, SC_MOVE, 0);  // the presenter's business
                 EXPECT_FALSE(d.IsEnded());
                 d.WindowProc(WM_SYSCOMMAND, SC_CLOSE, 0);
                 EXPECT_TRUE(d.IsEnded());
               })});
  ASSERT_EQ(app.asked.size(), 2u);
  EXPECT_EQ(app.asked[0], std::make_pair(DWORD_PTR(IDD_EDIT_NAME_WIDE), UINT(HELP_CONTEXT)));
}

TEST_F(ZelDialogTest, TypedBackspacesGoToTheLoadedHelpModule) {
  // This test program has the stand-in module loaded, under its Linux name.
  ASSERT_NE(zel_module::FindLoadedEntry("VazOve.dll", "fnVazOveEntry"), nullptr);
  EXPECT_EQ(zel_module::FindLoadedEntry("VazOve.dll", "noSuchEntry"), nullptr);
  EXPECT_EQ(zel_module::FindLoadedEntry("NotLoaded.dll", "fnVazOveEntry"), nullptr);
  EXPECT_EQ(zel_module::FindLoadedEntry(nullptr, "fnVazOveEntry"), nullptr);

  const unsigned before = HelpModuleCalls();
  CZelDialog dialog(IDD_EDIT_NAME_COMBO);
  Run(dialog, {DialogStep::Look([&](CDialog& d) {
        EXPECT_TRUE(d.UserChar('\b'));
        EXPECT_FALSE(d.UserChar('a'));  // other characters reach the control
      })});
  EXPECT_EQ(HelpModuleCalls(), before + 1);
  EXPECT_EQ(HelpModuleCharacter(), unsigned('\b'));
  EXPECT_EQ(HelpModuleTemplate(), unsigned(IDD_EDIT_NAME_COMBO));
}

TEST(LoadedModuleTest, WindowsNamesBecomeSharedObjectNames) {
  using V = std::vector<std::string>;
  EXPECT_EQ(zel_module::SharedObjectNames("VazOve.dll"), (V{"VazOve.so", "libVazOve.so"}));
  EXPECT_EQ(zel_module::SharedObjectNames("Help.DLL"), (V{"Help.so", "libHelp.so"}));
  EXPECT_EQ(zel_module::SharedObjectNames("plain"), (V{"plain", "libplain"}));
  EXPECT_EQ(zel_module::SharedObjectNames("/opt/x/Help.dll"), (V{"/opt/x/Help.so"}));
  EXPECT_TRUE(zel_module::SharedObjectNames("").empty());
}

TEST_F(ZelDialogTest, FindStringExactCaseRespectsLetterCase) {
  CDialog list(IDD_EDIT_NAME_LIST), combo(IDD_EDIT_NAME_COMBO);
  struct Case {
    std::vector<const char*> entries;
    const char* text;
    int index;
  } cases[] = {
      {{"ABC", "abc"}, "abc", 1},
      {{"ABC", "abc"}, "Abc", -1},
      {{"abc", "x", "ABC", "abc"}, "ABC", 2},
      {{}, "abc", -1},
      {{"abcd"}, "abc", -1},
  };
  auto check = [&](CDialog& d) {
    auto* items = dynamic_cast<CListItems*>(d.GetDlgItem(IDC_EDIT_NAME_VALUE));
    ASSERT_NE(items, nullptr);
    auto* listBox = dynamic_cast<CListBox*>(items);
    auto* comboBox = dynamic_cast<CComboBox*>(items);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.text);
      items->ResetContent();
      for (const char* e : c.entries) items->AddString(e);
      CString text = c.text;
      EXPECT_EQ(comboBox ? FindStringExactCase(comboBox, text) : FindStringExactCase(listBox, text),
                c.index);
    }
  };
  ui().dialogScripts.push_back({DialogStep::Look(check)});
  ui().dialogScripts.push_back({DialogStep::Look(check)});
  list.DoModal();
  combo.DoModal();
  CString text = "x";
  EXPECT_EQ(FindStringExactCase(static_cast<CListBox*>(nullptr), text), -1);
}

TEST_F(ZelDialogTest, FreeFunctionsRunDialogsAndSheets) {
  CWnd owner(HWND(3));
  EXPECT_EQ(ZelDialogParent(&owner), &owner);
  EXPECT_EQ(ZelDialogParent(nullptr), nullptr);
  CZelDialog dialog(IDD_EDIT_NAME);
  ui().dialogScripts.push_back({DialogStep::ClickButton(IDOK)});
  EXPECT_EQ(ZelDoModal(&dialog), IDOK);
  CPropertyPage page(IDD_TOOL_SEL_SEQ);
  CPropertySheet sheet("Sheet");
  sheet.AddPage(&page);
  ui().dialogScripts.push_back({DialogStep::ClickButton(IDOK)});
  EXPECT_EQ(ZelDoModal(&sheet), IDOK);
  EXPECT_EQ(ZelDoModal(static_cast<CDialog*>(nullptr)), -1);
  EXPECT_EQ(ZelDoModal(static_cast<CPropertySheet*>(nullptr)), -1);
}

}  // namespace
