// zel(1): every command, subcommand and option that zel's help texts list is in the manual
// page's source, each option in its command's section or in one of the commands above it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

struct Help {
  std::vector<std::string> subcommands;
  std::vector<std::string> options;  // each name of an option: -o and --output apart
};

// The subcommands and options of a help text: entries are indented two blanks under the
// "Subcommands:" and "Options:" headings, names first, aliases joined by commas.
Help ParseHelp(const std::string& text) {
  Help help;
  std::istringstream lines(text);
  std::string line, heading;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == ':' && line.find(' ') == std::string::npos) {
      heading = line;
      continue;
    }
    if (line.size() < 3 || line.compare(0, 2, "  ") != 0 || line[2] == ' ') continue;
    const std::string names = line.substr(2, line.find(' ', 2) - 2);
    if (heading == "Subcommands:") {
      help.subcommands.push_back(names);
    } else if (heading == "Options:") {
      std::istringstream each(names);
      for (std::string name; std::getline(each, name, ',');) help.options.push_back(name);
    }
  }
  return help;
}

// The manual's text about each command, by its path ("" for zel itself, "tools run"):
// a command's section starts at its "## zel PATH" heading and ends at the next heading;
// zel's own is all before the first command's.
std::map<std::string, std::string> ManualSections(const std::string& manual) {
  std::map<std::string, std::string> sections;
  std::istringstream lines(manual);
  std::string line, current;
  bool inCommand = true, seenCommand = false;
  while (std::getline(lines, line)) {
    if (line.rfind("## zel ", 0) == 0) {
      current = line.substr(7);
      sections[current];  // a command may have its heading and nothing else
      inCommand = seenCommand = true;
      continue;
    }
    if (line.rfind("#", 0) == 0 && seenCommand) inCommand = false;
    if (inCommand) sections[current] += line + "\n";
  }
  return sections;
}

// The path of a command and of each command above it: "tools run", "tools", "".
std::vector<std::string> PathAndAbove(std::string path) {
  std::vector<std::string> paths{path};
  while (!path.empty()) {
    const size_t blank = path.rfind(' ');
    path = blank == std::string::npos ? "" : path.substr(0, blank);
    paths.push_back(path);
  }
  return paths;
}

// What the manual leaves out of the help texts: "zel tools run" for a command without a
// section, "zel tools run --data" for an option (in bold, *--data*) that neither its
// command's section nor one above names.
std::vector<std::string> Missing(const std::map<std::string, Help>& helps,
                                 const std::string& manual) {
  const std::map<std::string, std::string> sections = ManualSections(manual);
  std::vector<std::string> missing;
  for (const auto& [path, help] : helps) {
    const std::string named = path.empty() ? "zel" : "zel " + path;
    if (!path.empty() && !sections.count(path)) missing.push_back(named);
    for (const std::string& option : help.options) {
      bool found = false;
      for (const std::string& at : PathAndAbove(path)) {
        auto section = sections.find(at);
        found = found || (section != sections.end() &&
                          section->second.find("*" + option + "*") != std::string::npos);
      }
      if (!found) missing.push_back(named + " " + option);
    }
  }
  return missing;
}

class ManualTest : public zel_test::ZelTest {
 protected:
  // Every command's help, zel's own under "", each subcommand's found from its parent's.
  std::map<std::string, Help> AllHelps() {
    std::map<std::string, Help> helps;
    std::vector<std::string> pending{""};
    while (!pending.empty()) {
      const std::string path = pending.back();
      pending.pop_back();
      const zel_test::ZelResult r = RunZel(path + " --help");
      EXPECT_EQ(r.status, 0) << "zel " << path << " --help: " << r.err;
      Help help = ParseHelp(r.out);
      for (const std::string& sub : help.subcommands)
        pending.push_back(path.empty() ? sub : path + " " + sub);
      helps[path] = std::move(help);
    }
    return helps;
  }
  std::string Manual() {
    return zel_test::ReadFile(std::string(ZEL_SOURCE_DIR) + "/docs/man/zel.1.scd");
  }
};

TEST_F(ManualTest, NamesEveryCommandAndOptionTheHelpLists) {
  const std::map<std::string, Help> helps = AllHelps();
  // The help was read: a parse that found nothing would pass whatever the manual says.
  ASSERT_TRUE(helps.count("tools run"));
  ASSERT_TRUE(helps.count("richtext render"));
  const std::vector<std::string>& run = helps.at("tools run").options;
  EXPECT_NE(std::find(run.begin(), run.end(), "--exe"), run.end());
  const std::vector<std::string>& render = helps.at("richtext render").options;
  EXPECT_NE(std::find(render.begin(), render.end(), "-o"), render.end());

  const std::string manual = Manual();
  ASSERT_FALSE(manual.empty());
  std::string missing;
  for (const std::string& item : Missing(helps, manual)) missing += "\n  " + item;
  EXPECT_TRUE(missing.empty()) << "zel(1) does not name:" << missing;
}

// Taking one thing out of the manual is caught, wherever the help lists it.
TEST_F(ManualTest, TellsWhatTheManualLeavesOut) {
  const std::map<std::string, Help> helps = AllHelps();
  const std::string manual = Manual();
  ASSERT_TRUE(Missing(helps, manual).empty());
  auto without = [](std::string text, const std::string& cut) {
    for (size_t at; (at = text.find(cut)) != std::string::npos;) text.erase(at, cut.size());
    return text;
  };
  struct Case {
    const char* cut;       // taken out of the manual wherever it stands
    const char* reported;  // what the check then misses
  } cases[] = {
      {"## zel tools watch\n", "zel tools watch"},
      {"## zel sxf fmt\n", "zel sxf fmt"},
      {"*--data*", "zel tools run --data"},
      {"*--version*", "zel --version"},
      {"*-o*", "zel richtext render -o"},
      {"*--no-all-files*", "zel filter --no-all-files"},
      // The layout options of the tools commands stand in their parent's section.
      {"takes the layout options *--main*", "zel tools order --main"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cut);
    const std::string cut = without(manual, c.cut);
    ASSERT_NE(cut, manual);
    const std::vector<std::string> missing = Missing(helps, cut);
    EXPECT_NE(std::find(missing.begin(), missing.end(), c.reported), missing.end())
        << "reported: " << ::testing::PrintToString(missing);
  }
}

}  // namespace
