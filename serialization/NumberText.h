/// \file
/// Number texts that keep what a node holds. A whole-number token is read into a 32-bit
/// long, a 32-bit unsigned and a double at once, and the writer prints only one of them:
/// `1e+06` reads as 1 and 1000000.0 but prints as 1. A reformatter that must not change
/// a file's meaning prints such a node in a form that reads back to all three.
#pragma once

#include <string>
#include <string_view>

#include "ZelExport.h"

class CSynNum;

namespace zel_sxf {

/// Whether token, read as the reader reads a number, gives n's long, unsigned and double
/// values (the double compared bit for bit, so -0 stays -0).
ZEL_API bool ReadsBackAs(std::string_view token, const CSynNum& n);

/// The text of a whole-number node that reads back to its three values: the writer's
/// print when that does (by the node's flags, else of its double: `1e+06`), else the
/// shortest token of a sign, digits and a decimal exponent that does (`25e2`,
/// `2147483648`).
ZEL_API std::string WholeNumberText(const CSynNum& n);

/// The writer's print of a double: six significant digits.
ZEL_API std::string DoubleWriterText(double d);

/// The shortest text that reads back to exactly the double d, for people.
ZEL_API std::string ShortestDoubleText(double d);

}  // namespace zel_sxf
