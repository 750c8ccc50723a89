/// CMenuRClickHook: notices a right mouse click on a menu item while a menu of the window
/// is open, and calls DoClick for it. A CCoolMenuManager hands it the menu messages of the
/// window (SetRClickHook).
#pragma once

#include "ZelExport.h"
#include "platform/user/framework/Wnd.h"

class ZEL_API CMenuRClickHook {
 public:
  explicit CMenuRClickHook(CWnd* wnd);
  virtual ~CMenuRClickHook() = default;
  CMenuRClickHook(const CMenuRClickHook&) = default;
  CMenuRClickHook& operator=(const CMenuRClickHook&) = default;

  /// Each takes the message's parameters and answers whether it acted. Entering the loop
  /// forgets the menu and item; leaving forgets all; a selection records the menu and the
  /// item (the low word); a right button press in the loop with both recorded calls
  /// DoClick.
  BOOL OnWmEnterMenuLoop(WPARAM wParam, LPARAM lParam);
  BOOL OnWmExitMenuLoop(WPARAM wParam, LPARAM lParam);
  BOOL OnWmMenuSelect(WPARAM wParam, LPARAM lParam);
  BOOL OnWmRButtonClick(WPARAM wParam, LPARAM lParam);
  /// Shows "On Menu" in a message box without caption over the window; derived classes
  /// do their own thing.
  virtual void DoClick();

  CWnd* m_pWnd;
  BOOL m_bInMenuLoop = FALSE;
  HMENU m_hMenu;
  BOOL m_bPopup = FALSE;
  UINT m_nItemID = 0xFFFF;

 private:
  void ForgetItem();
};
