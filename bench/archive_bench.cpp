// Storing and loading 1,000,000 records through CZelArchive (structured text) beside
// cereal's JSON archive on the same records, in the same run. Each measurement runs in a
// child process of its own, so that its peak memory (ru_maxrss) is its own and every
// page it touches is fresh. Prints time, MB/s, file size and peak memory, and the ratios.
//
// Usage: archive_bench [records]   (default 1000000)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cereal/archives/json.hpp>
#include <cereal/types/memory.hpp>
#include <cereal/types/string.hpp>
#include <cereal/types/vector.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "files/ZelTextFile.h"
#include "serialization/ZelArchive.h"

namespace {

constexpr int kMarkers = 1000;

// ---- the records, as the library's classes ----

class CBenchMarker : public CObject {
  DECLARE_DYNCREATE(CBenchMarker)
 public:
  int number = 0;
  CString label;
  void Serialize(CZelArchive& ar) { ar(number)(label); }
  static void _zel_serialize(CBenchMarker* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;
};

class CBenchRecord : public CObject {
  DECLARE_DYNCREATE(CBenchRecord)
 public:
  CString name;
  int value = 0;
  double weight = 0;
  CObject* marker = nullptr;
  void Serialize(CZelArchive& ar) { ar(name)(value)(weight)(marker); }
  static void _zel_serialize(CBenchRecord* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;
};

IMPLEMENT_DYNCREATE(CBenchMarker, CObject)
IMPLEMENT_DYNCREATE(CBenchRecord, CObject)
ZEL_IMPLEMENT_SERIALIZE(CBenchMarker, "Marker")
ZEL_IMPLEMENT_SERIALIZE(CBenchRecord, "Rec")

// ---- the same records for cereal ----

struct Marker {
  int number = 0;
  std::string label;
  template <class A>
  void serialize(A& a) {
    a(number, label);
  }
};

struct Record {
  std::string name;
  int value = 0;
  double weight = 0;
  std::shared_ptr<Marker> marker;
  template <class A>
  void serialize(A& a) {
    a(name, value, weight, marker);
  }
};

// ---- the data: the same seeded values for both ----

struct Source {
  std::vector<std::string> names;
  std::vector<int> values;
  std::vector<double> weights;
  std::vector<int> markerOf;
  std::vector<std::string> markerLabels;
};

Source MakeSource(int n) {
  std::mt19937 rng(20261205);
  Source s;
  const char letters[] = "ACGTacgtNnRYKMSWBDHV-_.";
  for (int m = 0; m < kMarkers; ++m) s.markerLabels.push_back("mk" + std::to_string(m % 97));
  s.names.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    std::string name;
    int len = 10 + static_cast<int>(rng() % 5);
    for (int k = 0; k < len; ++k) name += letters[rng() % (sizeof letters - 1)];
    // Some names need escapes: a tab or a quote.
    if (i % 10 == 3) name[static_cast<size_t>(len / 2)] = '\t';
    if (i % 10 == 7) name[static_cast<size_t>(len / 3)] = '"';
    s.names.push_back(std::move(name));
    s.values.push_back(static_cast<int>(rng() % 2000000) - 1000000);
    s.weights.push_back(static_cast<double>(rng() % 1000000) / 7.0);
    s.markerOf.push_back(static_cast<int>(rng() % kMarkers));
  }
  return s;
}

// ---- the four jobs, each run in a child ----

// Wall and processor time of a job; the machine may be shared, so both are reported.
struct Clock {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  std::clock_t cpu = std::clock();
};
struct Times {
  double wall = 0;
  double cpu = 0;
};
Times Since(const Clock& c) {
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - c.wall).count(),
          static_cast<double>(std::clock() - c.cpu) / CLOCKS_PER_SEC};
}

Times ZelStore(const std::string& path, int n) {
  Source s = MakeSource(n);
  std::vector<CBenchMarker> markers(kMarkers);
  for (int m = 0; m < kMarkers; ++m) {
    markers[static_cast<size_t>(m)].number = m;
    markers[static_cast<size_t>(m)].label = s.markerLabels[static_cast<size_t>(m)].c_str();
  }
  std::vector<CBenchRecord> records(static_cast<size_t>(n));
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].name = s.names[i].c_str();
    records[i].value = s.values[i];
    records[i].weight = s.weights[i];
    records[i].marker = &markers[static_cast<size_t>(s.markerOf[i])];
  }
  Clock t0;
  CZelTextFile file;
  file.SetFileSpec(path.c_str(), 0);
  if (!file.CreateOutput()) std::exit(3);
  {
    CZelArchive ar(&file, CZelArchive::store, nullptr, 75);
    ar.OpenArray("Records");
    for (CBenchRecord& r : records) ar.WriteObject(&r, 0);
    ar.CloseArray();
    ar.Close();
  }
  file.Close();
  return Since(t0);
}

Times ZelLoad(const std::string& path, int n) {
  Clock t0;
  std::vector<CObject*> records;
  records.reserve(static_cast<size_t>(n));
  CZelTextFile file;
  file.SetFileSpec(path.c_str(), 0);
  if (!file.OpenInput()) std::exit(3);
  {
    CZelArchive ar(&file, CZelArchive::load, nullptr, 75);
    ar.OpenArray("Records");
    while (!ar.AtEnd()) records.push_back(ar.ReadObject(RUNTIME_CLASS(CBenchRecord)));
    ar.CloseArray();
    ar.Close();
  }
  file.Close();
  Times t = Since(t0);
  if (static_cast<int>(records.size()) != n) std::exit(4);
  return t;
}

Times CerealStore(const std::string& path, int n) {
  Source s = MakeSource(n);
  std::vector<std::shared_ptr<Marker>> markers;
  for (int m = 0; m < kMarkers; ++m)
    markers.push_back(std::make_shared<Marker>(Marker{m, s.markerLabels[static_cast<size_t>(m)]}));
  std::vector<Record> records(static_cast<size_t>(n));
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].name = s.names[i];
    records[i].value = s.values[i];
    records[i].weight = s.weights[i];
    records[i].marker = markers[static_cast<size_t>(s.markerOf[i])];
  }
  Clock t0;
  {
    std::ofstream os(path, std::ios::binary);
    cereal::JSONOutputArchive ar(os);
    ar(records);
  }
  return Since(t0);
}

Times CerealLoad(const std::string& path, int n) {
  Clock t0;
  std::vector<Record> records;
  {
    std::ifstream is(path, std::ios::binary);
    cereal::JSONInputArchive ar(is);
    ar(records);
  }
  Times t = Since(t0);
  if (static_cast<int>(records.size()) != n) std::exit(4);
  return t;
}

struct Measure {
  Times t;
  double peakMiB = 0;
};

// Runs job in a child; its time comes back through a pipe, its peak memory from wait4.
Measure InChild(const std::function<Times()>& job) {
  int fds[2];
  if (pipe(fds) != 0) std::exit(2);
  std::fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    Times t = job();
    if (write(fds[1], &t, sizeof t) != sizeof t) _exit(5);
    _exit(0);
  }
  close(fds[1]);
  Measure m;
  if (read(fds[0], &m.t, sizeof m.t) != sizeof m.t) m.t = {-1, -1};
  close(fds[0]);
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "archive_bench: a measurement failed (status %d)\n", status);
    std::exit(1);
  }
  m.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  if (n <= 0) n = 1000000;
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("zel-archive-bench-" + std::to_string(getpid()));
  if (argc > 2) dir = fs::temp_directory_path() / "zel-archive-bench-profile";
  fs::create_directories(dir);
  const std::string zelPath = (dir / "records.sxf").string();
  const std::string cerealPath = (dir / "records.json").string();

  // "archive_bench N store|load" runs one job of ours in this process, for profilers.
  if (argc > 2) {
    std::string job = argv[2];
    Times t = job == "store" ? ZelStore(zelPath, n) : ZelLoad(zelPath, n);
    std::printf("%s: %.3f s (processor %.3f s)\n", job.c_str(), t.wall, t.cpu);
    return 0;
  }
  // The baseline of a child that does nothing, so that the peaks can be read net of it.
  Measure idle = InChild([] { return Times{}; });
  // Three rounds, interleaved; each figure is the best of its three (the machine may be
  // busy with other work, which only ever adds time).
  Measure zs, cs, zl, cl;
  auto best = [](Measure& into, const Measure& m, bool first) {
    if (first || m.t.wall < into.t.wall) into.t.wall = m.t.wall;
    if (first || m.t.cpu < into.t.cpu) into.t.cpu = m.t.cpu;
    if (first || m.peakMiB < into.peakMiB) into.peakMiB = m.peakMiB;
  };
  for (int round = 0; round < 3; ++round) {
    best(zs, InChild([&] { return ZelStore(zelPath, n); }), round == 0);
    best(cs, InChild([&] { return CerealStore(cerealPath, n); }), round == 0);
    best(zl, InChild([&] { return ZelLoad(zelPath, n); }), round == 0);
    best(cl, InChild([&] { return CerealLoad(cerealPath, n); }), round == 0);
  }

  double zelMB = static_cast<double>(fs::file_size(zelPath)) / 1e6;
  double cerealMB = static_cast<double>(fs::file_size(cerealPath)) / 1e6;
  std::printf(
      "archive_bench: %d records (string, int, double, shared pointer to one of %d markers),"
      " best of 3 rounds\n",
      n, kMarkers);
  std::printf("%-20s %8s %8s %8s %8s %8s %9s\n", "", "wall s", "MB/s", "cpu s", "MB/s", "file MB",
              "peak MiB");
  auto row = [](const char* what, const Measure& m, double mb) {
    std::printf("%-20s %8.3f %8.1f %8.3f %8.1f %8.1f %9.1f\n", what, m.t.wall, mb / m.t.wall,
                m.t.cpu, mb / m.t.cpu, mb, m.peakMiB);
  };
  row("CZelArchive store", zs, zelMB);
  row("cereal JSON store", cs, cerealMB);
  row("CZelArchive load", zl, zelMB);
  row("cereal JSON load", cl, cerealMB);
  std::printf("(an idle child peaks at %.1f MiB)\n", idle.peakMiB);
  std::printf("speed, cereal time / CZelArchive time on the same records:\n");
  std::printf("  store %.2fx wall, %.2fx processor (goal 8x)\n", cs.t.wall / zs.t.wall,
              cs.t.cpu / zs.t.cpu);
  std::printf("  load  %.2fx wall, %.2fx processor (goal 15x)\n", cl.t.wall / zl.t.wall,
              cl.t.cpu / zl.t.cpu);
  std::printf("peak memory while loading, CZelArchive / cereal: %.2f (goal <= 0.8)\n",
              zl.peakMiB / cl.peakMiB);
  fs::remove_all(dir);
  return 0;
}
