// What every zel command keeps to: JSON that parses whatever the file names, messages that
// start "zel:" and say what and where, special files refused, structured text failures
// placed.
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

class ConventionsTest : public zel_test::ZelTest {
 protected:
  std::string Q(const std::string& name) { return "'" + (tmp / name) + "'"; }
};

TEST_F(ConventionsTest, JsonStaysValidForNamesThatAreNotUtf8) {
  const std::string name = "bad\xff\xfe.txt";  // bytes that are no UTF-8
  zel_test::WriteFile(tmp / name, ">s\nACGT\n");
  zel_test::WriteFile(tmp / "bad\xff.sxf", "(SXF a)");
  const std::string hex = [&] {
    std::string h;
    for (unsigned char c : tmp / name)
      h += "0123456789abcdef"[c >> 4], h += "0123456789abcdef"[c & 15];
    return h;
  }();
  struct Case {
    const char* command;
    std::string file;
  } cases[] = {{"detect --json", name},
               {"detect --json --content", name},
               {"lines --json", name},
               {"sxf check --json", "bad\xff.sxf"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    zel_test::ZelResult r = RunZel(std::string(c.command) + " " + Q(c.file));
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json rows = nlohmann::json::parse(r.out);  // throws on invalid UTF-8
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0]["path"].get<std::string>().find("bad\xEF\xBF\xBD"), std::string::npos);
    EXPECT_TRUE(rows[0].contains("pathHex"));
    if (c.file == name) {
      EXPECT_EQ(rows[0]["pathHex"], hex);
    }
  }
  // A folder of such names, walked.
  zel_test::ZelResult walked = RunZel("detect --json " + tmp.str());
  EXPECT_NO_THROW(nlohmann::json::parse(walked.out)) << walked.out;
}

TEST_F(ConventionsTest, SpecialFilesAreRefusedAndBrokenLinksReported) {
  std::filesystem::create_directories(tmp / "dir");
  ASSERT_EQ(::mkfifo((tmp / "dir/pipe").c_str(), 0600), 0);
  zel_test::WriteFile(tmp / "dir/a.fa", ">s\nMKV\n");
  std::filesystem::create_symlink(tmp / "dir/gone", tmp / "dir/broken");
  const std::string refused = "zel: " + tmp / "dir/pipe" + ": not a regular file\n";
  for (const char* command : {"lines", "detect", "detect --content"}) {
    SCOPED_TRACE(command);
    zel_test::ZelResult r = RunZel(std::string(command) + " " + Q("dir/pipe"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, refused);
  }
  zel_test::ZelResult r = RunZel("detect " + Q("dir"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "32\tProtein FASTA Files\t" + tmp / "dir/a.fa" + "\n");
  EXPECT_NE(r.err.find(refused), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("zel: " + tmp / "dir/broken" + ": broken link, skipped\n"),
            std::string::npos)
      << r.err;
  // Standard input is read, whatever it is.
  r = RunZel("lines - < " + Q("dir/a.fa"));
  EXPECT_EQ(r.out, "2\t-\n");
}

TEST_F(ConventionsTest, UsageErrorsSayWhatIsWrong) {
  struct Case {
    std::string args;
    int status;
    std::string err;  // the first line of standard error
  } cases[] = {
      {"bogus", 2, "zel: unknown command 'bogus' (zel --help lists the commands)"},
      {"filter 41 999", 2, "zel: filter: no file type has the id 999 (zel types lists them)"},
      {"filter 0", 2,
       "zel: filter: id 0 stands for an unknown type and has no filter (zel types lists the "
       "others)"},
      {"filter 41 0", 2,
       "zel: filter: id 0 stands for an unknown type and has no filter (zel types lists the "
       "others)"},
      {"settings set S 'a=b' v", 2, "zel: settings: an entry name cannot hold \"=\""},
      {"settings set 'S]' a v", 2, "zel: settings: a section name cannot hold \"]\""},
      {"settings set S a 'x\ny'", 2, "zel: settings: a value cannot hold a line break"},
      {"settings set --suite 'a\\b' e v", 2,
       "zel: settings: a section name of the suite's store cannot hold \"\\\""},
      {"lines --nope x", 2, "zel: The following argument was not expected: --nope"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    zel_test::ZelResult r = RunZel(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.err);
  }
  EXPECT_EQ(RunZel("settings get --default d S missing").out, "d\n");
}

TEST_F(ConventionsTest, SettingsFailuresNameTheFileReallyWritten) {
  // The suite's store lives in the user hive; a hive that cannot be replaced is named.
  std::filesystem::create_directories(tmp / "home/registry/user.reg.lock");
  zel_test::ZelResult r = RunZel("settings set --suite S e v");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("registry/user.reg"), std::string::npos) << r.err;
  std::filesystem::remove(tmp / "home/registry/user.reg.lock");
  // A damaged hive is set aside before it is rewritten, and the user is told.
  zel_test::WriteFile(tmp / "home/registry/user.reg", "[Software\\x]\n\"a\"=garbage\n");
  r = RunZel("settings set --suite S e v");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "zel: the settings file was damaged; the damaged original is kept as " +
                       tmp / "home/registry/user.reg.bad" + "\n");
  EXPECT_TRUE(std::filesystem::exists(tmp / "home/registry/user.reg.bad"));
}

TEST_F(ConventionsTest, StructuredTextFailuresSayWhereReadingStopped) {
  zel_test::WriteFile(tmp / "trunc.sxf", "(SXF (a\n  b\n");
  zel_test::WriteFile(tmp / "token.sxf", "(SXF\n  (a #x#))\n");
  zel_test::WriteFile(tmp / "header.sxf", "(DOC 1)\n");
  struct Case {
    const char* file;
    std::string tail;
  } cases[] = {
      {"trunc.sxf", " Reading stopped at line 2, at its end."},
      {"token.sxf", " Reading stopped at line 2, column 7."},
      {"header.sxf", " The root list does not begin with the header tag SXF."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    for (const char* command : {"sxf fmt", "sxf check"}) {
      zel_test::ZelResult r = RunZel(std::string(command) + " " + Q(c.file));
      EXPECT_EQ(r.status, 1);
      ASSERT_GT(r.err.size(), c.tail.size() + 1);
      EXPECT_EQ(r.err.rfind("zel: ", 0), 0u) << r.err;
      EXPECT_NE(r.err.find(tmp / c.file), std::string::npos) << r.err;
      EXPECT_EQ(r.err.substr(r.err.size() - c.tail.size() - 1), c.tail + "\n") << r.err;
    }
  }
  nlohmann::json rows = nlohmann::json::parse(RunZel("sxf check --json " + Q("token.sxf")).out);
  EXPECT_EQ(rows[0]["line"], 2);
  EXPECT_EQ(rows[0]["column"], 7);
  EXPECT_EQ(rows[0]["headerTagMissing"], false);
}

}  // namespace
