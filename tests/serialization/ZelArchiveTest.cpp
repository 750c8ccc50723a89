// The object archive: registry look-ups, shared objects, the platform collections, the
// walking operations, records, direction faults, and what reaches the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "files/StatusMessage.h"
#include "files/ZelBinaryFile.h"
#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"
#include "platform/base/collections/Collections.h"
#include "serialization/NodePool.h"
#include "serialization/NodePoolInternal.h"
#include "tests/serialization/SxfTestUtil.h"

using namespace sxf_test;
using zel_test::CauseOf;

namespace {

// Derived from a registered class but not registered itself.
class CSpecialMarker : public CMarker {
  DECLARE_DYNCREATE(CSpecialMarker)
};
IMPLEMENT_DYNCREATE(CSpecialMarker, CMarker)

// Reads one member more than the file holds when asked to.
class CGreedy : public CObject {
  DECLARE_DYNCREATE(CGreedy)
 public:
  static inline int extra = 0;
  int a = 0;
  void Serialize(CZelArchive& ar) {
    ar(a);
    for (int i = 0; i < extra; ++i) ar(a);
  }
  static void _zel_serialize(CGreedy* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;
};
IMPLEMENT_DYNCREATE(CGreedy, CObject)
ZEL_IMPLEMENT_SERIALIZE(CGreedy, "Greedy")

// Registered, but without dynamic creation: it can be stored, never loaded.
class CUncreatable : public CObject {
  DECLARE_DYNAMIC(CUncreatable)
 public:
  void Serialize(CZelArchive&) {}
  static void _zel_serialize(CUncreatable* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;
};
IMPLEMENT_DYNAMIC(CUncreatable, CObject)
ZEL_IMPLEMENT_SERIALIZE(CUncreatable, "Uncreatable")

// Stores a number and a string, then maybe an object of its own, then fails.
class CFailing : public CObject {
  DECLARE_DYNCREATE(CFailing)
 public:
  static inline bool nested = false;
  void Serialize(CZelArchive& ar) {
    int a = 7;
    CString s = "half\tdone";
    ar(a)(s);
    if (nested) {
      CMarker inner;
      ar.WriteObject(&inner, 0);
    }
    CSyntaxTree::ThrowGenericException();
  }
  static void _zel_serialize(CFailing* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;
};
IMPLEMENT_DYNCREATE(CFailing, CObject)
ZEL_IMPLEMENT_SERIALIZE(CFailing, "Failing")

class ZelArchiveTest : public zel_test::ZelTest {
 protected:
  std::string path = tmp / "archive.sxf";

  int LoadCause(const std::string& text, const std::function<void(CZelArchive&)>& body) {
    try {
      Load(path, text, body);
    } catch (CArchiveException& e) {
      return e.m_cause;
    }
    return 0;
  }
};

TEST_F(ZelArchiveTest, RegistryFindsByNameWithoutCaseAndByExactClass) {
  const CRuntimeClass* cls = nullptr;
  ZelSerializeFn fn = nullptr;
  ASSERT_TRUE(ZEL_RTTI_LINK::Find("mArKeR", cls, fn));
  EXPECT_EQ(cls, RUNTIME_CLASS(CMarker));
  CString name;
  ASSERT_TRUE(ZEL_RTTI_LINK::Find(RUNTIME_CLASS(CSegment), fn, name));
  EXPECT_EQ(name, "Segment");
  EXPECT_FALSE(ZEL_RTTI_LINK::Find(RUNTIME_CLASS(CSpecialMarker), fn, name));
  // The newest registration of a name wins.
  static ZEL_RTTI_LINK again("Marker", RUNTIME_CLASS(CSpecialMarker), nullptr);
  ASSERT_TRUE(ZEL_RTTI_LINK::Find("marker", cls, fn));
  EXPECT_EQ(cls, RUNTIME_CLASS(CSpecialMarker));
  ZEL_RTTI_LINK::proot = again.next;  // unlink, so other tests see the usual registry
}

TEST_F(ZelArchiveTest, LowerCaseTagsLoadAndUnknownOrMismatchedClassesDoNot) {
  CObject* o = nullptr;
  ASSERT_EQ(LoadCause("(sxf (marker 4 \"m\"))", [&](CZelArchive& ar) { ar(o); }), 0);
  auto* m = dynamic_cast<CMarker*>(o);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->number, 4);
  delete o;
  EXPECT_EQ(LoadCause("(SXF (Unknown 1))", [&](CZelArchive& ar) { ar(o); }), 6);
  EXPECT_EQ(LoadCause("(SXF (Marker 1 \"m\"))",
                      [&](CZelArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CSegment)); }),
            6);
  EXPECT_EQ(LoadCause("(SXF 5)", [&](CZelArchive& ar) { ar(o); }), 6);
  EXPECT_EQ(LoadCause("(SXF Null)", [&](CZelArchive& ar) { ar(o); }), 6);
  EXPECT_EQ(LoadCause("(SXF)", [&](CZelArchive& ar) { ar(o); }), 1);
}

// Loading remembers the class of the last tag read; objects of different classes in a row,
// under tags of different spellings, must each still come back as their own class.
TEST_F(ZelArchiveTest, ObjectsOfAlternatingClassesLoadAsTheirOwn) {
  std::vector<CObject*> loaded;
  ASSERT_EQ(LoadCause("(SXF (Marker 1 \"a\") (Segment \"s\" 2 0.5 Nil Nil) (marker 3 \"b\")"
                      " (MARKER 4 \"c\") (segment \"t\" 5 1.5 (Marker 6 \"d\") Nil))",
                      [&](CZelArchive& ar) {
                        while (!ar.AtEnd()) loaded.push_back(ar.ReadObject(nullptr));
                      }),
            0);
  ASSERT_EQ(loaded.size(), 5u);
  const int markers[] = {1, 3, 4};
  int m = 0;
  for (size_t i = 0; i < loaded.size(); ++i) {
    SCOPED_TRACE(i);
    const bool isSegment = i == 1 || i == 4;
    EXPECT_EQ(dynamic_cast<CSegment*>(loaded[i]) != nullptr, isSegment);
    if (auto* marker = dynamic_cast<CMarker*>(loaded[i])) {
      EXPECT_EQ(marker->number, markers[m++]);
    }
  }
  auto* inner = dynamic_cast<CSegment*>(loaded[4]);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->count, 5);
  auto* innerMarker = dynamic_cast<CMarker*>(inner->first);
  ASSERT_NE(innerMarker, nullptr);
  EXPECT_EQ(innerMarker->number, 6);
  delete inner->first;
  for (CObject* o : loaded) delete o;
  // A wrong class under a tag read just before is still refused.
  EXPECT_EQ(LoadCause("(SXF (Marker 1 \"a\") (Marker 2 \"b\"))",
                      [&](CZelArchive& ar) {
                        delete ar.ReadObject(RUNTIME_CLASS(CMarker));
                        ar.ReadObject(RUNTIME_CLASS(CSegment));
                      }),
            6);
}

// The user's message keeps its fixed words; the exception's own description, which a
// host logs, names the class and what the program lacks.
TEST_F(ZelArchiveTest, ClassFaultsNameTheClassAndTheFix) {
  const struct {
    const char* name;
    std::function<void()> body;
    std::vector<const char*> said;
  } rows[] = {
      {"loading an unknown tag",
       [&] {
         Load(path, "(SXF (Unknown 1))", [](CZelArchive& ar) {
           CObject* o = nullptr;
           ar(o);
         });
       },
       {"tag \"Unknown\"", "needs its archive registration",
        "ZEL_IMPLEMENT_SERIALIZE(class, \"Unknown\")"}},
      {"storing an unregistered class",
       [&] {
         Store(path, [](CZelArchive& ar) {
           CSpecialMarker unregistered;
           ar.WriteObject(&unregistered, 1);
         });
       },
       {"class CSpecialMarker has no archive registration", "ZEL_RTTI_LINK _zel_rtti_link",
        "ZEL_IMPLEMENT_SERIALIZE(CSpecialMarker, "}},
      {"storing an unregistered member in place",
       [&] {
         Store(path, [](CZelArchive& ar) {
           CSpecialMarker unregistered;
           ar.SerializeMember(&unregistered);
         });
       },
       {"class CSpecialMarker has no archive registration"}},
      {"loading a class that cannot be created",
       [&] {
         const std::string text = Store(path, [](CZelArchive& ar) {
           CUncreatable stored;
           ar.WriteObject(&stored, 1);
         });
         Load(path, text, [](CZelArchive& ar) {
           CObject* o = nullptr;
           ar(o);
         });
       },
       {"class CUncreatable, registered under the tag \"Uncreatable\"", "DECLARE_DYNCREATE"}},
      {"loading another class than the one required",
       [&] {
         Load(path, "(SXF (Marker 1 \"m\"))",
              [](CZelArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CSegment)); });
       },
       {"a CMarker where a CSegment is required"}},
  };
  const CZelFileSpec spec(path.c_str(), 0);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CArchiveException caught;
    try {
      row.body();
    } catch (CArchiveException& e) {
      caught = e;
    }
    ASSERT_EQ(caught.m_cause, CArchiveException::badClass);
    char text[400];
    ASSERT_TRUE(caught.GetErrorMessage(text, sizeof text));
    for (const char* words : row.said) EXPECT_NE(std::strstr(text, words), nullptr) << text;
    EXPECT_EQ(spec.FormatExceptionMessage(&caught, 1),
              spec.GetTitle() + "\nUnexpected file format (class error).");
  }
}

TEST_F(ZelArchiveTest, NullPointersAreNil) {
  std::string text = Store(path, [](CZelArchive& ar) {
    CObject* none = nullptr;
    ar(none);
  });
  EXPECT_EQ(text, "(SXF Nil)\r\n");
  Load(path, text, [](CZelArchive& ar) {
    EXPECT_TRUE(ar.At(CZelArchive::otTag));
    EXPECT_FALSE(ar.At(CZelArchive::otObject));
    CObject* o = reinterpret_cast<CObject*>(1);
    ar(o);
    EXPECT_EQ(o, nullptr);
    EXPECT_TRUE(ar.AtEnd());
    EXPECT_TRUE(ar.At(CZelArchive::otEnd));
  });
}

TEST_F(ZelArchiveTest, SharingDecidesHowManyObjectsComeBack) {
  CMarker marker;
  marker.number = 9;
  std::string text = Store(path, [&](CZelArchive& ar) {
    ar.WriteObject(&marker, 0);
    ar.WriteObject(&marker, 0);
    ar.WriteObject(&marker, 1);
    ar.WriteObject(&marker, 1);
  });
  EXPECT_EQ(text, "(SXF (Marker 9 \"\") (Marker 9 \"\") #0=(Marker 9 \"\") #0#)\r\n");
  std::vector<CObject*> got;
  Load(path, text, [&](CZelArchive& ar) {
    while (!ar.AtEnd()) got.push_back(ar.ReadObject(nullptr));
  });
  ASSERT_EQ(got.size(), 4u);
  EXPECT_NE(got[0], got[1]);
  EXPECT_EQ(got[2], got[3]);
  delete got[0];
  delete got[1];
  delete got[2];
}

// Loading a big file gives the tree's memory back object by object, so that the tree
// and the objects made from it are never held whole together; what comes back is what
// was stored, shared objects included.
TEST_F(ZelArchiveTest, LoadingMakesNoNodeForWhatItReads) {
  constexpr int kCount = 120000;  // a tape of several chunks
  std::vector<CMarker> markers(kCount);
  CMarker shared;
  shared.number = -1;
  for (int i = 0; i < kCount; ++i) {
    markers[static_cast<size_t>(i)].number = i;
    markers[static_cast<size_t>(i)].label = CString("label ") + std::to_string(i).c_str();
  }
  std::string text = Store(path, [&](CZelArchive& ar) {
    for (int i = 0; i < kCount; ++i) {
      ar.WriteObject(&markers[static_cast<size_t>(i)], 0);
      if (i % 1000 == 0) ar.WriteObject(&shared, 1);
    }
  });
  // The walk reads the file's tape: the only nodes alive are its tag names.
  size_t most = 0;
  std::vector<CObject*> got;
  Load(path, text, [&](CZelArchive& ar) {
    while (!ar.AtEnd()) {
      got.push_back(ar.ReadObject(nullptr));
      most = std::max(most, zel_sxf::PoolLiveBlocks());
    }
  });
  EXPECT_LE(most, 3u) << "nodes alive while loading";
  ASSERT_EQ(got.size(), static_cast<size_t>(kCount + kCount / 1000));
  CObject* firstShared = nullptr;
  size_t m = 0;
  for (size_t i = 0; i < got.size(); ++i) {
    auto* marker = dynamic_cast<CMarker*>(got[i]);
    ASSERT_NE(marker, nullptr);
    if (marker->number == -1) {
      if (!firstShared) firstShared = marker;
      EXPECT_EQ(marker, firstShared);
      continue;
    }
    ASSERT_EQ(marker->number, static_cast<int>(m));
    EXPECT_EQ(marker->label, markers[m].label);
    ++m;
    delete marker;
  }
  delete firstShared;
  EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
}

TEST_F(ZelArchiveTest, PlatformCollectionsRoundTripWithIdentity) {
  CMarker a, b;
  a.number = 1;
  b.number = 2;
  CStringList strings;
  strings.AddTail("one");
  strings.AddTail("two\t\"2\"");
  CObList list;
  list.AddTail(&a);
  list.AddTail(&b);
  list.AddTail(&a);
  CObArray array;
  array.Add(&b);
  array.Add(nullptr);
  CWordArray words;
  words.Add(0);
  words.Add(65535);
  CDWordArray dwords;
  dwords.Add(4294967295u);
  CMapStringToOb map;
  map.SetAt("first", &a);
  map.SetAt("list", &list);
  std::string text = Store(path, [&](CZelArchive& ar) {
    for (CObject* o :
         std::initializer_list<CObject*>{&strings, &list, &array, &words, &dwords, &map})
      ar(o);
  });
  CObject* got[6] = {};
  Load(path, text, [&](CZelArchive& ar) {
    for (CObject*& o : got) ar(o);
  });
  auto* s = dynamic_cast<CStringList*>(got[0]);
  auto* l = dynamic_cast<CObList*>(got[1]);
  auto* arr = dynamic_cast<CObArray*>(got[2]);
  auto* w = dynamic_cast<CWordArray*>(got[3]);
  auto* dw = dynamic_cast<CDWordArray*>(got[4]);
  auto* m = dynamic_cast<CMapStringToOb*>(got[5]);
  ASSERT_TRUE(s && l && arr && w && dw && m);
  ASSERT_EQ(s->GetCount(), 2);
  EXPECT_EQ(s->GetTail(), "two\t\"2\"");
  ASSERT_EQ(l->GetCount(), 3);
  CObject* la = l->GetHead();
  CObject* lb = l->GetAt(l->FindIndex(1));
  EXPECT_EQ(l->GetTail(), la);
  EXPECT_EQ(static_cast<CMarker*>(lb)->number, 2);
  ASSERT_EQ(arr->GetSize(), 2);
  EXPECT_EQ(arr->GetAt(0), lb);
  EXPECT_EQ(arr->GetAt(1), nullptr);
  EXPECT_EQ(w->GetAt(1), 65535);
  EXPECT_EQ(dw->GetAt(0), 4294967295u);
  CObject *first = nullptr, *again = nullptr;
  ASSERT_TRUE(m->Lookup("first", first));
  ASSERT_TRUE(m->Lookup("list", again));
  EXPECT_EQ(first, la);
  EXPECT_EQ(again, l);
  delete la;
  delete lb;
  for (CObject* o : got) delete o;
}

TEST_F(ZelArchiveTest, SerializeMemberAppendsToWhatTheListHolds) {
  std::string text = Store(path, [](CZelArchive& ar) {
    CStringList strings;
    strings.AddTail("b");
    ar.SerializeMember(&strings);
  });
  EXPECT_EQ(text, "(SXF (CStringList \"b\"))\r\n");
  CStringList strings;
  strings.AddTail("a");
  Load(path, text,
       [&](CZelArchive& ar) { ar.SerializeMember(RUNTIME_CLASS(CStringList), &strings); });
  ASSERT_EQ(strings.GetCount(), 2);
  EXPECT_EQ(strings.GetTail(), "b");
  CObList wrong;
  EXPECT_EQ(
      LoadCause(text,
                [&](CZelArchive& ar) { ar.SerializeMember(RUNTIME_CLASS(CStringList), &wrong); }),
      6);
}

TEST_F(ZelArchiveTest, WalkingAndRecords) {
  std::string text = Store(path, [](CZelArchive& ar) {
    EXPECT_EQ(ar.AtEnd(), 0);
    EXPECT_FALSE(ar.At(CZelArchive::otEnd));
    EXPECT_TRUE(ar.At(CZelArchive::otString));
    CRect rect(0, 0, 100, 50);
    CPoint point(-3, 4);
    CSize size(7, 8);
    ar(rect)(point)(size);
    ar.OpenArray("Values");
    CString s = "v";
    double d = 2.5;
    ar(s)(d);
    ar.CloseArray();
    ar.WriteCommentLine("written last, printed first\nnot this");
  });
  EXPECT_EQ(text,
            ";; written last, printed first\r\n"
            "(SXF (RECT 0 0 100 50) (POINT -3 4) (SIZE 7 8) (Values \"v\" 2.5))\r\n");
  Load(path, text, [](CZelArchive& ar) {
    CRect rect;
    CPoint point;
    CSize size;
    ar(rect)(point)(size);
    EXPECT_EQ(rect, CRect(0, 0, 100, 50));
    EXPECT_EQ(point, CPoint(-3, 4));
    EXPECT_EQ(size, CSize(7, 8));
    EXPECT_TRUE(ar.At(CZelArchive::otObject));
    ar.OpenArray("values");
    EXPECT_TRUE(ar.At(CZelArchive::otString));
    ar.SkipObject(CZelArchive::otString);
    EXPECT_EQ(CauseOf<CArchiveException>([&] { ar.SkipObject(CZelArchive::otString); }), 6)
        << "skipped a number as a string";
    ar.SkipObject(CZelArchive::otNumber);
    EXPECT_TRUE(ar.AtEnd());
    ar.CloseArray();
  });
}

TEST_F(ZelArchiveTest, DirectionFaults) {
  Store(path, [](CZelArchive& ar) {
    EXPECT_EQ(CauseOf<CArchiveException>([&] { ar.ReadObject(nullptr); }),
              CArchiveException::writeOnly);
    EXPECT_EQ(CauseOf<CArchiveException>([&] { ar.SkipObject(CZelArchive::otNumber); }),
              CArchiveException::writeOnly);
  });
  EXPECT_EQ(LoadCause("(SXF)",
                      [](CZelArchive& ar) {
                        CMarker m;
                        ar.WriteObject(&m, 1);
                      }),
            CArchiveException::readOnly);
}

TEST_F(ZelArchiveTest, MembersReadOrLeftOver) {
  const std::string text = "(SXF (Greedy 1 2 3))";
  CObject* o = nullptr;
  CGreedy::extra = 0;
  EXPECT_EQ(LoadCause(text, [&](CZelArchive& ar) { ar(o); }), 0);
  delete o;
  CGreedy::extra = 3;
  EXPECT_EQ(LoadCause(text, [&](CZelArchive& ar) { ar(o); }), 1);
  CGreedy::extra = 0;
}

TEST_F(ZelArchiveTest, AnObjectWhoseStoringFailsLeavesNoTraceInTheText) {
  // Objects of atoms are stored as their text while the printer keeps up; a failure in
  // the middle of one, before or after it had to become nodes (an object inside it), is
  // caught by the caller, who goes on storing.
  std::vector<CMarker> markers(300);
  for (size_t i = 0; i < markers.size(); ++i) {
    markers[i].number = static_cast<int>(i);
    markers[i].label = "m";
  }
  auto store = [&](bool withFailure) {
    return Store(path, [&](CZelArchive& ar) {
      for (size_t i = 0; i < markers.size(); ++i) {
        ar.WriteObject(&markers[i], 0);
        if (withFailure && i % 100 == 50) {
          CFailing failing;
          EXPECT_EQ(CauseOf<CArchiveException>([&] { ar.WriteObject(&failing, 0); }), 1);
        }
      }
    });
  };
  const std::string expected = store(false);
  for (bool nested : {false, true}) {
    SCOPED_TRACE(nested ? "failing after an object inside" : "failing among atoms");
    CFailing::nested = nested;
    EXPECT_EQ(store(true), expected);
    EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
  }
  CFailing::nested = false;
}

TEST_F(ZelArchiveTest, NothingReachesTheFileWhenStoringFails) {
  zel_test::WriteFile(path, "old");
  CZelTextFile file;
  file.SetFileSpec(path.c_str(), 0);
  ASSERT_TRUE(file.OpenOutput());
  EXPECT_EQ(CauseOf<CArchiveException>([&] {
              CZelArchive ar(&file, CZelArchive::store, nullptr, 75);
              CMarker fine;
              ar.WriteObject(&fine, 1);
              // Enough for lines to be printed already: they wait for Close.
              for (int i = 0; i < 1000; ++i) ar.WriteObject(&fine, 0);
              CSpecialMarker unregistered;
              ar.WriteObject(&unregistered, 1);
            }),
            6)
      << "stored an unregistered class";
  file.Close();
  EXPECT_EQ(zel_test::ReadFile(path), "old");
  // An open list left at Close is a fault too.
  ASSERT_TRUE(file.CreateOutput());
  CZelArchive ar(&file, CZelArchive::store, nullptr, 75);
  ar.OpenArray("Open");
  EXPECT_THROW(ar.Close(), CArchiveException);
  file.Close();
  EXPECT_EQ(zel_test::ReadFile(path), "");
}

TEST_F(ZelArchiveTest, EveryStringStoredLoadsBackWhateverItsLength) {
  // A string is never broken across lines, so a long one makes a line that long.
  std::string varied;
  for (int i = 0; i < 10000; ++i) varied += static_cast<char>(1 + i % 255);
  const struct {
    const char* name;
    std::string value;
  } cases[] = {
      {"8187 plain characters", std::string(8187, 'x')},
      {"10,000 characters of every byte", varied},
      {"1,000,000 characters", std::string(1000000, 'G')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CMarker stored;
    stored.number = 7;
    stored.label = CString(c.value);
    Store(path, [&](CZelArchive& ar) {
      CObject* p = &stored;
      ar(p);
      ar(stored.label);
    });
    CObject* loaded = nullptr;
    CString after;
    ASSERT_EQ(LoadCause(zel_test::ReadFile(path), [&](CZelArchive& ar) { ar(loaded)(after); }), 0);
    auto* marker = dynamic_cast<CMarker*>(loaded);
    ASSERT_NE(marker, nullptr);
    EXPECT_TRUE(marker->label.view() == c.value);
    EXPECT_EQ(marker->number, 7);
    EXPECT_TRUE(after.view() == c.value);
    delete loaded;
  }
}

TEST_F(ZelArchiveTest, BinaryFilesHoldNoTree) {
  zel_test::WriteFile(path, "keep");
  CZelBinaryFile file;
  file.SetFileSpec(path.c_str(), 0);
  ASSERT_TRUE(file.OpenOutput());
  {
    CZelArchive ar(&file, CZelArchive::store);
    CMarker m;
    ar.WriteObject(&m, 1);
    ar.Close();
  }
  file.Close();
  EXPECT_EQ(zel_test::ReadFile(path), "keep");
  ASSERT_TRUE(file.OpenInput());
  EXPECT_EQ(CauseOf<CArchiveException>([&] { CZelArchive ar(&file, CZelArchive::load); }), 1)
      << "a binary file loaded";
  file.Close();
}

std::vector<std::string> g_status;
void KeepStatus(const char* message) { g_status.push_back(message); }

TEST_F(ZelArchiveTest, CountedFilesShowStoringProgressEveryFiftyNodes) {
  g_status.clear();
  ZelStatusHook previous = SetStatusMessageHook(&KeepStatus);
  // Counted or not, and counted only from halfway, the file gets the same text.
  auto store = [&](int counted) {
    CZelTextFile file;
    file.SetFileSpec(path.c_str(), 0);
    EXPECT_TRUE(file.CreateOutput());
    if (counted == 1) file.DisplayProgressStatus(1000);
    {
      CZelArchive ar(&file, CZelArchive::store, nullptr, 75);
      for (int i = 0; i < 120; ++i) ar(i);
      if (counted == 2) file.DisplayProgressStatus(1000);
      ar.Close();
    }
    file.Close();
    return zel_test::ReadFile(path);
  };
  const std::string counted = store(1);
  SetStatusMessageHook(previous);
  EXPECT_EQ(g_status, (std::vector<std::string>{"Item 50", "Item 100"}));
  const std::string plain = store(0);
  EXPECT_EQ(plain.substr(0, 12), "(SXF 0 1 2 3");
  EXPECT_EQ(counted, plain);
  EXPECT_EQ(store(2), plain);
}

TEST_F(ZelArchiveTest, StoringFreesWhatIsPrintedAsItGoes) {
  constexpr int kCount = 120000;  // as a tree, several of the pool's chunks
  CMarker marker;
  marker.label = "a label of some length";
  size_t most = 0;
  std::string text = Store(path, [&](CZelArchive& ar) {
    ar.OpenArray("Markers");
    for (int i = 0; i < kCount; ++i) {
      marker.number = i;
      ar.WriteObject(&marker, 0);
      most = std::max(most, zel_sxf::PoolChunks());
    }
    ar.CloseArray();
    // A list begun later, of objects small enough to share a line, is printed as it grows.
    CMarker small;
    ar.OpenArray("Small");
    for (int i = 0; i < kCount; ++i) {
      ar.WriteObject(&small, 0);
      most = std::max(most, zel_sxf::PoolChunks());
    }
    ar.CloseArray();
    // A long list of atoms alone is printed as it grows too.
    ar.OpenArray("Numbers");
    for (int i = 0; i < 2 * kCount; ++i) {
      double v = i % 1000 + 0.5;  // exact in six digits
      ar(v);
      most = std::max(most, zel_sxf::PoolChunks());
    }
    ar.CloseArray();
  });
  EXPECT_LE(most, 1u);
  EXPECT_EQ(zel_sxf::PoolLiveBlocks(), 0u);
  // Every object reached the text, in order.
  int next = 0;
  Load(path, text, [&](CZelArchive& ar) {
    ar.OpenArray("Markers");
    while (!ar.AtEnd()) {
      std::unique_ptr<CObject> got(ar.ReadObject(RUNTIME_CLASS(CMarker)));
      ASSERT_EQ(static_cast<CMarker*>(got.get())->number, next++);
    }
    ar.CloseArray();
    ar.OpenArray("Small");
    for (int i = 0; i < kCount; ++i) {
      std::unique_ptr<CObject> got(ar.ReadObject(RUNTIME_CLASS(CMarker)));
      ASSERT_EQ(static_cast<CMarker*>(got.get())->number, 0);
    }
    ar.CloseArray();
    ar.OpenArray("Numbers");
    for (int i = 0; i < 2 * kCount; ++i) {
      double v = 0;
      ar(v);
      ASSERT_EQ(v, i % 1000 + 0.5);
    }
    ar.CloseArray();
  });
  EXPECT_EQ(next, kCount);
}

TEST_F(ZelArchiveTest, PathSpecificationsTravel) {
  CZelFileSpec spec("/data/seq.gb", 0);
  CZelDirSpec dir;
  dir.SetSpecMac(3, 77, "/data");
  std::string text = Store(path, [&](CZelArchive& ar) {
    CObject* p = &spec;
    CObject* q = &dir;
    ar(p)(q);
  });
  EXPECT_NE(text.find("(CZelDirSpec 1 \"/data\" 3 77)"), std::string::npos) << text;
  CObject *a = nullptr, *b = nullptr;
  Load(path, text, [&](CZelArchive& ar) { ar(a)(b); });
  auto* s = dynamic_cast<CZelFileSpec*>(a);
  auto* d = dynamic_cast<CZelDirSpec*>(b);
  ASSERT_TRUE(s && d);
  EXPECT_TRUE(*s == spec);
  EXPECT_EQ(s->GetMacType(), spec.GetMacType());
  EXPECT_EQ(d->GetMacVolId(), 3);
  EXPECT_EQ(d->GetMacDirId(), 77);
  delete a;
  delete b;
}

}  // namespace
