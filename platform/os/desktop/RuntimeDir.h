// The user's runtime folder for a program started outside a session (a terminal over ssh,
// a service), where $XDG_RUNTIME_DIR is not set: a private folder of the user's own in a
// shared temporary folder, used only when it is beyond doubt theirs alone.
#pragma once

#include <string>

#include "ZelExport.h"

namespace zel_desktop {

// "<tempDir>/zelutil-runtime-<uid>", made with mode 0700 when missing; empty when what is
// at that name is not a real folder (a link is never followed) owned by the user with
// mode 0700, so that a folder another user planted there is never used or changed.
ZEL_API std::string PrivateRuntimeDir(const std::string& tempDir);

}  // namespace zel_desktop
