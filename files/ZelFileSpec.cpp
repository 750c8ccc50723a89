// CZelFileSpec: file values, names derived from them, existence and times, removal and
// folder listings.
#include "files/ZelFileSpec.h"

#include "files/FileTypesTable.h"
#include "platform/os/fs/FileSystem.h"
#include "platform/user/ui/UiBackend.h"

IMPLEMENT_SERIAL(CZelFileSpec, CObject, 1)

namespace {
const char* ExtensionOf(int type) { return _FileTypesTable.FindFileTypeEntry(type)->extension; }
}  // namespace

CZelFileSpec::CZelFileSpec() { ClearSpec(); }

CZelFileSpec::CZelFileSpec(const CZelFileSpec& other) : CObject() {
  ClearSpec();
  SetSpec(other);
}

CZelFileSpec::CZelFileSpec(const CZelDirSpec& dir, const char* name, int type) {
  ClearSpec();
  SetSpec(dir, name, type);
}

CZelFileSpec::CZelFileSpec(const char* path, int type) {
  ClearSpec();
  SetSpec(path, type);
}

CZelFileSpec& CZelFileSpec::operator=(const CZelFileSpec& other) {
  SetSpec(other);
  return *this;
}

void CZelFileSpec::SetSpec(const CZelDirSpec& dir, const char* name, int type) {
  if (!dir.IsSpecSet() || !name) return;
  m_path = zel_fs::JoinPath(dir.GetPath(), name) + ExtensionOf(type);
  m_type = type;
  m_isSet = 1;
}

void CZelFileSpec::SetSpec(const CZelDirSpec& dir, const char* name, unsigned long, unsigned long) {
  if (!dir.IsSpecSet() || !name) return;
  m_path = zel_fs::JoinPath(dir.GetPath(), name);
  m_type = 0;
  m_isSet = 1;
}

void CZelFileSpec::SetSpec(const char* path, int type) {
  if (!path) return;
  m_path = path;
  m_type = type;
  m_isSet = 1;
}

void CZelFileSpec::SetSpec(const CZelFileSpec& other) {
  if (!other.m_isSet || &other == this) return;
  m_type = other.m_type;
  m_macType = other.m_macType;
  m_macCreator = other.m_macCreator;
  m_path = other.m_path;
  m_isSet = 1;
}

void CZelFileSpec::SetSpecWin(const char* path) {
  if (!path) return;
  m_path = path;
  m_type = 0;
  m_macType = m_macCreator = kUnsetMacCode;
  m_isSet = 1;
}

void CZelFileSpec::SetSpecMac(const char* path, unsigned long macType, unsigned long macCreator) {
  if (!path) return;
  m_path = path;
  m_macType = static_cast<uint32_t>(macType);
  m_macCreator = static_cast<uint32_t>(macCreator);
  m_type = 0;
  m_isSet = 1;
}

void CZelFileSpec::ReconstructSpec(const CZelDirSpec& dir, const char* fileName, int type) {
  m_path = zel_fs::JoinPath(dir.GetPath(), fileName);
  m_type = type;
  m_isSet = 1;
}

void CZelFileSpec::ReconstructSpec(const char* path, int type) {
  m_path = path;
  m_type = type;
  m_isSet = 1;
}

void CZelFileSpec::ClearSpec() {
  m_isSet = 0;
  m_path.Empty();
  m_type = 0;
  m_macType = m_macCreator = kUnsetMacCode;
}

// The display title is the file's name as the folder shows it; this desktop shows
// extensions, so the title keeps it.
CString CZelFileSpec::GetTitle() const {
  if (!m_isSet) return CString();
  int slash = m_path.ReverseFind(ZEL_PATH_SEP);
  return m_path.Mid(slash + 1).Left(255);
}

CString CZelFileSpec::GetFileName() const {
  CString full;
  if (m_isSet && zel_fs::FullPathName(m_path, full) && full.GetLength() < MAX_PATH) {
    CString name = full.Mid(full.ReverseFind(ZEL_PATH_SEP) + 1);
    if (!name.IsEmpty()) return name;
  }
  return GetTitle();
}

CString CZelFileSpec::GetName() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

CZelDirSpec CZelFileSpec::GetDirectory() const {
  CZelDirSpec dir;
  int slash = m_path.ReverseFind(ZEL_PATH_SEP);
  // A file directly under the root keeps the root as its folder.
  if (slash >= 0) dir.SetSpecWin(slash == 0 ? CString(ZEL_PATH_SEP_STR) : m_path.Left(slash));
  return dir;
}

int CZelFileSpec::FileExists() const {
  return m_isSet && zel_fs::KindOf(m_path) == ZelPathKind::File;
}

int CZelFileSpec::IsFolder() const { return m_isSet && IsFolder(m_path); }

int CZelFileSpec::IsFolder(const CString& path) {
  return zel_fs::KindOf(path) == ZelPathKind::Directory;
}

int CZelFileSpec::GetFileLastModificationTime(CTime& when) const {
  time_t t;
  if (!m_isSet || !zel_fs::LastWriteTime(m_path, t)) return 0;
  when = CTime(t);  // CTime keeps UTC seconds and shows them in local time
  return 1;
}

void CZelFileSpec::RemoveFile() const {
  if (!m_isSet) return;
  if (zel_fs::RemoveFile(m_path)) AfxMessageBox("Failed to remove file: " + GetTitle(), MB_OK);
}

namespace {

// Each folder is entered once per walk, so links to an ancestor, loops of links and
// folders linked twice cannot make the walk endless or repeat it.
void ListFolder(const CString& folder, CStringList& out, bool recursive,
                zel_fs::FolderWalkGuard& guard) {
  CString base = folder;
  base.Trim();
  if (base.IsEmpty() || base[base.GetLength() - 1] != ZEL_PATH_SEP) base += ZEL_PATH_SEP;
  zel_fs::ListDir(base, [&](const char* name, bool isDir) {
    if (!isDir)
      out.AddTail(base + name);
    else if (recursive && guard.Enter(base + name))
      ListFolder(base + name, out, recursive, guard);
  });
}

}  // namespace

void CZelFileSpec::GetAllFilesInFolder(const CString& folder, CStringList& out, int recursive) {
  if (!IsFolder(folder)) return;
  zel_fs::FolderWalkGuard guard;
  guard.Enter(folder);
  ListFolder(folder, out, recursive != 0, guard);
}

void CZelFileSpec::DeriveSpec(const CZelFileSpec& from, int type) {
  CString path = from.m_path;
  int dot = path.ReverseFind('.');
  if (dot >= 0) path = path.Left(dot);
  SetSpec(path + ExtensionOf(type), type);
}

CZelFileSpec ChangeFileType(const CZelFileSpec& spec, int type) {
  CZelFileSpec derived;
  derived.DeriveSpec(spec, type);
  return derived;
}

int operator==(const CZelFileSpec& a, const CZelFileSpec& b) {
  return a.IsSpecSet() && b.IsSpecSet() && a.GetType() == b.GetType() &&
         ZelStrCmpNoCase(a.GetPath(), b.GetPath()) == 0;
}

int operator!=(const CZelFileSpec& a, const CZelFileSpec& b) { return !(a == b); }
