// zel tools menu and zel tools watch, run as a user runs them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>

#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTool = "[ToolUnitShortcut]\r\nInputType=0\r\nTarget=x\r\n";

class ToolsMenuCommandTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    fs::create_directories(Menu() + "/Analyze");
    zel_test::WriteFile(Menu() + "/Analyze/Blast.tq", kTool);
    zel_test::WriteFile(Menu() + "/Viewer.tq", kTool);
  }
  std::string Exe() const { return "--exe '" + tmp / "Programs" + "'"; }
  std::string Menu() const { return tmp / "Programs/Tools/Menu"; }
};

TEST_F(ToolsMenuCommandTest, TheBuiltInMenuGetsTheToolsAfterItsToolsPopup) {
  auto r = RunZel("tools menu " + Exe());
  ASSERT_EQ(r.status, 0) << r.err;
  // The two tools' identifiers follow the order the folder lists its files in.
  EXPECT_EQ(std::regex_replace(r.out, std::regex("\t4444[56]"), "\t#"),
            "&File\n  &Open...\t57601\n&Edit\n  &Copy\t57634\n&Tools\n  &Options...\t32771\n"
            "Viewer\t#\n&Analyze\n  Blast\t#\n&Help\n  &About...\t57664\n");
  r = RunZel("tools menu --json " + Exe());
  ASSERT_EQ(r.status, 0) << r.err;
  auto menu = nlohmann::json::parse(r.out);
  ASSERT_EQ(menu.size(), 6u);
  // The tools popup is enabled once registered; popups print id 0 and carry "popup".
  EXPECT_EQ(menu[2], nlohmann::json::parse(R"({"text":"&Tools","id":0,"state":0,"separator":false,
      "popup":[{"text":"&Options...","id":32771,"state":0,"separator":false}]})"));
  EXPECT_EQ(menu[3]["text"], "Viewer");
  EXPECT_EQ(menu[3]["id"].get<int>() + menu[4]["popup"][0]["id"].get<int>(), 44445 + 44446);
  EXPECT_FALSE(menu[3].contains("popup"));
  // The Analyze popup's lone separator made way for the tools.
  EXPECT_EQ(menu[4]["popup"].size(), 1u);
  EXPECT_FALSE(menu[4]["popup"][0].contains("popup"));
  // --position and --offset place the top-level tools.
  r = RunZel("tools menu --json --position 0 --offset 1 " + Exe());
  ASSERT_EQ(r.status, 0) << r.err;
  menu = nlohmann::json::parse(r.out);
  EXPECT_EQ(menu[1]["text"], "Viewer");
}

TEST_F(ToolsMenuCommandTest, AMenuFileIsReadWithItsMarksAndDefaults) {
  zel_test::WriteFile(tmp / "menu.json", R"([
    {"text": "Fixed", "id": 7, "state": 8},
    {"separator": true},
    {"text": "&Analyze", "popup": [{"text": "Dot plot", "id": 9, "state": 1}]},
    {"text": "T\u00e9l\u00e9", "id": 10}
  ])");
  auto r = RunZel("tools menu --json --menu '" + tmp / "menu.json" + "' " + Exe());
  ASSERT_EQ(r.status, 0) << r.err;
  auto menu = nlohmann::json::parse(r.out);
  ASSERT_EQ(menu.size(), 5u) << r.out;
  // No tools popup: the top-level tools go first. The checked item marked a position and
  // lost its check; the separator prints empty; the grayed item stays so.
  EXPECT_EQ(menu[0]["text"], "Viewer");
  EXPECT_EQ(menu[1]["text"], "Fixed");
  EXPECT_EQ(menu[1]["state"], 0);
  EXPECT_EQ(menu[2], nlohmann::json::parse(R"({"text":"","id":0,"state":0,"separator":true})"));
  ASSERT_EQ(menu[3]["popup"].size(), 3u);  // Dot plot, a separator, Blast
  EXPECT_EQ(menu[3]["popup"][0]["state"], 1);
  EXPECT_EQ(menu[3]["popup"][1]["separator"], true);
  EXPECT_EQ(menu[4]["text"], "T\u00e9l\u00e9");
}

TEST_F(ToolsMenuCommandTest, ABadMenuFileIsAUsageErrorNamingThePlace) {
  struct Case {
    const char* json;
    const char* message;
  } cases[] = {
      {R"([{"text":"A"},{"text":"B"},{"text":"C","popup":[{"id":"x"}]}])",
       "menu.json: [2].popup[0].id: expected a number"},
      {R"({"text":"A"})", "menu.json: expected an array of items"},
      {R"([3])", "menu.json: [0]: expected an object"},
      {R"([{"txt":"A"}])", "menu.json: [0].txt: unknown field"},
      {R"([{"text":1}])", "menu.json: [0].text: expected a string"},
      {R"([{"text":"A","id":70000}])", "menu.json: [0].id: expected a number from 0 to 65535"},
      {R"([{"text":"A","state":4}])", "menu.json: [0].state: expected a sum of 1 (grayed)"},
      {R"([{"separator":"yes"}])", "menu.json: [0].separator: expected true or false"},
      {R"([{"separator":true,"text":"x"}])", "menu.json: [0]: a separator has no text"},
      {R"([{"text":"P","id":3,"popup":[]}])", "menu.json: [0].id: a popup has no id"},
      {R"([{"text":"\u0100"}])", "menu.json: [0].text: expected characters up to U+00FF"},
      {"[{\"text\":\n", "menu.json: line 2, column 1: syntax error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    zel_test::WriteFile(tmp / "menu.json", c.json);
    auto r = RunZel("tools menu --menu '" + tmp / "menu.json" + "' " + Exe());
    EXPECT_EQ(r.status, 2);
    // The path as given, then the place.
    EXPECT_EQ(r.err.rfind("zel: tools menu: " + tmp / c.message, 0), 0u) << r.err;
    EXPECT_EQ(r.out, "");
  }
  auto r = RunZel("tools menu --menu missing.json " + Exe());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("missing.json"), std::string::npos);
  EXPECT_EQ(RunZel("tools menu --offset -1 " + Exe()).status, 2);
}

// A popup merged into the application's own (here with ten items, whose count in the
// popup's state once read as the separator bit) stays a popup, in text and in JSON.
TEST_F(ToolsMenuCommandTest, MergingNeverTurnsAPopupIntoASeparator) {
  const std::string exe = tmp / "exe", menu = exe + "/Tools/Menu";
  auto tq = [&](const std::string& rel, int inputType) {
    std::string target = "/opt/" + fs::path(rel).stem().string();
    std::replace(target.begin(), target.end(), ' ', '_');
    zel_test::WriteFile(menu + "/" + rel,
                        "[ToolUnitShortcut]\r\nInputType=" + std::to_string(inputType) +
                            "\r\nTarget=" + target + "\r\nDescription=d\r\nCommand=-x %1\r\n");
  };
  auto bare = [&](const std::string& rel) {
    zel_test::WriteFile(menu + "/" + rel, "[ToolUnitShortcut]\r\nTarget=/nothing\r\n");
  };
  auto url = [&](const std::string& rel) {
    std::string name = fs::path(rel).stem().string();
    std::string address;
    for (char c : name) address += c == ' ' ? std::string("%20") : std::string(1, c);
    zel_test::WriteFile(menu + "/" + rel,
                        "[InternetShortcut]\r\nURL=https://example.org/" + address + "\r\n");
  };
  for (const char* folder : {"Analyze/Seq 2", "GCY", "Primerx"})
    fs::create_directories(menu + "/" + folder);
  tq("a-b.tq", 0);
  tq("Dot plotY.tq", 2);
  tq("ZetaY.tq", 2);
  bare("TmY.tq");
  url("Analyze.url");
  tq("Analyze/Align.tq", 2);
  tq("Analyze/TmY.tq", 0);
  tq("Analyze/ZetaY.tq", 7);
  tq("Analyze/Seq 2/Dot plotY.tq", 2);
  tq("GCY/Tm.tq", 0);
  tq("GCY/Analyze.tq", 0);
  zel_test::WriteFile(menu + "/GCY/ORF.txt", "just notes\r\n");
  for (const char* name : {"Tools", "Web", "Map", "Dot plot"})
    url(std::string("Primerx/") + name + ".url");
  bare("Primerx/Tools 1.tq");
  zel_test::WriteFile(
      tmp / "menu.json",
      R"([{"text": "&File", "popup": [{"text": "GC cmd", "id": 631}, {"text": "Map cmd", "id": 961}], "state": 0}, {"text": "Seq 2 item", "id": 510, "state": 0}, {"text": "&Tools", "popup": [{"text": "Web cmd", "id": 447}, {"separator": true}], "state": 0}, {"text": "analyze", "popup": [{"text": "Seq 2 cmd", "id": 615}], "state": 0}, {"text": "Analyze", "popup": [{"separator": true}, {"separator": true}, {"text": "ORF cmd", "id": 237}], "state": 0}, {"text": "Help", "popup": [{"text": "Seq 2 cmd", "id": 273}], "state": 2}])");
  const std::string args = "tools menu --menu '" + tmp / "menu.json" + "' --main '" + tmp / "m" +
                           "' --exe '" + exe + "' --network '" + tmp / "n" + "'";
  for (const char* offset : {"", " --offset 1"}) {
    SCOPED_TRACE(offset);
    auto r = RunZel(args + offset);
    ASSERT_EQ(r.status, 0) << r.err;
    // Ids follow the folder's listing order: only texts, kinds and nesting are compared.
    EXPECT_EQ(std::regex_replace(r.out, std::regex("\t4[45]\\d\\d\\d"), "\t#"),
              "&File\n  GC cmd\t631\n  Map cmd\t961\nSeq 2 item\t510\n"
              "&Tools\n  Web cmd\t447\n  -\nanalyze\n  Seq 2 cmd\t615\n"
              "Analyze\n  -\n  -\n  ORF cmd\t237\n  -\n  Align\t#\n  Seq 2\n    Dot plotY\t#\n"
              "  TmY\t#\n  ZetaY\t#\n  -\n  Analyze\t#\n"
              "Help\n  Seq 2 cmd\t273\na-b\t#\nDot plotY\t#\n"
              "GCY\n  Analyze\t#\n  Tm\t#\n"
              "Primerx\n  Dot plot\t#\n  Map\t#\n  Tools\t#\n  Web\t#\nZetaY\t#\n");
    r = RunZel(args + offset + " --json");
    ASSERT_EQ(r.status, 0) << r.err;
    auto analyze = nlohmann::json::parse(r.out)[4];
    EXPECT_EQ(analyze["text"], "Analyze");
    EXPECT_EQ(analyze["separator"], false);
    ASSERT_EQ(analyze["popup"].size(), 10u);
    EXPECT_EQ(analyze["popup"][5]["popup"][0]["text"], "Dot plotY");
  }
}

// zel tools watch as a child process: its output read as it comes, Ctrl+C sent to it.
class Watcher {
 public:
  explicit Watcher(const std::string& command) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(fds[1], STDOUT_FILENO);
      ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    m_out = fds[0];
  }
  ~Watcher() {
    if (m_pid > 0 && !m_reaped) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
    }
    if (m_out >= 0) ::close(m_out);
  }
  // The next whole line within ms, or false.
  bool Line(std::string& line, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      const size_t end = m_buffer.find('\n');
      if (end != std::string::npos) {
        line = m_buffer.substr(0, end);
        m_buffer.erase(0, end + 1);
        return true;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd p{m_out, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      char chunk[256];
      const ssize_t n = ::read(m_out, chunk, sizeof chunk);
      if (n <= 0) return false;
      m_buffer.append(chunk, static_cast<size_t>(n));
    }
  }
  int Interrupt() {
    ::kill(m_pid, SIGINT);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_reaped = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

 private:
  pid_t m_pid = -1;
  int m_out = -1;
  bool m_reaped = false;
  std::string m_buffer;
};

TEST_F(ToolsMenuCommandTest, WatchPrintsEachChangeWithTheToolCountAndEndsCleanlyOnCtrlC) {
  Watcher watch("cd '" + tmp.str() + "' && exec '" + ZEL_BINARY + "' tools watch " + Exe() +
                " 2>err");
  // The watch is up once a change is seen: tools are added until one is.
  int added = 0;
  std::string line;
  while (added < 50) {
    zel_test::WriteFile(Menu() + "/Analyze/New" + std::to_string(added++) + ".tq", kTool);
    if (watch.Line(line, 200)) break;
  }
  ASSERT_EQ(line.rfind("change\t", 0), 0u) << line;
  // Every line counts the tools of the rebuilt menu; the last counts them all.
  const std::string all = "change\t" + std::to_string(2 + added);
  while (line != all) ASSERT_TRUE(watch.Line(line, 5000)) << "last line: " << line;
  // A tool deleted is a change too.
  fs::remove(Menu() + "/Viewer.tq");
  const std::string fewer = "change\t" + std::to_string(1 + added);
  while (line != fewer) ASSERT_TRUE(watch.Line(line, 5000)) << "last line: " << line;
  EXPECT_EQ(watch.Interrupt(), 0);
  EXPECT_EQ(zel_test::ReadFile(tmp / "err"), "");
}

}  // namespace
