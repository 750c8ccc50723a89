// Line reading throughput: the text file's ReadString and ReadLine, `zel lines`, beside
// std::getline and `wc -l` on the same generated 256 MiB file with mixed line ends.
// Usage: lines_bench [ZEL_BINARY] [MEGABYTES]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "files/ZelTextFile.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string MakeFile(size_t bytes) {
  std::string path = (std::filesystem::temp_directory_path() / "zel-lines-bench.txt").string();
  std::mt19937 rng(12345);
  std::string text;
  text.reserve(bytes + 128);
  static const char* ends[] = {"\r\n", "\n", "\r"};
  while (text.size() < bytes) {
    int len = static_cast<int>(rng() % 91);
    for (int i = 0; i < len; ++i) text += static_cast<char>('A' + rng() % 26);
    text += ends[rng() % 3];
  }
  std::ofstream(path, std::ios::binary)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
  return path;
}

// Best of three runs, in seconds; the count must agree between runs.
double Best(const std::function<long long()>& run, long long& count) {
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    auto t0 = Clock::now();
    count = run();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}

long long Shell(const std::string& command) {
  FILE* p = popen(command.c_str(), "r");
  if (!p) return -1;
  long long n = -1;
  if (std::fscanf(p, "%lld", &n) != 1) n = -1;
  pclose(p);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  std::string zel = argc > 1 ? argv[1] : "";
  size_t megabytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 256;
  std::string path = MakeFile(megabytes << 20);
  double mb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  long long warm;
  Best([&] { return Shell("cat '" + path + "' | wc -c"); }, warm);  // page cache

  struct Row {
    const char* name;
    double seconds;
    long long lines;
  };
  std::vector<Row> rows;
  long long n;
  double t;
  t = Best([&] { return Shell("wc -l < '" + path + "'"); }, n);
  rows.push_back({"wc -l (LF only)", t, n});
  t = Best(
      [&] {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        long long c = 0;
        while (std::getline(in, line)) ++c;
        return c;
      },
      n);
  rows.push_back({"std::getline (LF only)", t, n});
  t = Best(
      [&] {
        CZelTextFile f(CZelFileSpec(path.c_str(), 0));
        if (!f.OpenInput()) return -1LL;
        char buf[1024];
        long long c = 0;
        while (f.ReadString(buf, sizeof buf)) ++c;
        return c;
      },
      n);
  rows.push_back({"CZelTextFile::ReadString", t, n});
  t = Best(
      [&] {
        CZelTextFile f(CZelFileSpec(path.c_str(), 0));
        if (!f.OpenInput()) return -1LL;
        CString s;
        long long c = 0;
        while (f.ReadLine(s, 1024)) ++c;
        return c;
      },
      n);
  rows.push_back({"CZelTextFile::ReadLine", t, n});
  if (!zel.empty()) {
    t = Best([&] { return Shell("'" + zel + "' lines '" + path + "' 2>/dev/null"); }, n);
    rows.push_back({"zel lines", t, n});
  }

  const double wc = rows[0].seconds, getline = rows[1].seconds;
  std::printf("Line reading of %.0f MB (lines of 0-90 characters, CR LF / LF / CR ends)\n", mb);
  std::printf("%-26s %10s %12s %10s %12s\n", "reader", "MB/s", "lines", "vs wc -l", "vs getline");
  for (const Row& r : rows)
    std::printf("%-26s %10.0f %12lld %9.2fx %11.2fx\n", r.name, mb / r.seconds, r.lines,
                wc / r.seconds, getline / r.seconds);
  std::filesystem::remove(path);
  return 0;
}
