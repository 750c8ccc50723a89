// Where a document's contents come from: the file itself, a decompressed copy of a gzip
// file that grows while the decompression runs, or the blocks of a BGZF file. Reads are
// safe from any thread.
#pragma once

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cli/view/doc/Document.h"
#include "platform/os/shell/ByteSource.h"

struct libdeflate_decompressor;

namespace zel_view {

class Source {
 public:
  virtual ~Source() = default;
  // Copies up to n bytes of the contents at offset to out: fewer only at End(), or when
  // reading failed (Failure() then says why).
  virtual size_t ReadAt(Offset offset, char* out, size_t n) = 0;
  // The contents known so far.
  virtual Offset End() const = 0;
  // Why a read failed, in the library's words; "" when none did.
  std::string Failure() const;

 protected:
  void Fail(const std::string& text);

 private:
  mutable std::mutex m_failureMutex;
  std::string m_failure;
};

// A plain file, as large as it was when opened.
class FileSource : public Source {
 public:
  FileSource(std::string path, std::unique_ptr<ZelFileSource> file)
      : m_path(std::move(path)), m_file(std::move(file)) {}
  size_t ReadAt(Offset offset, char* out, size_t n) override;
  Offset End() const override { return m_file->Size(); }

 private:
  std::string m_path;
  std::unique_ptr<ZelFileSource> m_file;
};

// The decompressed copy of a gzip file: a file in the temporary folder, unlinked as soon
// as it is made (so nothing is left behind whatever happens to the process), written by
// the decompression and read while it grows.
class CopySource : public Source {
 public:
  // Null, with the reason in *error, when the temporary folder takes no file.
  static std::unique_ptr<CopySource> Create(std::string* error);
  ~CopySource() override;
  // Adds bytes at the end; false (Failure() says why) when they cannot be written.
  bool Append(const char* p, size_t n);
  size_t ReadAt(Offset offset, char* out, size_t n) override;
  Offset End() const override { return m_end.load(); }

 private:
  CopySource(std::FILE* file, std::string path) : m_file(file), m_path(std::move(path)) {}
  std::mutex m_mutex;  // the stream's position is shared by reads and writes
  std::FILE* m_file;
  std::string m_path;
  std::atomic<Offset> m_end{0};
};

// A BGZF file read through its blocks: a table of the blocks' places in the file and in
// the contents (an offset of the contents is a block and a place in it, as a BGZF virtual
// offset is), built by Walk; a read decompresses only the blocks it needs.
class BgzfSource : public Source {
 public:
  BgzfSource(std::string path, std::unique_ptr<ZelFileSource> file);
  ~BgzfSource() override;

  // Builds the block table from the blocks' headers, so that End() is soon the whole
  // size; false (Failure() says why) when the file is damaged. stop ends it early.
  bool Walk(const std::atomic<bool>& stop);
  size_t Blocks() const;
  // Decompresses block into out with the caller's decompressor; false on damage.
  bool Inflate(size_t block, libdeflate_decompressor* d, std::string& out);

  size_t ReadAt(Offset offset, char* out, size_t n) override;
  Offset End() const override { return m_end.load(); }

 private:
  struct Block {
    uint64_t file;    // where its member starts in the file
    Offset contents;  // where its bytes start in the contents
    uint32_t packed;  // the member's size
    uint32_t size;    // its decompressed size
  };
  struct Cached {
    size_t block = SIZE_MAX;
    std::string bytes;
  };
  void Damaged(const char* reason);
  const std::string* CachedBlock(size_t block);

  std::string m_path;
  std::unique_ptr<ZelFileSource> m_file;
  mutable std::mutex m_tableMutex;
  std::vector<Block> m_blocks;
  std::atomic<Offset> m_end{0};

  std::mutex m_readMutex;  // the readers' decompressor and cache
  libdeflate_decompressor* m_decompressor;
  Cached m_cache[4];
  size_t m_nextSlot = 0;
};

}  // namespace zel_view
