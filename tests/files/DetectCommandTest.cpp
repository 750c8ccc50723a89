// `zel detect` end to end: lines, folders walked in sorted order, --content, --json, and
// the exit status and message for paths that cannot be read.
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

class DetectCommandTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(tmp.path() / "seqs" / "deeper");
    zel_test::WriteFile(tmp / "seqs/b.fa", ">p\nMKVLAAGIV\n");
    zel_test::WriteFile(tmp / "seqs/a.gb", ">p\nMKVLAAGIV\n");
    zel_test::WriteFile(tmp / "seqs/deeper/c.seq", "LOCUS x 5 bp DNA\n");
    zel_test::WriteFile(tmp / "seqs/notes.embl", "ID   X; mRNA;\n");
  }

  std::string Q(const std::string& name) { return "'" + (tmp / name) + "'"; }
};

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

TEST_F(DetectCommandTest, JsonHasTheContentResults) {
  zel_test::ZelResult r = RunZel("detect --json " + Q("seqs/a.gb") + " " + Q("seqs/notes.embl"));
  ASSERT_EQ(r.status, 0);
  auto rows = nlohmann::ordered_json::parse(r.out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]["path"], tmp / "seqs/a.gb");
  EXPECT_EQ(rows[0]["type"], 41);
  EXPECT_EQ(rows[0]["description"], "DNA/RNA Documents");
  EXPECT_EQ(rows[0]["format"], 3);
  EXPECT_EQ(rows[0]["seqType"], 2);
  EXPECT_EQ(rows[0]["archive"], 0);
  EXPECT_EQ(rows[1]["type"], 0);
  EXPECT_TRUE(rows[1]["description"].is_null());
  EXPECT_EQ(rows[1]["format"], 2);
  EXPECT_EQ(rows[1]["seqType"], 1);
  std::vector<std::string> keys;
  for (auto it = rows[0].begin(); it != rows[0].end(); ++it) keys.push_back(it.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"path", "type", "description", "format", "seqType",
                                            "archive"}));
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

TEST_F(DetectCommandTest, DemoDetectsTheSamples) {
  zel_test::ZelResult r = RunZel("demo");
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* line :
       {"genbank_dna.gbk         27 GenBank Files        (GenBank style, nucleic acid)",
        "genpept_protein.gbk     31 GenPept Files        (GenBank style, protein)",
        "embl_mrna.txt           26 EMBL Files           (EMBL style, nucleic acid)",
        "swissprot_protein.txt   30 SWISS-PROT Files     (EMBL style, protein)",
        "nucleotides.fa          28 FASTA Files          (FASTA, nucleic acid)",
        "proteins.fa             32 Protein FASTA Files  (FASTA, protein)"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
}

}  // namespace
