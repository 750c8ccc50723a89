// The engine contracts over the Qt set's engines, offscreen.
#include <QCoreApplication>

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtIntegration.h"
#include "platform/qt/QtPresenter.h"
#include "tests/support/EngineContracts.h"

namespace zel_test {
namespace {

template <typename E>
Engine<E> Qt(E* zel_user::Integration::*member) {
  return {"Qt",
          [member] {
            zel_qt::EnsureApplication();
            return zel_qt::QtIntegration().*member;
          },
          [] { QCoreApplication::processEvents(); }};
}

INSTANTIATE_TEST_SUITE_P(Qt, PresenterContract,
                         testing::Values(Qt(&zel_user::Integration::presenter)), EngineName());
INSTANTIATE_TEST_SUITE_P(Qt, UiBackendContract, testing::Values(Qt(&zel_user::Integration::ui)),
                         EngineName());
INSTANTIATE_TEST_SUITE_P(Qt, PictureBackendContract,
                         testing::Values(Qt(&zel_user::Integration::pictures)), EngineName());
INSTANTIATE_TEST_SUITE_P(Qt, SystemValuesContract,
                         testing::Values(Qt(&zel_user::Integration::systemValues)), EngineName());
INSTANTIATE_TEST_SUITE_P(Qt, InputContract, testing::Values(Qt(&zel_user::Integration::input)),
                         EngineName());
INSTANTIATE_TEST_SUITE_P(Qt, FileIconsContract,
                         testing::Values(Qt(&zel_user::Integration::fileIcons)), EngineName());

// Presenting installs the Qt set and serves the queue from Qt's loop; that ends with the
// test.
Engine<zel_wnd::Desktop> QtDesktop() {
  Engine<zel_wnd::Desktop> desktop = Qt(&zel_user::Integration::desktop);
  desktop.finish = [] { zel_qt::UninstallPresenter(); };
  return desktop;
}
INSTANTIATE_TEST_SUITE_P(Qt, DesktopContract, testing::Values(QtDesktop()), EngineName());

// The os floor's engines are the system's and the tests' (tests/platform).
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FailureReporterContract);

}  // namespace
}  // namespace zel_test
