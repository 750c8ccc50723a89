/// \class CObjectList
/// CObjectList: a list of object pointers (the platform's CObList) with iteration through
/// plain callback functions and up to two untyped user arguments, sorted insertion that
/// rejects duplicates, search by comparison, and iteration that grows the list at either
/// end on demand. The list does not own its elements (they may be null); sorted insertion
/// deletes the objects it rejects. Persistent through CArchive and CZelArchive.
#pragma once

#include "ZelExport.h"
#include "platform/base/archive/Archive.h"
#include "platform/base/collections/Collections.h"

class CZelArchive;
struct ZEL_RTTI_LINK;

class ZEL_API CObjectList : public CObList {
  DECLARE_SERIAL(CObjectList)
 public:
  using Action = void (*)(CObject* element);
  using Action1 = void (*)(CObject* element, void* a);
  using Action2 = void (*)(CObject* element, void* a, void* b);
  using PairAction = void (*)(CObject* element1, CObject* element2);
  using Predicate = int (*)(CObject* element);
  using Predicate1 = int (*)(CObject* element, void* a);
  using Predicate2 = int (*)(CObject* element, void* a, void* b);
  using MapFn = CObject* (*)(CObject* element);
  using MapFn1 = CObject* (*)(CObject* element, void* a);
  using MapFn2 = CObject* (*)(CObject* element, void* a, void* b);
  using Compare = int (*)(CObject* a, CObject* b);
  using KeyFn = CObject* (*)(CObject* element);
  using MakeFn = CObject* (*)(int forward, CObject* neighbour);
  using MakeFn1 = CObject* (*)(int forward, CObject* neighbour, void* a);

  CObjectList() : CObList(10) {}

  /// Every element, head to tail (Rev: tail to head).
  void ForEach(Action fn);
  void ForEach1(Action1 fn, void* a);
  void ForEach1Rev(Action1 fn, void* a);
  void ForEach2(Action2 fn, void* a, void* b);
  /// Both lists in step from their heads, up to the end of the shorter.
  static void ForEachPair(CObjectList& list1, CObjectList& list2, PairAction fn);

  /// The first element the predicate accepts, else null.
  CObject* FirstThat(Predicate p);
  CObject* FirstThat1(Predicate1 p, void* a);
  CObject* FirstThat2(Predicate2 p, void* a, void* b);
  CObject* FirstThat2Rev(Predicate2 p, void* a, void* b);
  /// 1 when the matching FirstThat finds a non-null element.
  int Some(Predicate p);
  int Some1(Predicate1 p, void* a);
  int Some2(Predicate2 p, void* a, void* b);
  /// 1 when the predicate accepts every element (1 for an empty list).
  int Every(Predicate p);
  int Every1(Predicate1 p, void* a);
  int Every2(Predicate2 p, void* a, void* b);
  /// The first non-null result, else null.
  CObject* OrMap1(MapFn1 f, void* a);
  CObject* OrMap2(MapFn2 f, void* a, void* b);
  CObject* OrMap2Rev(MapFn2 f, void* a, void* b);
  /// init for an empty list; else the last result, stopping at the first null.
  CObject* AndMap1(MapFn1 f, void* a, CObject* init);
  int Count(MapFn f);
  int Count1(MapFn1 f, void* a);
  int CountIf(Predicate p);
  int CountIf1(Predicate1 p, void* a);
  /// Append the non-null results (or the accepted elements) to dest; 0 when appending failed.
  int Collect(CObjectList& dest, MapFn f);
  int Collect1(CObjectList& dest, MapFn1 f, void* a);
  int CollectIf(CObjectList& dest, Predicate p);
  int CollectIf1(CObjectList& dest, Predicate1 p, void* a);

  /// Appends obj; when that fails obj is deleted and the answer is null.
  POSITION Insert(CObject* obj);
  /// Sorted insertion by compare(obj, element): before the first greater element; an equal
  /// element means a duplicate: obj is deleted and the existing element's position answered.
  POSITION Insert(CObject* obj, Compare compare);
  /// The same comparing compare(key(obj), key(element)).
  POSITION Insert(CObject* obj, Compare compare, KeyFn key);
  /// The first element e with compare(obj, key(e)) == 0 (compare(obj, e) without key).
  POSITION FindIf(CObject* obj, Compare compare, KeyFn key);

  /// GetNext / GetPrev, except that past the end make(forward, neighbour) is called and its
  /// result added at that end (pos stays null). A failure to add deletes what was made
  /// and answers null.
  CObject* GetNextExpand(POSITION& pos, MakeFn make);
  CObject* GetPrevExpand(POSITION& pos, MakeFn make);
  CObject* GetNextExpand1(POSITION& pos, MakeFn1 make, void* a);
  CObject* GetPrevExpand1(POSITION& pos, MakeFn1 make, void* a);

  void Serialize(CArchive& ar) override;
  /// Storing: every element as a shared pointer; loading appends until the list ends.
  void Serialize(CZelArchive& ar);
  static void _zel_serialize(CObjectList* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;

 private:
  template <typename Make>
  CObject* Expand(POSITION& pos, bool forward, Make make);
  POSITION SortedInsert(CObject* obj, Compare compare, KeyFn key);
};
