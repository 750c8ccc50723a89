/// \file
/// File type ids by name, from FileTypeIds.def, which also holds the default table's rows.
#pragma once

enum ZelFileTypeId : int {
#define ZEL_FILE_TYPE(name, value, ...) name = value,
#include "files/FileTypeIds.def"
#undef ZEL_FILE_TYPE
};
