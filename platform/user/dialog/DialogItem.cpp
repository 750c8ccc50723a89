// The controls of a running dialog.
#include "platform/user/dialog/DialogItem.h"

#include <algorithm>

#include "platform/user/dialog/Dialog.h"

IMPLEMENT_DYNAMIC(CDialogItem, CWnd)
IMPLEMENT_DYNAMIC(CButton, CDialogItem)
IMPLEMENT_DYNAMIC(CStatic, CDialogItem)
IMPLEMENT_DYNAMIC(CEdit, CDialogItem)
IMPLEMENT_DYNAMIC(CListBox, CDialogItem)
IMPLEMENT_DYNAMIC(CComboBox, CDialogItem)

void CDialogItem::Changed() {
  if (m_dialog) m_dialog->ItemChanged(*this);
}

void CDialogItem::SetWindowText(const char* text) {
  m_state.text = text;
  // The caret goes to the start, as a new text leaves it.
  m_state.selStart = m_state.selEnd = 0;
  Changed();
}

BOOL CDialogItem::EnableWindow(BOOL enable) {
  const BOOL wasDisabled = !m_state.enabled;
  m_state.enabled = enable != FALSE;
  if (wasDisabled == m_state.enabled) Changed();
  // A control that loses its input cannot keep the focus.
  if (!m_state.enabled && m_dialog && m_dialog->GetFocusItem() == this)
    m_dialog->SetFocusItem(nullptr);
  return wasDisabled;
}

BOOL CDialogItem::ShowWindow(int command) {
  const BOOL wasVisible = m_state.visible;
  m_state.visible = command != SW_HIDE;
  if (wasVisible != m_state.visible) Changed();
  if (!m_state.visible && m_dialog && m_dialog->GetFocusItem() == this)
    m_dialog->SetFocusItem(nullptr);
  return wasVisible;
}

void CDialogItem::SetFocus() {
  if (m_dialog) m_dialog->SetFocusItem(this);
}

LRESULT CDialogItem::WindowProc(UINT, WPARAM, LPARAM) { return 0; }

BOOL CDialogItem::SubclassDlgItem(int id, CDialog* dialog) {
  return dialog && dialog->ReplaceItem(id, this);
}

void CButton::SetCheck(int check) {
  if (m_state.check == check) return;
  m_state.check = check;
  Changed();
}

void CEdit::SetSel(int start, int end, BOOL) {
  const int length = m_state.text.GetLength();
  if (start < 0) {
    m_state.selStart = m_state.selEnd = m_state.selEnd;
  } else {
    if (end < 0 || end > length) end = length;
    m_state.selStart = std::min(start, length);
    m_state.selEnd = end;
    if (m_state.selStart > m_state.selEnd) std::swap(m_state.selStart, m_state.selEnd);
  }
  Changed();
}

void CEdit::GetSel(int& start, int& end) const {
  start = m_state.selStart;
  end = m_state.selEnd;
}

void CEdit::SetPasswordChar(char ch) {
  m_state.passwordChar = ch;
  Changed();
}

bool CListItems::Sorted() const {
  return (GetStyle() & (Kind() == DialogItemKind::ListBox ? LBS_SORT : CBS_SORT)) != 0;
}

const CString* CListItems::Entry(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return &m_state.strings[static_cast<size_t>(index)];
}

int CListItems::SetCurSel(int index) {
  if (index < -1 || index >= GetCount()) {
    if (m_state.curSel != -1) {
      m_state.curSel = -1;
      SelectionChanged();
      Changed();
    }
    return LB_ERR;  // also for -1, which did what was asked
  }
  m_state.curSel = index;
  SelectionChanged();
  Changed();
  return index;
}

int CListItems::AddString(const char* text) {
  int index = GetCount();
  if (Sorted()) {
    const CString entry(text);
    index = 0;
    while (index < GetCount() &&
           m_state.strings[static_cast<size_t>(index)].CompareNoCase(entry) <= 0)
      ++index;
  }
  return InsertString(index, text);
}

int CListItems::InsertString(int index, const char* text) {
  if (index < 0 || index > GetCount()) index = GetCount();
  m_state.strings.insert(m_state.strings.begin() + index, CString(text));
  if (m_state.curSel >= index) ++m_state.curSel;
  Changed();
  return index;
}

int CListItems::DeleteString(int index) {
  if (index < 0 || index >= GetCount()) return LB_ERR;
  m_state.strings.erase(m_state.strings.begin() + index);
  if (m_state.curSel == index)
    m_state.curSel = -1;
  else if (m_state.curSel > index)
    --m_state.curSel;
  Changed();
  return GetCount();
}

void CListItems::ResetContent() {
  m_state.strings.clear();
  m_state.curSel = -1;
  Changed();
}

int CListItems::Find(int start, const char* text, bool exact) const {
  const int count = GetCount();
  if (count == 0) return LB_ERR;
  const CString wanted(text);
  if (start < -1 || start >= count) start = -1;
  for (int step = 1; step <= count; ++step) {
    const int index = (start + step) % count;
    const CString& entry = m_state.strings[static_cast<size_t>(index)];
    const CString part = exact ? entry : entry.Left(wanted.GetLength());
    if ((exact || entry.GetLength() >= wanted.GetLength()) && part.CompareNoCase(wanted) == 0)
      return index;
  }
  return LB_ERR;
}

int CListItems::FindStringExact(int start, const char* text) const {
  return Find(start, text, true);
}

int CListItems::FindString(int start, const char* text) const { return Find(start, text, false); }

int CListItems::SelectString(int start, const char* text) {
  const int index = FindString(start, text);
  if (index == LB_ERR) return LB_ERR;
  return SetCurSel(index);
}

int CListItems::EntryText(int index, CString* text) const {
  const CString* entry = Entry(index);
  if (!entry) return LB_ERR;
  if (text) *text = *entry;
  return entry->GetLength();
}

int CListBox::GetText(int index, CString& text) const { return EntryText(index, &text); }
int CComboBox::GetLBText(int index, CString& text) const { return EntryText(index, &text); }

bool CComboBox::HasEdit() const { return (GetStyle() & 0x3) == CBS_DROPDOWN; }

BOOL CComboBox::SetEditSel(int start, int end) {
  if (!HasEdit()) return CB_ERR;
  const int length = m_state.text.GetLength();
  if (start < 0) {
    m_state.selStart = m_state.selEnd;
  } else {
    m_state.selStart = std::min(start, length);
    m_state.selEnd = end < 0 || end > length ? length : end;
  }
  Changed();
  return TRUE;
}

// The edit shows the selected entry, and is emptied when nothing is selected.
void CComboBox::SelectionChanged() {
  const CString* entry = Entry(m_state.curSel);
  m_state.text = entry ? *entry : CString();
  m_state.selStart = 0;
  m_state.selEnd = m_state.text.GetLength();
}
