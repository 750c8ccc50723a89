// Persisted state under stress: concurrent writers, writers killed mid-write, state
// folders that are read-only or full, and names planted beside a store by someone else.
// Writers are real processes (fork), as in use.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "platform/os/fs/FileSystem.h"
#include "platform/os/fs/FsError.h"
#include "platform/os/profile/ProfileFile.h"
#include "platform/os/registry/Registry.h"
#include "platform/os/state/StateFile.h"
#include "tests/support/TestSupport.h"

namespace {

const ZelHive kHive = ZelHive::CurrentUser;
const char* const kKey = "Software\\Stress";

// A child process running body; it starts when Release is called, reports progress one
// byte per step through a pipe, and answers its exit status to Wait.
class Writer {
 public:
  explicit Writer(const std::function<bool(int step)>& body, int steps) {
    int go[2], progress[2];
    if (pipe(go) != 0 || pipe(progress) != 0) std::abort();
    m_pid = fork();
    if (m_pid == 0) {
      close(go[1]);
      close(progress[0]);
      char c;
      if (read(go[0], &c, 1) < 0) _exit(3);
      for (int i = 0; i < steps; ++i) {
        if (!body(i)) _exit(1);
        if (write(progress[1], "x", 1) != 1) _exit(4);
      }
      _exit(0);
    }
    close(go[0]);
    close(progress[1]);
    m_go = go[1];
    m_progress = progress[0];
  }
  ~Writer() {
    if (m_go >= 0) close(m_go);
    close(m_progress);
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  void Release() {
    close(m_go);
    m_go = -1;
  }
  // Blocks until the child has finished n more steps; false when it ended first.
  bool AwaitSteps(int n) {
    char buf[256];
    while (n > 0) {
      ssize_t got = read(m_progress, buf, std::min<size_t>(sizeof buf, static_cast<size_t>(n)));
      if (got <= 0) return false;
      n -= static_cast<int>(got);
      m_steps += static_cast<int>(got);
    }
    return true;
  }
  // Kills the child at once; the steps it reported before dying are then all counted.
  void Kill() {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
    char buf[256];
    for (ssize_t got; (got = read(m_progress, buf, sizeof buf)) > 0;)
      m_steps += static_cast<int>(got);
  }
  int StepsSoFar() const { return m_steps; }
  int Wait() {
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t m_pid = -1;
  int m_go = -1;
  int m_progress = -1;
  int m_steps = 0;
};

// Runs body in a child process that the system ends after some seconds: a call that
// would wait for ever shows as a signal instead of a test run that never ends. Answers
// body's result, or 128 and the signal.
int InChild(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) {
    alarm(10);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

mode_t ModeOf(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Sets the file-creation mask for its lifetime.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : m_old(::umask(mask)) {}
  ~ScopedUmask() { ::umask(m_old); }
  void Set(mode_t mask) { ::umask(mask); }

 private:
  mode_t m_old;
};

class StateReliabilityTest : public zel_test::ZelTest {
 protected:
  std::string Home() const { return tmp / "home"; }
};

// Two processes, each writing 1,000 entries of its own into one store at the same time.
TEST_F(StateReliabilityTest, ConcurrentWritersLoseNothing) {
  const int kEach = 1000;
  // On a memory file system the flushes cost nothing, so the test is quick; where mounts
  // are not allowed it runs on the disk, slower.
  zel_test::ScopedTmpfs memory(Home(), "64m");
  for (bool registry : {true, false}) {
    SCOPED_TRACE(registry ? "registry hive" : "profile file");
    auto writerBody = [registry](char who) {
      return [registry, who](int i) {
        std::string name = std::string(1, who) + std::to_string(i);
        if (registry)
          return zel_registry::SetString(kHive, kKey, name.c_str(), name.c_str()) == ERROR_SUCCESS;
        return WritePrivateProfileString("Stress", name.c_str(), name.c_str(), "stress.ini") != 0;
      };
    };
    Writer a(writerBody('a'), kEach), b(writerBody('b'), kEach);
    a.Release();
    b.Release();
    ASSERT_EQ(a.Wait(), 0);
    ASSERT_EQ(b.Wait(), 0);
    // One listing of the hive's key; the profile file is asked entry by entry.
    std::map<std::string, std::string> listed;
    if (registry) {
      zel_registry::KeyListing listing;
      ASSERT_EQ(zel_registry::ListKey(kHive, kKey, listing), ERROR_SUCCESS);
      for (const auto& [name, value] : listing.values) listed[name.str()] = value.data;
    }
    int missing = 0;
    for (char who : {'a', 'b'}) {
      for (int i = 0; i < kEach; ++i) {
        std::string name = std::string(1, who) + std::to_string(i);
        CString value;
        bool found;
        if (registry) {
          auto it = listed.find(name);
          found = it != listed.end();
          if (found) value = CString(it->second);
        } else {
          found = zel_profile::ReadEntry("stress.ini", "Stress", name.c_str(), value);
        }
        if (!found || value.str() != name) ++missing;
      }
    }
    EXPECT_EQ(missing, 0);
  }
}

// A writer killed at a random point leaves the old or the new state, never a damaged one.
TEST_F(StateReliabilityTest, KilledWriterLeavesOldOrNewState) {
  unsigned seed = static_cast<unsigned>(std::random_device{}());
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  // A large value makes each write long enough for a kill to land inside it.
  const std::string big(20000, 'z');
  std::set<int> present[2];  // per store: the entries known to be there
  int next[2] = {0, 0};
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int store = round % 2;  // 0: registry hive, 1: profile file
    auto read = [&](int i, CString& value) {
      std::string name = "e" + std::to_string(i);
      return store == 0
                 ? zel_registry::QueryString(kHive, kKey, name.c_str(), value) == ERROR_SUCCESS
                 : zel_profile::ReadEntry("killed.ini", "S", name.c_str(), value);
    };
    const int first = next[store];
    Writer w(
        [&, first](int i) {
          std::string name = "e" + std::to_string(first + i);
          std::string value = name + big;
          if (store == 0)
            return zel_registry::SetString(kHive, kKey, name.c_str(), value.c_str()) ==
                   ERROR_SUCCESS;
          return WritePrivateProfileString("S", name.c_str(), value.c_str(), "killed.ini") != 0;
        },
        1000);
    w.Release();
    ASSERT_TRUE(w.AwaitSteps(std::uniform_int_distribution<int>(0, 3)(random)));
    w.Kill();
    // Writes reported before the kill are complete; the one after them was in flight.
    const int inFlight = first + w.StepsSoFar();
    for (int i = first; i < inFlight; ++i) present[store].insert(i);
    CString value;
    for (int i : present[store]) {
      ASSERT_TRUE(read(i, value)) << "e" << i << " was written and is gone";
      EXPECT_EQ(value.str(), "e" + std::to_string(i) + big);
    }
    if (read(inFlight, value)) {
      EXPECT_EQ(value.str(), "e" + std::to_string(inFlight) + big) << "torn value";
      present[store].insert(inFlight);
    }
    EXPECT_FALSE(read(inFlight + 1, value));
    next[store] = inFlight + 1;
    // The file is whole: no torn last line, and a write finds nothing to set aside.
    std::string path = store == 0 ? zel_registry::HivePath(kHive).str()
                                  : zel_profile::ResolvePath("killed.ini").str();
    std::string bytes = zel_test::ReadFile(path);
    if (!bytes.empty()) {
      EXPECT_EQ(bytes.back(), '\n');
    }
    if (store == 0) {
      ASSERT_EQ(zel_registry::SetString(kHive, "Check", "x", std::to_string(round).c_str()),
                ERROR_SUCCESS);
      EXPECT_FALSE(std::filesystem::exists(path + ".bad"));
    }
  }
}

// Read-only and full state folders: writes answer failure, what was there stays.
TEST_F(StateReliabilityTest, ReadOnlyAndFullFoldersRefuseWritesAndKeepData) {
  std::string home = Home();
  zel_test::ScopedTmpfs small(home, "256k");
  if (!small.mounted()) GTEST_SKIP() << "mounts are not allowed here";

  ASSERT_EQ(zel_registry::SetString(kHive, kKey, "kept", "old"), ERROR_SUCCESS);
  ASSERT_TRUE(WritePrivateProfileString("S", "kept", "old", "app.ini"));
  std::string hiveBytes = zel_test::ReadFile(zel_registry::HivePath(kHive).str());
  std::string iniBytes = zel_test::ReadFile(zel_profile::ResolvePath("app.ini").str());
  auto unchanged = [&] {
    CString value;
    EXPECT_EQ(zel_registry::QueryString(kHive, kKey, "kept", value), ERROR_SUCCESS);
    EXPECT_EQ(value, "old");
    EXPECT_TRUE(zel_profile::ReadEntry("app.ini", "S", "kept", value));
    EXPECT_EQ(value, "old");
    EXPECT_EQ(zel_test::ReadFile(zel_registry::HivePath(kHive).str()), hiveBytes);
    EXPECT_EQ(zel_test::ReadFile(zel_profile::ResolvePath("app.ini").str()), iniBytes);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(home))
      EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
  };

  {
    SCOPED_TRACE("full");
    // Fill the file system to the last byte.
    std::string filler = home + "/filler";
    std::FILE* f = std::fopen(filler.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::string block(4096, 'f');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
    }
    std::fclose(f);
    for (int size : {1, 4096}) {
      std::string value(static_cast<size_t>(size) * 64, 'v');
      EXPECT_EQ(zel_registry::SetString(kHive, kKey, "kept", value.c_str()), ERROR_DISK_FULL);
      EXPECT_FALSE(WritePrivateProfileString("S", "kept", value.c_str(), "app.ini"));
    }
    unchanged();
    std::filesystem::remove(filler);
  }
  {
    SCOPED_TRACE("read-only");
    ASSERT_TRUE(small.RemountReadOnly());
    EXPECT_EQ(zel_registry::SetString(kHive, kKey, "kept", "new"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(zel_registry::SetString(ZelHive::ClassesRoot, "New", nullptr, "x"),
              ERROR_ACCESS_DENIED);
    EXPECT_FALSE(WritePrivateProfileString("S", "kept", "new", "app.ini"));
    EXPECT_FALSE(WritePrivateProfileString("S", "other", "new", "fresh.ini"));
    unchanged();
  }
}

// Links and files that someone else planted at the names of a store's temporary and lock
// are never followed, reused or given the store's contents; the store's own link, a store
// kept elsewhere on purpose, is followed.
TEST_F(StateReliabilityTest, PlantedNamesAreNeverFollowed) {
  ScopedUmask mask(022);
  const std::string victim = tmp / "victim";
  const std::string old = "[S]\r\nold=1\r\n";
  int held = -1;  // a temporary a live writer holds
  struct Case {
    const char* what;
    std::string name;  // the store's file name
    std::function<void(const std::string& store)> plant;
    bool writes;  // whether the write succeeds
    std::function<void(const std::string& store)> check;
  };
  auto existing = [&](const std::string& store) {
    zel_test::WriteFile(store, old);
    ::chmod(store.c_str(), 0600);
  };
  const Case cases[] = {
      {"a link at the old temporary's name", "zel.ini",
       [&](const std::string& store) {
         existing(store);
         ASSERT_EQ(::symlink(victim.c_str(), (store + ".tmp").c_str()), 0);
       },
       true,
       [&](const std::string& store) {
         EXPECT_EQ(zel_test::ReadFile(victim), "victim\n");
         EXPECT_FALSE(std::filesystem::is_symlink(store));
         EXPECT_EQ(ModeOf(store), 0600u);
       }},
      {"an open file at the old temporary's name", "zel.ini",
       [&](const std::string& store) {
         existing(store);
         zel_test::WriteFile(store + ".tmp", "planted");
         ::chmod((store + ".tmp").c_str(), 0666);
       },
       true, [&](const std::string& store) { EXPECT_EQ(ModeOf(store), 0600u); }},
      {"a link at the lock's name", "zel.ini",
       [&](const std::string& store) {
         existing(store);
         ASSERT_EQ(::symlink((tmp / "made-by-lock").c_str(), (store + ".lock").c_str()), 0);
       },
       false,
       [&](const std::string& store) {
         EXPECT_FALSE(std::filesystem::exists(tmp / "made-by-lock"));
         EXPECT_EQ(zel_test::ReadFile(store), old);
         EXPECT_EQ(zel_state::LastFailure().reason, std::errc::too_many_symbolic_link_levels);
       }},
      {"the store kept elsewhere through its own link", "zel.ini",
       [&](const std::string& store) {
         std::filesystem::create_directories(tmp / "elsewhere");
         zel_test::WriteFile(tmp / "elsewhere/real.ini", old);
         ::chmod((tmp / "elsewhere/real.ini").c_str(), 0640);
         ASSERT_EQ(::symlink((tmp / "elsewhere/real.ini").c_str(), store.c_str()), 0);
       },
       true,
       [&](const std::string& store) {
         EXPECT_TRUE(std::filesystem::is_symlink(store));
         EXPECT_EQ(zel_test::ReadFile(tmp / "elsewhere/real.ini"), old + "new=2\r\n");
         EXPECT_EQ(ModeOf(tmp / "elsewhere/real.ini"), 0640u);
       }},
      {"temporaries of killed writers, and one a writer holds", "zel.ini",
       [&](const std::string& store) {
         existing(store);
         std::string dir = store.substr(0, store.rfind('/') + 1);
         zel_test::WriteFile(dir + ".zel.ini.tmp.Left01", "left");
         ASSERT_EQ(::symlink(victim.c_str(), (dir + ".zel.ini.tmp.Link01").c_str()), 0);
         zel_test::WriteFile(dir + ".zel.ini.tmp.Held01", "held");
         held = ::open((dir + ".zel.ini.tmp.Held01").c_str(), O_RDONLY | O_CLOEXEC);
         ASSERT_EQ(::flock(held, LOCK_EX), 0);
       },
       true,
       [&](const std::string& store) {
         std::string dir = store.substr(0, store.rfind('/') + 1);
         EXPECT_FALSE(std::filesystem::exists(dir + ".zel.ini.tmp.Left01"));
         EXPECT_FALSE(std::filesystem::is_symlink(dir + ".zel.ini.tmp.Link01"));
         EXPECT_EQ(zel_test::ReadFile(victim), "victim\n");
         EXPECT_TRUE(std::filesystem::exists(dir + ".zel.ini.tmp.Held01"));
         ::close(held);
       }},
      {"a new store", "zel.ini", [&](const std::string&) { mask.Set(002); }, true,
       [&](const std::string& store) {
         mask.Set(022);
         EXPECT_EQ(ModeOf(store), 0664u);
       }},
      {"a name as long as a name can be", std::string(251, 'n') + ".ini", existing, true,
       [&](const std::string& store) {
         CString value;
         EXPECT_TRUE(zel_profile::ReadEntry(store.c_str(), "S", "old", value));
       }},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = tmp / ("case" + std::to_string(n++));
    std::filesystem::create_directories(dir);
    zel_test::WriteFile(victim, "victim\n");
    const std::string store = dir + "/" + c.name;
    c.plant(store);
    zel_state::ClearLastFailure();
    EXPECT_EQ(WritePrivateProfileString("S", "new", "2", store.c_str()) != 0, c.writes);
    if (c.writes) {
      CString value;
      EXPECT_TRUE(zel_profile::ReadEntry(store.c_str(), "S", "new", value));
      EXPECT_EQ(value, "2");
    }
    c.check(store);
  }
}

// A pipe, a folder or a device where a store should be is refused at once, in the
// profile files and the hives alike: nothing waits for a writer that never comes.
TEST_F(StateReliabilityTest, SpecialFilesAreRefusedWithoutWaiting) {
  struct Case {
    const char* what;
    std::function<void(const std::string& path)> make;
    std::error_code reason;
  } cases[] = {
      {"a pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
       ZelFsError::NotRegularFile},
      {"a folder", [](const std::string& p) { std::filesystem::create_directories(p); },
       std::make_error_code(std::errc::is_a_directory)},
      {"a link to a device",
       [](const std::string& p) { ASSERT_EQ(::symlink("/dev/null", p.c_str()), 0); },
       ZelFsError::NotRegularFile},
  };
  const std::string profile = zel_profile::ResolvePath("special.ini").str();
  const std::string hive = zel_registry::HivePath(kHive).str();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::create_directories(tmp / "home/profiles");
    std::filesystem::create_directories(tmp / "home/registry");
    c.make(profile);
    c.make(hive);
    int status = InChild([&] {
      CString value;
      if (zel_profile::ReadEntry("special.ini", "S", "e", value)) return 1;
      if (zel_state::LastFailure().reason != c.reason) return 2;
      if (WritePrivateProfileString("S", "e", "v", "special.ini")) return 3;
      if (zel_registry::QueryString(kHive, kKey, "e", value) != ERROR_ACCESS_DENIED) return 4;
      if (zel_registry::SetString(kHive, kKey, "e", "v") != ERROR_ACCESS_DENIED) return 5;
      return zel_state::LastFailure().reason == c.reason ? 0 : 6;
    });
    EXPECT_EQ(status, 0);
    for (const std::string& path : {profile, hive}) {
      EXPECT_FALSE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path)));
      std::filesystem::remove(path);
    }
  }
}

// Folders the state code makes get the mode every folder of the library gets.
TEST_F(StateReliabilityTest, FoldersAreMadeAsEveryFolder) {
  for (mode_t mask : {022, 0, 077}) {
    SCOPED_TRACE("umask " + std::to_string(mask));
    ScopedUmask scoped(mask);
    const std::string base = tmp / ("mask" + std::to_string(mask));
    ASSERT_FALSE(zel_state::MakeDirs((base + "/a/b").c_str()));
    ASSERT_FALSE(zel_fs::MakeDir((base + "/c").c_str()));
    for (const char* made : {"", "/a", "/a/b", "/c"})
      EXPECT_EQ(ModeOf(base + made), 0777u & ~mask) << made;
  }
}

}  // namespace
