// Test engines of the os floor: a failure reporter that records, and a scope that replaces
// single engines of the installed set and puts the set back when it ends.
#pragma once

#include <string>
#include <vector>

#include "platform/os/engines/OsEngines.h"

namespace zel_test {

// Keeps every report; reports come on the thread that dispatched the failing message.
class RecordingFailureReporter : public zel_os::FailureReporter {
 public:
  void Report(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

class OsEnginesScope {
 public:
  OsEnginesScope() : m_previous(zel_os::CurrentOsEngines()) {}
  ~OsEnginesScope() { zel_os::InstallOsEngines(m_previous); }
  OsEnginesScope(const OsEnginesScope&) = delete;
  OsEnginesScope& operator=(const OsEnginesScope&) = delete;

  void Use(zel_process::Launcher* launcher) {
    Change([&](auto& e) { e.launcher = launcher; });
  }
  void Use(zel_os::TreeWatchFactory watch) {
    Change([&](auto& e) { e.treeWatch = watch; });
  }
  void Use(zel_os::FailureReporter* reporter) {
    Change([&](auto& e) { e.failures = reporter; });
  }

 private:
  template <typename F>
  void Change(F change) {
    zel_os::OsEngines engines = zel_os::CurrentOsEngines();
    change(engines);
    zel_os::InstallOsEngines(engines);
  }
  zel_os::OsEngines m_previous;
};

}  // namespace zel_test
