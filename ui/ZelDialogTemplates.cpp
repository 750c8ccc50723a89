// The library's dialog templates: the four forms of the name entry and the two forms of
// the "Sequence Data" dialog, in dialog units.
#include "ui/ZelDialogTemplates.h"

#include <utility>
#include <vector>

#include "platform/user/dialog/DialogTemplate.h"
#include "platform/user/ui/UiBackend.h"

namespace {

using Kind = DialogItemKind;
constexpr DWORD kTab = WS_TABSTOP;
constexpr DWORD kGroupTab = WS_GROUP | WS_TABSTOP;

// The name entry: a prompt over the value control, OK and Cancel on the right.
DialogTemplate EditName(UINT id, int cx, int cy, Kind kind, DWORD style, int valueCy,
                        const char* caption = "") {
  const int buttonX = cx - 57;
  DialogTemplate t;
  t.id = id;
  t.caption = caption;
  t.cx = cx;
  t.cy = cy;
  t.items = {
      {IDC_EDIT_NAME_PROMPT, Kind::Text, "Name:", 0, 7, 7, buttonX - 14, 8},
      {IDC_EDIT_NAME_VALUE, kind, "", kGroupTab | style, 7, 18, buttonX - 14, valueCy},
      {IDOK, Kind::DefPushButton, "OK", kGroupTab, buttonX, 7, 50, 14},
      {IDCANCEL, Kind::PushButton, "Cancel", kTab, buttonX, 24, 50, 14},
  };
  return t;
}

DialogTemplate SelSeq(UINT id, int cy, std::vector<DialogItemTemplate> items) {
  DialogTemplate t;
  t.id = id;
  t.caption = "Sequence Data";
  t.cx = 166;
  t.cy = cy;
  t.items = std::move(items);
  return t;
}

}  // namespace

void ZelRegisterLibraryDialogTemplates() {
  ZelRegisterDialogTemplate(EditName(IDD_EDIT_NAME, 226, 58, Kind::Edit, ES_AUTOHSCROLL, 12));
  ZelRegisterDialogTemplate(EditName(IDD_EDIT_NAME_WIDE, 266, 58, Kind::Edit, ES_AUTOHSCROLL, 12));
  ZelRegisterDialogTemplate(EditName(IDD_EDIT_NAME_COMBO, 242, 58, Kind::ComboBox,
                                     CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 80));
  ZelRegisterDialogTemplate(EditName(IDD_EDIT_NAME_LIST, 243, 142, Kind::ListBox,
                                     LBS_NOTIFY | WS_VSCROLL | WS_BORDER, 117, "Select"));
  // Range and strand in group boxes, OK and Cancel on the right.
  ZelRegisterDialogTemplate(
      SelSeq(IDD_TOOL_SEL_SEQ, 105,
             {
                 {IDC_STATIC, Kind::GroupBox, "Range", 0, 7, 4, 98, 50},
                 {IDC_RANGE_WHOLE, Kind::RadioButton, "&Whole Sequence", kGroupTab, 14, 15, 86, 10},
                 {IDC_RANGE_SELECTION, Kind::RadioButton, "&Selection Only", 0, 14, 27, 86, 10},
                 {IDC_RANGE_CDS, Kind::RadioButton, "Current CDS &feature", 0, 14, 39, 86, 10},
                 {IDC_STRAND_GROUP, Kind::GroupBox, "Strand", WS_GROUP, 7, 58, 98, 40},
                 {IDC_STRAND_DIRECT, Kind::RadioButton, "&Direct", kGroupTab, 14, 69, 86, 10},
                 {IDC_STRAND_COMPLEMENTARY, Kind::RadioButton, "&Complementary", 0, 14, 81, 86, 10},
                 {IDOK, Kind::DefPushButton, "OK", kGroupTab, 112, 7, 47, 14},
                 {IDCANCEL, Kind::PushButton, "Cancel", kGroupTab, 112, 24, 47, 14},
             }));
  // The same controls in a compact layout: the ranges stacked, the strand in one row.
  ZelRegisterDialogTemplate(
      SelSeq(IDD_TOOL_SEL_SEQ_SHORT, 50,
             {
                 {IDC_RANGE_WHOLE, Kind::RadioButton, "&Whole Sequence", kGroupTab, 7, 4, 98, 10},
                 {IDC_RANGE_SELECTION, Kind::RadioButton, "&Selection Only", 0, 7, 14, 98, 10},
                 {IDC_RANGE_CDS, Kind::RadioButton, "Current CDS &feature", 0, 7, 24, 98, 10},
                 {IDC_STRAND_GROUP, Kind::Text, "Strand", WS_GROUP, 7, 37, 32, 8},
                 {IDC_STRAND_DIRECT, Kind::RadioButton, "&Direct", kGroupTab, 40, 36, 36, 10},
                 {IDC_STRAND_COMPLEMENTARY, Kind::RadioButton, "&Complementary", 0, 78, 36, 64, 10},
                 {IDOK, Kind::DefPushButton, "OK", kGroupTab, 112, 4, 47, 14},
                 {IDCANCEL, Kind::PushButton, "Cancel", kGroupTab, 112, 21, 47, 14},
             }));
}

namespace {

[[maybe_unused]] const bool g_registered = [] {
  ZelRegisterLibraryDialogTemplates();
  return true;
}();

}  // namespace
