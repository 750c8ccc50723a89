/// \file
/// The class library's collections: node lists addressed by POSITION, growable arrays,
/// and the string-keyed object map. A POSITION stays valid while other elements come
/// and go; it is null past either end.
#pragma once

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "ZelExport.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"

/// What a POSITION points to; nothing is ever read through it.
struct __POSITION {};
using POSITION = __POSITION*;

namespace zel_detail {

/// A doubly linked list whose positions stay valid while other elements come and go.
template <typename T>
class NodeList {
 public:
  NodeList() = default;
  NodeList(const NodeList&) = delete;
  NodeList& operator=(const NodeList&) = delete;
  ~NodeList() { RemoveAll(); }

  INT_PTR GetCount() const { return m_count; }
  INT_PTR GetSize() const { return m_count; }
  BOOL IsEmpty() const { return m_count == 0; }

  T& GetHead() { return m_head->value; }
  const T& GetHead() const { return m_head->value; }
  T& GetTail() { return m_tail->value; }
  const T& GetTail() const { return m_tail->value; }

  POSITION GetHeadPosition() const { return Pos(m_head); }
  POSITION GetTailPosition() const { return Pos(m_tail); }
  T& GetNext(POSITION& pos) {
    Node* n = NodeOf(pos);
    pos = Pos(n->next);
    return n->value;
  }
  const T& GetNext(POSITION& pos) const {
    Node* n = NodeOf(pos);
    pos = Pos(n->next);
    return n->value;
  }
  T& GetPrev(POSITION& pos) {
    Node* n = NodeOf(pos);
    pos = Pos(n->prev);
    return n->value;
  }
  const T& GetPrev(POSITION& pos) const {
    Node* n = NodeOf(pos);
    pos = Pos(n->prev);
    return n->value;
  }
  T& GetAt(POSITION pos) { return NodeOf(pos)->value; }
  const T& GetAt(POSITION pos) const { return NodeOf(pos)->value; }
  void SetAt(POSITION pos, const T& value) { NodeOf(pos)->value = value; }

  POSITION AddHead(const T& value) { return InsertBefore(GetHeadPosition(), value); }
  POSITION AddTail(const T& value) { return InsertAfter(GetTailPosition(), value); }
  void AddHead(const NodeList* other) {
    for (POSITION p = other->GetTailPosition(); p;) AddHead(other->GetPrev(p));
  }
  void AddTail(const NodeList* other) {
    for (POSITION p = other->GetHeadPosition(); p;) AddTail(other->GetNext(p));
  }

  /// Inserting before or after a null position puts the value at the head or tail.
  POSITION InsertBefore(POSITION pos, const T& value) {
    Node* at = NodeOf(pos);
    Node* n = new Node{value, nullptr, nullptr};
    if (at) {
      n->prev = at->prev;
      n->next = at;
    } else {
      n->prev = nullptr;
      n->next = m_head;
    }
    Link(n);
    return Pos(n);
  }
  POSITION InsertAfter(POSITION pos, const T& value) {
    Node* at = NodeOf(pos);
    Node* n = new Node{value, nullptr, nullptr};
    if (at) {
      n->prev = at;
      n->next = at->next;
    } else {
      n->prev = m_tail;
      n->next = nullptr;
    }
    Link(n);
    return Pos(n);
  }

  T RemoveHead() {
    T v = m_head->value;
    RemoveAt(Pos(m_head));
    return v;
  }
  T RemoveTail() {
    T v = m_tail->value;
    RemoveAt(Pos(m_tail));
    return v;
  }
  void RemoveAt(POSITION pos) {
    Node* n = NodeOf(pos);
    (n->prev ? n->prev->next : m_head) = n->next;
    (n->next ? n->next->prev : m_tail) = n->prev;
    delete n;
    --m_count;
  }
  void RemoveAll() {
    for (Node* n = m_head; n;) {
      Node* next = n->next;
      delete n;
      n = next;
    }
    m_head = m_tail = nullptr;
    m_count = 0;
  }

  /// The first position after startAfter (from the head when null) holding value.
  POSITION Find(const T& value, POSITION startAfter = nullptr) const {
    Node* n = startAfter ? NodeOf(startAfter)->next : m_head;
    for (; n; n = n->next)
      if (n->value == value) return Pos(n);
    return nullptr;
  }
  POSITION FindIndex(INT_PTR index) const {
    if (index < 0 || index >= m_count) return nullptr;
    Node* n = m_head;
    while (index-- > 0) n = n->next;
    return Pos(n);
  }

 private:
  struct Node {
    T value;
    Node* prev;
    Node* next;
  };
  static POSITION Pos(Node* n) { return reinterpret_cast<POSITION>(n); }
  static Node* NodeOf(POSITION p) { return reinterpret_cast<Node*>(p); }
  void Link(Node* n) {
    (n->prev ? n->prev->next : m_head) = n;
    (n->next ? n->next->prev : m_tail) = n;
    ++m_count;
  }

  Node* m_head = nullptr;
  Node* m_tail = nullptr;
  INT_PTR m_count = 0;
};

/// A growable array with the class library's SetSize, SetAtGrow and InsertAt rules.
template <typename T, typename Arg = const T&>
class GrowArray {
 public:
  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return m_data.empty(); }
  void SetSize(INT_PTR size, INT_PTR growBy = -1) { m_data.resize(static_cast<size_t>(size)); }
  void RemoveAll() { m_data.clear(); }

  T GetAt(INT_PTR i) const { return m_data[static_cast<size_t>(i)]; }
  void SetAt(INT_PTR i, Arg v) { m_data[static_cast<size_t>(i)] = v; }
  T& ElementAt(INT_PTR i) { return m_data[static_cast<size_t>(i)]; }
  const T& ElementAt(INT_PTR i) const { return m_data[static_cast<size_t>(i)]; }
  T& operator[](INT_PTR i) { return m_data[static_cast<size_t>(i)]; }
  const T& operator[](INT_PTR i) const { return m_data[static_cast<size_t>(i)]; }
  T* GetData() { return m_data.data(); }
  const T* GetData() const { return m_data.data(); }

  void SetAtGrow(INT_PTR i, Arg v) {
    if (i >= GetSize()) m_data.resize(static_cast<size_t>(i + 1));
    m_data[static_cast<size_t>(i)] = v;
  }
  INT_PTR Add(Arg v) {
    m_data.push_back(v);
    return GetUpperBound();
  }
  INT_PTR Append(const GrowArray& other) {
    INT_PTR first = GetSize();
    m_data.insert(m_data.end(), other.m_data.begin(), other.m_data.end());
    return first;
  }
  void Copy(const GrowArray& other) { m_data = other.m_data; }
  void InsertAt(INT_PTR i, Arg v, INT_PTR count = 1) {
    if (i > GetSize()) m_data.resize(static_cast<size_t>(i));
    m_data.insert(m_data.begin() + i, static_cast<size_t>(count), v);
  }
  void RemoveAt(INT_PTR i, INT_PTR count = 1) {
    m_data.erase(m_data.begin() + i, m_data.begin() + std::min(i + count, GetSize()));
  }

 protected:
  std::vector<T> m_data;
};

}  // namespace zel_detail

/// A list of object pointers, serialisable.
class ZEL_API CObList : public CObject, public zel_detail::NodeList<CObject*> {
  DECLARE_SERIAL(CObList)
 public:
  CObList() = default;
  explicit CObList(INT_PTR) {}
  void Serialize(CArchive& ar) override;
};

/// A list of untyped pointers.
class ZEL_API CPtrList : public CObject, public zel_detail::NodeList<void*> {
  DECLARE_DYNAMIC(CPtrList)
 public:
  CPtrList() = default;
  explicit CPtrList(INT_PTR) {}
};

/// A list of strings, serialisable.
class ZEL_API CStringList : public CObject, public zel_detail::NodeList<CString> {
  DECLARE_SERIAL(CStringList)
 public:
  CStringList() = default;
  explicit CStringList(INT_PTR) {}
  POSITION AddHead(const char* s) { return NodeList::AddHead(CString(s)); }
  POSITION AddTail(const char* s) { return NodeList::AddTail(CString(s)); }
  using NodeList::AddHead;
  using NodeList::AddTail;
  void Serialize(CArchive& ar) override;
};

/// A growable array of object pointers, serialisable.
class ZEL_API CObArray : public CObject, public zel_detail::GrowArray<CObject*, CObject*> {
  DECLARE_SERIAL(CObArray)
 public:
  void Serialize(CArchive& ar) override;
};

/// A growable array of untyped pointers.
class ZEL_API CPtrArray : public CObject, public zel_detail::GrowArray<void*, void*> {
  DECLARE_DYNAMIC(CPtrArray)
};

/// A growable array of strings, serialisable.
class ZEL_API CStringArray : public CObject, public zel_detail::GrowArray<CString, const char*> {
  DECLARE_SERIAL(CStringArray)
 public:
  void Serialize(CArchive& ar) override;
};

/// A growable array of 16-bit words, serialisable.
class ZEL_API CWordArray : public CObject, public zel_detail::GrowArray<WORD, WORD> {
  DECLARE_SERIAL(CWordArray)
 public:
  void Serialize(CArchive& ar) override;
};

/// A growable array of 32-bit words, serialisable.
class ZEL_API CDWordArray : public CObject, public zel_detail::GrowArray<DWORD, DWORD> {
  DECLARE_SERIAL(CDWordArray)
 public:
  void Serialize(CArchive& ar) override;
};

/// Keys compare exactly; iteration follows insertion order.
class ZEL_API CMapStringToOb : public CObject {
  DECLARE_SERIAL(CMapStringToOb)
 public:
  CMapStringToOb() = default;
  CMapStringToOb(const CMapStringToOb&) = delete;
  CMapStringToOb& operator=(const CMapStringToOb&) = delete;
  ~CMapStringToOb() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_order.GetCount(); }
  INT_PTR GetSize() const { return GetCount(); }
  BOOL IsEmpty() const { return GetCount() == 0; }
  BOOL Lookup(const char* key, CObject*& value) const;
  CObject*& operator[](const char* key);
  void SetAt(const char* key, CObject* value) { (*this)[key] = value; }
  BOOL RemoveKey(const char* key);
  void RemoveAll();
  POSITION GetStartPosition() const { return m_order.GetHeadPosition(); }
  void GetNextAssoc(POSITION& pos, CString& key, CObject*& value) const;
  void Serialize(CArchive& ar) override;

 private:
  struct Assoc {
    CString key;
    CObject* value;
  };
  zel_detail::NodeList<Assoc*> m_order;
  std::unordered_map<std::string, POSITION> m_index;
};
