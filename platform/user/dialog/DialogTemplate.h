/// \file
/// Dialog templates: a dialog's caption, font, size and controls (id, kind, text, style,
/// position and size in dialog units), declared by the application and registered by id,
/// and the conversion of dialog units to pixels.
///
/// Usage:
/// ```
///   DialogTemplate t;
///   t.id = 300;
///   t.caption = "Name";
///   t.cx = 180;
///   t.cy = 40;
///   t.items = {{10, DialogItemKind::Edit, "", WS_TABSTOP, 7, 7, 110, 12},
///              {IDOK, DialogItemKind::DefPushButton, "OK", WS_TABSTOP, 123, 7, 50, 14}};
///   ZelRegisterDialogTemplate(t);
/// ```
#pragma once

#include <memory>
#include <vector>

#include "ZelExport.h"
#include "platform/base/string/String.h"
#include "platform/base/types/WinTypes.h"
#include "platform/base/types/WinUser.h"

/// Control styles, with the platform's values (window styles are the window model's).
enum : DWORD {
  WS_TABSTOP = 0x00010000,
  WS_GROUP = 0x00020000,
  DS_SETFONT = 0x40,
  DS_MODALFRAME = 0x80,
  DS_CENTER = 0x800,
  ES_MULTILINE = 0x4,
  ES_PASSWORD = 0x20,
  ES_AUTOHSCROLL = 0x80,
  ES_READONLY = 0x800,
  SS_LEFT = 0x0,
  SS_CENTER = 0x1,
  SS_RIGHT = 0x2,
  LBS_NOTIFY = 0x1,
  LBS_SORT = 0x2,
  CBS_DROPDOWN = 0x2,
  CBS_DROPDOWNLIST = 0x3,
  CBS_AUTOHSCROLL = 0x40,
  CBS_SORT = 0x100,
};

/// The id of controls nobody asks for by id (labels).
constexpr int IDC_STATIC = -1;

enum class DialogItemKind {
  PushButton,
  DefPushButton,  ///< answers Enter
  CheckBox,       ///< checks and unchecks itself when clicked
  RadioButton,    ///< checks itself and unchecks the others of its group when clicked
  GroupBox,
  Text,
  Edit,
  ComboBox,  ///< CBS_DROPDOWN: with an edit; CBS_DROPDOWNLIST: a list only
  ListBox,
};

/// One control of a template: id, kind, text, style, position and size.
struct DialogItemTemplate {
  int id = IDC_STATIC;
  DialogItemKind kind = DialogItemKind::Text;
  CString text;
  /// WS_VISIBLE is implied; WS_DISABLED, WS_GROUP (a radio group starts here), WS_TABSTOP
  /// and the kind's own styles (ES_PASSWORD, CBS_DROPDOWNLIST, LBS_SORT, SS_CENTER, ...).
  DWORD style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  ///< dialog units
};

/// A dialog's template: caption, font, size and controls.
struct DialogTemplate {
  UINT id = 0;
  CString caption;
  CString faceName = "MS Shell Dlg";
  int pointSize = 8;
  int cx = 0, cy = 0;  ///< the client area, dialog units
  DWORD style = DS_MODALFRAME | DS_SETFONT;
  std::vector<DialogItemTemplate> items;
};

/// Registers a template under its id, replacing one registered before. Dialogs that run
/// keep the template they started with.
ZEL_API void ZelRegisterDialogTemplate(const DialogTemplate& dialogTemplate);
/// The template registered under id, null when none is.
ZEL_API std::shared_ptr<const DialogTemplate> ZelFindDialogTemplate(UINT id);

/// The dialog base units of a font: across, (the width of "A".."Z" "a".."z" / 26 + 1) / 2;
/// down, the font's height.
ZEL_API SIZE DialogBaseUnits(int alphabetWidth, int fontHeight);
/// A rectangle of dialog units in pixels: MulDiv(units, base across, 4) across and
/// MulDiv(units, base down, 8) down, from the corner and for the size alike.
ZEL_API RECT DialogUnitsToPixels(int x, int y, int cx, int cy, SIZE baseUnits);
