// Recognising sequence file formats from contents, and the identifier checks.
//
// Detection of a single-record FASTA file reads every sequence line, so that work is done
// in bulk: a line made only of the letters a, c, g, t, n, u (either case) is known to be
// one nucleotide word without looking for markers, when every stop marker holds some other
// byte, and whole runs of such lines are taken from the stream's buffer at once (from a
// plain file by offset, when they go on past the buffer); any other line goes through the
// word-by-word rules. A protein answer is final, so reading stops there.
//
// Lines are read in bounded pieces and their words and markers followed across them, so
// a sequence held on one line of any length costs no more memory than a short one.
//
// A line is seen as the C string it is read into: it ends at its first zero byte.
#include "files/SequenceDetection.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/EkStreamInternal.h"
#include "files/FileTypesTable.h"
#include "files/LinePiecesInternal.h"
#include "files/SequenceScanInternal.h"
#include "platform/base/compress/Contents.h"
#include "platform/base/file/ReadAtInternal.h"
#include "platform/base/string/String.h"
#include "platform/user/ui/ZelMessageBox.h"

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
    const auto low = static_cast<unsigned char>(ZelAsciiToLower(static_cast<char>(c)));
    t[c] = ClassOf(low);
    if (In("acgtnu", low)) t[c] |= kPure;
  }
  return t;
}();

bool Contains(std::string_view line, std::string_view what) {
  return line.find(what) != std::string_view::npos;
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

// What atoi makes of a word that arrives in parts: the blanks, sign and digits it starts
// with are kept (leading zeros dropped, and digits past the twentieth, which overflow as
// the twentieth does), and atoi is asked at the end.
class WordNumber {
 public:
  void Part(std::string_view part) {
    for (char c : part) {
      if (m_phase == kDone) return;
      if (m_phase == kSpace && (c == '\t' || c == '\v')) continue;
      if (m_phase == kSpace && (c == '+' || c == '-')) {
        m_sign = c;
        m_phase = kDigits;
        continue;
      }
      if (c < '0' || c > '9') {
        m_phase = kDone;
        return;
      }
      m_phase = kDigits;
      if ((c != '0' || !m_digits.empty()) && m_digits.size() < 20) m_digits += c;
    }
  }
  bool NonZero() const {
    if (m_digits.empty()) return false;
    return std::atoi((std::string(1, m_sign) + m_digits).c_str()) != 0;
  }

 private:
  enum Phase { kSpace, kDigits, kDone } m_phase = kSpace;
  char m_sign = '+';
  std::string m_digits;
};

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// A run of bases that goes on past the n bytes the stream holds (at p) is followed in the
// file itself when the stream reads a plain regular file: by offset, in pieces that stay
// in the cache, two threads on a big file, and without copying it through the stream or
// cutting it into lines. Takes the whole lines of the run as SkipBaseLines does; answers
// false, leaving the stream as it was, when the run's whole lines all lie in what is held.
bool SkipFileBaseLines(CEkStream& stream, const char* p, size_t n, int& result) {
  CStdioFile* file = CEkStreamAccess::PlainFile(stream);
  uint64_t size = 0;
  if (!file || !zel_file::RegularFileSize(file->m_hFile, size)) return false;
  const uint64_t from = CEkStreamAccess::Position(stream) + n;
  if (from > size) return false;
  zel_seqscan::FileBaseLines rest;
  // A failing read is left to the stream, which meets it again and stops there.
  if (zel_seqscan::ScanFileBaseLines(file->m_hFile, from, zel_fileread::SplitOf(from, size), size,
                                     rest) ||
      (rest.taken == 0 && !rest.toEnd))
    return false;
  if (result == ZEL_SEQ_UNKNOWN && (rest.base || std::find_if_not(p, p + n, IsLineEnd) != p + n))
    result = ZEL_SEQ_NUCLEIC;
  CEkStreamAccess::MoveTo(stream, from + rest.taken);
  return true;
}

// Takes the whole lines of bases at the stream's position, with the line ends between
// them, straight from its buffer: each would set the answer to nucleic and change nothing
// else. Answers whether it took any.
bool SkipBaseLines(CEkStream* stream, int& result) {
  const char* p;
  const size_t n = stream->Peek(&p);
  if (n == 0) return false;
  zel_seqscan::BaseRunSeen seen;
  size_t run = zel_seqscan::BaseRun(p, n, seen);
  if (run == n && SkipFileBaseLines(*stream, p, n, result)) return true;
  // Whole lines only: a line running on past the run is read the usual way.
  while (run > 0 && !IsLineEnd(p[run - 1])) --run;
  if (run == 0) return false;
  // The whole lines taken hold a base unless they are line ends only.
  if (result == ZEL_SEQ_UNKNOWN && std::find_if_not(p, p + run, IsLineEnd) != p + run)
    result = ZEL_SEQ_NUCLEIC;
  stream->Skip(run);
  return true;
}

bool HasByteOutsidePureSet(const std::string& marker) {
  for (char c : marker)
    if (!(kLowered[static_cast<unsigned char>(c)] & kPure)) return true;
  return false;
}

// One line of a sequence block, read in pieces: whether it holds a stop marker or a
// block header, and what its words say.
class SequenceLine {
 public:
  explicit SequenceLine(const std::vector<std::string>& markers)
      : m_markers(markers), m_headers({"Length", "Check", "Type"}) {
    for (const std::string& m : markers)
      m_markersEndOutsideBases &=
          !m.empty() && !(kLowered[static_cast<unsigned char>(m.back())] & kPure);
  }

  void Feed(std::string_view piece, bool last) {
    zel_seqscan::BaseRunSeen seen;
    if (m_markersEndOutsideBases &&
        zel_seqscan::BaseRun(piece.data(), piece.size(), seen) == piece.size()) {
      // Bases alone, the bulk of a long sequence line: no marker or header ends among
      // them, and they are one part of a word.
      m_markers.Pass(piece, last);
      m_headers.Pass(piece, last);
      if (!piece.empty()) {
        m_number.Part(piece);
        Bases(piece, seen.u);
        m_inWord = true;
      }
    } else {
      m_markers.Feed(piece, last);
      m_headers.Feed(piece, last);
      zel_pieces::FeedWords(piece, m_inWord, *this);
    }
    if (last) zel_pieces::EndLine(m_inWord, *this);
  }
  // The answer after the whole line, from the answer before it; stop when a marker ends
  // the block.
  int Apply(int result, bool& stop) {
    stop = m_markers.Any();
    if (!stop && !m_headers.Any()) {
      if (m_protein)
        result = ZEL_SEQ_PROTEIN;
      else if (m_nucleic && result != ZEL_SEQ_PROTEIN)
        result = ZEL_SEQ_NUCLEIC;
    }
    m_markers.Reset();
    m_headers.Reset();
    m_nucleic = m_protein = false;
    return result;
  }

  // The words, as FeedWords hands them on. Position numbers are skipped.
  void Part(std::string_view part) {
    m_number.Part(part);
    const Letters l = Count(part, kLowered);
    m_letters.bases += l.bases;
    m_letters.ambiguities += l.ambiguities;
    m_letters.proteinOnly |= l.proteinOnly;
    m_letters.allAminoAcids &= l.allAminoAcids;
  }
  // A part of bases alone: none is an ambiguity letter, and a u is no amino acid.
  void Bases(std::string_view part, bool anyU) {
    m_letters.bases += part.size();
    m_letters.allAminoAcids &= !anyU;
  }
  void End() {
    if (!m_number.NonZero()) {
      if (NucleotideRatio(m_letters))
        m_nucleic = true;
      else if (m_letters.allAminoAcids)
        m_protein = true;
    }
    m_number = WordNumber();
    m_letters = Letters();
  }

 private:
  zel_pieces::PieceSearch m_markers, m_headers;
  bool m_markersEndOutsideBases = true;  // every marker's last byte is no base
  bool m_inWord = false;
  WordNumber m_number;
  Letters m_letters;
  bool m_nucleic = false, m_protein = false;
};

// Decides result (which starts at 0) from the lines up to a stop marker; a read failure
// leaves the answer found so far in result.
void DefSeqObjType(CEkStream* stream, const std::vector<std::string>& markers, int& result) {
  bool pureSkipsMarkers = true;
  for (const std::string& m : markers) pureSkipsMarkers &= HasByteOutsidePureSet(m);

  SequenceLine line(markers);
  CString buffer;
  for (;;) {
    if (pureSkipsMarkers && SkipBaseLines(stream, result)) continue;
    if (!zel_pieces::ReadLinePieces(
            stream, buffer, [&line](std::string_view piece, bool last) { line.Feed(piece, last); }))
      return;
    bool stop;
    result = line.Apply(result, stop);
    if (stop || result == ZEL_SEQ_PROTEIN) return;  // nothing read later can change it
  }
}

std::vector<std::string> Markers(CStringList& list) {
  std::vector<std::string> out;
  for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(list.GetNext(pos).str());
  return out;
}

// A word of a LOCUS or ID line, read in parts: only its first letters and whether it
// holds "RNA" or "DNA" matter.
class LocusWord {
 public:
  void Part(std::string_view part) {
    if (m_head.size() < kHead) m_head.append(part.substr(0, kHead - m_head.size()));
    m_length += part.size();
    m_kinds.Feed(part, false);
  }
  // The kind the whole word says, 0 for none.
  int Kind() const {
    const bool whole = m_length <= kHead;
    if (whole && LocusWordLooksLike(ZEL_SEQ_PROTEIN, m_head)) return ZEL_SEQ_PROTEIN;
    if (m_kinds.Any() || (whole && LocusWordLooksLike(ZEL_SEQ_NUCLEIC, m_head)))
      return ZEL_SEQ_NUCLEIC;
    return ZEL_SEQ_UNKNOWN;
  }

 private:
  static constexpr size_t kHead = 8;  // the longest word compared whole, "circular"
  std::string m_head;
  size_t m_length = 0;
  zel_pieces::PieceSearch m_kinds{{"RNA", "DNA"}};
};

// One line before the sequence, read in pieces: the archive markers, the FASTA header and
// the keywords, and for a keyword line the first word that tells the kind.
class LeadLine {
 public:
  enum { kProteinArchive, kProteinArchive2, kNucleicArchive, kNucleicArchive2, kLocus, kId };

  void Feed(std::string_view piece, bool last) {
    if (m_first && !piece.empty()) {
      m_header = piece[0] == '>';
      m_first = false;
    }
    m_search.Feed(piece, last);
    zel_pieces::FeedWords(piece, m_inWord, *this);
    if (last) zel_pieces::EndLine(m_inWord, *this);
  }
  bool Has(int what) const { return m_search.Found(what); }
  bool Header() const { return m_header; }
  int Kind() const { return m_kind; }
  void Reset() {
    m_search.Reset();
    m_first = true;
    m_header = false;
    m_kind = ZEL_SEQ_UNKNOWN;
  }

  // The words, as FeedWords hands them on: the first that tells a kind decides.
  void Part(std::string_view part) {
    if (m_kind == ZEL_SEQ_UNKNOWN) m_word.Part(part);
  }
  void End() {
    if (m_kind == ZEL_SEQ_UNKNOWN) m_kind = m_word.Kind();
    m_word = LocusWord();
  }

 private:
  zel_pieces::PieceSearch m_search{
      {"@552656AS34@", "@752656AS34@", "@551656AS34@", "@751656AS34@", "LOCUS", "ID   "}};
  bool m_first = true, m_header = false, m_inWord = false;
  LocusWord m_word;
  int m_kind = ZEL_SEQ_UNKNOWN;
};

void GuessFromStream(CEkStream* stream, int& seqType, int& format, int& archive) {
  CString buffer;
  LeadLine line;
  auto feed = [&line](std::string_view piece, bool last) { line.Feed(piece, last); };
  bool keywordLine = false;
  while (zel_pieces::ReadLinePieces(stream, buffer, feed)) {
    if (line.Has(LeadLine::kProteinArchive) || line.Has(LeadLine::kProteinArchive2)) {
      format = ZEL_GUESS_ARCHIVE, archive = 1, seqType = ZEL_SEQ_PROTEIN;
      return;
    }
    if (line.Has(LeadLine::kNucleicArchive) || line.Has(LeadLine::kNucleicArchive2)) {
      format = ZEL_GUESS_ARCHIVE, archive = 1, seqType = ZEL_SEQ_NUCLEIC;
      return;
    }
    if (line.Header()) {
      format = ZEL_GUESS_FASTA;
      break;
    }
    if (line.Has(LeadLine::kLocus) || line.Has(LeadLine::kId)) {
      keywordLine = true;
      break;
    }
    line.Reset();
  }

  if (keywordLine) {
    if (line.Has(LeadLine::kLocus)) format = ZEL_GUESS_GENBANK;
    if (line.Has(LeadLine::kId)) format = ZEL_GUESS_EMBL;
    if (line.Kind() != ZEL_SEQ_UNKNOWN) {
      seqType = line.Kind();
      return;
    }
  }

  if (format == ZEL_GUESS_UNKNOWN) return;
  if (format == ZEL_GUESS_FASTA) {
    DefSeqObjType(stream, {"//", ">"}, seqType);
    return;
  }
  // GenBank or EMBL: the sequence starts after ORIGIN, SQ or a Length/Check/Type header.
  zel_pieces::PieceSearch start({"ORIGIN", "SQ   ", "Length", "Check", "Type"});
  auto feedStart = [&start](std::string_view piece, bool last) { start.Feed(piece, last); };
  for (;;) {
    start.Reset();
    if (!zel_pieces::ReadLinePieces(stream, buffer, feedStart)) return;
    if (start.Found(0) || start.Found(1) || (start.Found(2) && start.Found(3) && start.Found(4)))
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

// Most sequence files are kept compressed: a gzip or BGZF file (told by its first bytes,
// whatever its name) is looked into decompressed, and a name ending in .gz or .bgz is
// taken for the name without that ending. Other compressors' files are never read as
// text: they stay undecided.
int GuessFtypeUsingSmartAssGuessing(const CZelFileSpec& spec) {
  int seqType = 0, format = 0, archive = 0;
  try {
    std::unique_ptr<CContentsFile> contents = CContentsFile::Open(
        std::make_unique<CStdioFile>(spec.GetPath(),
                                     CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary),
        CContentsFile::kStreaming);
    if (!contents->Readable()) return 0;
    CEkStream stream;
    // A plain file is read from the file itself, so that a long sequence is read by offset.
    if (std::unique_ptr<CStdioFile> plain = contents->TakePlainSource())
      stream.Open(std::move(plain));
    else
      stream.Open(std::move(contents));
    TryToGuessFtype(&stream, &seqType, &format, &archive);
    stream.Close();
  } catch (CException&) {
    // Not openable: undecided. (A failing close after reading keeps the answer.)
    if (format == 0) return 0;
  }
  return ZelFtypeFromGuess(format, seqType);
}

const CContentsFile* ZelOpenContents(const char* path, CEkStream& stream, bool wholeWhenSmall) {
  auto source = std::make_unique<CStdioFile>(
      path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
  std::unique_ptr<CContentsFile> contents =
      CContentsFile::Open(std::move(source), wholeWhenSmall ? CContentsFile::kWholeWhenSmall
                                                            : CContentsFile::kStreaming);
  if (!contents->Readable()) return nullptr;
  const CContentsFile* file = contents.get();
  stream.Open(std::move(contents));
  return file;
}

std::string_view ZelNameWithoutCompression(std::string_view path) {
  for (std::string_view ending : {".gz", ".bgz"})
    if (path.size() > ending.size() &&
        ZelStrCmpNoCase(path.substr(path.size() - ending.size()), ending) == 0)
      return path.substr(0, path.size() - ending.size());
  return path;
}

int ZelFtypeFromName(const char* path) {
  if (!path) return 0;
  const std::string name(ZelNameWithoutCompression(path));
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.size() - dot >= 5) return 0;
  const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(name.c_str() + dot);
  int type = row ? row->id : 0;
  if (type == 0) {
    CString upper(name.c_str());
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
