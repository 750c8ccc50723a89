// Shell registration over the registry store's class root.
#include "files/ShellRegistration.h"

#include <vector>

#include "platform/app/WinApp.h"
#include "platform/host/Host.h"
#include "platform/host/HostIdentity.h"
#include "platform/registry/Registry.h"

namespace {

const ZelHive kRoot = ZelHive::ClassesRoot;

bool Set(const CString& key, const char* name, const char* text) {
  return zel_registry::SetString(kRoot, key, name, text) == ERROR_SUCCESS;
}

bool HasText(const char* s) { return s && *s; }

void RegisterRow(const FTTENTRY& row, const CString& exePath) {
  if (!HasText(row.shellClass) || !HasText(row.shellDescription) || !HasText(row.extension)) return;
  CString cls = row.shellClass;
  if (!Set(cls, nullptr, row.shellDescription)) return;
  const char* ddeCommand = "[open(\"%1\")]";
  CString ddeexec = cls + "\\shell\\open\\ddeexec";
  if (!Set(ddeexec, nullptr, ddeCommand) || !Set(ddeexec + "\\ifexec", nullptr, ddeCommand)) return;
  CString server = ZelGetDDEServerName();
  if (server == AfxGetApp()->m_strExeName) {
    // The shell finds a server named like the program by itself.
    LONG err = zel_registry::DeleteKey(kRoot, ddeexec + "\\Application");
    if (err != ERROR_SUCCESS && err != ERROR_FILE_NOT_FOUND) return;
  } else if (!Set(ddeexec + "\\Application", nullptr, server)) {
    return;
  }
  CString command = "\"" + exePath + "\"";
  if (HasText(row.openSwitch)) command += CString(" ") + row.openSwitch;
  if (!Set(cls + "\\shell\\open\\command", nullptr, command)) return;
  if (row.iconIndex != 0) {
    CString icon;
    icon.Format("%s,%d", exePath.GetString(), row.iconIndex);
    if (!Set(cls + "\\DefaultIcon", nullptr, icon)) return;
  }
  // An association another program already made stays.
  CString current;
  if (zel_registry::QueryString(kRoot, row.extension, nullptr, current) == ERROR_SUCCESS &&
      !current.IsEmpty())
    return;
  Set(row.extension, nullptr, cls);
}

}  // namespace

void RegisterZelShellFileTypes(const FTTENTRY* rows, int count) {
  CString exePath = AfxGetApp()->m_strExePath;
  if (exePath.IsEmpty()) exePath = zel_host::ExecutablePath();
  if (rows) {
    for (int i = 0; i < count; ++i) RegisterRow(rows[i], exePath);
    return;
  }
  FileTypesTable defaults;  // a fresh table holds exactly the default rows
  for (const FTTENTRY* row : defaults.Rows()) RegisterRow(*row, exePath);
}

void RegisterZelMimeTypes() {
  static const char* const pairs[][2] = {
      {".gb", "chemical/seq-na-genbank"},
      {".gp", "chemical/seq-aa-genpept"},
      {".ekm", "application/qlli-ekmols"},
  };
  for (const auto& [extension, mime] : pairs) {
    if (zel_registry::OpenKey(kRoot, extension) != ERROR_SUCCESS) continue;
    CString current;
    if (zel_registry::QueryString(kRoot, extension, "Content Type", current) != ERROR_SUCCESS ||
        current.IsEmpty())
      Set(extension, "Content Type", mime);
    Set(CString("MIME\\Database\\Content Type\\") + mime, "Extension", extension);
  }
}
