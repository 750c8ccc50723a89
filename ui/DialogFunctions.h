/// \file
/// Free functions of the suite's dialog layer: the parent for a dialog, running dialogs and
/// property sheets, and the exact-case search in list and combo boxes. The message boxes
/// are in platform/user/ui/ZelMessageBox.h.
#pragma once

#include "ZelExport.h"
#include "platform/user/dialog/PropertySheet.h"

/// The window to own a dialog: w itself.
ZEL_API CWnd* ZelDialogParent(CWnd* w);
/// Runs the dialog or sheet modally; answers its result (-1 for a null one).
///@{
ZEL_API INT_PTR ZelDoModal(CDialog* dialog);
ZEL_API INT_PTR ZelDoModal(CPropertySheet* sheet);
///@}

/// The index of the first entry equal to text with letter case respected, -1 for none
/// (or a null control).
///@{
ZEL_API int FindStringExactCase(CListBox* list, CString& text);
ZEL_API int FindStringExactCase(CComboBox* combo, CString& text);
///@}
