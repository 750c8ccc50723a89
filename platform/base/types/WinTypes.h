/// \file
/// The Win32 scalar and value types the library passes around, with Windows' widths:
/// LONG and DWORD are 32 bits here as there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ZelExport.h"

using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using SHORT = int16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using UINT = unsigned int;
using INT_PTR = intptr_t;
using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using DWORD_PTR = uintptr_t;
using ULONG_PTR = uintptr_t;
using LONGLONG = long long;
using ULONGLONG = unsigned long long;
using LPSTR = char*;
using LPCSTR = const char*;
using LPTSTR = char*;
using LPCTSTR = const char*;
using TCHAR = char;
using LPVOID = void*;
using LPCVOID = const void*;
using COLORREF = DWORD;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define MAX_PATH 260

/// A colour as 0x00BBGGRR, and its red, green and blue parts.
///@{
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
         (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>(c >> 8); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>(c >> 16); }
///@}

/// Handles are opaque typed values; a distinct tag per kind keeps them from mixing.
template <typename Tag>
struct ZelHandle {
  uintptr_t value = 0;
  constexpr ZelHandle() = default;
  constexpr explicit ZelHandle(uintptr_t v) : value(v) {}
  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(ZelHandle a, ZelHandle b) = default;
};
using HWND = ZelHandle<struct HWND_tag>;
using HMENU = ZelHandle<struct HMENU_tag>;
using HFONT = ZelHandle<struct HFONT_tag>;
using HICON = ZelHandle<struct HICON_tag>;
using HBITMAP = ZelHandle<struct HBITMAP_tag>;
using HINSTANCE = ZelHandle<struct HINSTANCE_tag>;
using HKEY = ZelHandle<struct HKEY_tag>;
using HACCEL = ZelHandle<struct HACCEL_tag>;
/// The files of one drop (WM_DROPFILES), until DragFinish.
using HDROP = ZelHandle<struct HDROP_tag>;

/// A file handle is a POSIX descriptor; the null handle is -1.
using HANDLE = int;
constexpr HANDLE INVALID_HANDLE_VALUE = -1;

/// A point in logical or screen coordinates.
struct POINT {
  LONG x = 0;
  LONG y = 0;
};
/// A width and a height.
struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};
/// A rectangle by its left, top, right and bottom edges (right and bottom outside).
struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};
using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

constexpr int LF_FACESIZE = 32;
/// A font as asked for: height, weight, italics, face name and the rest.
struct LOGFONT {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  char lfFaceName[LF_FACESIZE] = {};
};
/// A pen as asked for: style, width and colour.
struct LOGPEN {
  UINT lopnStyle = 0;
  POINT lopnWidth;
  COLORREF lopnColor = 0;
};
/// A brush as asked for: style, colour and hatch.
struct LOGBRUSH {
  UINT lbStyle = 0;
  COLORREF lbColor = 0;
  uintptr_t lbHatch = 0;
};

/// POINT with constructors and arithmetic.
struct ZEL_API CPoint : POINT {
  CPoint() = default;
  CPoint(LONG px, LONG py) {
    x = px;
    y = py;
  }
  CPoint(const POINT& p) : POINT(p) {}
  friend bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
};
/// SIZE with constructors and arithmetic.
struct ZEL_API CSize : SIZE {
  CSize() = default;
  CSize(LONG w, LONG h) {
    cx = w;
    cy = h;
  }
  CSize(const SIZE& s) : SIZE(s) {}
  friend bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
};
/// RECT with constructors, sizes and the usual geometry.
struct ZEL_API CRect : RECT {
  CRect() = default;
  CRect(LONG l, LONG t, LONG r, LONG b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  CRect(const RECT& r) : RECT(r) {}
  LONG Width() const { return right - left; }
  LONG Height() const { return bottom - top; }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
  BOOL PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  void OffsetRect(LONG dx, LONG dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  friend bool operator==(const CRect& a, const CRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};
