/// \file
/// The multiple-document frames: a CMDIFrameWnd holds, in its MDI client (a child window of
/// class "MDICLIENT" filling its client area less the status bar), the CMDIChildWnd frames,
/// one of them active; the active child's own frame, views and commands come before the
/// main frame's. The frame handles WM_MDIACTIVATE (wParam the child), WM_MDICASCADE,
/// WM_MDITILE (wParam MDITILE_*), WM_MDINEXT (wParam a child or null for the active one,
/// lParam nonzero for the previous) and WM_MDIGETACTIVE (lParam a BOOL* for maximised),
/// also when they are sent to its MDI client. Cascade and tile place the visible children
/// that are not minimised, in the order they were made with the active one last, by the
/// rules of MDILayout.cpp; maximised ones are restored first.
#pragma once

#include <vector>

#include "ZelExport.h"
#include "platform/user/framework/FrameWnd.h"

class CMDIChildWnd;

/// The frame of a multiple-document window, holding the MDI client and its child frames.
class ZEL_API CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CMDIFrameWnd)
  DECLARE_MESSAGE_MAP()
 public:
  CMDIFrameWnd() = default;
  /// Makes the frame, then its MDI client.
  using CFrameWnd::CreateEx;
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                int width, int height, HWND parent, HMENU menuOrId,
                LPVOID param = nullptr) override;
  /// The active child (and in *maximized whether it fills the frame); null when none.
  CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
  /// Makes child the active one (null: none). A maximised active child hands its state on.
  void MDIActivate(CWnd* child);
  void MDICascade();
  void MDITile(int how = MDITILE_VERTICAL);
  /// Activates the child made after the active one (the first after the last), or before.
  void MDINext();
  void MDIPrev();
  /// The children in the order they were made, as a Window menu lists them.
  std::vector<CMDIChildWnd*> MDIGetChildren() const { return m_children; }
  /// Puts the status bar (the visible child with the id AFX_IDW_STATUS_BAR) at the bottom
  /// of the client area at its own height, full width, and gives the MDI client the rest.
  /// Done on every WM_SIZE; call it after making or showing the status bar.
  virtual void RecalcLayout();
  CFrameWnd* GetActiveFrame() override;
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;

  HWND m_hWndMDIClient;

 protected:
  LRESULT OnSizeMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnMDIActivateMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnMDICascadeMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnMDITileMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnMDINextMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnMDIGetActiveMessage(WPARAM wParam, LPARAM lParam);
  void PostNcDestroy() override;

 private:
  friend class CMDIChildWnd;
  /// The children to arrange, restored, in order with the active one last.
  std::vector<CMDIChildWnd*> Arranged(bool skipDisabled);
  void Remove(CMDIChildWnd* child);

  CMDIChildWnd* m_pActiveChild = nullptr;
  std::vector<CMDIChildWnd*> m_children;
};

/// A child frame inside an MDI frame's client.
class ZEL_API CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CMDIChildWnd)
 public:
  CMDIChildWnd() = default;
  ~CMDIChildWnd() override;
  /// Makes the child in parent's MDI client (WS_EX_MDICHILD) and activates it. Without a
  /// rectangle it takes three quarters of the MDI client, each new one a caption lower.
  BOOL Create(LPCSTR className, LPCSTR title,
              DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CMDIFrameWnd* parent = nullptr);
  CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }
  void MDIActivate();
  /// Fills the MDI client (ShowWindow SW_MAXIMIZE) or leaves it (SW_RESTORE).
  void MDIMaximize();
  void MDIRestore();

 protected:
  /// The base's way of making a window does not make this kind: out of a caller's reach.
  using CFrameWnd::Create;
  void PostNcDestroy() override;

 private:
  friend class CMDIFrameWnd;
  void Leave();
  CMDIFrameWnd* m_pMDIFrame = nullptr;
};
