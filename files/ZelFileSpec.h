/// CZelFileSpec: a file as a value: a set flag, its full path, the suite's file type id and
/// the Macintosh type and creator codes ("????" when unset). Nothing here throws.
#pragma once

#include "ZelExport.h"
#include "files/ZelDirSpec.h"
#include "platform/base/collections/Collections.h"
#include "platform/base/exceptions/Exceptions.h"
#include "platform/base/time/Time.h"

class ZEL_API CZelFileSpec : public CObject {
  DECLARE_SERIAL(CZelFileSpec)
 public:
  static constexpr uint32_t kUnsetMacCode = 0x3F3F3F3F;  ///< "????"

  CZelFileSpec();
  CZelFileSpec(const CZelFileSpec& other);
  CZelFileSpec(const CZelDirSpec& dir, const char* name, int type);
  CZelFileSpec(const char* path, int type);
  CZelFileSpec& operator=(const CZelFileSpec& other);

  /// dir + separator + name + the type's extension; only when dir is set and name given.
  void SetSpec(const CZelDirSpec& dir, const char* name, int type);
  /// dir + separator + name, type 0; the codes are ignored and the stored ones kept.
  void SetSpec(const CZelDirSpec& dir, const char* name, unsigned long macType,
               unsigned long macCreator);
  void SetSpec(const char* path, int type);
  void SetSpec(const CZelFileSpec& other);
  void SetSpecWin(const char* path);
  void SetSpecMac(const char* path, unsigned long macType, unsigned long macCreator);
  /// Unconditional forms: fileName is the whole file name, extension included.
  void ReconstructSpec(const CZelDirSpec& dir, const char* fileName, int type);
  void ReconstructSpec(const char* path, int type);
  void ClearSpec();
  void AssignMacFileAttributes() {}

  int IsSpecSet() const { return m_isSet; }
  const char* GetPath() const { return m_path; }
  int GetType() const { return m_type; }
  uint32_t GetMacType() const { return m_macType; }
  uint32_t GetMacCreator() const { return m_macCreator; }

  CString GetFilePath() const { return m_path; }
  CString GetTitle() const;
  CString GetFileName() const;
  CString GetName() const;
  CZelDirSpec GetDirectory() const;

  int FileExists() const;
  int IsFolder() const;
  static int IsFolder(const CString& path);
  int GetFileLastModificationTime(CTime& when) const;

  /// Deletes the file; a failure is shown to the user, never thrown.
  void RemoveFile() const;
  static void GetAllFilesInFolder(const CString& folder, CStringList& out, int recursive);

  /// from's path with its extension replaced by type's.
  void DeriveSpec(const CZelFileSpec& from, int type);

  /// Shows the message for a caught file or archive exception, naming this file.
  void ReportException(CException* e, int reading, int show) const;
  /// The text ReportException shows (empty when none).
  CString FormatExceptionMessage(CException* e, int reading) const;

  /// Recognises the type of an existing file from its extension, name and content.
  int GuessExistingFileSpecGivenPath(const char* path);

  /// Let the user pick a file in the open dialog (input) or the save dialog (output,
  /// append), offering the listed file types as the dialog's filter; 1 and this object set
  /// to the chosen path and its type, or 0 when cancelled and the object unchanged. allLabel
  /// (input only) names a first filter item offering all listed types at once.
  int ChooseInput(const int* types, int count, const char* title, const char* allLabel = nullptr);
  int ChooseInput(int type, const char* title);
  int ChooseOutput(const int* types, int count, const char* title, HWND parent = HWND());
  int ChooseOutput(int type, const char* title);
  int ChooseAppend(const int* types, int count, const char* title);
  int ChooseAppend(int type, const char* title);
  /// Owned by parent, else by the application's main window.
  int ChooseSpec(CTYPE mode, const int* types, int count, const char* title, const char* allLabel,
                 HWND parent);
  /// Starts in the folder remembered in the profile (section "Directories", key folderKey
  /// or "Default") and remembers the chosen file's folder there.
  int ChooseSpecEx(CTYPE mode, const int* types, int count, const char* title, const char* allLabel,
                   const char* folderKey);

  /// Safe, optionally unique, names made from free text.
  int GenerateSpec(const CZelDirSpec& dir, const char* name, int type, int flags);
  int SuggestSpec(const CZelDirSpec& dir, const char* name, int type);
  int SuggestShortcutSpec(const CZelDirSpec& dir, const char* name, int type);

  /// Archive members.
  using CObject::Serialize;
  void Serialize(CZelArchive& ar);
  static void _zel_serialize(CZelFileSpec* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;

 private:
  int32_t m_isSet;
  CString m_path;
  int32_t m_type;
  uint32_t m_macType;
  uint32_t m_macCreator;
};

/// The text a file or archive failure is told in, naming the file name (empty when the
/// exception tells no failure). CZelFileSpec::FormatExceptionMessage names the file's title.
ZEL_API CString ZelExceptionText(CException* e, int reading, const char* name);

/// Whether two file specs are the same: set flag, path, type and codes.
///@{
ZEL_API int operator==(const CZelFileSpec& a, const CZelFileSpec& b);
ZEL_API int operator!=(const CZelFileSpec& a, const CZelFileSpec& b);
///@}
/// A copy of spec with its extension replaced by type's.
ZEL_API CZelFileSpec ChangeFileType(const CZelFileSpec& spec, int type);
