/// CView: a child window of a frame that shows a document; the active view of its frame
/// gets commands before the frame does.
#pragma once

#include "ZelExport.h"
#include "platform/user/framework/Wnd.h"

class ZEL_API CView : public CWnd {
  DECLARE_DYNAMIC(CView)
 public:
  CView() = default;
  ~CView() override;
  /// Makes the view a child of its frame, filling the frame's client area.
  BOOL Create(CFrameWnd* frame, UINT id = 0xE900);

 protected:
  /// The base's way of making a window does not make this kind: out of a caller's reach.
  using CWnd::Create;
};
