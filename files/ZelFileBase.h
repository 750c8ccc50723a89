/// \class CZelFileBase
/// What the text and binary files share: the file specification they are opened on, the
/// reason of the last failed open, whether the last open was for reading, and the
/// reporting of exceptions in the library's words.
#pragma once

#include "files/ZelFileSpec.h"

class CZelFileBase {
 public:
  void SetFileSpec(const CZelDirSpec& dir, const char* name, int type) {
    m_fileSpec.SetSpec(dir, name, type);
  }
  void SetFileSpec(const char* path, int type) { m_fileSpec.SetSpec(path, type); }
  void SetFileSpec(const CZelFileSpec& spec) { m_fileSpec.SetSpec(spec); }
  void ClearFileSpec() { m_fileSpec.ClearSpec(); }
  const CZelFileSpec& GetFileSpec() const { return m_fileSpec; }
  operator const CZelFileSpec&() const { return m_fileSpec; }
  int IsFileSpecSet() const { return m_fileSpec.IsSpecSet(); }
  CString GetTitle() const { return m_fileSpec.GetTitle(); }
  int GetType() const { return m_fileSpec.GetType(); }
  void Remove() const { m_fileSpec.RemoveFile(); }
  int Exists() const { return m_fileSpec.FileExists(); }
  int GetLastModificationTime(CTime& when) const {
    return m_fileSpec.GetFileLastModificationTime(when);
  }

  /// The choosers of the file's specification, with no all-label and no owner window.
  int ChooseInput(const int* types, int count, const char* title) {
    return m_fileSpec.ChooseInput(types, count, title, nullptr);
  }
  int ChooseInput(int type, const char* title) { return m_fileSpec.ChooseInput(type, title); }
  int ChooseOutput(const int* types, int count, const char* title) {
    return m_fileSpec.ChooseOutput(types, count, title);
  }
  int ChooseOutput(int type, const char* title) { return m_fileSpec.ChooseOutput(type, title); }
  int ChooseAppend(const int* types, int count, const char* title) {
    return m_fileSpec.ChooseAppend(types, count, title);
  }
  int ChooseAppend(int type, const char* title) { return m_fileSpec.ChooseAppend(type, title); }

  /// Report the last failed open, or e, naming this file, reading or writing as last opened.
  void ReportException() { ReportException(&m_lastError); }
  void ReportException(CException* e) { m_fileSpec.ReportException(e, m_inputFlag, 1); }
  void ReportRemoteException() { ReportException(); }
  /// A hook for diagnostics; writes nothing.
  void TraceException(CException*) {}

  const CFileException& GetLastError() const { return m_lastError; }

 protected:
  CZelFileBase() = default;
  explicit CZelFileBase(const CZelFileSpec& spec) : m_fileSpec(spec) {}
  CZelFileBase(const CZelDirSpec& dir, const char* name, int type) : m_fileSpec(dir, name, type) {}

  /// Runs close; an exception that escapes it is reported when asked, else traced.
  template <typename Close>
  void SafeCloseWith(Close&& close, int report) {
    try {
      close();
    } catch (CException& e) {
      if (report)
        ReportException(&e);
      else
        TraceException(&e);
    }
  }

  CZelFileSpec m_fileSpec;
  CFileException m_lastError{CFileException::none, -1, nullptr};
  int m_inputFlag = 0;
};
