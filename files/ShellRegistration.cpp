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

CString OpenCommand(const FTTENTRY& row, const CString& exePath) {
  CString command = "\"" + exePath + "\"";
  if (HasText(row.openSwitch)) command += CString(" ") + row.openSwitch;
  return command;
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
  if (!Set(cls + "\\shell\\open\\command", nullptr, OpenCommand(row, exePath))) return false;
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

// What the contents say where they say it: GenBank and GenPept records start with LOCUS,
// their lengths counted in bp and aa; the suite's archives hold their markers near the
// start. A glob alone shared with another type (*.gb with game cartridges) is then decided
// by the contents, and the other type's own files keep their type.
std::vector<zel_desktop::MagicMatch> MagicOf(const FTTENTRY& row) {
  switch (row.id) {
    case kDnaDocument:
      return {{"LOCUS", 0, 0, {{" bp ", 0, 80}}}};
    case kProteinDocument:
      return {{"LOCUS", 0, 0, {{" aa ", 0, 80}}}};
    case kDnaArchive:
      return {{"@551656AS34@", 0, 4096}, {"@751656AS34@", 0, 4096}};
    case kProteinArchive:
      return {{"@552656AS34@", 0, 4096}, {"@752656AS34@", 0, 4096}};
    default:
      return {};
  }
}

// Content this sure of itself outranks a name: readers that look at a file's name before
// weaker content rules still tell the suite's files by their contents.
const int kContentPriority = 80;

void Note(ZelShellRegistration& report, const std::string& path, const std::error_code& ec) {
  if (ec)
    report.failures.push_back(CString(path + ": " + ec.message()));
  else
    report.files.push_back(CString(path));
}

std::vector<const FTTENTRY*> Chosen(const FTTENTRY* rows, int count) {
  std::vector<const FTTENTRY*> chosen;
  if (rows) {
    for (int i = 0; i < count; ++i) chosen.push_back(rows + i);
    return chosen;
  }
  FileTypesTable defaults;  // a fresh table holds exactly the default rows
  chosen.assign(defaults.Rows().begin(), defaults.Rows().end());
  return chosen;
}

void WriteDesktop(const std::vector<const FTTENTRY*>& rows, const ZelDesktopProgram& program,
                  const std::string& share, ZelShellRegistration& report) {
  std::vector<zel_desktop::MimeType> types;
  std::map<std::string, size_t> byClass;  // one type per class, whatever its rows
  for (const FTTENTRY* row : rows) {
    if (!IsDocumentClass(*row)) continue;
    auto [at, fresh] = byClass.emplace(row->shellClass, types.size());
    if (fresh) types.push_back({MimeTypeOf(*row), row->shellDescription, {}, {}});
    zel_desktop::MimeType& type = types[at->second];
    type.globs.push_back("*" + ZelAsciiLowered(row->extension));
    for (const auto& m : MagicOf(*row)) type.magic.push_back(m);
    if (!type.magic.empty()) type.magicPriority = kContentPriority;
  }
  types.insert(types.end(), program.ownTypes.begin(), program.ownTypes.end());
  if (types.empty()) return;
  const std::string id = RegistrationId();
  std::error_code written = zel_desktop::WriteMimePackage(id, types, share);
  Note(report, zel_desktop::MimePackagePath(id, share), written);
  if (!written)
    for (const auto& t : types) report.mimeTypes.push_back(CString(t.name));

  zel_desktop::DesktopEntry entry;
  entry.id = id;
  entry.name = (program.name.IsEmpty() ? AfxGetApp()->m_strAppName : program.name).str();
  entry.exec = (program.exec.IsEmpty() ? ProgramPath() : program.exec).str();
  entry.arguments = program.arguments.str();
  entry.comment = program.comment.str();
  entry.categories = program.categories.str();
  for (const auto& t : types) entry.mimeTypes.push_back(t.name);
  for (const CString& t : program.otherTypes) entry.mimeTypes.push_back(t.str());
  if (!program.icon.IsEmpty()) {
    zel_desktop::IconCopy icons =
        zel_desktop::CopyIcon(program.icon.str(), program.iconSource.str(), share);
    for (const std::string& file : icons.written) report.files.push_back(CString(file));
    if (icons.error)
      Note(report, icons.failedPath, icons.error);
    else if (icons.written.empty())
      report.failures.push_back(program.iconSource + ": no icon " + program.icon);
    else
      entry.icon = program.icon.str();  // named only when the theme has it
  }
  Note(report, zel_desktop::DesktopEntryPath(id, share),
       zel_desktop::WriteDesktopEntry(entry, share));
}

void Refresh(ZelShellRegistration& report) {
  for (const std::string& ran : zel_desktop::RefreshDatabases())
    report.refreshed.push_back(CString(ran));
}

// Deletes the key when nothing is left in it: no subkey, no value.
void DeleteIfEmpty(const CString& key) {
  zel_registry::KeyListing listing;
  if (zel_registry::ListKey(kRoot, key, listing) == ERROR_SUCCESS && listing.subkeys.empty() &&
      listing.values.empty())
    zel_registry::DeleteKey(kRoot, key);
}

// Deletes the value when it still holds what was written.
void DeleteIfEquals(const CString& key, const char* name, const CString& written) {
  CString current;
  if (zel_registry::QueryString(kRoot, key, name, current) == ERROR_SUCCESS && current == written)
    zel_registry::DeleteValue(kRoot, key, name);
}

// The keys RegisterRow wrote for the rows of one class, when the class's open command is
// still this program's: a class another program took over since, and its extensions, stay.
// The last row of a class wrote its values last.
bool UnregisterClass(const std::vector<const FTTENTRY*>& rows, const CString& exePath) {
  const CString cls = rows.back()->shellClass;
  CString current;
  if (zel_registry::QueryString(kRoot, cls + "\\shell\\open\\command", nullptr, current) !=
          ERROR_SUCCESS ||
      current != OpenCommand(*rows.back(), exePath))
    return false;
  zel_registry::DeleteKey(kRoot, cls + "\\shell\\open\\ddeexec");
  zel_registry::DeleteKey(kRoot, cls + "\\shell\\open\\command");
  DeleteIfEmpty(cls + "\\shell\\open");
  DeleteIfEmpty(cls + "\\shell");
  for (const FTTENTRY* row : rows) {
    if (row->iconIndex != 0) {
      CString icon;
      icon.Format("%s,%d", exePath.GetString(), row->iconIndex);
      DeleteIfEquals(cls + "\\DefaultIcon", nullptr, icon);
    }
    DeleteIfEquals(cls, nullptr, row->shellDescription);
  }
  DeleteIfEmpty(cls + "\\DefaultIcon");
  DeleteIfEmpty(cls);
  for (const FTTENTRY* row : rows) {
    CString pointsAt;
    if (zel_registry::QueryString(kRoot, row->extension, nullptr, pointsAt) != ERROR_SUCCESS ||
        pointsAt != cls)
      continue;
    zel_registry::DeleteValue(kRoot, row->extension, nullptr);
    for (const auto& [extension, mime] : kMimePairs) {
      if (ZelStrCmpNoCase(row->extension, extension) != 0) continue;
      DeleteIfEquals(row->extension, "Content Type", mime);
      const CString database = CString("MIME\\Database\\Content Type\\") + mime;
      DeleteIfEquals(database, "Extension", extension);
      for (const char* key :
           {database.GetString(), "MIME\\Database\\Content Type", "MIME\\Database", "MIME"})
        DeleteIfEmpty(key);
    }
    DeleteIfEmpty(row->extension);
  }
  return true;
}

}  // namespace

ZelShellRegistration RegisterZelShellFileTypesEx(const FTTENTRY* rows, int count,
                                                 const ZelDesktopProgram& program) {
  ZelShellRegistration report;
  report.hive = zel_registry::HivePath(kRoot);
  CString exePath = ProgramPath();
  const std::vector<const FTTENTRY*> chosen = Chosen(rows, count);
  std::map<std::string, bool> whole;  // by class: every row of it written
  for (const FTTENTRY* row : chosen) {
    if (!IsDocumentClass(*row)) continue;
    bool written = RegisterRow(*row, exePath);
    auto [at, fresh] = whole.emplace(row->shellClass, written);
    if (!fresh) at->second = at->second && written;
  }
  for (const auto& [cls, written] : whole) report.classes += written ? 1 : 0;
  const std::string share = zel_desktop::DataHome();
  if (share.empty()) return report;
  WriteDesktop(chosen, program, share, report);
  Refresh(report);
  return report;
}

void RegisterZelShellFileTypes(const FTTENTRY* rows, int count) {
  RegisterZelShellFileTypesEx(rows, count);
}

ZelShellRegistration WriteZelDesktopFiles(const FTTENTRY* rows, int count,
                                          const ZelDesktopProgram& program, const CString& share) {
  ZelShellRegistration report;
  WriteDesktop(Chosen(rows, count), program, share.str(), report);
  return report;
}

ZelShellRegistration UnregisterZelShellFileTypes(const FTTENTRY* rows, int count,
                                                 const ZelDesktopProgram& program) {
  ZelShellRegistration report;
  report.hive = zel_registry::HivePath(kRoot);
  const CString exePath = ProgramPath();
  std::map<std::string, std::vector<const FTTENTRY*>> byClass;
  for (const FTTENTRY* row : Chosen(rows, count))
    if (IsDocumentClass(*row)) byClass[row->shellClass].push_back(row);
  for (const auto& [cls, classRows] : byClass)
    report.classes += UnregisterClass(classRows, exePath) ? 1 : 0;

  const std::string share = zel_desktop::DataHome();
  if (share.empty()) return report;
  const std::string id = RegistrationId();
  std::vector<std::string> files = {zel_desktop::MimePackagePath(id, share),
                                    zel_desktop::DesktopEntryPath(id, share)};
  if (!program.icon.IsEmpty()) {
    std::vector<std::string> icons = zel_desktop::IconFiles(program.icon.str(), share);
    files.insert(files.end(), icons.begin(), icons.end());
  }
  bool any = false;
  for (const std::string& path : files) {
    if (zel_fs::KindOf(path.c_str()) == ZelPathKind::None) continue;
    any = true;
    Note(report, path, zel_desktop::RemoveRegistrationFile(path, share + "/icons/hicolor"));
  }
  // With nothing of ours there, the desktop's databases are left as they are.
  if (any) Refresh(report);
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
