/// \file
/// The templates of the library's own dialogs and their control ids. They are registered
/// when the library is loaded.
#pragma once

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"

enum : UINT {
  IDD_EDIT_NAME = 245,        ///< name entry, edit form
  IDD_EDIT_NAME_WIDE = 2001,  ///< name entry, wider edit
  IDD_EDIT_NAME_COMBO = 2020,
  IDD_EDIT_NAME_LIST = 2039,
  IDD_TOOL_SEL_SEQ = 2082,        ///< "Sequence Data"
  IDD_TOOL_SEL_SEQ_SHORT = 2083,  ///< "Sequence Data", compact
};

enum : int {
  IDC_EDIT_NAME_PROMPT = 507,
  IDC_EDIT_NAME_VALUE = 508,
  IDC_RANGE_WHOLE = 1101,  ///< the range radios: whole, selection, CDS feature
  IDC_RANGE_SELECTION = 1102,
  IDC_RANGE_CDS = 1103,
  IDC_STRAND_GROUP = 1104,
  IDC_STRAND_DIRECT = 1105,  ///< the strand radios: direct, complementary
  IDC_STRAND_COMPLEMENTARY = 1106,
};

/// Registers (again) the library's templates, replacing templates of the same ids.
ZEL_API void ZelRegisterLibraryDialogTemplates();
