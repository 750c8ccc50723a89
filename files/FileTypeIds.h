// File type ids by name, from the list in FileTypeIds.def, which the default table's rows
// follow (a test holds the two together).
#pragma once

enum ZelFileTypeId : int {
#define ZEL_FILE_TYPE(name, id) name = id,
#include "files/FileTypeIds.def"
#undef ZEL_FILE_TYPE
};

// The default table's ids, in its order.
inline constexpr int kDefaultFileTypeIds[] = {
#define ZEL_FILE_TYPE(name, id) id,
#include "files/FileTypeIds.def"
#undef ZEL_FILE_TYPE
};
