/// \file
/// First-run settings defaults: on an application's first run for a user, entries of its
/// store that are still empty are filled from defaults files (one the host names in the
/// profiles folder, and "defaults.ini" in the main data folder). The user's values win.
#pragma once

#include "ZelExport.h"
#include "files/ZelFileSpec.h"
#include "platform/base/string/String.h"

/// Runs once: when the integer flagEntry of section "common setup" is still 0, imports
/// profileFile (when its own "common setup" entry profileEntry is non-zero) and MAINDIR's
/// "defaults.ini", then sets the flag to 1.
ZEL_API void SetNewProfileDefaults(CString flagEntry, CString profileFile, CString profileEntry);
/// Fills the empty entries of the application store from one defaults file; a file that
/// cannot be read is skipped silently.
ZEL_API void SetProfileDefaultsFromFile(const CZelFileSpec& file);
