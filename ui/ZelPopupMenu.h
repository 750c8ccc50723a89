/// CZelPopupMenu: a popup menu whose commands reach the frame of the window it is shown for.
#pragma once

#include "ZelExport.h"
#include "platform/user/framework/Menu.h"

class ZEL_API CZelPopupMenu : public CMenu {
 public:
  /// Tracks the menu as the framework does, for owner: a view first becomes its frame's
  /// active view and hands the menu to the frame; an MDI child window is activated in its
  /// MDI frame, which then owns the menu. So the commands chosen are routed through the
  /// active view and document, as menu bar commands are.
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);
};
