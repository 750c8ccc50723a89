/// \class CZelDirSpec
/// CZelDirSpec: a directory as a value: a set flag, a path without trailing separator, and
/// the Macintosh volume and directory ids (stored and archived, never used for access).
/// Nothing here throws; file-system failures answer 0.
#pragma once

#include "ZelExport.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"

class CZelArchive;
struct ZEL_RTTI_LINK;

/// What an interactive chooser picks for: reading, writing, or appending (a directory
/// chooser takes appending as reading).
enum CTYPE { CTYPE_INPUT = 0, CTYPE_OUTPUT = 1, CTYPE_APPEND = 2 };

class ZEL_API CZelDirSpec : public CObject {
  DECLARE_SERIAL(CZelDirSpec)
 public:
  CZelDirSpec();
  CZelDirSpec(const CZelDirSpec& other);
  CZelDirSpec(const CZelDirSpec& dir, const char* name);
  CZelDirSpec(const char* path);
  CZelDirSpec& operator=(const CZelDirSpec& other);
  CZelDirSpec& operator+=(const char* name);

  /// Stores path less one trailing separator; both Mac ids 0; set.
  void SetSpecWin(const char* path);
  /// Stores path unchanged (empty when null) and both ids; set.
  void SetSpecMac(short volId, long dirId, const char* path);
  /// Copies a set folder; an unset one leaves this unchanged.
  void SetSpec(const CZelDirSpec& other);
  void SetSpec(const CZelDirSpec& other, const char* name);
  void ClearSpec();
  /// Appends a separator (unless the path is empty or ends with one) and name; only when set.
  void ChDir(const char* name);

  int IsSpecSet() const { return m_isSet; }
  const char* GetPath() const { return m_path; }
  short GetMacVolId() const { return m_macVolId; }
  int32_t GetMacDirId() const { return m_macDirId; }
  /// The path, with a separator appended to an empty path or a bare drive ("C:").
  CString GetTitle() const;

  int DirExists() const;
  int SubdirExists(const char* name) const;
  /// Creates one level; 1 when it exists or was made.
  int MakeSubdir(const char* name) const;
  /// Not available: says so in a message box and answers 0.
  int RemoveSubdir(const char* name) const;

  /// Lets the user choose a folder, starting at this one when it is set; output mode lets
  /// the user make folders. 1 and the folder taken (SetSpecWin), or 0 when cancelled and
  /// this unchanged.
  int ChooseSpec(CTYPE mode, const char* title);
  int ChooseInput(const char* title) { return ChooseSpec(CTYPE_INPUT, title); }
  int ChooseOutput(const char* title) { return ChooseSpec(CTYPE_OUTPUT, title); }

  /// Deletes the directory's data files; always 1.
  int EmptyDir() const;
  int EmptySubdir(const char* name) const;

  /// Archive members.
  using CObject::Serialize;
  void Serialize(CZelArchive& ar);
  static void _zel_serialize(CZelDirSpec* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;

 private:
  int32_t m_isSet;
  CString m_path;
  short m_macVolId;
  int32_t m_macDirId;
};

/// The folder's spec for the child folder name.
ZEL_API CZelDirSpec operator+(const CZelDirSpec& dir, const char* name);
/// Whether two folder specs are the same: both unset, or both set to the same path.
///@{
ZEL_API int operator==(const CZelDirSpec& a, const CZelDirSpec& b);
ZEL_API int operator!=(const CZelDirSpec& a, const CZelDirSpec& b);
///@}
