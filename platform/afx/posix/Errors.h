// The one place where errno values become the file exception causes of the class library.
#pragma once

#include <cerrno>

#include "platform/afx/Exceptions.h"

namespace zel_posix {

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

}  // namespace zel_posix
