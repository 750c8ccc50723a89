/// \file
/// The integration: the one object through which a backend hands the platform its
/// replaceable engines, as a whole set. Each user-floor service asks it for its engine (the
/// presenter, the desktop, the user-interface backend, the picture backend, the system
/// values, the input and the file icons); installing a set hands its os part to the os
/// floor's own slot (OsEngines), so that floor never reaches up here.
///
/// Contract:
///  - A null engine leaves the family to its headless engine: the headless presenter, the
///    console, the fixed system values and file icons, the system's input. Headless there
///    is no desktop and no picture backend: a null one is the toolkit's, its library
///    loaded on first need (ToolkitIntegration), and none without a toolkit. Installing
///    nothing is running headless; HeadlessIntegration() (platform/user/backend) is that
///    set spelled out.
///  - The caller owns the engines. An installed engine must outlive its installation and
///    every call that may have read it: engines are read from any thread without a lock,
///    so replace a set only while no other thread is working through it.
///  - Installing replaces each engine at once for every thread; the set is not installed
///    as one atomic step, so a reader on another thread may see the old and the new set
///    mixed for that moment, never a torn engine.
///  - The toolkit's library (libzelutil-qt) registers its set once, when it loads; nothing
///    installs it but a host, a test, the program's choice (backend/IntegrationChoice.h)
///    or the toolkit's desktop when it presents the windows.
/// Usage:
/// ```
///   zel_user::Integration set = zel_user::CurrentIntegration();
///   set.input = &scripted;                       // replace one engine, keep the others
///   zel_user::Integration previous = zel_user::InstallIntegration(set);
///   ...
///   zel_user::InstallIntegration(previous);
/// ```
#pragma once

#include "ZelExport.h"
#include "platform/os/engines/OsEngines.h"

class UiBackend;
class PictureBackend;
namespace zel_wnd {
class Presenter;
class Desktop;
}  // namespace zel_wnd
namespace zel_system {
class SystemValues;
}
namespace zel_input {
class Input;
}
namespace zel_shell {
class FileIconProvider;
}

namespace zel_user {

/// The set of engines a backend installs as a whole.
struct Integration {
  zel_wnd::Presenter* presenter = nullptr;           ///< null: the headless presenter
  zel_wnd::Desktop* desktop = nullptr;               ///< null: the toolkit's, else none
  UiBackend* ui = nullptr;                           ///< null: the console
  PictureBackend* pictures = nullptr;                ///< null: the toolkit's, else none
  zel_system::SystemValues* systemValues = nullptr;  ///< null: the fixed values
  zel_input::Input* input = nullptr;                 ///< null: the system's clock
  zel_shell::FileIconProvider* fileIcons = nullptr;  ///< null: the fixed image list
  zel_os::OsEngines os;                              ///< null members: the system's
};

/// Installs the set; answers the set installed before.
///@{
ZEL_API Integration InstallIntegration(const Integration& integration);
ZEL_API Integration CurrentIntegration();
///@}

/// One engine of the installed set, null when the family is left to its headless engine;
/// what the services' accessors read. Defined for the seven engine types above.
template <typename Engine>
Engine* InstalledEngine();

/// The toolkit library's set, given once by the library as it loads (provide is called on
/// first need, so the set may start the toolkit's application then).
ZEL_API void RegisterToolkitIntegration(const Integration& (*provide)());
/// The toolkit's set, loading the toolkit library on first need (unless load is false);
/// null when there is none (the library cannot be loaded: a program with the core linked in
/// never loads it).
ZEL_API const Integration* ToolkitIntegration(bool load = true);

}  // namespace zel_user
