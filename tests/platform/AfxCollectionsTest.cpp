// Lists keep positions stable; arrays and the map behave as the class library's.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/collections/Collections.h"

namespace {

std::string Join(const CStringList& l) {
  std::string out;
  for (POSITION p = l.GetHeadPosition(); p;) out += l.GetNext(p).str() + ",";
  return out;
}

TEST(CollectionsTest, ListPositionsSurviveOtherInsertionsAndRemovals) {
  CStringList l;
  POSITION b = l.AddTail("b");
  l.AddHead("a");
  POSITION d = l.AddTail("d");
  l.InsertAfter(b, "c");
  l.InsertBefore(nullptr, "0");  // null: at the head
  l.InsertAfter(nullptr, "e");   // null: at the tail
  EXPECT_EQ(Join(l), "0,a,b,c,d,e,");
  l.RemoveAt(l.Find(CString("c")));
  EXPECT_EQ(l.GetAt(b), CString("b"));
  EXPECT_EQ(l.GetAt(d), CString("d"));
  POSITION p = b;
  l.GetNext(p);
  EXPECT_EQ(p, d);
  l.GetPrev(p);
  EXPECT_EQ(p, b);
  EXPECT_EQ(l.Find(CString("b"), b), nullptr);  // the search starts after b
  EXPECT_EQ(l.FindIndex(2), b);
  EXPECT_EQ(l.FindIndex(99), nullptr);
  EXPECT_EQ(l.RemoveHead(), CString("0"));
  EXPECT_EQ(l.RemoveTail(), CString("e"));
  EXPECT_EQ(l.GetCount(), 3);

  CStringList more;
  more.AddTail("x");
  more.AddTail("y");
  l.AddHead(&more);
  l.AddTail(&more);
  EXPECT_EQ(Join(l), "x,y,a,b,d,x,y,");
  l.RemoveAll();
  EXPECT_TRUE(l.IsEmpty());
  EXPECT_EQ(l.GetHeadPosition(), nullptr);
}

TEST(CollectionsTest, ArraysGrowAndShift) {
  CWordArray a;
  a.SetAtGrow(3, 7);
  EXPECT_EQ(a.GetSize(), 4);
  EXPECT_EQ(a[0], 0);
  a.InsertAt(1, 9, 2);
  a.RemoveAt(0);
  EXPECT_EQ(a.GetSize(), 5);
  EXPECT_EQ(a[0], 9);
  EXPECT_EQ(a[4], 7);
  EXPECT_EQ(a.Add(5), 5);
  a.RemoveAt(4, 99);
  EXPECT_EQ(a.GetUpperBound(), 3);
}

TEST(CollectionsTest, MapLooksUpReplacesAndIteratesInInsertionOrder) {
  CMapStringToOb m;
  CObList one, two;
  m.SetAt("one", &one);
  m["two"] = &two;
  m.SetAt("one", &two);
  CObject* found = nullptr;
  EXPECT_TRUE(m.Lookup("one", found));
  EXPECT_EQ(found, &two);
  EXPECT_FALSE(m.Lookup("ONE", found));
  EXPECT_EQ(m.GetCount(), 2);
  POSITION p = m.GetStartPosition();
  CString key;
  m.GetNextAssoc(p, key, found);
  EXPECT_EQ(key, CString("one"));
  EXPECT_TRUE(m.RemoveKey("one"));
  EXPECT_FALSE(m.RemoveKey("one"));
  EXPECT_EQ(m.GetCount(), 1);
}

TEST(CollectionsTest, RuntimeClassesKnowTheirBasesAndCreateObjects) {
  CObList list;
  EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(list.IsKindOf(RUNTIME_CLASS(CStringList)));
  EXPECT_TRUE(list.IsSerializable());
  EXPECT_FALSE(CPtrList().IsSerializable());
  const CRuntimeClass* cls = CRuntimeClass::FromName("CStringList");
  ASSERT_NE(cls, nullptr);
  CObject* made = cls->CreateObject();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetRuntimeClass(), RUNTIME_CLASS(CStringList));
  delete made;
  EXPECT_EQ(CRuntimeClass::FromName("NoSuchClass"), nullptr);
  EXPECT_EQ(RUNTIME_CLASS(CPtrList)->CreateObject(), nullptr);
}

}  // namespace
