// The file and folder choosers: the type filter the dialog is given, its options, the
// type of the chosen file, remembered folders, and cancelling.
#include <gtest/gtest.h>

#include "files/FileChoosers.h"
#include "files/ZelBinaryFile.h"
#include "files/ZelTextFile.h"
#include "platform/user/app/WinApp.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr int kGenBank = 27, kDnaDocument = 41, kEmbl = 26, kRebase = 34, kProsite = 35;
constexpr UINT kOpenFlags =
    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
constexpr UINT kSaveFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN;

class FileChoosersTest : public zel_test::ZelTest {
 protected:
  FileChoosersTest() { app.m_pMainWnd = &mainWnd; }
  // Answers the next file dialog with path, as chosen with filter item index (from 1).
  void Answer(const char* path, int index = 0) {
    ui().fileAnswers.push_back(FileDialogResult{path, index});
  }
  const FileDialogRequest& Shown() { return ui().fileDialogs.back(); }

  CWinApp app{"Chooser Test"};
  CWnd mainWnd{HWND(77)};
};

TEST_F(FileChoosersTest, FiltersOfTheChooser) {
  struct Case {
    CTYPE mode;
    std::vector<int> types;
    const char* allLabel;
    bool remembering;
    const char* filter;
  } cases[] = {
      // Own patterns and extensions are combined into the front item.
      {CTYPE_INPUT,
       {kGenBank, kDnaDocument},
       "All Sequence Files",
       false,
       "All Sequence Files|*.gb;*.gbk;*.gb|GenBank Files (*.gb;*.gbk)|*.gb;*.gbk|"
       "DNA/RNA Documents (*.gb)|*.gb|All Files (*.*)|*.*||"},
      // A type not known by its extension offers every file and stops the combining.
      // The two closing bars come after the last item's own.
      {CTYPE_INPUT, {kEmbl}, "All", false, "All (*.*)|*.*|EMBL Files (*.*)|*.*|||"},
      {CTYPE_INPUT,
       {kDnaDocument, kEmbl},
       "All",
       false,
       "All (*.*)|*.*|DNA/RNA Documents (*.gb)|*.gb|EMBL Files (*.*)|*.*|||"},
      {CTYPE_INPUT,
       {kGenBank},
       nullptr,
       false,
       "GenBank Files (*.gb;*.gbk)|*.gb;*.gbk|All Files (*.*)|*.*||"},
      // REBASE and PROSITE have fixed items; alone they get no "All Files".
      {CTYPE_INPUT, {kRebase}, nullptr, false, "REBASE Files (bairoch.*)|bairoch.*||"},
      {CTYPE_INPUT, {kProsite}, "All", false, "PROSITE Files (prosite.*)|prosite.*||"},
      {CTYPE_INPUT,
       {kDnaDocument, kRebase},
       "All",
       false,
       "All (*.*)|*.*|DNA/RNA Documents (*.gb)|*.gb|REBASE Files (bairoch.*)|bairoch.*|||"},
      // Output and append: the row's own extension, no "All Files", no front item.
      {CTYPE_OUTPUT, {kDnaDocument}, "ignored", false, "DNA/RNA Documents (*.gb)|*.gb||"},
      {CTYPE_APPEND,
       {kGenBank, kEmbl},
       nullptr,
       false,
       "GenBank Files (*.gb)|*.gb|EMBL Files (*.txt)|*.txt||"},
      {CTYPE_OUTPUT, {kRebase}, nullptr, false, "REBASE Files (bairoch.*)|bairoch.*||"},
      // An unknown id is the table's first row.
      {CTYPE_INPUT, {99999}, nullptr, false, "Data Files (*.*)|*.*|All Files (*.*)|*.*||"},
      {CTYPE_OUTPUT, {-3}, nullptr, false, "Data Files (*.)|*.||"},
      {CTYPE_INPUT, {}, "All", false, "All (*.*)|*.*|||"},
      // Remembering: REBASE is a row like any other; a single type stands alone.
      {CTYPE_INPUT, {kRebase}, "All", true, "REBASE Files (*.*)|*.*||"},
      {CTYPE_INPUT,
       {kRebase, kGenBank},
       nullptr,
       true,
       "REBASE Files (*.*)|*.*|GenBank Files (*.gb;*.gbk)|*.gb;*.gbk|All Files (*.*)|*.*||"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    const ZelChooserPlan plan = ZelPlanFileChooser(
        c.mode, c.types.data(), static_cast<int>(c.types.size()), "T", c.allLabel, c.remembering);
    EXPECT_EQ(plan.request.filter, c.filter);
    EXPECT_EQ(plan.frontItem, c.mode == CTYPE_INPUT && c.allLabel &&
                                  std::string(c.filter).rfind(c.allLabel, 0) == 0);
  }
}

TEST_F(FileChoosersTest, TheTypeOfTheChosenFileByItemOrExtension) {
  const int types[] = {kGenBank, kDnaDocument};
  struct Case {
    int item;  // counted from 1; 1 is the front item
    const char* path;
    int type;
  } cases[] = {
      {1, "/d/x.gb", kDnaDocument},  // the front item: the extension's row
      {2, "/d/x.gb", kGenBank},     {3, "/d/x.gbk", kDnaDocument},
      {4, "/d/page.htm", 19},        // "All Files": the row known by ".htm"
      {4, "/d/notes.txt", 0},        // no row is known by ".txt"
      {4, "/d/x.fasta", 0},          // more than three letters after the dot
      {1, "/d.old/x", 0},            // the last dot is in a folder's name
      {4, "/d/x.GB", kDnaDocument},  // extensions ignore case
      {9, "/d/x.zzz", 0},            // unknown extension: the first row
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    CZelFileSpec spec;
    Answer(c.path, c.item);
    ASSERT_EQ(spec.ChooseInput(types, 2, "Open", "All Sequence Files"), 1);
    EXPECT_STREQ(spec.GetPath(), c.path);
    EXPECT_EQ(spec.GetType(), c.type);
  }
  // Without a front item the first item is the first type.
  CZelFileSpec spec;
  Answer("/d/y.gb", 1);
  ASSERT_EQ(spec.ChooseInput(types, 2, "Open", nullptr), 1);
  EXPECT_EQ(spec.GetType(), kGenBank);
}

TEST_F(FileChoosersTest, DialogSetUpByMode) {
  CZelFileSpec spec("/data/current.gb", kDnaDocument);
  const int types[] = {kDnaDocument, kGenBank};
  spec.ChooseOutput(types, 2, "Save Sequence", HWND(5));
  EXPECT_FALSE(Shown().open);
  EXPECT_EQ(Shown().title, "Save Sequence");
  EXPECT_EQ(Shown().defaultExt, "gb");
  EXPECT_EQ(Shown().flags, kSaveFlags);
  EXPECT_EQ(Shown().fileName, "/data/current.gb");
  EXPECT_EQ(Shown().owner, HWND(5));
  EXPECT_EQ(Shown().filterIndex, 1);

  spec.ChooseInput(kGenBank, nullptr);
  EXPECT_TRUE(Shown().open);
  EXPECT_EQ(Shown().title, "");
  EXPECT_EQ(Shown().defaultExt, "");
  EXPECT_EQ(Shown().flags, kOpenFlags);
  EXPECT_EQ(Shown().owner, HWND(77));  // the main window

  spec.ChooseAppend(kEmbl, "Append");
  EXPECT_FALSE(Shown().open);
  EXPECT_EQ(Shown().defaultExt, "txt");
  EXPECT_EQ(Shown().flags, kSaveFlags);

  CZelFileSpec unset;
  unset.ChooseOutput(kRebase, "x");
  EXPECT_EQ(Shown().fileName, "");
  EXPECT_EQ(Shown().defaultExt, "txt");  // the row's, though the filter is fixed
  // Cancelled every time: nothing changed.
  EXPECT_STREQ(spec.GetPath(), "/data/current.gb");
  EXPECT_EQ(spec.GetType(), kDnaDocument);
  EXPECT_FALSE(unset.IsSpecSet());
}

TEST_F(FileChoosersTest, RememberedFoldersPerKey) {
  const int types[] = {kGenBank, kDnaDocument};
  app.WriteProfileString("Directories", "Default", "/remembered");
  CZelFileSpec spec;
  ui().fileAnswers.push_back(std::nullopt);
  EXPECT_EQ(spec.ChooseSpecEx(CTYPE_INPUT, types, 2, "T", "All", nullptr), 0);
  EXPECT_EQ(Shown().initialDir, "/remembered");
  EXPECT_FALSE(spec.IsSpecSet());
  EXPECT_EQ(app.GetProfileString("Directories", "Default"), "/remembered");  // untouched

  // Remembering chooser: the item's type, 0 outside the list, no look-up by extension.
  Answer("/new/place/x.gb", 1);
  ASSERT_EQ(spec.ChooseSpecEx(CTYPE_INPUT, types, 2, "T", "All", "Sequences"), 1);
  EXPECT_EQ(spec.GetType(), 0);
  EXPECT_EQ(Shown().initialDir, "");
  EXPECT_EQ(app.GetProfileString("Directories", "Sequences"), "/new/place");
  EXPECT_EQ(app.GetProfileString("Directories", "Default"), "/remembered");
  Answer("/other/y.gb", 3);
  ASSERT_EQ(spec.ChooseSpecEx(CTYPE_INPUT, types, 2, "T", "All", "Sequences"), 1);
  EXPECT_EQ(spec.GetType(), kDnaDocument);
  EXPECT_EQ(Shown().initialDir, "/new/place");
  EXPECT_EQ(Shown().fileName, "/new/place/x.gb");

  // Append opens the open dialog, and the file need not exist.
  spec.ChooseSpecEx(CTYPE_APPEND, types, 2, "T", nullptr, nullptr);
  EXPECT_TRUE(Shown().open);
  EXPECT_EQ(Shown().flags, kSaveFlags);
  EXPECT_EQ(Shown().defaultExt, "gb");
  EXPECT_EQ(Shown().owner, HWND(77));
  spec.ChooseSpecEx(CTYPE_OUTPUT, types, 1, "T", nullptr, nullptr);
  EXPECT_FALSE(Shown().open);
  EXPECT_EQ(Shown().filter, "GenBank Files (*.gb)|*.gb||");
}

TEST_F(FileChoosersTest, FileClassesChooseThroughTheirSpec) {
  CZelTextFile text;
  Answer("/d/t.txt");
  ASSERT_EQ(text.ChooseInput(kEmbl, "Open Text"), 1);
  EXPECT_STREQ(text.GetFileSpec().GetPath(), "/d/t.txt");
  EXPECT_EQ(text.GetType(), kEmbl);
  EXPECT_EQ(Shown().filter, "EMBL Files (*.*)|*.*|All Files (*.*)|*.*||");

  CZelBinaryFile binary;
  const int types[] = {kDnaDocument};
  Answer("/d/b.gb");
  ASSERT_EQ(binary.ChooseOutput(types, 1, "Save", HWND(12)), 1);
  EXPECT_EQ(Shown().owner, HWND(12));
  EXPECT_EQ(binary.GetType(), kDnaDocument);
  binary.ChooseAppend(types, 1, "Append");
  EXPECT_EQ(Shown().owner, HWND(77));
}

TEST_F(FileChoosersTest, FolderChooser) {
  CZelDirSpec dir("/data/start");
  ui().folderAnswers = {std::nullopt, CString("/chosen/folder/"), CString("/x")};
  EXPECT_EQ(dir.ChooseOutput("Where?"), 0);
  EXPECT_STREQ(dir.GetPath(), "/data/start");
  const FolderDialogRequest& first = ui().folderDialogs.back();
  EXPECT_EQ(first.title, "Where?");
  EXPECT_EQ(first.initialDir, "/data/start");
  EXPECT_TRUE(first.allowNewFolder);
  EXPECT_EQ(first.owner, HWND(77));

  ASSERT_EQ(dir.ChooseInput(nullptr), 1);
  EXPECT_STREQ(dir.GetPath(), "/chosen/folder");
  EXPECT_EQ(ui().folderDialogs.back().title, "");
  EXPECT_FALSE(ui().folderDialogs.back().allowNewFolder);

  CZelDirSpec unset;
  ASSERT_EQ(unset.ChooseSpec(CTYPE_APPEND, "t"), 1);  // append chooses as input
  EXPECT_FALSE(ui().folderDialogs.back().allowNewFolder);
  EXPECT_EQ(ui().folderDialogs.back().initialDir, "");
}

}  // namespace
