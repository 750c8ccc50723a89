// The user floor's engine slot, and the toolkit's set.
#include "platform/user/integration/Integration.h"

#include <atomic>

#include "platform/os/module/Toolkit.h"

namespace zel_user {
namespace {

// One atomic per engine, as on the os floor: readers never lock, and an engine replaced
// alone never tears the others.
template <typename Engine>
constinit std::atomic<Engine*> g_engine{nullptr};

template <typename Engine>
Engine* Exchange(Engine* engine) {
  return g_engine<Engine>.exchange(engine, std::memory_order_acq_rel);
}

std::atomic<const Integration& (*)()> g_toolkit{nullptr};

}  // namespace

template <typename Engine>
Engine* InstalledEngine() {
  return g_engine<Engine>.load(std::memory_order_acquire);
}
template zel_wnd::Presenter* InstalledEngine<zel_wnd::Presenter>();
template zel_wnd::Desktop* InstalledEngine<zel_wnd::Desktop>();
template UiBackend* InstalledEngine<UiBackend>();
template PictureBackend* InstalledEngine<PictureBackend>();
template zel_system::SystemValues* InstalledEngine<zel_system::SystemValues>();
template zel_input::Input* InstalledEngine<zel_input::Input>();
template zel_shell::FileIconProvider* InstalledEngine<zel_shell::FileIconProvider>();

Integration InstallIntegration(const Integration& set) {
  Integration previous;
  previous.presenter = Exchange(set.presenter);
  previous.desktop = Exchange(set.desktop);
  previous.ui = Exchange(set.ui);
  previous.pictures = Exchange(set.pictures);
  previous.systemValues = Exchange(set.systemValues);
  previous.input = Exchange(set.input);
  previous.fileIcons = Exchange(set.fileIcons);
  previous.os = zel_os::InstallOsEngines(set.os);
  return previous;
}

Integration CurrentIntegration() {
  Integration current;
  current.presenter = InstalledEngine<zel_wnd::Presenter>();
  current.desktop = InstalledEngine<zel_wnd::Desktop>();
  current.ui = InstalledEngine<UiBackend>();
  current.pictures = InstalledEngine<PictureBackend>();
  current.systemValues = InstalledEngine<zel_system::SystemValues>();
  current.input = InstalledEngine<zel_input::Input>();
  current.fileIcons = InstalledEngine<zel_shell::FileIconProvider>();
  current.os = zel_os::CurrentOsEngines();
  return current;
}

void RegisterToolkitIntegration(const Integration& (*provide)()) {
  g_toolkit.store(provide, std::memory_order_release);
}

const Integration* ToolkitIntegration(bool load) {
  if (load && !g_toolkit.load(std::memory_order_acquire)) zel_module::EnsureToolkit();
  const Integration& (*provide)() = g_toolkit.load(std::memory_order_acquire);
  return provide ? &provide() : nullptr;
}

}  // namespace zel_user
