// zel choose and zel ask: the filter they would show, usage errors, and no dialog waiting
// for nobody (console and unattended Qt cancel).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

class ChooseAskCommandTest : public zel_test::ZelTest {
 protected:
  zel_test::ScopedEnv noDisplay{"DISPLAY", ""};
  zel_test::ScopedEnv noWayland{"WAYLAND_DISPLAY", ""};
};

TEST_F(ChooseAskCommandTest, PrintFilterShowsWhatTheDialogWouldGet) {
  struct Case {
    const char* args;
    const char* filter;
    const char* defaultExt;
    const char* dialog;
  } cases[] = {
      {"open --types 27,41 --all-label 'All Sequence Files'",
       "All Sequence Files|*.gb;*.gbk;*.gb|GenBank Files (*.gb;*.gbk)|*.gb;*.gbk|"
       "DNA/RNA Documents (*.gb)|*.gb|All Files (*.*)|*.*||",
       "", "open"},
      {"save --types 41", "DNA/RNA Documents (*.gb)|*.gb||", "gb", "save"},
      // The remembering chooser appends through the open dialog.
      {"append --types 27 --folder-key Seqs", "GenBank Files (*.gb)|*.gb||", "gb", "open"},
      {"append --types 27", "GenBank Files (*.gb)|*.gb||", "gb", "save"},
      // An id no row has stands for the first row.
      {"save --types 99999", "Data Files (*.)|*.||", "", "save"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const zel_test::ZelResult r = RunZel(std::string("choose ") + c.args + " --print-filter");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json, (nlohmann::json{
                        {"filter", c.filter}, {"defaultExt", c.defaultExt}, {"dialog", c.dialog}}));
  }
}

TEST_F(ChooseAskCommandTest, UsageErrors) {
  for (const char* args :
       {"choose open", "choose folder --print-filter", "choose folder --types 27",
        "choose open --types 27,x", "choose open --types 27,", "choose open --types 99999999999",
        "choose sideways --types 27", "ask --flags 0x800", "ask --flags many",
        "ask --flags 4 --text three", "ask --flags 8 --text 2147483648",
        "ask --flags 16 --text -1"}) {
    SCOPED_TRACE(args);
    const zel_test::ZelResult r = RunZel(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("zel: ", 0), 0u) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(ChooseAskCommandTest, HelpSaysWhichModesNeedTypes) {
  const zel_test::ZelResult r = RunZel("choose --help");
  EXPECT_EQ(r.status, 0);
  const size_t types = r.out.find("--types");
  ASSERT_NE(types, std::string::npos) << r.out;
  const size_t next = r.out.find("--title", types);
  EXPECT_NE(r.out.substr(types, next - types).find("required for open, save and append"),
            std::string::npos)
      << r.out;
}

TEST_F(ChooseAskCommandTest, WithoutAPersonEveryDialogIsCancelled) {
  for (const char* ui : {"console", "qt"}) {
    zel_test::ScopedEnv choice("ZEL_UI", ui);
    zel_test::ScopedEnv platform("QT_QPA_PLATFORM", "offscreen");
    struct Case {
      const char* args;
      const char* message;
    } cases[] = {
        {"choose open --types 27", "zel: choose: no file was chosen\n"},
        {"choose save --types 41 --folder-key K", "zel: choose: no file was chosen\n"},
        {"choose folder --title Where", "zel: choose: no folder was chosen\n"},
        {"ask --caption Name --text x --choice a --flags 0x100", "zel: ask: nothing was entered\n"},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(ui) + ": " + c.args);
      const zel_test::ZelResult r = RunZel(c.args);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.out, "");
      EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
  }
}

}  // namespace
