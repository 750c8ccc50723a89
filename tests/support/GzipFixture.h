// Compressed test files made in memory: gzip members (one or several) and BGZF, so that
// tests need no compressor program and no sample files.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zel_test {

// Raw deflate data of bytes (no header).
inline std::string Deflate(std::string_view bytes) {
  z_stream z{};
  if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&z, bytes.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}

inline void PutLe(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline std::string Trailer(std::string_view bytes) {
  std::string out;
  PutLe(out,
        static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()),
                                    static_cast<uInt>(bytes.size()))),
        4);
  PutLe(out, static_cast<uint32_t>(bytes.size()), 4);
  return out;
}

// One gzip member holding bytes.
inline std::string GzipMember(std::string_view bytes) {
  return std::string("\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x03", 10) + Deflate(bytes) +
         Trailer(bytes);
}

// A gzip file of members of at most memberBytes each (one member when 0).
inline std::string Gzip(std::string_view bytes, size_t memberBytes = 0) {
  if (memberBytes == 0) return GzipMember(bytes);
  std::string out;
  for (size_t at = 0; at < bytes.size(); at += memberBytes)
    out += GzipMember(bytes.substr(at, memberBytes));
  return out;
}

// A BGZF file: members of at most 65280 bytes, each with its size in a "BC" field, and
// the empty member that ends the file.
inline std::string Bgzf(std::string_view bytes) {
  auto member = [](std::string_view part) {
    const std::string data = Deflate(part);
    std::string out(
        "\x1F\x8B\x08\x04\x00\x00\x00\x00\x00\xFF\x06\x00"
        "BC\x02\x00",
        16);
    PutLe(out, static_cast<uint32_t>(18 + data.size() + 8 - 1), 2);
    return out + data + Trailer(part);
  };
  std::string out;
  for (size_t at = 0; at < bytes.size(); at += 65280) out += member(bytes.substr(at, 65280));
  return out + member("");
}

}  // namespace zel_test
