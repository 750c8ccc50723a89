// The contents of a file: telling its compression, and handing on its bytes, decompressed
// for gzip and BGZF (zlib in a stream, libdeflate for a whole buffer).
#include "platform/base/compress/Contents.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "platform/base/file/ReadAtInternal.h"

IMPLEMENT_DYNAMIC(CCompressedDataException, CFileException)
IMPLEMENT_DYNAMIC(CContentsFile, CStdioFile)

namespace {

uint32_t Le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
uint32_t Le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool StartsWith(std::string_view head, std::string_view magic) {
  return head.substr(0, magic.size()) == magic;
}

// The BGZF header of the member at p (n bytes at hand): its size, 0 when it is none.
size_t BgzfMemberSize(const unsigned char* p, size_t n) {
  if (n < kZelCompressionHead || p[0] != 0x1F || p[1] != 0x8B || p[2] != 8 || !(p[3] & 4) ||
      Le16(p + 10) < 6 || p[12] != 'B' || p[13] != 'C' || Le16(p + 14) != 2)
    return 0;
  return Le16(p + 16) + 1;
}

// The decompressed size of a whole gzip file, as far as its trailers tell it: for BGZF
// the sum over its members; else the last member's size (right for one member, the usual
// case; when it is wrong, decompression runs out of room and streams instead).
uint64_t DecompressedSize(const std::vector<unsigned char>& in, bool bgzf) {
  const size_t n = in.size();
  if (n < 18 + 8) return 0;
  if (bgzf) {
    uint64_t total = 0;
    for (size_t at = 0; at < n;) {
      const size_t size = BgzfMemberSize(in.data() + at, n - at);
      if (size < 26 || size > n - at) return Le32(in.data() + n - 4);
      total += Le32(in.data() + at + size - 4);
      at += size;
    }
    return total;
  }
  return Le32(in.data() + n - 4);
}

}  // namespace

ZelCompression ZelCompressionOf(std::string_view head) {
  const auto* p = reinterpret_cast<const unsigned char*>(head.data());
  if (StartsWith(head, "\x1F\x8B"))
    return BgzfMemberSize(p, head.size()) ? ZelCompression::kBgzf : ZelCompression::kGzip;
  if (head.size() >= 4 && StartsWith(head, "BZh") && head[3] >= '1' && head[3] <= '9')
    return ZelCompression::kBzip2;
  if (StartsWith(head, std::string_view("\xFD"
                                        "7zXZ\0",
                                        6)))
    return ZelCompression::kXz;
  if (StartsWith(head, "\x28\xB5\x2F\xFD")) return ZelCompression::kZstd;
  return ZelCompression::kNone;
}

const char* ZelCompressionName(ZelCompression compression) {
  switch (compression) {
    case ZelCompression::kGzip:
      return "gzip";
    case ZelCompression::kBgzf:
      return "bgzf";
    case ZelCompression::kBzip2:
      return "bzip2";
    case ZelCompression::kXz:
      return "xz";
    case ZelCompression::kZstd:
      return "zstd";
    default:
      return nullptr;
  }
}

// The decompression of one gzip or BGZF file: whole, into one buffer, when that is wanted
// and the size is known and small enough; else in a stream, member after member. Damage
// found in the whole buffer is looked at again in the stream, which names it.
class CContentsFile::Inflater {
 public:
  Inflater(CStdioFile& source, const std::string& head, bool bgzf)
      : m_source(source), m_bgzf(bgzf), m_in(head.begin(), head.end()) {}
  ~Inflater() {
    if (m_streaming) inflateEnd(&m_z);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // Reads the rest of the file and decompresses it at once, when it is small enough.
  void TryWhole() {
    if (m_triedWhole) return;
    m_triedWhole = true;
    ULONGLONG length = 0;
    try {
      length = m_source.GetLength();
    } catch (CException&) {
      return;  // a pipe or terminal: no size to go by
    }
    if (length <= m_in.size() || length > kWholeLimit) return;
    ReadAllInput(length);
    if (!m_inputDone || !Decompress()) StreamFromHere();
  }

  bool IsWhole() const { return m_whole != nullptr; }
  uint64_t WholeSize() const { return m_wholeSize; }

  // Up to count decompressed bytes, fewer only at the end; throws CCompressedDataException
  // (its file name left to the caller) on damage, once the bytes before it are handed on.
  size_t Read(char* out, size_t count) {
    if (!m_damage.empty()) throw CCompressedDataException(m_damage.c_str(), nullptr);
    if (m_whole) {
      const size_t n = std::min<size_t>(count, m_wholeSize - m_wholeUsed);
      std::memcpy(out, m_whole.get() + m_wholeUsed, n);
      m_wholeUsed += n;
      return n;
    }
    if (!m_streaming) StartStream();
    size_t made = 0;
    while (made < count && !m_finished) {
      if (m_z.avail_in == 0 && !m_inputDone) Refill();
      if (m_memberEnded) {
        if (m_z.avail_in < 2 && !m_inputDone) Refill();
        if (m_z.avail_in == 0) {
          m_finished = true;
          break;
        }
        if (m_z.avail_in < 2 || m_z.next_in[0] != 0x1F || m_z.next_in[1] != 0x8B)
          return Damaged("unexpected data after the last member", made);
        inflateReset(&m_z);
        m_memberEnded = false;
      }
      m_z.next_out = reinterpret_cast<Bytef*>(out + made);
      m_z.avail_out = static_cast<uInt>(std::min<size_t>(count - made, 1u << 30));
      const uInt before = m_z.avail_out;
      const int result = inflate(&m_z, Z_NO_FLUSH);
      made += before - m_z.avail_out;
      if (result == Z_STREAM_END) {
        m_memberEnded = true;
      } else if (result == Z_MEM_ERROR) {
        throw CMemoryException();
      } else if (result == Z_DATA_ERROR || result == Z_NEED_DICT || result == Z_STREAM_ERROR) {
        return Damaged(m_z.msg ? m_z.msg : "invalid data", made);
      } else if (m_z.avail_in == 0 && m_inputDone && before == m_z.avail_out) {
        return Damaged("unexpected end of file", made);
      }
    }
    return made;
  }

 private:
  static constexpr size_t kStreamInput = 256 * 1024;

  // Notes the damage, to be raised by this read when it made nothing, else by the next.
  size_t Damaged(const char* reason, size_t made) {
    m_damage = reason;
    m_finished = true;
    if (made == 0) throw CCompressedDataException(reason, nullptr);
    return made;
  }

  // Decompresses the input read whole into one buffer; false when it is damaged, or
  // larger than its trailers or whole decompression allow.
  bool Decompress() {
    const uint64_t size = DecompressedSize(m_in, m_bgzf);
    if (size == 0 || size > kWholeLimit) return false;
    std::unique_ptr<char[]> out(new (std::nothrow) char[size]);
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    bool ok = out && d;
    size_t inAt = 0, outAt = 0;
    while (ok && inAt < m_in.size()) {
      size_t used = 0, made = 0;
      ok = libdeflate_gzip_decompress_ex(d, m_in.data() + inAt, m_in.size() - inAt,
                                         out.get() + outAt, size - outAt, &used,
                                         &made) == LIBDEFLATE_SUCCESS;
      inAt += used;
      outAt += made;
    }
    libdeflate_free_decompressor(d);
    if (!ok) return false;
    m_whole = std::move(out);
    m_wholeSize = outAt;
    std::vector<unsigned char>().swap(m_in);
    return true;
  }

  // Keeps no more of the input read whole than a stream holds, and puts the file back
  // after it, so that streaming costs little memory whatever was read. (Damage is then
  // named by the stream.)
  void StreamFromHere() {
    if (m_in.size() <= kStreamInput) return;
    try {
      m_source.Seek(static_cast<LONGLONG>(kStreamInput), CFile::begin);
    } catch (CException&) {
      return;  // the stream reads from what is held
    }
    m_in.resize(kStreamInput);
    m_in.shrink_to_fit();
    m_inputDone = false;
  }

  // Reads the file to its end, length bytes expected; when it turns out longer (it grew
  // meanwhile), the input is not done and the stream takes over.
  void ReadAllInput(ULONGLONG length) {
    size_t have = m_in.size();
    m_in.resize(static_cast<size_t>(length));
    while (have < m_in.size()) {
      const UINT got = m_source.Read(
          m_in.data() + have, static_cast<UINT>(std::min<size_t>(m_in.size() - have, 1u << 30)));
      if (got == 0) break;
      have += got;
    }
    bool ended = have < m_in.size();
    m_in.resize(have);
    if (!ended) {
      unsigned char more;
      ended = m_source.Read(&more, 1) == 0;
      if (!ended) m_in.push_back(more);
    }
    m_inputDone = ended;
  }

  void StartStream() {
    std::memset(&m_z, 0, sizeof m_z);
    if (inflateInit2(&m_z, 15 + 16) != Z_OK) throw CMemoryException();
    m_streaming = true;
    m_z.next_in = m_in.data();
    m_z.avail_in = static_cast<uInt>(m_in.size());
  }

  // Moves the unread input to the front and reads more after it.
  void Refill() {
    const size_t keep = m_z.avail_in;
    const size_t from = static_cast<size_t>(m_z.next_in - m_in.data());
    if (keep && from) std::memmove(m_in.data(), m_in.data() + from, keep);
    if (m_in.size() < kStreamInput) m_in.resize(kStreamInput);
    const UINT got = m_source.Read(m_in.data() + keep, static_cast<UINT>(m_in.size() - keep));
    if (got == 0) m_inputDone = true;
    m_z.next_in = m_in.data();
    m_z.avail_in = static_cast<uInt>(keep + got);
  }

  CStdioFile& m_source;
  bool m_bgzf;
  std::vector<unsigned char> m_in;  // compressed bytes at hand
  bool m_inputDone = false;         // the source is read to its end

  bool m_triedWhole = false;
  std::unique_ptr<char[]> m_whole;
  size_t m_wholeSize = 0, m_wholeUsed = 0;

  z_stream m_z{};
  bool m_streaming = false, m_memberEnded = false, m_finished = false;
  std::string m_damage;  // met, not yet raised
};

CContentsFile::CContentsFile(std::unique_ptr<CStdioFile> source, Decompression how)
    : m_source(std::move(source)), m_how(how) {
  m_strFileName = m_source->GetFilePath();
}

CContentsFile::~CContentsFile() = default;

std::unique_ptr<CContentsFile> CContentsFile::Open(std::unique_ptr<CStdioFile> source,
                                                   Decompression how) {
  std::unique_ptr<CContentsFile> file(new CContentsFile(std::move(source), how));
  char head[kZelCompressionHead];
  size_t got = 0;
  while (got < sizeof head) {
    const UINT n = file->m_source->Read(head + got, static_cast<UINT>(sizeof head - got));
    if (n == 0) break;
    got += n;
  }
  file->m_head.assign(head, got);
  file->m_compression = ZelCompressionOf(file->m_head);
  const bool gzip = file->m_compression == ZelCompression::kGzip;
  if (gzip || file->m_compression == ZelCompression::kBgzf)
    file->m_inflater = std::make_unique<Inflater>(*file->m_source, file->m_head, !gzip);
  return file;
}

std::unique_ptr<CStdioFile> CContentsFile::TakePlainSource() {
  // Only a regular file can be put back: a pipe's bytes read so far are only here.
  uint64_t size = 0;
  if (m_compression != ZelCompression::kNone || !zel_file::RegularFileSize(m_source->m_hFile, size))
    return nullptr;
  m_source->SeekToBegin();
  m_head.clear();
  m_headUsed = 0;
  m_position = 0;
  auto closed = std::make_unique<CStdioFile>();
  closed->m_strFileName = m_strFileName;
  return std::exchange(m_source, std::move(closed));
}

bool CContentsFile::Readable() const {
  return m_compression == ZelCompression::kNone || m_compression == ZelCompression::kGzip ||
         m_compression == ZelCompression::kBgzf;
}

UINT CContentsFile::ReadDecompressed(char* out, UINT count) {
  if (m_damage) throw CCompressedDataException(*m_damage);
  try {
    if (m_how == kWholeWhenSmall) m_inflater->TryWhole();
    return static_cast<UINT>(m_inflater->Read(out, count));
  } catch (CCompressedDataException& e) {
    e.m_strFileName = m_strFileName;
    m_damage = std::make_unique<CCompressedDataException>(e);
    throw;
  }
}

UINT CContentsFile::Read(void* buffer, UINT count) {
  char* out = static_cast<char*>(buffer);
  UINT done = 0;
  if (m_inflater) {
    done = ReadDecompressed(out, count);
  } else {
    const size_t fromHead = std::min<size_t>(count, m_head.size() - m_headUsed);
    std::memcpy(out, m_head.data() + m_headUsed, fromHead);
    m_headUsed += fromHead;
    done = static_cast<UINT>(fromHead);
    if (done < count) done += m_source->Read(out + done, count - done);
  }
  m_position += done;
  return done;
}

void CContentsFile::Write(const void*, UINT) {
  throw CFileException(CFileException::accessDenied, -1, m_strFileName);
}

ULONGLONG CContentsFile::Seek(LONGLONG offset, UINT from) {
  // Only where the file stands: what was handed on is gone.
  const bool here = (from == current && offset == 0) ||
                    (from == begin && offset >= 0 && static_cast<ULONGLONG>(offset) == m_position);
  if (!here) throw CFileException(CFileException::badSeek, -1, m_strFileName);
  return m_position;
}

ULONGLONG CContentsFile::GetLength() const {
  if (!m_inflater) return m_source->GetLength();
  if (m_inflater->IsWhole()) return m_inflater->WholeSize();
  throw CFileException(CFileException::badSeek, -1, m_strFileName);
}

void CContentsFile::SetLength(ULONGLONG) {
  throw CFileException(CFileException::accessDenied, -1, m_strFileName);
}

void CContentsFile::Close() {
  m_inflater.reset();
  m_source->Close();
}

void CContentsFile::Abort() {
  m_inflater.reset();
  m_source->Abort();
}
