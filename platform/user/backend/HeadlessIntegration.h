/// \file
/// The headless integration: every engine the platform answers with when no toolkit is
/// there, spelled out as one set. Assembled here, at the top of the user floor, because
/// only a folder above every service may name each service's headless engine; the slot
/// itself (integration/) stays at the bottom so that every service can read from it.
#pragma once

#include "ZelExport.h"
#include "platform/user/integration/Integration.h"

namespace zel_user {

/// The headless presenter, the console, the fixed system values and file icons and the
/// system's input, with the os floor's system engines (null); no desktop and no picture
/// backend. The engines live until the process ends.
ZEL_API const Integration& HeadlessIntegration();

}  // namespace zel_user
