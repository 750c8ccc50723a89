// The name-entry dialog: its forms, data exchange and the checks on OK.
#include "ui/EditNameDlg.h"

#include "files/SequenceDetection.h"
#include "platform/user/dialog/DataExchange.h"
#include "ui/DialogFunctions.h"
#include "ui/ZelDialogTemplates.h"

IMPLEMENT_DYNAMIC(CEditNameDlg, CZelDialog)

UINT CEditNameDlg::TemplateFor(int flags) {
  if (flags & kListBox) return IDD_EDIT_NAME_LIST;
  if (flags & kComboBox) return IDD_EDIT_NAME_COMBO;
  if (flags & kWide) return IDD_EDIT_NAME_WIDE;
  return IDD_EDIT_NAME;
}

CEditNameDlg::CEditNameDlg(const char* caption, const char* prompt, int flags, CWnd* parent)
    : CZelDialog(TemplateFor(flags), parent),
      m_caption(caption),
      m_prompt(prompt),
      m_flags(flags) {}

void CEditNameDlg::MoveStringsInto(CListItems& list) {
  for (POSITION pos = m_strings.GetHeadPosition(); pos;) list.AddString(m_strings.GetNext(pos));
  m_strings.RemoveAll();
}

BOOL CEditNameDlg::OnInitDialog() {
  if (m_flags & kInitData) CZelDialog::OnInitDialog();
  CenterWindow();
  if (m_caption) SetWindowText(m_caption);
  if (m_prompt) SetDlgItemText(IDC_EDIT_NAME_PROMPT, m_prompt);
  CDialogItem* control = GetDlgItem(IDC_EDIT_NAME_VALUE);
  if (auto* list = dynamic_cast<CListBox*>(control)) {
    MoveStringsInto(*list);
    if (m_flags & kInitData) list->SetCurSel(FindStringExactCase(list, m_name));
  } else if (auto* combo = dynamic_cast<CComboBox*>(control)) {
    MoveStringsInto(*combo);
    combo->SetEditSel(0, -1);
  } else if (auto* edit = dynamic_cast<CEdit*>(control)) {
    edit->SetPasswordChar((m_flags & kPassword) ? '*' : 0);
    edit->SetSel(0, -1);
  }
  if (control) control->SetFocus();
  // The focus is placed.
  return FALSE;
}

void CEditNameDlg::DoDataExchange(CDataExchange* dx) {
  CZelDialog::DoDataExchange(dx);
  if (IsListForm()) {
    DDX_LBString(dx, IDC_EDIT_NAME_VALUE, m_name);
    return;
  }
  if (m_flags & kDouble) DDX_Text(dx, IDC_EDIT_NAME_VALUE, m_double);
  if (m_flags & kLong) DDX_Text(dx, IDC_EDIT_NAME_VALUE, m_long);
  if (m_flags & kULong)
    DDX_Text(dx, IDC_EDIT_NAME_VALUE, m_ulong);
  else
    DDX_Text(dx, IDC_EDIT_NAME_VALUE, m_name);
}

void CEditNameDlg::OnOK() {
  if (!(m_flags & (kNotBlank | kDbValue | kDbId))) {
    CZelDialog::OnOK();
    return;
  }
  CDialogItem* control = GetDlgItem(IDC_EDIT_NAME_VALUE);
  CString text;
  if (auto* list = dynamic_cast<CListBox*>(control)) {
    if (list->GetText(list->GetCurSel(), text) == LB_ERR) return;
  } else if (control) {
    control->GetWindowText(text);
  }
  bool ok = true;
  if (m_flags & kNotBlank) {
    CString trimmed = text;
    ok = !trimmed.Trim().IsEmpty();
  }
  if (ok && (m_flags & kDbId)) ok = IsValidDbID(text, this) != 0;
  if (ok && (m_flags & kDbValue)) ok = IsValidDbValue(text, this) != 0;
  if (ok) {
    CZelDialog::OnOK();
    return;
  }
  if (!control) return;
  control->SetFocus();
  if (auto* edit = dynamic_cast<CEdit*>(control)) edit->SetSel(0, -1);
}
