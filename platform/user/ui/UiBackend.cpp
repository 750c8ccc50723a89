// The console user-interface backend, and the backend in use.
#include "platform/user/ui/UiBackend.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/user/app/WinApp.h"
#include "platform/user/integration/Integration.h"

std::vector<FileFilterItem> ParseFilterString(const char* filter) {
  std::vector<FileFilterItem> items;
  if (!filter) return items;
  const char* p = filter;
  auto field = [&p](CString& out) {
    const char* bar = std::strchr(p, '|');
    const size_t length = bar ? static_cast<size_t>(bar - p) : std::strlen(p);
    out = CString(p, static_cast<int>(length));
    p += length + (bar ? 1 : 0);
    return bar != nullptr;
  };
  while (*p) {
    FileFilterItem item;
    const bool closed = field(item.description);
    if (item.description.IsEmpty()) break;
    // The last item may lack its closing bar; a description alone says nothing to match.
    if (!closed) break;
    field(item.patterns);
    items.push_back(item);
  }
  return items;
}

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
  // Each line of the message is a line of its own, and each starts with the program's
  // name, as every message of a command-line program does, then any other caption. A
  // line break after the last line adds none.
  CString prefix = AfxGetAppName();
  if (!request.caption.IsEmpty() && request.caption != prefix)
    prefix = prefix.IsEmpty() ? request.caption : prefix + ": " + request.caption;
  if (!prefix.IsEmpty()) prefix += ": ";
  std::string_view text = request.text.view();
  do {
    const size_t end = std::min(text.find_first_of("\r\n"), text.size());
    std::fprintf(stderr, "%s%.*s\n", prefix.GetString(), static_cast<int>(end), text.data());
    size_t next = end;
    if (next < text.size()) next += text.compare(next, 2, "\r\n") == 0 ? 2 : 1;
    text.remove_prefix(next);
  } while (!text.empty());
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

ConsoleUiBackend& ConsoleUi() {
  static ConsoleUiBackend console;
  return console;
}

UiBackend& ZelUi() {
  UiBackend* installed = zel_user::InstalledEngine<UiBackend>();
  return installed ? *installed : ConsoleUi();
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
