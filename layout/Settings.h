// The settings functions: the application's own store (Zel...) and the suite-wide store
// shared by all programs of the suite (Qlli...), both reached through the application
// object, and the machine-wide installation key naming the executables' folder.
// Integers are stored as decimal text and read back with atoi's rules.
#pragma once

#include "platform/base/string/String.h"

unsigned int ZelGetProfileInt(const char* section, const char* entry, int def);
// The stored text, or def (the empty text for a null def).
CString ZelGetProfileString(const char* section, const char* entry, const char* def);
// Non-zero on success.
int ZelWriteProfileInt(const char* section, const char* entry, int value);
// One character: code 1 on success, 0 on failure.
CString ZelWriteProfileString(const char* section, const char* entry, const char* value);

unsigned int QlliGetProfileInt(const char* section, const char* entry, int def);
CString QlliGetProfileString(const char* section, const char* entry, const char* def);
int QlliWriteProfileInt(const char* section, const char* entry, int value);
CString QlliWriteProfileString(const char* section, const char* entry, const char* value);
// Writes count bytes of data as a binary value; non-zero on success.
int QlliWriteProfileBinary(const char* section, const char* entry, unsigned char* data,
                           unsigned int count);
// Reads a binary value into a block the caller frees with delete[]: data points to a
// pointer-sized slot that receives the block's address. Non-zero when read.
int QlliGetProfileBinary(const char* section, const char* entry, unsigned char* data,
                         unsigned int count);

// Where each store keeps its entries, for people: a hive key with its file, or a profile
// file's path.
CString ZelGetProfileLocation();
CString QlliGetProfileLocation();

// The "exedir" value of the installation key into dir, or def when the key or the value
// cannot be read; 0 on success, else the registry's error code.
long ZelGetLocalExeDir(CString& dir, const char* def);
