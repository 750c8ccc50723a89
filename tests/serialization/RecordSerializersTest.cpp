// Record serializers: the binary bytes, the text forms, and what loading normalises.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "serialization/RecordSerializers.h"
#include "tests/serialization/SxfTestUtil.h"

using namespace sxf_test;

namespace {

std::string StoreBinary(const std::function<void(CArchive&)>& body) {
  CMemFile mem;
  {
    CArchive ar(&mem, CArchive::store);
    body(ar);
    ar.Close();
  }
  std::string bytes(static_cast<size_t>(mem.GetLength()), '\0');
  mem.SeekToBegin();
  mem.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

void LoadBinary(std::string bytes, const std::function<void(CArchive&)>& body) {
  CMemFile mem(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
  CArchive ar(&mem, CArchive::load);
  body(ar);
}

LOGFONT SampleFont() {
  LOGFONT f;
  f.lfHeight = -13;
  f.lfEscapement = 900;
  f.lfOrientation = 900;
  f.lfWeight = 700;
  f.lfOutPrecision = 3;
  f.lfClipPrecision = 2;
  f.lfQuality = 1;
  f.lfPitchAndFamily = 34;
  std::strcpy(f.lfFaceName, "Courier New");
  return f;
}

class RecordSerializersTest : public zel_test::ZelTest {
 protected:
  std::string path = tmp / "records.sxf";
};

TEST_F(RecordSerializersTest, BinaryStringsShareOneLayout) {
  char abc[] = "abc";
  char* s = abc;
  char* none = nullptr;
  CString empty;
  EXPECT_EQ(StoreBinary([&](CArchive& ar) { serialize_string(&s, ar); }), std::string("\x01\x04\x00"
                                                                                      "abc\x00",
                                                                                      7));
  EXPECT_EQ(StoreBinary([&](CArchive& ar) { serialize_string(&none, ar); }), std::string(1, '\0'));
  EXPECT_EQ(StoreBinary([&](CArchive& ar) { serialize_CString_as_string(&empty, ar); }),
            std::string(1, '\0'));
  // Either function reads what the other wrote.
  CString back = "stale";
  LoadBinary(std::string("\x01\x04\x00"
                         "abc\x00",
                         7),
             [&](CArchive& ar) { serialize_CString_as_string(&back, ar); });
  EXPECT_EQ(back, "abc");
  char* loaded = abc;
  LoadBinary(std::string(1, '\0'), [&](CArchive& ar) { serialize_string(&loaded, ar); });
  EXPECT_EQ(loaded, nullptr);
  LoadBinary(std::string("\x01\x04\x00"
                         "xyz\x00",
                         7),
             [&](CArchive& ar) { serialize_string(&loaded, ar); });
  ASSERT_NE(loaded, nullptr);
  EXPECT_STREQ(loaded, "xyz");
  delete[] loaded;
  // A short file is the archive's end-of-file fault.
  EXPECT_EQ(zel_test::CauseOf<CArchiveException>([&] {
              LoadBinary(std::string("\x01\x09\x00"
                                     "ab",
                                     5),
                         [&](CArchive& ar) { serialize_string(&loaded, ar); });
            }),
            CArchiveException::endOfFile);
}

TEST_F(RecordSerializersTest, BinaryRecordsHaveTheirSizesAndNormalise) {
  LOGFONT font = SampleFont();
  std::memset(font.lfFaceName + 12, 'Z', LF_FACESIZE - 12);  // garbage after the zero
  std::string bytes = StoreBinary([&](CArchive& ar) { serialize_LOGFONT(&font, ar); });
  ASSERT_EQ(bytes.size(), 60u);
  EXPECT_EQ(bytes.substr(28), std::string("Courier New") + std::string(21, '\0'));
  LOGFONT back;
  LoadBinary(bytes, [&](CArchive& ar) { serialize_LOGFONT(&back, ar); });
  EXPECT_EQ(back.lfHeight, -13);
  EXPECT_EQ(back.lfEscapement, 0);
  EXPECT_EQ(back.lfOrientation, 0);
  EXPECT_EQ(back.lfPitchAndFamily, 34);
  EXPECT_STREQ(back.lfFaceName, "Courier New");

  LOGPEN pen;
  pen.lopnWidth = {3, 5};
  pen.lopnColor = 255;
  bytes = StoreBinary([&](CArchive& ar) { serialize_LOGPEN(&pen, ar); });
  EXPECT_EQ(bytes.size(), 16u);
  LOGPEN penBack;
  LoadBinary(bytes, [&](CArchive& ar) { serialize_LOGPEN(&penBack, ar); });
  EXPECT_EQ(penBack.lopnWidth.x, 3);
  EXPECT_EQ(penBack.lopnWidth.y, 3);
  EXPECT_EQ(penBack.lopnColor, 255u);

  LOGSHAPE shape{2, 1.5, -2.5, 1e10, 0.125};
  bytes = StoreBinary([&](CArchive& ar) { serialize_LOGSHAPE(&shape, ar); });
  EXPECT_EQ(bytes.size(), 36u);
  LOGSHAPE shapeBack;
  LoadBinary(bytes, [&](CArchive& ar) { serialize_LOGSHAPE(&shapeBack, ar); });
  EXPECT_EQ(shapeBack.lsKind, 2);
  EXPECT_EQ(shapeBack.lsX2, 1e10);

  RECT rect{1, -2, 3, 4};
  bytes = StoreBinary([&](CArchive& ar) { serialize_RECT(&rect, ar); });
  EXPECT_EQ(bytes, std::string("\x01\0\0\0\xfe\xff\xff\xff\x03\0\0\0\x04\0\0\0", 16));
  LOGBRUSH brush{1, 0xFFFFFF, 6};
  bytes = StoreBinary([&](CArchive& ar) { serialize_LOGBRUSH(&brush, ar); });
  EXPECT_EQ(bytes.size(), 12u);
}

TEST_F(RecordSerializersTest, TextFormsMatchTheirExamples) {
  LOGFONT font = SampleFont();
  LOGPEN pen;
  pen.lopnWidth = {1, 1};
  pen.lopnColor = 255;
  LOGBRUSH brush{0, 16777215, 0};
  LOGSHAPE shape{1, 0.5, 2, 3.25, 1234567};
  std::string text = Store(
      path,
      [&](CZelArchive& ar) {
        ar.SerializeMember(&font, LOGFONT_zel_serialize_fun_ptr, LOGFONT_zel_serialize_tag);
        ar.SerializeMember(&pen, LOGPEN_zel_serialize_fun_ptr, LOGPEN_zel_serialize_tag);
        ar.SerializeMember(&brush, LOGBRUSH_zel_serialize_fun_ptr, LOGBRUSH_zel_serialize_tag);
        ar.SerializeMember(&shape, LOGSHAPE_zel_serialize_fun_ptr, LOGSHAPE_zel_serialize_tag);
      },
      nullptr, 200);
  EXPECT_EQ(text,
            "(SXF (LOGFONT -13 0 900 900 700 0 0 0 0 3 2 1 34 \"Courier New\") (LOGPEN 0 1 255) "
            "(LOGBRUSH 0 16777215 0) (LOGSHAPE 1 0.5 2 3.25 1.23457e+06))\r\n");
  LOGFONT fontBack;
  LOGPEN penBack;
  LOGBRUSH brushBack;
  LOGSHAPE shapeBack;
  Load(path, text, [&](CZelArchive& ar) {
    ar.SerializeMember(&fontBack, LOGFONT_zel_serialize_fun_ptr, "logfont");
    ar.SerializeMember(&penBack, LOGPEN_zel_serialize_fun_ptr, LOGPEN_zel_serialize_tag);
    ar.SerializeMember(&brushBack, LOGBRUSH_zel_serialize_fun_ptr, LOGBRUSH_zel_serialize_tag);
    ar.SerializeMember(&shapeBack, LOGSHAPE_zel_serialize_fun_ptr, LOGSHAPE_zel_serialize_tag);
  });
  EXPECT_EQ(fontBack.lfEscapement, 0);
  EXPECT_EQ(fontBack.lfWeight, 700);
  EXPECT_STREQ(fontBack.lfFaceName, "Courier New");
  EXPECT_EQ(penBack.lopnColor, 255u);
  EXPECT_EQ(brushBack.lbColor, 16777215u);
  EXPECT_EQ(shapeBack.lsY2, 1234570.0);
}

TEST_F(RecordSerializersTest, TextLoadingAcceptsAPointWidthAndCutsLongFaceNames) {
  const std::string face40(40, 'F');
  std::string text =
      "(SXF (LOGPEN 0 (POINT 3 5) 255) (LOGPEN 0 3 7) (LOGFONT 1 2 3 4 5 6 7 8 9 10 11 "
      "12 13 \"" +
      face40 + "\"))";
  LOGPEN a, b;
  LOGFONT f;
  Load(path, text, [&](CZelArchive& ar) {
    ar.SerializeMember(&a, LOGPEN_zel_serialize_fun_ptr, "LOGPEN");
    ar.SerializeMember(&b, LOGPEN_zel_serialize_fun_ptr, "LOGPEN");
    ar.SerializeMember(&f, LOGFONT_zel_serialize_fun_ptr, "LOGFONT");
  });
  EXPECT_EQ(zel_test::CauseOf<CArchiveException>([&] {
              Load(path, "(SXF (LOGPEN 0 \"x\" 1))", [&](CZelArchive& ar) {
                ar.SerializeMember(&a, LOGPEN_zel_serialize_fun_ptr, "LOGPEN");
              });
            }),
            6)
      << "a string read as a width";
  EXPECT_EQ(a.lopnWidth.x, 3);
  EXPECT_EQ(a.lopnWidth.y, 5);
  EXPECT_EQ(b.lopnWidth.y, 3);
  EXPECT_EQ(std::string(f.lfFaceName), face40.substr(0, 31));
  EXPECT_EQ(f.lfEscapement, 0);
  EXPECT_EQ(f.lfOrientation, 0);
}

}  // namespace
