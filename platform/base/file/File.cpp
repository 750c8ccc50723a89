// CFile, CStdioFile and CMemFile; the system calls are in posix/File.inc.
#include "platform/base/file/File.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/base/exceptions/posix/Errors.h"
#include "platform/base/file/ReadAtInternal.h"
#include "platform/base/file/posix/File.inc"

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

void CFile::Throw(const std::error_code& ec) const {
  throw zel_posix::FileExceptionOf(ec, m_strFileName);
}

void CFile::RequireOpen() const {
  if (m_hFile == hFileNull) Throw(zel_posix::ErrorOf(EBADF));
}

bool CFile::IsRegular() const {
  if (m_regular < 0) m_regular = sys::IsRegular(m_hFile) ? 1 : 0;
  return m_regular == 1;
}

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* error) {
  if (m_hFile != hFileNull) Abort();
  m_strFileName = fileName;
  m_ahead.Drop();
  m_regular = -1;
  int fd = -1;
  std::error_code ec =
      fileName && *fileName ? sys::Open(fileName, openFlags, fd) : zel_posix::ErrorOf(ENOENT);
  if (ec) {
    if (error) *error = zel_posix::FileExceptionOf(ec, fileName);
    return FALSE;
  }
  m_hFile = fd;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
  RequireOpen();
  auto readSome = [this](char* into, size_t room) {
    size_t got;
    if (std::error_code ec = zel_posix::ReadSome(m_hFile, into, room, got)) Throw(ec);
    return got;
  };
  const bool regular = IsRegular();
  char* out = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    if (m_ahead.empty()) {
      // A pipe or terminal gives what its writer has sent: waiting for more would hold
      // back lines a reader wants now.
      if (done > 0 && !regular) break;
      if (count - done >= kBufferSize) {  // large requests bypass the buffer
        size_t got = readSome(out + done, count - done);
        done += static_cast<UINT>(got);
        if (got == 0 || !regular) break;
        continue;
      }
      if (m_ahead.Fill(readSome) == 0) break;
    }
    UINT n = static_cast<UINT>(std::min<size_t>(count - done, m_ahead.size()));
    std::memcpy(out + done, m_ahead.begin(), n);
    m_ahead.Consume(n);
    done += n;
  }
  return done;
}

void CFile::Write(const void* buffer, UINT count) {
  RequireOpen();
  if (!m_ahead.empty()) Seek(0, current);  // write at the logical position
  m_ahead.Drop();
  if (std::error_code ec = zel_posix::WriteAll(m_hFile, buffer, count)) Throw(ec);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
  RequireOpen();
  if (from == current) offset -= static_cast<LONGLONG>(m_ahead.size());
  m_ahead.Drop();
  long long pos = 0;
  if (std::error_code ec = sys::Seek(m_hFile, offset, from, pos)) Throw(ec);
  return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetPosition() const {
  RequireOpen();
  long long pos = 0;
  if (std::error_code ec = sys::Seek(m_hFile, 0, current, pos)) Throw(ec);
  return static_cast<ULONGLONG>(pos) - m_ahead.size();
}

ULONGLONG CFile::GetLength() const {
  RequireOpen();
  long long length = 0;
  if (std::error_code ec = sys::Length(m_hFile, length)) Throw(ec);
  return static_cast<ULONGLONG>(length);
}

void CFile::SetLength(ULONGLONG newLength) {
  RequireOpen();
  if (!m_ahead.empty()) Seek(0, current);
  if (std::error_code ec = sys::Truncate(m_hFile, static_cast<long long>(newLength))) Throw(ec);
}

void CFile::Flush() {
  if (m_hFile == hFileNull) return;
  if (std::error_code ec = sys::Sync(m_hFile)) Throw(ec);
}

void CFile::Close() {
  std::error_code ec;
  if (m_hFile != hFileNull && m_bCloseOnDelete) ec = sys::Close(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_ahead.Drop();
  m_regular = -1;
  if (ec) Throw(ec);
}

void CFile::Abort() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) sys::Close(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_ahead.Drop();
  m_regular = -1;
}

CString CFile::GetFileName() const {
  int slash = std::max(m_strFileName.ReverseFind('/'), m_strFileName.ReverseFind('\\'));
  return m_strFileName.Mid(slash + 1);
}

void CFile::Remove(const char* fileName) {
  if (std::error_code ec = sys::Remove(fileName)) throw zel_posix::FileExceptionOf(ec, fileName);
}

void CFile::Rename(const char* oldName, const char* newName) {
  if (std::error_code ec = sys::Rename(oldName, newName))
    throw zel_posix::FileExceptionOf(ec, oldName);
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

namespace zel_file {

bool RegularFileSize(HANDLE h, uint64_t& size) {
  long long length = 0;
  if (!sys::IsRegular(h) || sys::Length(h, length)) return false;
  size = static_cast<uint64_t>(length);
  return true;
}

std::error_code ReadSomeAt(HANDLE h, void* buf, size_t n, uint64_t offset, size_t& got) {
  return zel_posix::ReadSomeAt(h, buf, n, static_cast<long long>(offset), got);
}

}  // namespace zel_file
