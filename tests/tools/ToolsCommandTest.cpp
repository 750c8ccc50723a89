// zel cmd and zel tools, run as a user runs them, on the sample tool folder and on
// folders made here.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <thread>

#include "tests/support/TestSupport.h"

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
  EXPECT_TRUE(fs::is_empty(tmp / "Programs"));
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
  for (int i = 0; i < 500 && ReadFile(recorder + ".out").empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ReadFile(recorder + ".out"), "-in\n/my data/a b.fa\nx;$(y)\nt\n");
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
  WriteFile(tmp / "Programs/Tools/MenuOrder.ini", "damaged");
  r = RunZel("tools order " + Mine());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("no order"), std::string::npos);
  r = RunZel("tools list " + Mine());
  EXPECT_EQ(r.out.substr(0, 2), "A\t") << r.out;
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

TEST_F(ToolsCommandTest, DemoTourRunsNothing) {
  auto r = RunZel("demo");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("== The Tools menu =="), std::string::npos);
  EXPECT_NE(r.out.find("would open https://blast.ncbi.nlm.nih.gov/Blast.cgi"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("[/data/My Sequences/pBR322.gb]"), std::string::npos) << r.out;
}

}  // namespace
