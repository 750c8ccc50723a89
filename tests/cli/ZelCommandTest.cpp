// The zel command end to end: each subcommand's output formats and exit statuses, and
// failures reported in the library's words.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/GzipFixture.h"
#include "tests/support/TestSupport.h"

namespace {

class ZelCommandTest : public zel_test::ZelTest {
 protected:
  // Writes text to name in the temporary folder; answers its path.
  std::string Write(const std::string& name, const std::string& text) {
    zel_test::WriteFile(tmp / name, text);
    return tmp / name;
  }
  // The path of name in the temporary folder, quoted for the shell.
  std::string Q(const std::string& name) { return "'" + (tmp / name) + "'"; }
};

// zel detect: lines, folders walked in sorted order, --content, --json, unreadable paths.
class DetectCommandTest : public ZelCommandTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(tmp.path() / "seqs" / "deeper");
    zel_test::WriteFile(tmp / "seqs/b.fa", ">p\nMKVLAAGIV\n");
    zel_test::WriteFile(tmp / "seqs/a.gb", ">p\nMKVLAAGIV\n");
    zel_test::WriteFile(tmp / "seqs/deeper/c.seq", "LOCUS x 5 bp DNA\n");
    zel_test::WriteFile(tmp / "seqs/notes.embl", "ID   X; mRNA;\n");
  }
};

// zel layout and settings.
using LayoutCommandTest = ZelCommandTest;
// zel sxf: the writer's layout at a width and prefix, line ends, failures with status 1.
using SxfCommandTest = ZelCommandTest;

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

TEST_F(ZelCommandTest, LinesCountsWholeLinesAndReportsFailures) {
  zel_test::WriteFile(tmp / "mixed.txt", "a\r\nb\nc\rd");
  zel_test::WriteFile(tmp / "empty.txt", "");
  // A 5,000-base line is one line, however a buffer would cut it.
  zel_test::WriteFile(tmp / "long.fa", ">s\n" + std::string(5000, 'a') + "\n");
  zel_test::ZelResult r =
      RunZel("lines " + Q("mixed.txt") + " " + Q("empty.txt") + " " + Q("long.fa"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "4\t" + (tmp / "mixed.txt") + "\n0\t" + (tmp / "empty.txt") + "\n2\t" +
                       (tmp / "long.fa") + "\n");
  EXPECT_EQ(r.err, "");
  r = RunZel("lines - < " + Q("mixed.txt"));
  EXPECT_EQ(r.out, "4\t-\n");

  // A failed file is listed with the library's words, naming the path as given.
  zel_test::ZelResult json = RunZel("lines --json " + Q("mixed.txt") + " " + Q("missing.txt"));
  EXPECT_EQ(json.status, 1);
  auto parsed = nlohmann::json::parse(json.out);
  ASSERT_EQ(parsed.size(), 2u);
  EXPECT_EQ(parsed[0]["lines"], 4);
  EXPECT_TRUE(parsed[1]["lines"].is_null());
  EXPECT_EQ(parsed[1]["error"],
            tmp / "missing.txt" + ": Cannot find this file. (No such file or directory)");
  EXPECT_EQ(json.err, "");
  r = RunZel("lines " + Q("missing.txt"));
  EXPECT_EQ(r.err, "zel: " + tmp / "missing.txt" +
                       ": Cannot find this file. (No such file or directory)\n");
  r = RunZel("lines " + Q(""));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("(Is a directory)"), std::string::npos) << r.err;
  EXPECT_EQ(RunZel("lines").status, 2);
}

TEST_F(ZelCommandTest, DemoAndVersionRunWithoutArguments) {
  zel_test::ZelResult demo = RunZel("demo");
  EXPECT_EQ(demo.status, 0) << demo.err;
  for (const char* line :
       {"78 file types", "genbank_dna.gbk         27 GenBank Files        (GenBank, nucleic acid)",
        "genpept_protein.gbk     31 GenPept Files        (GenBank, protein)",
        "embl_mrna.txt           26 EMBL Files           (EMBL, nucleic acid)",
        "swissprot_protein.txt   30 SWISS-PROT Files     (EMBL, protein)",
        "nucleotides.fa          28 FASTA Files          (FASTA, nucleic acid)",
        "proteins.fa             32 Protein FASTA Files  (FASTA, protein)"})
    EXPECT_NE(demo.out.find(line), std::string::npos) << line << "\n" << demo.out;
  // The archive the tour stored stays where it says, and reads back.
  const std::string marker = "The archive stays at ";
  const size_t at = demo.out.find(marker);
  ASSERT_NE(at, std::string::npos) << demo.out;
  const std::string stored = demo.out.substr(
      at + marker.size(), demo.out.find(' ', at + marker.size()) - at - marker.size());
  EXPECT_EQ(RunZel("sxf check '" + stored + "'").status, 0) << stored;
  std::filesystem::remove_all(std::filesystem::path(stored).parent_path());
  EXPECT_EQ(RunZel("sxf check '" + std::string(ZEL_SOURCE_DIR) + "/examples/archives/samples.sxf'")
                .status,
            0);
  zel_test::ZelResult version = RunZel("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("zel ", 0), 0u);
}

TEST_F(DetectCommandTest, LinesForFilesAndSortedFolders) {
  zel_test::ZelResult r = RunZel("detect " + Q("seqs") + " " + Q("seqs/b.fa"));
  ASSERT_EQ(r.status, 0) << r.err;
  std::string dir = tmp / "seqs";
  EXPECT_EQ(r.out, "41\tDNA/RNA Documents\t" + dir + "/a.gb\n" + "32\tProtein FASTA Files\t" + dir +
                       "/b.fa\n" + "27\tGenBank Files\t" + dir + "/deeper/c.seq\n" + "0\t-\t" +
                       dir + "/notes.embl\n" + "32\tProtein FASTA Files\t" + dir + "/b.fa\n");
  EXPECT_EQ(r.err, "");

  // The contents alone: the .gb file holds protein FASTA, the .embl file EMBL.
  zel_test::ZelResult c = RunZel("detect --content " + Q("seqs/a.gb") + " " + Q("seqs/notes.embl"));
  ASSERT_EQ(c.status, 0);
  EXPECT_EQ(c.out, "32\tProtein FASTA Files\t" + (tmp / "seqs/a.gb") + "\n" + "26\tEMBL Files\t" +
                       (tmp / "seqs/notes.embl") + "\n");
}

TEST_F(DetectCommandTest, JsonSaysHowTheTypeWasFound) {
  zel_test::ZelResult r = RunZel("detect --json " + Q("seqs/a.gb") + " " + Q("seqs/notes.embl") +
                                 " " + Q("seqs/deeper/c.seq"));
  ASSERT_EQ(r.status, 0);
  auto rows = nlohmann::ordered_json::parse(r.out);
  ASSERT_EQ(rows.size(), 3u);
  // The name decided: nothing of the contents was computed.
  EXPECT_EQ(rows[0]["path"], tmp / "seqs/a.gb");
  EXPECT_EQ(rows[0]["type"], 41);
  EXPECT_EQ(rows[0]["description"], "DNA/RNA Documents");
  EXPECT_EQ(rows[0]["by"], "name");
  EXPECT_TRUE(rows[0]["format"].is_null());
  EXPECT_TRUE(rows[0]["archive"].is_null());
  EXPECT_EQ(rows[1]["type"], 0);  // a long extension decides type 0
  EXPECT_EQ(rows[1]["by"], "name");
  EXPECT_TRUE(rows[1]["description"].is_null());
  EXPECT_EQ(rows[2]["by"], "content");
  EXPECT_EQ(rows[2]["type"], 27);
  EXPECT_EQ(rows[2]["format"], 1);
  EXPECT_EQ(rows[2]["formatName"], "GenBank");
  EXPECT_EQ(rows[2]["seqType"], 1);
  EXPECT_EQ(rows[2]["seqTypeName"], "nucleic acid");
  EXPECT_EQ(rows[2]["archive"], false);
  std::vector<std::string> keys;
  for (auto it = rows[0].begin(); it != rows[0].end(); ++it) keys.push_back(it.key());
  EXPECT_EQ(keys,
            (std::vector<std::string>{"path", "type", "description", "by", "format", "formatName",
                                      "seqType", "seqTypeName", "archive", "compression"}));
  EXPECT_TRUE(rows[0]["compression"].is_null());
  EXPECT_EQ(RunZel("detect --json --content " + Q("seqs/a.gb")).out.find("\"by\": \"name\""),
            std::string::npos);
  // The help says which names decide.
  zel_test::ZelResult help = RunZel("detect --help");
  EXPECT_NE(help.out.find(".fasta"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("--content"), std::string::npos);
}

TEST_F(DetectCommandTest, UnreadablePathsFailWithTheReason) {
  zel_test::ZelResult r = RunZel("detect " + Q("missing.fa") + " " + Q("seqs/b.fa"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "32\tProtein FASTA Files\t" + (tmp / "seqs/b.fa") + "\n");
  EXPECT_NE(r.err.find("missing.fa"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Cannot find this file."), std::string::npos) << r.err;

  zel_test::ZelResult usage = RunZel("detect");
  EXPECT_EQ(usage.status, 2);
}

// A path that is not there fails even where its name alone would decide; the others are
// still typed. Standard input is looked into, whatever "-" would say as a name.
TEST_F(DetectCommandTest, MissingPathsFailWhateverTheirNames) {
  zel_test::WriteFile(tmp / "file", "");
  struct Case {
    std::string args;
    std::string out, err;
  } cases[] = {
      {Q("nosuch.gb"), "",
       "zel: " + tmp / "nosuch.gb" + ": Cannot find this file. (No such file or directory)\n"},
      {Q("nosuch.gb") + " " + Q("seqs/a.gb"), "41\tDNA/RNA Documents\t" + tmp / "seqs/a.gb" + "\n",
       "zel: " + tmp / "nosuch.gb" + ": Cannot find this file. (No such file or directory)\n"},
      {Q("file/x.gb"), "", "(Not a directory)"},
      {"--content " + Q("nosuch"), "", "nosuch: Cannot find this file."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const zel_test::ZelResult r = RunZel("detect " + c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, c.out);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }

  const zel_test::ZelResult json = RunZel("detect --json " + Q("nosuch.gb") + " " + Q("seqs/a.gb"));
  EXPECT_EQ(json.status, 1);
  const auto rows = nlohmann::json::parse(json.out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[0]["type"].is_null());
  EXPECT_EQ(rows[0]["error"],
            tmp / "nosuch.gb" + ": Cannot find this file. (No such file or directory)");
  EXPECT_EQ(rows[1]["type"], 41);

  const zel_test::ZelResult in = RunZel("detect - < " + Q("seqs/notes.embl"));
  EXPECT_EQ(in.status, 0) << in.err;
  EXPECT_EQ(in.out, "26\tEMBL Files\t-\n");
}

// gzip and BGZF files are looked into decompressed, told by their first bytes; a trailing
// .gz or .bgz leaves the name to decide; other compressors are refused by name.
TEST_F(DetectCommandTest, CompressedFilesAreReadDecompressed) {
  const std::string protein = ">p\nMKVLAAGIV\n", genbank = "LOCUS x 5 bp DNA\nORIGIN\n acgt\n";
  const std::string longFasta = ">s\n" + std::string(300000, 'a') + "\n";
  const std::string cut = zel_test::Gzip(longFasta);
  struct Case {
    std::string name, bytes, options;
    int status;
    std::string line;  // the output line's start, or the message
    const char* compression;
  } cases[] = {
      {"x.gb.gz", zel_test::Gzip(protein), "", 0, "41\tDNA/RNA Documents", "gzip"},
      {"x.fa.gz", zel_test::Gzip(protein), "", 0, "32\tProtein FASTA Files", "gzip"},
      {"x.fa.GZ", zel_test::Gzip(longFasta, 100000), "", 0, "28\tFASTA Files", "gzip"},
      {"changelog.gz", zel_test::Gzip(protein), "", 0, "0\t-", "gzip"},
      {"x.seq.bgz", zel_test::Bgzf(genbank), "", 0, "27\tGenBank Files", "bgzf"},
      {"renamed.txt", zel_test::Bgzf(protein), "", 0, "32\tProtein FASTA Files", "bgzf"},
      {"data", zel_test::Gzip(genbank), "--content ", 0, "27\tGenBank Files", "gzip"},
      {"plain.txt", protein, "", 0, "32\tProtein FASTA Files", nullptr},
      // A plain file's sequence past the first read is looked at in the file itself.
      {"long.txt", longFasta + longFasta.substr(3), "", 0, "28\tFASTA Files", nullptr},
      {"longprot.txt", longFasta + "MKVLAAGIV\n", "", 0, "32\tProtein FASTA Files", nullptr},
      {"cut.fa.gz", cut.substr(0, cut.size() / 2), "", 1,
       "cut.fa.gz: damaged compressed data (unexpected end of file)", nullptr},
      {"x.fa.bz2", "BZh91AY&SY", "", 1, "x.fa.bz2: bzip2 compressed data is not read", nullptr},
      {"x.fa.xz",
       std::string("\xFD"
                   "7zXZ\0\0",
                   7),
       "", 1, "x.fa.xz: xz compressed data", nullptr},
      {"x.zst", "\x28\xB5\x2F\xFD\x24", "", 1, "x.zst: zstd compressed data", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    zel_test::WriteFile(tmp / c.name, c.bytes);
    const zel_test::ZelResult r = RunZel("detect " + c.options + Q(c.name));
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.status == 0) {
      EXPECT_EQ(r.out, c.line + "\t" + tmp / c.name + "\n");
      const zel_test::ZelResult json = RunZel("detect --json " + c.options + Q(c.name));
      const auto rows = nlohmann::json::parse(json.out);
      EXPECT_EQ(rows[0]["compression"],
                c.compression ? nlohmann::json(c.compression) : nlohmann::json(nullptr));
    } else {
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.err.rfind("zel: " + tmp / c.line, 0), 0u) << r.err;
    }
  }
  const zel_test::ZelResult in = RunZel("detect - < " + Q("x.fa.gz"));
  EXPECT_EQ(in.out, "32\tProtein FASTA Files\t-\n");
}

// Lines of gzip and BGZF files are the lines of what they hold; damage is a failure.
TEST_F(ZelCommandTest, LinesCountsDecompressedLines) {
  std::string text;
  for (int i = 0; i < 30000; ++i) text += i % 3 ? "ACGTACGT\n" : "ACGT\r\n";
  const std::string gz = zel_test::Gzip(text);
  Write("one.gz", gz);
  Write("members.fa.gz", zel_test::Gzip(text, 7000));
  Write("blocks.bgz", zel_test::Bgzf(text));
  Write("cut.fa.gz", gz.substr(0, gz.size() - 20));
  Write("x.xz", std::string("\xFD"
                            "7zXZ\0\0",
                            7));
  zel_test::ZelResult r =
      RunZel("lines " + Q("one.gz") + " " + Q("members.fa.gz") + " " + Q("blocks.bgz"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "30000\t" + tmp / "one.gz" + "\n30000\t" + tmp / "members.fa.gz" + "\n30000\t" +
                       tmp / "blocks.bgz" + "\n");
  r = RunZel("lines - < " + Q("members.fa.gz"));
  EXPECT_EQ(r.out, "30000\t-\n");
  r = RunZel("lines " + Q("cut.fa.gz"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "zel: " + tmp / "cut.fa.gz" + ": damaged compressed data (unexpected end of file)\n");
  r = RunZel("lines " + Q("x.xz"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "zel: " + tmp / "x.xz" + ": xz compressed data is not read (gzip and BGZF are)\n");
}

TEST_F(LayoutCommandTest, LayoutPrintsEveryGlobal) {
  zel_test::ZelResult r = RunZel("layout --json --main /m --exe /x --tools-base /t");
  ASSERT_EQ(r.status, 0) << r.err;
  auto rows = nlohmann::json::parse(r.out);
  ASSERT_EQ(rows.size(), 51u);
  std::map<std::string, nlohmann::json> byName;
  for (const auto& row : rows) byName[row["name"]] = row;
  EXPECT_EQ(rows[0]["name"], "MAINDIR");
  EXPECT_EQ(byName["MAINDIR"]["path"], "/m");
  EXPECT_EQ(byName["MAINDIR"]["kind"], "folder");
  EXPECT_EQ(byName["SEQDIR"]["path"], "/m/MolData/Seq");
  EXPECT_EQ(byName["EXEDIR"]["path"], "/x");
  EXPECT_EQ(byName["TUVAPPFILE"]["path"], "/t/Tools/TuvW.exe");
  EXPECT_EQ(byName["TUVAPPFILE"]["kind"], "file");
  EXPECT_TRUE(byName["NETLOCKFILE"]["path"].is_null());
  // Roots whose names are not UTF-8 still make valid JSON, with their exact bytes.
  r = RunZel("layout --json --main $(printf '/m\\377') --exe /x");
  ASSERT_EQ(r.status, 0) << r.err;
  rows = nlohmann::json::parse(r.out);
  EXPECT_EQ(rows[0]["path"], "/m\xEF\xBF\xBD");
  EXPECT_EQ(rows[0]["pathHex"], "2f6dff");

  r = RunZel("layout --main /m --network /n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "MAINDIR\t/m");
  EXPECT_NE(r.out.find("\nNETLOCKFILE\t/n/locks/dblock\n"), std::string::npos) << r.out;
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
  EXPECT_EQ(r.status, 1);  // not there, and no default given
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("profiles/zel.ini"), std::string::npos) << r.err;
  EXPECT_EQ(RunZel("settings get --default dflt Some Entry").out, "dflt\n");
  ASSERT_EQ(RunZel("settings set Some Entry 'a value'").status, 0);
  EXPECT_EQ(RunZel("settings get SOME entry").out, "a value\n");
  EXPECT_EQ(RunZel("settings get --suite Some Entry").status, 1);  // the stores stay apart
  ASSERT_EQ(RunZel("settings set --suite Some Entry suite").status, 0);
  EXPECT_EQ(RunZel("settings get --suite some ENTRY").out, "suite\n");
  EXPECT_EQ(RunZel("settings get Some Entry").out, "a value\n");
  EXPECT_EQ(zel_test::ReadFile(tmp / "home/profiles/zel.ini"), "[Some]\r\nEntry=a value\r\n");
  EXPECT_EQ(RunZel("settings set Some Entry").status, 2);
  EXPECT_EQ(RunZel("settings frob").status, 2);
  // A store that cannot be written says where it is.
  std::filesystem::remove(tmp / "home/profiles/zel.ini.lock");
  std::filesystem::create_directories(tmp / "home/profiles/zel.ini.lock");
  r = RunZel("settings set Some Entry other");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("profiles/zel.ini"), std::string::npos) << r.err;
  EXPECT_EQ(RunZel("settings get Some Entry").out, "a value\n");
}

const char* const kExample =
    ";; example file\r\n"
    "(SXF #0=(Segment \"first\\tpart\" 12 0.25 #1=(Marker 3 \"x\") Nil) #1# \r\n"
    " (Segment \"second\" -7 1.5 #1# #0#))\r\n";

TEST_F(SxfCommandTest, FmtPrintsAsTheWriterAtAnyWidthPrefixAndLineEnd) {
  std::string path = Write("example.sxf", kExample);
  zel_test::ZelResult r = RunZel("sxf fmt --width 40 '" + path + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            ";; example file\r\n"
            "(SXF \r\n"
            " #0=(Segment \"first\\tpart\" 12 0.25 \r\n"
            "     #1=(Marker 3 \"x\") Nil) #1# \r\n"
            " (Segment \"second\" -7 1.5 #1# #0#))\r\n");
  r = RunZel("sxf fmt --lf '" + path + "'");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            ";; example file\n"
            "(SXF #0=(Segment \"first\\tpart\" 12 0.25 #1=(Marker 3 \"x\") Nil) #1# \n"
            " (Segment \"second\" -7 1.5 #1# #0#))\n");
  // With a prefix, input lines carry it too, and so does every output line.
  std::string prefixed = Write("prefixed.sxf", "# (SXF a\n#  \"b\" 12345)\n");
  r = RunZel("sxf fmt --lf --width 8 --prefix '# ' '" + prefixed + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "# (SXF a \n#  \"b\" \n#  12345)\n");
  // Width 0, as the tree takes it: every element that may go on a line of its own does.
  r = RunZel("sxf fmt --lf --width 0 '" + Write("small.sxf", "(SXF a (\"b\" 12345))") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "(SXF \n a \n (\"b\" \n  12345))\n");
  r = RunZel("sxf fmt --lf - < '" + path + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.substr(0, 21), ";; example file\n(SXF ");
}

TEST_F(SxfCommandTest, FmtKeepsEveryNumberItCanAndSaysWhatItCannot) {
  // What the writer stores for an unsigned int, and whole numbers beyond one value.
  Write("n.sxf", "(SXF 1e+06 25e2 2147483648 4294967295)");
  zel_test::ZelResult r = RunZel("sxf fmt " + Q("n.sxf"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "(SXF 1e+06 25e2 2147483648 4294967295)\r\n");
  EXPECT_EQ(r.err, "");
  const std::string path = Write("mixed.sxf",
                                 ";; kept\r\n(SXF 3.14159265 ; gone\r\n"
                                 " 1234567.0 12345678901 ; gone too\r\n)\r\n");
  r = RunZel("sxf fmt --lf '" + path + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, ";; kept\n(SXF 3.14159 1.23457e+06 12345678901)\n");
  EXPECT_EQ(r.err, "zel: " + path +
                       ": 2 numbers changed to the writer's six significant digits; the first: "
                       "3.14159265 became 3.14159\n"
                       "zel: " +
                       path + ": 2 comments inside the root dropped\n");
}

TEST_F(SxfCommandTest, StringsOfAnyLengthPassCheckAndFmtUnchanged) {
  for (size_t length : {10000u, 1000000u}) {
    SCOPED_TRACE(length);
    // As the writer lays it out: the string on a line of its own, never broken.
    const std::string text = "(SXF \r\n \"" + std::string(length, 'a') + "\" \r\n 1)\r\n";
    const std::string path = Write("long.sxf", text);
    zel_test::ZelResult r = RunZel("sxf check '" + path + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    r = RunZel("sxf fmt '" + path + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out == text) << r.out.size();
  }
}

TEST_F(SxfCommandTest, MalformedFilesFailWithTheLibrarysMessage) {
  struct Case {
    const char* name;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"bad-index.sxf", "(SXF #3#)", "Unexpected file format (index error)."},
      {"bad-header.sxf", "(DOC 1)", "File format not supported (version error)."},
      {"truncated.sxf", "(SXF (a b", "An unexpected error occurred while reading"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = Write(c.name, c.text);
    zel_test::ZelResult r = RunZel("sxf fmt '" + path + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.name), std::string::npos) << r.err;
  }
  zel_test::ZelResult missing = RunZel("sxf fmt '" + tmp / "missing.sxf" + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Cannot find this file."), std::string::npos) << missing.err;
  EXPECT_EQ(RunZel("sxf fmt --width -1 x").status, 2);
}

TEST_F(SxfCommandTest, CheckReadsEveryFileAndFailsWhenOneDoesNot) {
  std::string good = Write("good.sxf", kExample);
  std::string bad = Write("bad.sxf", "(SXF (");
  zel_test::ZelResult r = RunZel("sxf check '" + good + "'");
  EXPECT_EQ(r.status, 0);
  r = RunZel("sxf check --json '" + good + "' '" + bad + "'");
  EXPECT_EQ(r.status, 1);
  auto json = nlohmann::json::parse(r.out);
  ASSERT_EQ(json.size(), 2u);
  EXPECT_EQ(json[0]["ok"], true);
  EXPECT_EQ(json[1]["ok"], false);
  EXPECT_EQ(json[1]["cause"], 1);
  EXPECT_EQ(json[1]["causeName"], "generic");
  EXPECT_EQ(json[1]["path"], bad);
  EXPECT_EQ(json[1]["line"], 1);
  EXPECT_NE(json[1]["error"].get<std::string>().find(bad), std::string::npos);
  EXPECT_EQ(r.err, "");
}

}  // namespace
