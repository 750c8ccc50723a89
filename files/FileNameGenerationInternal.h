// GenerateFileSpec for a given system type (below 2: short names), so both rule sets can
// be exercised on any system.
#pragma once

#include "files/ZelFileSpec.h"

int GenerateFileSpecFor(int systemType, CZelFileSpec& spec, const CZelDirSpec& dir,
                        const char* name, int type, int flags);
