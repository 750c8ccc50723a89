// Installs a changed integration for its lifetime: single engines of the installed set
// replaced (Use), the os floor's among them, or a whole set (Install); the set before
// comes back when it ends. A failure reporter that records is here too.
// Usage:
//   zel_test::IntegrationScope scope;
//   zel_test::ScriptedInput input;
//   scope.Use(&input);
#pragma once

#include <string>
#include <vector>

#include "platform/os/engines/OsEngines.h"
#include "platform/user/integration/Integration.h"

namespace zel_test {

// Keeps every report; reports come on the thread that dispatched the failing message.
class RecordingFailureReporter : public zel_os::FailureReporter {
 public:
  void Report(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

class IntegrationScope {
 public:
  IntegrationScope() : m_previous(zel_user::CurrentIntegration()) {}
  ~IntegrationScope() { zel_user::InstallIntegration(m_previous); }
  IntegrationScope(const IntegrationScope&) = delete;
  IntegrationScope& operator=(const IntegrationScope&) = delete;

  void Install(const zel_user::Integration& set) { zel_user::InstallIntegration(set); }

  void Use(zel_wnd::Presenter* e) { Change(&zel_user::Integration::presenter, e); }
  void Use(zel_wnd::Desktop* e) { Change(&zel_user::Integration::desktop, e); }
  void Use(UiBackend* e) { Change(&zel_user::Integration::ui, e); }
  void Use(PictureBackend* e) { Change(&zel_user::Integration::pictures, e); }
  void Use(zel_system::SystemValues* e) { Change(&zel_user::Integration::systemValues, e); }
  void Use(zel_input::Input* e) { Change(&zel_user::Integration::input, e); }
  void Use(zel_shell::FileIconProvider* e) { Change(&zel_user::Integration::fileIcons, e); }
  void Use(zel_process::Launcher* e) {
    ChangeOs([&](zel_os::OsEngines& os) { os.launcher = e; });
  }
  void Use(zel_os::TreeWatchFactory e) {
    ChangeOs([&](zel_os::OsEngines& os) { os.treeWatch = e; });
  }
  void Use(zel_os::FailureReporter* e) {
    ChangeOs([&](zel_os::OsEngines& os) { os.failures = e; });
  }

 private:
  template <typename Engine>
  void Change(Engine* zel_user::Integration::*member, Engine* engine) {
    zel_user::Integration set = zel_user::CurrentIntegration();
    set.*member = engine;
    zel_user::InstallIntegration(set);
  }
  template <typename F>
  void ChangeOs(F change) {
    zel_user::Integration set = zel_user::CurrentIntegration();
    change(set.os);
    zel_user::InstallIntegration(set);
  }
  zel_user::Integration m_previous;
};

}  // namespace zel_test
