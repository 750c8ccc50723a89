// The user-interface backend: every message box, folder and file dialog and the clipboard
// of the library go through it. The console backend (the default) prints a message box as
// one line on stderr and answers its default button, and cancels dialogs; tests install a
// scripted backend that records what was shown and answers as told.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "platform/afx/String.h"
#include "platform/afx/WinTypes.h"

// Message box types and answers, with the platform's values.
enum : UINT {
  MB_OK = 0x0,
  MB_OKCANCEL = 0x1,
  MB_ABORTRETRYIGNORE = 0x2,
  MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4,
  MB_RETRYCANCEL = 0x5,
  MB_TYPEMASK = 0xF,
  MB_ICONHAND = 0x10,
  MB_ICONERROR = 0x10,
  MB_ICONSTOP = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONEXCLAMATION = 0x30,
  MB_ICONWARNING = 0x30,
  MB_ICONASTERISK = 0x40,
  MB_ICONINFORMATION = 0x40,
  MB_ICONMASK = 0xF0,
  MB_DEFBUTTON1 = 0x000,
  MB_DEFBUTTON2 = 0x100,
  MB_DEFBUTTON3 = 0x200,
  MB_DEFMASK = 0xF00,
  MB_APPLMODAL = 0x0000,
  MB_SYSTEMMODAL = 0x1000,
  MB_TASKMODAL = 0x2000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

struct MessageBoxRequest {
  CString text;
  CString caption;
  UINT type = MB_OK;
  HWND owner;
};

struct FileDialogRequest {
  BOOL open = TRUE;  // open or save
  CString title;
  CString filter;  // "Description|pattern|...||"
  int filterIndex = 1;
  CString initialDir;
  CString fileName;
  CString defaultExt;
  UINT flags = 0;
};

// What a clipboard operation came to: a clipboard that could not be opened is told from
// one that held no text, and from a text the clipboard could not take.
enum class ZelClipboard { Ok, CannotOpen, NoText, CannotStore };

// The button a message box of this type answers when nobody chooses.
int DefaultMessageBoxAnswer(UINT type);

class UiBackend {
 public:
  virtual ~UiBackend() = default;
  virtual int MessageBox(const MessageBoxRequest& request) = 0;
  // 1 and the chosen folder, or 0 when cancelled.
  virtual BOOL BrowseForFolder(const char* title, const char* initialDir, CString& chosen) = 0;
  // 1 and the chosen path, or 0 when cancelled.
  virtual BOOL FileDialog(const FileDialogRequest& request, CString& chosen) = 0;
  // Ok, CannotOpen or CannotStore.
  virtual ZelClipboard SetClipboardText(const char* text) = 0;
  // Ok (and the text), CannotOpen or NoText.
  virtual ZelClipboard GetClipboardText(CString& text) = 0;
};

class ConsoleUiBackend : public UiBackend {
 public:
  int MessageBox(const MessageBoxRequest& request) override;
  BOOL BrowseForFolder(const char*, const char*, CString&) override { return FALSE; }
  BOOL FileDialog(const FileDialogRequest&, CString&) override { return FALSE; }
  ZelClipboard SetClipboardText(const char* text) override;
  ZelClipboard GetClipboardText(CString& text) override;

 private:
  std::optional<CString> m_clipboard;
};

class ScriptedUiBackend : public UiBackend {
 public:
  int MessageBox(const MessageBoxRequest& request) override;
  BOOL BrowseForFolder(const char* title, const char* initialDir, CString& chosen) override;
  BOOL FileDialog(const FileDialogRequest& request, CString& chosen) override;
  ZelClipboard SetClipboardText(const char* text) override;
  ZelClipboard GetClipboardText(CString& text) override;

  // Answers are used in order; when none is queued the default button answers and
  // dialogs are cancelled.
  std::deque<int> messageAnswers;
  std::deque<std::optional<CString>> folderAnswers;
  std::deque<std::optional<CString>> fileAnswers;

  std::vector<MessageBoxRequest> messages;
  std::vector<CString> folderTitles;
  std::vector<FileDialogRequest> fileDialogs;
  std::optional<CString> clipboard;
  // When not Ok, what every clipboard operation answers, the clipboard left alone.
  ZelClipboard clipboardFailure = ZelClipboard::Ok;
};

// The backend in use (the console backend unless another was installed).
UiBackend& ZelUi();
// Installs a backend (null: back to the console one); answers the previous one.
UiBackend* ZelSetUi(UiBackend* backend);

// The class library's message box: the application's name as caption.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
