/// \file
/// Dialog data exchange: CDataExchange and the DDX_ functions that move a member to its
/// control (loading) or back (saving, with validation). A text that does not read as the
/// member's kind of number is refused: the user is told why, the control gets the focus
/// (an edit's text selected), and the exchange stops by throwing CUserException, which
/// CDialog::UpdateData catches. A control id the dialog lacks is skipped.
#pragma once

#include "ZelExport.h"
#include "platform/base/exceptions/Exceptions.h"
#include "platform/user/dialog/Dialog.h"

/// Thrown when the user has been told of a refused entry; carries nothing more.
class ZEL_API CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
};

/// One exchange between a dialog's members and its controls, in one direction.
class ZEL_API CDataExchange {
 public:
  CDataExchange(CDialog* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

  /// The control an exchange is about to use (null when the dialog lacks it); a failure
  /// then points at it.
  CDialogItem* PrepareCtrl(int id);
  CDialogItem* PrepareEditCtrl(int id);
  /// Gives the last prepared control the focus (selecting an edit's text) and throws.
  [[noreturn]] void Fail();

  BOOL m_bSaveAndValidate;
  CDialog* m_pDlgWnd;
  int m_idLastControl = 0;
  BOOL m_bEditLastControl = FALSE;
};

/// A control's text.
ZEL_API void DDX_Text(CDataExchange* dx, int id, CString& value);
/// Numbers in the 32 bits of the platform's int and long; "%d"/"%u" when loading.
///@{
ZEL_API void DDX_Text(CDataExchange* dx, int id, int& value);
ZEL_API void DDX_Text(CDataExchange* dx, int id, UINT& value);
ZEL_API void DDX_Text(CDataExchange* dx, int id, long& value);
ZEL_API void DDX_Text(CDataExchange* dx, int id, unsigned long& value);
///@}
/// "%.15g" when loading.
ZEL_API void DDX_Text(CDataExchange* dx, int id, double& value);
/// The index of the checked radio button of the group that starts at firstId (-1: none).
ZEL_API void DDX_Radio(CDataExchange* dx, int firstId, int& value);
/// A check box's state (0, 1 or 2).
ZEL_API void DDX_Check(CDataExchange* dx, int id, int& value);
/// Lists: loading selects the first entry that begins with the text (case ignored);
/// saving gives the selected entry's text, empty when none is selected.
ZEL_API void DDX_LBString(CDataExchange* dx, int id, CString& value);
/// Combo boxes: the edit's text; loading also selects an entry beginning with it.
ZEL_API void DDX_CBString(CDataExchange* dx, int id, CString& value);
