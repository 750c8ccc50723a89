// The suite's dialog base: its control helpers and message box.
#include "ui/ZelDialog.h"

#include "platform/user/ui/ZelMessageBox.h"

IMPLEMENT_DYNAMIC(CZelDialog, CDialog)

int CZelDialog::MessageBox(const char* text, const char* caption, UINT type) {
  return ZelMessageBox(this, text, caption, type, 0);
}

void CZelDialog::EnableDlgItem(int id, BOOL enable) {
  if (CDialogItem* item = GetDlgItem(id)) item->EnableWindow(enable);
}

void CZelDialog::ShowDlgItem(int id, BOOL show) {
  if (CDialogItem* item = GetDlgItem(id)) item->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CZelDialog::SetDlgItemFocus(int id) {
  if (CDialogItem* item = GetDlgItem(id)) item->SetFocus();
}

void CZelDialog::SetDlgItemText(int id, const char* text) {
  CDialogItem* item = GetDlgItem(id);
  if (!item) return;
  // Rewriting a control with its own text would move its caret and make it flicker.
  if (item->State().text == (text ? text : "")) return;
  item->SetWindowText(text ? text : "");
}
