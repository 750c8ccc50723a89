// The name-entry dialog: its four forms, what it shows when it opens, the values it
// exchanges, and the checks on OK.
#include "tests/support/TestSupport.h"
#include "ui/EditNameDlg.h"
#include "ui/ZelDialogTemplates.h"

namespace {

class EditNameDlgTest : public zel_test::ZelTest {
 protected:
  static CString Value(CDialog& d) {
    CString text;
    d.GetDlgItemText(IDC_EDIT_NAME_VALUE, text);
    return text;
  }
  static std::pair<int, int> Selection(CDialog& d) {
    int start = -1, end = -1;
    static_cast<CEdit*>(d.GetDlgItem(IDC_EDIT_NAME_VALUE))->GetSel(start, end);
    return {start, end};
  }
};

TEST_F(EditNameDlgTest, FlagsChooseTheFormAndWhatItShows) {
  struct Case {
    int flags;
    UINT templateId;
    const char* caption;
    DialogItemKind kind;
  } cases[] = {
      {0, IDD_EDIT_NAME, "", DialogItemKind::Edit},
      {CEditNameDlg::kWide, IDD_EDIT_NAME_WIDE, "", DialogItemKind::Edit},
      {CEditNameDlg::kComboBox | CEditNameDlg::kWide, IDD_EDIT_NAME_COMBO, "",
       DialogItemKind::ComboBox},
      {CEditNameDlg::kListBox | CEditNameDlg::kComboBox, IDD_EDIT_NAME_LIST, "Select",
       DialogItemKind::ListBox},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    CEditNameDlg dialog(nullptr, nullptr, c.flags);
    ui().dialogScripts.push_back({DialogStep::Look([&](CDialog& d) {
      EXPECT_EQ(d.GetTemplateId(), c.templateId);
      CString caption;
      d.GetWindowText(caption);
      EXPECT_EQ(caption, c.caption);
      EXPECT_EQ(d.GetDlgItem(IDC_EDIT_NAME_VALUE)->Kind(), c.kind);
      EXPECT_EQ(d.GetFocusItem(), d.GetDlgItem(IDC_EDIT_NAME_VALUE));
      EXPECT_TRUE(d.CenterRequested());
    })});
    dialog.DoModal();
  }
  auto t = ZelFindDialogTemplate(IDD_EDIT_NAME_LIST);
  EXPECT_EQ(t->cx, 243);
  EXPECT_EQ(t->cy, 142);
}

TEST_F(EditNameDlgTest, EditFormOpensWithCaptionPromptAndSelectedText) {
  for (int flags :
       {CEditNameDlg::kInitData, CEditNameDlg::kInitData | CEditNameDlg::kPassword, 0}) {
    SCOPED_TRACE(flags);
    CEditNameDlg dialog("New Directory", "Directory Name:", flags);
    dialog.SetName("Plasmids");
    ui().dialogScripts.push_back({DialogStep::Look([&](CDialog& d) {
      CString caption, prompt;
      d.GetWindowText(caption);
      d.GetDlgItemText(IDC_EDIT_NAME_PROMPT, prompt);
      EXPECT_EQ(caption, "New Directory");
      EXPECT_EQ(prompt, "Directory Name:");
      // Without 0x20 nothing is exchanged at start: the edit starts empty.
      const CString shown = (flags & CEditNameDlg::kInitData) ? "Plasmids" : "";
      EXPECT_EQ(Value(d), shown);
      EXPECT_EQ(Selection(d), std::make_pair(0, shown.GetLength()));
      auto* edit = static_cast<CEdit*>(d.GetDlgItem(IDC_EDIT_NAME_VALUE));
      EXPECT_EQ(edit->GetPasswordChar(), (flags & CEditNameDlg::kPassword) ? '*' : 0);
    })});
    dialog.DoModal();
  }
}

TEST_F(EditNameDlgTest, ChecksOnOkKeepTheDialogOpen) {
  struct Case {
    int flags;
    const char* text;
    const char* message;  // null: none shown
    bool closes;
  } cases[] = {
      {CEditNameDlg::kNotBlank, "   ", nullptr, false},
      {CEditNameDlg::kNotBlank, " x ", nullptr, true},
      {CEditNameDlg::kDbId, " abc", "Identifier cannot start or end with whitespace characters",
       false},
      {CEditNameDlg::kDbId, "",
       "Identifier cannot be empty or consist only of whitespace characters.", false},
      {CEditNameDlg::kDbId, "abc", nullptr, true},
      {CEditNameDlg::kDbValue, " spaced value ", nullptr, true},
      {CEditNameDlg::kNotBlank | CEditNameDlg::kDbId, "  ", nullptr, false},
      {0, "   ", nullptr, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.flags << " '" << c.text << "'");
    ui().messages.clear();
    CEditNameDlg dialog(nullptr, nullptr, c.flags | CEditNameDlg::kInitData);
    dialog.SetName(c.text);
    ui().dialogScripts.push_back({
        DialogStep::Look([](CDialog& d) { d.GetDlgItem(IDOK)->SetFocus(); }),
        DialogStep::ClickButton(IDOK),
        DialogStep::Look([&](CDialog& d) {
          // Still open: the focus back on the entry, its text selected.
          EXPECT_EQ(d.GetFocusItem(), d.GetDlgItem(IDC_EDIT_NAME_VALUE));
          EXPECT_EQ(Selection(d), std::make_pair(0, Value(d).GetLength()));
        }),
    });
    EXPECT_EQ(dialog.DoModal(), c.closes ? IDOK : IDCANCEL);
    if (c.message) {
      ASSERT_EQ(ui().messages.size(), 1u);
      EXPECT_EQ(ui().messages[0].text, c.message);
    } else {
      EXPECT_TRUE(ui().messages.empty());
    }
  }
}

TEST_F(EditNameDlgTest, ListFormMovesItsStringsAndNeedsASelection) {
  CEditNameDlg dialog("Pick", nullptr,
                      CEditNameDlg::kListBox | CEditNameDlg::kInitData | CEditNameDlg::kNotBlank);
  for (const char* s : {"EcoRI", "ecori", "BamHI"}) dialog.AddString(s);
  dialog.AddHistoryLine("HindIII");
  dialog.SetName("ecori");
  ui().dialogScripts.push_back({
      DialogStep::Look([](CDialog& d) {
        auto* list = static_cast<CListBox*>(d.GetDlgItem(IDC_EDIT_NAME_VALUE));
        EXPECT_EQ(list->GetCount(), 4);
        EXPECT_EQ(list->GetCurSel(), 1);  // the entry equal with its case
      }),
      DialogStep::SelectEntry(IDC_EDIT_NAME_VALUE, -1),
      DialogStep::ClickButton(IDOK),  // no selection: nothing happens
      DialogStep::Look([](CDialog& d) { EXPECT_FALSE(d.IsEnded()); }),
      DialogStep::SelectEntry(IDC_EDIT_NAME_VALUE, 3),
      DialogStep::ClickButton(IDOK),
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetName(), "HindIII");

  // The strings were moved into the list: a second run offers none.
  ui().dialogScripts.push_back({DialogStep::Look([](CDialog& d) {
    EXPECT_EQ(static_cast<CListBox*>(d.GetDlgItem(IDC_EDIT_NAME_VALUE))->GetCount(), 0);
  })});
  dialog.DoModal();
}

TEST_F(EditNameDlgTest, ComboFormOffersHistoryAndTakesTypedText) {
  CEditNameDlg dialog(nullptr, "Search:", CEditNameDlg::kComboBox | CEditNameDlg::kInitData);
  dialog.AddHistoryLine("GAATTC");
  dialog.AddHistoryLine("GGATCC");
  dialog.SetName("GGATCC");
  ui().dialogScripts.push_back({
      DialogStep::Look([](CDialog& d) {
        auto* combo = static_cast<CComboBox*>(d.GetDlgItem(IDC_EDIT_NAME_VALUE));
        EXPECT_EQ(combo->GetCount(), 2);
        EXPECT_EQ(Value(d), "GGATCC");
        EXPECT_EQ(combo->State().selStart, 0);
        EXPECT_EQ(combo->State().selEnd, 6);
      }),
      DialogStep::TypeText(IDC_EDIT_NAME_VALUE, "AAGCTT"),
      DialogStep::ClickButton(IDOK),
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetName(), "AAGCTT");
}

TEST_F(EditNameDlgTest, NumbersAreExchangedByTheFlags) {
  {
    CEditNameDlg dialog(nullptr, nullptr, CEditNameDlg::kDouble | CEditNameDlg::kULong);
    ui().dialogScripts.push_back(
        {DialogStep::TypeText(IDC_EDIT_NAME_VALUE, "42"), DialogStep::ClickButton(IDOK)});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetDouble(), 42.0);
    EXPECT_EQ(dialog.GetULong(), 42ul);
    EXPECT_EQ(dialog.GetName(), "");  // 0x10 exchanges the number instead of the text
  }
  {
    CEditNameDlg dialog(nullptr, nullptr, CEditNameDlg::kLong | CEditNameDlg::kInitData);
    dialog.SetLong(-5);
    dialog.SetName("start");
    ui().dialogScripts.push_back({
        // The text is exchanged after the number, so the edit shows the text.
        DialogStep::Look([](CDialog& d) { EXPECT_EQ(Value(d), "start"); }),
        DialogStep::TypeText(IDC_EDIT_NAME_VALUE, "-2147483648"),
        DialogStep::ClickButton(IDOK),
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetLong(), -2147483648L);
    EXPECT_EQ(dialog.GetName(), "-2147483648");
  }
  {
    CEditNameDlg dialog(nullptr, nullptr, CEditNameDlg::kULong | CEditNameDlg::kInitData);
    dialog.SetULong(7);
    ui().dialogScripts.push_back({
        DialogStep::Look([](CDialog& d) { EXPECT_EQ(Value(d), "7"); }),
        DialogStep::TypeText(IDC_EDIT_NAME_VALUE, "seven"),
        DialogStep::ClickButton(IDOK),
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(ui().messages.size(), 1u);
    EXPECT_EQ(ui().messages[0].text, "Please enter a positive integer.");
    EXPECT_EQ(dialog.GetULong(), 7ul);
  }
}

TEST_F(EditNameDlgTest, ATemplateWithoutTheValueControlIsAnsweredWithoutIt) {
  DialogTemplate bare;
  bare.id = IDD_EDIT_NAME;
  bare.cx = 100;
  bare.cy = 30;
  bare.items = {{IDOK, DialogItemKind::DefPushButton, "OK", 0, 4, 4, 40, 14}};
  ZelRegisterDialogTemplate(bare);
  for (int flags : {0, CEditNameDlg::kNotBlank, CEditNameDlg::kInitData | CEditNameDlg::kDouble}) {
    CEditNameDlg dialog("Bare", "Prompt", flags);
    dialog.SetName("kept");
    ui().dialogScripts.push_back({DialogStep::ClickButton(IDOK)});
    // Without the control the text counts as empty: not blank fails, the rest closes.
    EXPECT_EQ(dialog.DoModal(), flags & CEditNameDlg::kNotBlank ? IDCANCEL : IDOK);
    EXPECT_EQ(dialog.GetName(), "kept");
  }
  ZelRegisterLibraryDialogTemplates();
}

}  // namespace
