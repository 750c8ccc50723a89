// The object list: callback iteration, sorted insertion, search, expanding walks, and
// persistence through the text archive.
#include <gtest/gtest.h>

#include <vector>

#include "collections/ObjectList.h"
#include "files/ZelTextFile.h"
#include "serialization/ZelArchive.h"
#include "tests/support/TestSupport.h"

namespace {

class CValue : public CObject {
 public:
  explicit CValue(int v) : value(v) { ++alive; }
  ~CValue() override { --alive; }
  int value;
  static inline int alive = 0;
};

int V(CObject* o) { return static_cast<CValue*>(o)->value; }

class ObjectListTest : public zel_test::ZelTest {
 protected:
  ~ObjectListTest() override {
    for (CObject* o : owned) delete o;
  }
  // A list of new values the fixture frees at the end.
  void Fill(CObjectList& list, std::initializer_list<int> values) {
    for (int v : values) {
      owned.push_back(new CValue(v));
      list.AddTail(owned.back());
    }
  }
  std::vector<int> Values(CObjectList& list) {
    std::vector<int> out;
    for (POSITION p = list.GetHeadPosition(); p;) out.push_back(V(list.GetNext(p)));
    return out;
  }
  std::vector<CObject*> owned;
};

std::vector<int> g_seen;
void Record(CObject* o, void* a) { g_seen.push_back(V(o) * (a ? *static_cast<int*>(a) : 1)); }
int IsEven(CObject* o) { return V(o) % 2 == 0; }
int Above(CObject* o, void* a) { return V(o) > *static_cast<int*>(a); }
int Between(CObject* o, void* lo, void* hi) {
  return V(o) > *static_cast<int*>(lo) && V(o) < *static_cast<int*>(hi);
}
CObject* IfOdd(CObject* o, void*) { return V(o) % 2 ? o : nullptr; }
CObject* Self(CObject* o, void*) { return o; }
int g_pairs = 0;
void CountPair(CObject*, CObject*) { ++g_pairs; }

TEST_F(ObjectListTest, IterationVisitsInOrderAndStopsWhereItShould) {
  CObjectList list;
  Fill(list, {1, 2, 3, 4, 5});
  int three = 3;
  g_seen.clear();
  list.ForEach1(&Record, nullptr);
  list.ForEach1Rev(&Record, &three);
  EXPECT_EQ(g_seen, (std::vector<int>{1, 2, 3, 4, 5, 15, 12, 9, 6, 3}));
  EXPECT_EQ(V(list.FirstThat(&IsEven)), 2);
  EXPECT_EQ(V(list.FirstThat1(&Above, &three)), 4);
  int one = 1, five = 5;
  EXPECT_EQ(V(list.FirstThat2(&Between, &one, &five)), 2);
  EXPECT_EQ(V(list.FirstThat2Rev(&Between, &one, &five)), 4);
  EXPECT_EQ(list.Some(&IsEven), 1);
  EXPECT_EQ(list.Every(&IsEven), 0);
  EXPECT_EQ(list.CountIf(&IsEven), 2);
  EXPECT_EQ(list.CountIf1(&Above, &three), 2);
  EXPECT_EQ(list.Count1(&IfOdd, nullptr), 3);
  EXPECT_EQ(V(list.OrMap1(&IfOdd, nullptr)), 1);
  EXPECT_EQ(V(list.AndMap1(&Self, nullptr, nullptr)), 5);
  EXPECT_EQ(list.AndMap1(&IfOdd, nullptr, list.GetHead()), nullptr);
  CObjectList odd;
  EXPECT_EQ(list.Collect1(odd, &IfOdd, nullptr), 1);
  EXPECT_EQ(Values(odd), (std::vector<int>{1, 3, 5}));
  CObjectList even;
  EXPECT_EQ(list.CollectIf(even, &IsEven), 1);
  EXPECT_EQ(Values(even), (std::vector<int>{2, 4}));

  CObjectList empty;
  EXPECT_EQ(empty.Every(&IsEven), 1);
  EXPECT_EQ(empty.Some(&IsEven), 0);
  EXPECT_EQ(empty.AndMap1(&Self, nullptr, list.GetHead()), list.GetHead());

  CObjectList five5;
  Fill(five5, {1, 2, 3, 4, 5});
  CObjectList three3;
  Fill(three3, {1, 2, 3});
  g_pairs = 0;
  CObjectList::ForEachPair(three3, five5, &CountPair);
  EXPECT_EQ(g_pairs, 3);
}

int CompareValues(CObject* a, CObject* b) { return V(a) - V(b); }
std::vector<int> g_keys;
CObject* KeyOf(CObject* o) {
  g_keys.push_back(V(o));
  return o;
}

TEST_F(ObjectListTest, SortedInsertionKeepsOrderAndDeletesDuplicates) {
  CObjectList list;
  Fill(list, {1, 3, 5, 7});
  const int before = CValue::alive;
  POSITION five = list.FindIndex(2);
  EXPECT_EQ(list.Insert(new CValue(5), &CompareValues), five);
  EXPECT_EQ(CValue::alive, before);  // the duplicate is gone
  auto* four = new CValue(4);
  owned.push_back(four);
  POSITION at = list.Insert(four, &CompareValues);
  EXPECT_EQ(list.GetAt(at), four);
  EXPECT_EQ(Values(list), (std::vector<int>{1, 3, 4, 5, 7}));
  auto* nine = new CValue(9);
  owned.push_back(nine);
  g_keys.clear();
  list.Insert(nine, &CompareValues, &KeyOf);
  // Each element's key is taken before the new object's.
  EXPECT_EQ(g_keys, (std::vector<int>{1, 9, 3, 9, 4, 9, 5, 9, 7, 9}));
  EXPECT_EQ(list.GetTail(), nine);
  EXPECT_EQ(list.FindIf(four, nullptr, nullptr), nullptr);
  EXPECT_EQ(list.GetAt(list.FindIf(four, &CompareValues, nullptr)), four);
  CValue six(6);
  EXPECT_EQ(list.FindIf(&six, &CompareValues, &KeyOf), nullptr);
}

CObject* MakeNext(int forward, CObject* neighbour) {
  int base = neighbour ? V(neighbour) : 0;
  return new CValue(forward ? base + 1 : base - 1);
}

TEST_F(ObjectListTest, ExpandingWalksGrowTheList) {
  CObjectList list;
  POSITION pos = nullptr;
  CObject* made = list.GetNextExpand(pos, &MakeNext);
  EXPECT_EQ(V(made), 1);
  EXPECT_EQ(pos, nullptr);
  EXPECT_EQ(list.GetCount(), 1);
  made = list.GetNextExpand(pos, &MakeNext);
  EXPECT_EQ(V(made), 2);
  pos = nullptr;
  made = list.GetPrevExpand(pos, &MakeNext);
  EXPECT_EQ(V(made), 0);
  EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2}));
  pos = list.GetHeadPosition();
  EXPECT_EQ(V(list.GetNextExpand(pos, &MakeNext)), 0);
  for (POSITION p = list.GetHeadPosition(); p;) owned.push_back(list.GetNext(p));
}

TEST_F(ObjectListTest, PersistsThroughTheTextArchive) {
  const std::string path = tmp / "list.sxf";
  CZelDirSpec a("/one");
  CZelDirSpec b("/two");
  CObjectList list;
  list.AddTail(&a);
  list.AddTail(static_cast<CObject*>(nullptr));
  list.AddTail(&b);
  list.AddTail(&a);
  {
    CZelTextFile file;
    file.SetFileSpec(path.c_str(), 0);
    ASSERT_TRUE(file.CreateOutput());
    CZelArchive ar(&file, CZelArchive::store, nullptr, 75);
    CObject* p = &list;
    ar(p);
    ar.Close();
    file.Close();
  }
  EXPECT_EQ(zel_test::ReadFile(path),
            "(SXF \r\n"
            " #0=(CObjectList #1=(CZelDirSpec 1 \"/one\" 0 0) Nil \r\n"
            "     #2=(CZelDirSpec 1 \"/two\" 0 0) #1#))\r\n");
  CObject* loaded = nullptr;
  {
    CZelTextFile file;
    file.SetFileSpec(path.c_str(), 0);
    ASSERT_TRUE(file.OpenInput());
    CZelArchive ar(&file, CZelArchive::load, nullptr, 75);
    ar(loaded);
    ar.Close();
  }
  auto* back = dynamic_cast<CObjectList*>(loaded);
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->GetCount(), 4);
  EXPECT_EQ(back->GetHead(), back->GetTail());
  EXPECT_EQ(back->GetAt(back->FindIndex(1)), nullptr);
  delete back->GetHead();
  delete back->GetAt(back->FindIndex(2));
  delete back;
}

}  // namespace
