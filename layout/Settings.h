/// \file
/// The settings functions: the application's own store (Zel...) and the suite-wide store
/// shared by all programs of the suite (Qlli...), both reached through the application
/// object, and the machine-wide installation key naming the executables' folder.
/// Integers are stored as decimal text and read back with atoi's rules.
#pragma once

#include "ZelExport.h"
#include "platform/base/string/String.h"

/// The entry's integer in the application's own store, or def when it is missing.
ZEL_API unsigned int ZelGetProfileInt(const char* section, const char* entry, int def);
/// The stored text, or def (the empty text for a null def).
ZEL_API CString ZelGetProfileString(const char* section, const char* entry, const char* def);
/// Non-zero on success.
ZEL_API int ZelWriteProfileInt(const char* section, const char* entry, int value);
/// One character: code 1 on success, 0 on failure.
ZEL_API CString ZelWriteProfileString(const char* section, const char* entry, const char* value);

/// The suite-wide store's entries, read and written as the application's own are.
///@{
ZEL_API unsigned int QlliGetProfileInt(const char* section, const char* entry, int def);
ZEL_API CString QlliGetProfileString(const char* section, const char* entry, const char* def);
ZEL_API int QlliWriteProfileInt(const char* section, const char* entry, int value);
ZEL_API CString QlliWriteProfileString(const char* section, const char* entry, const char* value);
///@}
/// Writes count bytes of data as a binary value; non-zero on success.
ZEL_API int QlliWriteProfileBinary(const char* section, const char* entry, unsigned char* data,
                                   unsigned int count);
/// Reads a binary value into a block the caller frees with delete[]: data points to a
/// pointer-sized slot that receives the block's address. Non-zero when read.
ZEL_API int QlliGetProfileBinary(const char* section, const char* entry, unsigned char* data,
                                 unsigned int count);

/// Where each store keeps its entries, for people: a hive key with its file, or a profile
/// file's path.
ZEL_API CString ZelGetProfileLocation();
/// Where the suite-wide store keeps its entries, for people.
ZEL_API CString QlliGetProfileLocation();

/// The "exedir" value of the installation key into dir, or def when the key or the value
/// cannot be read; 0 on success, else the registry's error code.
ZEL_API long ZelGetLocalExeDir(CString& dir, const char* def);
