// The integration: one set installed in one place, each service answering its engine from
// it (else its headless one), the os part handed to the os floor, and the choice of set a
// program makes before it faces people.
#include <gtest/gtest.h>

#include "platform/os/engines/OsEngines.h"
#include "platform/user/backend/HeadlessIntegration.h"
#include "platform/user/backend/IntegrationChoice.h"
#include "platform/user/fileicons/FileIcons.h"
#include "platform/user/gdi/PictureBackend.h"
#include "platform/user/input/Input.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/ui/UiBackend.h"
#include "platform/user/wnd/Desktop.h"
#include "platform/user/wnd/Presenter.h"
#include "tests/support/IntegrationScope.h"
#include "tests/support/RecordingPresenter.h"
#include "tests/support/ScriptedInput.h"
#include "tests/support/ScriptedUiBackend.h"
#include "tests/support/TestSupport.h"

namespace {

// Engines of the two families that have no headless engine; only who answers matters.
class NoDesktop : public zel_wnd::Desktop {
 public:
  void Present(bool) override {}
  int Run() override { return 0; }
  bool SavePicture(HWND, const std::string&, std::string*, SIZE*) override { return false; }
};
class NoPictures : public PictureBackend {
 public:
  bool CanWrite(const std::string&) const override { return false; }
  std::unique_ptr<Picture> NewPicture(const std::string&, int, int, std::string*) override {
    return nullptr;
  }
};

// Which engine each service's accessor answers now.
zel_user::Integration Answered() {
  zel_user::Integration a;
  a.presenter = &zel_wnd::CurrentPresenter();
  a.desktop = zel_wnd::CurrentDesktop();
  a.ui = &ZelUi();
  a.pictures = ZelPictureBackend();
  a.systemValues = &zel_system::Current();
  a.input = &zel_input::Current();
  a.fileIcons = &zel_shell::CurrentFileIcons();
  return a;
}

void ExpectSameEngines(const zel_user::Integration& got, const zel_user::Integration& want) {
  EXPECT_EQ(got.presenter, want.presenter);
  EXPECT_EQ(got.desktop, want.desktop);
  EXPECT_EQ(got.ui, want.ui);
  EXPECT_EQ(got.pictures, want.pictures);
  EXPECT_EQ(got.systemValues, want.systemValues);
  EXPECT_EQ(got.input, want.input);
  EXPECT_EQ(got.fileIcons, want.fileIcons);
}

class IntegrationTest : public ::testing::Test {
 protected:
  // Every engine of the set replaced, the os ones included.
  zel_user::Integration TestSet() {
    zel_user::Integration set;
    set.presenter = &presenter;
    set.desktop = &desktop;
    set.ui = &ui;
    set.pictures = &pictures;
    set.systemValues = &values;
    set.input = &input;
    set.fileIcons = &icons;
    set.os.failures = &reporter;
    return set;
  }

  zel_test::RecordingPresenter presenter;
  NoDesktop desktop;
  ScriptedUiBackend ui;
  NoPictures pictures;
  zel_system::FixedSystemValues values;
  zel_test::ScriptedInput input;
  zel_shell::FixedFileIcons icons;
  zel_test::RecordingFailureReporter reporter;
  zel_test::IntegrationScope scope;
};

TEST_F(IntegrationTest, NothingInstalledIsTheHeadlessSet) {
  scope.Install(zel_user::Integration());
  ExpectSameEngines(Answered(), zel_user::HeadlessIntegration());
  // The headless set leaves no family empty but the two a toolkit brings.
  const zel_user::Integration& headless = zel_user::HeadlessIntegration();
  for (const void* engine :
       {static_cast<const void*>(headless.presenter), static_cast<const void*>(headless.ui),
        static_cast<const void*>(headless.systemValues), static_cast<const void*>(headless.input),
        static_cast<const void*>(headless.fileIcons)})
    EXPECT_NE(engine, nullptr);
  // Installed as a whole, it answers the same.
  scope.Install(headless);
  ExpectSameEngines(Answered(), headless);
}

TEST_F(IntegrationTest, EveryServiceAnswersTheInstalledEngineAndTheOsPartGoesToItsFloor) {
  const zel_user::Integration before = zel_user::InstallIntegration(TestSet());
  ExpectSameEngines(Answered(), TestSet());
  ExpectSameEngines(zel_user::CurrentIntegration(), TestSet());
  EXPECT_EQ(zel_os::CurrentOsEngines().failures, &reporter);
  zel_os::ReportFailure("lost");
  EXPECT_EQ(reporter.texts, std::vector<std::string>{"lost"});
  // Installing answers what it replaced, os part included; putting that back restores it.
  const zel_user::Integration mine = zel_user::InstallIntegration(before);
  ExpectSameEngines(mine, TestSet());
  EXPECT_EQ(mine.os.failures, &reporter);
  EXPECT_EQ(zel_os::CurrentOsEngines().failures, before.os.failures);
}

TEST_F(IntegrationTest, AScopeReplacesSingleEnginesAndPutsTheSetBack) {
  scope.Install(zel_user::HeadlessIntegration());
  {
    zel_test::IntegrationScope inner;
    inner.Use(&input);
    inner.Use(&ui);
    zel_user::Integration want = zel_user::HeadlessIntegration();
    want.input = &input;
    want.ui = &ui;
    ExpectSameEngines(Answered(), want);
    input.SetTickCount(1234);
    EXPECT_EQ(GetTickCount(), 1234u);
  }
  ExpectSameEngines(Answered(), zel_user::HeadlessIntegration());
}

TEST_F(IntegrationTest, WithoutAToolkitEveryChoiceIsTheHeadlessSetOnTheConsole) {
  zel_test::IntegrationScope os;
  os.Use(&reporter);
  struct Case {
    const char* ui;
    const char* display;
  } cases[] = {{"", ""}, {"qt", ""}, {"console", ""}, {"", ":99"}, {"qt", ":99"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("ZEL_UI=") + c.ui + " DISPLAY=" + c.display);
    zel_test::ScopedEnv ui("ZEL_UI", c.ui);
    zel_test::ScopedEnv display("DISPLAY", c.display);
    const zel_user::Integration chosen = zel_user::ChooseIntegration();
    ExpectSameEngines(chosen, zel_user::HeadlessIntegration());
    EXPECT_EQ(chosen.ui, &ConsoleUi());
    // The host's os engines stay.
    EXPECT_EQ(chosen.os.failures, &reporter);
  }
}

}  // namespace
