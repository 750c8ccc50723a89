// Running tools: the Windows argument rules, the launch rule, the input-type table and
// the command line, the failure messages, the entry points; and real children: plain
// text arguments, reaping, no inherited descriptors.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <ios>
#include <random>
#include <string>
#include <vector>

#include "layout/DirectoryLayout.h"
#include "platform/os/process/Process.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/framework/FrameWnd.h"
#include "tests/support/IntegrationScope.h"
#include "tests/support/RecordingLauncher.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"
#include "tools/AppTools.h"

namespace fs = std::filesystem;

namespace {

using zel_test::ReadFile;
using zel_test::WriteFile;
using Args = std::vector<std::string>;

// The rules of CommandLineToArgvW for the arguments after the program's name.
TEST(WindowsArguments, Table) {
  struct Row {
    const char* line;
    Args args;
  };
  const std::vector<Row> rows = {
      {"", {}},
      {"  \t ", {}},
      {"a b\tc", {"a", "b", "c"}},
      {R"("a b" c)", {"a b", "c"}},
      {R"(a" b "c)", {"a b c"}},
      {R"(\"a\")", {"\"a\""}},
      {R"(a\\\"b)", {"a\\\"b"}},
      {R"(a\\"b c")", {"a\\b c"}},
      {R"(C:\dir\ x)", {"C:\\dir\\", "x"}},
      {R"("C:\My Data\a.fa")", {"C:\\My Data\\a.fa"}},
      {R"("C:\dir\\" x)", {"C:\\dir\\", "x"}},
      // The "" cases: every third of consecutive quotes is a literal quote.
      {R"(a "" b)", {"a", "", "b"}},
      {R"("")", {""}},
      {R"(-x  "")", {"-x", ""}},
      {R"("a""b")", {"a\"b"}},
      {R"("a""b c")", {"a\"b", "c"}},
      {R"("""")", {"\""}},
      {R"("""a b""")", {"\"a", "b\""}},
      {R"(a""b)", {"ab"}},
      {R"(a"""b)", {"a\"b"}},
      {R"("unterminated b)", {"unterminated b"}},
      {"x;y $(id) `id` 'q'", {"x;y", "$(id)", "`id`", "'q'"}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(zel_process::SplitWindowsArguments(row.line), row.args) << row.line;
}

// Quoting is the splitter's inverse: any bytes (quotes, backslashes, blanks, tabs, bytes of
// 128 and above) come back as exactly one argument.
TEST(WindowsArguments, QuotingRoundTrips) {
  unsigned seed = std::random_device()();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  const std::string alphabet = std::string("\"\\ \ta-\xe9\xff") + "x";
  for (int i = 0; i < 5000; ++i) {
    std::string value;
    for (size_t n = random() % 12; n > 0; --n) value += alphabet[random() % alphabet.size()];
    const std::string quoted = zel_process::QuoteWindowsArgument(value);
    ASSERT_EQ(zel_process::SplitWindowsArguments(quoted.c_str()), (Args{value})) << quoted;
    // Between other arguments too: nothing spills over.
    ASSERT_EQ(zel_process::SplitWindowsArguments(("-a " + quoted + " -b").c_str()),
              (Args{"-a", value, "-b"}))
        << quoted;
  }
}

TEST(LaunchRule, Routes) {
  EXPECT_TRUE(zel_process::HasUrlScheme("https://a.example/"));
  EXPECT_TRUE(zel_process::HasUrlScheme("mailto:a@b"));
  EXPECT_FALSE(zel_process::HasUrlScheme("C:\\x.exe"));
  EXPECT_FALSE(zel_process::HasUrlScheme("a1:x"));
  EXPECT_FALSE(zel_process::HasUrlScheme("/usr/bin/x:y"));
  using P = zel_process::LaunchPlan;
  EXPECT_EQ(zel_process::PlanLaunch("https://a.example/", "x").route, P::Open);
  P sh = zel_process::PlanLaunch("sh", "-c \"echo hi\"");
  EXPECT_EQ(sh.route, P::Spawn);
  EXPECT_EQ(sh.argv, (Args{sh.program, "-c", "echo hi"}));
  EXPECT_EQ(zel_process::PlanLaunch("/bin/sh", "").route, P::Spawn);
  zel_test::TempDir tmp;
  WriteFile(tmp / "doc.txt", "x");
  P doc = zel_process::PlanLaunch((tmp / "doc.txt").c_str(), "ignored");
  EXPECT_EQ(doc.route, P::Open);
  EXPECT_EQ(doc.program, tmp / "doc.txt");
  EXPECT_EQ(zel_process::PlanLaunch(tmp.str().c_str(), "").route, P::Open);  // a folder
  EXPECT_EQ(zel_process::PlanLaunch((tmp / "missing").c_str(), "").route, P::Missing);
  EXPECT_EQ(zel_process::PlanLaunch("no-such-program-here", "").route, P::Missing);
  EXPECT_EQ(zel_process::PlanLaunch("", "").route, P::Missing);
  // A relative path is never taken from the working folder, only from the base given.
  EXPECT_EQ(zel_process::PlanLaunch(".", "").route, P::Missing);
  EXPECT_EQ(zel_process::PlanLaunch("..", "").route, P::Missing);
  P relative = zel_process::PlanLaunch("doc.txt", "", tmp.str().c_str());
  EXPECT_EQ(relative.route, P::Open);
  EXPECT_EQ(relative.program, tmp / "doc.txt");
}

// Only the web's schemes go to the opener, whatever their case; the rest are refused.
TEST(LaunchRule, Schemes) {
  using P = zel_process::LaunchPlan;
  const std::vector<std::pair<const char*, P::Route>> rows = {
      {"http://a.example/", P::Open},     {"HTTPS://a.example/", P::Open},
      {"ftp://a.example/f", P::Open},     {"mailto:a@b.example", P::Open},
      {"file:///bin/sh", P::Refused},     {"javascript:alert(1)", P::Refused},
      {"data:text/html,x", P::Refused},   {"smb://host/share", P::Refused},
      {"FILE:///etc/passwd", P::Refused}, {"vbscript:x", P::Refused},
  };
  for (const auto& [target, route] : rows) {
    SCOPED_TRACE(target);
    EXPECT_EQ(zel_process::PlanLaunch(target, "").route, route);
  }
  EXPECT_EQ(zel_process::UrlScheme("FILE:///x"), "file");
  EXPECT_EQ(zel_process::UrlScheme("/x:y"), "");
}

// The system's reasons keep their meaning whichever category carries them (spawning gives
// generic codes, the file system's calls system ones); another category's equal number
// means something else.
TEST(LaunchRule, ErrnoMeanings) {
  using F = zel_process::Failure;
  const std::error_category& generic = std::generic_category();
  const std::error_category& system = std::system_category();
  const struct {
    std::error_code err;
    F failure;
  } rows[] = {
      {{}, F::None},
      {{ENOMEM, generic}, F::OutOfMemory},
      {{ENOMEM, system}, F::OutOfMemory},
      {{ENOENT, generic}, F::NotFound},
      {{ENOENT, system}, F::NotFound},
      {{ENOTDIR, generic}, F::NotFound},
      {{ENOTDIR, system}, F::NotFound},
      {{ENOEXEC, generic}, F::Invalid},
      {{EACCES, system}, F::Invalid},
      {{E2BIG, generic}, F::Other},
      {{ENAMETOOLONG, generic}, F::Other},
      {{EPERM, system}, F::Other},
      {{ETXTBSY, generic}, F::Other},
      {zel_process::LaunchError::SchemeRefused, F::Refused},
      {zel_process::LaunchError::OpenerMissing, F::NotFound},
      {std::make_error_code(std::future_errc::promise_already_satisfied), F::Other},
      {std::make_error_code(std::io_errc::stream), F::Other},
  };
  static_assert(static_cast<int>(std::future_errc::promise_already_satisfied) == ENOENT);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.err.category().name() + (" " + std::to_string(row.err.value())));
    EXPECT_EQ(zel_process::FailureOf(row.err), row.failure);
  }
  EXPECT_EQ(zel_process::Launch("/nonexistent/zel-tool", ""), std::errc::no_such_file_or_directory);
}

// The launcher replaced for a scope.
class InstalledLauncher {
 public:
  explicit InstalledLauncher(zel_process::Launcher* l) { m_scope.Use(l); }

 private:
  zel_test::IntegrationScope m_scope;
};

// An application: ready, its handlers record what they get and supply fixed data.
class TestApp : public CAppTools {
 public:
  int ready = 1, protein = 0, answer = 1;
  CString dataFile = "C:\\My Data\\a.fa", second, third = "3rd", fourth = "4th";
  std::vector<std::string> calls;
  CDXexec lastExec;
  CDXistool lastEnable;
  std::vector<std::string> commands;
  int IsReady() override { return ready; }
  int IsProtein(CFrameWnd*) override { return protein; }
  CString GetLocalCreatorEmail() override { return "me@lab"; }
  CString GetSourceURL() override { return "https://src/"; }
  void ExecuteCommand(char* command, CString&) override { commands.push_back(command); }

 protected:
  int Exec(const char* name, CDXexec& d) {
    calls.push_back(name);
    lastExec = d;
    d.dataFile = dataFile;
    d.second = second;
    d.third = third;
    d.fourth = fourth;
    return answer;
  }
  int Enable(const char* name, CDXistool& d) {
    calls.push_back(name);
    lastEnable = d;
    return answer;
  }
  int onemol(CDXistool& d) override { return Enable("onemol?", d); }
  int onemol(CDXexec& d) override { return Exec("onemol", d); }
  int oneseq(CDXexec& d) override { return Exec("oneseq", d); }
  int nfasta(CDXexec& d) override { return Exec("nfasta", d); }
  int ngenbank(CDXexec& d) override { return Exec("ngenbank", d); }
  int oneembl(CDXexec& d) override { return Exec("oneembl", d); }
  int nembl(CDXexec& d) override { return Exec("nembl", d); }
  int anydoc(CDXistool& d) override { return Enable("anydoc?", d); }
  int anydoc(CDXexec& d) override { return Exec("anydoc", d); }
  int OnZavUVIZ(CDXexec& d) override { return Exec("OnZavUVIZ", d); }
  int OnEkMols(CDXistool& d) override { return Enable("OnEkMols?", d); }
  int OnEkMols(CDXexec& d) override { return Exec("OnEkMols", d); }
  int OnDBList(CDXistool& d) override { return Enable("OnDBList?", d); }
  int OnDBList(CDXexec& d) override { return Exec("OnDBList", d); }
  int nmol(CDXistool& d) override { return Enable("nmol?", d); }
  int genmol(CDXistool& d) override { return Enable("genmol?", d); }
  int OnUpdateZavUVIZ(CDXistool& d) override { return Enable("OnUpdateZavUVIZ?", d); }
};

class ToolRunTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    CalcToolSpecs(CZelDirSpec(tmp.str().c_str()));
    EXEDIR = CZelDirSpec((tmp / "exe dir").c_str());
  }
  void TearDown() override {
    TOOLSDIR.ClearSpec();
    TOOLSMENUDIR.ClearSpec();
    TUVAPPFILE.ClearSpec();
    EXEDIR.ClearSpec();
  }
  zel_test::RecordingLauncher launcher;
  InstalledLauncher installed{&launcher};
  TestApp app;
};

TEST_F(ToolRunTest, TheCommandLineFromTheHandlersData) {
  app.ExecuteTool(nullptr, 2, "sh", 1, "-open %1 %2 %3 %4 %5 %6 %7 %8");
  ASSERT_EQ(app.calls, (Args{"oneseq"}));
  ASSERT_EQ(launcher.spawned.size(), 1u);
  EXPECT_EQ(launcher.spawned[0], (Args{launcher.spawnedPath, "-open", "C:\\My Data\\a.fa", "",
                                       "3rd", "4th", "me@lab", "na", "https://src/", "?"}));
  EXPECT_EQ(fs::path(launcher.spawnedPath).filename(), "sh");
}

// Whatever the handler's data holds, %1 and %2 each reach the program as one argument,
// byte for byte; %1 is quoted only when it must be.
TEST_F(ToolRunTest, DataWithQuotesAndBackslashesStaysOneArgument) {
  const std::vector<std::string> values = {
      "/data/my file\" --delete-all \"x.fa",
      "a\"b.fa",
      "a\tb.fa",
      "/data/My dir\\",
      "C:\\dir\\",
      "\\\"",
      "x\\\\\"y z",
      "\xe9t\xe9 \xff.fa",
      "\"",
      "\\",
      " ",
      "a\\\\b c\\\\",
  };
  for (const std::string& v : values) {
    SCOPED_TRACE(v);
    app.dataFile = v.c_str();
    app.second = v.c_str();
    launcher.spawned.clear();
    app.ExecuteTool(nullptr, 2, "sh", 1, "-a %1 -b %2 -c");
    ASSERT_EQ(launcher.spawned.size(), 1u);
    EXPECT_EQ(launcher.spawned[0], (Args{launcher.spawnedPath, "-a", v, "-b", v, "-c"}));
  }
  // The command strings themselves: quoted only for a blank, a tab or a quote.
  class Seen : public TestApp {
   public:
    CString args;
    void LaunchToolProgram(const char*, int, CString a) override { args = a; }
  } seen;
  const std::vector<std::pair<std::string, std::string>> lines = {
      {"C:\\data\\a.fa", "C:\\data\\a.fa \"\""},
      {"C:\\My Data\\a.fa", "\"C:\\My Data\\a.fa\" \"\""},
      {"C:\\My dir\\", "\"C:\\My dir\\\\\" \"\""},
      {"a\"b.fa", "\"a\\\"b.fa\" \"\""},
  };
  for (const auto& [data, line] : lines) {
    seen.dataFile = data.c_str();
    seen.ExecuteTool(nullptr, 2, "sh", 1, "%1 %2");
    EXPECT_EQ(seen.args.str(), line);
  }
  // A data file that looks like an option is the file, by its whole path.
  app.dataFile = "-rf";
  launcher.spawned.clear();
  app.ExecuteTool(nullptr, 2, "sh", 1, "%1");
  ASSERT_EQ(launcher.spawned.size(), 1u);
  EXPECT_EQ(launcher.spawned[0],
            (Args{launcher.spawnedPath, (fs::current_path() / "-rf").string()}));
}

// Addresses of other schemes are refused in words that name the scheme; a relative target
// is the tool folder's, given to the opener as a whole path.
TEST_F(ToolRunTest, WebLinksOpenOnlyTheWebAndRelativeTargetsAreTheToolFolders) {
  for (const char* target : {"file:///bin/sh", "javascript:alert(1)"}) {
    SCOPED_TRACE(target);
    ui().messages.clear();
    app.LaunchToolProgram(target, 1, "");
    EXPECT_TRUE(app.LastLaunchFailed());
    ASSERT_EQ(ui().messages.size(), 1u);
    const std::string scheme = std::string(target).substr(0, std::string(target).find(':'));
    EXPECT_EQ(ui().messages[0].text, "Addresses of the scheme \"" + scheme +
                                         "\" are not opened (only http, https, ftp and mailto "
                                         "are): " +
                                         target);
  }
  EXPECT_TRUE(launcher.opened.empty());
  const std::string folder = TOOLSMENUDIR.GetPath();
  fs::create_directories(folder + "/docs");
  WriteFile(folder + "/docs/read me.html", "x");
  WriteFile(folder + "/docs/run", "#!/bin/sh\n");
  fs::permissions(folder + "/docs/run", fs::perms::owner_all);
  app.LaunchToolProgram("docs/read me.html", 1, "");
  EXPECT_EQ(launcher.opened, (Args{folder + "/docs/read me.html"}));
  app.LaunchToolProgram("docs/run", 1, "-v");
  ASSERT_EQ(launcher.spawned.size(), 1u);
  EXPECT_EQ(launcher.spawned[0], (Args{folder + "/docs/run", "-v"}));
  // A script named relatively, with a quote in its folder's name.
  TUVAPPFILE = CZelFileSpec("/bin/sh", 0);
  app.LaunchToolProgram("docs/\"q\"/Trim.ss", 0, "-x");
  ASSERT_EQ(launcher.spawned.size(), 2u);
  EXPECT_EQ(launcher.spawned[1], (Args{"/bin/sh", folder + "/docs/\"q\"/Trim.ss", "-x"}));
  // The web entries keep to the same rule.
  std::string exeDir = tmp / "app";
  fs::create_directories(exeDir);
  CWinApp winApp("host");
  winApp.m_strExePath = (exeDir + "/host").c_str();
  WriteFile(exeDir + "/NCBILink.ini", "[home]\nqlliuc=file:///bin/sh\n");
  ui().messages.clear();
  EXPECT_TRUE(OpenCorvaneBioinformaticsHome("qlliuc"));
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_NE(ui().messages[0].text.Find("\"file\""), -1);
  EXPECT_EQ(launcher.opened.size(), 1u);
}

TEST_F(ToolRunTest, TypeZeroRunsWithEmptyData) {
  app.ExecuteTool(nullptr, 0, "sh", 1, "-x %1 %2");
  EXPECT_TRUE(app.calls.empty());
  ASSERT_EQ(launcher.spawned.size(), 1u);
  // "-x  \"\"": an empty %1, a quoted empty %2.
  EXPECT_EQ(launcher.spawned[0], (Args{launcher.spawnedPath, "-x", ""}));
  app.ExecuteTool(nullptr, 51, "sh", 1, "");
  app.ExecuteTool(nullptr, -1, "sh", 1, "");
  EXPECT_EQ(launcher.spawned.size(), 1u);
}

TEST_F(ToolRunTest, AHandlerThatAnswers0StartsNothing) {
  app.answer = 0;
  app.ExecuteTool(nullptr, 10, "sh", 1, "%1");
  EXPECT_TRUE(launcher.spawned.empty());
  EXPECT_TRUE(ui().messages.empty());
}

TEST_F(ToolRunTest, TheTableSetsTheValuesOfEachType) {
  struct Expect {
    int type;
    const char* exec;
    int a, b, kind, c, d;
    const char* enable;
    int ea, eb, ekind, s;
  };
  // -9: not set (stays 0); kinds asked of a protein frame.
  app.protein = 1;
  const Expect rows[] = {
      {1, "oneseq", 0, 0, 1, 0, 0, "onemol?", 0, 0, 1, 1},
      {3, "nfasta", 1, 0, 1, 0, 0, "nmol?", 1, 0, 1, 0},
      {4, "onemol", 0, 0, 1, 1, 0, "onemol?", 0, 0, 1, 0},
      {5, "onemol", 0, 0, 1, 0, 0, "genmol?", 0, 0, 0, 0},
      {6, "anydoc", 0, 0, 0, 0, 0, "anydoc?", 0, 0, 0, 0},
      {10, "ngenbank", 2, 2, 1, 0, 0, "nmol?", 2, 2, 1, 0},
      {13, "oneembl", 0, 0, 1, 0, 0, "onemol?", 0, 0, 1, 0},
      {16, "nembl", 2, 0, 1, 0, 0, "nmol?", 2, 0, 1, 0},
      {17, "oneseq", 0, 0, 1, 0, 1, "onemol?", 0, 0, 1, 1},
      {22, "onemol", 0, 0, 2, 1, 0, "onemol?", 0, 0, 2, 0},
      {30, "oneseq", 0, 0, 2, 0, 1, "onemol?", 0, 0, 2, 1},
      {35, "oneseq", 0, 0, 2, 0, 1, "onemol?", 0, 0, 2, 1},
      {39, "onemol", 0, 0, 2, 1, 0, "onemol?", 0, 0, 2, 0},
      {44, "nembl", 2, 2, 2, 0, 0, "nmol?", 2, 2, 2, 0},
      {47, "OnZavUVIZ", 0, 0, 0, 0, 0, "OnUpdateZavUVIZ?", 0, 0, 0, 0},
      {48, "OnEkMols", 1, 0, 2, 0, 0, "OnEkMols?", 1, 0, 1, 0},
      {49, "OnEkMols", 1, 0, 2, 0, 0, "OnEkMols?", 1, 0, 2, 0},
      {50, "OnDBList", 0, 0, 0, 0, 0, "OnDBList?", 0, 0, 0, 0},
  };
  CFrameWnd frame;
  for (const Expect& e : rows) {
    app.calls.clear();
    app.ExecuteTool(&frame, e.type, "sh", 1, "");
    ASSERT_EQ(app.calls, (Args{e.exec})) << e.type;
    const auto& x = app.lastExec;
    EXPECT_EQ(x.frame, &frame);
    EXPECT_EQ(x.inputType, e.type);
    EXPECT_EQ(x.flag, 1);
    EXPECT_EQ(x.protein, 1);
    EXPECT_EQ(std::vector<int>({x.selectorA, x.selectorB, x.moleculeKind, x.optionC, x.optionD}),
              std::vector<int>({e.a, e.b, e.kind, e.c, e.d}))
        << e.type;
    app.calls.clear();
    EXPECT_EQ(app.IsToolEnabled(&frame, e.type), 1);
    ASSERT_EQ(app.calls, (Args{e.enable})) << e.type;
    const auto& y = app.lastEnable;
    EXPECT_EQ(std::vector<int>({y.selectorA, y.selectorB, y.moleculeKind, y.sequenceWanted}),
              std::vector<int>({e.ea, e.eb, e.ekind, e.s}))
        << e.type;
  }
  EXPECT_EQ(app.IsToolEnabled(nullptr, 0), 1);
  EXPECT_EQ(app.IsToolEnabled(nullptr, 7), 1);
  EXPECT_EQ(app.IsToolEnabled(nullptr, 51), 0);
  CAppTools base;
  EXPECT_EQ(base.IsToolEnabled(nullptr, 3), 0);
}

TEST_F(ToolRunTest, ProteinFramesAndPlainDataFiles) {
  app.protein = 1;
  app.dataFile = "C:\\data\\a.fa";
  app.ExecuteTool(nullptr, 34, "sh", 1, "%1 %6");
  ASSERT_EQ(launcher.spawned.size(), 1u);
  EXPECT_EQ(launcher.spawned[0], (Args{launcher.spawnedPath, "C:\\data\\a.fa", "aa"}));
  EXPECT_EQ(app.lastExec.moleculeKind, 2);
}

TEST_F(ToolRunTest, RunModes) {
  // A script through the script engine, the script's path quoted for the space.
  TUVAPPFILE = CZelFileSpec((tmp / "TuvW32.exe").c_str(), 0);
  WriteFile(tmp / "TuvW32.exe", "#!/bin/sh\n");
  fs::permissions(tmp / "TuvW32.exe", fs::perms::owner_all);
  app.LaunchToolProgram("~Trim.ss", 0, "a b");
  ASSERT_EQ(launcher.spawned.size(), 1u);
  EXPECT_EQ(launcher.spawnedPath, tmp / "TuvW32.exe");
  EXPECT_EQ(launcher.spawned[0], (Args{tmp / "TuvW32.exe", tmp / "Tools/Trim.ss", "a", "b"}));
  // The executables' folder, and a space in it.
  app.LaunchToolProgram("~..\\bin\\tool", 1, "");
  EXPECT_TRUE(app.LastLaunchFailed());
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].text,
            "The executable file was not found: " + tmp / "exe dir/bin/tool");
  EXPECT_EQ(ui().messages[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  // An internal command.
  app.LaunchToolProgram("x", 2, "[import(a)]");
  EXPECT_EQ(app.commands, (Args{"[import(a)]"}));
  // Nothing for any other mode.
  app.LaunchToolProgram("sh", -1, "");
  app.LaunchToolProgram("sh", 3, "");
  EXPECT_EQ(launcher.spawned.size(), 1u);
  // A web address goes to the opener.
  app.LaunchToolProgram("https://a.example/?q=1", 1, "ignored");
  EXPECT_EQ(launcher.opened, (Args{"https://a.example/?q=1"}));
}

TEST_F(ToolRunTest, ScriptsInAToolFolderWithASpaceAndTheSetupProgram) {
  CalcToolSpecs(CZelDirSpec((tmp / "Program Files").c_str()));
  fs::create_directories(TOOLSDIR.GetPath());
  std::string engine = std::string(TOOLSDIR.GetPath()) + "/TuvW32.exe";
  WriteFile(engine, "#!/bin/sh\n");
  fs::permissions(engine, fs::perms::owner_all);
  TUVAPPFILE = CZelFileSpec(engine.c_str(), 0);
  app.LaunchToolProgram("~Trim.ss", 0, "-v");
  ASSERT_EQ(launcher.spawned.size(), 1u);
  EXPECT_EQ(launcher.spawned[0],
            (Args{engine, std::string(TOOLSDIR.GetPath()) + "/Trim.ss", "-v"}));
  // The tool-setup program, by its name on the PATH.
  std::string bin = tmp / "bin";
  fs::create_directories(bin);
  WriteFile(bin + "/ToolManager.exe", "#!/bin/sh\n");
  fs::permissions(bin + "/ToolManager.exe", fs::perms::owner_all);
  std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", bin.c_str(), 1);
  SetupZelTools();
  setenv("PATH", path.c_str(), 1);
  ASSERT_EQ(launcher.spawned.size(), 2u);
  EXPECT_EQ(launcher.spawnedPath, bin + "/ToolManager.exe");
}

TEST_F(ToolRunTest, FailureMessages) {
  struct Case {
    int err;
    std::string text;
  };
  const std::vector<Case> cases = {
      {ENOMEM, "The system is out of memory or resources."},
      {ENOENT, "The executable file was not found: PROGRAM"},
      {ENOTDIR, "The executable file was not found: PROGRAM"},
      {ENOEXEC, "The executable file is invalid: PROGRAM"},
      {EACCES, "The executable file is invalid: PROGRAM"},
      {E2BIG, "Command error: PROGRAM -a b"},
  };
  for (const Case& c : cases) {
    launcher.answer = c.err;
    ui().messages.clear();
    app.LaunchToolProgram("sh", 1, "-a b");
    ASSERT_EQ(ui().messages.size(), 1u);
    std::string expected = c.text;
    size_t at = expected.find("PROGRAM");
    if (at != std::string::npos) expected.replace(at, 7, "sh");  // the program as given
    EXPECT_EQ(ui().messages[0].text, expected);
    EXPECT_TRUE(app.LastLaunchFailed());
  }
}

TEST_F(ToolRunTest, EntryPointsPromptsAndLinks) {
  fs::create_directories(tmp / "Tools/Menu/Open Link");
  WriteFile(
      tmp / "Tools/Menu/Open Link/Genbank.tq",
      "[ToolUnitShortcut]\nInputType=0\nTarget=sh\nDescription=Open in GenBank\nCommand=%1\n");
  WriteFile(tmp / "Tools/Menu/Needs data.tq",
            "[ToolUnitShortcut]\nInputType=3\nTarget=sh\nDescription=Fasta\nCommand=%1\n");
  app.ReloadTools();
  const CToolNode* link = app.FindTool("Open Link|Genbank", CToolDataUnit::tq);
  const CToolNode* data = app.FindTool("Needs data", CToolDataUnit::tq);
  ASSERT_TRUE(link && data);
  EXPECT_STREQ(app.MaybeZelToolPrompt(GetToolCommandID(link->GetToolIndex())), "Open in GenBank");
  EXPECT_EQ(app.MaybeZelToolPrompt(44444), nullptr);
  app.SetLastTool("Needs data");
  EXPECT_STREQ(app.MaybeZelToolPrompt(CAppTools::kLastToolCommand), "Fasta");

  app.ready = 0;
  app.OnZelTool(nullptr, data->GetToolIndex());  // needs data, application not ready
  EXPECT_TRUE(launcher.spawned.empty());
  app.OnZelTool(nullptr, link->GetToolIndex());  // type 0 runs all the same
  EXPECT_EQ(launcher.spawned.size(), 1u);
  app.ready = 1;
  app.OnZelToolMF(data->GetToolIndex());
  EXPECT_EQ(launcher.spawned.size(), 2u);

  // A link tool: the link data is there while it runs.
  class LinkApp : public TestApp {
   public:
    CString seen;
    void LaunchToolProgram(const char* target, int mode, CString args) override {
      seen = GetLinkData();
      TestApp::LaunchToolProgram(target, mode, args);
    }
  } linkApp;
  CalcToolSpecs(CZelDirSpec(tmp.str().c_str()));
  linkApp.ReloadTools();
  linkApp.OpenLinkData("Genbank", "U00096");
  EXPECT_EQ(linkApp.seen, "U00096");
  EXPECT_EQ(CAppTools::GetLinkData(), "");
  ui().messages.clear();
  linkApp.OpenLinkData("EMBL", "x");
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].text,
            "To open this link you need to define a tool with 'Link Data' input type and %1 in "
            "command line. The tool should be named 'Open Link|EMBL'.");
}

TEST_F(ToolRunTest, WebEntries) {
  std::string exeDir = tmp / "app";
  fs::create_directories(exeDir);
  CWinApp winApp("host");
  winApp.m_strExePath = (exeDir + "/host").c_str();
  WriteFile(exeDir + "/NCBILink.ini", "[home]\nqlliuc=https://uc.example/\nipath=\n");
  app.OnZelToolMF(-5);
  app.OnZelToolMF(-4);  // no value: the maker's home page
  app.OnZelToolMF(-2);
  EXPECT_EQ(launcher.opened,
            (Args{"https://uc.example/", CAppTools::kMakerHomePage, CAppTools::kProductPage}));
  EXPECT_FALSE(OpenCorvaneBioinformaticsHome("ipath"));  // empty: nothing opened
  EXPECT_EQ(launcher.opened.size(), 3u);
}

TEST_F(ToolRunTest, EncodedArgumentsAndDataThroughTheTool) {
  CToolData tool("d", 0, "https://search.example/?", 1, "");
  tool.SetManager(&app);
  CStringList list;
  list.AddTail("q=a b");
  tool.LaunchProgramWithEncodedArgs(list);
  EXPECT_EQ(launcher.opened, (Args{"https://search.example/?"}));
  CToolData script("d", 0, "sh", 1, "");
  script.SetManager(&app);
  script.LaunchProgramWithEncodedArgs(list);
  ASSERT_EQ(launcher.spawned.size(), 1u);
  EXPECT_EQ(launcher.spawned[0], (Args{launcher.spawnedPath, "q%3da%20b"}));
}

// ---- real children ----

class RealChildTest : public zel_test::ZelTest {
 protected:
  // A program that writes its arguments, one per line, then "end".
  std::string Recorder() {
    std::string path = tmp / "recorder";
    WriteFile(path,
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.out\"\n"
              "echo end >> \"$0.out\"\n");
    fs::permissions(path, fs::perms::owner_all);
    return path;
  }
};

TEST_F(RealChildTest, ShellCharactersReachTheProgramAsPlainText) {
  std::string program = Recorder();
  CAppTools tools;
  tools.LaunchToolProgram(program.c_str(), 1,
                          R"(a;b $(touch pwned) `touch pwned2` "q \"x\" y" 'single' | > z)");
  EXPECT_FALSE(tools.LastLaunchFailed());
  ASSERT_TRUE(zel_test::PollUntil(
      [&] { return ReadFile(program + ".out").find("end") != std::string::npos; }));
  EXPECT_EQ(ReadFile(program + ".out"),
            "a;b\n$(touch\npwned)\n`touch\npwned2`\nq \"x\" y\n'single'\n|\n>\nz\nend\n");
  EXPECT_FALSE(fs::exists("pwned"));
  EXPECT_FALSE(fs::exists(tmp / "pwned"));
  EXPECT_FALSE(fs::exists("z"));
}

TEST_F(RealChildTest, ChildrenAreReaped) {
  int pid = 0;
  zel_process::SystemLauncher system;
  ASSERT_FALSE(system.Spawn("/bin/sh", {"/bin/sh", "-c", "exit 0"}, &pid));
  ASSERT_GT(pid, 0);
  // Gone altogether: no zombie is left behind.
  EXPECT_TRUE(zel_test::PollUntil([&] { return !fs::exists("/proc/" + std::to_string(pid)); }));
}

TEST_F(RealChildTest, NoDescriptorIsInherited) {
  // One opened without close-on-exec, as a careless host might.
  int fd = ::open((tmp / "held").c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  std::string out = tmp / "fds";
  zel_process::SystemLauncher system;
  std::string script = "if [ -e /proc/$$/fd/" + std::to_string(fd) +
                       " ]; then echo open; else echo closed; fi > " + out;
  ASSERT_FALSE(system.Spawn("/bin/sh", {"/bin/sh", "-c", script}));
  EXPECT_TRUE(zel_test::PollUntil([&] { return !ReadFile(out).empty(); }));
  EXPECT_EQ(ReadFile(out), "closed\n");
  ::close(fd);
}

TEST_F(RealChildTest, MissingAndNonExecutableTargets) {
  CAppTools tools;
  tools.LaunchToolProgram((tmp / "missing").c_str(), 1, "");
  EXPECT_TRUE(tools.LastLaunchFailed());
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].text, "The executable file was not found: " + tmp / "missing");
  // Executable by its mode but no program: invalid.
  WriteFile(tmp / "bogus",
            "\x7f"
            "ELF garbage");
  fs::permissions(tmp / "bogus", fs::perms::owner_all);
  tools.LaunchToolProgram((tmp / "bogus").c_str(), 1, "");
  ASSERT_EQ(ui().messages.size(), 2u);
  EXPECT_EQ(ui().messages[1].text, "The executable file is invalid: " + tmp / "bogus");
}

}  // namespace
