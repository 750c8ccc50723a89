// What zel view remembers in zel's own settings store: the recent files (section
// "Recent File List", File1 the newest, at most eight), and the frame's placement and the
// documents open at exit (section "View", "Placement" as x,y,w,h,state and Document1...).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zel_cli {

constexpr size_t kMaxRecentFiles = 8;

// list with path put first, an older mention of it dropped, cut to kMaxRecentFiles.
std::vector<std::string> WithRecent(std::vector<std::string> list, const std::string& path);
std::vector<std::string> LoadRecentFiles();
void SaveRecentFiles(const std::vector<std::string>& list);

// The frame's place when it is not minimized or maximized, and its show state (the
// platform's show command: 1 normal, 2 minimized, 3 maximized).
struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
  int state = 1;
};
std::string FormatPlacement(const Placement& p);
// Null for text that is no placement (five integers, a size of at least 1 by 1, a known
// state).
std::optional<Placement> ParsePlacement(const std::string& text);
std::optional<Placement> LoadPlacement();
void SavePlacement(const Placement& p);

std::vector<std::string> LoadOpenDocuments();
// Replaces every Document entry: the ones of an earlier run that had more are removed.
void SaveOpenDocuments(const std::vector<std::string>& paths);

}  // namespace zel_cli
