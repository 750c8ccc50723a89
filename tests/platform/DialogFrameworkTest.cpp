// Dialogs from templates, headless: controls by id, data exchange with refused entries,
// radio groups, what a person may and may not do, modeless dialogs, taken-over controls,
// property sheets, dialog units, filter strings and the choice of the backend.
#include "platform/user/dialog/DataExchange.h"
#include "platform/user/dialog/PropertySheet.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"
#include "tests/support/RecordingDialogView.h"
#include "tests/support/TestSupport.h"

namespace {

enum : int { kName = 10, kCount, kUnsigned, kRatio, kFirstRadio, kSecondRadio, kOtherRadio };
enum : int { kCheck = 20, kList, kCombo, kDisabled, kLabel };
constexpr UINT kTemplate = 9001;
using Kind = DialogItemKind;

void RegisterTestTemplate() {
  DialogTemplate t;
  t.id = kTemplate;
  t.caption = "Test";
  t.cx = 200;
  t.cy = 120;
  t.items = {
      {kLabel, Kind::Text, "&Name:", 0, 4, 4, 40, 8},
      {kName, Kind::Edit, "", WS_TABSTOP, 48, 4, 80, 12},
      {kCount, Kind::Edit, "", WS_TABSTOP, 48, 18, 40, 12},
      {kUnsigned, Kind::Edit, "", WS_TABSTOP, 48, 32, 40, 12},
      {kRatio, Kind::Edit, "", WS_TABSTOP, 48, 46, 40, 12},
      {kFirstRadio, Kind::RadioButton, "One", WS_GROUP | WS_TABSTOP, 4, 60, 40, 10},
      {kSecondRadio, Kind::RadioButton, "Two", 0, 4, 70, 40, 10},
      {kOtherRadio, Kind::RadioButton, "Other", WS_GROUP, 4, 80, 40, 10},
      {kCheck, Kind::CheckBox, "Check", WS_GROUP, 4, 90, 40, 10},
      {kList, Kind::ListBox, "", LBS_SORT, 100, 18, 60, 40},
      {kCombo, Kind::ComboBox, "", CBS_DROPDOWN, 100, 60, 60, 40},
      {kDisabled, Kind::PushButton, "Off", WS_DISABLED, 100, 100, 40, 14},
      {IDOK, Kind::DefPushButton, "OK", WS_TABSTOP, 150, 4, 40, 14},
      {IDCANCEL, Kind::PushButton, "Cancel", 0, 150, 20, 40, 14},
  };
  ZelRegisterDialogTemplate(t);
}

class TestDialog : public CDialog {
 public:
  TestDialog() : CDialog(kTemplate) {}
  CString name = "first";
  int count = 7;
  UINT unsignedCount = 3;
  double ratio = 0.25;
  int radio = 1;
  int check = 1;
  CString listText = "beta";
  CString comboText = "free";
  int inits = 0, commands = 0;

 protected:
  BOOL OnInitDialog() override {
    ++inits;
    if (CListBox* list = static_cast<CListBox*>(GetDlgItem(kList)))
      for (const char* s : {"gamma", "Alpha", "beta"}) list->AddString(s);
    if (CComboBox* combo = static_cast<CComboBox*>(GetDlgItem(kCombo)))
      for (const char* s : {"one", "two"}) combo->AddString(s);
    return CDialog::OnInitDialog();
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, kName, name);
    DDX_Text(dx, kCount, count);
    DDX_Text(dx, kUnsigned, unsignedCount);
    DDX_Text(dx, kRatio, ratio);
    DDX_Radio(dx, kFirstRadio, radio);
    DDX_Check(dx, kCheck, check);
    DDX_LBString(dx, kList, listText);
    DDX_CBString(dx, kCombo, comboText);
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    ++commands;
    return CDialog::OnCommand(wParam, lParam);
  }
};

class DialogFrameworkTest : public zel_test::ZelTest {
 protected:
  DialogFrameworkTest() { RegisterTestTemplate(); }
  static CString Text(CDialog& d, int id) {
    CString text;
    d.GetDlgItemText(id, text);
    return text;
  }
};

TEST_F(DialogFrameworkTest, DataGoesToTheControlsAndBack) {
  TestDialog dialog;
  ui().dialogScripts.push_back({
      DialogStep::Look([](CDialog& d) {
        EXPECT_EQ(Text(d, kName), "first");
        EXPECT_EQ(Text(d, kCount), "7");
        EXPECT_EQ(Text(d, kRatio), "0.25");
        EXPECT_EQ(d.GetCheckedRadioButton(kFirstRadio, kOtherRadio), kSecondRadio);
        EXPECT_EQ(d.IsDlgButtonChecked(kCheck), 1u);
        auto* list = static_cast<CListBox*>(d.GetDlgItem(kList));
        ASSERT_EQ(list->GetCount(), 3);
        CString entry;
        list->GetText(0, entry);
        EXPECT_EQ(entry, "Alpha");  // a sorted list, case ignored
        EXPECT_EQ(list->GetCurSel(), 1);
        EXPECT_EQ(Text(d, kCombo), "free");  // no entry begins with it: the edit's text
        // The first control that takes the focus has it.
        EXPECT_EQ(d.GetFocusItem(), d.GetDlgItem(kName));
      }),
      DialogStep::TypeText(kName, "second"),
      DialogStep::TypeText(kCount, " -12 "),
      DialogStep::TypeText(kUnsigned, "4294967295"),
      DialogStep::TypeText(kRatio, "1e-3"),
      DialogStep::ClickButton(kFirstRadio),
      DialogStep::ClickButton(kCheck),
      DialogStep::SelectEntry(kList, 2),
      DialogStep::SelectEntry(kCombo, 1),
      DialogStep::ClickButton(IDOK),
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.inits, 1);
  EXPECT_EQ(dialog.name, "second");
  EXPECT_EQ(dialog.count, -12);
  EXPECT_EQ(dialog.unsignedCount, 4294967295u);
  EXPECT_DOUBLE_EQ(dialog.ratio, 0.001);
  EXPECT_EQ(dialog.radio, 0);
  EXPECT_EQ(dialog.check, 0);
  EXPECT_EQ(dialog.listText, "gamma");
  EXPECT_EQ(dialog.comboText, "two");
  // Every click, entry and selection was a command: 8 actions and OK.
  EXPECT_EQ(dialog.commands, 9);
  ASSERT_EQ(ui().dialogs.size(), 1u);
  EXPECT_EQ(ui().dialogs[0].caption, "Test");
  EXPECT_FALSE(dialog.IsWindow());
  EXPECT_EQ(dialog.GetDlgItem(kName), nullptr);
}

TEST_F(DialogFrameworkTest, RefusedNumbersKeepTheDialogOpenOnTheirControl) {
  struct Case {
    int id;
    const char* text;
    const char* message;
  } cases[] = {
      {kCount, "12x", "Please enter an integer."},
      {kCount, "2147483648", "Please enter an integer."},
      {kCount, "", "Please enter an integer."},
      {kUnsigned, "-1", "Please enter a positive integer."},
      {kUnsigned, "4294967296", "Please enter a positive integer."},
      {kRatio, "1.5.2", "Please enter a number."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ui().messages.clear();
    TestDialog dialog;
    ui().dialogScripts.push_back({
        DialogStep::TypeText(c.id, c.text),
        DialogStep::ClickButton(IDOK),
        DialogStep::Look([&](CDialog& d) {
          EXPECT_FALSE(d.IsEnded());
          auto* edit = static_cast<CEdit*>(d.GetDlgItem(c.id));
          EXPECT_EQ(d.GetFocusItem(), edit);
          int start, end;
          edit->GetSel(start, end);
          EXPECT_EQ(start, 0);
          EXPECT_EQ(end, edit->GetWindowTextLength());
        }),
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(ui().messages.size(), 1u);
    EXPECT_EQ(ui().messages[0].text, c.message);
    // A refused save stops where it failed: what came before was saved, the rest not.
    EXPECT_EQ(dialog.ratio, 0.25);
  }
}

TEST_F(DialogFrameworkTest, WhatAPersonCanAndCannotDo) {
  TestDialog dialog;
  ui().dialogScripts.push_back({
      // Radio buttons of a group exclude each other, not those of the next group.
      DialogStep::ClickButton(kOtherRadio), DialogStep::ClickButton(kFirstRadio),
      DialogStep::Look([](CDialog& d) {
        EXPECT_TRUE(d.IsDlgButtonChecked(kOtherRadio));
        EXPECT_TRUE(d.IsDlgButtonChecked(kFirstRadio));
        EXPECT_FALSE(d.IsDlgButtonChecked(kSecondRadio));
        d.GetDlgItem(kName)->EnableWindow(FALSE);
        d.GetDlgItem(kCount)->ShowWindow(SW_HIDE);
      }),
      // Disabled and hidden controls take nothing; labels take no typing.
      DialogStep::TypeText(kName, "typed"), DialogStep::TypeText(kCount, "99"),
      DialogStep::TypeText(kLabel, "x"), DialogStep::ClickButton(kDisabled),
      DialogStep::ClickButton(4711),  // no such control
      DialogStep::Look([](CDialog& d) {
        EXPECT_EQ(Text(d, kName), "first");
        EXPECT_EQ(Text(d, kCount), "7");
        EXPECT_EQ(Text(d, kLabel), "&Name:");
      }),
      DialogStep::CloseWindow(),
      DialogStep::ClickButton(IDOK),  // too late: the window is closed
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.commands, 3);  // two radio clicks and the close box's IDCANCEL
  EXPECT_EQ(dialog.name, "first");
}

TEST_F(DialogFrameworkTest, MissingTemplatesAndNobodyToAnswer) {
  CDialog missing(4242);
  EXPECT_EQ(missing.DoModal(), -1);
  EXPECT_FALSE(missing.Create(4242));
  EXPECT_TRUE(ui().dialogs.empty());

  zel_test::IntegrationScope console;
  console.Use(&ConsoleUi());
  TestDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.inits, 0);  // cancelled without being started
}

TEST_F(DialogFrameworkTest, ControlsWithoutAnIdOfTheTemplateAreSkipped) {
  // A template that lacks a control the dialog's code names.
  DialogTemplate t;
  t.id = kTemplate;
  t.cx = 100;
  t.cy = 40;
  t.items = {{kName, Kind::Edit, "", 0, 4, 4, 80, 12}};
  ZelRegisterDialogTemplate(t);
  TestDialog dialog;
  ui().dialogScripts.push_back({DialogStep::Look([](CDialog& d) {
                                  EXPECT_EQ(d.GetDlgItem(kList), nullptr);
                                  d.SetDlgItemText(kList, "x");
                                  d.CheckDlgButton(kCheck, 1);
                                  EXPECT_EQ(d.IsDlgButtonChecked(kCheck), 0u);
                                  EXPECT_EQ(d.SendDlgItemMessage(kList, WM_CLOSE), 0);
                                }),
                                DialogStep::TypeText(kName, "only"),
                                DialogStep::ClickButton(IDOK)});
  EXPECT_EQ(dialog.DoModal(), IDOK);  // OK without a button of its own: Enter
  EXPECT_EQ(dialog.name, "only");
  EXPECT_EQ(dialog.count, 7);
}

TEST_F(DialogFrameworkTest, ListSearchesWrapAroundAndIgnoreCase) {
  TestDialog dialog;
  ui().dialogScripts.push_back({DialogStep::Look([](CDialog& d) {
    auto* list = static_cast<CListBox*>(d.GetDlgItem(kList));
    list->ResetContent();
    EXPECT_EQ(list->FindStringExact(-1, "x"), LB_ERR);  // empty
    for (const char* s : {"abc", "ABC", "abcd"}) list->AddString(s);
    // Sorted without regard to case, equal ones in the order they came.
    CString entry;
    list->GetText(1, entry);
    EXPECT_EQ(entry, "ABC");
    EXPECT_EQ(list->FindStringExact(-1, "Abc"), 0);
    EXPECT_EQ(list->FindStringExact(0, "Abc"), 1);
    EXPECT_EQ(list->FindStringExact(1, "Abc"), 0);  // wrapped
    EXPECT_EQ(list->FindString(0, "ABCD"), 2);
    EXPECT_EQ(list->FindString(-1, "abcde"), LB_ERR);
    list->SetCurSel(2);
    EXPECT_EQ(list->DeleteString(0), 2);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(list->SetCurSel(5), LB_ERR);
    EXPECT_EQ(list->GetCurSel(), -1);

    auto* combo = static_cast<CComboBox*>(d.GetDlgItem(kCombo));
    combo->SetCurSel(0);
    EXPECT_EQ(Text(d, kCombo), "one");  // the edit shows the selected entry
    EXPECT_EQ(combo->SelectString(-1, "T"), 1);
    EXPECT_EQ(Text(d, kCombo), "two");
  })});
  dialog.DoModal();
}

TEST_F(DialogFrameworkTest, ModelessDialogsAndControlsTakenOver) {
  zel_test::RecordingControl control;
  HWND window;
  {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(kTemplate));
    EXPECT_EQ(dialog.inits, 1);
    ASSERT_EQ(ui().modeless.size(), 1u);
    ASSERT_TRUE(control.SubclassDlgItem(kName, &dialog));
    EXPECT_EQ(dialog.GetDlgItem(kName), &control);
    EXPECT_EQ(control.State().text, "first");  // it shows what the control showed
    EXPECT_EQ(dialog.SendDlgItemMessage(kName, WM_PALETTECHANGED, 5), 77);
    EXPECT_FALSE(control.SubclassDlgItem(4711, &dialog));
    dialog.UserType(kName, "changed");
    EXPECT_EQ(control.State().text, "changed");
    // The dialog has a window of the window model that messages reach, never presented.
    window = dialog.GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(window));
    const int commands = dialog.commands;
    ::SendMessage(window, WM_COMMAND, MAKEWPARAM(kCheck, BN_CLICKED), 0);
    EXPECT_EQ(dialog.commands, commands + 1);
    EXPECT_FALSE(::ShowWindow(window, SW_SHOW));
    dialog.SetWindowText("Renamed");
    char caption[16] = {};
    ::GetWindowText(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Renamed");
    // The dialog goes with its window still there: the window goes with it.
  }
  EXPECT_TRUE(ui().modeless.empty());
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(control.GetParent(), nullptr);
  ASSERT_EQ(control.received.size(), 1u);
  EXPECT_EQ(control.received[0], std::make_pair(UINT(WM_PALETTECHANGED), WPARAM(5)));
}

TEST_F(DialogFrameworkTest, TheViewIsToldOfEveryChange) {
  TestDialog dialog;
  zel_test::RecordingDialogView view;
  ui().dialogScripts.push_back({DialogStep::Look([&](CDialog& d) {
    d.SetView(&view);
    d.SetDlgItemText(kName, "x");
    d.GetDlgItem(kName)->EnableWindow(TRUE);  // no change
    d.GetDlgItem(kName)->EnableWindow(FALSE);
    d.CheckRadioButton(kFirstRadio, kSecondRadio, kFirstRadio);
    d.SetWindowText("New caption");
    d.CenterWindow();
    d.GetDlgItem(kCount)->SetFocus();
    d.EndDialog(5);
  })});
  EXPECT_EQ(dialog.DoModal(), 5);
  EXPECT_EQ(view.changes[kName], 2);
  EXPECT_EQ(view.changes[kFirstRadio], 1);
  EXPECT_EQ(view.changes[kSecondRadio], 1);
  EXPECT_EQ(view.captions, 1);
  EXPECT_EQ(view.centred, 1);
  EXPECT_EQ(view.focusMoves, 2);  // disabling the focused control took the focus away
  EXPECT_EQ(view.ended, 1);
}

class Page : public CPropertyPage {
 public:
  explicit Page(UINT id) : CPropertyPage(id) {}
  BOOL OnInitDialog() override {
    ++inits;
    return CPropertyPage::OnInitDialog();
  }
  BOOL OnKillActive() override { return refuse ? FALSE : CPropertyPage::OnKillActive(); }
  void OnOK() override { ++applied; }
  void OnCancel() override { ++reset; }
  void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, kName, name); }
  CString name = "page";
  bool refuse = false;
  int inits = 0, applied = 0, reset = 0;
};

TEST_F(DialogFrameworkTest, PropertySheetsMakePagesWhenShownAndApplyThem) {
  Page first(kTemplate), second(kTemplate), third(kTemplate);
  CPropertySheet sheet("Sheet");
  EXPECT_EQ(sheet.DoModal(), -1);  // no page
  for (Page* p : {&first, &second, &third}) sheet.AddPage(p);
  ui().dialogScripts.push_back({
      DialogStep::TypeText(kName, "typed"),
      DialogStep::Look([&](CDialog& page) {
        EXPECT_EQ(&page, &first);
        first.refuse = true;
      }),
      DialogStep::ShowPage(1),
      DialogStep::Look([&](CDialog& page) { EXPECT_EQ(&page, &first); }),
      DialogStep::ClickButton(IDOK),
      DialogStep::Look([&](CDialog&) {
        EXPECT_FALSE(sheet.IsEnded());
        first.refuse = false;
      }),
      DialogStep::ShowPage(1),
      DialogStep::ClickButton(IDOK),
  });
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(first.name, "typed");
  EXPECT_EQ(first.inits + second.inits + third.inits, 2);  // the third was never shown
  EXPECT_EQ(first.applied + second.applied, 2);
  EXPECT_EQ(third.applied, 0);
  EXPECT_FALSE(first.IsWindow());

  // Each run starts on the first page again.
  ui().dialogScripts.push_back({DialogStep::ShowPage(2), DialogStep::CloseWindow()});
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_EQ(first.reset + third.reset, 2);
  EXPECT_EQ(second.reset, 0);

  // Removing a page before the active one keeps that page active.
  Page a(kTemplate), b(kTemplate), c(kTemplate);
  CPropertySheet other("Other");
  for (Page* p : {&a, &b, &c}) other.AddPage(p);
  ASSERT_TRUE(other.SetActivePage(2));
  other.RemovePage(0);
  EXPECT_EQ(other.GetActivePage(), &c);
  other.RemovePage(1);  // the active one: the last left takes its place
  EXPECT_EQ(other.GetActivePage(), &b);
}

TEST(DialogUnitsTest, BaseUnitsAndPixels) {
  // An alphabet of 339 pixels: (339 / 26 + 1) / 2 = 7 across; 13 down.
  const SIZE base = DialogBaseUnits(339, 13);
  EXPECT_EQ(base.cx, 7);
  EXPECT_EQ(base.cy, 13);
  // MulDiv rounds halves away from zero: 7 * 7 / 4 = 12.25 -> 12; 10 * 7 / 4 = 17.5 -> 18.
  const RECT r = DialogUnitsToPixels(7, 10, 10, 12, base);
  EXPECT_EQ(r.left, 12);
  EXPECT_EQ(r.top, 16);     // 10 * 13 / 8 = 16.25
  EXPECT_EQ(r.right, 30);   // 12 + 17.5 rounded
  EXPECT_EQ(r.bottom, 36);  // 16 + 19.5 rounded
}

TEST(FilterStringTest, ItemsOfWellAndBadlyClosedStrings) {
  struct Case {
    const char* filter;
    std::vector<std::pair<std::string, std::string>> items;
  } cases[] = {
      {"A (*.a)|*.a|B|*.b;*.c||", {{"A (*.a)", "*.a"}, {"B", "*.b;*.c"}}},
      {"A|*.a|", {{"A", "*.a"}}},
      {"A|*.a", {{"A", "*.a"}}},           // no closing bars at all
      {"A|*.a|B", {{"A", "*.a"}}},         // a description without patterns
      {"A|*.a||B|*.b||", {{"A", "*.a"}}},  // nothing after the closing bars counts
      {"A||", {{"A", ""}}},
      {"|*.a||", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    std::vector<std::pair<std::string, std::string>> got;
    for (const FileFilterItem& item : ParseFilterString(c.filter))
      got.emplace_back(item.description.str(), item.patterns.str());
    EXPECT_EQ(got, c.items);
  }
  EXPECT_TRUE(ParseFilterString(nullptr).empty());
}

}  // namespace
