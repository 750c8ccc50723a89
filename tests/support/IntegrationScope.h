// Installs a changed integration for its lifetime: single engines of the installed set
// replaced (Use), or a whole set (Install); the set before comes back when it ends.
// Usage:
//   zel_test::IntegrationScope scope;
//   zel_test::ScriptedInput input;
//   scope.Use(&input);
#pragma once

#include "platform/user/integration/Integration.h"

namespace zel_test {

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

 private:
  template <typename Engine>
  void Change(Engine* zel_user::Integration::*member, Engine* engine) {
    zel_user::Integration set = zel_user::CurrentIntegration();
    set.*member = engine;
    zel_user::InstallIntegration(set);
  }
  zel_user::Integration m_previous;
};

}  // namespace zel_test
