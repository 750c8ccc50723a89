/// \file
/// The operating-system floor's replaceable engines, held in one slot: how programs and
/// documents are started, how a folder tree is watched, and where a failure that no caller
/// can take is reported. The user floor's integration fills the slot when it is installed
/// (so this floor never reaches up to it); what is left null is the system's own engine:
/// posix_spawn and xdg-open, inotify, a line on stderr.
/// Usage:
/// ```
///   zel_os::OsEngines engines = zel_os::CurrentOsEngines();
///   engines.launcher = &recorder;                // replace one engine, keep the others
///   zel_os::OsEngines previous = zel_os::InstallOsEngines(engines);
///   ...
///   zel_os::InstallOsEngines(previous);
/// ```
#pragma once

#include <memory>
#include <string>

#include "ZelExport.h"

namespace zel_process {
class Launcher;
}
namespace zel_watch {
class TreeWatch;
}

namespace zel_os {

/// Takes a failure that was caught where nobody could answer it (a window procedure or a
/// timer that threw, a background scan that failed). Called from any thread.
class ZEL_API FailureReporter {
 public:
  virtual ~FailureReporter() = default;
  virtual void Report(const std::string& text) = 0;
};

using TreeWatchFactory = std::unique_ptr<zel_watch::TreeWatch> (*)();

/// The floor's engines; a null one is the system's own.
struct OsEngines {
  zel_process::Launcher* launcher = nullptr;  ///< null: the system's
  TreeWatchFactory treeWatch = nullptr;       ///< null: inotify
  FailureReporter* failures = nullptr;        ///< null: a line on stderr
};

/// Installs the set, each engine at once for every thread; the engines must outlive their
/// installation. Answers the set installed before.
///@{
ZEL_API OsEngines InstallOsEngines(const OsEngines& engines);
ZEL_API OsEngines CurrentOsEngines();
///@}

/// Hands text to the installed reporter, else writes it as one line on stderr.
ZEL_API void ReportFailure(const std::string& text);

}  // namespace zel_os
