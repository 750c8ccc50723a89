/// \class CZelMenuManager
/// CZelMenuManager: the owner-drawn manager of the tool menus: a tool item without an image
/// of its own shows the icon of its tool's file.
#pragma once

#include "ZelExport.h"
#include "ui/CoolMenuManager.h"

class CAppTools;

class ZEL_API CZelMenuManager : public CCoolMenuManager {
  DECLARE_DYNAMIC(CZelMenuManager)
 public:
  CZelMenuManager() = default;

  void SetToolsManager(CAppTools* manager) { m_pToolsManager = manager; }
  CAppTools* GetToolsManager() const { return m_pToolsManager; }

  /// Sends "WM_RELOADCOOLMENU" (LPARAM: this manager) to the window whose menus it draws;
  /// the window loads the toolbars there.
  void OnReload() override;
  /// For a tool item without an image: the small icon of the file the tool opens (its
  /// target, its location prefix resolved; for a web link its ".url" file in the tool
  /// folder), else of its tool file; 0 when there is none.
  int DrawItemIcon(DRAWITEMSTRUCT* item, int imageIndex, CImageList* images) override;

  /// The file whose icon a tool item shows first, as DrawItemIcon picks it; empty when the
  /// command is no tool's.
  CString IconFileOf(UINT commandId);

 protected:
  CAppTools* m_pToolsManager = nullptr;
};
