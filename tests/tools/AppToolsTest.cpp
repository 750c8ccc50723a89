// The tool manager: loading the tree from the tool folder, creating tools safely, finding
// them, and migrating the old tools profile.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "files/FileTypeIds.h"
#include "files/ZelTextFile.h"
#include "layout/DirectoryLayout.h"
#include "serialization/ZelArchive.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/PlantedFiles.h"
#include "tests/tools/ToolFixtures.h"
#include "tools/AppTools.h"
#include "tools/MenuOrder.h"

namespace fs = std::filesystem;

namespace {

using zel_test::ReadFile;
using zel_test::WriteFile;

std::string Tq(int inputType, const std::string& target, const std::string& command = "") {
  return "[ToolUnitShortcut]\r\nInputType=" + std::to_string(inputType) + "\r\nTarget=" + target +
         "\r\nCommand=" + command + "\r\n";
}

// The loader, the creation of tools and the migration, on managers that do not watch: a
// watch would mark the tree stale at the tests' own writes, and migrate at once.
class AppToolsTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    base = tmp / "Programs";
    fs::create_directories(base);
    CalcToolSpecs(CZelDirSpec(base.c_str()));
    menu = TOOLSMENUDIR.GetPath();
  }
  void TearDown() override {
    TOOLSDIR.ClearSpec();
    TOOLSMENUDIR.ClearSpec();
  }
  void Put(const std::string& rel, const std::string& bytes) {
    fs::create_directories(fs::path(menu + "/" + rel).parent_path());
    WriteFile(menu + "/" + rel, bytes);
  }
  // Every tool: menu path and index, depth-first.
  static std::string Listing(const CToolNode* node) {
    std::string out;
    for (POSITION p = node->GetChildren().GetHeadPosition(); p;) {
      auto* child = static_cast<const CToolNode*>(node->GetChildren().GetNext(p));
      if (child->IsCommand()) out += child->GetMenuPath().str() + ";";
      out += Listing(child);
    }
    return out;
  }
  std::string base, menu;
};

TEST_F(AppToolsTest, LoadsFoldersAndToolsButNoEmptyFolders) {
  Put("Align/Blast.tq", Tq(0, "blastn"));
  Put("Viewer.lnk", [] {
    zel_fixtures::LinkSpec s;
    s.localBasePath = "/usr/bin/viewer";
    return zel_fixtures::ShellLink(s);
  }());
  Put("Align/notes.txt", "not a tool");
  fs::create_directories(menu + "/Empty/Deeper");
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  EXPECT_EQ(Listing(tools.GetMainNode()), "Align|Blast;Viewer;");
  EXPECT_EQ(tools.GetMainNode()->GetChildren().GetCount(), 2);
  CToolNode* blast = tools.FindTool("Align|Blast", CToolDataUnit::tq);
  ASSERT_TRUE(blast);
  EXPECT_EQ(blast->GetTool().GetManager(), &tools);
  EXPECT_EQ(tools.FindTool("Align", CToolDataUnit::none), nullptr);
  EXPECT_EQ(tools.FindTool("Viewer", CToolDataUnit::tq), nullptr);
  EXPECT_NE(tools.FindTool("Viewer", CToolDataUnit::lnk), nullptr);
  EXPECT_EQ(tools.FindZelTool("Align|Blast"), &blast->GetTool());
  EXPECT_EQ(tools.FindToolData("Align|Nothing"), nullptr);
  EXPECT_EQ(tools.GetReloadNeeded(), 0);
}

TEST_F(AppToolsTest, TwoLoadsGiveTheSameIndexes) {
  for (int i = 0; i < 12; ++i)
    Put("F" + std::to_string(i % 3) + "/t" + std::to_string(i) + ".tq", Tq(0, "x"));
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  std::vector<int> first;
  for (int i = 1; i <= 12; ++i) {
    const CToolNode* node = tools.GetMainNode()->FindNode(i);
    ASSERT_TRUE(node) << i;
    first.push_back(i);
  }
  EXPECT_EQ(tools.GetMainNode()->FindNode(13), nullptr);
  std::string before = Listing(tools.GetMainNode());
  std::vector<std::string> paths;
  for (int i = 1; i <= 12; ++i)
    paths.push_back(tools.GetMainNode()->FindNode(i)->GetMenuPath().str());
  tools.SetReloadNeeded(1);
  tools.ReloadTools();
  for (int i = 1; i <= 12; ++i)
    EXPECT_EQ(tools.GetMainNode()->FindNode(i)->GetMenuPath().str(), paths[i - 1]);
  EXPECT_EQ(Listing(tools.GetMainNode()), before);
}

TEST_F(AppToolsTest, ReloadsOnlyWhenNeeded) {
  Put("a.tq", Tq(0, "x"));
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  Put("b.tq", Tq(0, "x"));
  tools.ReloadTools();
  EXPECT_EQ(Listing(tools.GetMainNode()), "a;");
  tools.SetReloadNeeded(1);
  tools.ReloadTools();
  EXPECT_EQ(Listing(tools.GetMainNode()), "a;b;");
}

TEST_F(AppToolsTest, TheMenuOrderFileOrdersTheTree) {
  Put("Alpha.tq", Tq(0, "x"));
  Put("Beta.tq", Tq(0, "x"));
  Put("Sub/One.tq", Tq(0, "x"));
  Put("Sub/Two.tq", Tq(0, "x"));
  CMenuOrder order;
  order.GetOrCreateNode("Beta.tq")->SetOrderName("a");
  order.GetOrCreateNode("Sub")->SetOrderName("b");
  order.GetOrCreateNode("Alpha.tq")->SetOrderName("c");
  order.GetOrCreateNode("Sub")->GetOrCreateNode("Two.tq")->SetOrderName("a");
  CAppTools tools(CAppTools::kNoWatch);
  ASSERT_FALSE(order.WriteOrderFile((std::string(TOOLSDIR.GetPath()) + "/MenuOrder.ini").c_str()));
  tools.ReloadTools();
  EXPECT_EQ(Listing(tools.GetMainNode()), "Beta;Sub|Two;Sub|One;Alpha;");
  // A damaged file is no order: by name.
  WriteFile(std::string(TOOLSDIR.GetPath()) + "/MenuOrder.ini", "garbage");
  tools.SetReloadNeeded(1);
  tools.ReloadTools();
  EXPECT_EQ(Listing(tools.GetMainNode()), "Alpha;Beta;Sub|One;Sub|Two;");
}

TEST_F(AppToolsTest, UnsupportedInputTypesAreLeftOut) {
  Put("a.tq", Tq(3, "x"));
  Put("b.tq", Tq(4, "x"));
  Put("c.tq", Tq(0, "x"));
  CAppTools tools(CAppTools::kNoWatch);
  tools.GetTypeList().Add(3);
  tools.ReloadTools();
  EXPECT_EQ(Listing(tools.GetMainNode()), "b;c;");
  tools.SetTypeListIncludes(1);
  tools.SetReloadNeeded(1);
  tools.ReloadTools();
  EXPECT_EQ(Listing(tools.GetMainNode()), "a;c;");
}

TEST_F(AppToolsTest, LinkedFoldersAreWalkedOnce) {
  Put("Real/t.tq", Tq(0, "x"));
  fs::create_directory_symlink(menu + "/Real", menu + "/Alias");
  fs::create_directory_symlink(menu, menu + "/Real/Loop");
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  std::string listing = Listing(tools.GetMainNode());
  // One of the two names for the folder holds the tool; the loop is not followed.
  EXPECT_TRUE(listing == "Alias|t;" || listing == "Real|t;") << listing;
}

TEST_F(AppToolsTest, FolderLinksAreFollowedOnlyInsideTheToolFolder) {
  Put("Real/t.tq", Tq(0, "x"));
  fs::create_directories(tmp / "Elsewhere/Deeper");
  WriteFile(tmp / "Elsewhere/Deeper/x.tq", Tq(0, "x"));
  fs::create_directory_symlink(tmp / "Elsewhere", menu + "/Out");
  fs::create_directory_symlink("Real", menu + "/In");
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  std::string listing = Listing(tools.GetMainNode());
  EXPECT_TRUE(listing == "In|t;" || listing == "Real|t;") << listing;
}

// Pipes, sockets and links to them are passed over without being opened (a pipe's
// opening would wait for a writer for ever); the tools beside them load.
TEST_F(AppToolsTest, SpecialFilesAreSkippedWithoutBeingOpened) {
  Put("Good.tq", Tq(0, "x"));
  fs::create_directories(menu + "/Sub");
  const std::vector<std::string> fifos = {menu + "/pipe.tq", menu + "/notes", menu + "/Sub/deep.tq",
                                          std::string(TOOLSDIR.GetPath()) + "/MenuOrder.ini"};
  for (const std::string& fifo : fifos) zel_special::MakeFifo(fifo);
  fs::create_symlink(menu + "/pipe.tq", menu + "/link.tq");
  zel_special::MakeSocket(menu + "/sock.tq");
  CAppTools tools(CAppTools::kNoWatch);
  EXPECT_TRUE(zel_special::FinishesWithin([&] { tools.ReloadTools(); }, fifos));
  EXPECT_EQ(Listing(tools.GetMainNode()), "Good;");
}

TEST_F(AppToolsTest, AFoldersTitleIsItsNameWithoutTheExtension) {
  Put("Seq.v1/A.tq", Tq(0, "x"));
  Put("Seq.v2/B.tq", Tq(0, "x"));
  Put("Plain/C.tq", Tq(0, "x"));
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  // Seq.v1 and Seq.v2 are one Seq menu.
  EXPECT_EQ(Listing(tools.GetMainNode()), "Plain|C;Seq|A;Seq|B;");
  EXPECT_EQ(tools.GetMainNode()->GetChildren().GetCount(), 2);
  EXPECT_TRUE(tools.FindZelTool("Seq|B"));
}

TEST_F(AppToolsTest, AMissingOrUnreadableToolFolderListsNothing) {
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  EXPECT_EQ(tools.GetMainNode()->GetChildren().GetCount(), 0);
  EXPECT_FALSE(fs::exists(menu));  // and nothing was made
  Put("a.tq", Tq(0, "x"));
  fs::permissions(menu, fs::perms::none);
  tools.SetReloadNeeded(1);
  tools.ReloadTools();
  if (::geteuid() != 0) {  // root reads it all the same
    EXPECT_EQ(tools.GetMainNode()->GetChildren().GetCount(), 0);
  }
  fs::permissions(menu, fs::perms::owner_all);
}

TEST_F(AppToolsTest, CreateToolWritesFoldersAndTheToolFile) {
  CAppTools tools(CAppTools::kNoWatch);
  CToolDataBase def;
  def.m_inputType = 2;
  def.m_target = "revcomp";
  def.m_command = "%1";
  def.m_description = "Reverse";
  ASSERT_EQ(tools.CreateTool("Sequence|Reverse", &def), 1);
  EXPECT_FALSE(tools.GetCreateError());
  std::string text = ReadFile(menu + "/Sequence/Reverse.tq");
  EXPECT_NE(text.find("Target=revcomp"), std::string::npos) << text;
  // The new leaf is of kind 0 until the folder is read again.
  const CToolNode* leaf = tools.FindTool("Sequence|Reverse", CToolDataUnit::none);
  ASSERT_TRUE(leaf);
  EXPECT_EQ(leaf->GetTool().m_producedType, CToolDataUnit::none);
  EXPECT_EQ(leaf->GetTool().m_description, "Reverse");
  EXPECT_EQ(leaf->GetTool().GetRunMode(), 1);
  EXPECT_EQ(leaf->GetToolIndex(), 1);
  EXPECT_EQ(tools.FindZelTool("Sequence|Reverse"), nullptr);
  EXPECT_EQ(tools.GetReloadNeeded(), 0);
  tools.SetReloadNeeded(1);
  tools.ReloadTools();
  ASSERT_TRUE(tools.FindZelTool("Sequence|Reverse"));
  EXPECT_EQ(tools.FindZelTool("Sequence|Reverse")->m_producedType, CToolDataUnit::tq);
  // Creating it again takes the tool file's leaf.
  def.m_description = "Reverse again";
  ASSERT_EQ(tools.CreateTool("Sequence|Reverse", &def), 1);
  EXPECT_EQ(tools.FindTool("Sequence|Reverse", CToolDataUnit::none)->GetTool().m_description,
            "Reverse again");
  tools.SetReloadNeeded(1);
  tools.ReloadTools();
  EXPECT_EQ(tools.FindZelTool("Sequence|Reverse")->m_description, "Reverse again");
}

TEST_F(AppToolsTest, AFailedCreateTakesBackTheFoldersItMade) {
  CAppTools tools(CAppTools::kNoWatch);
  CToolDataBase def;
  def.m_target = "two\nlines";  // no tool file line can hold it
  EXPECT_EQ(tools.CreateTool("Seq|Sub|Tool", &def), 0);
  EXPECT_EQ(tools.GetCreateError(), std::errc::invalid_argument);
  EXPECT_FALSE(fs::exists(TOOLSDIR.GetPath()));  // Tools, Menu, Seq and Sub were all made here
  EXPECT_TRUE(fs::exists(base));
  // Folders that were there before stay.
  fs::create_directories(menu + "/Seq");
  EXPECT_EQ(tools.CreateTool("Seq|Sub|Tool", &def), 0);
  EXPECT_TRUE(fs::exists(menu + "/Seq"));
  EXPECT_FALSE(fs::exists(menu + "/Seq/Sub"));
}

// Tool names up to the longest file name the system takes, the extension included.
TEST_F(AppToolsTest, NamesThatFitAreAccepted) {
  CAppTools tools(CAppTools::kNoWatch);
  CToolDataBase def;
  def.m_target = "x";
  for (size_t n : {243u, 248u, 252u}) {
    SCOPED_TRACE(n);
    std::string name(n, 'n');
    EXPECT_EQ(tools.CreateTool(name.c_str(), &def), 1) << tools.GetCreateError().message();
    EXPECT_TRUE(fs::exists(menu + "/" + name + ".tq"));
  }
  EXPECT_EQ(tools.CreateTool(std::string(253, 'n').c_str(), &def), 0);
  EXPECT_EQ(tools.GetCreateError(), std::errc::filename_too_long);
  for (auto& e : fs::directory_iterator(menu))
    EXPECT_EQ(e.path().extension(), ".tq") << e.path();  // nothing else left behind
}

TEST_F(AppToolsTest, CreateToolRefusesPathsThatLeaveTheToolFolder) {
  CAppTools tools(CAppTools::kNoWatch);
  CToolDataBase def;
  def.m_target = "x";
  for (const char* path : {"..|evil", "a|..|evil", ".|x", "a||b", "", "a|", "|a", "a/b", "a\\b",
                           "..", "x|../../etc"}) {
    EXPECT_EQ(tools.CreateTool(path, &def), 0) << path;
  }
  EXPECT_EQ(tools.CreateTool(nullptr, &def), 0);
  EXPECT_EQ(tools.CreateTool("ok", nullptr), 0);
  EXPECT_FALSE(fs::exists(menu));  // nothing was touched
  EXPECT_EQ(tools.GetMainNode()->GetChildren().GetCount(), 0);
  EXPECT_FALSE(fs::exists(base + "/evil.tq"));
  EXPECT_FALSE(fs::exists(tmp / "evil.tq"));
}

TEST_F(AppToolsTest, CreateToolOnAFullDiskLeavesNoHalfWrittenTool) {
  fs::create_directories(menu);
  zel_test::ScopedTmpfs disk(menu, "8k");
  if (!disk.mounted()) GTEST_SKIP() << "no mounts here";
  // Fill the disk.
  WriteFile(menu + "/filler", std::string(64 * 1024, 'x'));
  CAppTools tools(CAppTools::kNoWatch);
  CToolDataBase def;
  def.m_target = std::string(200, 't').c_str();
  def.m_description = std::string(200, 'd').c_str();
  EXPECT_EQ(tools.CreateTool("Big", &def), 0);
  EXPECT_FALSE(fs::exists(menu + "/Big.tq"));
  EXPECT_EQ(tools.FindZelTool("Big"), nullptr);
  for (auto& e : fs::directory_iterator(menu)) EXPECT_EQ(e.path().filename(), "filler") << e.path();
}

TEST_F(AppToolsTest, CreateToolWhereAFolderCannotBeMadeAnswers0) {
  fs::create_directories(menu);
  WriteFile(menu + "/Seq", "a file where the folder should go");
  CAppTools tools(CAppTools::kNoWatch);
  CToolDataBase def;
  def.m_target = "x";
  EXPECT_EQ(tools.CreateTool("Seq|Tool", &def), 0);
}

TEST_F(AppToolsTest, FixedIndexesAndTheLastTool) {
  Put("Corvane/About Quillion....tq", Tq(0, "about"));
  Put("Align/Blast.tq", Tq(0, "blast"));
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  const CToolNode* blast = tools.FindTool("Align|Blast", CToolDataUnit::tq);
  ASSERT_TRUE(blast);
  EXPECT_EQ(tools.FindZelTool(blast->GetToolIndex()), &blast->GetTool());
  EXPECT_EQ(tools.GetLastTool(), "Align|Blast");
  EXPECT_EQ(tools.FindZelTool(-1), &blast->GetTool());
  ASSERT_TRUE(tools.FindZelTool(-2));
  EXPECT_EQ(tools.FindZelTool(-2)->m_target, "about");
  EXPECT_EQ(tools.FindZelTool(-3), nullptr);
  EXPECT_EQ(tools.FindZelTool(-5), nullptr);
  EXPECT_EQ(tools.FindZelTool(99), nullptr);
}

TEST(AppToolsNames, NormalizeName) {
  CString name = "a/b:c";
  CAppTools::NormalizeName(name);
  EXPECT_EQ(name, "a-b-c");
  name = "a|b\\?*\"<>";
  CAppTools::NormalizeName(name);
  EXPECT_EQ(name, "a|b------");
}

// ---- the old tools profile ----

class MigrationTest : public AppToolsTest {
 protected:
  // Writes the old profile through the manager's own storing.
  void WriteProfile(const std::vector<std::pair<std::string, CToolData>>& entries,
                    const char* lastTool) {
    CAppTools writer(CAppTools::kNoWatch);
    for (const auto& [path, tool] : entries)
      writer.GetProfileInMemory().SetAt(path.c_str(), new CToolData(tool));
    writer.SetLastTool(lastTool);
    fs::create_directories(TOOLSDIR.GetPath());
    CZelTextFile file(CZelFileSpec(TOOLSDIR, TOOLPROF_FILE_NAME, kProfile));
    ASSERT_TRUE(file.CreateOutput());
    CZelArchive ar(&file, CZelArchive::store, nullptr, 75);
    ar.SerializeMember(&writer, &ZelSerializeThunk<CAppTools, &CAppTools::_zel_serialize>,
                       "CToolsSetupDlg");
    ar.Close();
    file.Close();
  }
};

TEST_F(MigrationTest, TheProfileBecomesATreeUnderToolsAlignAndAnalyze) {
  WriteProfile({{"Blast", CToolData("b", 0, "blast", 1, "")},
                {"Analyze|Dot plot", CToolData("d", 2, "dot", 1, "%1")},
                {"Align|Clustal", CToolData("c", 3, "clustal", 1, "")}},
               "Blast");
  CAppTools tools(CAppTools::kNoWatch);
  ASSERT_EQ(tools.ReadOldToolsProfile(), 1);
  EXPECT_EQ(tools.GetLastTool(), "Blast");
  const CToolNode* first = tools.GetMainNode()->FindNode(0);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->GetMenuPath(), "Tools|Blast");
  EXPECT_EQ(tools.GetMainNode()->FindNode(1)->GetMenuPath(), "Analyze|Dot plot");
  EXPECT_EQ(tools.GetMainNode()->FindNode(2)->GetMenuPath(), "Align|Clustal");
  EXPECT_EQ(tools.GetMainNode()->FindNode(1)->GetTool().m_command, "%1");
  EXPECT_TRUE(tools.GetProfileInMemory().IsEmpty());
}

// Entries skipped for their paths still count, so that every entry keeps its index.
TEST_F(MigrationTest, EveryEntryCountsForTheIndexes) {
  WriteProfile(
      {{"..|evil", CToolData("e", 0, "x", 1, "")}, {"Alignment", CToolData("t", 0, "top", 1, "")}},
      "");
  CAppTools tools(CAppTools::kNoWatch);
  ASSERT_EQ(tools.ReadOldToolsProfile(), 1);
  EXPECT_EQ(tools.GetMainNode()->FindNode(0), nullptr);
  const CToolNode* top = tools.GetMainNode()->FindNode(1);
  ASSERT_TRUE(top);
  EXPECT_EQ(top->GetMenuPath(), "Alignment");
}

TEST_F(MigrationTest, APipeForTheProfileIsNotOpened) {
  fs::create_directories(TOOLSDIR.GetPath());
  const std::string fifo = std::string(TOOLSDIR.GetPath()) + "/ToolProf.ini";
  zel_special::MakeFifo(fifo);
  CAppTools tools(CAppTools::kNoWatch);
  int answer = -1;
  EXPECT_TRUE(zel_special::FinishesWithin([&] { answer = tools.ReadOldToolsProfile(); }, {fifo}));
  EXPECT_EQ(answer, 0);
  EXPECT_TRUE(ui().messages.empty());
}

TEST_F(MigrationTest, CreateNewDirectoryToolsWritesToolFiles) {
  WriteProfile({{"Blast", CToolData("b", 0, "blast", 1, "")},
                {"Web/Search", CToolData("w", 0, "https://a.example/", 1, "")},
                {"Analyze|Dot plot", CToolData("d", 2, "dot", 1, "%1")},
                {"Alignment", CToolData("t", 0, "top", 1, "")}},
               "");
  CAppTools tools(CAppTools::kNoWatch);
  ASSERT_EQ(tools.CreateNewDirectoryTools(menu.c_str()), 1);
  EXPECT_TRUE(fs::exists(menu + "/Tools/Blast.tq"));
  EXPECT_TRUE(fs::exists(menu + "/Tools/Web-Search.tq"));
  EXPECT_TRUE(fs::exists(menu + "/Analyze/Dot plot.tq"));
  EXPECT_TRUE(fs::exists(menu + "/Alignment.tq"));
  CAppTools reader(CAppTools::kNoWatch);
  reader.ReloadTools();
  ASSERT_TRUE(reader.FindZelTool("Analyze|Dot plot"));
  EXPECT_EQ(reader.FindZelTool("Analyze|Dot plot")->m_inputType, 2);
  EXPECT_EQ(reader.FindZelTool("Analyze|Dot plot")->m_command, "%1");
}

TEST_F(MigrationTest, AWatchingManagerMigratesWhenTheToolFolderIsMissing) {
  WriteProfile({{"Blast", CToolData("b", 0, "blast", 1, "")}}, "");
  {
    CAppTools tools;
    EXPECT_TRUE(fs::exists(menu + "/Tools/Blast.tq"));
    EXPECT_EQ(tools.GetWatchedPath(), menu);
  }
  // The folder is there now: the next manager leaves it as it is.
  fs::remove(menu + "/Tools/Blast.tq");
  CAppTools again;
  EXPECT_FALSE(fs::exists(menu + "/Tools/Blast.tq"));
}

TEST_F(MigrationTest, EntriesThatWouldLeaveTheFolderAreSkipped) {
  WriteProfile({{"..|..|evil", CToolData("e", 0, "x", 1, "")},
                {"Align|..|evil2", CToolData("e", 0, "x", 1, "")},
                {"Align||empty", CToolData("e", 0, "x", 1, "")},
                {"Good", CToolData("g", 0, "x", 1, "")}},
               "");
  CAppTools tools(CAppTools::kNoWatch);
  ASSERT_EQ(tools.CreateNewDirectoryTools(menu.c_str()), 1);
  EXPECT_TRUE(fs::exists(menu + "/Tools/Good.tq"));
  int files = 0;
  for (auto& e : fs::recursive_directory_iterator(tmp.path())) {
    if (!e.is_regular_file()) continue;
    std::string p = e.path().string();
    if (p.find("/home/") != std::string::npos || p.find("ToolProf") != std::string::npos) continue;
    ++files;
    EXPECT_EQ(p.rfind(menu, 0), 0u) << p;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(MigrationTest, ADamagedProfileIsReportedAndWhatWasReadStays) {
  fs::create_directories(TOOLSDIR.GetPath());
  WriteFile(std::string(TOOLSDIR.GetPath()) + "/ToolProf.ini", "(SXF (CToolsSetupDlg (garbage");
  CAppTools tools(CAppTools::kNoWatch);
  EXPECT_EQ(tools.ReadOldToolsProfile(), 1);
  EXPECT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(tools.GetMainNode()->GetChildren().GetCount(), 0);
}

}  // namespace
