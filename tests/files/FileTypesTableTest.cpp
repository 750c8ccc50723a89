// The file types table: look-ups, registration and dialog filters.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "files/FileTypesTable.h"

namespace {

// Every member of a row, for comparing rows whole.
std::string Describe(const FTTENTRY& r) {
  auto text = [](const char* s) { return s ? '"' + std::string(s) + '"' : std::string("null"); };
  return std::to_string(r.id) + " " + text(r.description) + " " + text(r.extension) + " " +
         text(r.filter) + " " + std::to_string(r.byExtension) + " " + text(r.shellClass) + " " +
         text(r.shellDescription) + " " + std::to_string(r.iconIndex) + " " + text(r.formatName) +
         " " + text(r.macType) + " " + text(r.macCreator) + " " + std::to_string(r.byMacCodes) +
         " " + std::to_string(r.appCode) + " " + text(r.openSwitch);
}

TEST(FileTypesTable, DefaultRowsAreTheListedRowsInTheirOrder) {
  struct Listed {
    int value;
    FTTENTRY row;
  };
  const Listed listed[] = {
#define ZEL_FILE_TYPE(name, value, ...) {value, {.id = name, __VA_ARGS__}},
#include "files/FileTypeIds.def"
#undef ZEL_FILE_TYPE
  };
  FileTypesTable table;
  ASSERT_EQ(table.Rows().size(), 78u);
  ASSERT_EQ(std::size(listed), table.Rows().size());
  std::set<int> ids;
  for (size_t i = 0; i < table.Rows().size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    EXPECT_EQ(listed[i].row.id, listed[i].value);
    EXPECT_EQ(Describe(*table.Rows()[i]), Describe(listed[i].row));
    ids.insert(table.Rows()[i]->id);
  }
  EXPECT_EQ(ids.size(), 78u);
  EXPECT_STREQ(table.FindFileTypeEntry(kGenBank)->description, "GenBank Files");
}

TEST(FileTypesTable, UnknownLookupsFallBackToTheFirstRow) {
  FileTypesTable table;
  struct Case {
    const char* ext;
    int id;
  } cases[] = {{".GB", kDnaDocument},
               {".gb", kDnaDocument},
               {".gp", kProteinDocument},
               {".txt", kUnknown},
               {".embl", kUnknown},
               {".ma4", kDnaArchive},
               {".MpcrList", kMultiplexPcrList},
               {"gb", kUnknown},
               {"", kUnknown}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    EXPECT_EQ(table.FindFileTypeEntry(c.ext)->id, c.id);
  }
  EXPECT_EQ(table.FindFileTypeEntry(999)->id, kUnknown);
  EXPECT_EQ(table.FindFileTypeEntry(static_cast<const char*>(nullptr))->id, kUnknown);
}

TEST(FileTypesTable, MacCodesMatchOnlyRowsRecognisedByThem) {
  FileTypesTable table;
  EXPECT_EQ(ZelMacCodeFromText("TEXT"), 0x54584554u);
  EXPECT_EQ(table.FindFileTypeEntry(ZelMacCodeFromText("QLma"), ZelMacCodeFromText("QLLI"))->id,
            kDnaArchive);
  // Three-letter codes take their terminating zero as the fourth byte.
  EXPECT_EQ(table.FindFileTypeEntry(ZelMacCodeFromText("RGL"), ZelMacCodeFromText("QLLI"))->id,
            kGeneralReport);
  // The first TEXT/QLLI row (kDnaDocument) is not recognised by codes: the first row answers.
  EXPECT_EQ(table.FindFileTypeEntry(ZelMacCodeFromText("TEXT"), ZelMacCodeFromText("QLLI"))->id,
            kUnknown);
  EXPECT_EQ(table.FindFileTypeEntry(1ul, 2ul)->id, kUnknown);
}

TEST(FileTypesTable, RegisteringReplacesTheRowOfTheSameIdAtTheEnd) {
  FileTypesTable table;
  FTTENTRY mine{kDnaDocument, "My Documents", ".mine", nullptr, 1, nullptr, nullptr, 0,
                nullptr,      "TEXT",         "QLLI",  0,       0, nullptr};
  table.RegisterFileTypeEntry(&mine);
  EXPECT_EQ(table.Rows().size(), 78u);
  EXPECT_EQ(table.Rows().back(), &mine);
  EXPECT_EQ(table.FindFileTypeEntry(kDnaDocument), &mine);
  EXPECT_EQ(table.FindFileTypeEntry(".gb")->id, kUnknown);
  table.UnregisterFileTypeEntry(kDnaDocument);
  EXPECT_EQ(table.FindFileTypeEntry(kDnaDocument)->id, kUnknown);
  table.UnregisterFileTypeEntry(12345);  // nothing to remove
  EXPECT_EQ(table.Rows().size(), 77u);

  FileTypesTable copy(table);
  copy.UnregisterFileTypeEntry(kUnknown);
  EXPECT_EQ(table.FindFileTypeEntry(kUnknown)->id, kUnknown);
  EXPECT_EQ(copy.Rows().size(), 76u);
}

TEST(FileTypesTable, FilterStrings) {
  int docs[] = {kDnaDocument, kGenBank, 0};
  EXPECT_EQ(ZelMakeFilterString(docs, 0),
            CString("DNA/RNA Documents (*.gb)|*.gb|GenBank Files|*.*|All files (*.*)|*.*||"));
  EXPECT_EQ(ZelMakeFilterString(docs, 1),
            CString("DNA/RNA Documents (*.gb)|*.gb|GenBank Files (*.gb)|*.*|"));
  int archives[] = {kDnaArchive, 999, 0};
  EXPECT_EQ(ZelMakeFilterString(archives, 1),
            CString("DNA/RNA Archives (*.ma4)|*.ma4;*.mar| (*.)|*.*|"));
  EXPECT_EQ(ZelMakeFilterString(nullptr, 0), CString(""));
  int none[] = {0};
  EXPECT_EQ(ZelMakeFilterString(none, 0), CString("All files (*.*)|*.*||"));
}

}  // namespace
