// The input types a document viewer can serve: the ones that take no data, any document,
// or a single molecule or sequence in the format the document already has. Lists of
// molecules, selections and the suite's own application data need a sequence editor.
#include "cli/view/ToolInput.h"

#include "files/FileTypeIds.h"
#include "files/FileTypesTable.h"

namespace zel_cli {
namespace {

// The format a one-molecule or one-sequence handler hands over.
enum class Format { None, GenBank, Embl, Fasta };
// Which kind of molecule it wants: fixed, or the document's own.
enum class Kind { Nucleic, Protein, Own };

struct Need {
  Format format = Format::None;
  Kind kind = Kind::Own;
  const char* other = nullptr;  // what a type this viewer cannot serve wants
};

Need NeedOf(int type) {
  switch (type) {
    case 1:
    case 2:
    case 8:
    case 17:
      return {Format::Fasta, Kind::Nucleic};
    case 4:
    case 5:
    case 9:
      return {Format::GenBank, Kind::Nucleic};
    case 13:
      return {Format::Embl, Kind::Nucleic};
    case 21:
    case 30:
      return {Format::Fasta, Kind::Protein};
    case 22:
      return {Format::GenBank, Kind::Protein};
    case 26:
      return {Format::Embl, Kind::Protein};
    case 34:
    case 35:
      return {Format::Fasta, Kind::Own};
    case 39:
      return {Format::GenBank, Kind::Own};
    case 43:
      return {Format::Embl, Kind::Own};
    case 47:
      return {Format::None, Kind::Own, "a sequence view of the suite"};
    case 48:
    case 49:
      return {Format::None, Kind::Own, "molecules of the suite's database"};
    case 50:
      return {Format::None, Kind::Own, "a database list of the suite"};
    default:
      break;
  }
  if (type >= 3 && type <= 46) {
    // The n* handlers: several molecules, in a format of their own.
    const bool genbank =
        (type >= 10 && type <= 12) || (type >= 23 && type <= 25) || (type >= 40 && type <= 42);
    const bool embl =
        (type >= 14 && type <= 16) || (type >= 27 && type <= 29) || (type >= 44 && type <= 46);
    return {Format::None, Kind::Own,
            genbank ? "several molecules in GenBank format"
            : embl  ? "several molecules in EMBL format"
                    : "several sequences in FASTA format"};
  }
  return {Format::None, Kind::Own, "an input type this program does not know"};
}

int FileTypeOf(Format format, bool protein) {
  switch (format) {
    case Format::GenBank:
      return protein ? kGenPept : kGenBank;
    case Format::Embl:
      return protein ? kSwissProt : kEmbl;
    case Format::Fasta:
      return protein ? kProteinFasta : kFasta;
    case Format::None:
      break;
  }
  return 0;
}

std::string FormatName(int fileType) {
  const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(fileType);
  return row && row->formatName ? row->formatName : "file";
}

}  // namespace

ToolInput ToolInputFor(int type, const std::optional<DocumentFacts>& doc) {
  if (type == 0 || type == 7) return {true, false, {}};
  if (!doc) return {false, false, "Open a document to run this tool on"};
  if (type == 6) return {true, true, {}};
  const Need need = NeedOf(type);
  if (need.format == Format::None)
    return {false, false, std::string("This tool needs ") + need.other};
  const bool protein = need.kind == Kind::Own ? doc->protein : need.kind == Kind::Protein;
  const int wanted = FileTypeOf(need.format, protein);
  if (doc->fileType == wanted) return {true, true, {}};
  std::string prompt = "This tool needs a " + FormatName(wanted) + "; " + doc->name + " is ";
  prompt += doc->fileType ? "a " + FormatName(doc->fileType) : "no sequence file it knows";
  return {false, false, prompt};
}

}  // namespace zel_cli
