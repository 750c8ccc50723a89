/// \file
/// Recognising sequence file formats (GenBank, EMBL, FASTA and their protein forms, the
/// suite's archives) from a file's contents, and the checks of database identifiers and
/// string values. Detection never throws and never asks the user anything.
#pragma once

#include <string_view>

#include "ZelExport.h"
#include "files/EkStream.h"
#include "files/ZelFileSpec.h"
#include "platform/base/collections/Collections.h"
#include "platform/base/compress/Contents.h"
#include "platform/user/framework/Wnd.h"

/// The format TryToGuessFtype finds.
enum : int {
  ZEL_GUESS_UNKNOWN = 0,
  ZEL_GUESS_GENBANK = 1,  ///< LOCUS lines
  ZEL_GUESS_EMBL = 2,     ///< "ID   " lines
  ZEL_GUESS_FASTA = 3,    ///< ">" headers
  ZEL_GUESS_ARCHIVE = 6,  ///< the suite's archive markers
};
/// The kind of sequence it finds.
enum : int { ZEL_SEQ_UNKNOWN = 0, ZEL_SEQ_NUCLEIC = 1, ZEL_SEQ_PROTEIN = 2 };

/// The file type id of an existing file from its contents: 27 GenBank, 26 EMBL, 28 FASTA,
/// 20 DNA/RNA archive, or for protein content 31, 30, 32, 58; 0 when undecided or when the
/// file cannot be read.
ZEL_API int GuessFtypeUsingSmartAssGuessing(const CZelFileSpec& spec);

/// Reads from the stream's position and sets the format, the sequence kind and whether an
/// archive marker was seen (each first 0). Read failures end the search with what was found.
ZEL_API void TryToGuessFtype(CEkStream* stream, int* seqType, int* format, int* archive);

/// The sequence kind (0, 1 nucleic, 2 protein) of the sequence lines that follow, up to a
/// line holding one of stopMarkers or the end of the stream.
ZEL_API int TryToDefSeqObjType(CEkStream* stream, CStringList& stopMarkers);

/// Whether a word of a LOCUS / ID line names the kind: for 1, "RNA" or "DNA" inside it or
/// the word circular or bp; for 2, the word aa or prt (case ignored for the whole words).
ZEL_API int LocusLooksLike(int seqType, const char* word);
/// Whether a lower-case word reads as nucleotides: bases, few ambiguity letters, no letter
/// found only in proteins.
ZEL_API int IsNuclSeq(char* word);
/// Whether every character of a lower-case word is an amino-acid letter, x or "*".
ZEL_API int IsProtSeq(const char* word);

/// What a path's name says of its type, as GuessExistingFileSpecGivenPath takes it: the type
/// when the name decides (0 for no extension, or one of four or more letters such as
/// .fasta, where the contents are not looked at), -1 when it leaves the type to the
/// contents (a short extension no row recognises, and no database name in the path). A
/// trailing .gz or .bgz is left out first: x.gb.gz is named as x.gb.
ZEL_API int ZelFtypeFromName(const char* path);
/// The path without a trailing .gz or .bgz (letter case ignored).
ZEL_API std::string_view ZelNameWithoutCompression(std::string_view path);

/// Opens the file at path on stream for detection, decompressed when it is gzip or BGZF
/// (wholeWhenSmall: into one buffer when it fits, else in a stream). Null, with the stream
/// left closed, for a file of a compressor that is not read (bzip2, xz, zstd); else the
/// file object the stream reads, to be asked about compression and damage while the
/// stream is open. Throws CFileException when the file cannot be opened or read.
ZEL_API const CContentsFile* ZelOpenContents(const char* path, CEkStream& stream,
                                             bool wholeWhenSmall);

/// The file type id for a format and sequence kind found by TryToGuessFtype (0 for none).
ZEL_API int ZelFtypeFromGuess(int format, int seqType);

/// Identifier and value checks; a rejected text is explained in a message box owned by
/// parent, and the answer is 0.
///@{
ZEL_API int IsValidDbID(const CString& id, CWnd* parent);
ZEL_API int IsValidDbValue(const CString& value, CWnd* parent);
///@}
