// CFrameWnd: a frame window, the holder of a document's views, as the library passes it
// through to the application's handlers.
#pragma once

#include "platform/afx/Wnd.h"

class CFrameWnd : public CWnd {
  DECLARE_DYNAMIC(CFrameWnd)
 public:
  CFrameWnd() = default;
  explicit CFrameWnd(HWND hWnd) : CWnd(hWnd) {}
};
