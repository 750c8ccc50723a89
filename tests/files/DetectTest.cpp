// Sequence format detection: the format cascade over in-memory text, the letter rules,
// the type of real files from extension, name and contents, and the identifier checks.
#include <filesystem>
#include <string>

#include "files/SequenceDetection.h"
#include "platform/app/WinApp.h"
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
      {"genbank dna", "LOCUS       pBR322    5386 bp    DNA     circular\nORIGIN\n", 1, 1, 0, 27},
      {"genpept", "LOCUS       AAB12345  120 aa   linear   BCT\n", 2, 1, 0, 31},
      {"aa before dna in word order", "LOCUS X 12 aa DNA\n", 2, 1, 0, 31},
      {"embl mrna", "ID   X56734; SV 1; linear; mRNA; STD; PLN; 1859 BP.\n", 1, 2, 0, 26},
      {"swissprot by letters",
       "ID   P53_HUMAN   Reviewed;   PRT;   393 AA.\nAC   P04637;\nSQ   SEQUENCE   393 AA;\n"
       "     MEEPQSDPSV EPPLSQETFS DLWKLLPENN\n//\n",
       2, 2, 0, 30},
      {"embl by letters", "ID   X1 standard\nSQ   Sequence 20 BP;\n     acgtacgtac gtacgtacgt 20\n",
       1, 2, 0, 26},
      {"both keywords: embl wins", "LOCUS ID   x\nSQ   \nacgt\n", 1, 2, 0, 26},
      {"genbank undecided header", "LOCUS  XYZ  100\nFEATURES\nORIGIN\n        1 acgtacgtac\n//\n",
       1, 1, 0, 27},
      {"genpept by letters", "LOCUS  XYZ  100\nORIGIN\n        1 mkvlaagivl\n//\n", 2, 1, 0, 31},
      {"genbank without sequence", "LOCUS  XYZ  100\nFEATURES\n", 0, 1, 0, 27},
      {"length check type header", "LOCUS XYZ\nfoo Length: 5 Check: 1 Type: N ..\nacgta\n", 1, 1, 0,
       27},
      {"fasta protein", ">sp|x\nMKVLAAGIV\n", 2, 3, 0, 32},
      {"fasta nucleotide", ">x\nACGTACGTNN\n", 1, 3, 0, 28},
      {"fasta protein later", ">x\nACGT\nMKV\nACGT\n", 2, 3, 0, 32},
      {"fasta stops at next header", ">a\nACGT\n>b\nMKVL\n", 1, 3, 0, 28},
      {"fasta stops at //", ">a\nACGT\n//\nMKVL\n", 1, 3, 0, 28},
      {"fasta header skips", ">a\nType MKV\nACGT\n", 1, 3, 0, 28},
      {"fasta numbers skipped", ">a\n1 22 acgt 333\n", 1, 3, 0, 28},
      {"fasta zero is a word", ">a\n0\n", 0, 3, 0, 28},
      {"fasta cr ends", ">a\rMKVL\rACGT\r", 2, 3, 0, 32},
      {"fasta crlf ends", ">a\r\nacgtn\r\n", 1, 3, 0, 28},
      {"fasta too ambiguous", ">a\nacgtr\n", 2, 3, 0, 32},
      {"fasta tab joins words", ">a\nacgt\tmkvl\n", 0, 3, 0, 28},
      {"fasta empty", ">only a header", 0, 3, 0, 28},
      {"dna archive", "header\nxx @551656AS34@ yy\n", 1, 6, 1, 20},
      {"dna archive 7", "@751656AS34@", 1, 6, 1, 20},
      {"protein archive", "zz@752656AS34@\n", 2, 6, 1, 58},
      {"protein archive 5", "@552656AS34@\n", 2, 6, 1, 58},
      {"marker before locus wins", "@552656AS34@\nLOCUS x 5 bp\n", 2, 6, 1, 58},
      {"header must be first char", " >x\nACGT\n", 0, 0, 0, 0},
      {"two blanks are no ID", "ID  x\nacgt\n", 0, 0, 0, 0},
      {"empty", "", 0, 0, 0, 0},
      {"junk", std::string("\x01\x02\0\xff\n\n\r", 7), 0, 0, 0, 0},
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
      {tmp / "bairoch.txt", 1, 34}, {tmp / "prosite-bairoch.txt", 1, 35},
      {tmp / "gb.seq", 1, 27},      {tmp / "prot.fa", 1, 32},
      {tmp / "plain.gb", 1, 41},    {tmp / "long.embl", 0, 0},
      {tmp / "noext", 0, 0},        {tmp / "arc.ma5", 1, 58},
      {tmp / "empty.txt", 1, 0},    {tmp / "nul.dat", 1, 0},
      {tmp / "oneline.txt", 1, 0},  {tmp / "missing.fa", 1, 0},
      {tmp / "sub.d", 1, 0},        {tmp / "sub.d/../gb.seq", 1, 27},
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
  EXPECT_EQ(GuessFtypeUsingSmartAssGuessing(CZelFileSpec((tmp / "bairoch.txt").c_str(), 0)), 27);
  EXPECT_EQ(GuessFtypeUsingSmartAssGuessing(CZelFileSpec((tmp / "none").c_str(), 0)), 0);
  EXPECT_EQ(GuessFtypeUsingSmartAssGuessing(CZelFileSpec()), 0);
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
      {"x.gb.gz", zel_test::Gzip(protein), 1, 41},
      {"x.fa.gz", zel_test::Gzip(protein), 1, 32},
      {"x.fa.GZ", zel_test::Gzip(bases, 5), 1, 28},
      {"x.seq.bgz", zel_test::Bgzf("LOCUS x 5 bp DNA\n"), 1, 27},
      {"changelog.gz", zel_test::Gzip(protein), 0, 0},
      {"x.embl.gz", zel_test::Gzip(protein), 0, 0},
      {"renamed.txt", zel_test::Bgzf(bases), 1, 28},
      {"notgz.fa.gz", protein, 1, 32},
      {"x.fa.bz2", "BZh91AY&SY>p\nMKVL\n", 1, 0},
      {"x.fa", "\x28\xB5\x2F\xFD>p\nMKVL\n", 1, 0},
      // Read as far as the data goes: the bases before the cut, not the protein after it.
      {"cut.fa", cut.substr(0, cut.size() / 2), 1, 28},
      {"whole.fa", cut, 1, 32},
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
