// The zel commands of the layout and settings: layout, settings, register-shell.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/support/TestSupport.h"

namespace {

using LayoutCommandTest = zel_test::ZelTest;

TEST_F(LayoutCommandTest, LayoutPrintsEveryGlobal) {
  zel_test::ZelResult r = RunZel("layout --json --main /m --exe /x --tools-base /t");
  ASSERT_EQ(r.status, 0) << r.err;
  auto json = nlohmann::json::parse(r.out);
  EXPECT_EQ(json.size(), 51u);
  EXPECT_EQ(json["MAINDIR"], "/m");
  EXPECT_EQ(json["SEQDIR"], "/m/MolData/Seq");
  EXPECT_EQ(json["DEFFILE"], "/m/MolProf.ini");
  EXPECT_EQ(json["EXEDIR"], "/x");
  EXPECT_EQ(json["TOOLSDIR"], "/t/Tools");
  EXPECT_EQ(json["TUVAPPFILE"], "/t/Tools/TuvW.exe");
  EXPECT_TRUE(json["NETWORKDIR"].is_null());
  EXPECT_TRUE(json["NETLOCKFILE"].is_null());

  r = RunZel("layout --main /m --network /n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "MAINDIR\t/m");
  EXPECT_NE(r.out.find("\nNETLOCKFILE\t/n/locks/dblock\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\nTCHDIR\t/m/Tables/Incr\n"), std::string::npos) << r.out;
}

TEST_F(LayoutCommandTest, LayoutFindsTheStoredMainFolder) {
  zel_test::ZelResult r = RunZel("layout");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("--main"), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty());
  std::filesystem::create_directories(tmp / "data");
  ASSERT_EQ(RunZel("settings set Directories MainDir '" + tmp / "data" + "'").status, 0);
  r = RunZel("layout");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "MAINDIR\t" + tmp / "data");
  EXPECT_NE(r.out.find("\nNETWORKDIR\t\n"), std::string::npos) << r.out;
}

TEST_F(LayoutCommandTest, SettingsGetAndSet) {
  zel_test::ZelResult r = RunZel("settings get Some Entry");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "\n");
  EXPECT_EQ(RunZel("settings get --default dflt Some Entry").out, "dflt\n");
  ASSERT_EQ(RunZel("settings set Some Entry 'a value'").status, 0);
  EXPECT_EQ(RunZel("settings get SOME entry").out, "a value\n");
  EXPECT_EQ(RunZel("settings get --suite Some Entry").out, "\n");  // the stores stay apart
  ASSERT_EQ(RunZel("settings set --suite Some Entry suite").status, 0);
  EXPECT_EQ(RunZel("settings get --suite some ENTRY").out, "suite\n");
  EXPECT_EQ(RunZel("settings get Some Entry").out, "a value\n");
  EXPECT_EQ(zel_test::ReadFile(tmp / "home/profiles/zel.ini"), "[Some]\r\nEntry=a value\r\n");
  EXPECT_EQ(RunZel("settings set Some Entry").status, 2);
  EXPECT_EQ(RunZel("settings frob").status, 2);
  // A store that cannot be written says where it is.
  std::filesystem::create_directories(tmp / "home/profiles/zel.ini.tmp");
  r = RunZel("settings set Some Entry other");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("profiles/zel.ini"), std::string::npos) << r.err;
  EXPECT_EQ(RunZel("settings get Some Entry").out, "a value\n");
}

TEST_F(LayoutCommandTest, RegisterShellPrintsWhatItWrote) {
  zel_test::ZelResult r = RunZel("register-shell");
  ASSERT_EQ(r.status, 0) << r.err;
  std::string exe = std::filesystem::canonical(ZEL_BINARY).string();
  for (std::string line : {
           std::string("HKEY_CLASSES_ROOT\\QLLIMolDoc\t@\tQuillion DNA/RNA Document"),
           "HKEY_CLASSES_ROOT\\QLLIMolDoc\\shell\\open\\command\t@\t\"" + exe + "\" -NoSplash",
           std::string("HKEY_CLASSES_ROOT\\.gb\t@\tQLLIMolDoc"),
           std::string("HKEY_CLASSES_ROOT\\.gb\tContent Type\tchemical/seq-na-genbank"),
           std::string("HKEY_CLASSES_ROOT\\MIME\\Database\\Content "
                       "Type\\application/qlli-ekmols\tExtension\t.ekm"),
       }) {
    EXPECT_NE(r.out.find(line + "\n"), std::string::npos) << line << "\n" << r.out;
  }
  EXPECT_NE(r.err.find("registry/classes.reg"), std::string::npos) << r.err;
}

}  // namespace
