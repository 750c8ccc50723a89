// The settings of zel view, in zel's own store (the application object's profile).
#include "cli/view/ViewSettings.h"

#include <algorithm>
#include <charconv>

#include "platform/user/app/WinApp.h"

namespace zel_cli {
namespace {

constexpr const char* kRecentSection = "Recent File List";
constexpr const char* kViewSection = "View";

// Entries PREFIX1, PREFIX2, ... up to the first missing or empty one (at most limit).
std::vector<std::string> LoadNumbered(const char* section, const char* prefix, size_t limit) {
  std::vector<std::string> values;
  CWinApp* app = AfxGetApp();
  for (size_t i = 1; app && i <= limit; ++i) {
    const std::string entry = prefix + std::to_string(i);
    CString value = app->GetProfileString(section, entry.c_str(), "");
    if (value.IsEmpty()) break;
    values.emplace_back(value.GetString());
  }
  return values;
}

// Writes the values as PREFIX1... and removes the numbers after them that an earlier,
// longer list left (up to limit).
void SaveNumbered(const char* section, const char* prefix, const std::vector<std::string>& values,
                  size_t limit) {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  for (size_t i = 1; i <= std::max(limit, values.size()); ++i) {
    const std::string entry = prefix + std::to_string(i);
    if (i <= values.size()) {
      app->WriteProfileString(section, entry.c_str(), values[i - 1].c_str());
    } else {
      CString old = app->GetProfileString(section, entry.c_str(), "");
      if (old.IsEmpty()) break;
      app->WriteProfileString(section, entry.c_str(), nullptr);
    }
  }
}

// Far more documents than anyone keeps open; the reading stops at the first gap anyway.
constexpr size_t kMaxDocuments = 256;

}  // namespace

std::vector<std::string> WithRecent(std::vector<std::string> list, const std::string& path) {
  list.erase(std::remove(list.begin(), list.end(), path), list.end());
  list.insert(list.begin(), path);
  if (list.size() > kMaxRecentFiles) list.resize(kMaxRecentFiles);
  return list;
}

std::vector<std::string> LoadRecentFiles() {
  return LoadNumbered(kRecentSection, "File", kMaxRecentFiles);
}

void SaveRecentFiles(const std::vector<std::string>& list) {
  SaveNumbered(kRecentSection, "File", list, kMaxRecentFiles);
}

std::string FormatPlacement(const Placement& p) {
  return std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.width) + "," +
         std::to_string(p.height) + "," + std::to_string(p.state);
}

std::optional<Placement> ParsePlacement(const std::string& text) {
  int values[5];
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (int i = 0; i < 5; ++i) {
    auto [next, error] = std::from_chars(at, end, values[i]);
    if (error != std::errc() || next == at) return std::nullopt;
    at = next;
    if (i < 4) {
      if (at == end || *at != ',') return std::nullopt;
      ++at;
    }
  }
  if (at != end) return std::nullopt;
  Placement p{values[0], values[1], values[2], values[3], values[4]};
  if (p.width < 1 || p.height < 1 || p.state < 1 || p.state > 3) return std::nullopt;
  return p;
}

std::optional<Placement> LoadPlacement() {
  CWinApp* app = AfxGetApp();
  if (!app) return std::nullopt;
  return ParsePlacement(app->GetProfileString(kViewSection, "Placement", "").GetString());
}

void SavePlacement(const Placement& p) {
  if (CWinApp* app = AfxGetApp())
    app->WriteProfileString(kViewSection, "Placement", FormatPlacement(p).c_str());
}

std::vector<std::string> LoadOpenDocuments() {
  return LoadNumbered(kViewSection, "Document", kMaxDocuments);
}

void SaveOpenDocuments(const std::vector<std::string>& paths) {
  SaveNumbered(kViewSection, "Document", paths, kMaxDocuments);
}

}  // namespace zel_cli
