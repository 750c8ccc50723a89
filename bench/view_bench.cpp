// zel view's document engine on a large file: how soon Open returns, how long the last 50
// lines take before the counting ends, the counting beside `wc -l`, and the peak resident
// memory of this small driver. The file is a one-record FASTA (a header, then lines of 60
// bases) generated in the temporary folder and removed afterwards.
// Usage: view_bench [ZEL_BINARY] [MEGABYTES]   (1024 by default)
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

#include "cli/view/doc/Document.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// Written a megabyte at a time, so the driver's own memory stays small.
std::string MakeFasta(uint64_t bytes) {
  const std::string path = (std::filesystem::temp_directory_path() / "zel-view-bench.fa").string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << ">chr1 one record of generated bases\n";
  static const char bases[] = "ACGT";
  uint32_t state = 12345;
  std::string piece;
  for (uint64_t written = 0; written < bytes; written += piece.size()) {
    piece.clear();
    while (piece.size() < (1 << 20)) {
      for (int i = 0; i < 60; ++i) {
        state = state * 1664525u + 1013904223u;
        piece += bases[state >> 30];
      }
      piece += '\n';
    }
    out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
  }
  return path;
}

double Shell(const std::string& command, long long& value) {
  const auto t0 = Clock::now();
  FILE* p = popen(command.c_str(), "r");
  value = -1;
  if (p) {
    if (std::fscanf(p, "%lld", &value) != 1) value = -1;
    pclose(p);
  }
  return Ms(t0);
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t megabytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1024;
  const std::string path = MakeFasta(megabytes << 20);
  long long bytes, wcLines;
  Shell("cat '" + path + "' | wc -c", bytes);  // into the page cache
  double wcMs = 1e9;
  for (int i = 0; i < 3; ++i) wcMs = std::min(wcMs, Shell("wc -l < '" + path + "'", wcLines));

  std::atomic<int> changes{0};
  std::mutex mutex;
  std::condition_variable changed;
  std::string error;
  auto t0 = Clock::now();
  auto document = zel_view::Document::Open(
      path,
      [&] {
        {
          std::lock_guard lock(mutex);
          ++changes;
        }
        changed.notify_all();
      },
      &error);
  const double openMs = Ms(t0);
  if (!document) {
    std::fprintf(stderr, "view_bench: %s\n", error.c_str());
    return 1;
  }
  auto t1 = Clock::now();
  const auto last = document->LinesBefore(document->ContentEnd(), 50);
  const double lastMs = Ms(t1);
  const bool countingThen = document->State().counting;
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return !document->State().counting; });
  }
  const double countMs = Ms(t0);
  const zel_view::DocumentState state = document->State();
  auto t2 = Clock::now();
  const auto lineStart = document->LineStart(state.lines - 1);
  const double jumpMs = Ms(t2);
  document.reset();

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("zel view's document engine on a one-record FASTA of %lld bytes\n", bytes);
  std::printf("%-44s %10.2f ms\n", "Open returns", openMs);
  std::printf("%-44s %10.2f ms (%zu lines, counting %s)\n", "LinesBefore(end, 50)", lastMs,
              last.size(), countingThen ? "still running" : "already done");
  std::printf("%-44s %10.2f ms (%lld lines; format %s, %s)\n", "counting done", countMs,
              static_cast<long long>(state.lines), state.format.c_str(), state.kind.c_str());
  std::printf("%-44s %10.2f ms (%lld lines) ratio %.2fx\n", "wc -l", wcMs, wcLines, countMs / wcMs);
  std::printf("%-44s %10.2f ms (%s)\n", "LineStart(last line) once counted", jumpMs,
              lineStart ? "found" : "missing");
  std::printf("%-44s %10ld MB\n", "peak resident memory of this driver", usage.ru_maxrss / 1024);
  std::printf("%-44s %10d\n", "change notices", changes.load());
  std::filesystem::remove(path);
  return state.lines == wcLines ? 0 : 1;
}
