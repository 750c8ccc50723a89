// The automation service name and the system type.
#include "platform/user/app/HostIdentity.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/user/app/WinApp.h"

namespace {

const int kServiceNameMax = 100;
const char* const kUniquePrefix = "Qlli5#";

CString g_serviceName;
bool g_serviceNameKnown = false;

// The application's own store, integers as decimal text, as the settings functions of
// the layout layer read them.
int ProfileInt(const char* section, const char* entry, int def) {
  CString text;
  text.Format("%d", def);
  return std::atoi(AfxGetApp()->GetProfileString(section, entry, text));
}

}  // namespace

CString ZelGetDDEServerName() {
  if (g_serviceNameKnown) return g_serviceName;
  CString name;
  if (ProfileInt("Automation", "NeedUniqueServiceName", 0) != 0) {
    name = AfxGetApp()->GetProfileString("Automation", "ServiceName", "");
    if (name.Left(static_cast<int>(std::strlen(kUniquePrefix))) != kUniquePrefix) {
      name.Format("Qlli5#%lx", static_cast<unsigned long>(std::time(nullptr)));
      AfxGetApp()->WriteProfileString("Automation", "ServiceName", name);
    }
  } else {
    name = AfxGetApp()->m_strExeName;
    AfxGetApp()->WriteProfileString("Automation", "ServiceName", name);
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
