// Compressed line counting: `zel lines` on a generated FASTA file of 256 MiB, gzipped as
// one member and as BGZF, beside `zcat | wc -l` on the same files.
// Usage: gzip_bench [ZEL_BINARY] [MEGABYTES]
#include <libdeflate.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Records of 60-letter lines under a header each, as sequence files hold them.
std::string MakeFasta(size_t bytes) {
  std::mt19937 rng(4242);
  std::string text;
  text.reserve(bytes + 128);
  for (int record = 0; text.size() < bytes; ++record) {
    text += ">seq" + std::to_string(record) + " generated\n";
    const int lines = 20 + static_cast<int>(rng() % 200);
    for (int l = 0; l < lines && text.size() < bytes; ++l) {
      for (int i = 0; i < 60; ++i) text += "ACGT"[rng() % 4];
      text += '\n';
    }
  }
  return text;
}

void PutLe(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string Gzip(const std::string& text) {
  libdeflate_compressor* c = libdeflate_alloc_compressor(6);
  std::string out(libdeflate_gzip_compress_bound(c, text.size()), '\0');
  out.resize(libdeflate_gzip_compress(c, text.data(), text.size(), out.data(), out.size()));
  libdeflate_free_compressor(c);
  return out;
}

// BGZF: members of 65280 bytes, each with its size in a "BC" field, and the empty end.
std::string Bgzf(const std::string& text) {
  libdeflate_compressor* c = libdeflate_alloc_compressor(6);
  std::string out, data(70000, '\0');
  auto member = [&](const char* p, size_t n) {
    const size_t size = libdeflate_deflate_compress(c, p, n, data.data(), data.size());
    out.append(
        "\x1F\x8B\x08\x04\x00\x00\x00\x00\x00\xFF\x06\x00"
        "BC\x02\x00",
        16);
    PutLe(out, static_cast<uint32_t>(18 + size + 8 - 1), 2);
    out.append(data.data(), size);
    PutLe(out, libdeflate_crc32(0, p, n), 4);
    PutLe(out, static_cast<uint32_t>(n), 4);
  };
  for (size_t at = 0; at < text.size(); at += 65280)
    member(text.data() + at, std::min<size_t>(65280, text.size() - at));
  member("", 0);
  libdeflate_free_compressor(c);
  return out;
}

std::string Save(const std::string& name, const std::string& bytes) {
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Best of three runs, in seconds, of a command that prints a count.
double Best(const std::string& command, long long& count) {
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    auto t0 = Clock::now();
    FILE* p = popen(command.c_str(), "r");
    count = -1;
    if (p) {
      if (std::fscanf(p, "%lld", &count) != 1) count = -1;
      pclose(p);
    }
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string zel = argc > 1 ? argv[1] : "";
  const size_t megabytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 256;
  const std::string text = MakeFasta(megabytes << 20);
  long long lines = 0;
  for (char c : text) lines += c == '\n';
  const std::vector<std::pair<std::string, std::string>> files = {
      {"gzip", Save("zel-gzip-bench.fa.gz", Gzip(text))},
      {"BGZF", Save("zel-gzip-bench.fa.bgz", Bgzf(text))},
  };
  std::printf("Counting the lines of %zu MiB of FASTA (%lld lines), compressed at level 6\n",
              megabytes, lines);
  std::printf("%-6s %-16s %10s %12s %14s\n", "file", "reader", "MB/s", "lines", "vs zcat|wc -l");
  int status = 0;
  for (const auto& [kind, path] : files) {
    long long n;
    Best("cat '" + path + "' | wc -c", n);  // page cache
    const double mb = static_cast<double>(text.size()) / 1e6;
    const double zcat = Best("zcat '" + path + "' | wc -l", n);
    std::printf("%-6s %-16s %10.0f %12lld %13.2fx\n", kind.c_str(), "zcat | wc -l", mb / zcat, n,
                1.0);
    if (!zel.empty()) {
      const double t = Best("'" + zel + "' lines '" + path + "' 2>/dev/null", n);
      std::printf("%-6s %-16s %10.0f %12lld %13.2fx\n", kind.c_str(), "zel lines", mb / t, n,
                  zcat / t);
      if (n != lines) status = 1;
    }
    std::filesystem::remove(path);
  }
  return status;
}
