/// \class CCmdUI
/// CCmdUI: one user-interface item of a command (a menu item here) as its update handler
/// sees it: the handler enables, checks or renames it. Frames make one per item of a popup
/// before it opens and route it to the handlers (CN_UPDATE_COMMAND_UI).
#pragma once

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"

class CMenu;
class CWnd;

class ZEL_API CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  /// For a menu item (m_pMenu at m_nIndex). An item standing for a popup (m_pSubMenu set)
  /// is not changed: its popup's items are updated when it opens.
  virtual void Enable(BOOL on = TRUE);
  /// 0 unchecked, 1 checked (2, indeterminate, shows as checked).
  virtual void SetCheck(int check = 1);
  /// Checked with the framework's radio image.
  virtual void SetRadio(BOOL on = TRUE);
  /// The item's text; its identifier and state stay.
  virtual void SetText(LPCSTR text);

  /// Routes the update to target's handlers; when none takes it and disableIfNoHandler,
  /// the item is enabled exactly when target has a command handler for it. Answers
  /// whether an update handler took it.
  BOOL DoUpdate(CWnd* target, BOOL disableIfNoHandler);

  UINT m_nID = 0;
  UINT m_nIndex = 0;
  CMenu* m_pMenu = nullptr;
  CMenu* m_pSubMenu = nullptr;
  CMenu* m_pParentMenu = nullptr;
  CWnd* m_pOther = nullptr;
  BOOL m_bEnableChanged = FALSE;
  UINT m_nIndexMax = 0;
};

/// The framework's image for radio-checked menu items: white with a black disc, the size
/// of a check mark; made on first use and shared (owner-drawn menus repaint it).
ZEL_API HBITMAP AfxGetMenuDotBitmap();
