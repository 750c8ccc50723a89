// CFile's read buffer stays invisible; CMemFile grows; CArchive round-trips scalars,
// strings and shared objects and raises its causes on damaged input.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/archive/Archive.h"
#include "platform/base/collections/Collections.h"
#include "tests/support/TestSupport.h"

namespace {

class AfxFileTest : public zel_test::ZelTest {};

TEST_F(AfxFileTest, ReadBufferDoesNotShowInPositionsSeeksOrWrites) {
  std::string data;
  for (int i = 0; i < 300000; ++i) data += static_cast<char>('a' + i % 26);
  zel_test::WriteFile(tmp / "f", data);
  CFile f;
  ASSERT_TRUE(f.Open((tmp / "f").c_str(), CFile::modeReadWrite));
  char buf[10] = {};
  ASSERT_EQ(f.Read(buf, 3), 3u);
  EXPECT_EQ(f.GetPosition(), 3u);
  f.Seek(-1, CFile::current);
  ASSERT_EQ(f.Read(buf, 2), 2u);
  EXPECT_EQ(std::string(buf, 2), "cd");
  f.Write("XY", 2);
  EXPECT_EQ(f.GetPosition(), 6u);
  f.Seek(0, CFile::begin);
  ASSERT_EQ(f.Read(buf, 8), 8u);
  EXPECT_EQ(std::string(buf, 8), "abcdXYgh");
  f.Seek(-2, CFile::end);
  EXPECT_EQ(f.Read(buf, 10), 2u);
  EXPECT_EQ(f.Read(buf, 10), 0u);
  std::string all(data.size(), '\0');
  f.SeekToBegin();
  EXPECT_EQ(f.Read(all.data(), static_cast<UINT>(all.size())), data.size());
  EXPECT_EQ(all.substr(6), data.substr(6));
  f.Close();
  EXPECT_THROW(f.Read(buf, 1), CFileException);
}

TEST_F(AfxFileTest, OpenFailuresCarryTheCauseAndName) {
  CFile f;
  CFileException e;
  EXPECT_FALSE(f.Open((tmp / "none").c_str(), CFile::modeRead, &e));
  EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(e.m_strFileName, CString((tmp / "none").c_str()));
  EXPECT_FALSE(f.Open(tmp.str().c_str(), CFile::modeRead, &e));
  EXPECT_EQ(e.m_cause, CFileException::accessDenied);
  EXPECT_EQ(zel_test::CauseOf<CFileException>(
                [&] { CFile thrown((tmp / "none").c_str(), CFile::modeRead); }),
            CFileException::fileNotFound);
}

TEST(CMemFileTest, GrowsReadsBackAndDetaches) {
  CMemFile m(16);
  std::string text(1000, 'm');
  m.Write(text.data(), 1000);
  EXPECT_EQ(m.GetLength(), 1000u);
  m.Seek(990, CFile::begin);
  char buf[20];
  EXPECT_EQ(m.Read(buf, 20), 10u);
  m.SetLength(5);
  EXPECT_EQ(m.GetPosition(), 5u);
  EXPECT_THROW(m.Seek(-6, CFile::current), CFileException);
  BYTE* raw = m.Detach();
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(raw[4], 'm');
  std::free(raw);
  EXPECT_EQ(m.GetLength(), 0u);

  BYTE fixed[4] = {1, 2, 3, 4};
  CMemFile f(fixed, 4);
  EXPECT_EQ(f.GetLength(), 4u);
  f.Seek(4, CFile::begin);
  EXPECT_THROW(f.Write("x", 1), CMemoryException);  // fixed memory does not grow
}

TEST(CArchiveTest, ScalarsAndStringsRoundTripLittleEndian) {
  CMemFile mem;
  {
    CArchive ar(&mem, CArchive::store);
    ar << static_cast<BYTE>(1) << static_cast<WORD>(0x0203) << static_cast<DWORD>(0x04050607) << 2.5
       << CString("abc") << CString(std::string(300, 's')) << -7L;
    ar.Close();
  }
  const UINT length = static_cast<UINT>(mem.GetLength());
  EXPECT_EQ(length, 15u + 4u + 303u + 4u);
  BYTE* raw = mem.Detach();
  EXPECT_EQ(raw[0], 1);
  EXPECT_EQ(raw[1], 3);
  EXPECT_EQ(raw[3], 7);
  EXPECT_EQ(raw[15], 3);  // the string's one-byte length
  CMemFile in(raw, length);
  CArchive ar(&in, CArchive::load);
  BYTE b;
  WORD w;
  DWORD d;
  double x;
  CString s, longer;
  long l;
  ar >> b >> w >> d >> x >> s >> longer >> l;
  EXPECT_EQ(w, 0x0203);
  EXPECT_EQ(d, 0x04050607u);
  EXPECT_EQ(x, 2.5);
  EXPECT_EQ(s, CString("abc"));
  EXPECT_EQ(longer.GetLength(), 300);
  EXPECT_EQ(l, -7);
  EXPECT_EQ(zel_test::CauseOf<CArchiveException>([&] { ar >> b; }), CArchiveException::endOfFile);
  EXPECT_EQ(zel_test::CauseOf<CArchiveException>([&] { ar << b; }), CArchiveException::readOnly);
  std::free(raw);
}

TEST(CArchiveTest, SharedObjectsLoadAsOneObject) {
  CStringList shared;
  shared.AddTail("same");
  CObList outer;
  outer.AddTail(&shared);
  outer.AddTail(&shared);
  outer.AddTail(static_cast<CObject*>(nullptr));
  CMemFile mem;
  {
    CArchive ar(&mem, CArchive::store);
    ar << &outer;
  }
  mem.SeekToBegin();
  CArchive ar(&mem, CArchive::load);
  CObList* loaded = nullptr;
  ar >> loaded;
  ASSERT_NE(loaded, nullptr);
  ASSERT_EQ(loaded->GetCount(), 3);
  CObject* first = loaded->GetHead();
  POSITION p = loaded->FindIndex(1);
  EXPECT_EQ(loaded->GetAt(p), first);
  EXPECT_EQ(loaded->GetTail(), nullptr);
  ASSERT_TRUE(first->IsKindOf(RUNTIME_CLASS(CStringList)));
  EXPECT_EQ(static_cast<CStringList*>(first)->GetHead(), CString("same"));
  delete first;
  delete loaded;
}

TEST(CArchiveTest, DamagedObjectRecordsRaiseTheirCauses) {
  auto load = [](const std::string& bytes) {
    CMemFile mem;
    mem.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    mem.SeekToBegin();
    CArchive ar(&mem, CArchive::load);
    return zel_test::CauseOf<CArchiveException>(
        [&] { delete ar.ReadObject(RUNTIME_CLASS(CObList)); });
  };
  std::string unknown("\xFF\xFF\x00\x00\x04\x00NoSu", 10);
  std::string schema(
      "\xFF\xFF\x05\x00\x07\x00"
      "CObList",
      13);
  std::string wrongKind(
      "\xFF\xFF\x00\x00\x0B\x00"
      "CStringList\x00\x00",
      19);
  std::string badRef("\x05\x00", 2);
  std::string cut("\xFF\xFF\x00", 3);
  EXPECT_EQ(load(unknown), CArchiveException::badClass);
  EXPECT_EQ(load(schema), CArchiveException::badSchema);
  EXPECT_EQ(load(wrongKind), CArchiveException::badClass);
  EXPECT_EQ(load(badRef), CArchiveException::badIndex);
  EXPECT_EQ(load(cut), CArchiveException::endOfFile);
}

// A host logs GetErrorMessage: the description, cut to the buffer, or FALSE and nothing.
TEST(CArchiveTest, ClassFaultsDescribeTheClassAndTheFix) {
  std::string unknown("\xFF\xFF\x00\x00\x04\x00NoSu", 10);
  CMemFile in;
  in.Write(unknown.data(), static_cast<UINT>(unknown.size()));
  in.SeekToBegin();
  CArchiveException loading;
  try {
    CArchive ar(&in, CArchive::load);
    delete ar.ReadObject(nullptr);
  } catch (CArchiveException& e) {
    loading = e;
  }
  CArchiveException storing;
  try {
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    CMemoryException notSerial;  // dynamic type information only
    ar.WriteObject(&notSerial);
  } catch (CArchiveException& e) {
    storing = e;
  }
  const struct {
    const CException& e;
    const char* said;
  } rows[] = {
      {loading, "unknown class \"NoSu\": it needs IMPLEMENT_SERIAL in this program"},
      {storing,
       "class CMemoryException cannot be stored: it needs DECLARE_SERIAL and "
       "IMPLEMENT_SERIAL"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.said);
    char text[200] = "x";
    UINT help = 7;
    ASSERT_TRUE(row.e.GetErrorMessage(text, sizeof text, &help));
    EXPECT_STREQ(text, row.said);
    EXPECT_EQ(help, 0u);
    char cut[8];
    ASSERT_TRUE(row.e.GetErrorMessage(cut, sizeof cut));
    EXPECT_EQ(std::string(cut), std::string(row.said, sizeof cut - 1));
  }
  char text[8] = "x";
  EXPECT_FALSE(CArchiveException(CArchiveException::badClass).GetErrorMessage(text, sizeof text));
  EXPECT_STREQ(text, "");
}

}  // namespace
