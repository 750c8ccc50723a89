// Message boxes: the default button's answer, the console's one line, and the suite's
// message boxes (owner, caption, text from string resources, answer).
#include "platform/base/string/StringResources.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/ui/ZelMessageBox.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(UiBackendTest, DefaultAnswersFollowTypeAndDefaultButton) {
  struct Case {
    UINT type;
    int answer;
  } cases[] = {
      {MB_OK, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, IDNO},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
      {MB_RETRYCANCEL, IDRETRY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(DefaultMessageBoxAnswer(c.type), c.answer);
  }
}

TEST(UiBackendTest, ConsoleBackendPrintsEachLineAndCancelsDialogs) {
  ConsoleUiBackend console;
  std::optional<zel_test::IntegrationScope> scope(std::in_place);
  scope->Use(&console);
  CWinApp app("zel");  // the caption of the class library's message box
  struct Case {
    const char* text;
    const char* caption;
    const char* printed;
  } cases[] = {
      {"Cannot find this file.", "", "zel: Cannot find this file.\n"},
      {"data.gb\nCannot find this file.", "", "zel: data.gb\nzel: Cannot find this file.\n"},
      {"Identifier cannot contain any of the following characters:\n   $|\\{}\"",
       "Database Identifier",
       "zel: Database Identifier: Identifier cannot contain any of the following characters:\n"
       "zel: Database Identifier:    $|\\{}\"\n"},
      {"a\r\nb\rc\n", "zel", "zel: a\nzel: b\nzel: c\n"},
      {"a\n\nb", "", "zel: a\nzel: \nzel: b\n"},
      {"", "", "zel: \n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    testing::internal::CaptureStderr();
    EXPECT_EQ(console.MessageBox(MessageBoxRequest{c.text, c.caption, MB_OK, HWND()}), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.printed);
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(AfxMessageBox("data.gb\nCannot find this file.", MB_OKCANCEL | MB_DEFBUTTON2),
            IDCANCEL);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "zel: data.gb\nzel: Cannot find this file.\n");
  scope.reset();
  CString chosen;
  EXPECT_FALSE(console.BrowseForFolder(FolderDialogRequest{}, chosen));
  FileDialogResult file;
  EXPECT_FALSE(console.FileDialog(FileDialogRequest{}, file));
  EXPECT_EQ(console.GetClipboardText(chosen), ZelClipboard::NoText);
  EXPECT_EQ(console.SetClipboardText("clip"), ZelClipboard::Ok);
  EXPECT_EQ(console.GetClipboardText(chosen), ZelClipboard::Ok);
  EXPECT_EQ(chosen, CString("clip"));
}

class ZelMessageBoxTest : public zel_test::ZelTest {
 protected:
  ZelMessageBoxTest() : app("Host App"), mainWnd(HWND(42)), other(HWND(7)) {
    app.m_pMainWnd = &mainWnd;
  }
  const MessageBoxRequest& Last() { return ui().messages.back(); }

  CWinApp app;
  CWnd mainWnd;
  CWnd other;
};

TEST_F(ZelMessageBoxTest, OwnerAndCaptionOfEachForm) {
  ui().messageAnswers = {IDNO, IDCANCEL, IDRETRY, IDOK, IDYES};

  EXPECT_EQ(ZelMessageBox(&other, "text 1", "Cap", MB_YESNO | MB_ICONERROR, 99), IDNO);
  EXPECT_EQ(Last().owner, HWND(7));
  EXPECT_EQ(Last().caption, "Cap");
  EXPECT_EQ(Last().type, static_cast<UINT>(MB_YESNO | MB_ICONERROR));

  EXPECT_EQ(ZelMessageBox(nullptr, "text 2", nullptr, MB_OKCANCEL), IDCANCEL);
  EXPECT_FALSE(Last().owner);
  EXPECT_EQ(Last().caption, "Host App");

  EXPECT_EQ(ZelMessageBox("text 3", "Own", MB_RETRYCANCEL, 0), IDRETRY);
  EXPECT_EQ(Last().owner, HWND(42));
  EXPECT_EQ(Last().caption, "Own");

  EXPECT_EQ(ZelMessageBox("text 4", MB_OK, 0), IDOK);
  EXPECT_EQ(Last().owner, HWND(42));
  EXPECT_EQ(Last().caption, "Quillion");
  EXPECT_EQ(Last().text, "text 4");

  AfxSetStringResource(4711, "from the resources");
  EXPECT_EQ(ZelMessageBox(4711u, MB_YESNO, 0), IDYES);
  EXPECT_EQ(Last().text, "from the resources");
  EXPECT_EQ(Last().caption, "Quillion");
  EXPECT_EQ(Last().owner, HWND(42));
  AfxSetStringResource(4711, nullptr);

  ASSERT_EQ(ui().messages.size(), 5u);
}

TEST_F(ZelMessageBoxTest, MissingResourceAndNoMainWindow) {
  app.m_pMainWnd = nullptr;
  CString text("stale");
  EXPECT_EQ(AfxLoadString(123456, text), FALSE);
  EXPECT_TRUE(text.IsEmpty());
  // With nobody choosing, the default button answers.
  EXPECT_EQ(ZelMessageBox(123456u, MB_YESNO | MB_DEFBUTTON2, 0), IDNO);
  EXPECT_TRUE(Last().text.IsEmpty());
  EXPECT_FALSE(Last().owner);
}

}  // namespace
