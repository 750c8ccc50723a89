/// \file
/// Numbered-field records: "number|value" lines written through a text file, and the
/// readers of the comment block such records carry (field 248 holds one comment line;
/// a field 50 line ends the block).
#pragma once

#include "ZelExport.h"
#include "files/EkStream.h"
#include "files/ZelTextFile.h"
#include "platform/base/collections/Collections.h"

/// The field that holds one comment line, and the one that ends a comment block.
inline constexpr int ZEL_COMMENT_FIELD = 248;
inline constexpr int ZEL_COMMENT_END_FIELD = 50;

/// Each writes at the file's position; lines end in CR LF on disk. A long value keeps the
/// record's 32-bit meaning.
///@{
ZEL_API void WriteLongField(int field, long value, CZelTextFile& file);
ZEL_API void WriteIntField(int field, int value, CZelTextFile& file);
///@}
/// Nothing when text is empty and writeEmpty is 0.
ZEL_API void WriteStringField(int field, CString text, CZelTextFile& file, int writeEmpty);
/// The number alone.
ZEL_API void WriteSeparator(int field, CZelTextFile& file);
/// "number|a|b|..." with empty elements left out; a line that reaches 1200 characters is
/// continued on a new line that starts with the number again. An empty list writes nothing.
ZEL_API void WriteStrList(int field, CStringList* list, CZelTextFile& file);
/// One field 248 line per comment, empty comments too.
ZEL_API void WriteCommentData(CZelTextFile& file, CStringList* comments);

/// Appends the comments of the lines read up to and including a field 50 line (or the end)
/// to comments; *counter grows by one for every line read.
ZEL_API void ReadCommentData(CEkStream* stream, CStringList* comments, int* counter);
/// The same from a text file, read 1499 characters at most at a time.
ZEL_API void ReadCommentData(CZelTextFile& file, CStringList* comments);
