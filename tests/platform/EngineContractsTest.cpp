// The engine contracts over the headless and test engines (the Qt engines: tests/qt).
#include "platform/user/backend/HeadlessIntegration.h"
#include "tests/support/EngineContracts.h"
#include "tests/support/RecordingPresenter.h"
#include "tests/support/ScriptedInput.h"
#include "tests/support/ScriptedUiBackend.h"

namespace zel_test {
namespace {

template <typename E>
Engine<E> Headless(E* zel_user::Integration::*member) {
  return {"Headless", [member] { return zel_user::HeadlessIntegration().*member; }};
}
template <typename E, typename Test>
Engine<E> TestEngine(const char* name) {
  return {name, [] {
            static Test engine;
            return static_cast<E*>(&engine);
          }};
}

INSTANTIATE_TEST_SUITE_P(
    Headless, PresenterContract,
    testing::Values(Headless(&zel_user::Integration::presenter),
                    TestEngine<zel_wnd::Presenter, RecordingPresenter>("Recording")),
    EngineName());
INSTANTIATE_TEST_SUITE_P(Headless, UiBackendContract,
                         testing::Values(Headless(&zel_user::Integration::ui),
                                         TestEngine<UiBackend, ScriptedUiBackend>("Scripted")),
                         EngineName());
INSTANTIATE_TEST_SUITE_P(Headless, SystemValuesContract,
                         testing::Values(Headless(&zel_user::Integration::systemValues)),
                         EngineName());
INSTANTIATE_TEST_SUITE_P(Headless, InputContract,
                         testing::Values(Headless(&zel_user::Integration::input),
                                         TestEngine<zel_input::Input, ScriptedInput>("Scripted")),
                         EngineName());
INSTANTIATE_TEST_SUITE_P(Headless, FileIconsContract,
                         testing::Values(Headless(&zel_user::Integration::fileIcons)),
                         EngineName());
// Only a toolkit brings a desktop and pictures.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DesktopContract);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(PictureBackendContract);

RecordingFailureReporter& Recorder() {
  static RecordingFailureReporter recorder;
  return recorder;
}
INSTANTIATE_TEST_SUITE_P(Os, FailureReporterContract,
                         testing::Values(Reporter{"System", nullptr, {}},
                                         Reporter{"Recording", &Recorder(),
                                                  [] {
                                                    std::string all;
                                                    for (const std::string& text : Recorder().texts)
                                                      all += text + "\n";
                                                    Recorder().texts.clear();
                                                    return all;
                                                  }}),
                         EngineName());

}  // namespace
}  // namespace zel_test
