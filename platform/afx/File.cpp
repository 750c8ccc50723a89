// CFile, CStdioFile and CMemFile; the system calls are in posix/File.inc.
#include "platform/afx/File.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/afx/posix/Errors.h"
#include "platform/afx/posix/File.inc"

namespace sys = zel_posix_file;

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(const char* fileName, UINT openFlags) : CFile() {
  CFileException e;
  if (!Open(fileName, openFlags, &e)) throw e;
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

void CFile::ThrowErrno(int err) const {
  throw CFileException(zel_posix::FileCauseFromErrno(err), err, m_strFileName);
}

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* error) {
  if (m_hFile != hFileNull) Abort();
  m_strFileName = fileName;
  DropReadBuffer();
  int fd = fileName && *fileName ? sys::Open(fileName, openFlags) : -ENOENT;
  if (fd < 0) {
    if (error) {
      error->m_cause = zel_posix::FileCauseFromErrno(-fd);
      error->m_lOsError = -fd;
      error->m_strFileName = fileName;
    }
    return FALSE;
  }
  m_hFile = fd;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

void CFile::DropReadBuffer() { m_bufPos = m_bufLen = 0; }

UINT CFile::Read(void* buffer, UINT count) {
  if (m_hFile == hFileNull) ThrowErrno(EBADF);
  char* out = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    if (m_bufPos < m_bufLen) {
      UINT n = std::min(count - done, m_bufLen - m_bufPos);
      std::memcpy(out + done, m_buffer.get() + m_bufPos, n);
      m_bufPos += n;
      done += n;
      continue;
    }
    // Large requests bypass the buffer; small ones refill it.
    if (count - done >= kBufferSize) {
      long long r = sys::Read(m_hFile, out + done, count - done);
      if (r < 0) ThrowErrno(static_cast<int>(-r));
      if (r == 0) break;
      done += static_cast<UINT>(r);
      continue;
    }
    // Not cleared: only bytes the system has written are ever read from it.
    if (!m_buffer) m_buffer.reset(new char[kBufferSize]);
    long long r = sys::Read(m_hFile, m_buffer.get(), kBufferSize);
    if (r < 0) ThrowErrno(static_cast<int>(-r));
    m_bufPos = 0;
    m_bufLen = static_cast<UINT>(r);
    if (r == 0) break;
  }
  return done;
}

void CFile::Write(const void* buffer, UINT count) {
  if (m_hFile == hFileNull) ThrowErrno(EBADF);
  if (m_bufPos < m_bufLen) Seek(0, current);  // write at the logical position
  DropReadBuffer();
  if (int r = sys::WriteAll(m_hFile, static_cast<const char*>(buffer), count); r < 0)
    ThrowErrno(-r);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
  if (m_hFile == hFileNull) ThrowErrno(EBADF);
  if (from == current) offset -= static_cast<LONGLONG>(m_bufLen - m_bufPos);
  DropReadBuffer();
  long long r = sys::Seek(m_hFile, offset, from);
  if (r < 0) ThrowErrno(static_cast<int>(-r));
  return static_cast<ULONGLONG>(r);
}

ULONGLONG CFile::GetPosition() const {
  if (m_hFile == hFileNull) ThrowErrno(EBADF);
  long long r = sys::Seek(m_hFile, 0, current);
  if (r < 0) ThrowErrno(static_cast<int>(-r));
  return static_cast<ULONGLONG>(r) - (m_bufLen - m_bufPos);
}

ULONGLONG CFile::GetLength() const {
  if (m_hFile == hFileNull) ThrowErrno(EBADF);
  long long r = sys::Length(m_hFile);
  if (r < 0) ThrowErrno(static_cast<int>(-r));
  return static_cast<ULONGLONG>(r);
}

void CFile::SetLength(ULONGLONG newLength) {
  if (m_hFile == hFileNull) ThrowErrno(EBADF);
  if (m_bufPos < m_bufLen) Seek(0, current);
  if (int r = sys::Truncate(m_hFile, static_cast<long long>(newLength)); r < 0) ThrowErrno(-r);
}

void CFile::Flush() {
  if (m_hFile == hFileNull) return;
  if (int r = sys::Sync(m_hFile); r < 0) ThrowErrno(-r);
}

void CFile::Close() {
  int r = 0;
  if (m_hFile != hFileNull && m_bCloseOnDelete) r = sys::Close(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  DropReadBuffer();
  if (r < 0) ThrowErrno(-r);
}

void CFile::Abort() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) sys::Close(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  DropReadBuffer();
}

CString CFile::GetFileName() const {
  int slash = std::max(m_strFileName.ReverseFind('/'), m_strFileName.ReverseFind('\\'));
  return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

void CFile::Remove(const char* fileName) {
  if (int r = sys::Remove(fileName); r < 0)
    throw CFileException(zel_posix::FileCauseFromErrno(-r), -r, fileName);
}

void CFile::Rename(const char* oldName, const char* newName) {
  if (int r = sys::Rename(oldName, newName); r < 0)
    throw CFileException(zel_posix::FileCauseFromErrno(-r), -r, oldName);
}

// ---- CStdioFile

char* CStdioFile::ReadString(char* buffer, UINT maxCount) {
  if (maxCount == 0) return nullptr;
  UINT n = 0;
  char c;
  while (n + 1 < maxCount && Read(&c, 1) == 1) {
    buffer[n++] = c;
    if (c == '\n') break;
  }
  buffer[n] = '\0';
  return n ? buffer : nullptr;
}

BOOL CStdioFile::ReadString(CString& line) {
  line.Empty();
  char c;
  BOOL any = FALSE;
  while (Read(&c, 1) == 1) {
    any = TRUE;
    if (c == '\n') break;
    line += c;
  }
  if (line.GetLength() && line[line.GetLength() - 1] == '\r') line.Delete(line.GetLength() - 1);
  return any;
}

void CStdioFile::WriteString(const char* text) {
  if (text) Write(text, static_cast<UINT>(std::strlen(text)));
}

// ---- CMemFile

CMemFile::CMemFile(UINT growBytes) : m_nGrowBytes(growBytes) {}

CMemFile::CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes) : m_nGrowBytes(growBytes) {
  Attach(buffer, bufferSize, growBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Attach(BYTE* buffer, UINT bufferSize, UINT growBytes) {
  Close();
  m_lpBuffer = buffer;
  m_nBufferSize = bufferSize;
  m_nGrowBytes = growBytes;
  // Attached memory with a grow size starts empty; fixed memory holds its content.
  m_nFileSize = growBytes == 0 ? bufferSize : 0;
  m_nPosition = 0;
  m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
  BYTE* b = m_lpBuffer;
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  m_bAutoDelete = TRUE;
  return b;
}

BYTE* CMemFile::Alloc(size_t bytes) { return static_cast<BYTE*>(std::malloc(bytes)); }
BYTE* CMemFile::Realloc(BYTE* block, size_t bytes) {
  return static_cast<BYTE*>(std::realloc(block, bytes));
}
void CMemFile::Free(BYTE* block) { std::free(block); }

void CMemFile::GrowFile(size_t newLength) {
  if (newLength <= m_nBufferSize) return;
  if (m_nGrowBytes == 0) AfxThrowMemoryException();
  size_t size = m_nBufferSize;
  while (size < newLength) size += m_nGrowBytes;
  // Grow at least geometrically: a 1 KiB step on a big file would make writes quadratic.
  size = std::max(size, m_nBufferSize + m_nBufferSize / 2);
  BYTE* grown = m_lpBuffer ? Realloc(m_lpBuffer, size) : Alloc(size);
  if (!grown) AfxThrowMemoryException();
  m_lpBuffer = grown;
  m_nBufferSize = size;
}

UINT CMemFile::Read(void* buffer, UINT count) {
  if (m_nPosition >= m_nFileSize) return 0;
  UINT n = static_cast<UINT>(std::min<size_t>(count, m_nFileSize - m_nPosition));
  std::memcpy(buffer, m_lpBuffer + m_nPosition, n);
  m_nPosition += n;
  return n;
}

void CMemFile::Write(const void* buffer, UINT count) {
  if (count == 0) return;
  if (m_nPosition + count > m_nBufferSize) GrowFile(m_nPosition + count);
  std::memcpy(m_lpBuffer + m_nPosition, buffer, count);
  m_nPosition += count;
  m_nFileSize = std::max(m_nFileSize, m_nPosition);
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
  LONGLONG base = from == current ? static_cast<LONGLONG>(m_nPosition)
                  : from == end   ? static_cast<LONGLONG>(m_nFileSize)
                                  : 0;
  LONGLONG target = base + offset;
  if (target < 0) AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
  if (static_cast<size_t>(target) > m_nBufferSize) GrowFile(static_cast<size_t>(target));
  m_nPosition = static_cast<size_t>(target);
  return static_cast<ULONGLONG>(target);
}

void CMemFile::SetLength(ULONGLONG newLength) {
  if (newLength > m_nBufferSize) GrowFile(static_cast<size_t>(newLength));
  if (newLength < m_nPosition) m_nPosition = static_cast<size_t>(newLength);
  m_nFileSize = static_cast<size_t>(newLength);
}

void CMemFile::Close() {
  if (m_lpBuffer && m_bAutoDelete) Free(m_lpBuffer);
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
}
