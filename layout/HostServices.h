/// \file
/// Facts about the host process and the machine, and small services around them: the
/// automation service name, the system type, the remote tools switch, clipboard text,
/// path splitting and module file names.
#pragma once

#include "ZelExport.h"
#include "files/ZelFileSpec.h"
#include "platform/base/string/String.h"
#include "platform/user/app/HostIdentity.h"
#include "platform/user/framework/Wnd.h"

/// True unless the machine-wide "RemoteTools" switch says otherwise.
ZEL_API bool isCrvnWebAccessEbanled();
/// Non-zero when the text was put on the clipboard; failures are shown to the user.
ZEL_API int ZelCopyTextToClipboard(CWnd* owner, const char* text);
/// The clipboard's text into file; the number of bytes written, 0 when none.
ZEL_API unsigned long ZelSaveClipboardTextToFile(CWnd* owner, const CZelFileSpec& file);
/// The full path of the module's file; a null module gives the program's own file.
ZEL_API CString ModuleFileName(HINSTANCE module);
/// The text after the last "\" or "/"; the whole text when there is neither.
ZEL_API CString ExtractFileName(const char* path);
/// The path less its file name and the separator before it; empty when nothing is left.
ZEL_API CString ExtractFileDirectory(const char* path);
/// Records the host program's application code (1 until a host sets it).
ZEL_API void SetApplicationCode(int code);
/// The first-run update step: nothing to do; true.
ZEL_API bool FirstTimeUpdate();
