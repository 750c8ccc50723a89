/// \class ZelByteSource
/// Random access to the bytes of a file or of memory, every read checked against the end.
/// The readers of foreign binary formats (shell links, program files) take their input
/// through it, so a lying offset or size can never make them read outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

#include "ZelExport.h"
#include "platform/base/string/String.h"

class ZEL_API ZelByteSource {
 public:
  virtual ~ZelByteSource() = default;
  virtual uint64_t Size() const = 0;
  /// Copies the n bytes at offset into out; false (out unspecified) when they are not all
  /// inside the source or cannot be read.
  virtual bool ReadAt(uint64_t offset, void* out, size_t n) const = 0;

  /// Little-endian integers; false when out of range.
  bool U16(uint64_t offset, uint16_t& v) const;
  bool U32(uint64_t offset, uint32_t& v) const;
  /// Whether [offset, offset + n) lies inside the source, without overflow.
  bool Holds(uint64_t offset, uint64_t n) const { return offset <= Size() && n <= Size() - offset; }
};

/// Bytes in memory, not copied: they must outlive the source.
class ZEL_API ZelMemorySource : public ZelByteSource {
 public:
  explicit ZelMemorySource(std::string_view bytes) : m_bytes(bytes) {}
  uint64_t Size() const override { return m_bytes.size(); }
  bool ReadAt(uint64_t offset, void* out, size_t n) const override;
  std::string_view Bytes() const { return m_bytes; }

 private:
  std::string_view m_bytes;
};

/// A file opened for reading (close-on-exec). Its first kHeadBytes are read at once and
/// served from memory; the rest is read where asked. Only a regular file is read: a pipe,
/// socket or device is refused without waiting on it (opened non-blocking, then examined).
class ZEL_API ZelFileSource : public ZelByteSource {
 public:
  static constexpr size_t kHeadBytes = 64 * 1024;
  /// Whether a link at the path itself is followed; a file that someone else may have
  /// replaced by a link is opened with kNoFollow.
  enum Links { kFollowLinks, kNoFollow };

  ZelFileSource() = default;
  ~ZelFileSource() override;
  ZelFileSource(const ZelFileSource&) = delete;
  ZelFileSource& operator=(const ZelFileSource&) = delete;

  /// The system's reason when the file cannot be opened (is_a_directory for a folder,
  /// invalid_argument for anything else that is not a regular file, too_many_symbolic_
  /// link_levels for a link with kNoFollow).
  std::error_code Open(const char* path, Links links = kFollowLinks);
  bool IsOpen() const { return m_fd >= 0; }
  uint64_t Size() const override { return m_size; }
  bool ReadAt(uint64_t offset, void* out, size_t n) const override;
  /// The whole file as text, when it holds at most maxBytes; false otherwise.
  bool ReadAll(std::string& bytes, uint64_t maxBytes) const;

 private:
  int m_fd = -1;
  uint64_t m_size = 0;
  std::string m_head;
};

/// UTF-16 text (little-endian code units) as the suite's 8-bit text, Windows-1252: every
/// character that code page cannot hold (a pair of surrogates is one character, a lone
/// surrogate one more) becomes '?'.
ZEL_API CString ZelUtf16ToAnsi(const uint16_t* units, size_t count);
/// The same from little-endian bytes (an odd last byte is ignored).
ZEL_API CString ZelUtf16BytesToAnsi(std::string_view bytes);
/// Windows-1252 bytes as UTF-16 units (the inverse, for writers and tests); one byte's
/// character (the five bytes the code page leaves undefined keep their own number).
///@{
ZEL_API std::u16string ZelAnsiToUtf16(std::string_view text);
ZEL_API char16_t ZelAnsiCharToUtf16(unsigned char byte);
///@}
