// The application object and its process-wide registration.
#include "platform/user/app/WinApp.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/base/string/String.h"
#include "platform/os/host/Host.h"
#include "platform/os/process/Process.h"
#include "platform/os/profile/ProfileFile.h"
#include "platform/os/registry/Registry.h"

IMPLEMENT_DYNAMIC(CWinApp, CObject)

namespace {
CWinApp* g_current = nullptr;
}

// The executable's name and path come from the running program, as the framework takes
// them from its module, so the automation service name and the profile file's name are
// never empty. Without a name of its own the application is called after its program.
CWinApp::CWinApp(const char* appName) : m_previous(g_current) {
  m_strExePath = zel_host::ExecutablePath();
  CString file = m_strExePath.Mid(m_strExePath.ReverseFind('/') + 1);
  int dot = file.ReverseFind('.');
  m_strExeName = dot > 0 ? file.Left(dot) : file;
  m_strAppName = appName ? CString(appName) : m_strExeName;
  g_current = this;
}

CWinApp::~CWinApp() {
  if (g_current == this) g_current = m_previous;
}

void CWinApp::WinHelp(DWORD_PTR, UINT) {
  if (!m_strHelpFilePath.IsEmpty()) zel_process::CurrentLauncher().Open(m_strHelpFilePath.str());
}

CWinApp* AfxGetApp() {
  if (g_current) return g_current;
  static CWinApp fallback("ZelUtil");
  return &fallback;
}

const char* AfxGetAppName() { return AfxGetApp()->m_strAppName; }

namespace {
thread_local CWnd* t_threadMainWnd = nullptr;
}  // namespace

CWnd* AfxGetMainWnd() { return t_threadMainWnd ? t_threadMainWnd : AfxGetApp()->m_pMainWnd; }

void AfxSetThreadMainWnd(CWnd* wnd) { t_threadMainWnd = wnd; }

// ---- settings ---------------------------------------------------------------------------

namespace {

bool UsesRegistry(const CWinApp& app) { return !app.m_strRegistryKey.IsEmpty(); }

CString ProfileName(const CWinApp& app) {
  if (!app.m_strProfileName.IsEmpty()) return app.m_strProfileName;
  const CString& base = app.m_strExeName.IsEmpty() ? app.m_strAppName : app.m_strExeName;
  return (base.IsEmpty() ? CString("ZelUtil") : base) + ".ini";
}

CString AppKey(const CWinApp& app) {
  CString name = app.m_strProfileName.IsEmpty() ? app.m_strAppName : app.m_strProfileName;
  return "Software\\" + app.m_strRegistryKey + "\\" + name;
}

CString SectionKey(const CWinApp& app, const char* section) { return AppKey(app) + "\\" + section; }

const char kHex[] = "0123456789ABCDEF";

}  // namespace

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* def) {
  CString value;
  if (section && entry) {
    if (UsesRegistry(*this)) {
      if (zel_registry::QueryString(ZelHive::CurrentUser, SectionKey(*this, section), entry,
                                    value) == ERROR_SUCCESS)
        return value;
    } else if (zel_profile::ReadEntry(ProfileName(*this), section, entry, value)) {
      return value;
    }
  }
  return CString(def);
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) {
  if (!section) return FALSE;
  if (!UsesRegistry(*this))
    return zel_profile::WriteEntry(ProfileName(*this), section, entry, value);
  CString key = SectionKey(*this, section);
  LONG result;
  if (!entry)
    result = zel_registry::DeleteKey(ZelHive::CurrentUser, key);
  else if (!value)
    result = zel_registry::DeleteValue(ZelHive::CurrentUser, key, entry);
  else
    return zel_registry::SetString(ZelHive::CurrentUser, key, entry, value) == ERROR_SUCCESS;
  // Deleting what is not there leaves the store as asked.
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int def) {
  if (!section || !entry) return static_cast<UINT>(def);
  if (UsesRegistry(*this)) {
    ZelRegValue value;
    if (zel_registry::QueryValue(ZelHive::CurrentUser, SectionKey(*this, section), entry, value) !=
        ERROR_SUCCESS)
      return static_cast<UINT>(def);
    if (value.type == REG_DWORD) return value.number;
    return static_cast<UINT>(std::atoi(value.data.c_str()));
  }
  return GetPrivateProfileInt(section, entry, def, ProfileName(*this));
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) {
  if (!section || !entry) return FALSE;
  if (UsesRegistry(*this)) {
    ZelRegValue number;
    number.type = REG_DWORD;
    number.number = static_cast<DWORD>(value);
    return zel_registry::SetValue(ZelHive::CurrentUser, SectionKey(*this, section), entry,
                                  number) == ERROR_SUCCESS;
  }
  CString text;
  text.Format("%d", value);
  return zel_profile::WriteEntry(ProfileName(*this), section, entry, text);
}

BOOL CWinApp::GetProfileBinary(const char* section, const char* entry, BYTE** data, UINT* bytes) {
  if (data) *data = nullptr;
  if (bytes) *bytes = 0;
  if (!section || !entry || !data || !bytes) return FALSE;
  std::string block;
  if (UsesRegistry(*this)) {
    ZelRegValue value;
    if (zel_registry::QueryValue(ZelHive::CurrentUser, SectionKey(*this, section), entry, value) !=
            ERROR_SUCCESS ||
        value.type != REG_BINARY)
      return FALSE;
    block = value.data;
  } else {
    // In a profile file a block is its bytes as hexadecimal digit pairs.
    CString text;
    if (!zel_profile::ReadEntry(ProfileName(*this), section, entry, text) || text.GetLength() % 2)
      return FALSE;
    for (int i = 0; i < text.GetLength(); i += 2) {
      const char* hi = std::strchr(kHex, ZelAsciiToUpper(text[i]));
      const char* lo = std::strchr(kHex, ZelAsciiToUpper(text[i + 1]));
      if (!hi || !lo || !*hi || !*lo) return FALSE;
      block += static_cast<char>((hi - kHex) * 16 + (lo - kHex));
    }
  }
  *bytes = static_cast<UINT>(block.size());
  *data = new BYTE[block.size() ? block.size() : 1];
  std::memcpy(*data, block.data(), block.size());
  return TRUE;
}

BOOL CWinApp::WriteProfileBinary(const char* section, const char* entry, const BYTE* data,
                                 UINT bytes) {
  if (!section || !entry || (!data && bytes)) return FALSE;
  if (UsesRegistry(*this)) {
    ZelRegValue value;
    value.type = REG_BINARY;
    value.data.assign(reinterpret_cast<const char*>(data), bytes);
    return zel_registry::SetValue(ZelHive::CurrentUser, SectionKey(*this, section), entry, value) ==
           ERROR_SUCCESS;
  }
  CString text;
  for (UINT i = 0; i < bytes; ++i) {
    text += kHex[data[i] >> 4];
    text += kHex[data[i] & 15];
  }
  return zel_profile::WriteEntry(ProfileName(*this), section, entry, text);
}

void CWinApp::SetRegistryKey(const char* key) {
  m_strRegistryKey = key;
  m_strProfileName = m_strAppName;
}

CString CWinApp::GetProfileLocation() const {
  if (UsesRegistry(*this))
    return CString(zel_registry::HiveName(ZelHive::CurrentUser)) + "\\" + AppKey(*this) + " in " +
           zel_registry::HivePath(ZelHive::CurrentUser);
  return zel_profile::ResolvePath(ProfileName(*this));
}
