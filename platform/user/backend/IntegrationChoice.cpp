// The choice of the set a program faces people with.
#include "platform/user/backend/IntegrationChoice.h"

#include <cstdlib>
#include <cstring>

#include "platform/user/backend/HeadlessIntegration.h"
#include "platform/user/ui/UiBackend.h"

namespace zel_user {
namespace {

enum class Wanted { Either, Console, Toolkit };

Wanted WantedUi() {
  const char* ui = std::getenv("ZEL_UI");
  if (ui && std::strcmp(ui, "console") == 0) return Wanted::Console;
  if (ui && std::strcmp(ui, "qt") == 0) return Wanted::Toolkit;
  return Wanted::Either;
}

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
    if (const char* value = std::getenv(name); value && *value) return true;
  return false;
}

DesktopUiBackend* DesktopUiOf(const Integration* set) {
  return set ? dynamic_cast<DesktopUiBackend*>(set->ui) : nullptr;
}

}  // namespace

Integration ChooseIntegration() {
  const Wanted wanted = WantedUi();
  // A toolkit already in the process costs nothing to ask; loading one is for a display or
  // an explicit wish.
  const Integration* toolkit = ToolkitIntegration(/*load=*/false);
  if (!toolkit && (HasDisplay() || wanted == Wanted::Toolkit)) toolkit = ToolkitIntegration();
  DesktopUiBackend* desktopUi = DesktopUiOf(toolkit);
  const bool toolkitSet = desktopUi && (HasDisplay() || desktopUi->HostRunsApplication());

  Integration set = toolkitSet ? *toolkit : HeadlessIntegration();
  set.os = zel_os::CurrentOsEngines();
  switch (wanted) {
    case Wanted::Console:
      set.ui = &ConsoleUi();
      break;
    case Wanted::Toolkit:
      if (desktopUi) set.ui = desktopUi;
      break;
    case Wanted::Either:
      break;
  }
  if (set.ui == desktopUi && desktopUi) desktopUi->StartApplication();
  return set;
}

}  // namespace zel_user
