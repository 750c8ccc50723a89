// The directory layout: derived folders and files, the tool folders, and the search for the
// main data folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "layout/DirectoryLayout.h"
#include "layout/Settings.h"
#include "platform/user/app/WinApp.h"
#include "tests/support/TestSupport.h"

namespace {

class DirectoryLayoutTest : public zel_test::ZelChildTest {
 protected:
  DirectoryLayoutTest() {
    m_scope.Use(&picker);
    app.m_strExeName = "layouttest";
    app.m_strExePath = (tmp / "prog/layouttest").c_str();
    std::filesystem::create_directories(tmp / "prog");
    std::filesystem::create_directories(tmp / "data");
  }
  CString Stored() { return ZelGetProfileString("directories", "maindir", nullptr); }
  void MarkProgramFolder() { zel_test::WriteFile(tmp / "prog/Zeludat.def", ""); }

  CWinApp app{"Layout Test"};
  ScriptedUiBackend picker;

 private:
  zel_test::IntegrationScope m_scope;
};

TEST_F(DirectoryLayoutTest, TablesDeriveFromTheirRoots) {
  MAINDIR.SetSpecWin("/m/");
  EXEDIR.SetSpecWin("/x");
  NETWORKDIR.SetSpecWin("/n");
  RecalcMAINDIRDependencies();
  RecalcEXEDIRDependencies();
  RecalcNETWORKDIRDependencies();
  // Derived parents use the value just computed in the same pass; case matters on the
  // network side.
  struct Dir {
    const CZelDirSpec& spec;
    const char* path;
  } dirs[] = {
      {SEQDIR, "/m/MolData/Seq"},     {PSEQDIR, "/m/ProData/Seq"},
      {TCHDIR, "/m/Tables/Incr"},     {GMCOMMENTDIR, "/m/GMData/Comment"},
      {REPORTDIR, "/m/Reports"},      {TOOLSMENUDIR, "/x/Tools/Menu"},
      {NETPSEQDIR, "/n/prodata/seq"}, {NETMOTCOMMENTDIR, "/n/motdata/comment"},
      {NETTCHDIR, "/n/tables/incr"},
  };
  for (const Dir& d : dirs) {
    SCOPED_TRACE(d.path);
    EXPECT_TRUE(d.spec.IsSpecSet());
    EXPECT_STREQ(d.spec.GetPath(), d.path);
  }
  struct File {
    const CZelFileSpec& spec;
    const char* path;
    int type;
  } files[] = {
      {DEFFILE, "/m/MolProf.ini", 51},       {PRODEFFILE, "/m/ProProf.ini", 51},
      {FTFILE, "/m/FTypes.def", 17},         {SVFONTFILE, "/m/QLLSSer.fon", 50},
      {UDATFILE, "/m/Zeludat.def", 17},      {LOCKFILE, "/m/DB_Lock", 5},
      {TUVAPPFILE, "/x/Tools/TuvW.exe", 52}, {NETDBDEFFILE, "/n/dbdef", 3},
      {NETDBDEFFILEDELUXE, "/n/dbsch", 3},   {NETLOCKFILE, "/n/locks/dblock", 2},
  };
  for (const File& f : files) {
    SCOPED_TRACE(f.path);
    EXPECT_STREQ(f.spec.GetPath(), f.path);
    EXPECT_EQ(f.spec.GetType(), f.type);
  }
}

TEST_F(DirectoryLayoutTest, ToolSpecsFollowTheirBaseOnly) {
  MAINDIR.SetSpecWin((tmp / "data").c_str());
  RecalcMAINDIRDependencies();
  EXEDIR.SetSpecWin((tmp / "prog").c_str());
  RecalcEXEDIRDependencies();
  EXPECT_EQ(std::string(TUVAPPFILE.GetPath()), tmp / "prog/Tools/TuvW.exe");  // neither exists
  std::filesystem::create_directories(tmp / "prog/Tools");
  zel_test::WriteFile(tmp / "prog/Tools/TuvW32.exe", "");
  RecalcEXEDIRDependencies();
  EXPECT_EQ(std::string(TUVAPPFILE.GetPath()), tmp / "prog/Tools/TuvW32.exe");

  CString seq = SEQDIR.GetPath();
  CalcToolSpecs(CZelDirSpec((tmp / "elsewhere").c_str()));
  EXPECT_EQ(std::string(TOOLSDIR.GetPath()), tmp / "elsewhere/Tools");
  EXPECT_EQ(std::string(TOOLSMENUDIR.GetPath()), tmp / "elsewhere/Tools/Menu");
  EXPECT_EQ(std::string(TUVAPPFILE.GetPath()), tmp / "elsewhere/Tools/TuvW.exe");
  EXPECT_EQ(std::string(EXEDIR.GetPath()), tmp / "prog");
  EXPECT_EQ(SEQDIR.GetPath(), seq);
}

TEST_F(DirectoryLayoutTest, UnsetRootsLeaveEverythingUnset) {
  // The globals start unset in a fresh process, and stay so through recalculation.
  EXPECT_EXIT(
      {
        RecalcMAINDIRDependencies();
        RecalcEXEDIRDependencies();
        RecalcNETWORKDIRDependencies();
        auto unset = [this](const char* name, int set, const char* path) {
          ChildExpectEq((std::string(name) + " set, to \"" + path + "\"").c_str(), 0, set);
        };
        unset("MAINDIR", MAINDIR.IsSpecSet(), MAINDIR.GetPath());
        unset("SEQDIR", SEQDIR.IsSpecSet(), SEQDIR.GetPath());
        unset("DEFFILE", DEFFILE.IsSpecSet(), DEFFILE.GetPath());
        unset("TOOLSDIR", TOOLSDIR.IsSpecSet(), TOOLSDIR.GetPath());
        unset("TUVAPPFILE", TUVAPPFILE.IsSpecSet(), TUVAPPFILE.GetPath());
        unset("NETLOCKFILE", NETLOCKFILE.IsSpecSet(), NETLOCKFILE.GetPath());
        ExitChild(0);
      },
      ::testing::ExitedWithCode(0), ::testing::IsEmpty());
}

TEST_F(DirectoryLayoutTest, StoredFolderIsTakenAsItIs) {
  ASSERT_EQ(ZelWriteProfileString("Directories", "MainDir", (tmp / "data").c_str())[0], 1);
  MarkProgramFolder();  // not even looked at
  CZelDirSpec dir;
  EXPECT_EQ(GetZelMainDir(dir, 0), 1);
  EXPECT_EQ(std::string(dir.GetPath()), tmp / "data");
  EXPECT_TRUE(picker.folderDialogs.empty());
}

TEST_F(DirectoryLayoutTest, MarkedProgramFolderIsTakenAndStored) {
  for (const char* stored : {"", "/no/such/folder"}) {
    SCOPED_TRACE(stored);
    ZelWriteProfileString("directories", "maindir", stored);
    CZelDirSpec dir;
    std::filesystem::remove(tmp / "prog/Zeludat.def");
    picker.folderAnswers.push_back(std::nullopt);
    EXPECT_EQ(GetZelMainDir(dir, 0), 0);  // unmarked: the picker opens, and is cancelled
    EXPECT_EQ(Stored(), stored);
    ASSERT_FALSE(picker.folderDialogs.empty());
    EXPECT_EQ(picker.folderDialogs.back().initialDir.str(), tmp / "prog");
    MarkProgramFolder();
    EXPECT_EQ(GetZelMainDir(dir, 0), 1);
    EXPECT_EQ(std::string(dir.GetPath()), tmp / "prog");
    EXPECT_EQ(Stored().str(), tmp / "prog");
  }
  EXPECT_EQ(picker.folderDialogs.size(), 2u);
}

TEST_F(DirectoryLayoutTest, PickerOpensOnTheProgramFolder) {
  ZelWriteProfileString("directories", "maindir", (tmp / "data").c_str());
  struct Case {
    const char* what;
    int ask;
    std::optional<std::string> answer;
    int want;
    std::string stored;  // afterwards
  } cases[] = {
      {"asked although a folder is stored", 1, tmp / "chosen", 1, tmp / "chosen"},
      {"cancelled", 1, std::nullopt, 0, tmp / "chosen"},
      {"chosen folder does not exist", 1, tmp / "nothing", 0, tmp / "chosen"},
  };
  std::filesystem::create_directories(tmp / "chosen");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    picker.folderDialogs.clear();
    if (c.answer)
      picker.folderAnswers.push_back(CString(c.answer->c_str()));
    else
      picker.folderAnswers.push_back(std::nullopt);
    CZelDirSpec dir;
    EXPECT_EQ(GetZelMainDir(dir, c.ask), c.want);
    ASSERT_EQ(picker.folderDialogs.size(), 1u);
    EXPECT_EQ(picker.folderDialogs[0].title, "Please select Quillion Database folder");
    EXPECT_EQ(picker.folderDialogs[0].initialDir.str(), tmp / "prog");
    EXPECT_EQ(Stored().str(), c.stored);
  }
}

}  // namespace
