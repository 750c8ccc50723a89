// The settings functions over the application object's profile calls.
#include "layout/Settings.h"

#include <cstdlib>
#include <cstring>

#include "platform/os/registry/Registry.h"
#include "platform/user/app/WinApp.h"

namespace {

// The suite-wide store and the installation key in the machine-wide hive.
const char* const kSuiteRegistryKey = "TESSALY, INC\\QLLI 10";
const char* const kSuiteProfileName = "Quillion";
const char* const kInstallKey = "Software\\Tessaly\\Quillion Suite\\10\\directories";

// Switches the application object to the suite-wide store for one call, and back again
// whatever the call does.
class SuiteStore {
 public:
  SuiteStore()
      : m_app(AfxGetApp()), m_key(m_app->m_strRegistryKey), m_name(m_app->m_strProfileName) {
    m_app->m_strRegistryKey = kSuiteRegistryKey;
    m_app->m_strProfileName = kSuiteProfileName;
  }
  ~SuiteStore() {
    m_app->m_strRegistryKey = m_key;
    m_app->m_strProfileName = m_name;
  }
  SuiteStore(const SuiteStore&) = delete;
  SuiteStore& operator=(const SuiteStore&) = delete;

 private:
  CWinApp* m_app;
  CString m_key;
  CString m_name;
};

CString Flag(BOOL ok) { return CString(static_cast<char>(ok ? 1 : 0)); }

}  // namespace

unsigned int ZelGetProfileInt(const char* section, const char* entry, int def) {
  CString text;
  text.Format("%d", def);
  return static_cast<unsigned int>(std::atoi(AfxGetApp()->GetProfileString(section, entry, text)));
}

CString ZelGetProfileString(const char* section, const char* entry, const char* def) {
  return AfxGetApp()->GetProfileString(section, entry, def ? def : "");
}

int ZelWriteProfileInt(const char* section, const char* entry, int value) {
  CString text;
  text.Format("%d", value);
  return AfxGetApp()->WriteProfileString(section, entry, text);
}

CString ZelWriteProfileString(const char* section, const char* entry, const char* value) {
  return Flag(AfxGetApp()->WriteProfileString(section, entry, value));
}

unsigned int QlliGetProfileInt(const char* section, const char* entry, int def) {
  SuiteStore suite;
  return ZelGetProfileInt(section, entry, def);
}

CString QlliGetProfileString(const char* section, const char* entry, const char* def) {
  SuiteStore suite;
  return ZelGetProfileString(section, entry, def);
}

int QlliWriteProfileInt(const char* section, const char* entry, int value) {
  SuiteStore suite;
  return ZelWriteProfileInt(section, entry, value);
}

CString QlliWriteProfileString(const char* section, const char* entry, const char* value) {
  SuiteStore suite;
  return ZelWriteProfileString(section, entry, value);
}

int QlliWriteProfileBinary(const char* section, const char* entry, unsigned char* data,
                           unsigned int count) {
  SuiteStore suite;
  return AfxGetApp()->WriteProfileBinary(section, entry, data, count);
}

int QlliGetProfileBinary(const char* section, const char* entry, unsigned char* data,
                         unsigned int count) {
  SuiteStore suite;
  if (!data) return 0;
  BYTE* block = nullptr;
  UINT length = 0;
  if (!AfxGetApp()->GetProfileBinary(section, entry, &block, &length)) return 0;
  std::memcpy(data, &block, sizeof block);
  return 1;
}

CString ZelGetProfileLocation() { return AfxGetApp()->GetProfileLocation(); }

CString QlliGetProfileLocation() {
  SuiteStore suite;
  return AfxGetApp()->GetProfileLocation();
}

long ZelGetLocalExeDir(CString& dir, const char* def) {
  LONG err = zel_registry::OpenKey(ZelHive::LocalMachine, kInstallKey);
  if (err != ERROR_SUCCESS) {
    dir = def;
    return err;
  }
  CString value;
  err = zel_registry::QueryString(ZelHive::LocalMachine, kInstallKey, "exedir", value);
  // The value is read into a buffer of 1024 bytes, terminator included.
  if (err == ERROR_SUCCESS && value.GetLength() >= 1024) err = ERROR_MORE_DATA;
  dir = err == ERROR_SUCCESS ? value : CString(def);
  return err;
}
