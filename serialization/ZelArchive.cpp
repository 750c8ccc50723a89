// CZelArchive, the class registry, and the registrations of the platform collections.
#include "serialization/ZelArchive.h"

#include <memory>

#include "files/ZelBinaryFile.h"
#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"
#include "files/ZelTextFile.h"
#include "platform/base/collections/Collections.h"
#include "serialization/SyntaxTree.h"

IMPLEMENT_DYNAMIC(CZelArchive, CObject)

// ---- registry ----

ZEL_RTTI_LINK* ZEL_RTTI_LINK::proot = nullptr;

ZEL_RTTI_LINK::ZEL_RTTI_LINK(const char* name_, const CRuntimeClass* cls_, ZelSerializeFn fn)
    : next(proot), name(name_), cls(cls_), serialize(fn) {
  proot = this;
}

int ZEL_RTTI_LINK::Find(const char* name, const CRuntimeClass*& cls, ZelSerializeFn& serialize) {
  if (!name) return 0;
  for (const ZEL_RTTI_LINK* link = proot; link; link = link->next) {
    if (ZelStrCmpNoCase(link->name, name) == 0) {
      cls = link->cls;
      serialize = link->serialize;
      return 1;
    }
  }
  return 0;
}

int ZEL_RTTI_LINK::Find(const CRuntimeClass* cls, ZelSerializeFn& serialize, CString& name) {
  for (const ZEL_RTTI_LINK* link = proot; link; link = link->next) {
    if (link->cls == cls) {
      serialize = link->serialize;
      name = link->name;
      return 1;
    }
  }
  return 0;
}

// ---- the platform collections ----

namespace {

void SerializeStringList(void* object, CZelArchive& ar) {
  auto* list = static_cast<CStringList*>(static_cast<CObject*>(object));
  if (ar.IsStoring()) {
    for (POSITION p = list->GetHeadPosition(); p;) ar(list->GetNext(p));
  } else {
    while (!ar.AtEnd()) {
      CString s;
      ar(s);
      list->AddTail(s);
    }
  }
}

void SerializeObList(void* object, CZelArchive& ar) {
  auto* list = static_cast<CObList*>(static_cast<CObject*>(object));
  if (ar.IsStoring()) {
    for (POSITION p = list->GetHeadPosition(); p;) ar(list->GetNext(p));
  } else {
    while (!ar.AtEnd()) {
      CObject* element = nullptr;
      ar(element);
      list->AddTail(element);
    }
  }
}

void SerializeObArray(void* object, CZelArchive& ar) {
  auto* array = static_cast<CObArray*>(static_cast<CObject*>(object));
  if (ar.IsStoring()) {
    for (INT_PTR i = 0; i < array->GetSize(); ++i) ar(array->ElementAt(i));
  } else {
    while (!ar.AtEnd()) {
      CObject* element = nullptr;
      ar(element);
      array->Add(element);
    }
  }
}

void SerializeWordArray(void* object, CZelArchive& ar) {
  auto* array = static_cast<CWordArray*>(static_cast<CObject*>(object));
  if (ar.IsStoring()) {
    for (INT_PTR i = 0; i < array->GetSize(); ++i) {
      unsigned short v = array->GetAt(i);
      ar(v);
    }
  } else {
    while (!ar.AtEnd()) {
      unsigned short v = 0;
      ar(v);
      array->Add(v);
    }
  }
}

void SerializeDWordArray(void* object, CZelArchive& ar) {
  auto* array = static_cast<CDWordArray*>(static_cast<CObject*>(object));
  if (ar.IsStoring()) {
    for (INT_PTR i = 0; i < array->GetSize(); ++i) {
      unsigned long v = array->GetAt(i);
      ar(v);
    }
  } else {
    while (!ar.AtEnd()) {
      unsigned long v = 0;
      ar(v);
      array->Add(static_cast<DWORD>(v));
    }
  }
}

void SerializeMapStringToOb(void* object, CZelArchive& ar) {
  auto* map = static_cast<CMapStringToOb*>(static_cast<CObject*>(object));
  if (ar.IsStoring()) {
    for (POSITION p = map->GetStartPosition(); p;) {
      CString key;
      CObject* value = nullptr;
      map->GetNextAssoc(p, key, value);
      ar(key)(value);
    }
  } else {
    while (!ar.AtEnd()) {
      CString key;
      CObject* value = nullptr;
      ar(key)(value);
      map->SetAt(key, value);
    }
  }
}

ZEL_RTTI_LINK g_stringListLink("CStringList", RUNTIME_CLASS(CStringList), &SerializeStringList);
ZEL_RTTI_LINK g_obListLink("CObList", RUNTIME_CLASS(CObList), &SerializeObList);
ZEL_RTTI_LINK g_obArrayLink("CObArray", RUNTIME_CLASS(CObArray), &SerializeObArray);
ZEL_RTTI_LINK g_wordArrayLink("CWordArray", RUNTIME_CLASS(CWordArray), &SerializeWordArray);
ZEL_RTTI_LINK g_dwordArrayLink("CDWordArray", RUNTIME_CLASS(CDWordArray), &SerializeDWordArray);
ZEL_RTTI_LINK g_mapLink("CMapStringToOb", RUNTIME_CLASS(CMapStringToOb), &SerializeMapStringToOb);

// The path specifications register in their own file; naming their links here keeps
// that file in every program that archives, even when linked from the static library.
[[gnu::used]] ZEL_RTTI_LINK* const g_pathSpecLinks[] = {&CZelDirSpec::_zel_rtti_link,
                                                        &CZelFileSpec::_zel_rtti_link};

}  // namespace

// ---- the archive ----

CZelArchive::CZelArchive(CZelTextFile* file, unsigned int mode, const char* prefix, int width)
    : m_textFile(file), m_loading(mode == load ? 1 : 0), m_prefix(prefix), m_width(width) {
  Open();
}

CZelArchive::CZelArchive(CZelBinaryFile* file, unsigned int mode)
    : m_binaryFile(file), m_loading(mode == load ? 1 : 0) {
  Open();
}

CZelArchive::~CZelArchive() {
  if (std::uncaught_exceptions() > m_uncaught) {
    // An exception ended the exchange: the file gets nothing.
    delete m_tree;
    m_tree = nullptr;
    return;
  }
  try {
    Close();
  } catch (CException&) {
  }
}

void CZelArchive::Open() {
  delete m_tree;
  m_tree = new CSyntaxTree;
  try {
    if (m_loading) {
      if (m_textFile)
        m_tree->Serialize(m_textFile, 1, m_prefix, m_width);
      else
        m_tree->Serialize(m_binaryFile, 1);
    }
    m_tree->StartExchange(m_loading);
    // What is stored is printed as it comes and freed: a large archive is never held
    // whole, and its text still waits for Close.
    if (!m_loading && m_textFile) m_tree->PrintWhileFilling(m_textFile, m_prefix, m_width);
    if (!m_loading && m_textFile && m_textFile->GetLineCnt() >= 0)
      m_tree->DisplayProgressStatus(50);
  } catch (...) {
    delete m_tree;
    m_tree = nullptr;
    throw;
  }
}

void CZelArchive::Close() {
  if (!m_tree) return;
  std::unique_ptr<CSyntaxTree> tree(m_tree);
  m_tree = nullptr;
  CZelTextFile* textFile = m_textFile;
  CZelBinaryFile* binaryFile = m_binaryFile;
  m_textFile = nullptr;
  m_binaryFile = nullptr;
  tree->EndExchange();
  if (!m_loading) {
    if (textFile)
      tree->Serialize(textFile, 0, m_prefix, m_width);
    else
      tree->Serialize(binaryFile, 0);
  }
}

CSyntaxTree& CZelArchive::Tree() {
  if (!m_tree) CSyntaxTree::ThrowGenericException();
  return *m_tree;
}

// ---- walking ----

int CZelArchive::AtEnd() { return m_loading ? Tree().AtEnd() : 0; }

int CZelArchive::At(ObjectType type) {
  if (!m_loading) return type != otEnd;
  CSyntaxTree& tree = Tree();
  if (tree.AtEnd()) return type == otEnd;
  const CRuntimeClass* cls = tree.PeekNextNodeType();
  ObjectType found = otEnd;
  if (cls->IsDerivedFrom(RUNTIME_CLASS(CSynNum)))
    found = otNumber;
  else if (cls->IsDerivedFrom(RUNTIME_CLASS(CSynTag)))
    found = otTag;
  else if (cls->IsDerivedFrom(RUNTIME_CLASS(CSynStr)))
    found = otString;
  else if (cls->IsDerivedFrom(RUNTIME_CLASS(CSynList)) ||
           cls->IsDerivedFrom(RUNTIME_CLASS(CSynRef)))
    found = otObject;
  return found == type;
}

void CZelArchive::SkipObject(ObjectType type) {
  if (!m_loading) CSyntaxTree::ThrowException(CArchiveException::writeOnly);
  if (!At(type)) CSyntaxTree::ThrowBadClassException();
  Tree().SkipNextNode();
}

void CZelArchive::OpenArray(const char* tag) {
  Tree().OpenList();
  if (tag) Tree().ExchangeFixedTag(tag);
}

void CZelArchive::CloseArray() { Tree().LeaveList(); }

void CZelArchive::WriteCommentLine(const char* text) {
  if (!m_loading) Tree().AddCommentLine(text);
}

// ---- values ----

CZelArchive& CZelArchive::operator()(char& v) {
  Tree().Exchange(v);
  return *this;
}
CZelArchive& CZelArchive::operator()(short& v) {
  Tree().Exchange(v);
  return *this;
}
CZelArchive& CZelArchive::operator()(int& v) {
  Tree().Exchange(v);
  return *this;
}
CZelArchive& CZelArchive::operator()(long& v) {
  Tree().Exchange(v);
  return *this;
}
CZelArchive& CZelArchive::operator()(unsigned char& v) {
  Tree().Exchange(v);
  return *this;
}
CZelArchive& CZelArchive::operator()(unsigned short& v) {
  Tree().Exchange(v);
  return *this;
}
CZelArchive& CZelArchive::operator()(unsigned int& v) {
  Tree().Exchange(v);
  return *this;
}
CZelArchive& CZelArchive::operator()(unsigned long& v) {
  Tree().Exchange(v);
  return *this;
}
CZelArchive& CZelArchive::operator()(float& v) {
  Tree().Exchange(v);
  return *this;
}
CZelArchive& CZelArchive::operator()(double& v) {
  Tree().Exchange(v);
  return *this;
}
CZelArchive& CZelArchive::operator()(CString& v) {
  Tree().Exchange(v);
  return *this;
}

namespace {
// Record members travel as `long`; the fields themselves are 32-bit.
void ExchangeLongs(CSyntaxTree& tree, const char* tag, std::initializer_list<LONG*> fields) {
  tree.OpenList();
  tree.ExchangeFixedTag(tag);
  for (LONG* field : fields) {
    long v = *field;
    tree.Exchange(v);
    *field = static_cast<LONG>(v);
  }
  tree.LeaveList();
}
}  // namespace

CZelArchive& CZelArchive::operator()(RECT& v) {
  ExchangeLongs(Tree(), "RECT", {&v.left, &v.top, &v.right, &v.bottom});
  return *this;
}

CZelArchive& CZelArchive::operator()(POINT& v) {
  ExchangeLongs(Tree(), "POINT", {&v.x, &v.y});
  return *this;
}

CZelArchive& CZelArchive::operator()(SIZE& v) {
  ExchangeLongs(Tree(), "SIZE", {&v.cx, &v.cy});
  return *this;
}

CZelArchive& CZelArchive::operator()(CObject*& object) {
  Tree().ExchangePointer(object, *this, 1);
  return *this;
}

// ---- objects ----

void CZelArchive::SerializePointer(CObject** pointer, const CRuntimeClass* required, int shared) {
  if (m_loading) {
    *pointer = ReadObject(required);
    return;
  }
  if (*pointer && required && !(*pointer)->IsKindOf(required))
    CSyntaxTree::ThrowWrongClassException((*pointer)->GetRuntimeClass(), required);
  WriteObject(*pointer, shared);
}

CObject* CZelArchive::ReadObject(const CRuntimeClass* required) {
  return Tree().LoadPointer(required, *this);
}

void CZelArchive::WriteObject(const CObject* object, int shared) {
  Tree().StorePointer(object, *this, shared);
}

void CZelArchive::SerializeMember(void* object, ZelSerializeFn serialize, const char* tag) {
  CSyntaxTree& tree = Tree();
  tree.OpenList();
  tree.ExchangeFixedTag(tag);
  serialize(object, *this);
  tree.LeaveList();
}

void CZelArchive::SerializeMember(const CRuntimeClass* cls, CObject* object) {
  if (!object || !object->IsKindOf(cls)) CSyntaxTree::ThrowBadClassException();
  ZelSerializeFn serialize = nullptr;
  CString name;
  if (!ZEL_RTTI_LINK::Find(cls, serialize, name)) CSyntaxTree::ThrowUnregisteredClassException(cls);
  SerializeMember(static_cast<void*>(object), serialize, name);
}

void CZelArchive::SerializeMember(CObject* object) {
  if (!object) CSyntaxTree::ThrowBadClassException();
  SerializeMember(object->GetRuntimeClass(), object);
}
