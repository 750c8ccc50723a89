/// \class CWinApp
/// CWinApp: the application object: its name, executable, settings key and main window.
/// The host makes one; until it does, a default one named after the library answers.
#pragma once

#include "ZelExport.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"
#include "platform/user/framework/Wnd.h"

/// Help commands, with the platform's values.
enum : UINT { HELP_CONTEXT = 0x0001, HELP_CONTENTS = 0x0003, HELP_FINDER = 0x000B };

class ZEL_API CWinApp : public CObject {
  DECLARE_DYNAMIC(CWinApp)
 public:
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  /// The application's settings. With a registry key set they live in the per-user hive
  /// under `Software\<registry key>\<profile name>\<section>`; otherwise in the profile
  /// file named by the profile name (default "<exe name>.ini", in the profiles folder).
  /// Missing entries give the default; writes answer FALSE when the store cannot be
  /// written. A null value deletes the entry, a null entry the whole section.
  CString GetProfileString(const char* section, const char* entry, const char* def = nullptr);
  BOOL WriteProfileString(const char* section, const char* entry, const char* value);
  UINT GetProfileInt(const char* section, const char* entry, int def);
  BOOL WriteProfileInt(const char* section, const char* entry, int value);
  /// *data gets a block the caller frees with delete[]; FALSE (and null) when missing.
  BOOL GetProfileBinary(const char* section, const char* entry, BYTE** data, UINT* bytes);
  BOOL WriteProfileBinary(const char* section, const char* entry, const BYTE* data, UINT bytes);
  /// Sets the registry key; the profile name becomes the application's name.
  void SetRegistryKey(const char* key);
  /// Where the settings are kept, for people: a hive key or a file path.
  CString GetProfileLocation() const;

  /// The application's help, for a context id (HELP_CONTEXT) or its contents. A host shows
  /// its own help by overriding this; the default hands the help file (m_strHelpFilePath),
  /// when one is named, to the desktop's opener, which knows no contexts.
  virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);

  CString m_strAppName;      ///< shown as the caption of message boxes
  CString m_strExeName;      ///< the executable's name without extension
  CString m_strExePath;      ///< the executable's full path
  CString m_strRegistryKey;  ///< when set, profile calls go to the registry store
  CString m_strProfileName;  ///< the profile file's name or path
  CString m_strHelpFilePath;
  CWnd* m_pMainWnd = nullptr;

 private:
  CWinApp* m_previous;
};

/// The most recently constructed application object still alive, else the default one.
ZEL_API CWinApp* AfxGetApp();
/// The application's name.
ZEL_API const char* AfxGetAppName();
/// The calling thread's main window when it has one of its own, else the application's.
ZEL_API CWnd* AfxGetMainWnd();
/// Gives the calling thread a main window of its own (null: the application's again).
ZEL_API void AfxSetThreadMainWnd(CWnd* wnd);
