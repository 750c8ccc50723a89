/// \file
/// The nodes of the structured text format: lists, shared references, tags, strings and
/// numbers. Each knows its printed form, the length of that print (for line breaking) and
/// how to read itself from a CSyntaxTree's current line.
///
/// Nodes are made only by the static NewPtr/InputPtr functions and released only by
/// CSynNode::DeletePtr; their memory comes from a pool. A list owns its elements; a
/// reference does not own the node it points to (the tree's shared table does). The
/// whole numbers 0 to 19 are process-wide cached nodes that are never freed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"
#include "serialization/SynText.h"

class CSyntaxTree;
namespace zel_sxf {
class Tape;
}

/// A node of the structured text format: its printed form, the length of that print and its
/// release.
class ZEL_API CSynNode : public CObject {
  DECLARE_DYNAMIC(CSynNode)
 public:
  /// n minus the length of this node's print; lists and references answer -69 when they
  /// cannot fit in n characters.
  virtual int SubtractPrintLen(int n) const;
  /// Appends this node's print to the tree's current line; atoms ignore fitsOnLine.
  virtual void Output(CSyntaxTree& tree, int fitsOnLine) const;
  /// Appends this node's print to s (nothing for the base).
  virtual void OutputToString(CString& s) const;
  /// Non-zero when the node may be freed now.
  virtual int RemoveLastRef();

  BOOL CanFitOnLine(int chars) const { return SubtractPrintLen(chars) >= 0; }

  /// Frees node when its RemoveLastRef() allows; null is ignored. Lists are taken apart
  /// without recursion, so any depth of nesting is released.
  static void DeletePtr(CSynNode* node);

  static void* operator new(size_t bytes);
  static void operator delete(void* block, size_t bytes) noexcept;

 protected:
  CSynNode() = default;
  CSynNode(const CSynNode&) = default;
  CSynNode& operator=(const CSynNode&) = default;
  ~CSynNode() override = default;
};

/// A list node, "(...)": owns its elements.
class ZEL_API CSynList : public CSynNode {
  DECLARE_DYNAMIC(CSynList)
 public:
  static CSynList* NewPtr();
  /// Reads "(" elements ")" from the tree's cursor. With sharedIndex >= 0 the list is
  /// registered under that index before its elements are read. Nested lists are read
  /// without recursion.
  static CSynList* InputPtr(CSyntaxTree& tree, int sharedIndex);

  int SubtractPrintLen(int n) const override;
  void Output(CSyntaxTree& tree, int fitsOnLine) const override;

  INT_PTR GetCount() const { return m_count; }
  BOOL IsEmpty() const { return m_count == 0; }
  POSITION GetHeadPosition() const { return m_count ? PosOf(0) : nullptr; }
  CSynNode* GetNext(POSITION& pos) const {
    uint32_t i = IndexOf(pos);
    pos = i + 1 < m_count ? PosOf(i + 1) : nullptr;
    return m_items[i];
  }
  CSynNode* GetAt(POSITION pos) const { return m_items[IndexOf(pos)]; }
  /// Appends node at the tail; the list owns it from now on. Inline: storing appends
  /// every node through it, and the usual append is a store and a count.
  void AddNew(CSynNode* node) {
    if (m_count == m_capacity) Grow();
    m_items[m_count++] = node;
  }
  CSynNode* RemoveTail() { return m_items[--m_count]; }
  /// Puts node at index i in place of the element there, which the caller now owns.
  CSynNode* ReplaceAt(uint32_t i, CSynNode* node) { return std::exchange(m_items[i], node); }
  void AdviseSize(int) {}

  /// Element access by index, for the reader and printer of this library.
  CSynNode* ElementAt(uint32_t i) const { return m_items[i]; }
  /// Replaces the (empty) element array by a copy of count nodes, allocated to size.
  void Adopt(CSynNode* const* nodes, uint32_t count);
  /// Gives back the unused room of a small list that is complete, when a quarter or more
  /// of it is unused.
  void FitToCount();

 protected:
  CSynList() = default;
  ~CSynList() override;

 private:
  friend class CSynNode;
  friend class CSyntaxTree;
  static POSITION PosOf(uint32_t i) { return reinterpret_cast<POSITION>(uintptr_t{i} + 1); }
  static uint32_t IndexOf(POSITION p) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p) - 1);
  }
  void FreeItems() noexcept;
  /// Doubles the element array (6 elements for the first).
  void Grow();

  CSynNode** m_items = nullptr;
  uint32_t m_count = 0;
  uint32_t m_capacity = 0;
};

/// A shared reference node: `#n=(...)` where it is defined, `#n#` at each later use.
class ZEL_API CSynRef : public CSynNode {
  DECLARE_DYNAMIC(CSynRef)
 public:
  static CSynRef* NewPtr(int index, CSynNode* node);
  /// Reads "#n=(...)" (a definition) or "#n#" (a use of an earlier definition).
  static CSynRef* InputPtr(CSyntaxTree& tree);
  static int IsTokenChar(int c, int first);
  /// Reads "#", the index digits and the mark after them ('=' or '#'), with the checks
  /// and causes of InputPtr; answers the mark.
  static int InputHeader(CSyntaxTree& tree, int& index);

  int SubtractPrintLen(int n) const override;
  void Output(CSyntaxTree& tree, int fitsOnLine) const override;

  int GetIndex() const { return m_index; }
  CSynNode* GetNode() const { return m_node; }
  /// "#n=" or "#n#" into buf (at least 16 bytes); answers its length.
  int PrintHead(char* buf) const;

 protected:
  CSynRef() = default;
  CSynRef(int index, CSynNode* node) : m_index(index), m_node(node) {}

 private:
  friend class CSynNode;
  friend class CSynList;
  friend class CSyntaxTree;
  friend class zel_sxf::Tape;
  /// Reading and storing give one node to all uses (`#n#`) of an index; see CSynTag.
  int RemoveLastRef() override;

  int32_t m_index = -1;
  uint32_t m_refs = 1;
  CSynNode* m_node = nullptr;
};

/// A tag node: a bare word, such as a class's tag or a record's field name.
class ZEL_API CSynTag : public CSynNode {
  DECLARE_DYNAMIC(CSynTag)
 public:
  static CSynTag* NewPtr(const char* name);
  static CSynTag* InputPtr(CSyntaxTree& tree);
  static int IsTokenChar(int c, int first);

  CSynTag(const CSynTag& other) : CSynNode(other), m_refs(1), m_name(other.m_name) {}
  CSynTag& operator=(const CSynTag& other) {
    m_name = other.m_name;
    return *this;
  }

  int SubtractPrintLen(int n) const override;
  void OutputToString(CString& s) const override;

  CString GetName() const { return CString(m_name.view()); }
  const char* Name() const { return m_name.c_str(); }

  /// Names compare without regard to ASCII case.
  friend ZEL_API bool operator==(const CSynTag& a, const CSynTag& b);
  friend ZEL_API bool operator==(const CSynTag& a, const char* name);
  friend bool operator!=(const CSynTag& a, const CSynTag& b) { return !(a == b); }
  friend bool operator!=(const CSynTag& a, const char* name) { return !(a == name); }

 protected:
  explicit CSynTag(const char* name) : m_name(name ? name : "") {}
  explicit CSynTag(std::string_view name) : m_name(name) {}

 private:
  friend class CSynNode;
  friend class CSynList;
  friend class CSyntaxTree;
  friend class zel_sxf::Tape;
  /// Reading gives one node to every use of a name in a list's subtree; each use holds a
  /// reference, and the last one frees the node.
  int RemoveLastRef() override;

  uint32_t m_refs = 1;
  zel_sxf::SynText<12> m_name;
};

/// A string node: a quoted text with its escapes.
class ZEL_API CSynStr : public CSynNode {
  DECLARE_DYNAMIC(CSynStr)
 public:
  static CSynStr* NewPtr(const char* value);
  static CSynStr* InputPtr(CSyntaxTree& tree);

  int SubtractPrintLen(int n) const override;
  void OutputToString(CString& s) const override;

  operator const char*() const { return m_value.c_str(); }
  CString GetValue() const { return CString(m_value.view()); }
  std::string_view View() const { return m_value.view(); }

 protected:
  explicit CSynStr(const char* value) : m_value(value ? value : "") {}
  explicit CSynStr(std::string_view value) : m_value(value) {}
  CSynStr() = default;

 private:
  friend class zel_sxf::Tape;
  zel_sxf::SynText<16> m_value;
};

/// A number node: whole (signed or unsigned) or floating, read back as any C++ number type.
class ZEL_API CSynNum : public CSynNode {
  DECLARE_DYNAMIC(CSynNum)
 public:
  static CSynNum* NewPtr(long v);
  static CSynNum* NewPtr(unsigned long v);
  /// 0 to 19 answer the shared cached nodes.
  static CSynNum* NewPtr(int v);
  static CSynNum* NewPtr(unsigned int v);
  static CSynNum* NewPtr(short v);
  static CSynNum* NewPtr(unsigned short v);
  static CSynNum* NewPtr(char v);
  static CSynNum* NewPtr(unsigned char v);
  static CSynNum* NewPtr(float v);
  static CSynNum* NewPtr(double v);
  static CSynNum* NewPtr(int isInteger, int isSigned, int32_t longValue, uint32_t unsignedValue,
                         double doubleValue);
  static CSynNum* InputPtr(CSyntaxTree& tree);
  /// The node InputPtr makes for a number token already read (not empty).
  static CSynNum* FromToken(std::string_view token);
  static int IsTokenChar(int c, int first);

  void OutputToString(CString& s) const override;
  int RemoveLastRef() override;

  /// The print into buf (at least 32 bytes); answers its length.
  int Print(char* buf) const;
  /// The length of that print.
  int PrintLength() const;

  /// Whole-number conversions keep the low bits of the stored 32-bit values; none checks range.
  operator long() const { return m_long; }
  operator int() const { return m_long; }
  operator unsigned long() const { return m_unsigned; }
  operator unsigned int() const { return m_unsigned; }
  operator short() const { return static_cast<short>(m_long); }
  operator char() const { return static_cast<char>(m_long); }
  operator unsigned short() const { return static_cast<unsigned short>(m_unsigned); }
  operator unsigned char() const { return static_cast<unsigned char>(m_unsigned); }
  operator float() const { return static_cast<float>(m_double); }
  operator double() const { return m_double; }

  int IsInteger() const { return m_isInteger; }
  int IsSigned() const { return m_isSigned; }
  int32_t GetLong() const { return m_long; }
  uint32_t GetUnsigned() const { return m_unsigned; }
  double GetDouble() const { return m_double; }

  /// The nodes for 0 to 19, shared by every tree.
  static CSynNum cache[20];

  /// Public for the cache array only; other nodes are made by NewPtr.
  CSynNum() = default;

 protected:
  CSynNum(int isInteger, int isSigned, int32_t l, uint32_t u, double d)
      : m_isInteger(isInteger), m_isSigned(isSigned), m_long(l), m_unsigned(u), m_double(d) {}

 private:
  static void InitCache();
  static CSynNum* FromDouble(double v);

  int32_t m_isInteger = 0;
  int32_t m_isSigned = 0;
  int32_t m_long = 0;
  uint32_t m_unsigned = 0;
  double m_double = 0;
};
