/// \file
/// Profile files: INI-style text ("[section]" lines, then "key=value" lines), with the
/// platform's rules: section and key names compare without regard to ASCII case, names and
/// values are trimmed, a value enclosed in matching quotes loses them, the first match
/// wins. A write changes only the line it concerns (other sections, comments and even
/// damaged lines stay byte for byte) and is a locked, atomic update (platform/state).
/// A file name without a folder names a file in the profiles folder under the state root,
/// which plays the role of the platform's Windows directory.
#pragma once

#include <string>
#include <string_view>

#include "ZelExport.h"
#include "platform/base/string/String.h"
#include "platform/base/types/WinTypes.h"

/// `<state root>/profiles`.
ZEL_API CString ZelProfilesDir();

namespace zel_profile {

/// Where the profile file named file lives.
ZEL_API CString ResolvePath(const char* file);
/// True and the value when the entry exists.
ZEL_API bool ReadEntry(const char* file, const char* section, const char* key, CString& value);
/// The same look-up in a profile file's contents already in memory.
ZEL_API bool ReadEntryIn(std::string_view bytes, const char* section, const char* key,
                         CString& value);
/// Sets the entry (creating file and section as needed); a null value deletes the entry,
/// a null key the whole section. Values that the read rules would change (surrounding
/// blanks, enclosing quotes) are written quoted so that they read back unchanged. FALSE
/// when the file cannot be written, or for a name or value that a line cannot hold.
ZEL_API BOOL WriteEntry(const char* file, const char* section, const char* key, const char* value);
/// The same change made to a profile file's contents in memory; false (bytes unchanged)
/// for a name or value that a line cannot hold.
ZEL_API bool WriteEntryIn(std::string& bytes, const char* section, const char* key,
                          const char* value);

}  // namespace zel_profile

/// The platform's profile-file calls over the functions above.
/// The value (or the default less trailing blanks) into buf, cut to size - 1 characters;
/// answers the number of characters copied.
ZEL_API DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buf, DWORD size,
                                      LPCSTR file);
/// The value read as a decimal integer (sign allowed, anything else ends it); the default
/// when the entry is missing.
///@{
ZEL_API UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, int def, LPCSTR file);
ZEL_API BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);
///@}
/// The profiles folder into buf; answers its length, or the size needed (with the
/// terminator) when buf is too small.
ZEL_API UINT GetWindowsDirectory(LPSTR buf, UINT size);
