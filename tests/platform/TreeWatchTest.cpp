// Watching a folder tree with the system's engine: folders made later, bursts, the folder
// going, and the stop; folders renamed, moved out and locked, a lost burst, a soak of
// random edits, and a walk stalled in a folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <random>
#include <thread>
#include <vector>

#include "platform/os/sync/Event.h"
#include "platform/os/watch/TreeWatch.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace zel_watch {
// Wake-ups by name in failure messages.
void PrintTo(Wake w, std::ostream* os) {
  static const char* const names[] = {"Changed", "Gone", "Stopped", "TimedOut", "Failed"};
  *os << names[static_cast<int>(w)];
}
}  // namespace zel_watch

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

// ---- the tree as people edit it ----

// The inotify watches this process holds, from its descriptors' information.
int WatchesHeld() {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fdinfo")) {
    std::ifstream info(entry.path());
    std::string line;
    while (std::getline(info, line)) count += line.rfind("inotify wd:", 0) == 0;
  }
  return count;
}

TEST_F(TreeWatchTest, RenamedFoldersAreFollowedAndFoldersMovedOutAreLet) {
  struct Step {
    const char* what;
    std::function<void()> edit;
    bool changes;  // whether the edit must bring a change (else nothing may come)
  };
  const std::string outside = tmp / "outside";
  fs::create_directories(outside);
  const std::vector<Step> steps = {
      {"a new folder", [&] { fs::create_directories(root + "/New Folder"); }, true},
      {"renamed", [&] { fs::rename(root + "/New Folder", root + "/Blast"); }, true},
      {"a tool in it", [&] { zel_test::WriteFile(root + "/Blast/a.tq", "x"); }, true},
      {"a folder in it", [&] { fs::create_directories(root + "/Blast/Sub"); }, true},
      {"a tool in that", [&] { zel_test::WriteFile(root + "/Blast/Sub/b.tq", "x"); }, true},
      {"a watched tree renamed", [&] { fs::rename(root + "/a", root + "/a2"); }, true},
      {"a folder deep in it", [&] { fs::create_directories(root + "/a2/b/New"); }, true},
      {"a tool in that", [&] { zel_test::WriteFile(root + "/a2/b/New/c.tq", "x"); }, true},
      {"moved to another folder", [&] { fs::rename(root + "/a2/b", root + "/Blast/b"); }, true},
      {"a tool in its folder", [&] { zel_test::WriteFile(root + "/Blast/b/New/d.tq", "x"); }, true},
      {"moved out", [&] { fs::rename(root + "/Blast", outside + "/Blast"); }, true},
      {"a tool in it outside", [&] { zel_test::WriteFile(outside + "/Blast/b/e.tq", "x"); }, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.edit();
    if (step.changes) {
      EXPECT_EQ(Next(), Wake::Changed);
    }
    EXPECT_TRUE(Quiet());
  }
  // The root and a2 are left.
  EXPECT_EQ(WatchesHeld(), 2);
}

TEST_F(TreeWatchTest, ALostBurstRescansTheWholeTree) {
  int limit = 0;
  std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> limit;
  if (limit <= 0 || limit > 1 << 20) GTEST_SKIP() << "the event queue has no usable limit";
  // Writes to two files in turn, never merged: the queue overflows, and what comes after
  // is lost.
  std::ofstream one(root + "/a/one"), two(root + "/a/two");
  for (int i = 0; i <= limit; ++i) {
    (i % 2 ? one : two) << 'x' << std::flush;
  }
  fs::create_directories(root + "/a/b/lost/deeper");
  fs::rename(root + "/a/b", root + "/b moved");
  EXPECT_EQ(Next(), Wake::Changed);
  while (watch->Wait(stop.Handle(), 0) == Wake::Changed) {
  }
  zel_test::WriteFile(root + "/b moved/lost/deeper/t.tq", "x");
  EXPECT_EQ(Next(), Wake::Changed);
  EXPECT_EQ(WatchesHeld(), 5);  // the root, a, b moved, lost, deeper
}

// As a user that root's permissions do not cover, so that a folder's mode counts: in a
// child process, whose exit status says whether the watch held.
TEST_F(TreeWatchTest, AFolderThatCannotBeWatchedIsWatchedOnceItsModeAllows) {
  const std::string shared = tmp / "shared";
  fs::create_directories(shared);
  fs::permissions(tmp.path(), fs::perms::all);
  fs::permissions(shared, fs::perms::all);
  // Forked, not started afresh: the child works in this test's folder.
  const std::string style = GTEST_FLAG_GET(death_test_style);
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(2);
        const std::string r = shared + "/tree";
        ::mkdir(r.c_str(), 0755);
        ::mkdir((r + "/locked").c_str(), 0);  // locked while the watch starts
        auto w = zel_watch::NewSystemTreeWatch();
        zel_sync::Event halt;
        auto expect = [&](const char* what, Wake wanted, int ms) {
          Wake got = w->Wait(halt.Handle(), ms);
          if (got == wanted) return;
          std::fprintf(stderr, "%s: woke %d, not %d\n", what, static_cast<int>(got),
                       static_cast<int>(wanted));
          std::_Exit(1);
        };
        if (w->Start(r)) std::_Exit(3);
        ::mkdir((r + "/new").c_str(), 0311);  // made without read permission
        expect("made", Wake::Changed, 5000);
        zel_test::WriteFile(r + "/new/t.tq", "x");
        expect("a tool in a folder that cannot be watched", Wake::TimedOut, 100);
        ::chmod((r + "/new").c_str(), 0755);
        expect("its mode", Wake::Changed, 5000);
        zel_test::WriteFile(r + "/new/u.tq", "x");
        expect("a tool in it once watched", Wake::Changed, 5000);
        ::chmod((r + "/locked").c_str(), 0755);
        expect("unlocked", Wake::Changed, 5000);
        ::mkdir((r + "/locked/deeper").c_str(), 0755);
        expect("a folder in the unlocked one", Wake::Changed, 5000);
        zel_test::WriteFile(r + "/locked/deeper/v.tq", "x");
        expect("a tool in that", Wake::Changed, 5000);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  GTEST_FLAG_SET(death_test_style, style);
}

// Random edits of a tool tree as people make them (folders made, renamed, moved in and
// out, removed, tools written, modes changed), each followed by a tool written in a random
// folder of the tree: every edit and every tool brings a change, and the watches held are
// the tree's folders, no more.
TEST_F(TreeWatchTest, SoakOfRandomEdits) {
  unsigned seed = std::random_device()();
  if (const char* given = std::getenv("ZEL_SOAK_SEED")) seed = std::stoul(given);
  SCOPED_TRACE("seed " + std::to_string(seed) + " (ZEL_SOAK_SEED repeats it)");
  std::mt19937 random(seed);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  const std::string outside = tmp / "outside";
  fs::create_directories(outside);
  std::vector<std::string> folders = {"", "/a", "/a/b"};  // below root
  int serial = 0;
  auto fresh = [&] { return (pick(4) ? "f" : "New Folder ") + std::to_string(++serial); };
  auto within = [](const std::string& p, const std::string& folder) {
    return p == folder || p.rfind(folder + "/", 0) == 0;
  };
  auto depth = [](const std::string& p) { return std::count(p.begin(), p.end(), '/'); };
  // A folder other than the root, and one of the tree outside of it, shallow enough.
  auto someFolder = [&] { return folders[1 + pick(folders.size() - 1)]; };
  auto parentOutside = [&](const std::string& x) {
    std::vector<std::string> fit;
    for (const auto& f : folders)
      if (!within(f, x) && depth(f) < 8) fit.push_back(f);
    return fit[pick(fit.size())];
  };
  auto drop = [&](const std::string& x) {
    std::erase_if(folders, [&](const std::string& f) { return within(f, x); });
  };
  for (int round = 0; round < 400; ++round) {
    const int op = folders.size() < 4 ? 0 : static_cast<int>(pick(7));
    std::string what;
    switch (op) {
      case 0: {
        const std::string f = folders[pick(folders.size())] + "/" + fresh();
        fs::create_directory(root + f);
        folders.push_back(f);
        what = "made " + f;
        break;
      }
      case 1: {
        const std::string x = someFolder(), to = parentOutside(x) + "/" + fresh();
        fs::rename(root + x, root + to);
        for (auto& f : folders)
          if (within(f, x)) f = to + f.substr(x.size());
        what = "renamed " + x + " to " + to;
        break;
      }
      case 2: {
        const std::string x = someFolder();
        fs::rename(root + x, outside + "/" + std::to_string(++serial));
        drop(x);
        what = "moved out " + x;
        break;
      }
      case 3: {
        const std::string made = outside + "/" + std::to_string(++serial);
        fs::create_directories(made + "/in/deeper");
        const std::string to = folders[pick(folders.size())] + "/" + fresh();
        fs::rename(made, root + to);
        folders.insert(folders.end(), {to, to + "/in", to + "/in/deeper"});
        what = "moved in " + to;
        break;
      }
      case 4: {
        const std::string x = someFolder();
        fs::remove_all(root + x);
        drop(x);
        what = "removed " + x;
        break;
      }
      case 5: {
        const std::string f = folders[pick(folders.size())];
        zel_test::WriteFile(root + f + "/t" + std::to_string(++serial) + ".tq", "x");
        what = "a tool in " + f;
        break;
      }
      default: {
        const std::string x = someFolder();
        fs::permissions(root + x, pick(2) ? fs::perms::all : fs::perms(0755));
        what = "the mode of " + x;
        break;
      }
    }
    SCOPED_TRACE("round " + std::to_string(round) + ": " + what);
    ASSERT_EQ(Next(), Wake::Changed);
    while (watch->Wait(stop.Handle(), 0) == Wake::Changed) {
    }
    const std::string probe = folders[pick(folders.size())];
    zel_test::WriteFile(root + probe + "/probe" + std::to_string(++serial) + ".tq", "x");
    ASSERT_EQ(Next(), Wake::Changed) << "a tool in " << probe;
    while (watch->Wait(stop.Handle(), 0) == Wake::Changed) {
    }
    if (round % 20 == 0) {
      ASSERT_EQ(WatchesHeld(), static_cast<int>(folders.size()));
    }
  }
  EXPECT_EQ(WatchesHeld(), static_cast<int>(folders.size()));
}
