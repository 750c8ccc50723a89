/// \file
/// CToolDataBase, the common record of a tool, and CToolDataUnit, which reads it from any
/// of the four kinds of tool file and writes the library's own kind:
///
///   ".tq"  the library's tool file, an INI text with one section [ToolUnitShortcut]
///          (InputType, Target, Description, Command), read with the profile functions;
///   ".url" an Internet shortcut: the INI text [InternetShortcut] URL=..., and the
///          description in [Tessaly] Description=...;
///   ".lnk" a shell link, read from its binary format (platform/os/shell/ShellLink.h);
///   ".exe" a program, described by the product name of its version resource
///          (platform/os/shell/VersionResource.h).
///
/// Readers are tried in that order and the first that succeeds decides; a file that none
/// understands, damaged, truncated or hostile, is simply no tool.
#pragma once

#include <string>
#include <system_error>

#include "ZelExport.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"

class ZelByteSource;

/// A tool's definition: the input type it takes, its target, its prompt and its command line.
class ZEL_API CToolDataBase : public CObject {
  DECLARE_DYNAMIC(CToolDataBase)
 public:
  CToolDataBase() = default;
  ~CToolDataBase() override = default;
  CToolDataBase(const CToolDataBase&) = default;
  CToolDataBase& operator=(const CToolDataBase&) = default;

  int32_t m_inputType = 0;  ///< what the tool takes from the document, 0 to 50
  CString m_target;         ///< program, document, URL; may begin with "~..\" or "~"
  CString m_description;    ///< the status-bar prompt of the tool's menu item
  CString m_command;        ///< the command-line template, with %1 to %7
};

/// A tool definition read from a tool file of any of the four kinds, or written as the library's
/// own.
class ZEL_API CToolDataUnit : public CToolDataBase {
  DECLARE_DYNAMIC(CToolDataUnit)
 public:
  enum ProducedTypes : int32_t { none = 0, tq = 1, url = 2, lnk = 3, exe = 4 };

  /// INI-style tool files and shortcuts larger than this are not read as such.
  static constexpr uint64_t kMaxProfileBytes = 1 << 20;

  CToolDataUnit() = default;
  ~CToolDataUnit() override = default;
  CToolDataUnit(const CToolDataUnit&) = default;
  CToolDataUnit& operator=(const CToolDataUnit&) = default;
  /// A record of a tool's four fields alone, to be written as a tool file.
  static CToolDataUnit FieldsOf(const CToolDataBase& tool);

  /// Tries the readers in order (tool file, Internet shortcut, shell link, program). When
  /// none succeeds: target = path, the other fields empty, produced type 0, false.
  bool Read(const char* path);
  /// Writes the record as a tool file at GenerateOutputFileName(path, 0), as a whole: the
  /// file holds the old or the new contents, never a part. False when it could not be
  /// written (the platform's profile write answers no failure; this one does, so that
  /// nothing half-made is taken for a tool).
  bool Write(const char* path);
  /// The same, with the reason when the file could not be written: the old file at that
  /// name is not a regular file of its own (a link, a pipe), is too large to be a tool
  /// file, a value holds a line break, or the system's reason.
  std::error_code WriteToolFile(const char* path) const;

  /// The extension of path with its dot, as the platform's path splitting gives it.
  static CString GetExtension(const char* path);
  /// Drive, folder and base name of path, then n when above 0, then ".tq".
  static CString GenerateOutputFileName(const char* path, int n);

  ProducedTypes m_producedType = none;

 protected:
  bool ReadFromTQFile(const char* path);
  bool WriteToTQFile(const char* path);
  bool ReadFromURLFile(const char* path);
  bool ReadFromLNKFile(const char* path);
  bool ReadFromEXEFile(const char* path);

 private:
  /// The readers over a file already opened; text holds its bytes when it is small enough
  /// to be a profile file (else it is null).
  bool ReadTQ(const char* path, const std::string* text);
  bool ReadURL(const std::string* text);
  bool ReadLNK(const ZelByteSource& file);
  bool ReadEXE(const char* path, const ZelByteSource& file);
};

/// The title of a target without its location prefix: "~..\" (the executables' folder,
/// kind 1; "~../" too) or "~" (the tools folder, kind 2); kind 0 without a prefix. An
/// empty name gives an empty title and leaves *kind alone; kind may be null.
ZEL_API CString GetScriptTitle(CString& name, int* kind);
