// The one place where the system's errno becomes an error code, and where an error code
// becomes a file exception cause of the class library. Platform services answer
// std::error_code; the class library's interfaces turn it into causes here.
#pragma once

#include <cerrno>
#include <system_error>

#include "platform/base/exceptions/Exceptions.h"

namespace zel_posix {

// The calling thread's errno, right after the call that failed.
inline std::error_code LastError() { return {errno, std::generic_category()}; }
inline std::error_code ErrorOf(int err) { return {err, std::generic_category()}; }

inline int FileCauseFromErrno(int err) {
  switch (err) {
    case 0:
      return CFileException::none;
    case ENOENT:
      return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return CFileException::badPath;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
    case ETXTBSY:
      return CFileException::accessDenied;
    case EMFILE:
    case ENFILE:
      return CFileException::tooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return CFileException::diskFull;
    case EIO:
      return CFileException::hardIO;
    case ESPIPE:
      return CFileException::badSeek;
    case EBADF:
      return CFileException::invalidFile;
    case EBUSY:
      return CFileException::sharingViolation;
    case EAGAIN:
      return CFileException::lockViolation;
    case ENOTEMPTY:
      return CFileException::removeCurrentDir;
    default:
      return CFileException::genericException;
  }
}

// The exception that reports ec for fileName.
inline CFileException FileExceptionOf(const std::error_code& ec, const char* fileName) {
  return CFileException(FileCauseFromErrno(ec.value()), ec.value(), fileName);
}

}  // namespace zel_posix
