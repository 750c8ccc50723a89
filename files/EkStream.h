/// CEkStream: one byte-stream interface over a disk file, growing memory or the buffer of
/// a caller's CString, so the same line parser reads a file or text already in memory.
#pragma once

#include <memory>

#include "ZelExport.h"
#include "files/EkMemFile.h"
#include "platform/base/file/File.h"
#include "platform/base/file/ReadAhead.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"

/// Every operation addresses the file when one is open, else the memory. Read and
/// ReadString on a closed stream answer nothing; writing or seeking a closed stream raises
/// CFileException (invalid file). Disk read and write failures raise the platform's
/// CFileException; writing past the end of a stream over a string raises CMemoryException.
class ZEL_API CEkStream : public CObject {
  DECLARE_DYNAMIC(CEkStream)
 public:
  CEkStream();
  explicit CEkStream(unsigned growBytes);
  CEkStream(CString* s, unsigned length);
  /// Throws CFileException when the file cannot be opened.
  CEkStream(const char* path, UINT flags);
  ~CEkStream() override;
  CEkStream(const CEkStream&) = delete;
  CEkStream& operator=(const CEkStream&) = delete;

  /// Each first closes what was open; 1 when the storage was made.
  /// A new growing memory stream.
  int Open(unsigned growBytes);
  /// A fixed-size stream over *s: length bytes, or the string's length when 0. Closing
  /// leaves in *s what was written, or its text unchanged when the stream was only read.
  int Open(CString* s, unsigned length);
  /// A disk file, opened with flags plus binary mode; throws CFileException on failure.
  int Open(const char* path, UINT flags);
  /// A file the caller opened (one that decompresses, say), read from where it stands.
  int Open(std::unique_ptr<CStdioFile> file);
  /// Closes the file, or ends the memory (handing a written string its new length).
  void Close();

  virtual void WriteString(const CString& s);
  /// The text, then CR and LF.
  virtual void WriteString(const char* text);
  /// The first n bytes of s, or all of it when shorter.
  virtual void Write(const CString& s, int n);
  virtual void Write(const char* data, int n);
  virtual void Write(const CString& s);
  /// The bytes up to the NUL.
  virtual void Write(const char* text);

  /// Up to n bytes; the count read (0 at the end or when nothing is open).
  virtual UINT Read(void* buf, unsigned n);
  /// One line of at most size - 1 bytes, its line end (LF, CR, LF CR or CR LF) consumed and
  /// not stored; a longer line comes back in pieces. Null at the end of the stream.
  virtual char* ReadString(char* buf, unsigned size);
  /// One whole line without its line end; 0 when nothing but the end was met.
  int ReadString(CString& s);

  /// For scanners of lines of any length: a line in pieces of at most kLinePiece bytes,
  /// each stored in s; more tells that the line may go on in a further piece. The pieces of
  /// a line join into what ReadString(CString&) gives for it (line ends included), so a
  /// scanner holds one piece, never a whole line. 0 when nothing but the end was met.
  static constexpr unsigned kLinePiece = 255 * 256;
  int ReadStringPiece(CString& s, bool& more);

  /// For scanners that look at many lines at once: the bytes readable at the position
  /// without copying them (reading ahead as needed; 0 at the end, and always 0 while the
  /// file is lent out), and moving past n of them.
  size_t Peek(const char** p);
  void Skip(size_t n) { Advance(n); }

  virtual ULONGLONG Seek(long offset, unsigned from);
  void SeekToBegin() { Seek(0, CFile::begin); }
  ULONGLONG SeekToEnd() { return Seek(0, CFile::end); }
  virtual ULONGLONG GetLength() const;

  /// The disk file (null for memory streams), positioned at the stream's position. The
  /// stream reads no further ahead of it once lent, so the caller may move it freely.
  CStdioFile* GetSFD();
  /// The bytes written to a memory stream, NUL-terminated, for the caller to free(); the
  /// stream then holds no memory. Null for a file stream or a closed stream.
  char* GetOutputBuffer();

 private:
  friend struct CEkStreamAccess;
  struct LentGuard;

  bool IsOpen() const { return m_file || m_memory; }
  /// Bytes readable at the position without moving it (refilling the read-ahead of a
  /// file); 0 at the end.
  size_t Avail(const char** p);
  /// The bytes at hand at the position, without refilling (0 when none are).
  size_t Window(const char** p) const {
    if (m_memory) {
      size_t pos = m_memory->m_nPosition, size = m_memory->m_nFileSize;
      if (pos >= size) return 0;
      *p = reinterpret_cast<const char*>(m_memory->m_lpBuffer) + pos;
      return size - pos;
    }
    if (!m_aheadValid) return 0;
    *p = m_ahead.begin();
    return m_ahead.size();
  }
  void Advance(size_t n) {
    if (m_memory)
      m_memory->m_nPosition += n;
    else
      m_ahead.Consume(n);
  }
  ULONGLONG Position() const { return m_aheadStart + m_ahead.consumed(); }
  ULONGLONG AheadEnd() const { return Position() + m_ahead.size(); }
  int PeekByte();
  /// Reads one line of at most maxLen bytes, handing its bytes to sink; see the .cpp.
  template <typename Sink>
  bool ScanLine(ULONGLONG maxLen, unsigned period, Sink&& sink, ULONGLONG* length);
  size_t Refill();
  /// Puts the file at the stream position and drops the read-ahead.
  void SyncFile();
  void ReleaseTarget(size_t length);
  void RequireOpen() const;

  /// Large enough that refills are rare, small enough to stay in the cache.
  static constexpr size_t kReadAhead = 256 * 1024;

  std::unique_ptr<CStdioFile> m_file;
  std::unique_ptr<CEkMemFile> m_memory;
  CString* m_target = nullptr;
  bool m_wroteTarget = false;

  /// Read-ahead of the disk file: its bytes start at file offset m_aheadStart, and the
  /// stream's position is m_aheadStart plus what was consumed of them. While it is valid
  /// the file object stands at the end of what is held.
  ZelReadAhead m_ahead{kReadAhead};
  ULONGLONG m_aheadStart = 0;
  bool m_aheadValid = false;
  bool m_lent = false;
};
