// The system type worked out from given version facts, so that every branch can be
// exercised whatever system runs the tests.
#pragma once

#include "platform/afx/String.h"
#include "platform/host/Host.h"

// version: the version record, or null when it cannot be had; packed: the packed version
// number used then (major in the lowest byte, minor in the next, top bit for the oldest).
int ZelSystemTypeFrom(const ZelOsVersion* version, DWORD packed, long& major, long& minor,
                      long& build, CString& description);
