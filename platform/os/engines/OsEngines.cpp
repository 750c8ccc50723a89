// The operating-system floor's engine slot.
#include "platform/os/engines/OsEngines.h"

#include <atomic>
#include <cstdio>

namespace zel_os {
namespace {

// One atomic per engine: readers on other threads (a watch's scan, a launch) never lock,
// and an engine replaced alone never tears the others.
std::atomic<zel_process::Launcher*> g_launcher{nullptr};
std::atomic<TreeWatchFactory> g_treeWatch{nullptr};
std::atomic<FailureReporter*> g_failures{nullptr};

}  // namespace

OsEngines InstallOsEngines(const OsEngines& engines) {
  OsEngines previous;
  previous.launcher = g_launcher.exchange(engines.launcher, std::memory_order_acq_rel);
  previous.treeWatch = g_treeWatch.exchange(engines.treeWatch, std::memory_order_acq_rel);
  previous.failures = g_failures.exchange(engines.failures, std::memory_order_acq_rel);
  return previous;
}

OsEngines CurrentOsEngines() {
  OsEngines current;
  current.launcher = g_launcher.load(std::memory_order_acquire);
  current.treeWatch = g_treeWatch.load(std::memory_order_acquire);
  current.failures = g_failures.load(std::memory_order_acquire);
  return current;
}

void ReportFailure(const std::string& text) {
  if (FailureReporter* reporter = g_failures.load(std::memory_order_acquire)) {
    reporter->Report(text);
    return;
  }
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
}

}  // namespace zel_os
