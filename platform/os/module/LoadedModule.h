/// \file
/// Entry points of optional modules that the host may have loaded: looked for among the
/// objects already in the process, never loaded here. A module is named as on the Windows
/// side ("Name.dll"); this system's shared objects are tried for it.
#pragma once

#include <string>
#include <vector>

#include "ZelExport.h"

namespace zel_module {

/// The names a Windows module name stands for here, in the order they are tried:
/// "Name.dll" gives "Name.so" and "libName.so" (the extension's case ignored); a name
/// without ".dll" is tried as it is and with the "lib" prefix.
ZEL_API std::vector<std::string> SharedObjectNames(const char* dllName);

/// The address of entry in the first loaded object named as above; null when none of them
/// is loaded or it does not export entry. The object stays loaded as long as whoever
/// loaded it keeps it.
ZEL_API void* FindLoadedEntry(const char* dllName, const char* entry);

}  // namespace zel_module
