/// \file
/// CFile, CStdioFile and CMemFile: files through the class library's interface.
/// Reads of a regular file go through a large buffer of the file object's own, so small
/// reads cost a copy, not a system call; from a pipe or terminal a read answers what one
/// system read gives, so a reader sees each line as its writer sends it. Writes go straight
/// to the system, so a failure (disk full) is raised by the Write that caused it. Failures
/// raise CFileException with the platform's causes.
#pragma once

#include <system_error>

#include "ZelExport.h"
#include "platform/base/exceptions/Exceptions.h"
#include "platform/base/file/ReadAhead.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"

/// A file on the system through the class library's interface; failures raise CFileException.
class ZEL_API CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    /// POSIX has no share modes; they are accepted and have no effect.
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };
  static constexpr HANDLE hFileNull = INVALID_HANDLE_VALUE;

  CFile();
  /// Wraps an open descriptor; the object will not close it.
  explicit CFile(HANDLE hFile);
  /// Opens or throws CFileException.
  CFile(const char* fileName, UINT openFlags);
  ~CFile() override;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  /// 1 on success; on failure 0, with the reason in *error when given. Never throws.
  virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);
  /// Reads up to count bytes; fewer only at the end of a regular file, or when a pipe or
  /// terminal had no more at hand.
  virtual UINT Read(void* buffer, UINT count);
  virtual void Write(const void* buffer, UINT count);
  virtual ULONGLONG Seek(LONGLONG offset, UINT from);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG newLength);
  virtual ULONGLONG GetPosition() const;
  /// Forces written data to the device.
  virtual void Flush();
  /// Closes the file; throws CFileException when the system reports a failure.
  virtual void Close();
  /// Closes without ever throwing.
  virtual void Abort();

  virtual CString GetFileName() const;
  virtual CString GetFilePath() const { return m_strFileName; }
  operator HANDLE() const { return m_hFile; }

  static void Remove(const char* fileName);
  static void Rename(const char* oldName, const char* newName);

  HANDLE m_hFile;
  BOOL m_bCloseOnDelete;
  CString m_strFileName;

 protected:
  [[noreturn]] void Throw(const std::error_code& ec) const;
  void RequireOpen() const;

 private:
  bool IsRegular() const;

  static constexpr UINT kBufferSize = 128 * 1024;
  ZelReadAhead m_ahead{kBufferSize};
  mutable signed char m_regular = -1;  ///< unknown until the first read
};

/// Lines through a CFile: ReadString keeps the "\n" of the char* form, drops it from the
/// CString form. No end-of-line translation takes place.
class ZEL_API CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  using CFile::CFile;
  char* ReadString(char* buffer, UINT maxCount);
  BOOL ReadString(CString& line);
  void WriteString(const char* text);
};

/// A file in memory that grows in steps of the grow size (0: fixed, attached memory).
class ZEL_API CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)
 public:
  explicit CMemFile(UINT growBytes = 1024);
  CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
  ~CMemFile() override;

  void Attach(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
  /// Gives the memory to the caller (who frees it with free()) and empties the file.
  BYTE* Detach();

  BOOL Open(const char*, UINT, CFileException* = nullptr) override { return FALSE; }
  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  ULONGLONG Seek(LONGLONG offset, UINT from) override;
  ULONGLONG GetLength() const override { return m_nFileSize; }
  void SetLength(ULONGLONG newLength) override;
  ULONGLONG GetPosition() const override { return m_nPosition; }
  void Flush() override {}
  void Close() override;
  void Abort() override { Close(); }

 protected:
  virtual BYTE* Alloc(size_t bytes);
  virtual BYTE* Realloc(BYTE* block, size_t bytes);
  virtual void Free(BYTE* block);

  UINT m_nGrowBytes;
  size_t m_nPosition = 0;
  size_t m_nBufferSize = 0;
  size_t m_nFileSize = 0;
  BYTE* m_lpBuffer = nullptr;
  BOOL m_bAutoDelete = TRUE;

 private:
  /// Makes the buffer hold at least newLength bytes, in steps of the grow size.
  void GrowFile(size_t newLength);
};
