// The tool tree and the tool command identifiers.
#include "tools/ToolNode.h"

#include "platform/user/framework/Menu.h"
#include "tools/MenuOrder.h"

IMPLEMENT_DYNAMIC(CToolNode, CObject)

namespace {
// Zero-filled at load; filled by the first tool manager.
UINT g_toolIds[ZEL_MAX_TOOLS + 1];
}  // namespace

UINT GetToolCommandID(int index) {
  return g_toolIds[index >= 0 && index <= ZEL_MAX_TOOLS ? index : 0];
}

void FillToolCommandIDs() {
  for (int i = 0; i <= ZEL_MAX_TOOLS; ++i) g_toolIds[i] = ZEL_TOOL_ID_BASE + static_cast<UINT>(i);
}

int GetToolID(UINT commandId) {
  for (int i = 1; i <= ZEL_MAX_TOOLS; ++i)
    if (g_toolIds[i] == commandId) return i;
  return 0;
}

CToolNode::CToolNode(const char* name) : m_name(name) {}

CToolNode::~CToolNode() { Clear(); }

void CToolNode::Clear() {
  while (!m_children.IsEmpty()) delete static_cast<CToolNode*>(m_children.RemoveHead());
}

void CToolNode::SetData(const CToolData* tool, int index, const char* menuPath) {
  if (tool) m_tool = *tool;
  m_toolIndex = index;
  m_menuPath = menuPath;
}

CString CToolNode::GetExtension(CToolDataUnit::ProducedTypes type) {
  switch (type) {
    case CToolDataUnit::none:
      return "";
    case CToolDataUnit::url:
      return ".url";
    case CToolDataUnit::lnk:
      return ".lnk";
    case CToolDataUnit::exe:
      return ".exe";
    default:
      return ".tq";
  }
}

CToolNode* CToolNode::FindSubnode(const char* name, CToolDataUnit::ProducedTypes type,
                                  POSITION& pos) {
  CString wanted = CString(name) + GetExtension(type);
  const char* wantedKey = m_menuOrder ? m_menuOrder->GetChildOrderName(wanted) : wanted.GetString();
  CString wantedCopy = wantedKey;  // the order's answer may point into the order tree
  pos = m_children.GetHeadPosition();
  while (pos) {
    auto* child = static_cast<CToolNode*>(m_children.GetAt(pos));
    CString key = child->m_name + GetExtension(child->m_tool.m_producedType);
    const char* childKey = m_menuOrder ? m_menuOrder->GetChildOrderName(key) : key.GetString();
    int cmp = ZelStrCmpNoCase(childKey, wantedCopy.view());
    if (cmp == 0) return child;
    if (cmp > 0) return nullptr;
    m_children.GetNext(pos);
  }
  return nullptr;
}

CToolNode* CToolNode::GetSubnode(const char* name, CToolDataUnit::ProducedTypes type,
                                 CAppTools* manager) {
  POSITION pos;
  if (CToolNode* found = FindSubnode(name, type, pos)) return found;
  auto* child = new CToolNode(name);
  // Its kind stays 0 until its data is set: the key it was placed by may differ from the
  // one it is compared by until then.
  child->m_tool.SetManager(manager);
  if (pos)
    m_children.InsertBefore(pos, child);
  else
    m_children.AddTail(child);
  return child;
}

void CToolNode::AddToolData(const char* menuPath, CToolData* tool, int index,
                            CToolDataUnit::ProducedTypes type, CAppTools* manager) {
  CString path = menuPath ? menuPath : "";
  CToolNode* node = this;
  int start = 0;
  for (;;) {
    int bar = path.Find('|', start);
    CString component = bar < 0 ? path.Mid(start) : path.Mid(start, bar - start);
    node = node->GetSubnode(component, type, manager);
    if (bar < 0) break;
    start = bar + 1;
  }
  node->SetData(tool, index, path);
}

void CToolNode::RemoveSubNode(CToolNode* child) {
  POSITION pos = m_children.Find(child);
  if (!pos) return;
  m_children.RemoveAt(pos);
  delete child;
}

const CToolNode* CToolNode::FindNode(int index) const {
  for (POSITION p = m_children.GetHeadPosition(); p;) {
    auto* child = static_cast<const CToolNode*>(m_children.GetNext(p));
    if (child->m_toolIndex == index) return child;
    if (const CToolNode* found = child->FindNode(index)) return found;
  }
  return nullptr;
}

namespace {

// A folder's popup, appended only when it holds something: a folder of empty folders
// makes no popup either.
void AppendFolder(CMenu* menu, CToolNode* folder) {
  CMenu popup;
  popup.CreatePopupMenu();
  folder->AppendContentsToMenu(&popup);
  if (popup.GetMenuItemCount() == 0) return;
  if (menu->AppendMenu(MF_POPUP, popup.GetSafeHmenu().value, folder->GetName()))
    popup.Detach();  // the menu owns it now
}

}  // namespace

void CToolNode::AppendContentsToMenu(CMenu* menu) {
  if (!menu) return;
  for (POSITION p = m_children.GetHeadPosition(); p;) {
    auto* child = static_cast<CToolNode*>(m_children.GetNext(p));
    if (child->m_toolIndex >= 1)
      menu->AppendMenu(MF_STRING, GetToolCommandID(child->m_toolIndex), child->m_name);
    else if (!child->m_children.IsEmpty())
      AppendFolder(menu, child);
  }
}

void CToolNode::AppendContentsToTopMenu(CMenu* menu, int which) {
  if (!menu) return;
  for (POSITION p = m_children.GetHeadPosition(); p;) {
    auto* child = static_cast<CToolNode*>(m_children.GetNext(p));
    if (child->m_toolIndex >= 1) {
      if (which == 0)
        menu->AppendMenu(MF_STRING, GetToolCommandID(child->m_toolIndex), child->m_name);
      continue;
    }
    if (child->m_children.IsEmpty()) continue;
    if (child->m_name == "Analyze") {
      if (which == 1) child->AppendContentsToMenu(menu);
    } else if (child->m_name == "Align") {
      if (which == 2) child->AppendContentsToMenu(menu);
    } else if (which == 0) {
      AppendFolder(menu, child);
    }
  }
}
