// Popup menus routed to the frame of their window.
#include "ui/ZelPopupMenu.h"

#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/MDIWnd.h"
#include "platform/user/framework/View.h"

BOOL CZelPopupMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
  if (owner && owner->IsKindOf(RUNTIME_CLASS(CView))) {
    if (CFrameWnd* frame = owner->GetParentFrame()) {
      frame->SetActiveView(static_cast<CView*>(owner));
      owner = frame;
    }
  }
  if (owner && owner->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) {
    auto* child = static_cast<CMDIChildWnd*>(owner);
    if (CMDIFrameWnd* frame = child->GetMDIFrame()) {
      frame->MDIActivate(child);
      owner = frame;
    }
  }
  return CMenu::TrackPopupMenu(flags, x, y, owner, rect);
}
