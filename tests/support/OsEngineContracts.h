// What every engine of the os floor's families must do, written once: the launcher and the
// tree watch (the failure reporter's contract is in EngineContracts.h).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/os/process/Process.h"
#include "platform/os/watch/TreeWatch.h"
#include "tests/support/EngineName.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"

namespace zel_test {

// ---- launcher ----

struct LauncherEngine {
  std::string name;
  std::function<zel_process::Launcher*()> make;
  // The arguments after argv[0] the program was handed, once it has them; argv[1] is a
  // file the program may write them to.
  std::function<std::vector<std::string>(const std::string& file)> handed;
};
inline void PrintTo(const LauncherEngine& e, std::ostream* os) { *os << e.name; }

class LauncherContract : public testing::TestWithParam<LauncherEngine> {
 protected:
  TempDir tmp;
};

TEST_P(LauncherContract, AProgramGetsItsArgumentsUnchangedAndUnsplit) {
  // A program in a folder with a space that writes each argument on a line of its own.
  std::filesystem::create_directories(tmp / "my tools");
  const std::string program = tmp / "my tools/show";
  WriteFile(program,
            "#!/bin/sh\nout=$1\nshift\nfor a; do printf '%s\\n' \"$a\"; done > \"$out.part\"\n"
            "mv \"$out.part\" \"$out\"\n");
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  const std::string out = tmp / "args";
  const std::vector<std::string> argv = {program,       out,     "two words", "a\"quote",
                                         "back\\slash", "$HOME", "*"};
  ASSERT_FALSE(GetParam().make()->Spawn(program, argv));
  EXPECT_EQ(GetParam().handed(out), std::vector<std::string>(argv.begin() + 2, argv.end()));
}

// ---- tree watch ----

struct TreeWatchEngine {
  std::string name;
  std::function<std::unique_ptr<zel_watch::TreeWatch>()> make;
};
inline void PrintTo(const TreeWatchEngine& e, std::ostream* os) { *os << e.name; }

class TreeWatchContract : public testing::TestWithParam<TreeWatchEngine> {
 protected:
  void SetUp() override {
    watch = GetParam().make();
    ASSERT_NE(watch, nullptr);
    std::filesystem::create_directories(tmp / "tree/deep/er");
    ASSERT_EQ(::pipe(stop), 0);
  }
  void TearDown() override {
    watch->Stop();
    ::close(stop[0]);
    ::close(stop[1]);
  }
  std::unique_ptr<zel_watch::TreeWatch> watch;
  TempDir tmp;
  int stop[2] = {-1, -1};
};

TEST_P(TreeWatchContract, AMissingFolderCannotBeWatched) {
  EXPECT_TRUE(watch->Start(tmp / "missing"));
  WriteFile(tmp / "file", "");
  EXPECT_TRUE(watch->Start(tmp / "file"));
}

TEST_P(TreeWatchContract, AChangeDeepInTheTreeWakesTheWaitAndQuietTimesOut) {
  ASSERT_FALSE(watch->Start(tmp / "tree"));
  EXPECT_EQ(watch->Wait(stop[0], 20), zel_watch::Wake::TimedOut);
  WriteFile(tmp / "tree/deep/er/new.tq", "x");
  EXPECT_EQ(watch->Wait(stop[0], 5000), zel_watch::Wake::Changed);
  // A folder made later is watched too.
  std::filesystem::create_directories(tmp / "tree/later");
  EXPECT_EQ(watch->Wait(stop[0], 5000), zel_watch::Wake::Changed);
  WriteFile(tmp / "tree/later/made.tq", "x");
  EXPECT_EQ(watch->Wait(stop[0], 5000), zel_watch::Wake::Changed);
}

TEST_P(TreeWatchContract, AStopEndsTheWaitAndTheFolderGoneEndsTheWatch) {
  ASSERT_FALSE(watch->Start(tmp / "tree"));
  ASSERT_EQ(::write(stop[1], "x", 1), 1);
  EXPECT_EQ(watch->Wait(stop[0], 5000), zel_watch::Wake::Stopped);
  std::filesystem::remove_all(tmp / "tree");
  // The deletions inside may come first; the end comes within the deadline.
  zel_watch::Wake wake = zel_watch::Wake::Changed;
  EXPECT_TRUE(PollUntil([&] {
    wake = watch->Wait(-1, 100);
    return wake == zel_watch::Wake::Gone;
  })) << static_cast<int>(wake);
}

}  // namespace zel_test
