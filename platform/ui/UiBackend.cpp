// The console and scripted user-interface backends.
#include "platform/ui/UiBackend.h"

#include <cstdio>

#include "platform/app/WinApp.h"

int DefaultMessageBoxAnswer(UINT type) {
  static const int buttons[][3] = {
      {IDOK, IDOK, IDOK},      {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
      {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL},
  };
  UINT kind = type & MB_TYPEMASK;
  UINT def = (type & MB_DEFMASK) >> 8;
  if (kind > 5) kind = 0;
  if (def > 2) def = 0;
  return buttons[kind][def];
}

int ConsoleUiBackend::MessageBox(const MessageBoxRequest& request) {
  // One line: the message's own line breaks become ": ".
  CString line = request.text;
  line.Replace("\r\n", "\n");
  line.Replace("\n", ": ");
  if (request.caption.IsEmpty())
    std::fprintf(stderr, "%s\n", line.GetString());
  else
    std::fprintf(stderr, "%s: %s\n", request.caption.GetString(), line.GetString());
  std::fflush(stderr);
  return DefaultMessageBoxAnswer(request.type);
}

// Without a desktop the clipboard lives in the process, for the process.
ZelClipboard ConsoleUiBackend::SetClipboardText(const char* text) {
  m_clipboard = CString(text);
  return ZelClipboard::Ok;
}

ZelClipboard ConsoleUiBackend::GetClipboardText(CString& text) {
  if (!m_clipboard) return ZelClipboard::NoText;
  text = *m_clipboard;
  return ZelClipboard::Ok;
}

int ScriptedUiBackend::MessageBox(const MessageBoxRequest& request) {
  messages.push_back(request);
  if (messageAnswers.empty()) return DefaultMessageBoxAnswer(request.type);
  int answer = messageAnswers.front();
  messageAnswers.pop_front();
  return answer;
}

BOOL ScriptedUiBackend::BrowseForFolder(const char* title, const char*, CString& chosen) {
  folderTitles.push_back(CString(title));
  if (folderAnswers.empty()) return FALSE;
  std::optional<CString> answer = folderAnswers.front();
  folderAnswers.pop_front();
  if (!answer) return FALSE;
  chosen = *answer;
  return TRUE;
}

BOOL ScriptedUiBackend::FileDialog(const FileDialogRequest& request, CString& chosen) {
  fileDialogs.push_back(request);
  if (fileAnswers.empty()) return FALSE;
  std::optional<CString> answer = fileAnswers.front();
  fileAnswers.pop_front();
  if (!answer) return FALSE;
  chosen = *answer;
  return TRUE;
}

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

namespace {
ConsoleUiBackend& Console() {
  static ConsoleUiBackend console;
  return console;
}
UiBackend* g_ui = nullptr;
}  // namespace

UiBackend& ZelUi() { return g_ui ? *g_ui : Console(); }

UiBackend* ZelSetUi(UiBackend* backend) {
  UiBackend* previous = &ZelUi();
  g_ui = backend;
  return previous;
}

int AfxMessageBox(const char* text, UINT type, UINT) {
  MessageBoxRequest request;
  request.text = text;
  request.type = type;
  CWinApp* app = AfxGetApp();
  request.caption = app->m_strAppName;
  if (app->m_pMainWnd) request.owner = app->m_pMainWnd->m_hWnd;
  return ZelUi().MessageBox(request);
}
