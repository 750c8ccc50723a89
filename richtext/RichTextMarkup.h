/// \file
/// Rich text line markup: the settings that change how markup reads (CD selector,
/// character strings, colours of the text colour words) and the status codes of a line.
///
/// A line is text with backslash control words ("\b", "\cf2", "\fs24", "\sub", "\tab",
/// ...) and brace groups; RichTextLine.h measures and draws it. Markup errors never stop a
/// line: the line operation answers the code of the latest problem.
#pragma once
#include "ZelExport.h"

/// Status of a line operation.
constexpr int RTF_OK = 0;
constexpr int RTF_TOO_MANY_GROUPS = 1;  // also: drawing more runs than were measured
constexpr int RTF_BACKSLASH_AT_END = 2;
constexpr int RTF_UNKNOWN_WORD = 3;
constexpr int RTF_UNMATCHED_CLOSE = 4;
constexpr int RTF_OPEN_GROUPS = 5;
constexpr int RTF_TOO_MANY_RUNS = 6;

/// The CD selector the words "\*0" to "\*7" compare with; answers the previous one.
ZEL_API int SetRTFLineCDSelector(int selector);

/// Stores markup for slot 0 to 15 (words "\ch0" to "\ch7", 8 "\chbul", 9 "\chcdbox");
/// the pointer is kept, not the text, so the caller keeps the text alive. Answers the
/// previous pointer; a slot outside 0 to 15 changes nothing and answers null.
ZEL_API const char* SetRTFLineChString(int slot, const char* markup);

/// Makes word "cfN" (N from 1 to 16) stand for color in all later lines; answers the
/// previous colour, or 0 (changing nothing) for an N outside 1 to 16.
ZEL_API unsigned long SetRTFForegroundColor(int n, unsigned long color);

/// Accepts every text: empties the message buffer and answers 0.
ZEL_API int CheckRTFLineSyntax(const char* text, int* position, char* message, int size);
