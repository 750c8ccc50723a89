/// \file
/// Failures of the file services that the system has no error number for, as error codes
/// of their own category, so that messages carry words a person understands.
#pragma once

#include <system_error>

#include "ZelExport.h"

enum class ZelFsError {
  NotRegularFile = 1,  ///< a pipe, socket, device or folder where a file was expected
  ControlCharacter,    ///< a name or path holding a control character where none may be
};

/// The category of the library's file-system errors, and an error code of it.
///@{
ZEL_API const std::error_category& ZelFsCategory();
ZEL_API std::error_code make_error_code(ZelFsError e);
///@}

template <>
struct std::is_error_code_enum<ZelFsError> : std::true_type {};
