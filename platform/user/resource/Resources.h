/// \file
/// The resources an application registers: toolbar bitmaps (PNG), toolbar records and
/// accelerator tables, in one process-wide table keyed by type and id. (Texts are the
/// string resources of platform/base/string/StringResources.h.) On this platform nothing is
/// compiled into the binary: the host registers its resources at start-up.
/// Usage:
/// ```
///   AfxSetBitmapResource(IDR_MAINFRAME, pngBytes);
///   const UINT ids[] = {ID_FILE_OPEN, 0, ID_EDIT_COPY};
///   AfxSetToolbarResource(IDR_MAINFRAME, 16, 15, ids, 3);
///   const ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'O', ID_FILE_OPEN}};
///   AfxSetAcceleratorResource(IDR_MAINFRAME, keys, 1);
/// ```
#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"

/// Resource types.
enum : UINT { RT_BITMAP = 2, RT_ACCELERATOR = 9, RT_TOOLBAR = 241 };

/// Accelerator entries: a flags byte, the key, the command.
enum : BYTE { FVIRTKEY = 0x01, FNOINVERT = 0x02, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10 };
/// One accelerator: flags, key and command.
struct ACCEL {
  BYTE fVirt = 0;
  WORD key = 0;
  WORD cmd = 0;
};

/// Adds or replaces a resource's bytes; empty bytes remove it.
ZEL_API void AfxSetResource(UINT type, UINT id, const std::string& bytes);
/// The bytes of a resource; false when there is none.
ZEL_API bool AfxFindResource(UINT type, UINT id, std::string& bytes);

/// A toolbar bitmap: the bytes of a PNG file, its alpha channel the mask. Checked only
/// when loaded: a damaged one loads as no bitmap.
ZEL_API void AfxSetBitmapResource(UINT id, const std::string& png);
/// The same from a file; the reason when it cannot be read.
ZEL_API std::error_code AfxSetBitmapResourceFile(UINT id, const char* path);
/// A toolbar record, kept in the platform's form: 16-bit words of version (1), image width,
/// image height, count, then count command ids (0 for a separator).
ZEL_API void AfxSetToolbarResource(UINT id, int width, int height, const UINT* ids, int count);
/// Registers the accelerator table of the resource id.
ZEL_API void AfxSetAcceleratorResource(UINT id, const ACCEL* entries, int count);

/// The bitmap of a resource (null when missing or damaged), a new handle each time; the
/// caller deletes it (DeleteBitmap). With module null and id OBM_CHECK: the system check
/// mark, shared, not to be deleted.
ZEL_API HBITMAP LoadBitmap(HINSTANCE module, UINT id);
/// LoadBitmap with the classic button colours mapped to the system's: black to
/// COLOR_BTNTEXT, dark grey (128) to COLOR_BTNSHADOW, light grey (192) to COLOR_BTNFACE,
/// white to COLOR_BTNHIGHLIGHT, alpha kept.
ZEL_API HBITMAP LoadSysColorBitmap(UINT id);

/// The accelerator table of a resource; the same handle for every load of the same id
/// until it is destroyed. Null when there is none.
///@{
ZEL_API HACCEL LoadAccelerators(HINSTANCE module, UINT id);
ZEL_API HACCEL CreateAcceleratorTable(const ACCEL* entries, int count);
ZEL_API BOOL DestroyAcceleratorTable(HACCEL table);
///@}
/// Copies at most count entries (all of them for a null buffer answers their number).
ZEL_API int CopyAcceleratorTable(HACCEL table, ACCEL* entries, int count);
