// Helpers of the serialization tests.
#include "tests/serialization/SxfTestUtil.h"

namespace sxf_test {

IMPLEMENT_DYNCREATE(CMarker, CObject)
IMPLEMENT_DYNCREATE(CSegment, CObject)
ZEL_IMPLEMENT_SERIALIZE(CMarker, "Marker")
ZEL_IMPLEMENT_SERIALIZE(CSegment, "Segment")

void OpenInputOn(CZelTextFile& file, const std::string& path, const std::string& bytes) {
  zel_test::WriteFile(path, bytes);
  file.SetFileSpec(path.c_str(), 0);
  ASSERT_TRUE(file.OpenInput());
}

std::string Store(const std::string& path, const std::function<void(CZelArchive&)>& body,
                  const char* prefix, int width) {
  CZelTextFile file;
  file.SetFileSpec(path.c_str(), 0);
  EXPECT_TRUE(file.CreateOutput());
  {
    CZelArchive ar(&file, CZelArchive::store, prefix, width);
    body(ar);
    ar.Close();
  }
  file.Close();
  return zel_test::ReadFile(path);
}

void Load(const std::string& path, const std::string& bytes,
          const std::function<void(CZelArchive&)>& body, const char* prefix) {
  CZelTextFile file;
  OpenInputOn(file, path, bytes);
  CZelArchive ar(&file, CZelArchive::load, prefix, 75);
  body(ar);
  ar.Close();
}

int ReadCause(const std::string& path, const std::string& bytes, CSyntaxTree& tree,
              const char* prefix) {
  CZelTextFile file;
  OpenInputOn(file, path, bytes);
  try {
    tree.Serialize(&file, 1, prefix, 75);
  } catch (CArchiveException& e) {
    return e.m_cause;
  }
  return 0;
}

}  // namespace sxf_test
