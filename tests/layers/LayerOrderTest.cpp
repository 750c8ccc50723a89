// The layers hold: no source includes a header of a layer above its own, only the Qt
// backend includes Qt, and system headers stay in the platform layer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom to top, as the build declares them. The Qt backend stands beside the core, on
// platform alone; the command sits on top of everything.
const std::vector<std::string> kLayers = {"platform",    "files",  "serialization",
                                          "collections", "layout", "richtext",
                                          "ui",          "tools",  "cli"};
constexpr int kQtLayer = 100;  // a rank of its own: nothing in the core may reach it

// The layer a repository path belongs to, -1 for none (support code, bench, fuzz).
int LayerOf(const std::string& rel) {
  if (rel.rfind("platform/qt/", 0) == 0) return kQtLayer;
  for (size_t i = 0; i < kLayers.size(); ++i)
    if (rel.rfind(kLayers[i] + "/", 0) == 0) return static_cast<int>(i);
  return -1;
}

bool MayInclude(int from, int to) {
  if (from == kQtLayer) return to == 0 || to == kQtLayer;
  if (to == kQtLayer) return false;
  return to <= from;
}

struct Include {
  std::string file;
  int line;
  std::string target;
  bool quoted;
};

std::vector<Include> IncludesOf(const fs::path& file, const std::string& rel) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> out;
  std::ifstream in(file);
  std::string text;
  for (int n = 1; std::getline(in, text); ++n) {
    std::smatch m;
    if (std::regex_search(text, m, kInclude)) out.push_back({rel, n, m[2], m[1] == "\""});
  }
  return out;
}

// Every C++ file of the library's layers, with its path from the repository root; tests
// count as part of the layer they test (tests/files/ is in files).
struct Source {
  fs::path path;
  std::string rel;    // as included
  std::string layer;  // path used for the layer: tests/x/... counts as x/...
};

std::vector<Source> Sources(const fs::path& root) {
  std::vector<Source> out;
  auto add = [&](const fs::path& dir, const std::string& strip) {
    if (!fs::exists(dir)) return;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
      const std::string ext = e.path().extension().string();
      if (!e.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".inc")) continue;
      std::string rel = fs::relative(e.path(), root).generic_string();
      out.push_back({e.path(), rel, rel.substr(strip.size())});
    }
  };
  for (const auto& layer : kLayers) add(root / layer, "");
  for (const auto& layer : kLayers) add(root / "tests" / layer, "tests/");
  return out;
}

class LayerOrderTest : public ::testing::Test {
 protected:
  const fs::path root = ZEL_SOURCE_DIR;
  std::vector<Source> sources = Sources(root);
};

TEST_F(LayerOrderTest, NoIncludePointsUpwards) {
  ASSERT_GT(sources.size(), 50u) << "the source tree was not found at " << root;
  std::vector<std::string> violations;
  int crossing = 0;  // includes of a lower layer: proof that the checker saw real edges
  for (const auto& src : sources) {
    const int from = LayerOf(src.layer);
    for (const auto& inc : IncludesOf(src.path, src.rel)) {
      if (!inc.quoted) continue;
      const int to = LayerOf(inc.target);
      crossing += to >= 0 && to < from;
      if (to >= 0 && !MayInclude(from, to))
        violations.push_back(inc.file + ":" + std::to_string(inc.line) + " includes " + inc.target);
    }
  }
  EXPECT_GT(crossing, 100);
  EXPECT_TRUE(violations.empty()) << ::testing::PrintToString(violations);
}

TEST_F(LayerOrderTest, QtAndSystemHeadersStayInThePlatformLayer) {
  static const std::regex kSystem(
      R"(^(unistd|fcntl|pthread|dirent|dlfcn|spawn|poll|signal|termios|sys/.*)\.h$)");
  std::vector<std::string> violations;
  for (const auto& src : sources) {
    if (src.rel.rfind("tests/", 0) == 0) continue;  // tests may drive the system directly
    const int from = LayerOf(src.layer);
    for (const auto& inc : IncludesOf(src.path, src.rel)) {
      if (inc.quoted) continue;
      const bool qt = inc.target.size() > 1 && inc.target[0] == 'Q' &&
                      (std::isupper(static_cast<unsigned char>(inc.target[1])) ||
                       inc.target.find('/') != std::string::npos);
      if ((qt && from != kQtLayer) ||
          (std::regex_match(inc.target, kSystem) && from != 0 && from != kQtLayer))
        violations.push_back(inc.file + ":" + std::to_string(inc.line) + " includes <" +
                             inc.target + ">");
    }
  }
  EXPECT_TRUE(violations.empty()) << ::testing::PrintToString(violations);
}

}  // namespace
