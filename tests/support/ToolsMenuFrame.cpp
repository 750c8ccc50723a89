#include "tests/support/ToolsMenuFrame.h"

#include "tools/ToolNode.h"
#include "ui/CoolMenuManager.h"

namespace zel_test {

BEGIN_MESSAGE_MAP(ToolsMenuFrame, CFrameWnd)
ON_REGISTERED_MESSAGE(WM_RELOADCOOLMENU, OnReloadMenus)
ON_UPDATE_COMMAND_UI_RANGE(44445, 45220, OnUpdateTool)
ON_COMMAND_RANGE(44445, 45220, OnTool)
END_MESSAGE_MAP()

bool ToolsMenuFrame::Show(CAppTools& manager, CZelMenuManager& drawing, CMenu& bar,
                          const char* title, const CRect& rect) {
  manager.ReloadTools();
  manager.RegisterMenu("main", &bar, nullptr, 0, 0);
  manager.UpdateMenu("main", &bar, -1, 0);
  tools = &manager;
  menus = &drawing;
  if (!Create(nullptr, title, WS_OVERLAPPEDWINDOW, rect, nullptr, bar.Detach())) return false;
  drawing.SetToolsManager(&manager);
  drawing.Install(this);
  ShowWindow(SW_SHOW);
  return true;
}

LRESULT ToolsMenuFrame::OnReloadMenus(WPARAM, LPARAM) {
  menus->LoadToolbar(m_toolbar);
  return 0;
}

void ToolsMenuFrame::OnUpdateTool(CCmdUI* ui) {
  tools->OnUpdateZelTool(ui, this, GetToolID(ui->m_nID));
}

}  // namespace zel_test
