/// \file
/// The contents of a file as a reader of text wants them: gzip and BGZF files (told by
/// their first bytes, whatever their names) decompressed, every member of them; any other
/// file as it is. Files of other compressors are recognised, so that they are refused by
/// name rather than read as text.
///
///   auto contents = CContentsFile::Open(std::make_unique<CStdioFile>(path, CFile::modeRead),
///                                       CContentsFile::kWholeWhenSmall);
///   if (!contents->Readable()) ...  // bzip2, xz or zstd: ZelCompressionName says which
///   contents->Read(buffer, size);   // decompressed bytes; damage raises
///                                   // CCompressedDataException
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ZelExport.h"
#include "platform/base/file/File.h"

enum class ZelCompression { kNone, kGzip, kBgzf, kBzip2, kXz, kZstd };

/// The bytes the compression of a file is told by: a BGZF member is a gzip member with a
/// "BC" field in its header.
constexpr size_t kZelCompressionHead = 18;
/// What the first bytes of a file (fewer when it is shorter) show.
ZEL_API ZelCompression ZelCompressionOf(std::string_view head);
/// "gzip", "bgzf", "bzip2", "xz", "zstd"; null for none.
ZEL_API const char* ZelCompressionName(ZelCompression compression);

/// Compressed data that cannot be decompressed: damaged, cut short, or followed by bytes
/// that are no member. m_strReason says what was met ("unexpected end of file", "incorrect
/// data check", ...).
class ZEL_API CCompressedDataException : public CFileException {
  DECLARE_DYNAMIC(CCompressedDataException)
 public:
  CCompressedDataException(const char* reason, const char* fileName)
      : CFileException(invalidFile, -1, fileName), m_strReason(reason) {}
  CString m_strReason;
};

/// Read from the start to the end only: the position is the count of bytes read, a seek
/// goes nowhere but where the file stands, and writing is refused (CFileException).
class ZEL_API CContentsFile : public CStdioFile {
  DECLARE_DYNAMIC(CContentsFile)
 public:
  enum Decompression {
    /// In a stream through a small window (zlib): memory stays small whatever the size.
    kStreaming,
    /// A file whose decompressed size is known and at most kWholeLimit is decompressed at
    /// once into one buffer (libdeflate), about twice as fast; any other streams.
    kWholeWhenSmall,
  };
  static constexpr uint64_t kWholeLimit = 512ull << 20;

  /// Takes over source, standing at the start of the file (a pipe or terminal too), and
  /// reads its first bytes; throws what reading them throws.
  static std::unique_ptr<CContentsFile> Open(std::unique_ptr<CStdioFile> source, Decompression how);
  ~CContentsFile() override;

  ZelCompression Compression() const { return m_compression; }
  /// False for the compressions that are told but not read (bzip2, xz, zstd).
  bool Readable() const;
  /// The damage a read met, kept for readers that stop quietly at a failure; null if none.
  const CCompressedDataException* Damage() const { return m_damage.get(); }
  /// A plain regular file's own source, put back at its start, for readers that read the
  /// file by offset: the very file looked into, even if its name now leads elsewhere (a
  /// reopening by name could meet a file put in its place meanwhile). Null, with this
  /// object unchanged, for a compressed file or a pipe; otherwise this object is left
  /// closed.
  std::unique_ptr<CStdioFile> TakePlainSource();

  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  ULONGLONG Seek(LONGLONG offset, UINT from) override;
  ULONGLONG GetLength() const override;
  void SetLength(ULONGLONG newLength) override;
  ULONGLONG GetPosition() const override { return m_position; }
  void Flush() override {}
  void Close() override;
  void Abort() override;

  class Inflater;  ///< the decompression of one file, in the .cpp

 private:
  CContentsFile(std::unique_ptr<CStdioFile> source, Decompression how);
  UINT ReadDecompressed(char* out, UINT count);

  std::unique_ptr<CStdioFile> m_source;
  Decompression m_how;
  ZelCompression m_compression = ZelCompression::kNone;
  std::string m_head;  ///< the first bytes, read to tell the compression, not yet handed on
  size_t m_headUsed = 0;
  std::unique_ptr<Inflater> m_inflater;
  std::unique_ptr<CCompressedDataException> m_damage;
  ULONGLONG m_position = 0;
};
