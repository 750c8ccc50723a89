/// \file
/// The class library's exceptions, with its cause numbers. They are thrown by value and
/// caught by reference; code that hands a CException* on takes the caught object's address.
#pragma once

#include "ZelExport.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"

/// The base of the class library's exceptions.
class ZEL_API CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  CException() = default;
  /// Kept for callers written against heap-allocated exceptions; ours live on the stack.
  void Delete() {}

  /// The exception's own description, for a host's log: copies m_strDescription into error
  /// (at most maxError bytes with the terminating zero, a longer text cut) and answers TRUE;
  /// with no description, error is emptied and the answer is FALSE. The message a user sees
  /// is made from the cause; this says what the cause cannot.
  /// There are no help contexts: *helpContext becomes 0.
  virtual BOOL GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext = nullptr) const;

  /// What went wrong in words and, where the thrower knows it, what fixes it (an archive
  /// naming a class that is not registered, and the registration it needs). Often empty.
  CString m_strDescription;

 protected:
  explicit CException(const char* description) : m_strDescription(description) {}
};

/// A file failure: its cause, the system's error number and the file's name.
class ZEL_API CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
  };
  explicit CFileException(int cause = none, LONG osError = -1, const char* fileName = nullptr)
      : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

  /// The cause that a system error number stands for (0: none).
  static int ErrnoToException(int err);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

/// An archive failure: its cause and the file's name.
class ZEL_API CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
 public:
  enum {
    none = 0,
    genericException = 1,
    readOnly = 2,
    endOfFile = 3,
    writeOnly = 4,
    badIndex = 5,
    badClass = 6,
    badSchema = 7,
  };
  explicit CArchiveException(int cause = none, const char* fileName = nullptr,
                             const char* description = nullptr)
      : CException(description), m_cause(cause), m_strFileName(fileName) {}

  int m_cause;
  CString m_strFileName;
};

/// Memory ran out.
class ZEL_API CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
};

/// The object does not support the call.
class ZEL_API CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)
};

/// An argument out of its range.
class ZEL_API CInvalidArgException : public CException {
  DECLARE_DYNAMIC(CInvalidArgException)
};

/// Throws the exception of the kind named, by value.
///@{
[[noreturn]] ZEL_API void AfxThrowFileException(int cause, LONG osError = -1,
                                                const char* fileName = nullptr);
[[noreturn]] ZEL_API void AfxThrowArchiveException(int cause, const char* fileName = nullptr);
[[noreturn]] ZEL_API void AfxThrowMemoryException();
[[noreturn]] ZEL_API void AfxThrowNotSupportedException();
[[noreturn]] ZEL_API void AfxThrowInvalidArgException();
///@}
