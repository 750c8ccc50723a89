/// \file
/// Status messages: the library reports progress ("Line %ld", "Item %ld") by formatting
/// into one process-wide buffer and passing it to the status hook. The hook discards the
/// message unless the host installs its own.
#pragma once
#include "ZelExport.h"

using ZelStatusHook = void (*)(const char* message);

/// Formats like sprintf into the 120-byte status buffer (longer messages are cut to 119
/// characters) and passes it to StatusMessage.
ZEL_API void FormatStatusMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
/// The status hook.
ZEL_API void StatusMessage(const char* message);
/// Installs the host's hook (null: discard); answers the previous one.
ZEL_API ZelStatusHook SetStatusMessageHook(ZelStatusHook hook);
/// The last formatted message.
ZEL_API const char* GetStatusMessageBuffer();
