// Watching a folder tree with the system's engine: folders made later, bursts, the folder
// going, and the stop.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/sync/Event.h"
#include "platform/watch/TreeWatch.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

using zel_watch::Wake;

class TreeWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = tmp / "tree";
    fs::create_directories(root + "/a/b");
    ASSERT_FALSE(watch->Start(root));
  }
  // Waits for the next wake-up, at most 5 s.
  Wake Next() { return watch->Wait(stop.Handle(), 5000); }
  // Nothing more arrives in a short while.
  bool Quiet() { return watch->Wait(stop.Handle(), 100) == Wake::TimedOut; }

  zel_test::TempDir tmp;
  std::string root;
  zel_sync::Event stop;
  std::unique_ptr<zel_watch::TreeWatch> watch = zel_watch::NewSystemTreeWatch();
};

TEST_F(TreeWatchTest, ChangesDeepInTheTreeAndInFoldersMadeLaterAreSeen) {
  zel_test::WriteFile(root + "/a/b/tool.tq", "x");
  EXPECT_EQ(Next(), Wake::Changed);
  ASSERT_TRUE(Quiet());
  fs::create_directories(root + "/new");
  EXPECT_EQ(Next(), Wake::Changed);
  ASSERT_TRUE(Quiet());
  zel_test::WriteFile(root + "/new/later.tq", "y");
  EXPECT_EQ(Next(), Wake::Changed);
  ASSERT_TRUE(Quiet());
  // A folder moved in from outside is watched too.
  fs::create_directories(tmp / "outside/inner");
  fs::rename(tmp / "outside", root + "/moved");
  EXPECT_EQ(Next(), Wake::Changed);
  ASSERT_TRUE(Quiet());
  zel_test::WriteFile(root + "/moved/inner/deep.tq", "z");
  EXPECT_EQ(Next(), Wake::Changed);
}

TEST_F(TreeWatchTest, ABurstIsOneWakeUp) {
  for (int i = 0; i < 50; ++i) zel_test::WriteFile(root + "/a/f" + std::to_string(i), "x");
  EXPECT_EQ(Next(), Wake::Changed);
  // All fifty were taken at once (no wake-up per file is left behind).
  EXPECT_TRUE(Quiet());
}

TEST_F(TreeWatchTest, TheFolderGoingEndsTheWatchAndAStopEndsAWait) {
  stop.Set();
  EXPECT_EQ(Next(), Wake::Stopped);
  stop.Reset();
  fs::remove_all(root);
  // Its contents going are changes; the folder itself going ends the watch.
  Wake w = Next();
  while (w == Wake::Changed) w = Next();
  EXPECT_EQ(w, Wake::Gone);
  EXPECT_EQ(Next(), Wake::Failed);
  EXPECT_TRUE(watch->Start(root));  // missing: cannot be watched
  zel_test::WriteFile(root, "a file, not a folder");
  EXPECT_TRUE(watch->Start(root));
}

}  // namespace
