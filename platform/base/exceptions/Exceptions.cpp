// Run-time classes and throw helpers of the exceptions.
#include "platform/base/exceptions/Exceptions.h"

#include <algorithm>
#include <cstring>

#include "platform/base/exceptions/posix/Errors.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)

BOOL CException::GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext) const {
  if (helpContext) *helpContext = 0;
  if (error && maxError > 0) {
    const size_t n = std::min<size_t>(m_strDescription.GetLength(), maxError - 1);
    std::memcpy(error, m_strDescription.GetString(), n);
    error[n] = '\0';
  }
  return !m_strDescription.IsEmpty();
}

void AfxThrowFileException(int cause, LONG osError, const char* fileName) {
  throw CFileException(cause, osError, fileName);
}
void AfxThrowArchiveException(int cause, const char* fileName) {
  throw CArchiveException(cause, fileName);
}
void AfxThrowMemoryException() { throw CMemoryException(); }
void AfxThrowNotSupportedException() { throw CNotSupportedException(); }
void AfxThrowInvalidArgException() { throw CInvalidArgException(); }

int CFileException::ErrnoToException(int err) { return zel_posix::FileCauseFromErrno(err); }
