// CWinApp: the application object: its name, executable, settings key and main window.
// The host makes one; until it does, a default one named after the library answers.
#pragma once

#include "platform/afx/Object.h"
#include "platform/afx/String.h"
#include "platform/afx/Wnd.h"

class CWinApp : public CObject {
  DECLARE_DYNAMIC(CWinApp)
 public:
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  CString m_strAppName;      // shown as the caption of message boxes
  CString m_strExeName;      // the executable's name without extension
  CString m_strExePath;      // the executable's full path
  CString m_strRegistryKey;  // when set, profile calls go to the registry store
  CString m_strProfileName;  // the profile file's name or path
  CWnd* m_pMainWnd = nullptr;

 private:
  CWinApp* m_previous;
};

// The most recently constructed application object still alive, else the default one.
CWinApp* AfxGetApp();
const char* AfxGetAppName();
