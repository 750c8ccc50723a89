// Host services.
#include "layout/HostServices.h"

#include <cstring>
#include <ctime>

#include "files/ZelBinaryFile.h"
#include "layout/HostServicesInternal.h"
#include "layout/Settings.h"
#include "platform/app/WinApp.h"
#include "platform/host/Host.h"
#include "platform/registry/Registry.h"
#include "platform/ui/UiBackend.h"

namespace {

const int kServiceNameMax = 100;
const char* const kUniquePrefix = "Qlli5#";
const char* const kRemoteToolsKey = "Software\\Tessaly\\Quillion Suite\\10CRVNWeb";

CString g_serviceName;
bool g_serviceNameKnown = false;
int g_applicationCode = 1;

void Warn(CWnd* owner, const char* text) {
  MessageBoxRequest request;
  request.text = text;
  request.caption = AfxGetApp()->m_strAppName;
  request.type = MB_OK | MB_ICONEXCLAMATION;
  if (owner) request.owner = owner->GetSafeHwnd();
  ZelUi().MessageBox(request);
}

}  // namespace

CString ZelGetDDEServerName() {
  if (g_serviceNameKnown) return g_serviceName;
  CString name;
  if (ZelGetProfileInt("Automation", "NeedUniqueServiceName", 0) != 0) {
    name = ZelGetProfileString("Automation", "ServiceName", nullptr);
    if (name.Left(static_cast<int>(std::strlen(kUniquePrefix))) != kUniquePrefix) {
      name.Format("Qlli5#%lx", static_cast<unsigned long>(std::time(nullptr)));
      ZelWriteProfileString("Automation", "ServiceName", name);
    }
  } else {
    name = AfxGetApp()->m_strExeName;
    ZelWriteProfileString("Automation", "ServiceName", name);
  }
  g_serviceName = name.Left(kServiceNameMax);
  g_serviceNameKnown = true;
  return g_serviceName;
}

int ZelSystemTypeFrom(const ZelOsVersion* version, DWORD packed, long& major, long& minor,
                      long& build, CString& description) {
  description.Empty();
  int code = 3;
  if (version) {
    major = version->major;
    minor = version->minor;
    build = version->build;
    switch (version->platformId) {
      case 0:
        code = 1;
        description.Format("Win32s %ld.%ld on Windows 3.1", major, minor);
        break;
      case 1:
        code = 2;
        if (minor != 0)
          description.Format("Windows 98 (%ld.%ld)", major, minor);
        else
          description.Format("Windows 95 (%ld.%ld.%ld)", major, minor, build);
        break;
      default:
        code = 3;
        description.Format("Windows NT %ld.%ld.%ld", major, minor, build);
        break;
    }
    return code;
  }
  major = static_cast<long>(packed & 0xFF);
  minor = static_cast<long>((packed >> 8) & 0xFF);
  build = 0;
  CString text;
  text.Format("%d.%d", static_cast<int>(major), static_cast<int>(minor));
  if (text.Right(1) == "0") text = text.Left(text.GetLength() - 1);
  description = "Windows NT " + text;
  if (major >= 4) {
    description = "Windows 95";
    code = 2;
  }
  if (packed & 0x80000000u) {
    description = "Win32s on Windows " + text;
    code = 1;
  }
  return code;
}

int GetZelSystemType(long& major, long& minor, long& build, CString& description) {
  ZelOsVersion version;
  if (ZelQueryOsVersion(version))
    return ZelSystemTypeFrom(&version, 0, major, minor, build, description);
  // Without a version record there is no packed number either on this system.
  return ZelSystemTypeFrom(nullptr, 0, major, minor, build, description);
}

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

int ZelCopyTextToClipboard(CWnd* owner, const char* text) {
  if (!text || !*text) return 0;
  if (!ZelUi().SetClipboardText(text)) {
    Warn(owner, "Cannot open the Clipboard");
    return 0;
  }
  return 1;
}

unsigned long ZelSaveClipboardTextToFile(CWnd* owner, const CZelFileSpec& file) {
  CString text;
  if (!ZelUi().GetClipboardText(text) || text.IsEmpty()) return 0;
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
