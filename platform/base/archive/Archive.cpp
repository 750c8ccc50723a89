// CArchive: buffered binary storing, object references and class records.
#include "platform/base/archive/Archive.h"

#include <cstring>
#include <memory>

namespace {
constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kBigClassTag = 0x80000000;
constexpr size_t kFlushAt = 64 * 1024;
}  // namespace

CArchive::CArchive(CFile* file, UINT mode) : m_file(file), m_mode(mode & load) {
  m_loadMap.push_back({nullptr, nullptr});  // index 0 is the null object
}

CArchive::~CArchive() {
  // A destructor may run while an exception unwinds: store what we can, raise nothing.
  try {
    Flush();
  } catch (const CException&) {
  }
}

void CArchive::Throw(int cause, const char* description) const {
  throw CArchiveException(cause, m_file ? m_file->GetFilePath().GetString() : nullptr, description);
}

void CArchive::RequireMode(UINT mode) const {
  if (m_mode != mode)
    Throw(mode == store ? CArchiveException::readOnly : CArchiveException::writeOnly);
}

void CArchive::Flush() {
  if (m_mode == store && !m_out.empty() && m_file) {
    std::string out;
    out.swap(m_out);
    m_file->Write(out.data(), static_cast<UINT>(out.size()));
  }
}

void CArchive::Close() {
  Flush();
  m_file = nullptr;
}

UINT CArchive::Read(void* buffer, UINT count) {
  RequireMode(load);
  return m_file ? m_file->Read(buffer, count) : 0;
}

void CArchive::Write(const void* buffer, UINT count) {
  RequireMode(store);
  m_out.append(static_cast<const char*>(buffer), count);
  if (m_out.size() >= kFlushAt) Flush();
}

CArchive& CArchive::operator>>(bool& v) {
  BYTE b;
  Get(b);
  v = b != 0;
  return *this;
}

CArchive& CArchive::operator<<(const CString& s) {
  DWORD n = static_cast<DWORD>(s.GetLength());
  if (n < 0xFF) {
    Put(static_cast<BYTE>(n));
  } else {
    Put(static_cast<BYTE>(0xFF));
    if (n < 0xFFFE) {
      Put(static_cast<WORD>(n));
    } else {
      Put(static_cast<WORD>(0xFFFF));
      Put(n);
    }
  }
  Write(s.GetString(), n);
  return *this;
}

CArchive& CArchive::operator>>(CString& s) {
  BYTE b;
  Get(b);
  DWORD n = b;
  if (b == 0xFF) {
    WORD w;
    Get(w);
    n = w;
    if (w == 0xFFFF) Get(n);
  }
  std::string text(n, '\0');
  if (Read(text.data(), n) != n) Throw(CArchiveException::endOfFile);
  s = CString(std::move(text));
  return *this;
}

void CArchive::WriteCount(DWORD count) {
  if (count < 0xFFFF) {
    Put(static_cast<WORD>(count));
  } else {
    Put(static_cast<WORD>(0xFFFF));
    Put(count);
  }
}

DWORD CArchive::ReadCount() {
  WORD w;
  Get(w);
  if (w != 0xFFFF) return w;
  DWORD d;
  Get(d);
  return d;
}

void CArchive::WriteObject(const CObject* object) {
  RequireMode(store);
  if (!object) {
    Put(kNullTag);
    return;
  }
  if (auto it = m_storeMap.find(object); it != m_storeMap.end()) {
    if (it->second < kBigObjectTag) {
      Put(static_cast<WORD>(it->second));
    } else {
      Put(kBigObjectTag);
      Put(it->second);
    }
    return;
  }
  const CRuntimeClass* cls = object->GetRuntimeClass();
  if (cls->m_wSchema == 0xFFFF)
    Throw(CArchiveException::badClass,
          (std::string("class ") + cls->m_lpszClassName +
           " cannot be stored: it needs DECLARE_SERIAL and IMPLEMENT_SERIAL")
              .c_str());
  DWORD next = static_cast<DWORD>(m_storeMap.size() + 1);
  if (auto it = m_storeMap.find(cls); it != m_storeMap.end()) {
    if (it->second < kBigObjectTag) {
      Put(static_cast<WORD>(kClassTag | it->second));
    } else {
      Put(kBigObjectTag);
      Put(kBigClassTag | it->second);
    }
  } else {
    Put(kNewClassTag);
    Put(static_cast<WORD>(cls->m_wSchema));
    WORD len = static_cast<WORD>(std::strlen(cls->m_lpszClassName));
    Put(len);
    Write(cls->m_lpszClassName, len);
    m_storeMap.emplace(cls, next++);
  }
  m_storeMap.emplace(object, next);
  const_cast<CObject*>(object)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* expected) {
  RequireMode(load);
  WORD tag;
  Get(tag);
  const CRuntimeClass* cls = nullptr;
  if (tag == kNewClassTag) {
    WORD schema, len;
    Get(schema);
    Get(len);
    std::string name(len, '\0');
    if (Read(name.data(), len) != len) Throw(CArchiveException::endOfFile);
    cls = CRuntimeClass::FromName(name.c_str());
    if (!cls)
      Throw(CArchiveException::badClass,
            ("unknown class \"" + name + "\": it needs IMPLEMENT_SERIAL in this program").c_str());
    if (cls->m_wSchema != schema) Throw(CArchiveException::badSchema);
    m_loadMap.push_back({nullptr, cls});
  } else {
    DWORD objTag = tag;
    if (tag == kBigObjectTag) {
      Get(objTag);
    } else if (tag & kClassTag) {
      objTag = kBigClassTag | (tag & ~kClassTag);
    }
    DWORD index = objTag & ~kBigClassTag;
    if (index >= m_loadMap.size()) Throw(CArchiveException::badIndex);
    const Loaded& entry = m_loadMap[index];
    if (!(objTag & kBigClassTag)) {
      if (index != 0 && !entry.object) Throw(CArchiveException::badIndex);
      if (entry.object && expected && !entry.object->IsKindOf(expected))
        Throw(CArchiveException::badClass);
      return entry.object;
    }
    if (!entry.cls || entry.object) Throw(CArchiveException::badIndex);
    cls = entry.cls;
  }
  if (expected && !cls->IsDerivedFrom(expected)) Throw(CArchiveException::badClass);
  std::unique_ptr<CObject> object(cls->CreateObject());
  if (!object) Throw(CArchiveException::badClass);
  m_loadMap.push_back({object.get(), cls});  // registered first: inner references resolve
  object->Serialize(*this);
  return object.release();
}
