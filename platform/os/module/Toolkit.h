/// \file
/// The desktop toolkit's library (the Qt backend, libzelutil-qt), loaded on first need. A
/// program that runs on the shared core library and did not link the toolkit (zel does
/// not: most of its commands draw nothing, and the toolkit would cost every start) gets it
/// when it first asks for a picture, a desktop to show windows on, or the desktop's user
/// interface; the library registers its integration (its set of engines) as it loads.
#pragma once
#include <string>

#include "ZelExport.h"

namespace zel_module {

/// Loads the toolkit library beside the shared core library (else by the system's search)
/// once, unless it is in the process already; true when it is there afterwards. A program
/// with the core linked into itself never loads it: the toolkit library stands on the
/// shared core and would bring a second one.
ZEL_API bool EnsureToolkit();

/// The shared core library's version, as it was built ("2.0.0"), for a host's About.
ZEL_API const char* LibraryVersion();
/// The toolkit's name and version as its library gives them ("Qt 6.4.2"), the library
/// loaded on first need; empty when there is no toolkit.
ZEL_API std::string ToolkitVersion();
/// Called by the toolkit's library as it loads.
ZEL_API void RegisterToolkitVersion(const char* version);

}  // namespace zel_module
