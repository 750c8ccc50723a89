/// \class CCoolMenuManager
/// CCoolMenuManager: popup menus of a frame window or dialog drawn as a toolbar would draw
/// them: each command with a button image in a loaded toolbar shows that image beside its
/// text, checked items without one a sunken check box; accelerator names can come from the
/// frame's accelerator table, and mnemonics keep working on the owner-drawn items.
///
/// It hooks the window's procedure (CSubclassWnd): just before a popup opens
/// (WM_INITMENUPOPUP, after the window's own handling) its items become owner-drawn, each
/// with a record (CMenuItemData) of its text, type, state and image; when the menu closes,
/// or before the popup is updated again, they become plain items again. Items whose item
/// data belongs to somebody else are never touched.
///
/// Disabled images are embossed: the image's shape is painted in the 3D highlight colour
/// one pixel right and down, then in the 3D shadow colour in place. The shape is the image's
/// dark opaque pixels (luminance below one half), or with m_bDrawDisabledButtonsInColor
/// every opaque pixel that is not white; with m_bUseDrawState the device's disabled-image
/// drawing is used instead.
///
/// Usage:
/// ```
///   class CMyMenus : public CCoolMenuManager {
///     void OnReload() override { LoadToolbar(IDR_MAINFRAME); }
///   };
///   CMyMenus menus;
///   menus.Install(&frame);
/// ```
#pragma once

#include <list>
#include <optional>
#include <vector>

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/gdi/ImageList.h"
#include "platform/user/resource/Resources.h"
#include "ui/SubclassWnd.h"

class CMenuRClickHook;

/// The registered message "WM_RELOADCOOLMENU" (numbered when the library is loaded).
extern ZEL_API const UINT WM_RELOADCOOLMENU;

/// What an owner-drawn item of the manager carries as its item data.
class ZEL_API CMenuItemData : public CObject {
  DECLARE_DYNAMIC(CMenuItemData)
 public:
  CString text;      ///< the item's whole text, a tab and accelerator part included
  UINT fType = 0;    ///< its type flags (MFT_)
  UINT fState = 0;   ///< its state flags (MFS_) when it was converted
  int iButton = -1;  ///< its image in the manager's list, -1 for none
};

class ZEL_API CCoolMenuManager : public CSubclassWnd {
  DECLARE_DYNAMIC(CCoolMenuManager)
 public:
  static constexpr int kMaxMapEntries = 64;

  CCoolMenuManager();
  ~CCoolMenuManager() override;

  /// A frame or a dialog (any window): remembered and hooked, then Reload(); null
  /// restores the menus and unhooks.
  void Install(CFrameWnd* frame) { Install(static_cast<CWnd*>(frame)); }
  void Install(CWnd* window);
  /// Restores every converted menu, Destroy(), then OnReload().
  void Reload();
  /// A toolbar resource: its record (version, width, height, count, ids) and the bitmap of
  /// the same id. 0 when either is missing or damaged.
  BOOL LoadToolbar(UINT resourceId);
  /// Images 16 by 15.
  BOOL LoadToolbar(UINT bitmapId, const UINT* ids, int count);
  /// The bitmap's images (cut at imageSize, the classic colours mapped to the system's,
  /// the button-face colour and the alpha channel as the mask) for the ids in order; an id
  /// of 0 takes no image, an id mapped before keeps its first image. 0 (nothing changed)
  /// when the bitmap is missing or damaged, or its image size differs from the toolbars
  /// loaded before.
  BOOL LoadToolbar(UINT bitmapId, CSize imageSize, const UINT* ids, int count);

  CMenuRClickHook* GetRClickHook() const { return m_pRClickHook; }
  /// Answers the previous hook; the hook is not owned.
  CMenuRClickHook* SetRClickHook(CMenuRClickHook* hook);

  /// The window whose menus the manager draws; null before Install.
  CWnd* GetWindow() const { return m_pFrame; }
  const CImageList& GetButtonImages() const { return m_ilButtons; }
  CSize GetBitmapSize() const { return m_szBitmap; }
  CSize GetButtonSize() const { return m_szButton; }
  /// The image of a command, -1 when it has none.
  int FindButton(UINT id) const;
  /// Whether item data is one of this manager's records.
  bool IsMyItemData(ULONG_PTR data) const;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  /// Settings; read when menus are converted and drawn.
  int m_bShowButtons = 1;
  int m_bAutoAccel = 0;
  int m_bUseDrawState = 0;
  int m_bDrawDisabledButtonsInColor = 0;

  /// Loads toolbars and settings: the derived class's part of Reload().
  virtual void OnReload() = 0;
  /// Draws image index of images (null: the manager's list) for the item, centred in its
  /// button box; answers non-zero when it drew one (never for a negative index).
  virtual int DrawItemIcon(DRAWITEMSTRUCT* item, int imageIndex, CImageList* images);
  /// Drops the images, the button map, the sizes, the fonts, the accelerators and every
  /// record.
  virtual void Destroy();
  virtual BOOL OnMeasureItem(MEASUREITEMSTRUCT* item);
  virtual BOOL OnDrawItem(DRAWITEMSTRUCT* item);
  /// The menu-char answer (MNC_EXECUTE or MNC_SELECT and a position), 0 for none.
  virtual LRESULT OnMenuChar(UINT ch, UINT flags, CMenu* menu);
  virtual void OnMenuSelect(UINT id, UINT flags, HMENU menu);

 protected:
  /// Before the window's own handling (after false) restores the popup and its popups when
  /// converted; after it converts the popup.
  void OnInitMenuPopupEx(CMenu* menu, BOOL system, BOOL after);
  /// Makes the items owner-drawn (or plain again); answers whether any item is the
  /// manager's to draw.
  BOOL ConvertMenu(CMenu* menu, BOOL system, BOOL ownerDraw);
  /// Takes a copy of the table; each command's entries are chained from its last one.
  void LoadAccel(HACCEL table);
  /// Appends the command's accelerator names to text ("\tF12, Ctrl+O"); whether any was.
  BOOL AppendAccelName(CString& text, UINT id);
  BOOL Draw3DCheckmark(CDC& dc, const CRect& rect, BOOL selected, HBITMAP bitmap);
  void DrawMenuText(CDC& dc, CRect rect, const CString& text, COLORREF color);
  /// The button box of an item: the button size at its left edge, centred vertically.
  CRect ButtonRect(const RECT& item) const;
  LOGFONT GetMenuFont(bool bold);
  void RestoreAllMenus();

  CWnd* m_pFrame = nullptr;
  CImageList m_ilButtons;
  struct ButtonEntry {
    UINT id;
    int image;
  };
  std::vector<ButtonEntry> m_buttonMap;
  struct AccelEntry {
    UINT id;
    ACCEL* entry;
  };
  std::vector<AccelEntry> m_accelMap;
  HACCEL m_hAccel;
  std::vector<ACCEL> m_accel;
  std::list<HMENU> m_menuList;
  CSize m_szBitmap;
  CSize m_szButton;
  std::optional<LOGFONT> m_fontMenu;
  std::optional<LOGFONT> m_fontMenuBold;
  CObList m_lstItemData;
  CMenuRClickHook* m_pRClickHook = nullptr;
};
