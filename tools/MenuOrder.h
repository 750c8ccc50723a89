/// CMenuOrder: a persisted order imposed on the tool tree's folders. A tree of these
/// parallels the folder tree; each node maps its children's lower-cased names to their own
/// order nodes, and a child may carry an order name, the lower-case key under which it
/// sorts among its siblings instead of its name. The whole tree is kept in the tools
/// folder's menu-order file (ReadOrderFile, WriteOrderFile; the format is described where
/// it is read and written, in MenuOrder.cpp).
#pragma once

#include <string>
#include <string_view>
#include <system_error>

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"

class ZEL_API CMenuOrder : public CObject {
  DECLARE_DYNCREATE(CMenuOrder)
 public:
  explicit CMenuOrder(const char* orderName = nullptr);
  ~CMenuOrder() override;
  CMenuOrder(const CMenuOrder&) = delete;
  CMenuOrder& operator=(const CMenuOrder&) = delete;

  /// The key under which the child name sorts: its order name when the child is known and
  /// has one (the child is then marked used), else name itself, unchanged.
  const char* GetChildOrderName(const char* name);
  CMenuOrder* GetNode(const char* name);
  CMenuOrder* GetOrCreateNode(const char* name);
  /// Enters node under name, replacing (without deleting) what was entered there.
  void AddNode(const char* name, CMenuOrder* node);
  /// Removes the entry of name; the node itself is not deleted.
  void RemoveNode(const char* name);
  void SetOrderName(const char* name);
  const CString& GetOrderName() const { return m_orderName; }
  bool IsLoaded() const { return !m_orderName.IsEmpty(); }
  /// Mark and sweep: StartMonitor clears every child's used flag; StopMonitor deletes the
  /// children that no GetChildOrderName has asked for since.
  void StartMonitor();
  void StopMonitor();
  /// An order name for a new entry placed between the siblings before and after.
  CString GetInsertName(const char* before, const char* after);
  /// The children, lower-cased name to owned CMenuOrder, in the order they were entered.
  const CMapStringToOb& GetChildren() const { return m_children; }

  /// The menu-order file's bytes for this tree.
  std::string Store() const;
  /// The same into bytes; false when they are more than a reader believes (the tree is too
  /// large to be kept).
  bool StoreBelievable(std::string& bytes) const;
  /// The tree that bytes describe; null for bytes that are damaged, foreign or of another
  /// version: such a file is "no order".
  static CMenuOrder* Load(std::string_view bytes);
  /// The tree of the file at path; null when it is missing, unreadable or not believed.
  static CMenuOrder* ReadOrderFile(const char* path);
  /// Replaces the file at path with this tree in one step (old or new, never half); the
  /// reason when it cannot.
  std::error_code WriteOrderFile(const char* path) const;

 protected:
  BYTE m_used = 0;
  CString m_orderName;
  CMapStringToOb m_children;
};
