/// CEditNameDlg: the suite's general dialog for entering a name or a value, in an edit
/// (normal or wide), a combo box or a list box, with optional checks of what is entered.
/// The form and the checks are chosen by the style flags below.
#pragma once

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"
#include "ui/ZelDialog.h"

class ZEL_API CEditNameDlg : public CZelDialog {
  DECLARE_DYNAMIC(CEditNameDlg)
 public:
  static constexpr int kNotBlank =
      0x001;  ///< the text must hold a character other than white space
  static constexpr int kPassword = 0x002;  ///< the edit shows "*" for each character
  static constexpr int kDouble = 0x004;    ///< exchange the control with the double value
  static constexpr int kLong = 0x008;      ///< ... with the long value
  static constexpr int kULong = 0x010;     ///< ... with the unsigned long value instead of the text
  static constexpr int kInitData =
      0x020;  ///< exchange data at start; the list form selects the text's entry
  static constexpr int kWide = 0x040;      ///< the wider edit form
  static constexpr int kComboBox = 0x080;  ///< the combo box form
  static constexpr int kListBox = 0x100;   ///< the list box form, "Select"
  static constexpr int kDbValue = 0x200;   ///< the text must pass IsValidDbValue
  static constexpr int kDbId = 0x400;      ///< the text must pass IsValidDbID

  /// caption and prompt, when not null, replace the template's; they must outlive the
  /// dialog.
  CEditNameDlg(const char* caption, const char* prompt, int flags, CWnd* parent = nullptr);

  void SetName(const char* name) { m_name = name; }
  const CString& GetName() const { return m_name; }
  void SetDouble(double value) { m_double = value; }
  double GetDouble() const { return m_double; }
  /// 32 bits, as the platform's long.
  void SetLong(long value) { m_long = static_cast<LONG>(value); }
  long GetLong() const { return m_long; }
  void SetULong(unsigned long value) { m_ulong = static_cast<ULONG>(value); }
  unsigned long GetULong() const { return m_ulong; }
  /// Both append to the list the combo and list forms offer.
  void AddString(const char* text) { m_strings.AddTail(text); }
  void AddHistoryLine(const char* text) { m_strings.AddTail(text); }
  int GetFlags() const { return m_flags; }

  /// The template the flags choose.
  static UINT TemplateFor(int flags);

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;

 private:
  bool IsListForm() const { return (m_flags & kListBox) != 0; }
  bool IsEditForm() const { return !(m_flags & (kListBox | kComboBox)); }
  /// Moves the string list into the control, emptying it.
  void MoveStringsInto(CListItems& list);

  CString m_name;
  CStringList m_strings;
  double m_double = 0;
  LONG m_long = 0;
  ULONG m_ulong = 0;
  const char* m_caption;
  const char* m_prompt;
  int m_flags;
};
