/// Bitmaps: handles into one process-wide table of 32-bit images (0xAARRGGBB, not
/// premultiplied, rows top to bottom), for menu check marks and toolbar images. A stale
/// handle is detected (the calls answer FALSE), never used.
#pragma once

#include <cstdint>
#include <vector>

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"

/// The built-in bitmaps LoadBitmap gives without a module.
constexpr UINT OBM_CHECK = 32760;

/// A bitmap of width by height pixels copied from pixels (transparent when null); null for
/// a size below 1.
ZEL_API HBITMAP CreateBitmap32(int width, int height, const uint32_t* pixels);
/// Frees a bitmap; reads a bitmap's size.
///@{
ZEL_API BOOL DeleteBitmap(HBITMAP bitmap);
ZEL_API BOOL GetBitmapDimension(HBITMAP bitmap, SIZE* size);
///@}
/// The pixels, row by row.
ZEL_API BOOL GetBitmapPixels(HBITMAP bitmap, std::vector<uint32_t>& pixels);
/// Replaces every pixel (width * height of them).
ZEL_API BOOL SetBitmapPixels(HBITMAP bitmap, const uint32_t* pixels);
/// The system's check mark (OBM_CHECK): a black tick on transparent pixels, the size of
/// SM_CXMENUCHECK by SM_CYMENUCHECK, made on first use and shared.
ZEL_API HBITMAP SystemCheckBitmap();
