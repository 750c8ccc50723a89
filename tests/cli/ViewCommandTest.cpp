// zel view end to end without a desktop (offscreen): the picture of a document window,
// the settings a run leaves for the next one, and files that cannot be opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

constexpr const char* kGenBank =
    "LOCUS       PUC19   20 bp    DNA     circular\n"
    "DEFINITION  A test.\n"
    "ORIGIN\n"
    "        1 acgtacgtac gtacgtacgt\n"
    "//\n";

class ViewCommandTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    // Offscreen even where the test runner has a display.
    display.emplace("DISPLAY", "");
    wayland.emplace("WAYLAND_DISPLAY", "");
  }
  std::string Write(const std::string& name, const std::string& text) {
    zel_test::WriteFile(tmp / name, text);
    return tmp / name;
  }
  // A run that quits by itself after taking its picture.
  zel_test::ZelResult View(const std::string& files, const std::string& picture = "shot.png") {
    return RunZel("view " + files + " --screenshot '" + (tmp / picture) + "' --quit-after 300");
  }
  std::string Setting(const std::string& section, const std::string& entry) {
    const zel_test::ZelResult r =
        RunZel("settings get --default '(none)' '" + section + "' " + entry);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out.substr(0, r.out.find('\n'));
  }

  std::optional<zel_test::ScopedEnv> display, wayland;
};

TEST_F(ViewCommandTest, AGenBankDocumentMakesAPicture) {
  const std::string gb = Write("x.gb", kGenBank);
  const zel_test::ZelResult r = View("'" + gb + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  // PATH, width and height, as the picture was written.
  EXPECT_EQ(r.out.rfind(tmp / "shot.png" + "\t", 0), 0u) << r.out;
  std::ifstream png(tmp / "shot.png", std::ios::binary);
  char signature[8] = {};
  png.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
  EXPECT_GT(std::filesystem::file_size(tmp / "shot.png"), 1000u);
}

TEST_F(ViewCommandTest, TheDocumentsOpenAtExitComeBackNextTime) {
  const std::string a = Write("a.gb", kGenBank), b = Write("b.fa", ">s\nACGT\n");
  ASSERT_EQ(View("'" + a + "' '" + b + "'").status, 0);
  EXPECT_EQ(Setting("View", "Document1"), a);
  EXPECT_EQ(Setting("View", "Document2"), b);
  EXPECT_EQ(Setting("View", "Document3"), "(none)");
  EXPECT_EQ(Setting("Recent File List", "File1"), b);
  EXPECT_EQ(Setting("Recent File List", "File2"), a);
  const std::string placement = Setting("View", "Placement");
  EXPECT_EQ(std::count(placement.begin(), placement.end(), ','), 4) << placement;

  // Without files the two come back, and are open again at the next exit; one that went
  // meanwhile is left out without a fuss.
  std::filesystem::remove(b);
  const zel_test::ZelResult again = View("");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(Setting("View", "Document1"), a);
  EXPECT_EQ(Setting("View", "Document2"), "(none)");
}

TEST_F(ViewCommandTest, TheRecentListKeepsTheEightLastOpenedNewestFirst) {
  std::string files;
  for (int i = 1; i <= 9; ++i)
    files += " '" + Write("f" + std::to_string(i) + ".fa", ">s\nACGT\n") + "'";
  ASSERT_EQ(View(files).status, 0);
  EXPECT_EQ(Setting("Recent File List", "File1"), tmp / "f9.fa");
  EXPECT_EQ(Setting("Recent File List", "File8"), tmp / "f2.fa");
  EXPECT_EQ(Setting("Recent File List", "File9"), "(none)");
  // Opening an older one again moves it to the top.
  ASSERT_EQ(View("'" + (tmp / "f5.fa") + "'").status, 0);
  EXPECT_EQ(Setting("Recent File List", "File1"), tmp / "f5.fa");
  EXPECT_EQ(Setting("Recent File List", "File2"), tmp / "f9.fa");
  EXPECT_EQ(Setting("Recent File List", "File6"), tmp / "f4.fa");
}

TEST_F(ViewCommandTest, AFileThatCannotBeOpenedIsNamedWithTheReason) {
  const std::string missing = tmp / "missing.gb";
  const zel_test::ZelResult none = View("'" + missing + "'");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("zel: view: " + missing + ": "), std::string::npos) << none.err;
  // Nothing to show: no window, no picture.
  EXPECT_FALSE(std::filesystem::exists(tmp / "shot.png"));

  // With one good document the window opens, and the run still says one failed.
  const std::string good = Write("good.gb", kGenBank);
  const zel_test::ZelResult some = View("'" + missing + "' '" + good + "'");
  EXPECT_EQ(some.status, 1);
  EXPECT_NE(some.err.find(missing), std::string::npos) << some.err;
  EXPECT_TRUE(std::filesystem::exists(tmp / "shot.png"));
  EXPECT_EQ(Setting("View", "Document1"), good);
}

}  // namespace
