// The sources of a document's contents.
#include "cli/view/doc/Source.h"

#include <libdeflate.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "cli/Output.h"
#include "platform/base/compress/Contents.h"

namespace zel_view {

namespace fs = std::filesystem;

std::string Source::Failure() const {
  std::lock_guard lock(m_failureMutex);
  return m_failure;
}

void Source::Fail(const std::string& text) {
  std::lock_guard lock(m_failureMutex);
  if (m_failure.empty()) m_failure = text;
}

namespace {

std::string FileFailure(const std::string& path, int cause, int osError) {
  CFileException e(cause, osError, path.c_str());
  return zel_cli::FailureText(path, e, true);
}

uint32_t Le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
uint32_t Le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

size_t FileSource::ReadAt(Offset offset, char* out, size_t n) {
  const Offset end = End();
  if (offset >= end) return 0;
  n = static_cast<size_t>(std::min<Offset>(n, end - offset));
  // The file is read as large as it was opened; shorter now, it changed on disk.
  if (!m_file->ReadAt(offset, out, n)) {
    Fail(FileFailure(m_path, CFileException::hardIO, -1));
    return 0;
  }
  return n;
}

std::unique_ptr<CopySource> CopySource::Create(std::string* error) {
  std::error_code ec;
  const fs::path dir = fs::temp_directory_path(ec);
  if (ec) {
    *error = FileFailure(".", CFileException::badPath, ec.value());
    return nullptr;
  }
  std::random_device random;
  std::string path;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const uint64_t tag = (uint64_t{random()} << 32) | random();
    char name[40];
    std::snprintf(name, sizeof name, "zel-view-%016llx.tmp", static_cast<unsigned long long>(tag));
    path = (dir / name).string();
    // Made anew (never an existing file), then unlinked at once: the open stream keeps
    // the bytes for as long as the document needs them.
    if (std::FILE* file = std::fopen(path.c_str(), "w+bx")) {
      fs::remove(path, ec);
      return std::unique_ptr<CopySource>(new CopySource(file, path));
    }
    if (errno != EEXIST) break;
  }
  *error = FileFailure(path, CFileException::ErrnoToException(errno), errno);
  return nullptr;
}

CopySource::~CopySource() { std::fclose(m_file); }

bool CopySource::Append(const char* p, size_t n) {
  std::lock_guard lock(m_mutex);
  if (std::fseek(m_file, 0, SEEK_END) != 0 || std::fwrite(p, 1, n, m_file) != n ||
      std::fflush(m_file) != 0) {
    const int err = errno;
    Fail(FileFailure(m_path, CFileException::ErrnoToException(err), err));
    return false;
  }
  m_end.store(m_end.load() + n);
  return true;
}

size_t CopySource::ReadAt(Offset offset, char* out, size_t n) {
  std::lock_guard lock(m_mutex);
  const Offset end = m_end.load();
  if (offset >= end) return 0;
  n = static_cast<size_t>(std::min<Offset>(n, end - offset));
  if (std::fseek(m_file, static_cast<long>(offset), SEEK_SET) != 0 ||
      std::fread(out, 1, n, m_file) != n) {
    const int err = errno;
    Fail(FileFailure(m_path, CFileException::ErrnoToException(err), err));
    return 0;
  }
  return n;
}

BgzfSource::BgzfSource(std::string path, std::unique_ptr<ZelFileSource> file)
    : m_path(std::move(path)),
      m_file(std::move(file)),
      m_decompressor(libdeflate_alloc_decompressor()) {
  if (!m_decompressor) throw CMemoryException();
}

BgzfSource::~BgzfSource() { libdeflate_free_decompressor(m_decompressor); }

void BgzfSource::Damaged(const char* reason) {
  CCompressedDataException e(reason, m_path.c_str());
  Fail(zel_cli::FailureText(m_path, e, true));
}

bool BgzfSource::Walk(const std::atomic<bool>& stop) {
  constexpr size_t kHeader = 18;  // with the usual extra field: just the "BC" subfield
  const uint64_t size = m_file->Size();
  uint64_t at = 0;
  Offset contents = 0;
  std::vector<Block> found;
  while (at < size && !stop.load()) {
    unsigned char head[kHeader];
    if (!m_file->ReadAt(at, head, std::min<uint64_t>(kHeader, size - at)) || size - at < kHeader) {
      Damaged("unexpected end of file");
      return false;
    }
    if (head[0] != 0x1F || head[1] != 0x8B || head[2] != 8 || !(head[3] & 4)) {
      Damaged("unexpected data after the last member");
      return false;
    }
    // The block size is in the "BC" subfield of the extra field, wherever it stands.
    const uint32_t extra = Le16(head + 10);
    std::string field(extra, '\0');
    if (size - at < 12 + extra || !m_file->ReadAt(at + 12, field.data(), extra)) {
      Damaged("unexpected end of file");
      return false;
    }
    uint32_t packed = 0;
    for (size_t i = 0; i + 4 <= field.size();) {
      const auto* sub = reinterpret_cast<const unsigned char*>(field.data() + i);
      const uint32_t length = Le16(sub + 2);
      if (sub[0] == 'B' && sub[1] == 'C' && length == 2 && i + 6 <= field.size())
        packed = Le16(sub + 4) + 1;
      i += 4 + length;
    }
    unsigned char trailer[4];
    if (packed < 12 + extra + 8) {
      Damaged("a member without its BGZF block size");
      return false;
    }
    if (packed > size - at || !m_file->ReadAt(at + packed - 4, trailer, 4)) {
      Damaged("unexpected end of file");
      return false;
    }
    const uint32_t bytes = Le32(trailer);
    found.push_back({at, contents, packed, bytes});
    at += packed;
    contents += bytes;
    // Published in batches: readers see the table grow without a lock per block.
    if (found.size() == 256 || at >= size) {
      std::lock_guard lock(m_tableMutex);
      m_blocks.insert(m_blocks.end(), found.begin(), found.end());
      found.clear();
      m_end.store(contents);
    }
  }
  return !stop.load();
}

size_t BgzfSource::Blocks() const {
  std::lock_guard lock(m_tableMutex);
  return m_blocks.size();
}

bool BgzfSource::Inflate(size_t block, libdeflate_decompressor* d, std::string& out) {
  Block b;
  {
    std::lock_guard lock(m_tableMutex);
    b = m_blocks.at(block);
  }
  std::string packed(b.packed, '\0');
  if (!m_file->ReadAt(b.file, packed.data(), packed.size())) {
    Fail(FileFailure(m_path, CFileException::hardIO, -1));
    return false;
  }
  out.resize(b.size);
  size_t made = 0;
  // The gzip form checks the data's CRC and size too.
  if (libdeflate_gzip_decompress(d, packed.data(), packed.size(), out.data(), out.size(), &made) !=
          LIBDEFLATE_SUCCESS ||
      made != b.size) {
    Damaged("invalid compressed data");
    return false;
  }
  return true;
}

const std::string* BgzfSource::CachedBlock(size_t block) {
  for (Cached& c : m_cache)
    if (c.block == block) return &c.bytes;
  Cached& slot = m_cache[m_nextSlot];
  m_nextSlot = (m_nextSlot + 1) % std::size(m_cache);
  slot.block = SIZE_MAX;
  if (!Inflate(block, m_decompressor, slot.bytes)) return nullptr;
  slot.block = block;
  return &slot.bytes;
}

size_t BgzfSource::ReadAt(Offset offset, char* out, size_t n) {
  std::lock_guard lock(m_readMutex);
  size_t done = 0;
  while (done < n) {
    const Offset at = offset + done;
    size_t block;
    Offset start;
    {
      std::lock_guard table(m_tableMutex);
      auto it = std::upper_bound(m_blocks.begin(), m_blocks.end(), at,
                                 [](Offset o, const Block& b) { return o < b.contents; });
      if (it == m_blocks.begin()) break;
      --it;
      if (at >= it->contents + it->size) break;  // past the end of the table
      block = static_cast<size_t>(it - m_blocks.begin());
      start = it->contents;
    }
    const std::string* bytes = CachedBlock(block);
    if (!bytes) break;
    const size_t from = static_cast<size_t>(at - start);
    const size_t take = std::min(n - done, bytes->size() - from);
    std::memcpy(out + done, bytes->data() + from, take);
    done += take;
  }
  return done;
}

}  // namespace zel_view
