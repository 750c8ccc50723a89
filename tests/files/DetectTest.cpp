// Sequence format detection: the format cascade over in-memory text, the letter rules,
// the type of real files from extension, name and contents, and the identifier checks.
#include <filesystem>
#include <string>

#include "files/FileTypeIds.h"
#include "files/SequenceDetection.h"
#include "platform/user/app/WinApp.h"
#include "tests/support/GzipFixture.h"
#include "tests/support/TestSupport.h"

namespace {

struct Guess {
  int seqType, format, archive;
};

Guess GuessText(const std::string& text) {
  CString s{std::string_view(text)};
  CEkStream stream(&s, 0);
  Guess g{-1, -1, -1};
  TryToGuessFtype(&stream, &g.seqType, &g.format, &g.archive);
  return g;
}

class DetectTest : public zel_test::ZelTest {};

TEST_F(DetectTest, FormatCascadeOverText) {
  struct Case {
    const char* name;
    std::string text;
    int seqType, format, archive, type;
  };
  const Case cases[] = {
      {"genbank dna", "LOCUS       pBR322    5386 bp    DNA     circular\nORIGIN\n", 1, 1, 0,
       kGenBank},
      {"genpept", "LOCUS       AAB12345  120 aa   linear   BCT\n", 2, 1, 0, kGenPept},
      {"aa before dna in word order", "LOCUS X 12 aa DNA\n", 2, 1, 0, kGenPept},
      {"embl mrna", "ID   X56734; SV 1; linear; mRNA; STD; PLN; 1859 BP.\n", 1, 2, 0, kEmbl},
      {"swissprot by letters",
       "ID   P53_HUMAN   Reviewed;   PRT;   393 AA.\nAC   P04637;\nSQ   SEQUENCE   393 AA;\n"
       "     MEEPQSDPSV EPPLSQETFS DLWKLLPENN\n//\n",
       2, 2, 0, kSwissProt},
      {"embl by letters", "ID   X1 standard\nSQ   Sequence 20 BP;\n     acgtacgtac gtacgtacgt 20\n",
       1, 2, 0, kEmbl},
      {"both keywords: embl wins", "LOCUS ID   x\nSQ   \nacgt\n", 1, 2, 0, kEmbl},
      {"genbank undecided header", "LOCUS  XYZ  100\nFEATURES\nORIGIN\n        1 acgtacgtac\n//\n",
       1, 1, 0, kGenBank},
      {"genpept by letters", "LOCUS  XYZ  100\nORIGIN\n        1 mkvlaagivl\n//\n", 2, 1, 0,
       kGenPept},
      {"genbank without sequence", "LOCUS  XYZ  100\nFEATURES\n", 0, 1, 0, kGenBank},
      {"length check type header", "LOCUS XYZ\nfoo Length: 5 Check: 1 Type: N ..\nacgta\n", 1, 1, 0,
       kGenBank},
      {"fasta protein", ">sp|x\nMKVLAAGIV\n", 2, 3, 0, kProteinFasta},
      {"fasta nucleotide", ">x\nACGTACGTNN\n", 1, 3, 0, kFasta},
      {"fasta protein later", ">x\nACGT\nMKV\nACGT\n", 2, 3, 0, kProteinFasta},
      {"fasta stops at next header", ">a\nACGT\n>b\nMKVL\n", 1, 3, 0, kFasta},
      {"fasta stops at //", ">a\nACGT\n//\nMKVL\n", 1, 3, 0, kFasta},
      {"fasta header skips", ">a\nType MKV\nACGT\n", 1, 3, 0, kFasta},
      {"fasta numbers skipped", ">a\n1 22 acgt 333\n", 1, 3, 0, kFasta},
      {"fasta zero is a word", ">a\n0\n", 0, 3, 0, kFasta},
      {"fasta cr ends", ">a\rMKVL\rACGT\r", 2, 3, 0, kProteinFasta},
      {"fasta crlf ends", ">a\r\nacgtn\r\n", 1, 3, 0, kFasta},
      {"fasta too ambiguous", ">a\nacgtr\n", 2, 3, 0, kProteinFasta},
      {"fasta tab joins words", ">a\nacgt\tmkvl\n", 0, 3, 0, kFasta},
      {"fasta empty", ">only a header", 0, 3, 0, kFasta},
      {"dna archive", "header\nxx @551656AS34@ yy\n", 1, 6, 1, kDnaArchive},
      {"dna archive 7", "@751656AS34@", 1, 6, 1, kDnaArchive},
      {"protein archive", "zz@752656AS34@\n", 2, 6, 1, kProteinArchive},
      {"protein archive 5", "@552656AS34@\n", 2, 6, 1, kProteinArchive},
      {"marker before locus wins", "@552656AS34@\nLOCUS x 5 bp\n", 2, 6, 1, kProteinArchive},
      {"header must be first char", " >x\nACGT\n", 0, 0, 0, kUnknown},
      {"two blanks are no ID", "ID  x\nacgt\n", 0, 0, 0, kUnknown},
      {"empty", "", 0, 0, 0, kUnknown},
      {"junk", std::string("\x01\x02\0\xff\n\n\r", 7), 0, 0, 0, kUnknown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Guess g = GuessText(c.text);
    EXPECT_EQ(g.format, c.format);
    EXPECT_EQ(g.seqType, c.seqType);
    EXPECT_EQ(g.archive, c.archive);
    EXPECT_EQ(ZelFtypeFromGuess(g.format, g.seqType), c.type);
  }
}

TEST_F(DetectTest, LetterRules) {
  char acgtr[] = "acgtr", ok[] = "acgtacgtacgtacgtacgtrrr", acgte[] = "acgte", upper[] = "ACGT";
  char digits[] = "acg1", none[] = "xyz", empty[] = "";
  EXPECT_EQ(IsNuclSeq(acgtr), 0);
  EXPECT_EQ(IsNuclSeq(ok), 1);  // 3 ambiguity letters to 20 bases: exactly 0.15
  EXPECT_EQ(IsNuclSeq(acgte), 0);
  EXPECT_EQ(IsNuclSeq(upper), 0);  // the rule counts lower-case letters only
  EXPECT_EQ(IsNuclSeq(digits), 1);
  EXPECT_EQ(IsNuclSeq(none), 0);
  EXPECT_EQ(IsNuclSeq(empty), 0);
  EXPECT_EQ(IsProtSeq(""), 1);
  EXPECT_EQ(IsProtSeq("mkvl*x"), 1);
  EXPECT_EQ(IsProtSeq("mkvlb"), 0);
  EXPECT_EQ(IsProtSeq("MKVL"), 0);

  EXPECT_EQ(LocusLooksLike(1, "mRNA;"), 1);
  EXPECT_EQ(LocusLooksLike(1, "ssDNA"), 1);
  EXPECT_EQ(LocusLooksLike(1, "dna"), 0);
  EXPECT_EQ(LocusLooksLike(1, "CIRCULAR"), 1);
  EXPECT_EQ(LocusLooksLike(1, "Bp"), 1);
  EXPECT_EQ(LocusLooksLike(1, "bp."), 0);
  EXPECT_EQ(LocusLooksLike(2, "AA"), 1);
  EXPECT_EQ(LocusLooksLike(2, "Prt"), 1);
  EXPECT_EQ(LocusLooksLike(2, "PRT;"), 0);
  EXPECT_EQ(LocusLooksLike(2, "bp"), 0);
  EXPECT_EQ(LocusLooksLike(0, "aa"), 0);
  EXPECT_EQ(LocusLooksLike(3, "DNA"), 0);
}

TEST_F(DetectTest, StopMarkersOfTheCaller) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<const char*> markers;
    int expected;
    std::string rest;  // the line read after the stop
  };
  const Case cases[] = {
      // A marker made of bases stops at a line of bases.
      {"base marker", "acgt\nACGTAC\nMKVL\n", {"GTA"}, 1, "MKVL"},
      {"no markers", "acgt\nMKVL\n", {}, 2, ""},
      {"empty marker stops at once", "acgt\n", {""}, 0, ""},
      {"marker in a later line", "ACGT\nxx END\nMKVL\n", {"END", "//"}, 1, "MKVL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CString text{std::string_view(c.text)};
    CEkStream s(&text, 0);
    CStringList markers;
    for (const char* m : c.markers) markers.AddTail(m);
    EXPECT_EQ(TryToDefSeqObjType(&s, markers), c.expected);
    CString next;
    s.ReadString(next);
    EXPECT_EQ(next.str(), c.rest);
  }
}

TEST_F(DetectTest, LongSequenceKeepsDeciding) {
  // Many pure lines, then one protein word deep inside, then more bases.
  std::string text = ">big\n";
  for (int i = 0; i < 5000; i++) text += std::string(60, "ACGTN"[i % 5]) + "\n";
  text += "MKVLQQE\n";
  for (int i = 0; i < 100; i++) text += "acgtacgtac\n";
  EXPECT_EQ(GuessText(text).seqType, 2);
  text.replace(text.find("MKVLQQE"), 7, "ACGTUUN");
  EXPECT_EQ(GuessText(text).seqType, 1);
}

TEST_F(DetectTest, TypeOfExistingFiles) {
  std::filesystem::create_directories(tmp.path() / "sub.d");
  zel_test::WriteFile(tmp / "bairoch.txt", "LOCUS x 5 bp DNA\n");
  zel_test::WriteFile(tmp / "prosite-bairoch.txt", "");
  zel_test::WriteFile(tmp / "gb.seq", "LOCUS x 5 bp DNA\n");
  zel_test::WriteFile(tmp / "prot.fa", ">p\nMKVLAAGIV\n");
  zel_test::WriteFile(tmp / "plain.gb", ">p\nMKVL\n");
  zel_test::WriteFile(tmp / "long.embl", "ID   X1; mRNA;\n");
  zel_test::WriteFile(tmp / "noext", "LOCUS x 5 bp DNA\n");
  zel_test::WriteFile(tmp / "arc.ma5", "@752656AS34@\n");
  zel_test::WriteFile(tmp / "empty.txt", "");
  zel_test::WriteFile(tmp / "nul.dat", std::string("\0\0\0\n\0\xff\n", 7));
  zel_test::WriteFile(tmp / "oneline.txt", std::string(3 << 20, 'A'));

  struct Case {
    std::string path;
    int answer, type;
  };
  const Case cases[] = {
      {tmp / "bairoch.txt", 1, kRebase},   {tmp / "prosite-bairoch.txt", 1, kProsite},
      {tmp / "gb.seq", 1, kGenBank},       {tmp / "prot.fa", 1, kProteinFasta},
      {tmp / "plain.gb", 1, kDnaDocument}, {tmp / "long.embl", 0, kUnknown},
      {tmp / "noext", 0, kUnknown},        {tmp / "arc.ma5", 1, kProteinArchive},
      {tmp / "empty.txt", 1, kUnknown},    {tmp / "nul.dat", 1, kUnknown},
      {tmp / "oneline.txt", 1, kUnknown},  {tmp / "missing.fa", 1, kUnknown},
      {tmp / "sub.d", 1, kUnknown},        {tmp / "sub.d/../gb.seq", 1, kGenBank},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    CZelFileSpec spec;
    EXPECT_EQ(spec.GuessExistingFileSpecGivenPath(c.path.c_str()), c.answer);
    EXPECT_TRUE(spec.IsSpecSet());
    EXPECT_EQ(spec.GetFilePath().str(), c.path);
    EXPECT_EQ(spec.GetType(), c.type);
  }
  CZelFileSpec untouched;
  EXPECT_EQ(untouched.GuessExistingFileSpecGivenPath(nullptr), 0);
  EXPECT_FALSE(untouched.IsSpecSet());

  // Content detection alone, and a file that cannot be opened.
  EXPECT_EQ(GuessFtypeUsingSmartAssGuessing(CZelFileSpec((tmp / "bairoch.txt").c_str(), kUnknown)),
            kGenBank);
  EXPECT_EQ(GuessFtypeUsingSmartAssGuessing(CZelFileSpec((tmp / "none").c_str(), kUnknown)),
            kUnknown);
  EXPECT_EQ(GuessFtypeUsingSmartAssGuessing(CZelFileSpec()), kUnknown);
  EXPECT_TRUE(ui().messages.empty());
}

// gzip and BGZF files are looked into decompressed, whatever their names; a trailing .gz
// or .bgz is left out of the name; other compressors' files are never read as text.
TEST_F(DetectTest, CompressedFilesAreLookedIntoDecompressed) {
  const std::string protein = ">p\nMKVLAAGIV\n", bases = ">n\nACGTACGTNN\n";
  std::string lines = ">n\n";
  for (unsigned i = 0, x = 1; i < 2000; ++i, lines += '\n')
    for (int k = 0; k < 60; ++k) lines += "ACGT"[(x = x * 1103515245 + 12345) >> 30];
  const std::string cut = zel_test::Gzip(lines + "MKVL\n");
  struct Case {
    std::string name, bytes;
    int answer, type;
  } cases[] = {
      {"x.gb.gz", zel_test::Gzip(protein), 1, kDnaDocument},
      {"x.fa.gz", zel_test::Gzip(protein), 1, kProteinFasta},
      {"x.fa.GZ", zel_test::Gzip(bases, 5), 1, kFasta},
      {"x.seq.bgz", zel_test::Bgzf("LOCUS x 5 bp DNA\n"), 1, kGenBank},
      {"changelog.gz", zel_test::Gzip(protein), 0, kUnknown},
      {"x.embl.gz", zel_test::Gzip(protein), 0, kUnknown},
      {"renamed.txt", zel_test::Bgzf(bases), 1, kFasta},
      {"notgz.fa.gz", protein, 1, kProteinFasta},
      {"x.fa.bz2", "BZh91AY&SY>p\nMKVL\n", 1, kUnknown},
      {"x.fa", "\x28\xB5\x2F\xFD>p\nMKVL\n", 1, kUnknown},
      // Read as far as the data goes: the bases before the cut, not the protein after it.
      {"cut.fa", cut.substr(0, cut.size() / 2), 1, kFasta},
      {"whole.fa", cut, 1, kProteinFasta},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    zel_test::WriteFile(tmp / c.name, c.bytes);
    CZelFileSpec spec;
    EXPECT_EQ(spec.GuessExistingFileSpecGivenPath((tmp / c.name).c_str()), c.answer);
    EXPECT_EQ(spec.GetType(), c.type);
  }
  EXPECT_EQ(ZelNameWithoutCompression("a.gb.BGZ"), "a.gb");
  EXPECT_EQ(ZelNameWithoutCompression(".gz"), ".gz");
  EXPECT_TRUE(ui().messages.empty());
}

TEST_F(DetectTest, UnreadableStreamLeavesWhatWasFound) {
  // A file opened for writing refuses reads: nothing is found and nothing is thrown.
  zel_test::WriteFile(tmp / "w.fa", ">x\nACGT\n");
  CEkStream folder((tmp / "w.fa").c_str(), CFile::modeWrite);
  char probe[4];
  EXPECT_THROW(folder.Read(probe, 4), CFileException);
  int seq = -1, fmt = -1, arc = -1;
  EXPECT_NO_THROW(TryToGuessFtype(&folder, &seq, &fmt, &arc));
  EXPECT_EQ(seq, 0);
  EXPECT_EQ(fmt, 0);
  EXPECT_EQ(arc, 0);
  CStringList markers;
  EXPECT_EQ(TryToDefSeqObjType(&folder, markers), 0);
  TryToGuessFtype(nullptr, &seq, &fmt, &arc);
  EXPECT_EQ(fmt, 0);
}

TEST_F(DetectTest, IdentifierChecks) {
  CWinApp app("Checks");
  CWnd owner(HWND(9));
  const std::string forbidden = "\n   $|\\{}\"";
  struct Case {
    const char* text;
    bool isId;
    int answer;
    std::string message;
  };
  const Case cases[] = {
      {" ", true, 0, "Identifier cannot be empty or consist only of whitespace characters."},
      {"", true, 0, "Identifier cannot be empty or consist only of whitespace characters."},
      {"ab ", true, 0, "Identifier cannot start or end with whitespace characters"},
      {"\tab", true, 0, "Identifier cannot start or end with whitespace characters"},
      {"a{b", true, 0, "Identifier cannot contain any of the following characters:" + forbidden},
      {"a\"", true, 0, "Identifier cannot contain any of the following characters:" + forbidden},
      {"my id-1", true, 1, ""},
      {" a b ", false, 1, ""},
      {"", false, 1, ""},
      {"x|y", false, 0, "String value cannot contain any of the following characters:" + forbidden},
      {"c:\\x", false, 0,
       "String value cannot contain any of the following characters:" + forbidden},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ui().messages.clear();
    int got = c.isId ? IsValidDbID(c.text, &owner) : IsValidDbValue(c.text, &owner);
    EXPECT_EQ(got, c.answer);
    if (c.message.empty()) {
      EXPECT_TRUE(ui().messages.empty());
      continue;
    }
    ASSERT_EQ(ui().messages.size(), 1u);
    const MessageBoxRequest& m = ui().messages[0];
    EXPECT_EQ(m.text.str(), c.message);
    EXPECT_EQ(m.caption, c.isId ? "Database Identifier" : "String Value");
    EXPECT_EQ(m.type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(m.owner, HWND(9));
  }
}

}  // namespace
