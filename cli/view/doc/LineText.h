// One line's bytes as the view draws them (Document.h says how).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zel_view {

// The text of a line whose first bytes are bytes, with more bytes of it not given (0: the
// line is whole). A line with more bytes is cut: its text ends with the marker, and cut
// is set.
std::string ShowLine(std::string_view bytes, uint64_t more, bool* cut);

}  // namespace zel_view
