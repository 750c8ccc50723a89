// The headless set.
#include "platform/user/backend/HeadlessIntegration.h"

#include "platform/user/fileicons/FileIcons.h"
#include "platform/user/input/Input.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/ui/UiBackend.h"
#include "platform/user/wnd/Presenter.h"

namespace zel_user {

const Integration& HeadlessIntegration() {
  static const Integration headless = [] {
    Integration set;
    set.presenter = &zel_wnd::DefaultPresenter();
    set.ui = &ConsoleUi();
    set.systemValues = &zel_system::Fixed();
    set.input = &zel_input::System();
    set.fileIcons = &zel_shell::FixedIcons();
    return set;
  }();
  return headless;
}

}  // namespace zel_user
