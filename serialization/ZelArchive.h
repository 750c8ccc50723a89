/// \class CZelArchive
/// CZelArchive: the object archive over the structured text format, and ZEL_RTTI_LINK, the
/// process-wide class registry that gives the tag written for each class and the class
/// to create for each tag read.
///
/// A loading archive reads the whole file when it is constructed; a storing archive fills
/// a tree, printing and freeing each part as soon as its line breaks are settled, and
/// writes the text to the file in Close (or the destructor), so nothing reaches the file
/// when an exception ends the exchange. Faults raise CArchiveException (see
/// CSyntaxTree); the archive does not catch them. A class fault's GetErrorMessage names the
/// class and what it lacks (its ZEL_RTTI_LINK registration, or dynamic creation).
///
/// A persistent class takes part with one Serialize(CZelArchive&) for both directions:
///
///   class CThing : public CObject {
///     DECLARE_DYNCREATE(CThing)
///    public:
///     void Serialize(CZelArchive& ar);
///     static void _zel_serialize(CThing* object, CZelArchive& ar);
///     static ZEL_RTTI_LINK _zel_rtti_link;
///   };
///   ZEL_IMPLEMENT_SERIALIZE(CThing, "CThing")   // in the .cpp
#pragma once

#include <exception>

#include "ZelExport.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"
#include "platform/base/types/WinTypes.h"

class CZelArchive;
class CSyntaxTree;
class CZelTextFile;
class CZelBinaryFile;

using ZelSerializeFn = void (*)(void* object, CZelArchive& ar);

/// One registration; registrations form a chain, newest at the head, never removed.
struct ZEL_API ZEL_RTTI_LINK {
  ZEL_RTTI_LINK* next;
  const char* name;  ///< not copied: must live as long as the registration
  const CRuntimeClass* cls;
  ZelSerializeFn serialize;

  /// Links the new registration at the head of the chain.
  ZEL_RTTI_LINK(const char* name, const CRuntimeClass* cls, ZelSerializeFn serialize);
  ZEL_RTTI_LINK(const ZEL_RTTI_LINK&) = delete;
  ZEL_RTTI_LINK& operator=(const ZEL_RTTI_LINK& other) = default;

  /// The first registration whose name equals name without regard to ASCII case; 1 or 0.
  static int Find(const char* name, const CRuntimeClass*& cls, ZelSerializeFn& serialize);
  /// The first registration of exactly cls (base classes do not count); 1 or 0.
  static int Find(const CRuntimeClass* cls, ZelSerializeFn& serialize, CString& name);

  static ZEL_RTTI_LINK* proot;
};

/// Calls T's static serialize function with the object a registration is handed.
template <typename T, void (*Fn)(T*, CZelArchive&)>
void ZelSerializeThunk(void* object, CZelArchive& ar) {
  Fn(static_cast<T*>(static_cast<CObject*>(object)), ar);
}

/// Defines class_name::_zel_serialize (calling Serialize) and registers it under tag.
#define ZEL_IMPLEMENT_SERIALIZE(class_name, tag)                                                  \
  void class_name::_zel_serialize(class_name* object, CZelArchive& ar) { object->Serialize(ar); } \
  ZEL_RTTI_LINK class_name::_zel_rtti_link(                                                       \
      tag, RUNTIME_CLASS(class_name),                                                             \
      &ZelSerializeThunk<class_name, &class_name::_zel_serialize>);

class ZEL_API CZelArchive : public CObject {
  DECLARE_DYNAMIC(CZelArchive)
 public:
  enum ObjectType { otEnd = 0, otNumber = 1, otTag = 2, otString = 3, otObject = 4 };
  enum Mode : unsigned { store = 0, load = 1 };

  /// mode 1 loads (the whole file is read now), any other value stores. A null prefix
  /// means none; width is the line width of the printed file.
  CZelArchive(CZelTextFile* file, unsigned int mode, const char* prefix, int width);
  /// A binary file has no tree form: storing writes nothing, loading has nothing to read.
  CZelArchive(CZelBinaryFile* file, unsigned int mode);
  /// Closes; a storing archive destroyed while an exception unwinds writes nothing.
  ~CZelArchive() override;
  CZelArchive(const CZelArchive&) = delete;
  CZelArchive& operator=(const CZelArchive&) = delete;

  void Open();
  /// Ends the exchange and, when storing, prints the tree to the file. Nothing when closed.
  void Close();

  int IsLoading() const { return m_loading; }
  int IsStoring() const { return !m_loading; }
  CObject* GetUserData() const { return m_userData; }
  void SetUserData(CObject* data) { m_userData = data; }

  /// Walking.
  int AtEnd();
  int At(ObjectType type);
  void SkipObject(ObjectType type);
  void OpenArray(const char* tag);
  void CloseArray();
  void WriteCommentLine(const char* text);

  /// Values; each answers the archive so that calls chain.
  CZelArchive& operator()(char& v);
  CZelArchive& operator()(short& v);
  CZelArchive& operator()(int& v);
  CZelArchive& operator()(long& v);
  CZelArchive& operator()(unsigned char& v);
  CZelArchive& operator()(unsigned short& v);
  CZelArchive& operator()(unsigned int& v);
  CZelArchive& operator()(unsigned long& v);
  CZelArchive& operator()(float& v);
  CZelArchive& operator()(double& v);
  CZelArchive& operator()(CString& v);
  /// Records: (RECT l t r b), (POINT x y), (SIZE cx cy); CRect, CPoint and CSize bind here.
  CZelArchive& operator()(RECT& v);
  CZelArchive& operator()(POINT& v);
  CZelArchive& operator()(SIZE& v);
  /// A shared pointer: written once as `#n=(...)` and `#n#` afterwards; "Nil" for null.
  CZelArchive& operator()(CObject*& object);

  /// Objects.
  void SerializePointer(CObject** pointer, const CRuntimeClass* required, int shared);
  CObject* ReadObject(const CRuntimeClass* required);
  void WriteObject(const CObject* object, int shared);
  /// The object in place, as a list headed by tag, neither created nor shared.
  void SerializeMember(void* object, ZelSerializeFn serialize, const char* tag);
  void SerializeMember(const CRuntimeClass* cls, CObject* object);
  void SerializeMember(CObject* object);

 private:
  CSyntaxTree& Tree();

  CSyntaxTree* m_tree = nullptr;
  CZelTextFile* m_textFile = nullptr;
  CZelBinaryFile* m_binaryFile = nullptr;
  int m_loading = 0;
  CString m_prefix;
  int m_width = 0;
  CObject* m_userData = nullptr;
  int m_uncaught = std::uncaught_exceptions();
};
