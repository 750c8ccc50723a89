// The scripted user-interface backend.
#include "tests/support/ScriptedUiBackend.h"

#include <algorithm>

#include "platform/user/dialog/Dialog.h"
#include "platform/user/dialog/PropertySheet.h"

int ScriptedUiBackend::MessageBox(const MessageBoxRequest& request) {
  messages.push_back(request);
  if (messageAnswers.empty()) return DefaultMessageBoxAnswer(request.type);
  int answer = messageAnswers.front();
  messageAnswers.pop_front();
  return answer;
}

BOOL ScriptedUiBackend::BrowseForFolder(const FolderDialogRequest& request, CString& chosen) {
  folderDialogs.push_back(request);
  if (folderAnswers.empty()) return FALSE;
  std::optional<CString> answer = folderAnswers.front();
  folderAnswers.pop_front();
  if (!answer) return FALSE;
  chosen = *answer;
  return TRUE;
}

BOOL ScriptedUiBackend::FileDialog(const FileDialogRequest& request, FileDialogResult& result) {
  fileDialogs.push_back(request);
  if (fileAnswers.empty()) return FALSE;
  std::optional<FileDialogResult> answer = fileAnswers.front();
  fileAnswers.pop_front();
  if (!answer) return FALSE;
  result = *answer;
  if (result.filterIndex == 0) result.filterIndex = request.filterIndex;
  return TRUE;
}

int ScriptedUiBackend::Play(DialogInput& input, const std::function<CDialog*()>& shown) {
  std::vector<DialogStep> steps;
  if (!dialogScripts.empty()) {
    steps = std::move(dialogScripts.front());
    dialogScripts.pop_front();
  }
  for (const DialogStep& step : steps) {
    if (input.IsEnded()) break;
    switch (step.kind) {
      case DialogStep::Type:
        input.UserType(step.id, step.text);
        break;
      case DialogStep::Select:
        input.UserSelect(step.id, step.index);
        break;
      case DialogStep::Click:
        input.UserClick(step.id);
        break;
      case DialogStep::Close:
        input.UserClose();
        break;
      case DialogStep::Char:
        input.UserChar(static_cast<UINT>(step.index));
        break;
      case DialogStep::Help:
        input.UserHelp();
        break;
      case DialogStep::Page:
        input.UserShowPage(step.index);
        break;
      case DialogStep::Inspect:
        if (CDialog* dialog = shown(); dialog && step.inspect) step.inspect(*dialog);
        break;
    }
  }
  // What the script leaves open is closed as a person would close it.
  if (!input.IsEnded()) input.UserClose();
  return input.IsEnded() ? input.Result() : IDCANCEL;
}

int ScriptedUiBackend::RunModalDialog(CDialog& dialog) {
  dialog.StartDialog();
  CString caption;
  dialog.GetWindowText(caption);
  dialogs.push_back({dialog.GetTemplateId(), caption, 0});
  const size_t record = dialogs.size() - 1;
  const int result =
      dialog.IsEnded() ? dialog.Result() : Play(dialog, [&dialog] { return &dialog; });
  dialogs[record].result = result;
  return result;
}

int ScriptedUiBackend::RunModalSheet(CPropertySheet& sheet) {
  sheet.StartSheet();
  dialogs.push_back({0, sheet.GetTitle(), 0});
  const size_t record = dialogs.size() - 1;
  const int result = Play(sheet, [&sheet] { return sheet.GetActivePage(); });
  dialogs[record].result = result;
  return result;
}

bool ScriptedUiBackend::ShowModeless(CDialog& dialog) {
  dialog.StartDialog();
  modeless.push_back(&dialog);
  return true;
}

void ScriptedUiBackend::CloseModeless(CDialog& dialog) { std::erase(modeless, &dialog); }

ZelClipboard ScriptedUiBackend::SetClipboardText(const char* text) {
  if (clipboardFailure != ZelClipboard::Ok) return clipboardFailure;
  clipboard = CString(text);
  return ZelClipboard::Ok;
}

ZelClipboard ScriptedUiBackend::GetClipboardText(CString& text) {
  if (clipboardFailure != ZelClipboard::Ok) return clipboardFailure;
  if (!clipboard) return ZelClipboard::NoText;
  text = *clipboard;
  return ZelClipboard::Ok;
}
