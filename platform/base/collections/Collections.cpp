// Run-time classes of the collections, their binary serialization and the map.
#include "platform/base/collections/Collections.h"

#include "platform/base/archive/Archive.h"

IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)

// Lists append what they load to what they hold, as the class library does.
void CObList::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(GetCount()));
    for (POSITION p = GetHeadPosition(); p;) ar << GetNext(p);
  } else {
    for (DWORD n = ar.ReadCount(); n > 0; --n) AddTail(ar.ReadObject(nullptr));
  }
}

void CStringList::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(GetCount()));
    for (POSITION p = GetHeadPosition(); p;) ar << GetNext(p);
  } else {
    for (DWORD n = ar.ReadCount(); n > 0; --n) {
      CString s;
      ar >> s;
      AddTail(s);
    }
  }
}

void CObArray::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(GetSize()));
    for (CObject* o : m_data) ar << o;
  } else {
    SetSize(ar.ReadCount());
    for (CObject*& o : m_data) o = ar.ReadObject(nullptr);
  }
}

void CStringArray::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(GetSize()));
    for (const CString& s : m_data) ar << s;
  } else {
    SetSize(ar.ReadCount());
    for (CString& s : m_data) ar >> s;
  }
}

void CWordArray::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(GetSize()));
    for (WORD w : m_data) ar << w;
  } else {
    SetSize(ar.ReadCount());
    for (WORD& w : m_data) ar >> w;
  }
}

void CDWordArray::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(GetSize()));
    for (DWORD d : m_data) ar << d;
  } else {
    SetSize(ar.ReadCount());
    for (DWORD& d : m_data) ar >> d;
  }
}

BOOL CMapStringToOb::Lookup(const char* key, CObject*& value) const {
  auto it = m_index.find(key ? key : "");
  if (it == m_index.end()) return FALSE;
  value = m_order.GetAt(it->second)->value;
  return TRUE;
}

CObject*& CMapStringToOb::operator[](const char* key) {
  std::string k = key ? key : "";
  auto it = m_index.find(k);
  if (it == m_index.end()) {
    POSITION p = m_order.AddTail(new Assoc{CString(k), nullptr});
    it = m_index.emplace(std::move(k), p).first;
  }
  return m_order.GetAt(it->second)->value;
}

BOOL CMapStringToOb::RemoveKey(const char* key) {
  auto it = m_index.find(key ? key : "");
  if (it == m_index.end()) return FALSE;
  delete m_order.GetAt(it->second);
  m_order.RemoveAt(it->second);
  m_index.erase(it);
  return TRUE;
}

void CMapStringToOb::RemoveAll() {
  for (POSITION p = m_order.GetHeadPosition(); p;) delete m_order.GetNext(p);
  m_order.RemoveAll();
  m_index.clear();
}

void CMapStringToOb::GetNextAssoc(POSITION& pos, CString& key, CObject*& value) const {
  const Assoc* a = m_order.GetNext(pos);
  key = a->key;
  value = a->value;
}

void CMapStringToOb::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(GetCount()));
    for (POSITION p = GetStartPosition(); p;) {
      CString key;
      CObject* value;
      GetNextAssoc(p, key, value);
      ar << key << value;
    }
  } else {
    for (DWORD n = ar.ReadCount(); n > 0; --n) {
      CString key;
      ar >> key;
      SetAt(key, ar.ReadObject(nullptr));
    }
  }
}
