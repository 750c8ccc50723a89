/// \file
/// The controls of a running dialog: a CDialogItem per control of the template, of the
/// class its kind asks for (CButton, CStatic, CEdit, CListBox, CComboBox), holding what the
/// control shows. Changes made here are shown by the dialog's view; what a person does
/// comes in through CDialog's User* calls.
#pragma once

#include <vector>

#include "ZelExport.h"
#include "platform/user/dialog/DialogTemplate.h"
#include "platform/user/framework/Wnd.h"

class CDialog;

/// Button check states.
enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1 };
/// The answer of list and combo box calls that found nothing or failed.
enum : int { LB_ERR = -1, CB_ERR = -1 };

/// What a control shows.
struct DialogItemState {
  CString text;  ///< caption, edit text, a combo box's edit text
  bool enabled = true;
  bool visible = true;
  int check = BST_UNCHECKED;
  std::vector<CString> strings;  ///< list and combo box entries
  int curSel = -1;               ///< the selected entry, -1 for none
  int selStart = 0, selEnd = 0;  ///< the edit's selection, in characters
  char passwordChar = 0;         ///< 0: the text shows
};

/// A control of a running dialog, holding what the control shows.
class ZEL_API CDialogItem : public CWnd {
  DECLARE_DYNAMIC(CDialogItem)
 public:
  CDialogItem() = default;
  CDialogItem(const CDialogItem&) = delete;
  CDialogItem& operator=(const CDialogItem&) = delete;

  int GetDlgCtrlID() const { return m_template ? m_template->id : 0; }
  DialogItemKind Kind() const { return m_template->kind; }
  DWORD GetStyle() const { return m_template->style; }
  const DialogItemTemplate& Template() const { return *m_template; }
  /// The item's position in the template.
  int Index() const { return m_index; }
  CDialog* GetParent() const { return m_dialog; }
  const DialogItemState& State() const { return m_state; }

  void SetWindowText(const char* text);
  void GetWindowText(CString& text) const { text = m_state.text; }
  int GetWindowTextLength() const { return m_state.text.GetLength(); }
  /// Each answers the state before: whether it was disabled, visible.
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const { return m_state.enabled; }
  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const { return m_state.visible; }
  void SetFocus();

  /// Messages sent to the control (CDialog::SendDlgItemMessage); a plain control answers
  /// 0. A class that takes a control over (SubclassDlgItem) handles what it wants.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  /// Takes over the control id of a running dialog: this object then is the control, with
  /// what it shows, until the dialog's window goes. FALSE when there is no such control.
  BOOL SubclassDlgItem(int id, CDialog* dialog);

 protected:
  void Changed();
  DialogItemState m_state;

 private:
  friend class CDialog;
  const DialogItemTemplate* m_template = nullptr;
  CDialog* m_dialog = nullptr;
  int m_index = -1;
};

/// A push button, check box or radio button.
class ZEL_API CButton : public CDialogItem {
  DECLARE_DYNAMIC(CButton)
 public:
  int GetCheck() const { return m_state.check; }
  void SetCheck(int check);
};

/// A static text.
class ZEL_API CStatic : public CDialogItem {
  DECLARE_DYNAMIC(CStatic)
};

/// An edit field, with its selection and password character.
class ZEL_API CEdit : public CDialogItem {
  DECLARE_DYNAMIC(CEdit)
 public:
  /// Selects from start to end; end -1 (or past the text) is the end; start -1 selects
  /// nothing.
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void GetSel(int& start, int& end) const;
  /// 0 shows the text.
  void SetPasswordChar(char ch);
  char GetPasswordChar() const { return m_state.passwordChar; }
};

/// What list and combo boxes share: a list of strings (sorted by the kind's sort style,
/// without regard to case) with one selected entry.
class ZEL_API CListItems : public CDialogItem {
 public:
  int GetCount() const { return static_cast<int>(m_state.strings.size()); }
  int GetCurSel() const { return m_state.curSel; }
  /// -1 selects nothing; answers LB_ERR for an index outside the list.
  int SetCurSel(int index);
  int AddString(const char* text);
  int InsertString(int index, const char* text);  // -1: at the end
  int DeleteString(int index);                    // answers the count left
  void ResetContent();
  /// After start (-1: from the first), wrapping around; case is ignored. Exact: the whole
  /// entry equals text; else the entry begins with it.
  int FindStringExact(int start, const char* text) const;
  int FindString(int start, const char* text) const;
  /// Selects what FindString finds.
  int SelectString(int start, const char* text);

 protected:
  const CString* Entry(int index) const;
  /// The entry's length, and its text into *text when given; LB_ERR outside the list.
  int EntryText(int index, CString* text) const;

 private:
  int Find(int start, const char* text, bool exact) const;
  virtual void SelectionChanged() {}
  bool Sorted() const;
};

/// A list box.
class ZEL_API CListBox : public CListItems {
  DECLARE_DYNAMIC(CListBox)
 public:
  int GetText(int index, CString& text) const;  // the length, or LB_ERR
};

/// A combo box.
class ZEL_API CComboBox : public CListItems {
  DECLARE_DYNAMIC(CComboBox)
 public:
  int GetLBText(int index, CString& text) const;  // the length, or CB_ERR
  /// The selection in the combo box's edit, as CEdit::SetSel takes it.
  BOOL SetEditSel(int start, int end);
  /// Whether the combo box has an edit of its own (CBS_DROPDOWN).
  bool HasEdit() const;

 private:
  void SelectionChanged() override;
};
