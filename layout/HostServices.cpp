// Host services.
#include "layout/HostServices.h"

#include <cstring>

#include "files/ZelBinaryFile.h"
#include "platform/os/host/Host.h"
#include "platform/os/registry/Registry.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/ui/ZelMessageBox.h"

namespace {

const char* const kRemoteToolsKey = "Software\\Tessaly\\Quillion Suite\\10CRVNWeb";

int g_applicationCode = 1;

}  // namespace

bool isCrvnWebAccessEbanled() {
  if (zel_registry::OpenKey(ZelHive::LocalMachine, kRemoteToolsKey) != ERROR_SUCCESS) return true;
  CString value;
  if (zel_registry::QueryString(ZelHive::LocalMachine, kRemoteToolsKey, "RemoteTools", value) !=
      ERROR_SUCCESS)
    return true;
  // Read into 24 bytes, terminator included: a longer value does not fit and counts as none.
  if (value.GetLength() >= 24) return true;
  return value.CompareNoCase("enabled") == 0;
}

namespace {

void Warn(CWnd* owner, const char* text) {
  ZelMessageBox(owner, text, nullptr, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

int ZelCopyTextToClipboard(CWnd* owner, const char* text) {
  if (!text || !*text) return 0;
  switch (ZelUi().SetClipboardText(text)) {
    case ZelClipboard::Ok:
      return 1;
    case ZelClipboard::CannotOpen:
      Warn(owner, "Cannot open the Clipboard");
      return 0;
    default:
      Warn(owner, "Error saving text to the Clipboard");
      return 0;
  }
}

unsigned long ZelSaveClipboardTextToFile(CWnd* owner, const CZelFileSpec& file) {
  CString text;
  ZelClipboard got = ZelUi().GetClipboardText(text);
  if (got == ZelClipboard::CannotOpen) Warn(owner, "Cannot open the Clipboard");
  if (got != ZelClipboard::Ok || text.IsEmpty()) return 0;
  if (text.str().size() > 2147483647u) {
    Warn(owner, "Clipboard text too large");
    return 0;
  }
  // The text ends at its first zero byte.
  size_t length = std::strlen(text.GetString());
  CZelBinaryFile out(file);
  if (!out.CreateOutput()) {
    out.ReportException();
    return 0;
  }
  unsigned long written = 0;
  try {
    out.Write(text.GetString(), static_cast<UINT>(length));
    written = static_cast<unsigned long>(length);
  } catch (CException& e) {
    out.ReportException(&e);
  }
  out.Close();
  return written;
}

CString ModuleFileName(HINSTANCE module) {
  CString path = zel_host::ModulePath(module);
  return path.Left(MAX_PATH - 1);
}

CString ExtractFileName(const char* path) {
  if (!path) return CString();
  const char* back = std::strrchr(path, '\\');
  const char* slash = std::strrchr(path, '/');
  const char* last = !back ? slash : !slash ? back : back > slash ? back : slash;
  return CString(last ? last + 1 : path);
}

CString ExtractFileDirectory(const char* path) {
  if (!path) return CString();
  int count = static_cast<int>(std::strlen(path)) - ExtractFileName(path).GetLength() - 1;
  if (count <= 0) return CString();
  return CString(path, count);
}

void SetApplicationCode(int code) { g_applicationCode = code; }

bool FirstTimeUpdate() { return true; }
