/// \file
/// The registry store: three hives (class root, per-user, machine-wide) of keys holding
/// named values, each hive one human-readable text file under the state root:
///   classes  `<state>/registry/classes.reg`
///   user     `<state>/registry/user.reg`
///   machine  `<machine state>/registry/machine.reg`
/// Key and value names compare without regard to ASCII case and keep the spelling they
/// were created with. Key paths separate levels with "\", at most 512 of them (a deeper
/// path is refused, a deeper key in a file is damage); a null or empty value name is the
/// key's default value. Every change is one locked, atomic update of the hive file
/// (platform/state), so concurrent writers of different entries keep each other's work.
/// Results are the platform's error codes: ERROR_SUCCESS (0) or the reason.
#pragma once

#include <string>
#include <vector>

#include "ZelExport.h"
#include "platform/base/string/String.h"
#include "platform/base/types/WinTypes.h"

enum : LONG {
  ERROR_SUCCESS = 0,
  ERROR_FILE_NOT_FOUND = 2,
  ERROR_PATH_NOT_FOUND = 3,
  ERROR_ACCESS_DENIED = 5,
  ERROR_INVALID_DATA = 13,
  ERROR_WRITE_FAULT = 29,
  ERROR_GEN_FAILURE = 31,
  ERROR_INVALID_PARAMETER = 87,
  ERROR_DISK_FULL = 112,
  ERROR_MORE_DATA = 234,
};

enum : DWORD { REG_NONE = 0, REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4 };

enum class ZelHive { ClassesRoot, CurrentUser, LocalMachine };

/// A value of a key: its type and its data.
struct ZelRegValue {
  DWORD type = REG_SZ;
  std::string data;  ///< the text (REG_SZ), the bytes (REG_BINARY)
  DWORD number = 0;  ///< REG_DWORD
};

namespace zel_registry {

/// The hive's file.
ZEL_API CString HivePath(ZelHive hive);
/// "HKEY_CLASSES_ROOT" and so on, for display.
ZEL_API const char* HiveName(ZelHive hive);

/// ERROR_SUCCESS when the key exists, else ERROR_FILE_NOT_FOUND.
ZEL_API LONG OpenKey(ZelHive hive, const char* key);
/// ERROR_FILE_NOT_FOUND when the key or the value does not exist.
ZEL_API LONG QueryValue(ZelHive hive, const char* key, const char* name, ZelRegValue& value);
/// A REG_SZ value's text (a REG_DWORD gives its decimal text).
ZEL_API LONG QueryString(ZelHive hive, const char* key, const char* name, CString& text);

/// Creates the key and the levels above it.
ZEL_API LONG CreateKey(ZelHive hive, const char* key);
/// Creates the key as needed and sets the value.
///@{
ZEL_API LONG SetValue(ZelHive hive, const char* key, const char* name, const ZelRegValue& value);
ZEL_API LONG SetString(ZelHive hive, const char* key, const char* name, const char* text);
///@}
/// Deletes the key with its values and every key below it.
ZEL_API LONG DeleteKey(ZelHive hive, const char* key);
/// Deletes one value of the key.
ZEL_API LONG DeleteValue(ZelHive hive, const char* key, const char* name);

/// The key's subkey names and its values (the default value has the empty name), each in
/// the order of their folded names.
struct KeyListing {
  std::vector<CString> subkeys;
  std::vector<std::pair<CString, ZelRegValue>> values;
};
/// Lists the key's subkeys and values.
ZEL_API LONG ListKey(ZelHive hive, const char* key, KeyListing& listing);

/// A change of a damaged hive (lines that cannot be read) first keeps the damaged original
/// as "<hive>.bad", or "<hive>.bad.<UTC time>" when an earlier copy is there; when it
/// cannot be kept (a full disk, a folder at that name) the change fails with the reason
/// and the hive stays as it is. The copies made since the last call (the files written),
/// so that a program can tell its user; reading empties the list.
ZEL_API std::vector<CString> TakeSetAsideHives();

}  // namespace zel_registry
