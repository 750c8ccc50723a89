// The Qt set, and its one registration with the core.
#include "platform/qt/QtIntegration.h"

#include "platform/qt/QtFileIcons.h"
#include "platform/qt/QtInput.h"
#include "platform/qt/QtPictureBackend.h"
#include "platform/qt/QtPresenter.h"
#include "platform/qt/QtSystemValues.h"
#include "platform/qt/QtUiBackend.h"

namespace zel_qt {
namespace {

[[maybe_unused]] const bool g_registered = [] {
  zel_user::RegisterToolkitIntegration(&QtIntegration);
  return true;
}();

}  // namespace

const zel_user::Integration& QtIntegration() {
  // Made on first use and never destroyed: engines may be read until the process ends.
  static const zel_user::Integration* const set = [] {
    auto* qt = new zel_user::Integration;
    qt->presenter = &PresenterInstance();
    qt->desktop = &DesktopInstance();
    qt->ui = &UiBackendInstance();
    qt->pictures = new QtPictureBackend;
    qt->systemValues = new QtSystemValues;
    qt->input = new QtInput;
    qt->fileIcons = new QtFileIcons;
    return qt;
  }();
  return *set;
}

}  // namespace zel_qt
