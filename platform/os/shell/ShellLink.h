/// \file
/// Shell links (".lnk") read from the published binary format, never through a shell: the
/// header, the link flags, the target ID list (skipped), the link info and the string data.
/// Every offset and size is checked against the file, and no string may be longer than
/// 32,767 characters; a file that breaks any rule is not a shell link.
#pragma once

#include "ZelExport.h"
#include "platform/base/string/String.h"
#include "platform/os/shell/ByteSource.h"

/// What a shell link says of its target: description, paths, working folder and arguments.
struct ZelShellLink {
  CString description;   ///< the NAME_STRING
  CString relativePath;  ///< RELATIVE_PATH
  CString workingDir;    ///< WORKING_DIR
  CString arguments;     ///< COMMAND_LINE_ARGUMENTS
  CString localPath;     ///< local base path followed by the common path suffix
  CString networkPath;   ///< network share name, '\' and the common path suffix
  /// The target's path as the link service gives it with UNC priority: the network form
  /// when the link has one, else the local form; empty when the target lives only in the
  /// ID list.
  CString Path() const { return networkPath.IsEmpty() ? localPath : networkPath; }
};

/// Fills link from source; false when the bytes are not a well-formed shell link. Texts
/// stored as UTF-16 become Windows-1252 ('?' for what it cannot hold).
ZEL_API bool ZelReadShellLink(const ZelByteSource& source, ZelShellLink& link);

/// Link flags and link info flags of the format, for writers and tests.
enum : uint32_t {
  ZEL_SLF_HAS_ID_LIST = 0x1,
  ZEL_SLF_HAS_LINK_INFO = 0x2,
  ZEL_SLF_HAS_NAME = 0x4,
  ZEL_SLF_HAS_RELATIVE_PATH = 0x8,
  ZEL_SLF_HAS_WORKING_DIR = 0x10,
  ZEL_SLF_HAS_ARGUMENTS = 0x20,
  ZEL_SLF_HAS_ICON_LOCATION = 0x40,
  ZEL_SLF_IS_UNICODE = 0x80,
  ZEL_SLF_FORCE_NO_LINK_INFO = 0x100,
  ZEL_LIF_VOLUME_AND_LOCAL_PATH = 0x1,
  ZEL_LIF_NETWORK_AND_SUFFIX = 0x2,
};
