/// \class CToolNode
/// CToolNode: one node of the tool tree, which mirrors the tool folders: folders become
/// submenus, tool files menu commands. A node owns its children and keeps them sorted by
/// their keys (name plus the kind's extension, or what the folder's menu order says).
/// Also the tool command identifiers: 44444 + tool index, indexes 1 to 776.
#pragma once

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"
#include "tools/ToolData.h"

class CAppTools;
class CMenu;
class CMenuOrder;

/// The highest tool index that has a command identifier, and the first identifier.
inline constexpr int ZEL_MAX_TOOLS = 776;
inline constexpr UINT ZEL_TOOL_ID_BASE = 44444;

/// The identifier of a tool index (entry 0 for an index outside 0 to 776); 0 until a tool
/// manager has filled the table.
ZEL_API UINT GetToolCommandID(int index);
/// Fills the table: entry i becomes 44444 + i.
ZEL_API void FillToolCommandIDs();
/// The tool index whose identifier is commandId (indexes 1 to 776, ascending); 0 for none.
ZEL_API int GetToolID(UINT commandId);

class ZEL_API CToolNode : public CObject {
  DECLARE_DYNAMIC(CToolNode)
 public:
  explicit CToolNode(const char* name);
  ~CToolNode() override;
  CToolNode(const CToolNode&) = delete;
  CToolNode& operator=(const CToolNode&) = delete;

  /// Deletes every child, from the head.
  void Clear();
  /// Copies the tool (the node's manager stays), sets the index and the menu path.
  void SetData(const CToolData* tool, int index, const char* menuPath);
  /// The child with that name and kind, or null; pos gets the place where such a child
  /// would be inserted (null: at the end).
  CToolNode* FindSubnode(const char* name, CToolDataUnit::ProducedTypes type, POSITION& pos);
  /// The child found, or a new one inserted at its place, its tool's manager set and its
  /// kind 0 (until SetData gives it the kind of its tool).
  CToolNode* GetSubnode(const char* name, CToolDataUnit::ProducedTypes type, CAppTools* manager);
  /// Walks menuPath split at '|', making folders as needed, and sets the last node's data.
  void AddToolData(const char* menuPath, CToolData* tool, int index,
                   CToolDataUnit::ProducedTypes type, CAppTools* manager);
  /// Removes and deletes child when it is one; otherwise nothing.
  void RemoveSubNode(CToolNode* child);
  /// Depth-first search in child order for the tool index.
  const CToolNode* FindNode(int index) const;
  /// Appends the children to menu: a tool (index 1 or more) as a string item with its
  /// command identifier, a folder with children as a popup filled the same way; empty
  /// folders leave nothing.
  void AppendContentsToMenu(CMenu* menu);
  /// Appends a selection of the children: which 0 the tools and folders but the folders
  /// named exactly "Analyze" and "Align"; which 1 the contents of "Analyze" and which 2 of
  /// "Align", flattened into menu.
  void AppendContentsToTopMenu(CMenu* menu, int which);

  const CString& GetName() const { return m_name; }
  const CString& GetMenuPath() const { return m_menuPath; }
  void SetMenuPath(const char* path) { m_menuPath = path; }
  int GetToolIndex() const { return m_toolIndex; }
  void SetToolIndex(int index) { m_toolIndex = index; }
  CToolData& GetTool() { return m_tool; }
  const CToolData& GetTool() const { return m_tool; }
  CMenuOrder* GetMenuOrder() const { return m_menuOrder; }
  void SetMenuOrder(CMenuOrder* order) { m_menuOrder = order; }
  const CObList& GetChildren() const { return m_children; }
  bool IsCommand() const { return m_toolIndex >= 1; }

  /// The extension of a kind: "" for 0, ".tq" for 1 and unknown kinds, ".url", ".lnk", ".exe".
  static CString GetExtension(CToolDataUnit::ProducedTypes type);

 protected:
  CString m_name;
  CString m_menuPath;
  CToolData m_tool;
  CObList m_children;
  int32_t m_toolIndex = -1;
  CMenuOrder* m_menuOrder = nullptr;
};
