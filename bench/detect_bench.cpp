// Format detection on big generated files, beside `wc -l` and `seqkit stats` on the same
// files in the same run: a 1 GiB single-record nucleotide FASTA (60 letters a line, read
// whole by detection) and a ~500 MB GenBank file of repeated records. Prints MB/s and the
// ratios. Files go to a temporary folder that is removed at the end.
//
//   detect_bench [--fasta-mib N] [--genbank-mb N] [--rounds N] [--dir PATH] [ignored...]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "files/SequenceDetection.h"

namespace fs = std::filesystem;

namespace {

struct Options {
  long fastaMiB = 1024;
  long genbankMB = 500;
  int rounds = 3;
  std::string dir;
  std::string zel;  // the command, timed whole process when given
};

double Seconds(const std::function<void()>& run) {
  auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class Writer {
 public:
  explicit Writer(const std::string& path) : m_f(std::fopen(path.c_str(), "wb")) {
    if (!m_f) {
      std::perror(path.c_str());
      std::exit(1);
    }
    m_buf.reserve(1 << 20);
  }
  ~Writer() {
    Flush();
    std::fclose(m_f);
  }
  void Put(const char* p, size_t n) {
    m_buf.append(p, n);
    m_total += n;
    if (m_buf.size() >= (1 << 20)) Flush();
  }
  void Put(const std::string& s) { Put(s.data(), s.size()); }
  size_t Total() const { return m_total; }

 private:
  void Flush() {
    if (!m_buf.empty() && std::fwrite(m_buf.data(), 1, m_buf.size(), m_f) != m_buf.size()) {
      std::perror("write");
      std::exit(1);
    }
    m_buf.clear();
  }
  std::FILE* m_f;
  std::string m_buf;
  size_t m_total = 0;
};

// Letters with a few runs of N, as assembled genomes have.
std::string MakeBases(size_t n, std::mt19937& rng, bool lower) {
  const char* letters = lower ? "acgt" : "ACGT";
  std::string s(n, 'A');
  for (size_t i = 0; i < n; i++) s[i] = letters[rng() & 3];
  for (size_t at = rng() % 5000; at + 300 < n; at += 20000 + rng() % 20000)
    std::fill_n(s.begin() + static_cast<long>(at), 100 + rng() % 200, lower ? 'n' : 'N');
  return s;
}

size_t WriteFasta(const std::string& path, size_t bytes) {
  std::mt19937 rng(42);
  std::string block = MakeBases(1 << 20, rng, false);
  Writer w(path);
  w.Put(std::string(">chr1 generated single record\n"));
  size_t at = 0;
  while (w.Total() + 61 <= bytes) {
    if (at + 60 > block.size()) at = rng() % 1000;
    w.Put(block.data() + at, 60);
    w.Put("\n", 1);
    at += 60;
  }
  return w.Total();
}

// One record: header, features, ORIGIN and numbered lines of 6 groups of 10 bases.
std::string GenBankRecord(int index, std::mt19937& rng) {
  size_t length = 8000 + rng() % 4000;
  std::string bases = MakeBases(length, rng, true);
  char line[128];
  std::string r;
  std::snprintf(line, sizeof line,
                "LOCUS       SEQ%07d %12zu bp    DNA     linear   SYN 01-JAN-2020\n", index,
                length);
  r += line;
  r += "DEFINITION  Generated test sequence.\n";
  std::snprintf(line, sizeof line, "ACCESSION   SEQ%07d\n", index);
  r += line;
  r += "FEATURES             Location/Qualifiers\n";
  std::snprintf(line, sizeof line, "     source          1..%zu\n", length);
  r += line;
  r += "                     /organism=\"synthetic construct\"\n";
  std::snprintf(line, sizeof line, "     gene            100..%zu\n", length - 100);
  r += line;
  r += "                     /gene=\"abcD\"\n";
  r += "ORIGIN\n";
  for (size_t i = 0; i < length; i += 60) {
    std::snprintf(line, sizeof line, "%9zu", i + 1);
    r += line;
    for (size_t g = i; g < std::min(length, i + 60); g += 10) {
      r += ' ';
      r.append(bases, g, std::min<size_t>(10, length - g));
    }
    r += '\n';
  }
  r += "//\n";
  return r;
}

size_t WriteGenBank(const std::string& path, size_t bytes) {
  std::mt19937 rng(7);
  std::vector<std::string> records;
  for (int i = 0; i < 64; i++) records.push_back(GenBankRecord(i, rng));
  Writer w(path);
  for (size_t i = 0; w.Total() < bytes; i++) w.Put(records[i % records.size()]);
  return w.Total();
}

int Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

// seqkit reports a file it cannot parse on standard error and still exits 0.
bool SeqkitAccepts(const std::string& quoted, const std::string& errPath) {
  int status = std::system(("seqkit stats " + quoted + " >/dev/null 2>'" + errPath + "'").c_str());
  if (status == -1) return false;
  std::FILE* f = std::fopen(errPath.c_str(), "rb");
  if (!f) return false;
  char buf[512];
  size_t n = std::fread(buf, 1, sizeof buf, f);
  std::fclose(f);
  return std::string(buf, n).find("ERRO") == std::string::npos;
}

struct Row {
  std::string name;
  double mb;
  int detectedType;
  double detect, wc, seqkit;
  bool seqkitAccepted;
  double zel;  // 0 when not timed
};

// Each round times every side once, so that a slower spell of a shared machine falls on
// all of them alike; each side's best round counts.
Row Measure(const std::string& name, const std::string& path, const Options& o) {
  Row row{name, static_cast<double>(fs::file_size(path)) / 1e6, 0, 1e30, 1e30, 1e30, false, 0};
  std::string quoted = "'" + path + "'";
  const bool zel = !o.zel.empty();
  if (zel) row.zel = 1e30;
  for (int round = 0; round < o.rounds; ++round) {
    row.wc = std::min(row.wc, Seconds([&] { Run("wc -l " + quoted); }));
    if (zel)
      row.zel =
          std::min(row.zel, Seconds([&] { Run("'" + o.zel + "' detect --content " + quoted); }));
    row.detect = std::min(row.detect, Seconds([&] {
                            CZelFileSpec spec;
                            spec.GuessExistingFileSpecGivenPath(path.c_str());
                            row.detectedType = spec.GetType();
                          }));
    row.seqkit = std::min(
        row.seqkit, Seconds([&] { row.seqkitAccepted = SeqkitAccepts(quoted, path + ".err"); }));
  }
  return row;
}

void Print(const Row& r) {
  std::printf("%-22s %8.1f MB  type %-3d\n", r.name.c_str(), r.mb, r.detectedType);
  std::printf("  detection     %9.4f s %10.1f MB/s\n", r.detect, r.mb / r.detect);
  std::printf("  wc -l         %9.4f s %10.1f MB/s   detection speed / wc -l = %.2fx\n", r.wc,
              r.mb / r.wc, r.wc / r.detect);
  std::printf("  seqkit stats  %9.4f s %10.1f MB/s   detection speed / seqkit stats = %.2fx\n",
              r.seqkit, r.mb / r.seqkit, r.seqkit / r.detect);
  if (r.zel > 0)
    std::printf("  zel detect --content %9.4f s %6.1f MB/s   whole process / wc -l = %.2fx\n",
                r.zel, r.mb / r.zel, r.wc / r.zel);
  if (!r.seqkitAccepted) std::printf("  (seqkit stopped at once: it reads FASTA and FASTQ only)\n");
  if (r.detectedType == 27)
    std::printf("  (detection decides from the first LOCUS line and reads no further)\n");
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; i += 2) {
    std::string a = argv[i];
    if (a.rfind("--", 0) != 0) {  // bench/run.sh hands every benchmark the zel path
      o.zel = a;
      i--;
      continue;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "%s needs a value\n", a.c_str());
      return 2;
    }
    if (a == "--fasta-mib")
      o.fastaMiB = std::atol(argv[i + 1]);
    else if (a == "--genbank-mb")
      o.genbankMB = std::atol(argv[i + 1]);
    else if (a == "--rounds")
      o.rounds = std::max(1, std::atoi(argv[i + 1]));
    else if (a == "--dir")
      o.dir = argv[i + 1];
    else {
      std::fprintf(stderr, "unknown option %s\n", a.c_str());
      return 2;
    }
  }
  if (Run("command -v seqkit") != 0 || Run("command -v wc") != 0) {
    std::fprintf(stderr, "detect_bench needs wc and seqkit on the PATH\n");
    return 1;
  }

  std::random_device rd;
  fs::path dir = (o.dir.empty() ? fs::temp_directory_path() : fs::path(o.dir)) /
                 ("zel-detect-bench-" + std::to_string(rd()));
  fs::create_directories(dir);
  std::string fasta = (dir / "single_record.fa").string();
  std::string genbank = (dir / "records.gbk").string();

  std::printf("generating files in %s ...\n", dir.c_str());
  std::fflush(stdout);
  WriteFasta(fasta, static_cast<size_t>(o.fastaMiB) << 20);
  WriteGenBank(genbank, static_cast<size_t>(o.genbankMB) * 1000 * 1000);
  std::printf("best of %d rounds each, the sides interleaved, files in the page cache\n\n",
              o.rounds);

  Row rows[] = {Measure("single-record FASTA", fasta, o), Measure("GenBank records", genbank, o)};
  for (const Row& r : rows) Print(r);

  std::error_code ec;
  fs::remove_all(dir, ec);

  bool ok = rows[0].detectedType == 28 && rows[1].detectedType == 27;
  if (!ok) std::printf("\nunexpected detected types (want 28 and 27)\n");
  return ok ? 0 : 1;
}
