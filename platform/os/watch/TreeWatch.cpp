// Change notification for a folder tree: the engine in use; the system's engine is in the
// POSIX part.
#include "platform/os/watch/TreeWatch.h"

#include "platform/os/engines/OsEngines.h"
#include "platform/os/watch/posix/TreeWatch.inc"

namespace zel_watch {
std::shared_ptr<FolderReader> SystemFolderReader() {
  static const auto reader = std::make_shared<zel_posix_watch::DirentReader>();
  return reader;
}

std::unique_ptr<TreeWatch> NewSystemTreeWatch(std::shared_ptr<FolderReader> reader) {
  return std::make_unique<zel_posix_watch::InotifyTreeWatch>(reader ? std::move(reader)
                                                                    : SystemFolderReader());
}

std::unique_ptr<TreeWatch> NewTreeWatch() {
  zel_os::TreeWatchFactory factory = zel_os::CurrentOsEngines().treeWatch;
  return factory ? factory() : NewSystemTreeWatch();
}

}  // namespace zel_watch
