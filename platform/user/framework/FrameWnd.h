/// \class CFrameWnd
/// CFrameWnd: a frame window, the holder of a document's views, with its menu bar and its
/// default accelerator table. Before a popup of its menu opens (WM_INITMENUPOPUP) it
/// updates the popup's items through CCmdUI: each command goes to the update handlers of
/// the active view, then of the frame; with m_bAutoMenuEnable an item that no handler
/// updates is enabled exactly when a command handler exists for it. Commands (WM_COMMAND)
/// are routed the same way. The object does not delete itself when its window goes.
#pragma once

#include "ZelExport.h"
#include "platform/user/framework/Wnd.h"

class CView;

/// Identifiers of a frame's own children: its status bar, and the pane its client area
/// holds (an MDI frame's MDI client).
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

class ZEL_API CFrameWnd : public CWnd {
  DECLARE_DYNAMIC(CFrameWnd)
  DECLARE_MESSAGE_MAP()
 public:
  /// Where a frame goes when the caller does not say: the platform's default place.
  static const RECT rectDefault;

  CFrameWnd() = default;
  explicit CFrameWnd(HWND hWnd) : CWnd(hWnd) {}

  /// Makes the frame; menu becomes its menu bar and its default menu (the window owns it
  /// from then on and destroys it with itself).
  virtual BOOL Create(LPCSTR className, LPCSTR title, DWORD style = WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CWnd* parent = nullptr, HMENU menu = HMENU(),
                      DWORD exStyle = 0);
  /// Loads the accelerator table of the resource id as the frame's default table.
  BOOL LoadAccelTable(UINT id);
  /// The frame's default accelerator table; null when none was loaded.
  virtual HACCEL GetDefaultAccelerator();

  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* view, BOOL notify = TRUE);
  /// The frame whose document is current: this one (an MDI frame answers its active child).
  virtual CFrameWnd* GetActiveFrame();

  /// Updates the popup's items before it opens (nothing for a system menu).
  virtual void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;

  HMENU m_hMenuDefault;
  HACCEL m_hAccelTable;
  BOOL m_bAutoMenuEnable = TRUE;

 protected:
  /// The base's way of making a window does not make this kind: out of a caller's reach.
  using CWnd::Create;
  LRESULT OnInitMenuPopupMessage(WPARAM wParam, LPARAM lParam);
  void PostNcDestroy() override;

  CView* m_pViewActive = nullptr;
};
