// CZelMenuManager: tool items drawn with their files' icons.
#include "tools/ZelMenuManager.h"

#include "platform/os/fs/FileSystem.h"
#include "platform/user/fileicons/FileIcons.h"
#include "platform/user/wnd/Message.h"
#include "tools/AppTools.h"

IMPLEMENT_DYNAMIC(CZelMenuManager, CCoolMenuManager)

namespace {

// The tool's own file: the tool folder, its menu path as folders, and the extension.
CString ToolFile(const CString& folder, CString menuPath, const char* extension) {
  menuPath.Replace('|', ZEL_PATH_SEP);
  return folder + ZEL_PATH_SEP_STR + menuPath + extension;
}

int SmallIcon(const CString& file, CImageList*& list) {
  SHFILEINFO info;
  list = reinterpret_cast<CImageList*>(
      SHGetFileInfo(file, FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                    SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
  return list ? info.iIcon : -1;
}

}  // namespace

void CZelMenuManager::OnReload() {
  if (m_pFrame && m_pFrame->m_hWnd)
    ::SendMessage(m_pFrame->m_hWnd, WM_RELOADCOOLMENU, 0, reinterpret_cast<LPARAM>(this));
}

CString CZelMenuManager::IconFileOf(UINT commandId) {
  if (!m_pToolsManager) return CString();
  const int index = GetToolID(commandId);
  if (index == 0) return CString();
  // Finding the tool by index makes it the last tool, whose menu path names its file.
  const CToolData* tool = m_pToolsManager->FindZelTool(index);
  if (!tool) return CString();
  if (tool->m_producedType != CToolDataUnit::url) return ResolveToolTarget(tool->m_target);
  return ToolFile(m_pToolsManager->GetWatchedPath(), m_pToolsManager->GetLastTool(), ".url");
}

int CZelMenuManager::DrawItemIcon(DRAWITEMSTRUCT* item, int imageIndex, CImageList* images) {
  if (!m_pToolsManager || imageIndex >= 0 || !item)
    return CCoolMenuManager::DrawItemIcon(item, imageIndex, images);
  const CString file = IconFileOf(item->itemID);
  if (file.IsEmpty()) return 0;
  CImageList* list = nullptr;
  int icon = SmallIcon(file, list);
  if (!list || icon < 0)
    icon = SmallIcon(
        ToolFile(m_pToolsManager->GetWatchedPath(), m_pToolsManager->GetLastTool(), ".tq"), list);
  if (!list || icon < 0) return 0;
  return CCoolMenuManager::DrawItemIcon(item, icon, list);
}
