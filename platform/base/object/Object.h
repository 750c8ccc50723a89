/// \class CObject
/// CObject and CRuntimeClass: class names, base chains, dynamic creation and schema numbers.
#pragma once

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"

class CObject;
class CArchive;

/// A class's name, size, schema, base class and creator, as RUNTIME_CLASS gives it.
struct ZEL_API CRuntimeClass {
  const char* m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;  ///< 0xFFFF for classes without a schema (not serializable)
  CObject* (*m_pfnCreateObject)();
  const CRuntimeClass* m_pBaseClass;

  /// A new object of the class, or null when the class is not creatable.
  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* base) const;
  /// The registered class of that name (exact match), or null.
  static const CRuntimeClass* FromName(const char* className);
  /// Classes made with the IMPLEMENT_ macros register themselves here at start-up.
  static void Register(const CRuntimeClass* cls);
};

class ZEL_API CObject {
 public:
  static const CRuntimeClass classCObject;
  static const CRuntimeClass* GetThisClass() { return &classCObject; }
  virtual const CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;

  BOOL IsKindOf(const CRuntimeClass* cls) const;
  BOOL IsSerializable() const;
  /// The platform's binary serialization; the base stores and loads nothing.
  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const {}

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                         \
 public:                                                                    \
  static const CRuntimeClass class##class_name;                             \
  static const CRuntimeClass* GetThisClass() { return &class##class_name; } \
  const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define ZEL_IMPLEMENT_RUNTIMECLASS(class_name, base_name, schema, create)                        \
  const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), schema,  \
                                                       create, RUNTIME_CLASS(base_name)};        \
  const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); } \
  static const bool zel_registered_##class_name =                                                \
      (CRuntimeClass::Register(RUNTIME_CLASS(class_name)), true);

#define IMPLEMENT_DYNAMIC(class_name, base_name) \
  ZEL_IMPLEMENT_RUNTIMECLASS(class_name, base_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)               \
  CObject* class_name::CreateObject() { return new class_name; } \
  ZEL_IMPLEMENT_RUNTIMECLASS(class_name, base_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_name, schema)          \
  CObject* class_name::CreateObject() { return new class_name; } \
  ZEL_IMPLEMENT_RUNTIMECLASS(class_name, base_name, schema, class_name::CreateObject)
