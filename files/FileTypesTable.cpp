// The file types table and its default rows.
#include "files/FileTypesTable.h"

#include <algorithm>
#include <cstring>

namespace {
// Members not named are null or 0.
FTTENTRY g_defaultRows[] = {
    {.id = kUnknown, .extension = ".", .macType = "TEXT", .macCreator = "QLLp"},
    {.id = kType6, .extension = "", .macType = "TEXT", .macCreator = "QLLp"},
    {.id = kType1, .extension = "", .macType = "TEXT", .macCreator = "QLLp"},
    {.id = kType8, .extension = "", .macType = "TEXT", .macCreator = "QLLp"},
    {.id = kNetLock, .extension = "", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kDbDefinition, .description = "DB Definition Files", .extension = "", .macType = "pref", .macCreator = "QLLp"},
    {.id = kLock, .extension = "", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kTemp, .extension = ".tmp", .macType = "TEXT", .macCreator = "QLLp"},
    {.id = kVdb, .extension = ".vdb", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kMol, .extension = ".mol", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kPro, .extension = ".pro", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kSeq, .extension = ".seq", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kCmn, .extension = ".cmn", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kSeq12, .extension = ".seq", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kEnz, .extension = ".enz", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kCnt, .extension = ".cnt", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kOlg, .extension = ".olg", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kMot, .extension = ".mot", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kMrk, .extension = ".mrk", .macType = "QLLb", .macCreator = "QLLp"},
    {.id = kDefinition, .extension = ".def", .macType = "pref", .macCreator = "QLLp", .appCode = 3000},
    {.id = kTemplate, .extension = ".tpl", .byExtension = 1, .macType = "TEXT", .macCreator = "ttxt"},
    {.id = kHtml, .description = "HTML Files", .extension = ".htm", .byExtension = 1, .macType = "TEXT", .macCreator = "ttxt", .appCode = 3001},
    {.id = kDnaDocument, .description = "DNA/RNA Documents", .extension = ".gb", .byExtension = 1, .shellClass = "QLLIMolDoc", .shellDescription = "Quillion DNA/RNA Document", .iconIndex = -20, .macType = "TEXT", .macCreator = "QLLI", .appCode = 20, .openSwitch = "-NoSplash"},
    {.id = kProteinDocument, .description = "Protein Documents", .extension = ".gp", .byExtension = 1, .shellClass = "QLLIProDoc", .shellDescription = "Quillion Protein Document", .iconIndex = -239, .macType = "TEXT", .macCreator = "QLLI", .appCode = 20, .openSwitch = "-NoSplash"},
    {.id = kGelDocument, .description = "Gel Documents", .extension = ".gd", .byExtension = 1, .shellClass = "QLLIGelDoc", .shellDescription = "Quillion Gel Document", .iconIndex = -21, .macType = "QLgd", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kEmbl, .description = "EMBL Files", .extension = ".txt", .formatName = "EMBL file", .macType = "TEXT", .macCreator = "QLLI"},
    {.id = kGenBank, .description = "GenBank Files", .extension = ".gb", .filter = "*.gb;*.gbk", .formatName = "GenBank file", .macType = "TEXT", .macCreator = "QLLI", .appCode = 20},
    {.id = kFasta, .description = "FASTA Files", .extension = ".txt", .formatName = "FASTA file", .macType = "TEXT", .macCreator = "QLLI"},
    {.id = kSwissProt, .description = "SWISS-PROT Files", .extension = ".txt", .formatName = "SWISS-PROT file", .macType = "TEXT", .macCreator = "QLLI"},
    {.id = kGenPept, .description = "GenPept Files", .extension = ".gp", .filter = "*.gp;*.gbk", .formatName = "GenPept file", .macType = "TEXT", .macCreator = "QLLI", .appCode = 239},
    {.id = kProteinFasta, .description = "Protein FASTA Files", .extension = ".txt", .formatName = "Protein FASTA file", .macType = "TEXT", .macCreator = "QLLI"},
    {.id = kRebase, .description = "REBASE Files", .extension = ".txt", .formatName = "REBASE file", .macType = "TEXT", .macCreator = "QLLp"},
    {.id = kProsite, .description = "PROSITE Files", .extension = ".dat", .formatName = "PROSITE file", .macType = "TEXT", .macCreator = "QLLp"},
    {.id = kNucleotideSequence, .description = "Nucleotide Sequence Files", .extension = ".txt", .formatName = "Nucleotide Sequence file (ASCII)", .macType = "TEXT", .macCreator = "QLLI"},
    {.id = kAminoAcidSequence, .description = "Amino Acid Sequence Files", .extension = ".txt", .formatName = "Amino Acid Sequence file (ASCII)", .macType = "TEXT", .macCreator = "QLLI"},
    {.id = kMoleculeViewer3x, .description = "3.x Molecule Viewers", .extension = ".mv", .byExtension = 1, .shellClass = "QLLIMolViewer", .shellDescription = "Quillion 3.x Molecule Viewer", .iconIndex = -3, .macType = "QLLm", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kGelViewer3x, .description = "3.x Gel Viewers", .extension = ".gv", .byExtension = 1, .shellClass = "QLLIGelViewer", .shellDescription = "Quillion 3.x Gel Viewer", .iconIndex = -4, .macType = "QLLg", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kDnaArchive, .description = "DNA/RNA Archives", .extension = ".ma4", .filter = "*.ma4;*.mar", .byExtension = 1, .shellClass = "QLLIMolArc", .shellDescription = "Quillion DNA/RNA Molecule Archive", .iconIndex = -16, .formatName = "QLLI DNA/RNA archive", .macType = "QLma", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kProteinArchive, .description = "Protein Archives", .extension = ".pa4", .filter = "*.pa4;*.par", .byExtension = 1, .shellClass = "QLLIProArc", .shellDescription = "Quillion Protein Archive", .iconIndex = -311, .formatName = "QLLI Protein archive", .macType = "QLpa", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kEnzymeArchive, .description = "Enzyme Archives", .extension = ".ea4", .filter = "*.ea4;*.ear", .byExtension = 1, .shellClass = "QLLIEnzArc", .shellDescription = "Quillion Enzyme Archive", .iconIndex = -17, .formatName = "QLLI Enzyme archive", .macType = "QLea", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kUfdArchive, .description = "UFD Archives", .extension = ".ua4", .filter = "*.ua4;*.uar", .byExtension = 1, .shellClass = "QLLIUFDArc", .shellDescription = "Quillion UFD Archive", .iconIndex = -23, .formatName = "QLLI UFD archive", .macType = "QLua", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kOligoArchive, .description = "Oligo Archives", .extension = ".oa4", .filter = "*.oa4;*.oar", .byExtension = 1, .shellClass = "QLLIOliArc", .shellDescription = "Quillion Oligo Archive", .iconIndex = -18, .formatName = "QLLI Oligo archive", .macType = "QLoa", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kProteinMotifArchive, .description = "Protein Motif Archives", .extension = ".ta4", .filter = "*.ta4;*.tar", .byExtension = 1, .shellClass = "QLLIPMArc", .shellDescription = "Quillion Protein Motif Archive", .formatName = "QLLI Protein Motif archive", .macType = "QLta", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kGelMarkerArchive, .description = "Gel Marker Archives", .extension = ".ga4", .filter = "*.ga4;*.gar", .byExtension = 1, .shellClass = "QLLIGMArc", .shellDescription = "Quillion Gel Marker Archive", .iconIndex = -19, .formatName = "QLLI Gel Marker archive", .macType = "QLga", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kLog, .description = "Log Files", .extension = ".log", .macType = "TEXT", .macCreator = "ttxt", .appCode = 3002},
    {.id = kSuiteText, .description = "Text Files", .extension = ".txt", .macType = "TEXT", .macCreator = "QLLp"},
    {.id = kStyle, .description = "Style Files", .extension = ".vss", .byExtension = 1, .macType = "QLLs", .macCreator = "QLLp", .byMacCodes = 1, .appCode = 3003},
    {.id = kPicture, .description = "Picture Files", .extension = ".wmf", .macType = "PICT", .macCreator = "ttxt"},
    {.id = kRichText, .description = "Rich Text Files", .extension = ".rtf", .macType = "TEXT", .macCreator = "ttxt"},
    {.id = kPlainText, .description = "Text Files", .extension = ".txt", .macType = "TEXT", .macCreator = "ttxt"},
    {.id = kDnaMoleculeList, .description = "DNA/RNA Molecule List Files", .extension = ".mls", .byExtension = 1, .macType = "TEXT", .macCreator = "QLLp", .byMacCodes = 1, .appCode = 3002},
    {.id = kProteinList, .description = "Protein List Files", .extension = ".pls", .byExtension = 1, .macType = "TEXT", .macCreator = "QLLp", .byMacCodes = 1, .appCode = 3002},
    {.id = kOligoList, .description = "Oligo List Files", .extension = ".ols", .byExtension = 1, .macType = "TEXT", .macCreator = "QLLp", .byMacCodes = 1, .appCode = 3002},
    {.id = kOligo, .description = "Oligo Files", .extension = ".otx", .byExtension = 1, .macType = "TEXT", .macCreator = "QLLp", .byMacCodes = 1, .appCode = 3004},
    {.id = kFont, .extension = ".fon", .macType = "FFIL", .macCreator = "QLLp"},
    {.id = kProfile, .extension = ".ini", .macType = "pref", .macCreator = "QLLp", .appCode = 3000},
    {.id = kProgram, .description = "Programs", .extension = ".exe", .byExtension = 1, .macType = "APPL", .macCreator = "APPL", .byMacCodes = 1},
    {.id = kScript, .description = "Scripts", .extension = ".ss", .byExtension = 1, .macType = "TEXT", .macCreator = "TuvM"},
    {.id = kDnaShortcut, .description = "DNA/RNA Molecule Shortcuts", .extension = ".mq", .byExtension = 1, .shellClass = "QLLIMolLink", .shellDescription = "Quillion DNA/RNA Molecule Shortcut", .iconIndex = -22, .macType = "QLmq", .macCreator = "QLLI", .byMacCodes = 1, .openSwitch = "-NoSplash"},
    {.id = kProteinShortcut, .description = "Protein Shortcuts", .extension = ".pq", .byExtension = 1, .shellClass = "QLLIProLink", .shellDescription = "Quillion Protein Shortcut", .iconIndex = -310, .macType = "QLpq", .macCreator = "QLLI", .byMacCodes = 1, .openSwitch = "-NoSplash"},
    {.id = kDnaSetup, .description = "DNA/RNA Setup Files", .extension = ".ms5", .byExtension = 1, .shellClass = "QLLIMolSetup", .shellDescription = "Quillion DNA/RNA Style", .iconIndex = -1312, .macType = "QLms", .macCreator = "QLLp", .byMacCodes = 1},
    {.id = kProteinSetup, .description = "Protein Setup Files", .extension = ".ps5", .byExtension = 1, .shellClass = "QLLIProSetup", .shellDescription = "Quillion Protein Setup", .iconIndex = -1313, .macType = "QLps", .macCreator = "QLLp", .byMacCodes = 1},
    {.id = kReportTemplate, .description = "General Report", .extension = ".rp", .byExtension = 1, .shellClass = "QLLIReport", .shellDescription = "Quillion Report Template", .iconIndex = -348, .macType = "QLps", .macCreator = "QLLp", .byMacCodes = 1},
    {.id = kEkMol, .description = "EkMol Files", .extension = ".ekm", .filter = "*.ekm", .byExtension = 1, .shellClass = "EkMol file", .shellDescription = "EkMol file", .formatName = "EkMol file", .macType = "TEXT", .macCreator = "QLLI", .byMacCodes = 1, .appCode = 20},
    {.id = kGeneralReport, .description = "General Report", .extension = ".rgl", .byExtension = 1, .shellClass = "QLLI Report", .shellDescription = "QLLI General Repor", .iconIndex = -348, .macType = "RGL", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kReportParentDescendants, .description = "Report Parent Descendants", .extension = ".rpd", .byExtension = 1, .shellClass = "QLLI Report", .shellDescription = "QLLI Report Parent Descendants", .iconIndex = -348, .macType = "RPD", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kPcrSettings, .description = "PCR Analysis Settings Files", .extension = ".pcr", .byExtension = 1, .iconIndex = -1312, .macType = "PCR", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kMultiplexPcrList, .description = "Multiplex PCR Analysis List", .extension = ".mpcrList", .byExtension = 1, .iconIndex = -1312, .macType = "MPCR", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kMultiplexPcrSettings, .description = "Multiplex PCR Analysis Settings", .extension = ".mpcr", .byExtension = 1, .iconIndex = -1312, .macType = "MPCR", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kMultiplexLockwayPcrSettings, .description = "Multiplex Lockway PCR Analysis Settings", .extension = ".mpcrLWC", .byExtension = 1, .iconIndex = -1312, .macType = "MPCR", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kMultiplexRivoPcrSettings, .description = "Multiplex RIVO PCR Analysis Settings", .extension = ".mpcrRIVO", .byExtension = 1, .iconIndex = -1312, .macType = "MPCR", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kLongPcrList, .description = "Long PCR Analysis List", .extension = ".lpcr", .byExtension = 1, .iconIndex = -1312, .macType = "LPCR", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kAlignmentPcrList, .description = "Alignment PCR Analysis List", .extension = ".apcr", .byExtension = 1, .iconIndex = -1312, .macType = "APCR", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kGeneralFeatureFormat, .description = "General Feature Format", .extension = ".gff", .byExtension = 1, .shellClass = "QLLIGeneralFeatureFormat", .shellDescription = "Quillion General Feature Format", .iconIndex = -3006, .macType = "GFF", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kJpeg, .description = "Joint Photographic Experts Group", .extension = ".jpg", .macType = "PICT", .macCreator = "ttxt"},
    {.id = kOligoPcrSettings, .description = "Oligo PCR Analysis Settings", .extension = ".opcr", .byExtension = 1, .iconIndex = -1312, .macType = "OPCR", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kXrReactionPcrSettings, .description = "XR reaction PCR Settings Files", .extension = ".xrr_pcr", .byExtension = 1, .iconIndex = -1312, .macType = "XRR_PCR", .macCreator = "QLLI", .byMacCodes = 1},
    {.id = kRivoPcrSettings, .description = "RIVO PCR Settings Files", .extension = ".rivo_pcr", .byExtension = 1, .iconIndex = -1312, .macType = "RIVO_PCR", .macCreator = "QLLI", .byMacCodes = 1},
};
}  // namespace

// Built before the other static objects of the library and its users, which may look
// types up while they are constructed (file globals with a type, for one).
__attribute__((init_priority(200))) FileTypesTable _FileTypesTable;

uint32_t ZelMacCodeFromText(const char* code) {
  unsigned char bytes[4] = {};
  if (code) std::memcpy(bytes, code, std::min<size_t>(4, std::strlen(code) + 1));
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

FileTypesTable::FileTypesTable() { RegisterDefaultFileTypeEntries(); }

void FileTypesTable::RegisterDefaultFileTypeEntries() {
  for (FTTENTRY& row : g_defaultRows) m_rows.push_back(&row);
}

const FTTENTRY* FileTypesTable::FindFileTypeEntry(int id) const {
  for (const FTTENTRY* row : m_rows)
    if (row->id == id) return row;
  return First();
}

const FTTENTRY* FileTypesTable::FindFileTypeEntry(const char* extension) const {
  if (!extension) return First();
  for (const FTTENTRY* row : m_rows)
    if (row->byExtension && ZelStrCmpNoCase(row->extension, extension) == 0) return row;
  return First();
}

const FTTENTRY* FileTypesTable::FindFileTypeEntry(unsigned long macType,
                                                  unsigned long macCreator) const {
  for (const FTTENTRY* row : m_rows)
    if (ZelMacCodeFromText(row->macType) == macType &&
        ZelMacCodeFromText(row->macCreator) == macCreator)
      return row->byMacCodes ? row : First();
  return First();
}

void FileTypesTable::RegisterFileTypeEntry(FTTENTRY* row) {
  if (!row) return;
  UnregisterFileTypeEntry(row->id);
  m_rows.push_back(row);
}

void FileTypesTable::RegisterFileTypeEntry(FTTENTRY* rows, int count) {
  for (int i = 0; i < count; ++i) RegisterFileTypeEntry(rows + i);
}

void FileTypesTable::UnregisterFileTypeEntry(int id) {
  auto it = std::find_if(m_rows.begin(), m_rows.end(), [id](FTTENTRY* r) { return r->id == id; });
  if (it != m_rows.end()) m_rows.erase(it);
}

CString ZelMakeFilterString(const int* ids, int noAllFiles) {
  CString filter;
  if (!ids) return filter;
  for (; *ids != 0; ++ids) {
    const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(*ids);
    if (row->description) filter += row->description;
    if (noAllFiles || row->byExtension) filter += CString(" (*") + row->extension + ")";
    filter += "|";
    if (row->byExtension) {
      if (row->filter)
        filter += row->filter;
      else
        filter += CString("*") + row->extension;
      filter += "|";
    } else {
      filter += "*.*|";
    }
  }
  if (!noAllFiles) filter += "All files (*.*)|*.*||";
  return filter;
}
