// A user-interface backend for tests: records every message box, chooser and dialog it is
// asked for and answers from queues, playing a script of steps into each dialog.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "platform/user/ui/UiBackend.h"

class DialogInput;

// One thing a script does in a running dialog or sheet.
struct DialogStep {
  enum Kind { Type, Select, Click, Close, Char, Help, Page, Inspect } kind = Click;
  int id = 0;     // the control (Type, Select, Click)
  int index = 0;  // the entry (Select), the page (Page), the character (Char)
  CString text;   // what is typed (Type)
  std::function<void(CDialog&)> inspect;  // called with the dialog (a sheet: its page)

  static DialogStep TypeText(int id, const char* text) { return {Type, id, 0, text, {}}; }
  static DialogStep SelectEntry(int id, int index) { return {Select, id, index, {}, {}}; }
  static DialogStep ClickButton(int id) { return {Click, id, 0, {}, {}}; }
  static DialogStep CloseWindow() { return {Close, 0, 0, {}, {}}; }
  static DialogStep TypeChar(int ch) { return {Char, 0, ch, {}, {}}; }
  static DialogStep PressHelp() { return {Help, 0, 0, {}, {}}; }
  static DialogStep ShowPage(int index) { return {Page, 0, index, {}, {}}; }
  static DialogStep Look(std::function<void(CDialog&)> inspect) {
    return {Inspect, 0, 0, {}, std::move(inspect)};
  }
};

// What a scripted dialog or sheet was: its template (0 for a sheet), caption when it
// started, and result.
struct ShownDialog {
  UINT templateId = 0;
  CString caption;
  int result = 0;
};

class ScriptedUiBackend : public UiBackend {
 public:
  int MessageBox(const MessageBoxRequest& request) override;
  BOOL BrowseForFolder(const FolderDialogRequest& request, CString& chosen) override;
  BOOL FileDialog(const FileDialogRequest& request, FileDialogResult& result) override;
  ZelClipboard SetClipboardText(const char* text) override;
  ZelClipboard GetClipboardText(CString& text) override;
  // A dialog is started, its script (the next queued) played; what the script leaves
  // open is cancelled, as when the user closes the window.
  int RunModalDialog(CDialog& dialog) override;
  int RunModalSheet(CPropertySheet& sheet) override;
  bool ShowModeless(CDialog& dialog) override;
  void CloseModeless(CDialog& dialog) override;

  // Answers are used in order; when none is queued the default button answers and
  // dialogs are cancelled. A file answer's filter index 0 keeps the request's.
  std::deque<int> messageAnswers;
  std::deque<std::optional<CString>> folderAnswers;
  std::deque<std::optional<FileDialogResult>> fileAnswers;
  std::deque<std::vector<DialogStep>> dialogScripts;

  std::vector<MessageBoxRequest> messages;
  std::vector<FolderDialogRequest> folderDialogs;
  std::vector<FileDialogRequest> fileDialogs;
  std::vector<ShownDialog> dialogs;
  std::vector<CDialog*> modeless;  // shown and not yet closed
  std::optional<CString> clipboard;
  // When not Ok, what every clipboard operation answers, the clipboard left alone.
  ZelClipboard clipboardFailure = ZelClipboard::Ok;

 private:
  int Play(DialogInput& input, const std::function<CDialog*()>& shown);
};
