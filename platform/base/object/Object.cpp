// CObject and the process-wide table of run-time classes.
#include "platform/base/object/Object.h"

#include <cstring>
#include <vector>

namespace {
// Built on first use: registrations run during static initialisation of other files.
std::vector<const CRuntimeClass*>& Classes() {
  static std::vector<const CRuntimeClass*> classes;
  return classes;
}
}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const {
  return GetRuntimeClass()->IsDerivedFrom(cls);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

void CObject::Serialize(CArchive&) {}

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
    if (c == base) return TRUE;
  return FALSE;
}

void CRuntimeClass::Register(const CRuntimeClass* cls) { Classes().push_back(cls); }

const CRuntimeClass* CRuntimeClass::FromName(const char* className) {
  if (!className) return nullptr;
  if (std::strcmp(className, "CObject") == 0) return &CObject::classCObject;
  for (const CRuntimeClass* c : Classes())
    if (std::strcmp(c->m_lpszClassName, className) == 0) return c;
  return nullptr;
}
