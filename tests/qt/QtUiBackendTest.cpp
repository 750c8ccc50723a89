// The Qt user-interface backend, offscreen: message boxes, file and folder dialogs driven
// from code, the clipboard, and when the backend is chosen.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtIntegration.h"
#include "platform/qt/QtModal.h"
#include "platform/qt/QtUiBackend.h"
#include "platform/user/backend/HeadlessIntegration.h"
#include "platform/user/backend/IntegrationChoice.h"
#include "platform/user/ui/ZelMessageBox.h"
#include "tests/support/TestSupport.h"

namespace {

class QtUiBackendTest : public ::testing::Test {
 protected:
  QtUiBackendTest() { zel_qt::EnsureApplication(); }
  ~QtUiBackendTest() override { zel_qt::SetModalDriver(nullptr); }
  QtUiBackend& qt = zel_qt::UiBackendInstance();
  zel_test::TempDir tmp;
};

TEST_F(QtUiBackendTest, MessageBoxesHaveTheTypesButtonsIconAndDefault) {
  struct Case {
    UINT type;
    std::vector<QMessageBox::StandardButton> buttons;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton defaultButton;
    int unattended;  // what nobody's choice answers
  } cases[] = {
      {MB_OK, {QMessageBox::Ok}, QMessageBox::NoIcon, QMessageBox::Ok, IDOK},
      {MB_OKCANCEL | MB_ICONERROR | MB_DEFBUTTON2,
       {QMessageBox::Ok, QMessageBox::Cancel},
       QMessageBox::Critical,
       QMessageBox::Cancel,
       IDCANCEL},
      {MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3,
       {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel},
       QMessageBox::Question,
       QMessageBox::Cancel,
       IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_ICONWARNING | MB_DEFBUTTON2,
       {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore},
       QMessageBox::Warning,
       QMessageBox::Retry,
       IDRETRY},
      {MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2,
       {QMessageBox::Yes, QMessageBox::No},
       QMessageBox::Information,
       QMessageBox::No,
       IDNO},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    MessageBoxRequest request;
    request.text = "caf\xE9 is 1252";  // the suite's 8-bit text
    request.caption = "Cap";
    request.type = c.type;
    zel_qt::SetModalDriver([&](QDialog& window) {
      auto* box = qobject_cast<QMessageBox*>(&window);
      ASSERT_TRUE(box);
      EXPECT_EQ(box->windowTitle(), "Cap");
      EXPECT_EQ(box->text(), QString::fromUtf8("caf\u00e9 is 1252"));
      EXPECT_EQ(box->icon(), c.icon);
      std::vector<QMessageBox::StandardButton> buttons;
      for (QAbstractButton* b : box->buttons()) buttons.push_back(box->standardButton(b));
      EXPECT_EQ(buttons.size(), c.buttons.size());
      for (auto b : c.buttons) EXPECT_NE(box->button(b), nullptr);
      EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton));
    });
    EXPECT_EQ(qt.MessageBox(request), c.unattended);
    // A person's choice is the answer.
    zel_qt::SetModalDriver([&](QDialog& window) {
      auto* box = static_cast<QMessageBox*>(&window);
      box->button(c.buttons.front())->click();
    });
    EXPECT_EQ(qt.MessageBox(request), DefaultMessageBoxAnswer(c.type & ~MB_DEFMASK));
  }
}

TEST_F(QtUiBackendTest, FilterStringsBecomeQtNameFilters) {
  struct Case {
    const char* filter;
    QStringList expected;
  } cases[] = {
      {"GenBank Files (*.gb;*.gbk)|*.gb;*.gbk|All Files (*.*)|*.*||",
       {"GenBank Files (*.gb *.gbk)", "All Files (*.*)"}},
      // The patterns are not those in the description: both stay.
      {"Seqs|*.gb;*.gbk|Text (plain)|*.txt||", {"Seqs (*.gb *.gbk)", "Text (plain) (*.txt)"}},
      {"Nothing||", {"Nothing (*)"}},
      {"Open end|*.a", {"Open end (*.a)"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    EXPECT_EQ(zel_qt::NameFilters(ParseFilterString(c.filter)), c.expected);
  }
}

TEST_F(QtUiBackendTest, FileDialogAnswersPathAndFilterItemByPosition) {
  zel_test::WriteFile(tmp / "x.gb", "LOCUS");
  FileDialogRequest request;
  request.title = "Open Sequence";
  request.filter = "All|*.gb;*.txt|GenBank (*.gb)|*.gb|Text (*.txt)|*.txt||";
  request.filterIndex = 2;
  request.initialDir = tmp.str().c_str();
  request.flags = OFN_FILEMUSTEXIST;
  zel_qt::SetModalDriver([&](QDialog& window) {
    auto* dialog = qobject_cast<QFileDialog*>(&window);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Open Sequence");
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog->selectedNameFilter(), "GenBank (*.gb)");
    EXPECT_EQ(dialog->directory().absolutePath(), QString::fromStdString(tmp.str()));
    dialog->selectNameFilter("All (*.gb *.txt)");
    dialog->selectFile("x.gb");
    window.accept();
  });
  FileDialogResult result;
  ASSERT_TRUE(qt.FileDialog(request, result));
  EXPECT_EQ(result.path.str(), tmp / "x.gb");
  EXPECT_EQ(result.filterIndex, 1);

  // Nobody at the screen: cancelled.
  zel_qt::SetModalDriver(nullptr);
  EXPECT_FALSE(qt.FileDialog(request, result));
}

TEST_F(QtUiBackendTest, SaveDialogAsksBeforeReplacingAndRefusesReadOnlyFiles) {
  zel_test::WriteFile(tmp / "old.gb", "x");
  // A file nobody may write: by its permissions, or on a read-only file system for root.
  const std::string locked = tmp / "ro/locked.gb";
  zel_test::ScopedTmpfs ro(tmp / "ro", "1m");
  std::filesystem::create_directories(tmp / "ro");
  zel_test::WriteFile(locked, "x");
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
  if (access(locked.c_str(), W_OK) == 0 && !ro.RemountReadOnly())
    GTEST_SKIP() << "no file here is read-only to this user";
  FileDialogRequest request;
  request.open = FALSE;
  request.filter = "GenBank (*.gb)|*.gb||";
  request.defaultExt = "gb";
  request.initialDir = tmp.str().c_str();
  request.flags = OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN;
  // Chosen in turn: the read-only file (refused), an existing one (not replaced, then
  // replaced), and each time the dialog comes back.
  const QString old = QString::fromStdString(tmp / "old.gb");
  std::vector<QString> picks = {QString::fromStdString(locked), old, old};
  std::vector<int> replies = {-1, QMessageBox::No, QMessageBox::Yes};
  QStringList questions;
  size_t turn = 0;
  zel_qt::SetModalDriver([&](QDialog& window) {
    if (auto* box = qobject_cast<QMessageBox*>(&window)) {
      questions << box->text();
      if (replies[turn - 1] >= 0)
        box->button(static_cast<QMessageBox::StandardButton>(replies[turn - 1]))->click();
      return;
    }
    auto* dialog = qobject_cast<QFileDialog*>(&window);
    ASSERT_TRUE(dialog);
    ASSERT_LT(turn, picks.size());
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->defaultSuffix(), "gb");
    dialog->selectFile(picks[turn++]);
    window.accept();
  });
  FileDialogResult result;
  ASSERT_TRUE(qt.FileDialog(request, result));
  EXPECT_EQ(turn, 3u);
  EXPECT_EQ(result.path.str(), tmp / "old.gb");
  ASSERT_EQ(questions.size(), 3);
  EXPECT_TRUE(questions[0].contains("read-only"));
  EXPECT_TRUE(questions[1].contains("already exists"));
}

TEST_F(QtUiBackendTest, FolderChooserFollowsLinksAndMayMakeFolders) {
  std::filesystem::create_directories(tmp / "data/sub");
  std::filesystem::create_directory_symlink(tmp / "data/sub", tmp / "link");
  for (BOOL allowNew : {FALSE, TRUE}) {
    FolderDialogRequest request;
    request.title = "Pick";
    request.initialDir = tmp.str().c_str();
    request.allowNewFolder = allowNew;
    zel_qt::SetModalDriver([&](QDialog& window) {
      auto* dialog = qobject_cast<QFileDialog*>(&window);
      ASSERT_TRUE(dialog);
      EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
      EXPECT_EQ(dialog->testOption(QFileDialog::ReadOnly), !allowNew);
      dialog->selectFile(QString::fromStdString(tmp / "link"));
      window.accept();
    });
    CString chosen;
    ASSERT_TRUE(qt.BrowseForFolder(request, chosen));
    EXPECT_EQ(chosen.str(), tmp / "data/sub");
  }
}

TEST_F(QtUiBackendTest, ClipboardHoldsTheSuitesText) {
  ASSERT_EQ(qt.SetClipboardText("ATG\xB5 clip"), ZelClipboard::Ok);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("ATG\u00b5 clip"));
  CString text;
  ASSERT_EQ(qt.GetClipboardText(text), ZelClipboard::Ok);
  EXPECT_EQ(text, "ATG\xC2\xB5 clip");  // back from Qt as UTF-8
  QGuiApplication::clipboard()->clear();
  EXPECT_EQ(qt.GetClipboardText(text), ZelClipboard::NoText);
}

TEST_F(QtUiBackendTest, TheQtSetIsChosenOnADisplayAndZelUiPicksTheUiEngineAlone) {
  ASSERT_TRUE(zel_qt::Unattended());
  // The application the library made to draw offscreen is not the host's.
  EXPECT_FALSE(qt.HostRunsApplication());
  const zel_user::Integration& headless = zel_user::HeadlessIntegration();
  const zel_user::Integration& toolkit = zel_qt::QtIntegration();
  struct Case {
    const char* ui;
    const char* display;
    const zel_user::Integration* set;  // the set the other engines come from
    UiBackend* engine;
  } cases[] = {
      {"", "", &headless, headless.ui},          {"qt", "", &headless, &qt},
      {"console", "", &headless, headless.ui},   {"", ":99", &toolkit, &qt},
      {"console", ":99", &toolkit, headless.ui}, {"qt", ":99", &toolkit, &qt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("ZEL_UI=") + c.ui + " DISPLAY=" + c.display);
    zel_test::ScopedEnv ui("ZEL_UI", c.ui);
    zel_test::ScopedEnv display("DISPLAY", c.display);
    zel_test::ScopedEnv wayland("WAYLAND_DISPLAY", "");
    const zel_user::Integration chosen = zel_user::ChooseIntegration();
    EXPECT_EQ(chosen.ui, c.engine);
    EXPECT_EQ(chosen.presenter, c.set->presenter);
    EXPECT_EQ(chosen.desktop, c.set->desktop);
    EXPECT_EQ(chosen.systemValues, c.set->systemValues);
  }
  // Unattended, the Qt engine's message box answers its default button without waiting.
  zel_test::IntegrationScope scope;
  scope.Use(&qt);
  EXPECT_EQ(ZelMessageBox(nullptr, "text", "cap", MB_YESNO | MB_DEFBUTTON2), IDNO);
}

}  // namespace
