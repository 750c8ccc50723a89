// Recognising sequence file formats from contents, and the identifier checks.
//
// Detection of a single-record FASTA file reads every sequence line, so that work is done
// in bulk: a line made only of the letters a, c, g, t, n, u (either case) is known to be
// one nucleotide word without looking for markers, when every stop marker holds some other
// byte, and whole runs of such lines are taken from the stream's buffer at once; any other
// line goes through the word-by-word rules. A protein answer is final, so reading stops
// there.
//
// A line is seen as the C string it is read into: it ends at its first zero byte.
#include "files/SequenceDetection.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileTypesTable.h"
#include "files/SequenceScanInternal.h"
#include "platform/ui/ZelMessageBox.h"

namespace {

// Character classes of the letter rules, for lower-case bytes.
enum : uint8_t {
  kBase = 1,         // natgcu
  kAmbiguity = 2,    // rymkswhbvd
  kProteinOnly = 4,  // *elipfq
  kAminoAcid = 8,    // xflsy*cwphqrimtnkvadeg
  kPure = 16,        // a line of these alone is one nucleotide word
};

constexpr bool In(const char* set, unsigned char c) {
  for (; *set; ++set)
    if (static_cast<unsigned char>(*set) == c) return true;
  return false;
}

constexpr uint8_t ClassOf(unsigned char c) {
  uint8_t k = 0;
  if (In("natgcu", c)) k |= kBase;
  if (In("rymkswhbvd", c)) k |= kAmbiguity;
  if (In("*elipfq", c)) k |= kProteinOnly;
  if (In("xflsy*cwphqrimtnkvadeg", c)) k |= kAminoAcid;
  return k;
}

// Classes of bytes as they are (the public checks take lower-case words).
constexpr std::array<uint8_t, 256> kClass = [] {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; c++) t[c] = ClassOf(static_cast<unsigned char>(c));
  return t;
}();

// Classes of bytes after lower-casing (A-Z only, as tolower does in the C locale).
constexpr std::array<uint8_t, 256> kLowered = [] {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; c++) {
    unsigned char low = c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
    t[c] = ClassOf(low);
    if (In("acgtnu", low)) t[c] |= kPure;
  }
  return t;
}();

bool IsSeparator(char c) { return c == ' ' || c == '\f' || c == '\r' || c == '\n'; }

bool Contains(std::string_view line, std::string_view what) {
  return line.find(what) != std::string_view::npos;
}

// Calls each(word) for the words of line, split at blanks, form feeds, CR and LF; stops
// early when each answers true.
template <typename Each>
bool ForEachWord(std::string_view line, Each&& each) {
  size_t i = 0, n = line.size();
  while (i < n) {
    while (i < n && IsSeparator(line[i])) i++;
    size_t start = i;
    while (i < n && !IsSeparator(line[i])) i++;
    if (i > start && each(line.substr(start, i - start))) return true;
  }
  return false;
}

bool EqualsNoCase(std::string_view word, const char* what) {
  return ZelStrCmpNoCase(word, what) == 0;
}

int LocusWordLooksLike(int seqType, std::string_view word) {
  if (seqType == ZEL_SEQ_NUCLEIC)
    return Contains(word, "RNA") || Contains(word, "DNA") || EqualsNoCase(word, "circular") ||
           EqualsNoCase(word, "bp");
  if (seqType == ZEL_SEQ_PROTEIN) return EqualsNoCase(word, "aa") || EqualsNoCase(word, "prt");
  return 0;
}

// The letter counts of a word under a class table.
struct Letters {
  size_t bases = 0, ambiguities = 0;
  bool proteinOnly = false, allAminoAcids = true;
};

Letters Count(std::string_view word, const std::array<uint8_t, 256>& table) {
  Letters l;
  for (char ch : word) {
    uint8_t k = table[static_cast<unsigned char>(ch)];
    l.bases += k & kBase;
    l.ambiguities += (k & kAmbiguity) >> 1;
    l.proteinOnly |= (k & kProteinOnly) != 0;
    l.allAminoAcids &= (k & kAminoAcid) != 0;
  }
  return l;
}

bool NucleotideRatio(const Letters& l) {
  if (l.proteinOnly || l.bases == 0) return false;
  // Just above 0.15, so that 3 ambiguity letters in 20 bases still count.
  return static_cast<double>(l.ambiguities) / static_cast<double>(l.bases) < 0.15000000000000002;
}

// atoi of a word that ends at a separator (which atoi stops at anyway), read only when it
// can be other than 0.
int WordAtoi(std::string_view word) {
  char c = word[0];
  if (!(c == '+' || c == '-' || (c >= '0' && c <= '9') || c == '\t' || c == '\v')) return 0;
  return std::atoi(std::string(word).c_str());
}

// Whether every byte of the line (which holds no line end) is one of a c g t n u in
// either case.
bool IsPureNucleotideLine(std::string_view line) {
  bool anyBase = false;
  return zel_seqscan::BaseRun(line.data(), line.size(), anyBase) == line.size();
}

std::string_view CLine(const CString& text) {
  std::string_view v = text.view();
  return v.substr(0, v.find('\0'));
}

// Takes the whole lines of bases at the stream's position, with the line ends between
// them, straight from its buffer: each would set the answer to nucleic and change nothing
// else. Answers whether it took any.
bool SkipBaseLines(CEkStream* stream, int& result) {
  const char* p;
  const size_t n = stream->Peek(&p);
  if (n == 0) return false;
  bool anyBase = false;
  size_t run = zel_seqscan::BaseRun(p, n, anyBase);
  // Whole lines only: a line running on past the run is read the usual way.
  while (run > 0 && p[run - 1] != '\r' && p[run - 1] != '\n') --run;
  if (run == 0) return false;
  // The whole lines taken hold a base unless they are line ends only.
  if (result == ZEL_SEQ_UNKNOWN &&
      std::find_if(p, p + run, [](char c) { return c != '\r' && c != '\n'; }) != p + run)
    result = ZEL_SEQ_NUCLEIC;
  stream->Skip(run);
  return true;
}

bool HasByteOutsidePureSet(const std::string& marker) {
  for (char c : marker)
    if (!(kLowered[static_cast<unsigned char>(c)] & kPure)) return true;
  return false;
}

// Decides result (which starts at 0) from the lines up to a stop marker; a read failure
// leaves the answer found so far in result.
void DefSeqObjType(CEkStream* stream, const std::vector<std::string>& markers, int& result) {
  bool pureSkipsMarkers = true;
  for (const std::string& m : markers) pureSkipsMarkers &= HasByteOutsidePureSet(m);

  CString text;
  for (;;) {
    if (pureSkipsMarkers && SkipBaseLines(stream, result)) continue;
    if (!stream->ReadString(text)) return;
    std::string_view line = CLine(text);
    if (pureSkipsMarkers && !line.empty() && IsPureNucleotideLine(line)) {
      // One word of bases only: a nucleotide word.
      if (result != ZEL_SEQ_PROTEIN) result = ZEL_SEQ_NUCLEIC;
      continue;
    }
    for (const std::string& m : markers)
      if (Contains(line, m)) return;
    if (Contains(line, "Length") || Contains(line, "Check") || Contains(line, "Type")) continue;
    ForEachWord(line, [&result](std::string_view word) {
      if (WordAtoi(word) != 0) return false;
      Letters l = Count(word, kLowered);
      if (NucleotideRatio(l)) {
        if (result != ZEL_SEQ_PROTEIN) result = ZEL_SEQ_NUCLEIC;
      } else if (l.allAminoAcids) {
        result = ZEL_SEQ_PROTEIN;
      }
      return false;
    });
    if (result == ZEL_SEQ_PROTEIN) return;  // nothing read later can change it
  }
}

std::vector<std::string> Markers(CStringList& list) {
  std::vector<std::string> out;
  for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(list.GetNext(pos).str());
  return out;
}

void GuessFromStream(CEkStream* stream, int& seqType, int& format, int& archive) {
  CString text;
  bool keywordLine = false;
  while (stream->ReadString(text)) {
    std::string_view line = CLine(text);
    if (Contains(line, "@552656AS34@") || Contains(line, "@752656AS34@")) {
      format = ZEL_GUESS_ARCHIVE, archive = 1, seqType = ZEL_SEQ_PROTEIN;
      return;
    }
    if (Contains(line, "@551656AS34@") || Contains(line, "@751656AS34@")) {
      format = ZEL_GUESS_ARCHIVE, archive = 1, seqType = ZEL_SEQ_NUCLEIC;
      return;
    }
    if (!line.empty() && line[0] == '>') {
      format = ZEL_GUESS_FASTA;
      break;
    }
    if (Contains(line, "LOCUS") || Contains(line, "ID   ")) {
      keywordLine = true;
      break;
    }
  }

  if (keywordLine) {
    std::string_view line = CLine(text);
    if (Contains(line, "LOCUS")) format = ZEL_GUESS_GENBANK;
    if (Contains(line, "ID   ")) format = ZEL_GUESS_EMBL;
    int decided = ZEL_SEQ_UNKNOWN;
    ForEachWord(line, [&decided](std::string_view word) {
      if (LocusWordLooksLike(ZEL_SEQ_PROTEIN, word))
        decided = ZEL_SEQ_PROTEIN;
      else if (LocusWordLooksLike(ZEL_SEQ_NUCLEIC, word))
        decided = ZEL_SEQ_NUCLEIC;
      return decided != ZEL_SEQ_UNKNOWN;
    });
    if (decided != ZEL_SEQ_UNKNOWN) {
      seqType = decided;
      return;
    }
  }

  if (format == ZEL_GUESS_UNKNOWN) return;
  if (format == ZEL_GUESS_FASTA) {
    DefSeqObjType(stream, {"//", ">"}, seqType);
    return;
  }
  // GenBank or EMBL: the sequence starts after ORIGIN, SQ or a Length/Check/Type header.
  for (;;) {
    if (!stream->ReadString(text)) return;
    std::string_view line = CLine(text);
    if (Contains(line, "ORIGIN") || Contains(line, "SQ   ") ||
        (Contains(line, "Length") && Contains(line, "Check") && Contains(line, "Type")))
      break;
  }
  DefSeqObjType(stream, {"LOCUS", "ID   ", "//"}, seqType);
}

void ShowInvalid(CWnd* parent, const char* what, const char* caption) {
  CString text(what);
  text += "\n   $|\\{}\"";
  ZelMessageBox(parent, text, caption, MB_OK | MB_ICONERROR, 0);
}

constexpr const char* kForbidden = "$|\\{}\"";

}  // namespace

int LocusLooksLike(int seqType, const char* word) {
  return word ? LocusWordLooksLike(seqType, word) : 0;
}

int IsNuclSeq(char* word) { return word && NucleotideRatio(Count(word, kClass)) ? 1 : 0; }

int IsProtSeq(const char* word) {
  if (!word) return 1;
  return Count(word, kClass).allAminoAcids ? 1 : 0;
}

int TryToDefSeqObjType(CEkStream* stream, CStringList& stopMarkers) {
  int result = ZEL_SEQ_UNKNOWN;
  if (!stream) return result;
  try {
    DefSeqObjType(stream, Markers(stopMarkers), result);
  } catch (CException&) {
    // An unreadable rest leaves the answer found so far.
  } catch (std::exception&) {
  }
  return result;
}

void TryToGuessFtype(CEkStream* stream, int* seqType, int* format, int* archive) {
  int seq = 0, fmt = 0, arc = 0;
  if (stream) {
    try {
      GuessFromStream(stream, seq, fmt, arc);
    } catch (CException&) {
      // An unreadable rest leaves what was found so far.
    } catch (std::exception&) {
    }
  }
  if (seqType) *seqType = seq;
  if (format) *format = fmt;
  if (archive) *archive = arc;
}

int ZelFtypeFromGuess(int format, int seqType) {
  bool protein = seqType == ZEL_SEQ_PROTEIN;
  switch (format) {
    case ZEL_GUESS_GENBANK:
      return protein ? kGenPept : kGenBank;
    case ZEL_GUESS_EMBL:
      return protein ? kSwissProt : kEmbl;
    case ZEL_GUESS_FASTA:
      return protein ? kProteinFasta : kFasta;
    case ZEL_GUESS_ARCHIVE:
      return protein ? kProteinArchive : kDnaArchive;
    default:
      return kUnknown;
  }
}

int GuessFtypeUsingSmartAssGuessing(const CZelFileSpec& spec) {
  int seqType = 0, format = 0, archive = 0;
  try {
    CEkStream stream(spec.GetPath(), CFile::modeRead | CFile::shareDenyWrite);
    TryToGuessFtype(&stream, &seqType, &format, &archive);
    stream.Close();
  } catch (CException&) {
    // Not openable: undecided. (A failing close after reading keeps the answer.)
    if (format == 0) return 0;
  }
  return ZelFtypeFromGuess(format, seqType);
}

int ZelFtypeFromName(const char* path) {
  if (!path) return 0;
  const char* dot = std::strrchr(path, '.');
  if (!dot || std::strlen(dot) >= 5) return 0;
  const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(dot);
  int type = row ? row->id : 0;
  if (type == 0) {
    CString upper(path);
    upper.MakeUpper();
    if (upper.Find("BAIROCH") >= 0) type = kRebase;
    if (upper.Find("PROSITE") >= 0) type = kProsite;
  }
  return type == 0 ? -1 : type;
}

int CZelFileSpec::GuessExistingFileSpecGivenPath(const char* path) {
  if (!path) return 0;
  SetSpec(path, 0);
  int type = ZelFtypeFromName(path);
  if (type == 0) return 0;  // no short extension: the path stays set, with type 0
  if (type < 0) type = GuessFtypeUsingSmartAssGuessing(*this);
  SetSpec(path, type);
  return 1;
}

int IsValidDbID(const CString& id, CWnd* parent) {
  CString trimmed = id;
  trimmed.Trim();
  if (trimmed.IsEmpty()) {
    ZelMessageBox(parent, "Identifier cannot be empty or consist only of whitespace characters.",
                  "Database Identifier", MB_OK | MB_ICONERROR, 0);
    return 0;
  }
  if (trimmed != id) {
    ZelMessageBox(parent, "Identifier cannot start or end with whitespace characters",
                  "Database Identifier", MB_OK | MB_ICONERROR, 0);
    return 0;
  }
  if (id.view().find_first_of(kForbidden) != std::string_view::npos) {
    ShowInvalid(parent, "Identifier cannot contain any of the following characters:",
                "Database Identifier");
    return 0;
  }
  return 1;
}

int IsValidDbValue(const CString& value, CWnd* parent) {
  if (value.view().find_first_of(kForbidden) != std::string_view::npos) {
    ShowInvalid(parent,
                "String value cannot contain any of the following characters:", "String Value");
    return 0;
  }
  return 1;
}
