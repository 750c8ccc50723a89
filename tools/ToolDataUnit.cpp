// Reading and writing tool files.
#include "tools/ToolDataUnit.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/os/locale/UserLanguage.h"
#include "platform/os/profile/ProfileFile.h"
#include "platform/os/shell/ByteSource.h"
#include "platform/os/shell/ShellLink.h"
#include "platform/os/shell/VersionResource.h"
#include "platform/os/state/StateFile.h"

IMPLEMENT_DYNAMIC(CToolDataBase, CObject)
IMPLEMENT_DYNAMIC(CToolDataUnit, CToolDataBase)

namespace {

const char* const kToolSection = "ToolUnitShortcut";
const char* const kShortcutSection = "InternetShortcut";
const char* const kDescriptionSection = "Tessaly";

// GetPrivateProfileString over bytes in memory: the value, or the default less trailing
// blanks, cut to size - 1 characters.
CString ProfileString(std::string_view text, const char* section, const char* key, const char* def,
                      int size) {
  CString value;
  if (!zel_profile::ReadEntryIn(text, section, key, value)) {
    value = def ? def : "";
    value.TrimRight(" \t");
  }
  if (value.GetLength() > size - 1) value = value.Left(size - 1);
  return value;
}

// GetPrivateProfileInt over bytes in memory.
int ProfileInt(std::string_view text, const char* section, const char* key, int def) {
  CString value;
  if (!zel_profile::ReadEntryIn(text, section, key, value)) return def;
  return std::atoi(value);
}

// A shell-link text as the link service hands it out, into a buffer of 255 characters.
CString Cut254(const CString& s) { return s.GetLength() > 254 ? s.Left(254) : s; }

// The position where a path's file name starts (after the last '/' or '\').
int NameStart(const CString& path) {
  int slash = std::max(path.ReverseFind('/'), path.ReverseFind('\\'));
  return slash + 1;
}

}  // namespace

CString CToolDataUnit::GetExtension(const char* path) {
  CString p = path ? path : "";
  int dot = p.ReverseFind('.');
  if (dot < NameStart(p)) return CString();
  return p.Mid(dot);
}

CString CToolDataUnit::GenerateOutputFileName(const char* path, int n) {
  CString p = path ? path : "";
  CString ext = GetExtension(p);
  CString out = p.Left(p.GetLength() - ext.GetLength());
  if (n > 0) out.AppendFormat("%d", n);
  return out + ".tq";
}

bool CToolDataUnit::Read(const char* path) {
  ZelFileSource file;
  std::string text;
  const std::string* profile = nullptr;
  if (!file.Open(path) && file.ReadAll(text, kMaxProfileBytes)) profile = &text;
  if (file.IsOpen()) {
    if (ReadTQ(path, profile)) {
      m_producedType = tq;
      return true;
    }
    if (ReadURL(profile)) {
      m_producedType = url;
      return true;
    }
    if (ReadLNK(file)) {
      m_producedType = lnk;
      return true;
    }
    if (ReadEXE(path, file)) {
      m_producedType = exe;
      return true;
    }
  }
  m_description.Empty();
  m_command.Empty();
  m_target = path ? path : "";
  m_inputType = 0;
  m_producedType = none;
  return false;
}

bool CToolDataUnit::ReadFromTQFile(const char* path) {
  ZelFileSource file;
  std::string text;
  return !file.Open(path) && file.ReadAll(text, kMaxProfileBytes) && ReadTQ(path, &text);
}

bool CToolDataUnit::ReadFromURLFile(const char* path) {
  ZelFileSource file;
  std::string text;
  return !file.Open(path) && file.ReadAll(text, kMaxProfileBytes) && ReadURL(&text);
}

bool CToolDataUnit::ReadFromLNKFile(const char* path) {
  ZelFileSource file;
  return !file.Open(path) && ReadLNK(file);
}

bool CToolDataUnit::ReadFromEXEFile(const char* path) {
  ZelFileSource file;
  return !file.Open(path) && ReadEXE(path, file);
}

bool CToolDataUnit::ReadTQ(const char* path, const std::string* text) {
  if (!text || GetExtension(path).MakeLower() != ".tq") return false;
  int inputType = ProfileInt(*text, kToolSection, "InputType", -1);
  CString target = ProfileString(*text, kToolSection, "Target", "", 260);
  if (inputType == -1 || target.IsEmpty()) return false;
  m_inputType = inputType;
  m_target = target;
  m_description = ProfileString(*text, kToolSection, "Description", "", 260);
  m_command = ProfileString(*text, kToolSection, "Command", "", 260);
  m_command.Trim();
  return true;
}

bool CToolDataUnit::ReadURL(const std::string* text) {
  if (!text) return false;
  CString url;
  if (!zel_profile::ReadEntryIn(*text, kShortcutSection, "URL", url) || url.IsEmpty()) return false;
  m_target = url;
  m_description = ProfileString(*text, kDescriptionSection, "Description", url, 255);
  m_command.Empty();
  m_inputType = 0;
  return true;
}

bool CToolDataUnit::ReadLNK(const ZelByteSource& file) {
  ZelShellLink link;
  if (!ZelReadShellLink(file, link)) return false;
  m_description = Cut254(link.description);
  m_target = Cut254(link.Path());
  m_command = Cut254(link.arguments);
  m_inputType = 0;
  return true;
}

bool CToolDataUnit::ReadEXE(const char* path, const ZelByteSource& file) {
  std::string resource;
  CString product;
  if (!ZelReadVersionResource(file, resource) ||
      !ZelVersionProductName(resource, ZelUserDefaultLangID(), product))
    return false;
  m_description = product;
  m_target = path;
  m_command.Empty();
  m_inputType = 0;
  return true;
}

CToolDataUnit CToolDataUnit::FieldsOf(const CToolDataBase& tool) {
  CToolDataUnit unit;
  unit.m_inputType = tool.m_inputType;
  unit.m_target = tool.m_target;
  unit.m_description = tool.m_description;
  unit.m_command = tool.m_command;
  return unit;
}

bool CToolDataUnit::Write(const char* path) { return WriteToTQFile(path); }

bool CToolDataUnit::WriteToTQFile(const char* path) { return !WriteToolFile(path); }

std::error_code CToolDataUnit::WriteToolFile(const char* path) const {
  CString out = GenerateOutputFileName(path, 0);
  // The old file's other sections and keys stay. It is read only when it is a regular
  // file of its own: a link or a pipe planted in its place in a shared folder is refused,
  // so its text is never copied from, or written into, a file of someone else's.
  std::string bytes;
  ZelFileSource old;
  std::error_code err = old.Open(out, ZelFileSource::kNoFollow);
  if (!err && !old.ReadAll(bytes, kMaxProfileBytes))
    return std::make_error_code(std::errc::file_too_large);
  if (err && err != std::errc::no_such_file_or_directory) return err;
  CString inputType;
  inputType.Format("%d", m_inputType);
  if (!zel_profile::WriteEntryIn(bytes, kToolSection, "InputType", inputType) ||
      !zel_profile::WriteEntryIn(bytes, kToolSection, "Target", m_target) ||
      !zel_profile::WriteEntryIn(bytes, kToolSection, "Description", m_description) ||
      !zel_profile::WriteEntryIn(bytes, kToolSection, "Command", m_command))
    return std::make_error_code(std::errc::invalid_argument);  // a line break in a value
  // Whole or not at all: a failure on the way (a full disk) leaves the old file, or none.
  return zel_state::ReplaceFile(out, bytes);
}

CString GetScriptTitle(CString& name, int* kind) {
  if (name.IsEmpty()) return CString();
  if (name.GetLength() >= 4 && name.Left(3) == "~.." && (name[3] == '\\' || name[3] == '/')) {
    if (kind) *kind = 1;
    return name.Mid(4);
  }
  if (name[0] == '~') {
    if (kind) *kind = 2;
    return name.Mid(1);
  }
  if (kind) *kind = 0;
  return name;
}
