// The multiple-document frames: CMDIFrameWnd holds CMDIChildWnd frames, one of them
// active; the active child's own frame, views and commands come before the main frame's.
#pragma once

#include "ZelExport.h"
#include "platform/user/framework/FrameWnd.h"

class CMDIChildWnd;

class ZEL_API CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CMDIFrameWnd)
 public:
  CMDIFrameWnd() = default;
  // The active child (and in *maximized whether it fills the frame); null when none.
  CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
  // Makes child the active one (null: none).
  void MDIActivate(CWnd* child);
  CFrameWnd* GetActiveFrame() override;
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;

 private:
  friend class CMDIChildWnd;
  CMDIChildWnd* m_pActiveChild = nullptr;
};

class ZEL_API CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CMDIChildWnd)
 public:
  CMDIChildWnd() = default;
  ~CMDIChildWnd() override;
  // Makes the child inside parent's client area and activates it.
  BOOL Create(LPCSTR className, LPCSTR title,
              DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CMDIFrameWnd* parent = nullptr);
  CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }
  void MDIActivate();
  // Fills the frame (WS_MAXIMIZE) or leaves it.
  void MDIMaximize();
  void MDIRestore();

 protected:
  // The base's way of making a window does not make this kind: out of a caller's reach.
  using CFrameWnd::Create;
  void PostNcDestroy() override;

 private:
  CMDIFrameWnd* m_pMDIFrame = nullptr;
};
