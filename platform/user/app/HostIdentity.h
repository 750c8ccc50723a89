/// \file
/// Who the host is, as the suite's files and registrations name it: the automation service
/// name and the system type. Kept below the files layer, which registers the service name
/// with the shell and picks file name rules by system type.
#pragma once

#include "ZelExport.h"
#include "platform/base/string/String.h"
#include "platform/os/host/Host.h"

/// The automation service name, computed on the first call from the application's
/// "Automation" settings and kept for the life of the process (at most 100 characters).
ZEL_API CString ZelGetDDEServerName();
/// Platform code 1 (oldest), 2 (the 95 family) or 3 (the NT family, and the default), with
/// the version numbers and a description.
ZEL_API int GetZelSystemType(long& major, long& minor, long& build, CString& description);
/// The system type worked out from given version facts, so that every branch can be
/// exercised whatever system runs the tests. version: the version record, or null when it
/// cannot be had; packed: the packed version number used then (major in the lowest byte,
/// minor in the next, top bit for the oldest).
ZEL_API int ZelSystemTypeFrom(const ZelOsVersion* version, DWORD packed, long& major, long& minor,
                              long& build, CString& description);
