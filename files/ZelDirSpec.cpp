// CZelDirSpec: directory values, their comparison and the few folder operations.
#include "files/ZelDirSpec.h"

#include "platform/os/fs/FileSystem.h"
#include "platform/user/ui/UiBackend.h"

IMPLEMENT_SERIAL(CZelDirSpec, CObject, 1)

CZelDirSpec::CZelDirSpec() { ClearSpec(); }

CZelDirSpec::CZelDirSpec(const CZelDirSpec& other) : CObject() {
  ClearSpec();
  SetSpec(other);
}

CZelDirSpec::CZelDirSpec(const CZelDirSpec& dir, const char* name) {
  ClearSpec();
  SetSpec(dir, name);
}

CZelDirSpec::CZelDirSpec(const char* path) {
  ClearSpec();
  SetSpecWin(path);
}

CZelDirSpec& CZelDirSpec::operator=(const CZelDirSpec& other) {
  SetSpec(other);
  return *this;
}

CZelDirSpec& CZelDirSpec::operator+=(const char* name) {
  ChDir(name);
  return *this;
}

void CZelDirSpec::SetSpecWin(const char* path) {
  m_path = path;
  // One trailing separator goes; the root "/" stays what it is, like a bare drive.
  int n = m_path.GetLength();
  if (n > 1 && m_path[n - 1] == ZEL_PATH_SEP) m_path.Delete(n - 1);
  m_macVolId = 0;
  m_macDirId = 0;
  m_isSet = 1;
}

void CZelDirSpec::SetSpecMac(short volId, long dirId, const char* path) {
  m_path = path;
  m_macVolId = volId;
  m_macDirId = static_cast<int32_t>(dirId);
  m_isSet = 1;
}

void CZelDirSpec::SetSpec(const CZelDirSpec& other) {
  if (!other.m_isSet || &other == this) return;
  m_path = other.m_path;
  m_macVolId = other.m_macVolId;
  m_macDirId = other.m_macDirId;
  m_isSet = 1;
}

void CZelDirSpec::SetSpec(const CZelDirSpec& other, const char* name) {
  SetSpec(other);
  ChDir(name);
}

void CZelDirSpec::ClearSpec() {
  m_isSet = 0;
  m_path.Empty();
  m_macVolId = 0;
  m_macDirId = 0;
}

void CZelDirSpec::ChDir(const char* name) {
  if (!m_isSet || !name) return;
  // An empty path stays relative: "name", as before.
  m_path = m_path.IsEmpty() ? CString(name) : zel_fs::JoinPath(m_path, name);
}

CString CZelDirSpec::GetTitle() const {
  if (!m_isSet) return CString();
  int n = m_path.GetLength();
  if (n == 0 || (n == 2 && m_path[1] == ':')) return m_path + ZEL_PATH_SEP;
  return m_path;
}

int CZelDirSpec::DirExists() const {
  return m_isSet && zel_fs::KindOf(m_path) == ZelPathKind::Directory;
}

int CZelDirSpec::SubdirExists(const char* name) const { return (*this + name).DirExists(); }

int CZelDirSpec::MakeSubdir(const char* name) const {
  if (!m_isSet || !name) return 0;
  if (SubdirExists(name)) return 1;
  return zel_fs::MakeDir(zel_fs::JoinPath(m_path, name)) ? 0 : 1;
}

int CZelDirSpec::RemoveSubdir(const char*) const {
  AfxMessageBox("CZelDirSpec::RemoveSubdir: NYI", MB_OK);
  return 0;
}

CZelDirSpec operator+(const CZelDirSpec& dir, const char* name) { return CZelDirSpec(dir, name); }

int operator==(const CZelDirSpec& a, const CZelDirSpec& b) {
  return a.IsSpecSet() && b.IsSpecSet() && ZelStrCmpNoCase(a.GetPath(), b.GetPath()) == 0;
}

int operator!=(const CZelDirSpec& a, const CZelDirSpec& b) { return !(a == b); }
