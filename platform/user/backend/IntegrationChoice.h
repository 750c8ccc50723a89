/// \file
/// The one place where a program of its own (zel) chooses the set it runs on before it
/// faces a person: the toolkit's integration or the headless one, then the user-interface
/// engine in it. A host that runs a toolkit application installs that toolkit's set itself.
/// Usage:
/// ```
///   zel_user::InstallIntegration(zel_user::ChooseIntegration());
///   dialog.DoModal();                 // a real dialog on a desktop, cancelled on a console
/// ```
#pragma once

#include "ZelExport.h"
#include "platform/user/integration/Integration.h"

namespace zel_user {

/// The toolkit's set when a display is there (DISPLAY or WAYLAND_DISPLAY) or the host
/// already runs the toolkit's application, else the headless set. ZEL_UI then replaces the
/// UI engine of that set alone: "console" the console; "qt" the toolkit's, its application
/// started (offscreen without a display), when the toolkit is there. The os engines are the
/// installed ones. Loads the toolkit library only when a display or ZEL_UI=qt calls for it.
ZEL_API Integration ChooseIntegration();

}  // namespace zel_user
