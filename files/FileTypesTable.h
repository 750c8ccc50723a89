/// \file
/// The suite's file types table: each file type id with its description, extension,
/// dialog pattern, Mac codes and shell registration data. One process-wide table,
/// `_FileTypesTable`, holds the 78 default rows from start-up; applications may add rows.
/// Every look-up of an unknown id, extension or code pair answers the first row (id 0).
#pragma once

#include <vector>

#include "ZelExport.h"
#include "files/FileTypeIds.h"
#include "platform/base/string/String.h"

/// Members left out of an initializer are null or 0.
struct FTTENTRY {
  int id = 0;
  const char* description = nullptr;  ///< may be null
  const char* extension = nullptr;    ///< with its full stop; may be ""
  const char* filter = nullptr;       ///< own dialog pattern list; may be null
  int byExtension = 0;                ///< recognised by extension
  const char* shellClass = nullptr;   ///< may be null
  const char* shellDescription = nullptr;
  int iconIndex = 0;                 ///< 0 = none
  const char* formatName = nullptr;  ///< may be null
  const char* macType = nullptr;     ///< four-character code, as text
  const char* macCreator = nullptr;
  int byMacCodes = 0;  ///< recognised by Mac codes
  int appCode = 0;
  const char* openSwitch = nullptr;  ///< may be null

  /// Rows are the same row when their ids are.
  friend bool operator==(const FTTENTRY& a, const FTTENTRY& b) { return a.id == b.id; }
  friend bool operator!=(const FTTENTRY& a, const FTTENTRY& b) { return a.id != b.id; }
};

/// The first four bytes of a code's text read as a little-endian 32-bit number.
ZEL_API uint32_t ZelMacCodeFromText(const char* code);

/// Holds pointers to rows it does not own: registered rows must outlive their registration.
class ZEL_API FileTypesTable {
 public:
  /// Filled with the default rows.
  FileTypesTable();
  FileTypesTable(const FileTypesTable&) = default;
  FileTypesTable& operator=(const FileTypesTable&) = default;

  const FTTENTRY* FindFileTypeEntry(int id) const;
  /// Among rows recognised by extension; the extension includes its full stop; case ignored.
  const FTTENTRY* FindFileTypeEntry(const char* extension) const;
  /// The first row with both codes; answered only when it is recognised by Mac codes.
  const FTTENTRY* FindFileTypeEntry(unsigned long macType, unsigned long macCreator) const;

  /// Replaces the row of the same id (which goes) by appending row at the end.
  void RegisterFileTypeEntry(FTTENTRY* row);
  void RegisterFileTypeEntry(FTTENTRY* rows, int count);
  void UnregisterFileTypeEntry(int id);
  /// Appends the default rows without looking for ids already present.
  void RegisterDefaultFileTypeEntries();

  const std::vector<FTTENTRY*>& Rows() const { return m_rows; }

 private:
  const FTTENTRY* First() const { return m_rows.empty() ? nullptr : m_rows.front(); }
  std::vector<FTTENTRY*> m_rows;
};

extern ZEL_API FileTypesTable _FileTypesTable;

/// A file-dialog filter for ids ended by 0 ("Description (*.ext)|*.ext|...").
ZEL_API CString ZelMakeFilterString(const int* ids, int noAllFiles);
