// Change notification for a folder tree: the engine in use; the system's engine is in the
// POSIX part.
#include "platform/watch/TreeWatch.h"

#include <atomic>

#include "platform/watch/posix/TreeWatch.inc"

namespace zel_watch {
namespace {
std::atomic<TreeWatchFactory> g_factory{nullptr};
}  // namespace

std::shared_ptr<FolderReader> SystemFolderReader() {
  static const auto reader = std::make_shared<zel_posix_watch::DirentReader>();
  return reader;
}

std::unique_ptr<TreeWatch> NewSystemTreeWatch(std::shared_ptr<FolderReader> reader) {
  return std::make_unique<zel_posix_watch::InotifyTreeWatch>(reader ? std::move(reader)
                                                                    : SystemFolderReader());
}

std::unique_ptr<TreeWatch> NewTreeWatch() {
  TreeWatchFactory factory = g_factory.load(std::memory_order_acquire);
  return factory ? factory() : NewSystemTreeWatch();
}

TreeWatchFactory SetTreeWatchFactory(TreeWatchFactory factory) {
  return g_factory.exchange(factory, std::memory_order_acq_rel);
}

}  // namespace zel_watch
