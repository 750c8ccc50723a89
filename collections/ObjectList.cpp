// CObjectList: callback iteration, sorted insertion and persistence.
#include "collections/ObjectList.h"

#include <new>

#include "platform/base/exceptions/Exceptions.h"
#include "serialization/ZelArchive.h"

IMPLEMENT_SERIAL(CObjectList, CObList, 1)
ZEL_IMPLEMENT_SERIALIZE(CObjectList, "CObjectList")

void CObjectList::ForEach(Action fn) {
  for (POSITION p = GetHeadPosition(); p;) fn(GetNext(p));
}

void CObjectList::ForEach1(Action1 fn, void* a) {
  for (POSITION p = GetHeadPosition(); p;) fn(GetNext(p), a);
}

void CObjectList::ForEach1Rev(Action1 fn, void* a) {
  for (POSITION p = GetTailPosition(); p;) fn(GetPrev(p), a);
}

void CObjectList::ForEach2(Action2 fn, void* a, void* b) {
  for (POSITION p = GetHeadPosition(); p;) fn(GetNext(p), a, b);
}

void CObjectList::ForEachPair(CObjectList& list1, CObjectList& list2, PairAction fn) {
  POSITION p1 = list1.GetHeadPosition();
  POSITION p2 = list2.GetHeadPosition();
  while (p1 && p2) {
    CObject* e1 = list1.GetNext(p1);
    CObject* e2 = list2.GetNext(p2);
    fn(e1, e2);
  }
}

CObject* CObjectList::FirstThat(Predicate p) {
  for (POSITION pos = GetHeadPosition(); pos;) {
    CObject* e = GetNext(pos);
    if (p(e)) return e;
  }
  return nullptr;
}

CObject* CObjectList::FirstThat1(Predicate1 p, void* a) {
  for (POSITION pos = GetHeadPosition(); pos;) {
    CObject* e = GetNext(pos);
    if (p(e, a)) return e;
  }
  return nullptr;
}

CObject* CObjectList::FirstThat2(Predicate2 p, void* a, void* b) {
  for (POSITION pos = GetHeadPosition(); pos;) {
    CObject* e = GetNext(pos);
    if (p(e, a, b)) return e;
  }
  return nullptr;
}

CObject* CObjectList::FirstThat2Rev(Predicate2 p, void* a, void* b) {
  for (POSITION pos = GetTailPosition(); pos;) {
    CObject* e = GetPrev(pos);
    if (p(e, a, b)) return e;
  }
  return nullptr;
}

int CObjectList::Some(Predicate p) { return FirstThat(p) != nullptr; }
int CObjectList::Some1(Predicate1 p, void* a) { return FirstThat1(p, a) != nullptr; }
int CObjectList::Some2(Predicate2 p, void* a, void* b) { return FirstThat2(p, a, b) != nullptr; }

int CObjectList::Every(Predicate p) {
  for (POSITION pos = GetHeadPosition(); pos;)
    if (!p(GetNext(pos))) return 0;
  return 1;
}

int CObjectList::Every1(Predicate1 p, void* a) {
  for (POSITION pos = GetHeadPosition(); pos;)
    if (!p(GetNext(pos), a)) return 0;
  return 1;
}

int CObjectList::Every2(Predicate2 p, void* a, void* b) {
  for (POSITION pos = GetHeadPosition(); pos;)
    if (!p(GetNext(pos), a, b)) return 0;
  return 1;
}

CObject* CObjectList::OrMap1(MapFn1 f, void* a) {
  for (POSITION pos = GetHeadPosition(); pos;)
    if (CObject* r = f(GetNext(pos), a)) return r;
  return nullptr;
}

CObject* CObjectList::OrMap2(MapFn2 f, void* a, void* b) {
  for (POSITION pos = GetHeadPosition(); pos;)
    if (CObject* r = f(GetNext(pos), a, b)) return r;
  return nullptr;
}

CObject* CObjectList::OrMap2Rev(MapFn2 f, void* a, void* b) {
  for (POSITION pos = GetTailPosition(); pos;)
    if (CObject* r = f(GetPrev(pos), a, b)) return r;
  return nullptr;
}

CObject* CObjectList::AndMap1(MapFn1 f, void* a, CObject* init) {
  CObject* result = init;
  for (POSITION pos = GetHeadPosition(); pos;) {
    result = f(GetNext(pos), a);
    if (!result) return nullptr;
  }
  return result;
}

int CObjectList::Count(MapFn f) {
  int n = 0;
  for (POSITION pos = GetHeadPosition(); pos;)
    if (f(GetNext(pos))) ++n;
  return n;
}

int CObjectList::Count1(MapFn1 f, void* a) {
  int n = 0;
  for (POSITION pos = GetHeadPosition(); pos;)
    if (f(GetNext(pos), a)) ++n;
  return n;
}

int CObjectList::CountIf(Predicate p) {
  int n = 0;
  for (POSITION pos = GetHeadPosition(); pos;)
    if (p(GetNext(pos))) ++n;
  return n;
}

int CObjectList::CountIf1(Predicate1 p, void* a) {
  int n = 0;
  for (POSITION pos = GetHeadPosition(); pos;)
    if (p(GetNext(pos), a)) ++n;
  return n;
}

namespace {
// Appending that reports lack of memory as 0 instead of an exception.
bool TryAddTail(CObjectList& dest, CObject* obj) {
  try {
    dest.AddTail(obj);
    return true;
  } catch (std::bad_alloc&) {
  } catch (CMemoryException&) {
  }
  return false;
}
}  // namespace

int CObjectList::Collect(CObjectList& dest, MapFn f) {
  for (POSITION pos = GetHeadPosition(); pos;)
    if (CObject* r = f(GetNext(pos)))
      if (!TryAddTail(dest, r)) return 0;
  return 1;
}

int CObjectList::Collect1(CObjectList& dest, MapFn1 f, void* a) {
  for (POSITION pos = GetHeadPosition(); pos;)
    if (CObject* r = f(GetNext(pos), a))
      if (!TryAddTail(dest, r)) return 0;
  return 1;
}

int CObjectList::CollectIf(CObjectList& dest, Predicate p) {
  for (POSITION pos = GetHeadPosition(); pos;) {
    CObject* e = GetNext(pos);
    if (p(e) && !TryAddTail(dest, e)) return 0;
  }
  return 1;
}

int CObjectList::CollectIf1(CObjectList& dest, Predicate1 p, void* a) {
  for (POSITION pos = GetHeadPosition(); pos;) {
    CObject* e = GetNext(pos);
    if (p(e, a) && !TryAddTail(dest, e)) return 0;
  }
  return 1;
}

POSITION CObjectList::Insert(CObject* obj) {
  try {
    return AddTail(obj);
  } catch (std::bad_alloc&) {
  } catch (CMemoryException&) {
  }
  delete obj;
  return nullptr;
}

POSITION CObjectList::Insert(CObject* obj, Compare compare) {
  if (!compare) return Insert(obj);
  return SortedInsert(obj, compare, nullptr);
}

POSITION CObjectList::Insert(CObject* obj, Compare compare, KeyFn key) {
  if (!compare) return Insert(obj);
  return SortedInsert(obj, compare, key);
}

POSITION CObjectList::SortedInsert(CObject* obj, Compare compare, KeyFn key) {
  for (POSITION pos = GetHeadPosition(); pos;) {
    POSITION at = pos;
    CObject* e = GetNext(pos);
    int c;
    if (key) {
      CObject* elementKey = key(e);
      c = compare(key(obj), elementKey);
    } else {
      c = compare(obj, e);
    }
    if (c < 0) return InsertBefore(at, obj);
    if (c == 0) {
      delete obj;
      return at;
    }
  }
  return AddTail(obj);
}

POSITION CObjectList::FindIf(CObject* obj, Compare compare, KeyFn key) {
  if (!compare) return nullptr;
  for (POSITION pos = GetHeadPosition(); pos;) {
    POSITION at = pos;
    CObject* e = GetNext(pos);
    if (compare(obj, key ? key(e) : e) == 0) return at;
  }
  return nullptr;
}

template <typename Make>
CObject* CObjectList::Expand(POSITION& pos, bool forward, Make make) {
  if (pos) return forward ? GetNext(pos) : GetPrev(pos);
  CObject* made = nullptr;
  try {
    CObject* neighbour = IsEmpty() ? nullptr : (forward ? GetTail() : GetHead());
    made = make(forward ? 1 : 0, neighbour);
    if (forward)
      AddTail(made);
    else
      AddHead(made);
    return made;
  } catch (...) {
    delete made;
    return nullptr;
  }
}

CObject* CObjectList::GetNextExpand(POSITION& pos, MakeFn make) {
  return Expand(pos, true, [make](int f, CObject* n) { return make(f, n); });
}

CObject* CObjectList::GetPrevExpand(POSITION& pos, MakeFn make) {
  return Expand(pos, false, [make](int f, CObject* n) { return make(f, n); });
}

CObject* CObjectList::GetNextExpand1(POSITION& pos, MakeFn1 make, void* a) {
  return Expand(pos, true, [make, a](int f, CObject* n) { return make(f, n, a); });
}

CObject* CObjectList::GetPrevExpand1(POSITION& pos, MakeFn1 make, void* a) {
  return Expand(pos, false, [make, a](int f, CObject* n) { return make(f, n, a); });
}

void CObjectList::Serialize(CArchive& ar) { CObList::Serialize(ar); }

void CObjectList::Serialize(CZelArchive& ar) {
  if (ar.IsStoring()) {
    for (POSITION pos = GetHeadPosition(); pos;) ar(GetNext(pos));
  } else {
    while (!ar.AtEnd()) {
      CObject* element = nullptr;
      ar(element);
      AddTail(element);
    }
  }
}
