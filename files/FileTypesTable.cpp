// The file types table and its default rows.
#include "files/FileTypesTable.h"

#include <algorithm>
#include <cstring>

namespace {
// id, description, extension, filter, by extension, shell class, shell description, icon,
// format name, Mac type, Mac creator, by Mac codes, application code, open switch.
FTTENTRY g_defaultRows[] = {
    {0, nullptr, ".", nullptr, 0, nullptr, nullptr, 0, nullptr, "TEXT", "QLLp", 0, 0, nullptr},
    {6, nullptr, "", nullptr, 0, nullptr, nullptr, 0, nullptr, "TEXT", "QLLp", 0, 0, nullptr},
    {1, nullptr, "", nullptr, 0, nullptr, nullptr, 0, nullptr, "TEXT", "QLLp", 0, 0, nullptr},
    {8, nullptr, "", nullptr, 0, nullptr, nullptr, 0, nullptr, "TEXT", "QLLp", 0, 0, nullptr},
    {2, nullptr, "", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {3, "DB Definition Files", "", nullptr, 0, nullptr, nullptr, 0, nullptr, "pref", "QLLp", 0, 0, nullptr},
    {5, nullptr, "", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {4, nullptr, ".tmp", nullptr, 0, nullptr, nullptr, 0, nullptr, "TEXT", "QLLp", 0, 0, nullptr},
    {7, nullptr, ".vdb", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {9, nullptr, ".mol", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {56, nullptr, ".pro", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {10, nullptr, ".seq", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {11, nullptr, ".cmn", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {12, nullptr, ".seq", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {13, nullptr, ".enz", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {14, nullptr, ".cnt", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {15, nullptr, ".olg", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {57, nullptr, ".mot", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {16, nullptr, ".mrk", nullptr, 0, nullptr, nullptr, 0, nullptr, "QLLb", "QLLp", 0, 0, nullptr},
    {17, nullptr, ".def", nullptr, 0, nullptr, nullptr, 0, nullptr, "pref", "QLLp", 0, 3000, nullptr},
    {18, nullptr, ".tpl", nullptr, 1, nullptr, nullptr, 0, nullptr, "TEXT", "ttxt", 0, 0, nullptr},
    {19, "HTML Files", ".htm", nullptr, 1, nullptr, nullptr, 0, nullptr, "TEXT", "ttxt", 0, 3001, nullptr},
    {41, "DNA/RNA Documents", ".gb", nullptr, 1, "QLLIMolDoc", "Quillion DNA/RNA Document", -20, nullptr, "TEXT", "QLLI", 0, 20, "-NoSplash"},
    {42, "Protein Documents", ".gp", nullptr, 1, "QLLIProDoc", "Quillion Protein Document", -239, nullptr, "TEXT", "QLLI", 0, 20, "-NoSplash"},
    {43, "Gel Documents", ".gd", nullptr, 1, "QLLIGelDoc", "Quillion Gel Document", -21, nullptr, "QLgd", "QLLI", 1, 0, nullptr},
    {26, "EMBL Files", ".txt", nullptr, 0, nullptr, nullptr, 0, "EMBL file", "TEXT", "QLLI", 0, 0, nullptr},
    {27, "GenBank Files", ".gb", "*.gb;*.gbk", 0, nullptr, nullptr, 0, "GenBank file", "TEXT", "QLLI", 0, 20, nullptr},
    {28, "FASTA Files", ".txt", nullptr, 0, nullptr, nullptr, 0, "FASTA file", "TEXT", "QLLI", 0, 0, nullptr},
    {30, "SWISS-PROT Files", ".txt", nullptr, 0, nullptr, nullptr, 0, "SWISS-PROT file", "TEXT", "QLLI", 0, 0, nullptr},
    {31, "GenPept Files", ".gp", "*.gp;*.gbk", 0, nullptr, nullptr, 0, "GenPept file", "TEXT", "QLLI", 0, 239, nullptr},
    {32, "Protein FASTA Files", ".txt", nullptr, 0, nullptr, nullptr, 0, "Protein FASTA file", "TEXT", "QLLI", 0, 0, nullptr},
    {34, "REBASE Files", ".txt", nullptr, 0, nullptr, nullptr, 0, "REBASE file", "TEXT", "QLLp", 0, 0, nullptr},
    {35, "PROSITE Files", ".dat", nullptr, 0, nullptr, nullptr, 0, "PROSITE file", "TEXT", "QLLp", 0, 0, nullptr},
    {29, "Nucleotide Sequence Files", ".txt", nullptr, 0, nullptr, nullptr, 0, "Nucleotide Sequence file (ASCII)", "TEXT", "QLLI", 0, 0, nullptr},
    {33, "Amino Acid Sequence Files", ".txt", nullptr, 0, nullptr, nullptr, 0, "Amino Acid Sequence file (ASCII)", "TEXT", "QLLI", 0, 0, nullptr},
    {39, "3.x Molecule Viewers", ".mv", nullptr, 1, "QLLIMolViewer", "Quillion 3.x Molecule Viewer", -3, nullptr, "QLLm", "QLLI", 1, 0, nullptr},
    {40, "3.x Gel Viewers", ".gv", nullptr, 1, "QLLIGelViewer", "Quillion 3.x Gel Viewer", -4, nullptr, "QLLg", "QLLI", 1, 0, nullptr},
    {20, "DNA/RNA Archives", ".ma4", "*.ma4;*.mar", 1, "QLLIMolArc", "Quillion DNA/RNA Molecule Archive", -16, "QLLI DNA/RNA archive", "QLma", "QLLI", 1, 0, nullptr},
    {58, "Protein Archives", ".pa4", "*.pa4;*.par", 1, "QLLIProArc", "Quillion Protein Archive", -311, "QLLI Protein archive", "QLpa", "QLLI", 1, 0, nullptr},
    {21, "Enzyme Archives", ".ea4", "*.ea4;*.ear", 1, "QLLIEnzArc", "Quillion Enzyme Archive", -17, "QLLI Enzyme archive", "QLea", "QLLI", 1, 0, nullptr},
    {22, "UFD Archives", ".ua4", "*.ua4;*.uar", 1, "QLLIUFDArc", "Quillion UFD Archive", -23, "QLLI UFD archive", "QLua", "QLLI", 1, 0, nullptr},
    {23, "Oligo Archives", ".oa4", "*.oa4;*.oar", 1, "QLLIOliArc", "Quillion Oligo Archive", -18, "QLLI Oligo archive", "QLoa", "QLLI", 1, 0, nullptr},
    {59, "Protein Motif Archives", ".ta4", "*.ta4;*.tar", 1, "QLLIPMArc", "Quillion Protein Motif Archive", 0, "QLLI Protein Motif archive", "QLta", "QLLI", 1, 0, nullptr},
    {25, "Gel Marker Archives", ".ga4", "*.ga4;*.gar", 1, "QLLIGMArc", "Quillion Gel Marker Archive", -19, "QLLI Gel Marker archive", "QLga", "QLLI", 1, 0, nullptr},
    {36, "Log Files", ".log", nullptr, 0, nullptr, nullptr, 0, nullptr, "TEXT", "ttxt", 0, 3002, nullptr},
    {37, "Text Files", ".txt", nullptr, 0, nullptr, nullptr, 0, nullptr, "TEXT", "QLLp", 0, 0, nullptr},
    {38, "Style Files", ".vss", nullptr, 1, nullptr, nullptr, 0, nullptr, "QLLs", "QLLp", 1, 3003, nullptr},
    {44, "Picture Files", ".wmf", nullptr, 0, nullptr, nullptr, 0, nullptr, "PICT", "ttxt", 0, 0, nullptr},
    {45, "Rich Text Files", ".rtf", nullptr, 0, nullptr, nullptr, 0, nullptr, "TEXT", "ttxt", 0, 0, nullptr},
    {46, "Text Files", ".txt", nullptr, 0, nullptr, nullptr, 0, nullptr, "TEXT", "ttxt", 0, 0, nullptr},
    {47, "DNA/RNA Molecule List Files", ".mls", nullptr, 1, nullptr, nullptr, 0, nullptr, "TEXT", "QLLp", 1, 3002, nullptr},
    {48, "Protein List Files", ".pls", nullptr, 1, nullptr, nullptr, 0, nullptr, "TEXT", "QLLp", 1, 3002, nullptr},
    {49, "Oligo List Files", ".ols", nullptr, 1, nullptr, nullptr, 0, nullptr, "TEXT", "QLLp", 1, 3002, nullptr},
    {24, "Oligo Files", ".otx", nullptr, 1, nullptr, nullptr, 0, nullptr, "TEXT", "QLLp", 1, 3004, nullptr},
    {50, nullptr, ".fon", nullptr, 0, nullptr, nullptr, 0, nullptr, "FFIL", "QLLp", 0, 0, nullptr},
    {51, nullptr, ".ini", nullptr, 0, nullptr, nullptr, 0, nullptr, "pref", "QLLp", 0, 3000, nullptr},
    {52, "Programs", ".exe", nullptr, 1, nullptr, nullptr, 0, nullptr, "APPL", "APPL", 1, 0, nullptr},
    {53, "Scripts", ".ss", nullptr, 1, nullptr, nullptr, 0, nullptr, "TEXT", "TuvM", 0, 0, nullptr},
    {54, "DNA/RNA Molecule Shortcuts", ".mq", nullptr, 1, "QLLIMolLink", "Quillion DNA/RNA Molecule Shortcut", -22, nullptr, "QLmq", "QLLI", 1, 0, "-NoSplash"},
    {55, "Protein Shortcuts", ".pq", nullptr, 1, "QLLIProLink", "Quillion Protein Shortcut", -310, nullptr, "QLpq", "QLLI", 1, 0, "-NoSplash"},
    {60, "DNA/RNA Setup Files", ".ms5", nullptr, 1, "QLLIMolSetup", "Quillion DNA/RNA Style", -1312, nullptr, "QLms", "QLLp", 1, 0, nullptr},
    {61, "Protein Setup Files", ".ps5", nullptr, 1, "QLLIProSetup", "Quillion Protein Setup", -1313, nullptr, "QLps", "QLLp", 1, 0, nullptr},
    {62, "General Report", ".rp", nullptr, 1, "QLLIReport", "Quillion Report Template", -348, nullptr, "QLps", "QLLp", 1, 0, nullptr},
    {65, "EkMol Files", ".ekm", "*.ekm", 1, "EkMol file", "EkMol file", 0, "EkMol file", "TEXT", "QLLI", 1, 20, nullptr},
    {66, "General Report", ".rgl", nullptr, 1, "QLLI Report", "QLLI General Repor", -348, nullptr, "RGL", "QLLI", 1, 0, nullptr},
    {67, "Report Parent Descendants", ".rpd", nullptr, 1, "QLLI Report", "QLLI Report Parent Descendants", -348, nullptr, "RPD", "QLLI", 1, 0, nullptr},
    {68, "PCR Analysis Settings Files", ".pcr", nullptr, 1, nullptr, nullptr, -1312, nullptr, "PCR", "QLLI", 1, 0, nullptr},
    {69, "Multiplex PCR Analysis List", ".mpcrList", nullptr, 1, nullptr, nullptr, -1312, nullptr, "MPCR", "QLLI", 1, 0, nullptr},
    {691, "Multiplex PCR Analysis Settings", ".mpcr", nullptr, 1, nullptr, nullptr, -1312, nullptr, "MPCR", "QLLI", 1, 0, nullptr},
    {692, "Multiplex Lockway PCR Analysis Settings", ".mpcrLWC", nullptr, 1, nullptr, nullptr, -1312, nullptr, "MPCR", "QLLI", 1, 0, nullptr},
    {693, "Multiplex RIVO PCR Analysis Settings", ".mpcrRIVO", nullptr, 1, nullptr, nullptr, -1312, nullptr, "MPCR", "QLLI", 1, 0, nullptr},
    {70, "Long PCR Analysis List", ".lpcr", nullptr, 1, nullptr, nullptr, -1312, nullptr, "LPCR", "QLLI", 1, 0, nullptr},
    {71, "Alignment PCR Analysis List", ".apcr", nullptr, 1, nullptr, nullptr, -1312, nullptr, "APCR", "QLLI", 1, 0, nullptr},
    {72, "General Feature Format", ".gff", nullptr, 1, "QLLIGeneralFeatureFormat", "Quillion General Feature Format", -3006, nullptr, "GFF", "QLLI", 1, 0, nullptr},
    {73, "Joint Photographic Experts Group", ".jpg", nullptr, 0, nullptr, nullptr, 0, nullptr, "PICT", "ttxt", 0, 0, nullptr},
    {74, "Oligo PCR Analysis Settings", ".opcr", nullptr, 1, nullptr, nullptr, -1312, nullptr, "OPCR", "QLLI", 1, 0, nullptr},
    {76, "XR reaction PCR Settings Files", ".xrr_pcr", nullptr, 1, nullptr, nullptr, -1312, nullptr, "XRR_PCR", "QLLI", 1, 0, nullptr},
    {77, "RIVO PCR Settings Files", ".rivo_pcr", nullptr, 1, nullptr, nullptr, -1312, nullptr, "RIVO_PCR", "QLLI", 1, 0, nullptr},
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
