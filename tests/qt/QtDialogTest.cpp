// Dialogs from templates on Qt, offscreen: the widgets the name-entry dialog is built of,
// placed by dialog units, driven from code; its picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <cstdio>
#include <filesystem>

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtDialogPresenter.h"
#include "platform/qt/QtModal.h"
#include "platform/qt/QtUiBackend.h"
#include "platform/user/gdi/MulDiv.h"
#include "tests/support/TestSupport.h"
#include "ui/EditNameDlg.h"
#include "ui/ToolSelSeqDlg.h"
#include "ui/ZelDialogTemplates.h"

namespace {

// The Qt backend in use, and a driver for its modal windows, for the test's lifetime.
class QtDialogTest : public ::testing::Test {
 protected:
  QtDialogTest() {
    zel_qt::EnsureApplication();
    m_scope.Use(&zel_qt::UiBackendInstance());
  }
  ~QtDialogTest() override { zel_qt::SetModalDriver(nullptr); }
  void Drive(zel_qt::ModalDriver driver) { zel_qt::SetModalDriver(std::move(driver)); }
  template <typename W>
  static W* Control(QWidget& window, int id) {
    return window.findChild<W*>(QString::number(id));
  }

 private:
  zel_test::IntegrationScope m_scope;
};

TEST_F(QtDialogTest, NameEntryIsBuiltFromItsTemplateInDialogUnits) {
  ASSERT_TRUE(zel_qt::Unattended());
  auto t = ZelFindDialogTemplate(IDD_EDIT_NAME);
  ASSERT_TRUE(t);
  const SIZE base = zel_qt::DialogBaseUnitsOf(*t);
  // An 8-point face at 96 dpi: letters about 6 pixels on average, lines about 13 high.
  EXPECT_GE(base.cx, 5);
  EXPECT_LE(base.cx, 8);
  EXPECT_GE(base.cy, 11);
  EXPECT_LE(base.cy, 16);

  CEditNameDlg dialog("Rename Sequence",
                      "New name:", CEditNameDlg::kNotBlank | CEditNameDlg::kInitData);
  dialog.SetName("pBR322");
  int shown = 0;
  Drive([&](QDialog& window) {
    ++shown;
    EXPECT_EQ(window.windowTitle(), "Rename Sequence");
    EXPECT_EQ(window.size(), QSize(MulDiv(226, base.cx, 4), MulDiv(58, base.cy, 8)));
    auto* edit = Control<QLineEdit>(window, IDC_EDIT_NAME_VALUE);
    auto* ok = Control<QPushButton>(window, IDOK);
    auto* prompt = Control<QLabel>(window, IDC_EDIT_NAME_PROMPT);
    ASSERT_TRUE(edit && ok && prompt);
    EXPECT_EQ(prompt->text(), "New name:");
    EXPECT_TRUE(ok->isDefault());
    // The template's rectangle, in pixels: x 7, y 18, 155 by 12 units.
    EXPECT_EQ(edit->geometry(), QRect(MulDiv(7, base.cx, 4), MulDiv(18, base.cy, 8),
                                      MulDiv(155, base.cx, 4), MulDiv(12, base.cy, 8)));
    // The model's text, selected whole, with the focus.
    EXPECT_EQ(edit->text(), "pBR322");
    EXPECT_EQ(edit->selectedText(), "pBR322");

    const QImage picture = window.grab().toImage();
    EXPECT_EQ(picture.size(), window.size() * picture.devicePixelRatio());
    const auto png = std::filesystem::temp_directory_path() / "zel-name-entry.png";
    EXPECT_TRUE(picture.save(QString::fromStdString(png.string())));
    std::printf("name-entry dialog: %s (%dx%d)\n", png.c_str(), picture.width(), picture.height());

    // What a person types goes to the model; OK ends the dialog through it.
    edit->setText("pUC19");
    emit edit->textEdited("pUC19");
    ok->click();
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(dialog.GetName(), "pUC19");
}

TEST_F(QtDialogTest, RadioGroupsAndCommandsGoThroughTheModel) {
  CToolSelSeqDlg dialog(0);
  dialog.m_range = 1;
  dialog.m_cds = 1;
  Drive([&](QDialog& window) {
    auto* whole = Control<QRadioButton>(window, IDC_RANGE_WHOLE);
    auto* cds = Control<QRadioButton>(window, IDC_RANGE_CDS);
    auto* direct = Control<QRadioButton>(window, IDC_STRAND_DIRECT);
    auto* complementary = Control<QRadioButton>(window, IDC_STRAND_COMPLEMENTARY);
    ASSERT_TRUE(whole && cds && direct && complementary);
    EXPECT_EQ(window.windowTitle(), "Sequence Data");
    EXPECT_TRUE(cds->isChecked());
    EXPECT_FALSE(direct->isEnabled());
    // A click in one group leaves the other group alone and re-enables the strand.
    whole->click();
    EXPECT_TRUE(whole->isChecked());
    EXPECT_FALSE(cds->isChecked());
    EXPECT_TRUE(direct->isChecked());
    EXPECT_TRUE(direct->isEnabled());
    complementary->click();
    EXPECT_FALSE(direct->isChecked());
    EXPECT_TRUE(whole->isChecked());
    // Clicking the checked one again keeps it checked, as the model says.
    complementary->click();
    EXPECT_TRUE(complementary->isChecked());
    Control<QPushButton>(window, IDOK)->click();
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_range, 0);
  EXPECT_EQ(dialog.m_strand, 1);
  EXPECT_EQ(dialog.m_cds, 0);
}

TEST_F(QtDialogTest, RefusedEntryKeepsTheWindowAndNestedMessageBoxesAreDriven) {
  CEditNameDlg dialog(nullptr, nullptr, CEditNameDlg::kDbId | CEditNameDlg::kInitData);
  dialog.SetName(" abc");
  QStringList seen;
  Drive([&](QDialog& window) {
    if (auto* box = qobject_cast<QMessageBox*>(&window)) {
      seen << box->windowTitle() + ": " + box->text();
      return;  // left to its default button
    }
    Control<QPushButton>(window, IDOK)->click();
    // Still open, the entry selected again.
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Control<QLineEdit>(window, IDC_EDIT_NAME_VALUE)->selectedText(), " abc");
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // nobody answers in the end
  ASSERT_EQ(seen.size(), 1);
  EXPECT_EQ(seen[0],
            "Database Identifier: Identifier cannot start or end with whitespace characters");
}

TEST_F(QtDialogTest, PasswordEntryShowsAStarForEachCharacter) {
  CEditNameDlg dialog("Log in", "Password:", CEditNameDlg::kPassword | CEditNameDlg::kInitData);
  dialog.SetName("s3cr\xC3\xA9t");
  Drive([&](QDialog& window) {
    auto* edit = Control<QLineEdit>(window, IDC_EDIT_NAME_VALUE);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit->displayText(), "******");
    edit->setText("typed!!");
    emit edit->textEdited("typed!!");
    EXPECT_EQ(edit->displayText(), "*******");
    const QImage picture = window.grab().toImage();
    const auto png = std::filesystem::temp_directory_path() / "zel-password-entry.png";
    EXPECT_TRUE(picture.save(QString::fromStdString(png.string())));
    std::printf("password entry: %s\n", png.c_str());
    Control<QPushButton>(window, IDOK)->click();
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetName(), "typed!!");
}

TEST_F(QtDialogTest, ListFormSelectsThroughTheWidget) {
  CEditNameDlg dialog("Pick", "Enzymes:", CEditNameDlg::kListBox | CEditNameDlg::kInitData);
  for (const char* name : {"BamHI", "EcoRI", "ecori", "HindIII"}) dialog.AddString(name);
  dialog.SetName("ecori");
  Drive([&](QDialog& window) {
    auto* list = Control<QListWidget>(window, IDC_EDIT_NAME_VALUE);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentRow(), 2);  // the entry equal with its case
    list->setCurrentRow(3);
    Control<QPushButton>(window, IDOK)->click();
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetName(), "HindIII");
}

TEST_F(QtDialogTest, PropertySheetShowsPagesAsTabs) {
  CPropertyPage first(IDD_EDIT_NAME), second(IDD_TOOL_SEL_SEQ);
  CPropertySheet sheet("Options");
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  Drive([&](QDialog& window) {
    EXPECT_EQ(window.windowTitle(), "Options");
    auto* tabs = window.findChild<QTabWidget*>();
    ASSERT_TRUE(tabs);
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(1), "Sequence Data");
    EXPECT_EQ(Control<QRadioButton>(window, IDC_RANGE_WHOLE), nullptr);  // made when shown
    tabs->setCurrentIndex(1);
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    ASSERT_NE(Control<QRadioButton>(window, IDC_RANGE_WHOLE), nullptr);
    // The sheet's own OK, not the one on the first page's template.
    window.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_EQ(sheet.DoModal(), IDOK);
}

TEST_F(QtDialogTest, ModelessDialogShowsUntilDestroyed) {
  CDialog dialog(IDD_EDIT_NAME);
  ASSERT_TRUE(dialog.Create(IDD_EDIT_NAME));
  QWidget* window = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->findChild<QLineEdit*>(QString::number(IDC_EDIT_NAME_VALUE)))
      window = w;
  ASSERT_TRUE(window);
  dialog.SetDlgItemText(IDC_EDIT_NAME_VALUE, "live");
  EXPECT_EQ(Control<QLineEdit>(*window, IDC_EDIT_NAME_VALUE)->text(), "live");
  Control<QPushButton>(*window, IDCANCEL)->click();  // ends: hidden
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(dialog.DestroyWindow());
  EXPECT_FALSE(dialog.IsWindow());
}

}  // namespace
