// zel cmd and zel tools, run as a user runs them, on the sample tool folder and on
// folders made here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"
#include "tests/tools/PlantedFiles.h"

namespace fs = std::filesystem;

namespace {

using zel_test::ReadFile;
using zel_test::WriteFile;

class ToolsCommandTest : public zel_test::ZelTest {
 protected:
  std::string Sample() const {
    return std::string("--exe '") + ZEL_SOURCE_DIR + "/examples/installation/Programs'";
  }
  std::string Mine() const { return "--exe '" + tmp / "Programs" + "'"; }
  std::string Menu() const { return tmp / "Programs/Tools/Menu"; }
};

TEST_F(ToolsCommandTest, CmdPrintsTheParse) {
  auto r = RunZel(R"(cmd '[openas("a, b", 3)]')");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "command 3\ncorrect yes\nparam a, b\nparam 3\n");
  r = RunZel("cmd '[foo(x)'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "command 0\ncorrect no\n");
  r = RunZel(R"(cmd --json '[import(x, "")]')");
  EXPECT_EQ(r.out, "{\"command\":5,\"correct\":true,\"params\":[\"x\",\"\"]}\n");
  r = RunZel("cmd --json --hex \"$(printf '[import(\\351t\\351 a)]')\"");
  EXPECT_EQ(nlohmann::json::parse(r.out)["params"][0], "74e92061");
  r = RunZel("cmd --json \"$(printf '[import(t\\351)]')\"");
  EXPECT_EQ(nlohmann::json::parse(r.out)["params"][0], "t\xC3\xA9");
  r = RunZel("cmd");
  EXPECT_EQ(r.status, 2);
}

TEST_F(ToolsCommandTest, ListsTheSampleFolderOfFourKinds) {
  auto r = RunZel("tools list --json " + Sample());
  ASSERT_EQ(r.status, 0) << r.err;
  auto rows = nlohmann::json::parse(r.out);
  ASSERT_EQ(rows.size(), 5u) << r.out;
  std::set<int> kinds;
  for (auto& row : rows) {
    kinds.insert(row["kind"].get<int>());
    EXPECT_EQ(row["commandId"].get<int>(), 44444 + row["index"].get<int>());
  }
  EXPECT_EQ(kinds, (std::set<int>{1, 2, 3, 4}));
  // The menu-order file puts Web first, then Sequence, then Viewer.
  EXPECT_EQ(rows[0]["menuPath"], "Web|NCBI BLAST");
  EXPECT_EQ(rows[0]["description"], "Search with BLAST at NCBI");
  EXPECT_EQ(rows[2]["menuPath"], "Sequence|Show file");
  EXPECT_EQ(rows[2]["target"], "/bin/cat");
  EXPECT_EQ(rows[3]["menuPath"], "Sequence|Word count");
  EXPECT_EQ(rows[3]["inputType"], 2);
  EXPECT_EQ(rows[4]["menuPath"], "Viewer");
  EXPECT_EQ(rows[4]["description"], "Quillion Sequence Viewer");
  auto text = RunZel("tools list " + Sample());
  EXPECT_NE(text.out.find("Sequence|Word count\t"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("\t1\t1\t2\twc\tCount the lines of the sequence file\n"),
            std::string::npos)
      << text.out;
}

TEST_F(ToolsCommandTest, AMissingToolFolderListsNothingAndWritesNothing) {
  fs::create_directories(tmp / "Programs");
  auto r = RunZel("tools list --json " + Mine());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "[]\n");
  EXPECT_EQ(r.err, "zel: tools list: there is no tool folder at " + Menu() + "\n");
  EXPECT_TRUE(fs::is_empty(tmp / "Programs"));
}

// A crafted file name or description cannot print a row or a column of its own.
TEST_F(ToolsCommandTest, ListKeepsEachToolOnItsLine) {
  fs::create_directories(Menu());
  WriteFile(Menu() + "/Evil\tx\nFake.tq",
            "[ToolUnitShortcut]\r\nInputType=0\r\nTarget=C:\\x\r\nDescription=a\tb\x01\r\n");
  auto r = RunZel("tools list " + Mine());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Evil\\tx\\nFake\t1\t44445\t1\t1\t0\tC:\\\\x\ta\\tb\\x01\n");
  auto json = nlohmann::json::parse(RunZel("tools list --json " + Mine()).out);
  EXPECT_EQ(json[0]["menuPath"], "Evil\tx\nFake");
}

TEST_F(ToolsCommandTest, CreateThenListThenRun) {
  std::string recorder = tmp / "recorder";
  WriteFile(recorder, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.out\"\n");
  fs::permissions(recorder, fs::perms::owner_all);
  auto r = RunZel("tools create 'Sequence|Record' --target '" + recorder +
                  "' --command '-in %1 %2 %3' --input-type 2 --description 'Records' " + Mine());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Sequence|Record\t1\t" + Menu() + "/Sequence/Record.tq\n");
  EXPECT_TRUE(fs::exists(Menu() + "/Sequence/Record.tq"));
  r = RunZel("tools list " + Mine());
  EXPECT_EQ(r.out, "Sequence|Record\t1\t44445\t1\t1\t2\t" + recorder + "\tRecords\n");
  r = RunZel(
      "tools run 'Sequence|Record' --data '/my data/a b.fa' --second 'x;$(y)' "
      "--third t " +
      Mine());
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string recorded = "-in\n/my data/a b.fa\nx;$(y)\nt\n";
  zel_test::PollUntil([&] { return ReadFile(recorder + ".out") == recorded; });
  EXPECT_EQ(ReadFile(recorder + ".out"), recorded);
}

TEST_F(ToolsCommandTest, RunFailsWithTheMessage) {
  auto r = RunZel("tools create Broken --target '" + tmp / "nothing" + "' " + Mine());
  ASSERT_EQ(r.status, 0) << r.err;
  r = RunZel("tools run Broken " + Mine());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("The executable file was not found: " + tmp / "nothing"), std::string::npos)
      << r.err;
  r = RunZel("tools run 'No such' " + Mine());
  EXPECT_EQ(r.status, 1);
}

TEST_F(ToolsCommandTest, RunLooksUpEachKind) {
  fs::create_directories(Menu());
  WriteFile(Menu() + "/Docs.url", "[InternetShortcut]\nURL=https://docs.example/\n");
  auto list = RunZel("tools list " + Mine());
  EXPECT_NE(list.out.find("Docs\t1\t44445\t2\t"), std::string::npos) << list.out;
  // With no opener on the PATH, the shortcut is found and its start fails in words.
  std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  fs::create_directories(tmp / "empty-bin");
  setenv("PATH", (tmp / "empty-bin").c_str(), 1);
  auto r = RunZel("tools run Docs " + Mine());
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "zel: The executable file was not found: https://docs.example/ (xdg-open, which "
            "opens web addresses and documents, is not installed)\n");
}

TEST_F(ToolsCommandTest, RunSaysWhenNothingStartsAndWhenDataGoesNowhere) {
  fs::create_directories(Menu());
  auto tool = [&](const std::string& name, int inputType) {
    WriteFile(Menu() + "/" + name + ".tq",
              "[ToolUnitShortcut]\r\nInputType=" + std::to_string(inputType) +
                  "\r\nTarget=/bin/true\r\nCommand=%1\r\n");
  };
  tool("Later", 51);
  tool("Minus", -2);
  tool("Plain", 0);
  tool("Fixed", 7);
  tool("Sequence", 2);
  struct Row {
    const char* args;
    int status;
    const char* err;
  };
  const Row rows[] = {
      {"Later", 1, "zel: tools run: Later: input type 51 starts nothing\n"},
      {"Minus --data x", 1,
       "zel: tools run: Minus: input type -2 takes no data; --data ignored\n"
       "zel: tools run: Minus: input type -2 starts nothing\n"},
      {"Plain --data a.fa --third t", 0,
       "zel: tools run: Plain: input type 0 takes no data; --data, --third ignored\n"},
      {"Fixed --second s", 0,
       "zel: tools run: Fixed: input type 7 takes no data; --second ignored\n"},
      {"Plain", 0, ""},
      {"Sequence --data a.fa", 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args);
    auto r = RunZel(std::string("tools run ") + row.args + " " + Mine());
    EXPECT_EQ(r.status, row.status);
    EXPECT_EQ(r.err, row.err);
  }
}

std::string Tq(const std::string& target) {
  return "[ToolUnitShortcut]\r\nInputType=0\r\nTarget=" + target + "\r\n";
}

// A tool of that name, of any kind and in any letter case, is left alone; --replace
// replaces only a tool file of exactly that name.
TEST_F(ToolsCommandTest, CreateNeverOverwrites) {
  struct Case {
    const char* existing;
    bool replace;
    int status;
  } cases[] = {
      {"Tool.tq", false, 1},  {"tool.TQ", false, 1},  {"TOOL.url", false, 1},
      {"Tool.lnk", false, 1}, {"tool.exe", false, 1}, {"Tool.tq", true, 0},
      {"Tool.URL", true, 1},  {"tool.tq", true, 1},   {"Tool.txt", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.existing) + (c.replace ? " --replace" : ""));
    fs::remove_all(tmp / "Programs");
    fs::create_directories(Menu() + "/Seq");
    const std::string old = Menu() + "/Seq/" + c.existing;
    WriteFile(old, Tq("old"));
    auto r = RunZel("tools create 'Seq|Tool' --target new " +
                    std::string(c.replace ? "--replace " : "") + Mine());
    EXPECT_EQ(r.status, c.status) << r.err;
    const bool createdHere = std::string(c.existing) == "Tool.tq" || c.status == 0;
    if (c.status == 1) {
      EXPECT_NE(r.err.find(old), std::string::npos) << r.err;
      EXPECT_EQ(ReadFile(old), Tq("old"));
      EXPECT_EQ(fs::exists(Menu() + "/Seq/Tool.tq"), createdHere);
    } else {
      EXPECT_NE(ReadFile(Menu() + "/Seq/Tool.tq").find("Target=new"), std::string::npos);
    }
  }
  // A link or a pipe at the tool file's own name is no tool file to replace.
  fs::remove_all(tmp / "Programs");
  fs::create_directories(Menu() + "/Seq");
  WriteFile(tmp / "secret", Tq("mine"));
  fs::create_symlink(tmp / "secret", Menu() + "/Seq/Tool.tq");
  auto r = RunZel("tools create 'Seq|Tool' --target new --replace " + Mine());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(tmp / "secret"), Tq("mine"));
}

TEST_F(ToolsCommandTest, CreateRefusesWhatWouldNeverShowOrRun) {
  for (const char* args :
       {"'Seq|T' --target ''", "'T' --target x --input-type 51", "'T' --target x --input-type -1",
        "'Seq.v2|T' --target x", "'A|b.c|T' --target x"}) {
    SCOPED_TRACE(args);
    auto r = RunZel(std::string("tools create ") + args + " " + Mine());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("zel: tools create: "), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(tmp / "Programs"));
  // The edges of the table and a dot in the tool's own name are fine.
  for (const char* args : {"'T0' --target x --input-type 0", "'T50' --target x --input-type 50",
                           "'Seq|v1.2' --target x"}) {
    SCOPED_TRACE(args);
    EXPECT_EQ(RunZel(std::string("tools create ") + args + " " + Mine()).status, 0);
  }
  EXPECT_NE(RunZel("tools list " + Mine()).out.find("Seq|v1.2\t"), std::string::npos);
}

TEST_F(ToolsCommandTest, CreateFailuresGiveTheSystemsReason) {
  fs::create_directories(Menu());
  WriteFile(Menu() + "/Seq", "a file where the folder should go");
  auto r = RunZel("tools create 'Seq|Tool' --target x " + Mine());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "zel: tools create: the tool file " + Menu() +
                       "/Seq/Tool.tq could not be written (Not a directory)\n");
  // A folder on the way that leads out of the tool folder is refused.
  fs::create_directories(tmp / "outside");
  fs::create_directory_symlink(tmp / "outside", Menu() + "/Out");
  r = RunZel("tools create 'Out|Tool' --target x " + Mine());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("leads out of the tool folder"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::is_empty(tmp / "outside"));
}

TEST_F(ToolsCommandTest, CreateRefusesUnsafePaths) {
  for (const char* path : {"..|x", "a|..|x", "a||b", "a/b", "."}) {
    auto r = RunZel(std::string("tools create '") + path + "' --target x " + Mine());
    EXPECT_EQ(r.status, 2) << path;
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_FALSE(fs::exists(tmp / "Programs"));
}

TEST_F(ToolsCommandTest, OrderSetAndShow) {
  fs::create_directories(Menu());
  WriteFile(Menu() + "/A.tq", "[ToolUnitShortcut]\nInputType=0\nTarget=x\n");
  WriteFile(Menu() + "/B.tq", "[ToolUnitShortcut]\nInputType=0\nTarget=x\n");
  auto r = RunZel("tools order " + Mine());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  r = RunZel("tools order --set '' B.tq A.tq " + Mine());
  ASSERT_EQ(r.status, 0) << r.err;
  r = RunZel("tools order " + Mine());
  EXPECT_EQ(r.out, "\tb.tq\ta\n\ta.tq\tb\n");
  r = RunZel("tools list " + Mine());
  EXPECT_EQ(r.out.substr(0, 2), "B\t") << r.out;
  r = RunZel("tools order --set 'Sub|Deeper' x y " + Mine());
  ASSERT_EQ(r.status, 0) << r.err;
  r = RunZel("tools order " + Mine());
  EXPECT_NE(r.out.find("sub|deeper\tx\ta\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("sub|deeper\ty\tb\n"), std::string::npos) << r.out;
  WriteFile(tmp / "Programs/Tools/MenuOrder.ini", "damaged");
  r = RunZel("tools order " + Mine());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("no order"), std::string::npos);
  r = RunZel("tools list " + Mine());
  EXPECT_EQ(r.out.substr(0, 2), "A\t") << r.out;
}

// The entries named come first, in the order given; the others follow in the order the
// listing showed, even those whose names sort between the keys of named ones.
TEST_F(ToolsCommandTest, OrderSetPutsTheNamedFirstAndKeepsTheOthersAfter) {
  fs::create_directories(Menu() + "/Sub");
  for (const char* name : {"A-x.tq", "B.tq", "Z.tq", "M.tq", "Sub/S.tq"})
    WriteFile(Menu() + "/" + name, Tq("x"));
  auto listing = [&] {
    std::string out;
    for (const auto& row : nlohmann::json::parse(RunZel("tools list --json " + Mine()).out))
      out += row["menuPath"].get<std::string>() + ";";
    return out;
  };
  ASSERT_EQ(RunZel("tools order --set '' M.tq Sub " + Mine()).status, 0);
  EXPECT_EQ(listing(), "M;Sub|S;A-x;B;Z;");
  ASSERT_EQ(RunZel("tools order --set '' z.tq b.tq " + Mine()).status, 0);
  EXPECT_EQ(listing(), "Z;B;M;Sub|S;A-x;");
}

// Writers of different folders' orders at once all keep their change.
TEST_F(ToolsCommandTest, ConcurrentOrderSetsLoseNothing) {
  const std::vector<std::string> folders = {"A", "B", "C"};
  for (const std::string& f : folders) {
    fs::create_directories(Menu() + "/" + f);
    WriteFile(Menu() + "/" + f + "/x.tq", Tq("x"));
    WriteFile(Menu() + "/" + f + "/y.tq", Tq("x"));
  }
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    fs::remove(tmp / "Programs/Tools/MenuOrder.ini");
    std::vector<std::thread> writers;
    std::vector<int> status(folders.size(), -1);
    for (size_t i = 0; i < folders.size(); ++i) {
      const std::string dir = tmp / ("run" + std::to_string(i));
      fs::create_directories(dir);
      writers.emplace_back([&, i, dir] {
        status[i] =
            zel_test::RunZel("tools order --set " + folders[i] + " y.tq x.tq " + Mine(), dir)
                .status;
      });
    }
    for (auto& w : writers) w.join();
    for (int s : status) EXPECT_EQ(s, 0);
    const std::string shown = RunZel("tools order " + Mine()).out;
    for (const std::string& f : folders) {
      std::string lower(1, static_cast<char>(std::tolower(f[0])));
      EXPECT_NE(shown.find(lower + "\ty.tq\ta\n"), std::string::npos) << shown;
    }
  }
}

// A pipe in the tool folder or at the menu-order file never holds a command up.
TEST_F(ToolsCommandTest, PipesNeverHoldACommand) {
  fs::create_directories(Menu());
  WriteFile(Menu() + "/A.tq", Tq("x"));
  const std::vector<std::string> fifos = {Menu() + "/pipe.tq",
                                          tmp / "Programs/Tools/MenuOrder.ini"};
  for (const std::string& fifo : fifos) zel_special::MakeFifo(fifo);
  struct Case {
    const char* args;
    int status;
    const char* out;
  } cases[] = {
      {"tools list", 0, "A\t1\t44445\t1\t1\t0\tx\t\n"},
      {"tools order", 0, ""},
      {"tools order --set '' A.tq", 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    zel_test::ZelResult r{};
    EXPECT_TRUE(zel_special::FinishesWithin([&] { r = RunZel(std::string(c.args) + " " + Mine()); },
                                            fifos));
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
  EXPECT_TRUE(fs::is_fifo(tmp / "Programs/Tools/MenuOrder.ini"));
}

TEST_F(ToolsCommandTest, MigrateIsRefusedWhenTheFolderExists) {
  auto r = RunZel("tools migrate " + Mine());
  EXPECT_EQ(r.status, 1);  // no old profile
  fs::create_directories(Menu());
  WriteFile(tmp / "Programs/Tools/ToolProf.ini", "(SXF)");
  r = RunZel("tools migrate " + Mine());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("exists already"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(Menu()));
}

TEST_F(ToolsCommandTest, MigrateWritesTheOldProfile) {
  fs::create_directories(tmp / "Programs/Tools");
  WriteFile(tmp / "Programs/Tools/ToolProf.ini",
            "(SXF (CToolsSetupDlg (CMapStringToOb \"Blast\" (CToolData \"Run Blast\" 0 "
            "\"blastn\" 1 \"-q %1\") \"Analyze|Dot plot\" (CToolData \"Dots\" 2 \"dotter\" 1 "
            "\"\")) \"\" 0 \"\" 0 \"\" \"\" \"Blast\"))\r\n");
  auto r = RunZel("tools migrate " + Mine());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "2 tools written in " + Menu() + "\n");
  r = RunZel("tools list " + Mine());
  EXPECT_NE(r.out.find("Tools|Blast\t"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Analyze|Dot plot\t"), std::string::npos) << r.out;
  r = RunZel("tools migrate " + Mine());
  EXPECT_EQ(r.status, 1);
}

// The old profile's text: the entries as (menu path, target) pairs, then the six legacy
// values; body may hold a damaged ending instead.
std::string Profile(const std::vector<std::pair<std::string, std::string>>& entries,
                    const std::string& end = "\"\" 0 \"\" 0 \"\" \"\"))") {
  std::string text = "(SXF (CToolsSetupDlg (CMapStringToOb";
  for (const auto& [path, target] : entries)
    text += "\r\n \"" + path + "\" (CToolData \"d\" 0 \"" + target + "\" 1 \"\")";
  return text + ") " + end + "\r\n";
}

// Nothing or everything: a profile that cannot be read whole, or a tool that cannot be
// written, leaves no tool folder (and no folder beside it) to block the next attempt.
TEST_F(ToolsCommandTest, MigrateIsAllOrNothing) {
  const std::string tools = tmp / "Programs/Tools";
  struct Case {
    const char* what;
    std::string profile;
  } cases[] = {
      {"damaged", Profile({{"Blast", "b"}}, "\"\" 0 (garbage")},
      {"cut short", Profile({{"Blast", "b"}}).substr(0, 60)},
      {"a name too long", Profile({{"Blast", "b"}, {std::string(300, 'n'), "x"}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(tmp / "Programs");
    fs::create_directories(tools);
    WriteFile(tools + "/ToolProf.ini", c.profile);
    auto r = RunZel("tools migrate " + Mine());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(tools)) left.push_back(e.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"ToolProf.ini"});
  }
  // A pipe in the profile's place is not read.
  fs::remove_all(tmp / "Programs");
  fs::create_directories(tools);
  zel_special::MakeFifo(tools + "/ToolProf.ini");
  zel_test::ZelResult r{};
  EXPECT_TRUE(zel_special::FinishesWithin([&] { r = RunZel("tools migrate " + Mine()); },
                                          {tools + "/ToolProf.ini"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(Menu()));
}

// A tool of a class this program does not know: the library's words, then which class
// and what it lacks.
TEST_F(ToolsCommandTest, MigrateNamesAClassItDoesNotKnow) {
  fs::create_directories(tmp / "Programs/Tools");
  WriteFile(tmp / "Programs/Tools/ToolProf.ini",
            "(SXF (CToolsSetupDlg (CMapStringToOb \"Blast\" (CToolDataEx \"Run Blast\" 0 "
            "\"blastn\" 1 \"\")) \"\" 0 \"\" 0 \"\" \"\"))\r\n");
  auto r = RunZel("tools migrate " + Mine());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ToolProf.ini: Unexpected file format (class error). (no class is "
                       "registered under the tag \"CToolDataEx\""),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("needs its archive registration"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(Menu()));
}

// Only 777 entries get an index; the rest are named, not written as empty folders.
TEST_F(ToolsCommandTest, MigrateNamesTheEntriesPastTheLastIndex) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (int i = 0; i < 780; ++i) entries.emplace_back("T" + std::to_string(i), "x");
  entries.insert(entries.begin(), {"Alignment", "top"});  // at the top, index 0
  entries.pop_back();
  fs::create_directories(tmp / "Programs/Tools");
  WriteFile(tmp / "Programs/Tools/ToolProf.ini", Profile(entries));
  auto r = RunZel("tools migrate " + Mine());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "777 tools written in " + Menu() + "\n");
  for (const char* name : {"Tools|T776", "Tools|T777", "Tools|T778"})
    EXPECT_NE(r.err.find(std::string("zel: tools migrate: ") + name + " was not written"),
              std::string::npos)
        << r.err;
  EXPECT_TRUE(fs::exists(Menu() + "/Alignment.tq"));
  EXPECT_TRUE(fs::exists(Menu() + "/Tools/T775.tq"));
  EXPECT_FALSE(fs::exists(Menu() + "/Tools/T776"));
  EXPECT_FALSE(fs::exists(Menu() + "/Tools/T776.tq"));
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(Menu())) files += e.is_regular_file();
  EXPECT_EQ(files, 777);
}

TEST_F(ToolsCommandTest, DemoTourRunsNothing) {
  auto r = RunZel("demo");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("== The Tools menu =="), std::string::npos);
  EXPECT_NE(r.out.find("would open https://blast.ncbi.nlm.nih.gov/Blast.cgi"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("[/data/My Sequences/pBR322.gb]"), std::string::npos) << r.out;
}

}  // namespace
