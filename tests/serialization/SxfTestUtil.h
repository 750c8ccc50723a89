// Helpers of the serialization tests: text through real files in a temporary folder, and
// two small persistent classes (the "Segment" and "Marker" of the format's example).
#pragma once

#include <functional>
#include <string>

#include "files/ZelTextFile.h"
#include "serialization/SyntaxTree.h"
#include "serialization/ZelArchive.h"
#include "tests/support/TestSupport.h"

namespace sxf_test {

class CMarker : public CObject {
  DECLARE_DYNCREATE(CMarker)
 public:
  int number = 0;
  CString label;
  void Serialize(CZelArchive& ar) { ar(number)(label); }
  static void _zel_serialize(CMarker* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;
};

class CSegment : public CObject {
  DECLARE_DYNCREATE(CSegment)
 public:
  CString text;
  int count = 0;
  double weight = 0;
  CObject* first = nullptr;
  CObject* second = nullptr;
  void Serialize(CZelArchive& ar) { ar(text)(count)(weight)(first)(second); }
  static void _zel_serialize(CSegment* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;
};

// Writes bytes to path and opens a text file on it for input.
void OpenInputOn(CZelTextFile& file, const std::string& path, const std::string& bytes);

// Stores through an archive over a text file at path; answers the file's bytes.
std::string Store(const std::string& path, const std::function<void(CZelArchive&)>& body,
                  const char* prefix = nullptr, int width = 75);
// Loads bytes through an archive; exceptions pass on.
void Load(const std::string& path, const std::string& bytes,
          const std::function<void(CZelArchive&)>& body, const char* prefix = nullptr);

// Reads bytes into a tree; answers the archive exception's cause, or 0 when it read.
int ReadCause(const std::string& path, const std::string& bytes, CSyntaxTree& tree,
              const char* prefix = nullptr);

}  // namespace sxf_test
