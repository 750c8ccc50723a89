// Shared by the harnesses: bytes become a file the library reads through CZelTextFile.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace zel_fuzz {

// One scratch file per fuzzing process, rewritten for every input.
inline const std::string& ScratchPath(const char* name) {
  static const std::string path =
      (std::filesystem::temp_directory_path() /
       (std::string("zel-") + name + "-" + std::to_string(std::random_device{}())))
          .string();
  return path;
}

inline bool WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace zel_fuzz
