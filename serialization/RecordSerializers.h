/// \file
/// Savers and loaders of small plain records and zero-terminated strings, each serving
/// both directions: serialize_* to the binary CArchive (little-endian, no padding) and
/// zel_serialize_* to the text CZelArchive (members only; the enclosing list and its tag
/// come from CZelArchive::SerializeMember, for which the *_zel_serialize_tag and
/// *_zel_serialize_fun_ptr pairs are made). Binary faults are CArchive's own exceptions
/// (end of file for a short file); text faults are CZelArchive's.
#pragma once

#include "ZelExport.h"
#include "platform/base/archive/Archive.h"
#include "platform/base/string/String.h"
#include "platform/base/types/WinTypes.h"
#include "serialization/ZelArchive.h"

/// A shape record of the suite's drawings: its kind and four coordinates.
struct LOGSHAPE {
  LONG lsKind = 0;
  double lsX1 = 0;
  double lsY1 = 0;
  double lsX2 = 0;
  double lsY2 = 0;
};

/// A heap string (new[]; null allowed): presence byte, 16-bit length with the zero, bytes.
/// Loading allocates with new[]; the caller frees with delete[].
ZEL_API void serialize_string(char** s, CArchive& ar);
/// The same bytes for a CString; an empty string is the single byte 0.
ZEL_API void serialize_CString_as_string(CString* s, CArchive& ar);
/// A point, a rectangle and a size in the platform's binary archive layout.
///@{
ZEL_API void serialize_POINT(POINT* p, CArchive& ar);
ZEL_API void serialize_RECT(RECT* r, CArchive& ar);
ZEL_API void serialize_SIZE(SIZE* s, CArchive& ar);
///@}
/// 60 bytes; loading clears lfEscapement and lfOrientation.
ZEL_API void serialize_LOGFONT(LOGFONT* f, CArchive& ar);
/// Loading sets the width's y to its x.
ZEL_API void serialize_LOGPEN(LOGPEN* p, CArchive& ar);
/// A brush in the platform's binary archive layout.
ZEL_API void serialize_LOGBRUSH(LOGBRUSH* b, CArchive& ar);
/// 36 bytes.
ZEL_API void serialize_LOGSHAPE(LOGSHAPE* s, CArchive& ar);

/// Loading keeps at most 31 characters of the face name and clears escapement and orientation.
ZEL_API void zel_serialize_LOGFONT(LOGFONT* f, CZelArchive& ar);
/// The width is stored as one number; loading also accepts a (POINT x y) in its place.
ZEL_API void zel_serialize_LOGPEN(LOGPEN* p, CZelArchive& ar);
/// A brush as a structured text record.
ZEL_API void zel_serialize_LOGBRUSH(LOGBRUSH* b, CZelArchive& ar);
/// A shape's pen and brush as a structured text record.
ZEL_API void zel_serialize_LOGSHAPE(LOGSHAPE* s, CZelArchive& ar);

extern ZEL_API const char* const LOGFONT_zel_serialize_tag;
extern ZEL_API const char* const LOGPEN_zel_serialize_tag;
extern ZEL_API const char* const LOGBRUSH_zel_serialize_tag;
extern ZEL_API const char* const LOGSHAPE_zel_serialize_tag;
extern ZEL_API const ZelSerializeFn LOGFONT_zel_serialize_fun_ptr;
extern ZEL_API const ZelSerializeFn LOGPEN_zel_serialize_fun_ptr;
extern ZEL_API const ZelSerializeFn LOGBRUSH_zel_serialize_fun_ptr;
extern ZEL_API const ZelSerializeFn LOGSHAPE_zel_serialize_fun_ptr;
