// A frame whose menu bar holds a tool manager's Tools menu, drawn by a menu manager with
// the images of one toolbar resource: the window that tests of the owner-drawn menus show.
#pragma once

#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/Menu.h"
#include "tools/AppTools.h"
#include "tools/ZelMenuManager.h"

namespace zel_test {

class ToolsMenuFrame : public CFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  explicit ToolsMenuFrame(UINT toolbar) : m_toolbar(toolbar) {}

  // Merges the manager's tools into bar (registered as "main"), makes the frame with it
  // and shows it, its popups drawn by menus. False when the frame cannot be made.
  bool Show(CAppTools& manager, CZelMenuManager& drawing, CMenu& bar, const char* title,
            const CRect& rect);

  CAppTools* tools = nullptr;
  CZelMenuManager* menus = nullptr;

 protected:
  LRESULT OnReloadMenus(WPARAM, LPARAM);
  void OnUpdateTool(CCmdUI* ui);
  void OnTool(UINT) {}

 private:
  UINT m_toolbar;
};

}  // namespace zel_test
