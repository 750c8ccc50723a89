// Shared by the harnesses: bytes become a file the library reads by its path.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace zel_fuzz {

// A folder of the fuzzing process's own, gone when it ends.
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("zel-fuzz-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The scratch file called `name`, rewritten for every input. The name is the file's
// whole name, so readers that go by the extension see it.
inline std::string ScratchPath(const char* name) {
  static const ScratchFolder folder;
  return (folder.path() / name).string();
}

// A new file each time: a file cut short and closed is written out at once on ext4 (its
// guard for rewrites in place): a disk write per input, which slowed fuzzing tenfold.
inline bool WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::remove(path.c_str());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace zel_fuzz
