// Binary and text serializers of the small records.
#include "serialization/RecordSerializers.h"

#include <cstring>

#include "platform/base/exceptions/Exceptions.h"

namespace {

void ReadExactly(CArchive& ar, void* buffer, UINT count) {
  if (ar.Read(buffer, count) != count) AfxThrowArchiveException(CArchiveException::endOfFile);
}

// Writes present + length + bytes for a string of len characters (len + 1 with its zero).
void WriteCountedString(CArchive& ar, const char* s, size_t len) {
  ar << static_cast<BYTE>(1);
  WORD n = static_cast<WORD>(len + 1);
  ar << n;
  ar.Write(s, static_cast<UINT>(len));
  ar << static_cast<BYTE>(0);
}

}  // namespace

void serialize_string(char** s, CArchive& ar) {
  if (ar.IsStoring()) {
    if (*s)
      WriteCountedString(ar, *s, std::strlen(*s));
    else
      ar << static_cast<BYTE>(0);
    return;
  }
  BYTE present = 0;
  ar >> present;
  if (!present) {
    *s = nullptr;
    return;
  }
  WORD n = 0;
  ar >> n;
  // One byte more than stored, so that even a damaged record ends in a zero.
  char* buffer = new char[n + 1u];
  try {
    ReadExactly(ar, buffer, n);
  } catch (...) {
    delete[] buffer;
    throw;
  }
  buffer[n] = '\0';
  *s = buffer;
}

void serialize_CString_as_string(CString* s, CArchive& ar) {
  if (ar.IsStoring()) {
    if (s->IsEmpty())
      ar << static_cast<BYTE>(0);
    else
      WriteCountedString(ar, s->GetString(), static_cast<size_t>(s->GetLength()));
    return;
  }
  s->Empty();
  BYTE present = 0;
  ar >> present;
  if (!present) return;
  WORD n = 0;
  ar >> n;
  std::string bytes(n, '\0');
  ReadExactly(ar, bytes.data(), n);
  *s = CString(bytes.c_str());
}

void serialize_POINT(POINT* p, CArchive& ar) {
  if (ar.IsStoring())
    ar << p->x << p->y;
  else
    ar >> p->x >> p->y;
}

void serialize_RECT(RECT* r, CArchive& ar) {
  if (ar.IsStoring())
    ar << r->left << r->top << r->right << r->bottom;
  else
    ar >> r->left >> r->top >> r->right >> r->bottom;
}

void serialize_SIZE(SIZE* s, CArchive& ar) {
  if (ar.IsStoring())
    ar << s->cx << s->cy;
  else
    ar >> s->cx >> s->cy;
}

void serialize_LOGFONT(LOGFONT* f, CArchive& ar) {
  if (ar.IsStoring()) {
    ar << f->lfHeight << f->lfWidth << f->lfEscapement << f->lfOrientation << f->lfWeight;
    ar << f->lfItalic << f->lfUnderline << f->lfStrikeOut << f->lfCharSet << f->lfOutPrecision
       << f->lfClipPrecision << f->lfQuality << f->lfPitchAndFamily;
    // The name, its zero, then zeros: nothing of the caller's memory beyond the name.
    char face[LF_FACESIZE] = {};
    std::memcpy(face, f->lfFaceName, strnlen(f->lfFaceName, LF_FACESIZE - 1));
    ar.Write(face, LF_FACESIZE);
    return;
  }
  ar >> f->lfHeight >> f->lfWidth >> f->lfEscapement >> f->lfOrientation >> f->lfWeight;
  ar >> f->lfItalic >> f->lfUnderline >> f->lfStrikeOut >> f->lfCharSet >> f->lfOutPrecision >>
      f->lfClipPrecision >> f->lfQuality >> f->lfPitchAndFamily;
  ReadExactly(ar, f->lfFaceName, LF_FACESIZE);
  f->lfFaceName[LF_FACESIZE - 1] = '\0';
  f->lfEscapement = 0;
  f->lfOrientation = 0;
}

void serialize_LOGPEN(LOGPEN* p, CArchive& ar) {
  if (ar.IsStoring()) {
    ar << p->lopnStyle;
    serialize_POINT(&p->lopnWidth, ar);
    ar << p->lopnColor;
    return;
  }
  ar >> p->lopnStyle;
  serialize_POINT(&p->lopnWidth, ar);
  p->lopnWidth.y = p->lopnWidth.x;
  ar >> p->lopnColor;
}

void serialize_LOGBRUSH(LOGBRUSH* b, CArchive& ar) {
  if (ar.IsStoring()) {
    ar << b->lbStyle << b->lbColor << static_cast<uint32_t>(b->lbHatch);
    return;
  }
  uint32_t hatch = 0;
  ar >> b->lbStyle >> b->lbColor >> hatch;
  b->lbHatch = hatch;
}

void serialize_LOGSHAPE(LOGSHAPE* s, CArchive& ar) {
  if (ar.IsStoring())
    ar << s->lsKind << s->lsX1 << s->lsY1 << s->lsX2 << s->lsY2;
  else
    ar >> s->lsKind >> s->lsX1 >> s->lsY1 >> s->lsX2 >> s->lsY2;
}

// ---- text forms ----

namespace {
// A 32-bit field exchanged as `long`.
template <typename Field, typename Wire>
void ExchangeAs(CZelArchive& ar, Field& field) {
  Wire v = static_cast<Wire>(field);
  ar(v);
  field = static_cast<Field>(v);
}
}  // namespace

void zel_serialize_LOGFONT(LOGFONT* f, CZelArchive& ar) {
  ExchangeAs<LONG, long>(ar, f->lfHeight);
  ExchangeAs<LONG, long>(ar, f->lfWidth);
  ExchangeAs<LONG, long>(ar, f->lfEscapement);
  ExchangeAs<LONG, long>(ar, f->lfOrientation);
  ExchangeAs<LONG, long>(ar, f->lfWeight);
  ar(f->lfItalic)(f->lfUnderline)(f->lfStrikeOut)(f->lfCharSet)(f->lfOutPrecision)(
      f->lfClipPrecision)(f->lfQuality)(f->lfPitchAndFamily);
  CString face(f->lfFaceName, static_cast<int>(strnlen(f->lfFaceName, LF_FACESIZE)));
  ar(face);
  if (ar.IsLoading()) {
    size_t n = std::min<size_t>(static_cast<size_t>(face.GetLength()), LF_FACESIZE - 1);
    std::memcpy(f->lfFaceName, face.GetString(), n);
    f->lfFaceName[n] = '\0';
    f->lfEscapement = 0;
    f->lfOrientation = 0;
  }
}

void zel_serialize_LOGPEN(LOGPEN* p, CZelArchive& ar) {
  ar(p->lopnStyle);
  if (ar.IsStoring()) {
    long x = p->lopnWidth.x;
    ar(x);
  } else if (ar.At(CZelArchive::otNumber)) {
    long x = 0;
    ar(x);
    p->lopnWidth.x = static_cast<LONG>(x);
    p->lopnWidth.y = p->lopnWidth.x;
  } else {
    ar(p->lopnWidth);
  }
  ExchangeAs<COLORREF, unsigned long>(ar, p->lopnColor);
}

void zel_serialize_LOGBRUSH(LOGBRUSH* b, CZelArchive& ar) {
  ar(b->lbStyle);
  ExchangeAs<COLORREF, unsigned long>(ar, b->lbColor);
  unsigned long hatch = static_cast<uint32_t>(b->lbHatch);
  ar(hatch);
  b->lbHatch = static_cast<uint32_t>(hatch);
}

void zel_serialize_LOGSHAPE(LOGSHAPE* s, CZelArchive& ar) {
  ar(s->lsKind)(s->lsX1)(s->lsY1)(s->lsX2)(s->lsY2);
}

const char* const LOGFONT_zel_serialize_tag = "LOGFONT";
const char* const LOGPEN_zel_serialize_tag = "LOGPEN";
const char* const LOGBRUSH_zel_serialize_tag = "LOGBRUSH";
const char* const LOGSHAPE_zel_serialize_tag = "LOGSHAPE";

namespace {
template <typename T, void (*Fn)(T*, CZelArchive&)>
void RecordThunk(void* record, CZelArchive& ar) {
  Fn(static_cast<T*>(record), ar);
}
}  // namespace

const ZelSerializeFn LOGFONT_zel_serialize_fun_ptr = &RecordThunk<LOGFONT, zel_serialize_LOGFONT>;
const ZelSerializeFn LOGPEN_zel_serialize_fun_ptr = &RecordThunk<LOGPEN, zel_serialize_LOGPEN>;
const ZelSerializeFn LOGBRUSH_zel_serialize_fun_ptr =
    &RecordThunk<LOGBRUSH, zel_serialize_LOGBRUSH>;
const ZelSerializeFn LOGSHAPE_zel_serialize_fun_ptr =
    &RecordThunk<LOGSHAPE, zel_serialize_LOGSHAPE>;
