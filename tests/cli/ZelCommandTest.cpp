// The zel command end to end: output formats, exit statuses, messages in the library's words.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

using ZelCommandTest = zel_test::ZelTest;

TEST_F(ZelCommandTest, TypesListsEveryRowAndItsJsonHasEveryMember) {
  zel_test::ZelResult plain = RunZel("types");
  ASSERT_EQ(plain.status, 0);
  EXPECT_EQ(std::count(plain.out.begin(), plain.out.end(), '\n'), 78);
  EXPECT_NE(plain.out.find("41\t.gb\tDNA/RNA Documents\n"), std::string::npos);

  zel_test::ZelResult json = RunZel("types --json");
  ASSERT_EQ(json.status, 0);
  auto rows = nlohmann::json::parse(json.out);
  ASSERT_EQ(rows.size(), 78u);
  const auto& first = rows[0];
  EXPECT_EQ(first["id"], 0);
  EXPECT_TRUE(first["description"].is_null());
  const auto& gb = rows[22];
  EXPECT_EQ(gb["id"], 41);
  EXPECT_EQ(gb["openSwitch"], "-NoSplash");
  EXPECT_EQ(gb["byExtension"], 1);
  std::vector<std::string> keys;
  const auto ordered = nlohmann::ordered_json::parse(json.out);
  for (auto it = ordered[0].begin(); it != ordered[0].end(); ++it) keys.push_back(it.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"id", "description", "extension", "filter",
                                            "byExtension", "shellClass", "shellDescription",
                                            "iconIndex", "formatName", "macType", "macCreator",
                                            "byMacCodes", "appCode", "openSwitch"}));
}

TEST_F(ZelCommandTest, FilterJoinsTheRowsOfTheIds) {
  zel_test::ZelResult r = RunZel("filter 41 27");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "DNA/RNA Documents (*.gb)|*.gb|GenBank Files|*.*|All files (*.*)|*.*||\n");
  EXPECT_EQ(RunZel("filter --no-all-files 20").out, "DNA/RNA Archives (*.ma4)|*.ma4;*.mar|\n");
  EXPECT_EQ(RunZel("filter abc").status, 2);
  EXPECT_EQ(RunZel("filter").status, 2);
}

TEST_F(ZelCommandTest, LinesCountsAsTheTextFileReadsAndReportsFailures) {
  zel_test::WriteFile(tmp / "mixed.txt", "a\r\nb\nc\rd");
  zel_test::WriteFile(tmp / "empty.txt", "");
  zel_test::ZelResult r = RunZel("lines " + (tmp / "mixed.txt") + " " + (tmp / "empty.txt"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "4\t" + (tmp / "mixed.txt") + "\n0\t" + (tmp / "empty.txt") + "\n");
  EXPECT_EQ(r.err, "");

  zel_test::ZelResult json =
      RunZel("lines --json " + (tmp / "mixed.txt") + " " + (tmp / "missing.txt"));
  EXPECT_EQ(json.status, 1);
  auto parsed = nlohmann::json::parse(json.out);
  ASSERT_EQ(parsed.size(), 1u);
  EXPECT_EQ(parsed[0]["lines"], 4);
  EXPECT_EQ(json.err, "zel: missing.txt: Cannot find this file.\n");

  EXPECT_EQ(RunZel("lines " + tmp.str()).status, 1);
  EXPECT_EQ(RunZel("lines").status, 2);
  EXPECT_EQ(RunZel("no-such-command").status, 2);
}

TEST_F(ZelCommandTest, DemoAndVersionRunWithoutArguments) {
  zel_test::ZelResult demo = RunZel("demo");
  EXPECT_EQ(demo.status, 0) << demo.err;
  EXPECT_NE(demo.out.find("78 file types"), std::string::npos);
  zel_test::ZelResult version = RunZel("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("zel ", 0), 0u);
}

}  // namespace
