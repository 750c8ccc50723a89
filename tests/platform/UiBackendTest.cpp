// Message boxes answer their default button; the console prints one line.
#include <gtest/gtest.h>

#include "platform/app/WinApp.h"
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

TEST(UiBackendTest, ScriptedBackendRecordsAndAnswersInOrder) {
  zel_test::ScriptedUi scripted;
  CWinApp app("Tester");
  scripted.ui.messageAnswers = {IDNO};
  EXPECT_EQ(AfxMessageBox("first", MB_YESNO), IDNO);
  EXPECT_EQ(AfxMessageBox("second", MB_YESNO), IDYES);
  ASSERT_EQ(scripted.ui.messages.size(), 2u);
  EXPECT_EQ(scripted.ui.messages[0].caption, CString("Tester"));
  CString folder;
  EXPECT_FALSE(ZelUi().BrowseForFolder("Pick", "/", folder));
  scripted.ui.folderAnswers.push_back(CString("/chosen"));
  EXPECT_TRUE(ZelUi().BrowseForFolder("Pick", "/", folder));
  EXPECT_EQ(folder, CString("/chosen"));
}

TEST(UiBackendTest, ConsoleBackendPrintsOneLineAndCancelsDialogs) {
  ConsoleUiBackend console;
  CWinApp app("zel");
  testing::internal::CaptureStderr();
  MessageBoxRequest request;
  request.caption = "zel";
  request.text = "data.gb\nCannot find this file.";
  request.type = MB_OKCANCEL | MB_DEFBUTTON2;
  EXPECT_EQ(console.MessageBox(request), IDCANCEL);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "zel: data.gb: Cannot find this file.\n");
  CString chosen;
  EXPECT_FALSE(console.BrowseForFolder("t", "/", chosen));
  EXPECT_FALSE(console.FileDialog(FileDialogRequest{}, chosen));
  EXPECT_EQ(console.GetClipboardText(chosen), ZelClipboard::NoText);
  EXPECT_EQ(console.SetClipboardText("clip"), ZelClipboard::Ok);
  EXPECT_EQ(console.GetClipboardText(chosen), ZelClipboard::Ok);
  EXPECT_EQ(chosen, CString("clip"));
}

}  // namespace
