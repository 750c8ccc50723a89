/// \file
/// Files dropped on windows: a window with WS_EX_ACCEPTFILES (DragAcceptFiles) takes files
/// the user drops on it or on one of its children that does not take them itself. It gets
/// WM_DROPFILES with an HDROP in wParam, asks it for the files and the point, and frees it
/// with DragFinish. Paths are the file system's bytes (UTF-8 on a Linux desktop).
/// Usage (in the window's WM_DROPFILES handling):
/// ```
///   HDROP drop{static_cast<uintptr_t>(wParam)};
///   const UINT count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
///   for (UINT i = 0; i < count; ++i) {
///     std::string path(DragQueryFile(drop, i, nullptr, 0), '\0');
///     DragQueryFile(drop, i, path.data(), static_cast<UINT>(path.size()) + 1);
///     Open(path);
///   }
///   DragFinish(drop);
/// ```
#pragma once

#include "ZelExport.h"
#include "platform/base/types/WinUser.h"

/// Sets or clears the window's WS_EX_ACCEPTFILES.
ZEL_API void DragAcceptFiles(HWND hwnd, BOOL accept);
/// file 0xFFFFFFFF: the number of files. A null buffer: the length of the file's path
/// (without its terminating zero). Otherwise copies at most size - 1 bytes and a zero and
/// answers the bytes copied. 0 for a stale drop or a file out of range.
ZEL_API UINT DragQueryFile(HDROP drop, UINT file, LPSTR buffer, UINT size);
/// The point of the drop in the client coordinates of the window that got it; TRUE when it
/// lies inside the client area.
ZEL_API BOOL DragQueryPoint(HDROP drop, POINT* point);
/// Frees the drop; its handle is stale afterwards.
ZEL_API void DragFinish(HDROP drop);
