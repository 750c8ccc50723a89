// Dialog data exchange.
#include "platform/user/dialog/DataExchange.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CUserException, CException)

CDialogItem* CDataExchange::PrepareCtrl(int id) {
  m_idLastControl = id;
  m_bEditLastControl = FALSE;
  return m_pDlgWnd->GetDlgItem(id);
}

CDialogItem* CDataExchange::PrepareEditCtrl(int id) {
  CDialogItem* item = PrepareCtrl(id);
  m_bEditLastControl = TRUE;
  return item;
}

void CDataExchange::Fail() {
  if (CDialogItem* item = m_pDlgWnd->GetDlgItem(m_idLastControl)) {
    if (m_bEditLastControl)
      if (auto* edit = dynamic_cast<CEdit*>(item)) edit->SetSel(0, -1);
    item->SetFocus();
  }
  throw CUserException();
}

namespace {

// Only blanks may stand around a number.
bool RestIsBlank(const char* end) {
  while (*end == ' ' || *end == '\t') ++end;
  return *end == 0;
}

[[noreturn]] void Refuse(CDataExchange* dx, const char* why) {
  AfxMessageBox(why, MB_OK | MB_ICONEXCLAMATION);
  dx->Fail();
}

// The text read as a whole number within [low, high]; unsigned numbers take no sign.
long long ReadWhole(CDataExchange* dx, const CString& text, long long low, long long high,
                    const char* why) {
  const char* start = text.GetString();
  while (*start == ' ' || *start == '\t') ++start;
  if (low == 0 && *start == '-') Refuse(dx, why);
  // A plus sign may lead, as the C library's reading allows; a number out of range is
  // refused, never clamped.
  if (start[0] == '+' && start[1] >= '0' && start[1] <= '9') ++start;
  long long value = 0;
  const auto [end, failure] = std::from_chars(start, start + std::strlen(start), value);
  if (failure != std::errc() || !RestIsBlank(end) || value < low || value > high) Refuse(dx, why);
  return value;
}

template <typename Number>
void ExchangeWhole(CDataExchange* dx, int id, Number& value, bool isSigned) {
  CDialogItem* item = dx->PrepareEditCtrl(id);
  if (!item) return;
  if (!dx->m_bSaveAndValidate) {
    CString text;
    if (isSigned)
      text.Format("%d", static_cast<int32_t>(value));
    else
      text.Format("%u", static_cast<uint32_t>(value));
    item->SetWindowText(text);
    return;
  }
  value = static_cast<Number>(
      isSigned
          ? ReadWhole(dx, item->State().text, INT32_MIN, INT32_MAX, "Please enter an integer.")
          : ReadWhole(dx, item->State().text, 0, UINT32_MAX, "Please enter a positive integer."));
}

CListItems* ListItem(CDataExchange* dx, int id) {
  return dynamic_cast<CListItems*>(dx->PrepareCtrl(id));
}

}  // namespace

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  CDialogItem* item = dx->PrepareEditCtrl(id);
  if (!item) return;
  if (dx->m_bSaveAndValidate)
    value = item->State().text;
  else
    item->SetWindowText(value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) { ExchangeWhole(dx, id, value, true); }
void DDX_Text(CDataExchange* dx, int id, UINT& value) { ExchangeWhole(dx, id, value, false); }
void DDX_Text(CDataExchange* dx, int id, long& value) { ExchangeWhole(dx, id, value, true); }
void DDX_Text(CDataExchange* dx, int id, unsigned long& value) {
  ExchangeWhole(dx, id, value, false);
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
  CDialogItem* item = dx->PrepareEditCtrl(id);
  if (!item) return;
  if (!dx->m_bSaveAndValidate) {
    CString text;
    text.Format("%.*g", DBL_DIG, value);
    item->SetWindowText(text);
    return;
  }
  const char* start = item->State().text.GetString();
  char* end = nullptr;
  const double read = std::strtod(start, &end);
  if (end == start || !RestIsBlank(end)) Refuse(dx, "Please enter a number.");
  value = read;
}

void DDX_Radio(CDataExchange* dx, int firstId, int& value) {
  CDialogItem* first = dx->PrepareCtrl(firstId);
  if (!first) return;
  const std::vector<CDialogItem*>& items = dx->m_pDlgWnd->Items();
  if (dx->m_bSaveAndValidate) value = -1;
  int index = 0;
  for (size_t i = static_cast<size_t>(first->Index()); i < items.size(); ++i) {
    CDialogItem* item = items[i];
    if (item != first && (item->GetStyle() & WS_GROUP)) break;
    if (item->Kind() != DialogItemKind::RadioButton) continue;
    if (dx->m_bSaveAndValidate) {
      if (item->State().check) value = index;
    } else {
      static_cast<CButton*>(item)->SetCheck(index == value);
    }
    ++index;
  }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  auto* button = dynamic_cast<CButton*>(dx->PrepareCtrl(id));
  if (!button) return;
  if (dx->m_bSaveAndValidate)
    value = button->GetCheck();
  else
    button->SetCheck(value);
}

void DDX_LBString(CDataExchange* dx, int id, CString& value) {
  CListItems* list = ListItem(dx, id);
  if (!list) return;
  if (dx->m_bSaveAndValidate) {
    const int sel = list->GetCurSel();
    value = sel >= 0 ? list->State().strings[static_cast<size_t>(sel)] : CString();
  } else {
    list->SelectString(-1, value);
  }
}

void DDX_CBString(CDataExchange* dx, int id, CString& value) {
  auto* combo = dynamic_cast<CComboBox*>(dx->PrepareCtrl(id));
  if (!combo) return;
  if (dx->m_bSaveAndValidate)
    value = combo->State().text;
  else if (combo->SelectString(-1, value) == CB_ERR && combo->HasEdit())
    combo->SetWindowText(value);
}
