/// \file
/// The user-interface backend: every message box, folder and file dialog, dialog from a
/// template and the clipboard of the library go through it: an engine of the integration.
/// The console backend (the headless one) prints a message box as one line on stderr and
/// answers its default button, and cancels dialogs; tests install a scripted backend that
/// records what was shown and answers as told; a desktop backend (the Qt set's) shows real
/// windows.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "ZelExport.h"
#include "platform/base/string/String.h"
#include "platform/base/types/WinTypes.h"

/// Message box types and answers, with the platform's values.
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

/// File dialog options, with the platform's values.
enum : UINT {
  OFN_READONLY = 0x1,
  OFN_OVERWRITEPROMPT = 0x2,
  OFN_HIDEREADONLY = 0x4,
  OFN_PATHMUSTEXIST = 0x800,
  OFN_FILEMUSTEXIST = 0x1000,
  OFN_NOREADONLYRETURN = 0x8000,
};

/// A message box to show: its owner, text, caption and style.
struct MessageBoxRequest {
  CString text;
  CString caption;
  UINT type = MB_OK;
  HWND owner;
};

/// An open or save dialog to show: title, folder, name, filters and flags.
struct FileDialogRequest {
  BOOL open = TRUE;  ///< open or save
  CString title;
  CString filter;       ///< "Description|pattern;pattern|...||"
  int filterIndex = 1;  ///< the item offered first, counted from 1
  CString initialDir;
  CString fileName;
  CString defaultExt;  ///< without its full stop
  UINT flags = 0;      ///< OFN_*
  HWND owner;
};

/// The chosen file of a file dialog, and the filter it was chosen with.
struct FileDialogResult {
  CString path;
  int filterIndex = 0;  ///< the filter item in use when the user confirmed, counted from 1
};

/// A folder dialog to show: title and the folder to start in.
struct FolderDialogRequest {
  CString title;
  CString initialDir;
  BOOL allowNewFolder = FALSE;  ///< the user may make folders in the dialog
  HWND owner;
};

/// One item of a filter string: what is shown and its patterns ("*.gb;*.gbk").
struct FileFilterItem {
  CString description;
  CString patterns;
};
/// The items of a filter string "Description|patterns|...||". Reading stops at an empty
/// description (the closing bars) or the end of the text; a description left without its
/// patterns is dropped. Null gives none.
ZEL_API std::vector<FileFilterItem> ParseFilterString(const char* filter);

/// What a clipboard operation came to: a clipboard that could not be opened is told from
/// one that held no text, and from a text the clipboard could not take.
enum class ZelClipboard { Ok, CannotOpen, NoText, CannotStore };

/// The button a message box of this type answers when nobody chooses.
ZEL_API int DefaultMessageBoxAnswer(UINT type);

class CDialog;
class CPropertySheet;

/// The engine through which the library's message boxes, dialogs and clipboard go.
class ZEL_API UiBackend {
 public:
  virtual ~UiBackend() = default;
  virtual int MessageBox(const MessageBoxRequest& request) = 0;
  /// 1 and the chosen folder, or 0 when cancelled.
  virtual BOOL BrowseForFolder(const FolderDialogRequest& request, CString& chosen) = 0;
  /// 1 and the chosen path with the filter item in use, or 0 when cancelled.
  virtual BOOL FileDialog(const FileDialogRequest& request, FileDialogResult& result) = 0;
  /// Ok, CannotOpen or CannotStore.
  virtual ZelClipboard SetClipboardText(const char* text) = 0;
  /// Ok (and the text), CannotOpen or NoText.
  virtual ZelClipboard GetClipboardText(CString& text) = 0;

  /// Presents a dialog whose controls are made (CDialog::DoModal has done that): starts it
  /// (CDialog::StartDialog) and lets the user work in it until it ends; answers its result.
  virtual int RunModalDialog(CDialog& dialog) = 0;
  /// The same for a property sheet (CPropertySheet::StartSheet).
  virtual int RunModalSheet(CPropertySheet& sheet) = 0;
  /// Starts a modeless dialog (CDialog::StartDialog) and shows it; false when there is
  /// nowhere to show it, and the caller starts it then. CloseModeless takes it away again.
  virtual bool ShowModeless(CDialog& dialog) = 0;
  virtual void CloseModeless(CDialog& dialog) = 0;
};

/// The backend of a program on a terminal: each message a line on stderr under the
/// program's name with the default answer, no dialogs, a clipboard of the process's own.
class ZEL_API ConsoleUiBackend : public UiBackend {
 public:
  int MessageBox(const MessageBoxRequest& request) override;
  BOOL BrowseForFolder(const FolderDialogRequest&, CString&) override { return FALSE; }
  BOOL FileDialog(const FileDialogRequest&, FileDialogResult&) override { return FALSE; }
  ZelClipboard SetClipboardText(const char* text) override;
  ZelClipboard GetClipboardText(CString& text) override;
  /// Nobody can answer a dialog here: it is cancelled without being started. A modeless
  /// dialog shows nowhere.
  int RunModalDialog(CDialog&) override { return IDCANCEL; }
  int RunModalSheet(CPropertySheet&) override { return IDCANCEL; }
  bool ShowModeless(CDialog&) override { return false; }
  void CloseModeless(CDialog&) override {}

 private:
  std::optional<CString> m_clipboard;
};

/// The console backend of the headless set, made on first use.
ZEL_API ConsoleUiBackend& ConsoleUi();

/// A backend that shows real windows, the UI engine of a toolkit's integration.
class ZEL_API DesktopUiBackend : public UiBackend {
 public:
  /// Whether the host runs an application of this toolkit on a real display.
  virtual bool HostRunsApplication() const = 0;
  /// Makes sure the toolkit's application runs (on a display when there is one).
  virtual void StartApplication() = 0;
};

/// The installed integration's backend, else the console backend. Which set a program
/// installs, and with it whether people see real windows, is chosen in one place
/// (platform/user/backend/IntegrationChoice.h).
ZEL_API UiBackend& ZelUi();

/// The class library's message box: the application's name as caption.
ZEL_API int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
