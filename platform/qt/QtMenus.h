/// \file
/// Menus of the window model shown through Qt: a window's menu as its QMenuBar, each popup
/// as a QMenu filled from the model every time it opens, after its owner has had
/// WM_INITMENUPOPUP. Qt's own menu events raise the menu messages: the first popup opening
/// enters the menu loop (WM_ENTERMENULOOP, WM_INITMENU), hovering selects (WM_MENUSELECT),
/// the last popup closing closes the menu and leaves the loop, a chosen item posts
/// WM_COMMAND, and a key-event filter asks the owner (WM_MENUCHAR) for characters that no
/// plain item's mnemonic takes. A right click is told to the owner as WM_RBUTTONDOWN.
///
/// Owner-drawn items stay ordinary QActions, so Qt keeps triggering, highlighting and
/// keyboard navigation; their text marks them, and the menus' style (a QProxyStyle) sizes
/// them by WM_MEASUREITEM (CT_MenuItem) and paints them by WM_DRAWITEM on the Qt device
/// (CE_MenuItem).
#pragma once

#include <QMenu>
#include <QMenuBar>

#include "ZelQtExport.h"
#include "platform/base/types/WinUser.h"

namespace zel_qt {

/// A popup of a window's menu shown through Qt, its items made from the menu model.
class ZEL_QT_API PopupMenu : public QMenu {
 public:
  /// A popup of owner's menu; tracked: shown by TrackPopupMenu, which answers the command
  /// chosen instead of its being posted.
  PopupMenu(HWND owner, HMENU menu, int position, bool tracked, QWidget* parent);

  HWND Owner() const { return m_owner; }
  HMENU Menu() const { return m_menu; }
  /// Makes the actions anew from the model.
  void Fill();

 private:
  void OnAboutToShow();
  void OnAboutToHide();

  HWND m_owner;
  HMENU m_menu;
  int m_position;
  bool m_tracked;
};

/// Fills bar with the window's menu (its popups empty until they open).
ZEL_QT_API void FillMenuBar(QMenuBar* bar, HWND owner, HMENU menu);

/// Shows menu at the screen point for owner until the user chooses or dismisses it, then
/// closes the menu loop; the command chosen, 0 for none.
ZEL_QT_API UINT TrackPopup(HWND owner, HMENU menu, QPoint at, QWidget* parent);

/// The position of the item an owner-drawn action stands for, -1 for an ordinary action.
ZEL_QT_API int OwnerDrawnPosition(const QString& text);

/// The popup menus' style, shared; made on first use.
ZEL_QT_API QStyle* MenuStyle();

}  // namespace zel_qt
