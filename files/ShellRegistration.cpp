// Shell registration over the registry store's class root.
#include "files/ShellRegistration.h"

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "platform/base/string/String.h"
#include "platform/os/desktop/Freedesktop.h"
#include "platform/os/fs/FileSystem.h"
#include "platform/os/host/Host.h"
#include "platform/os/registry/Registry.h"
#include "platform/user/app/HostIdentity.h"
#include "platform/user/app/WinApp.h"

namespace {

const ZelHive kRoot = ZelHive::ClassesRoot;

bool Set(const CString& key, const char* name, const char* text) {
  return zel_registry::SetString(kRoot, key, name, text) == ERROR_SUCCESS;
}

bool HasText(const char* s) { return s && *s; }

// The formats whose MIME types the suite names.
const char* const kMimePairs[][2] = {
    {".gb", "chemical/seq-na-genbank"},
    {".gp", "chemical/seq-aa-genpept"},
    {".ekm", "application/qlli-ekmols"},
};

bool IsDocumentClass(const FTTENTRY& row) {
  return HasText(row.shellClass) && HasText(row.shellDescription) && HasText(row.extension);
}

// True when the whole class was written.
bool RegisterRow(const FTTENTRY& row, const CString& exePath) {
  if (!IsDocumentClass(row)) return false;
  CString cls = row.shellClass;
  if (!Set(cls, nullptr, row.shellDescription)) return false;
  const char* ddeCommand = "[open(\"%1\")]";
  CString ddeexec = cls + "\\shell\\open\\ddeexec";
  if (!Set(ddeexec, nullptr, ddeCommand) || !Set(ddeexec + "\\ifexec", nullptr, ddeCommand))
    return false;
  CString server = ZelGetDDEServerName();
  if (server == AfxGetApp()->m_strExeName) {
    // The shell finds a server named like the program by itself.
    LONG err = zel_registry::DeleteKey(kRoot, ddeexec + "\\Application");
    if (err != ERROR_SUCCESS && err != ERROR_FILE_NOT_FOUND) return false;
  } else if (!Set(ddeexec + "\\Application", nullptr, server)) {
    return false;
  }
  CString command = "\"" + exePath + "\"";
  if (HasText(row.openSwitch)) command += CString(" ") + row.openSwitch;
  if (!Set(cls + "\\shell\\open\\command", nullptr, command)) return false;
  if (row.iconIndex != 0) {
    CString icon;
    icon.Format("%s,%d", exePath.GetString(), row.iconIndex);
    if (!Set(cls + "\\DefaultIcon", nullptr, icon)) return false;
  }
  // An association another program already made stays.
  CString current;
  if (zel_registry::QueryString(kRoot, row.extension, nullptr, current) == ERROR_SUCCESS &&
      !current.IsEmpty())
    return true;
  return Set(row.extension, nullptr, cls);
}

CString ProgramPath() {
  CString exePath = AfxGetApp()->m_strExePath;
  return exePath.IsEmpty() ? zel_host::ExecutablePath() : exePath;
}

// The package and the desktop entry are the program's own, so programs of the suite
// register and unregister without touching each other's.
std::string RegistrationId() { return "zelutil-" + AfxGetApp()->m_strExeName.str(); }

// The MIME type of a document class: the suite's own name where the class's extension has
// one, else application/x- and the class name in lower case, with characters a MIME
// name cannot hold as "-".
std::string MimeTypeOf(const FTTENTRY& row) {
  for (const auto& [extension, mime] : kMimePairs)
    if (ZelStrCmpNoCase(row.extension, extension) == 0) return mime;
  std::string name = "application/x-";
  for (const char* p = row.shellClass; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    name += std::isalnum(c) || c == '.' || c == '+' ? ZelAsciiToLower(static_cast<char>(c)) : '-';
  }
  return name;
}

// What the contents say where they say it: GenBank and GenPept records start with LOCUS;
// the suite's archives hold their markers near the start. A glob alone shared with another
// type (*.gb with game cartridges) is then decided by the contents, and the other type's
// own files keep their type.
std::vector<zel_desktop::MagicMatch> MagicOf(const FTTENTRY& row) {
  switch (row.id) {
    case kDnaDocument:
    case kProteinDocument:
      return {{"LOCUS", 0, 0}};
    case kDnaArchive:
      return {{"@551656AS34@", 0, 4096}, {"@751656AS34@", 0, 4096}};
    case kProteinArchive:
      return {{"@552656AS34@", 0, 4096}, {"@752656AS34@", 0, 4096}};
    default:
      return {};
  }
}

void Note(ZelShellRegistration& report, const std::string& path, const std::error_code& ec) {
  if (ec)
    report.failures.push_back(CString(path + ": " + ec.message()));
  else
    report.files.push_back(CString(path));
}

void RegisterDesktop(const std::vector<const FTTENTRY*>& rows, ZelShellRegistration& report) {
  std::vector<zel_desktop::MimeType> types;
  std::map<std::string, size_t> byClass;  // one type per class, whatever its rows
  for (const FTTENTRY* row : rows) {
    if (!IsDocumentClass(*row)) continue;
    auto [at, fresh] = byClass.emplace(row->shellClass, types.size());
    if (fresh) types.push_back({MimeTypeOf(*row), row->shellDescription, {}, {}});
    zel_desktop::MimeType& type = types[at->second];
    type.globs.push_back("*" + ZelAsciiLowered(row->extension));
    for (const auto& m : MagicOf(*row)) type.magic.push_back(m);
  }
  if (types.empty()) return;
  const std::string id = RegistrationId();
  std::error_code written = zel_desktop::WriteMimePackage(id, types);
  Note(report, zel_desktop::MimePackagePath(id), written);
  zel_desktop::DesktopEntry entry{id, AfxGetApp()->m_strAppName.str(), ProgramPath().str(), {}};
  for (const auto& t : types) {
    entry.mimeTypes.push_back(t.name);
    if (!written) report.mimeTypes.push_back(CString(t.name));
  }
  Note(report, zel_desktop::DesktopEntryPath(id), zel_desktop::WriteDesktopEntry(entry));
  for (const std::string& ran : zel_desktop::RefreshDatabases())
    report.refreshed.push_back(CString(ran));
}

}  // namespace

ZelShellRegistration RegisterZelShellFileTypesEx(const FTTENTRY* rows, int count) {
  ZelShellRegistration report;
  report.hive = zel_registry::HivePath(kRoot);
  CString exePath = ProgramPath();
  std::vector<const FTTENTRY*> chosen;
  FileTypesTable defaults;  // a fresh table holds exactly the default rows
  if (rows) {
    for (int i = 0; i < count; ++i) chosen.push_back(rows + i);
  } else {
    chosen.assign(defaults.Rows().begin(), defaults.Rows().end());
  }
  std::map<std::string, bool> whole;  // by class: every row of it written
  for (const FTTENTRY* row : chosen) {
    if (!IsDocumentClass(*row)) continue;
    bool written = RegisterRow(*row, exePath);
    auto [at, fresh] = whole.emplace(row->shellClass, written);
    if (!fresh) at->second = at->second && written;
  }
  for (const auto& [cls, written] : whole) report.classes += written ? 1 : 0;
  RegisterDesktop(chosen, report);
  return report;
}

void RegisterZelShellFileTypes(const FTTENTRY* rows, int count) {
  RegisterZelShellFileTypesEx(rows, count);
}

ZelShellRegistration UnregisterZelDesktopEntries() {
  ZelShellRegistration report;
  const std::string id = RegistrationId();
  for (const std::string& path :
       {zel_desktop::MimePackagePath(id), zel_desktop::DesktopEntryPath(id)}) {
    if (zel_fs::KindOf(path.c_str()) == ZelPathKind::None) continue;
    Note(report, path, zel_desktop::RemoveRegistrationFile(path));
  }
  for (const std::string& ran : zel_desktop::RefreshDatabases())
    report.refreshed.push_back(CString(ran));
  return report;
}

void RegisterZelMimeTypes() {
  for (const auto& [extension, mime] : kMimePairs) {
    if (zel_registry::OpenKey(kRoot, extension) != ERROR_SUCCESS) continue;
    CString current;
    if (zel_registry::QueryString(kRoot, extension, "Content Type", current) != ERROR_SUCCESS ||
        current.IsEmpty())
      Set(extension, "Content Type", mime);
    Set(CString("MIME\\Database\\Content Type\\") + mime, "Extension", extension);
  }
}
