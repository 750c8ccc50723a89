// The layers hold: no source includes a header of a layer above its own, no two folders
// include each other (however indirectly), only the Qt backend includes Qt, and system
// headers stay in the platform's floors.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom to top, as the build declares them: the platform's three floors, then the
// library's layers. The Qt backend stands beside the core, on the floors alone; the
// command sits on top of everything.
const std::vector<std::string> kLayers = {"platform/base",
                                          "platform/os",
                                          "platform/user",
                                          "files",
                                          "serialization",
                                          "collections",
                                          "layout",
                                          "richtext",
                                          "ui",
                                          "tools",
                                          "cli"};
constexpr int kTopFloor = 2;
constexpr int kQtLayer = 100;  // a rank of its own: nothing in the core may reach it

// The layer a repository path belongs to, -1 for none (support code, bench, fuzz).
int LayerOf(const std::string& rel) {
  if (rel.rfind("platform/qt/", 0) == 0) return kQtLayer;
  for (size_t i = 0; i < kLayers.size(); ++i)
    if (rel.rfind(kLayers[i] + "/", 0) == 0) return static_cast<int>(i);
  return -1;
}

bool MayInclude(int from, int to) {
  if (from == kQtLayer) return to <= kTopFloor || to == kQtLayer;
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
// count as part of the layer they test (tests/files/ is in files, tests/platform/ on the
// top floor, tests/qt/ in the Qt backend).
struct Source {
  fs::path path;
  std::string rel;    // as included
  std::string layer;  // path used for the layer: tests/x/... counts as x/...
};

std::vector<Source> Sources(const fs::path& root) {
  std::vector<Source> out;
  auto add = [&](const std::string& dir, const std::string& as) {
    if (!fs::exists(root / dir)) return;
    for (const auto& e : fs::recursive_directory_iterator(root / dir)) {
      const std::string ext = e.path().extension().string();
      if (!e.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".inc")) continue;
      std::string rel = fs::relative(e.path(), root).generic_string();
      out.push_back({e.path(), rel, as + rel.substr(dir.size())});
    }
  };
  for (const auto& layer : kLayers) add(layer, layer);
  add("platform/qt", "platform/qt");
  for (const auto& layer : kLayers)
    if (layer.rfind("platform/", 0) != 0) add("tests/" + layer, layer);
  add("tests/platform", kLayers[kTopFloor]);
  return out;
}

// The folder a file or an include belongs to: its directory, a service's posix/ counting
// as the service.
std::string FolderOf(const std::string& rel) {
  std::string dir = fs::path(rel).parent_path().generic_string();
  if (dir.size() > 6 && dir.compare(dir.size() - 6, 6, "/posix") == 0) dir.resize(dir.size() - 6);
  return dir;
}

// The folders that include each other, however indirectly: each strongly connected
// component of more than one folder (Tarjan's algorithm), as a sorted list.
using FolderGraph = std::map<std::string, std::set<std::string>>;
std::vector<std::vector<std::string>> FolderCycles(const FolderGraph& graph) {
  std::map<std::string, int> index, low;
  std::vector<std::string> stack;
  std::set<std::string> onStack;
  std::vector<std::vector<std::string>> cycles;
  int next = 0;
  std::function<void(const std::string&)> visit = [&](const std::string& v) {
    index[v] = low[v] = next++;
    stack.push_back(v);
    onStack.insert(v);
    if (auto it = graph.find(v); it != graph.end())
      for (const auto& w : it->second) {
        if (!index.count(w)) {
          visit(w);
          low[v] = std::min(low[v], low[w]);
        } else if (onStack.count(w)) {
          low[v] = std::min(low[v], index[w]);
        }
      }
    if (low[v] != index[v]) return;
    std::vector<std::string> component;
    std::string w;
    do {
      w = stack.back();
      stack.pop_back();
      onStack.erase(w);
      component.push_back(w);
    } while (w != v);
    if (component.size() > 1) {
      std::sort(component.begin(), component.end());
      cycles.push_back(component);
    }
  };
  for (const auto& [v, edges] : graph)
    if (!index.count(v)) visit(v);
  return cycles;
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

TEST_F(LayerOrderTest, NoTwoFoldersIncludeEachOther) {
  FolderGraph graph;
  std::map<std::pair<std::string, std::string>, std::string> example;  // edge: file:line
  for (const auto& src : sources) {
    if (src.rel.rfind("tests/", 0) == 0) continue;  // nothing includes a test
    const std::string from = FolderOf(src.rel);
    for (const auto& inc : IncludesOf(src.path, src.rel)) {
      if (!inc.quoted || !fs::exists(root / inc.target)) continue;
      const std::string to = FolderOf(inc.target);
      if (to == from) continue;
      graph[from].insert(to);
      example.emplace(std::pair{from, to}, inc.file + ":" + std::to_string(inc.line));
    }
  }
  EXPECT_GT(graph.size(), 30u);
  std::vector<std::string> report;
  for (const auto& cycle : FolderCycles(graph)) {
    std::string line = "folders in one include cycle:";
    for (const auto& a : cycle)
      for (const auto& b : cycle)
        if (graph[a].count(b)) line += "\n  " + a + " -> " + b + " (" + example[{a, b}] + ")";
    report.push_back(line);
  }
  EXPECT_TRUE(report.empty()) << ::testing::PrintToString(report);
}

// The cycle finder itself: a loop through three folders is one cycle, however it is
// entered; a folder that only hangs off it, or includes itself, is none.
TEST(FolderCyclesTest, FindsEveryLoopAndNothingElse) {
  const FolderGraph graph = {{"a", {"b"}}, {"b", {"c"}}, {"c", {"a", "d"}}, {"d", {"d", "e"}},
                             {"e", {}},    {"x", {"y"}}, {"y", {"x"}}};
  const auto cycles = FolderCycles(graph);
  ASSERT_EQ(cycles.size(), 2u);
  EXPECT_EQ(cycles[0], (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(cycles[1], (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(FolderCycles({{"p", {"q"}}, {"q", {"r"}}}).empty());
}

TEST_F(LayerOrderTest, QtAndSystemHeadersStayInThePlatformFloors) {
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
          (std::regex_match(inc.target, kSystem) && from > kTopFloor && from != kQtLayer))
        violations.push_back(inc.file + ":" + std::to_string(inc.line) + " includes <" +
                             inc.target + ">");
    }
  }
  EXPECT_TRUE(violations.empty()) << ::testing::PrintToString(violations);
}

}  // namespace
