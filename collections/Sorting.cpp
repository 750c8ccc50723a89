// The two sorts.
#include "collections/Sorting.h"

#include <utility>
#include <vector>

namespace {

long AsLong(CObject* p) { return static_cast<long>(reinterpret_cast<intptr_t>(p)); }

// Kept between sorts and grown when a larger array comes.
std::vector<CObject*>& MergeScratch() {
  static std::vector<CObject*> scratch;
  return scratch;
}

void MergeRange(CObject** a, CObject** scratch, INT_PTR lo, INT_PTR hi, ZelSortCompare compare,
                long extra) {
  if (hi <= lo) return;
  INT_PTR mid = (lo + hi) / 2;
  if (mid == lo) {
    if (compare(AsLong(a[hi]), AsLong(a[lo]), extra) < 0) std::swap(a[lo], a[hi]);
    return;
  }
  MergeRange(a, scratch, lo, mid, compare, extra);
  MergeRange(a, scratch, mid + 1, hi, compare, extra);
  for (INT_PTR k = lo; k <= hi; ++k) scratch[k] = a[k];
  INT_PTR left = lo;
  INT_PTR right = mid + 1;
  for (INT_PTR k = lo; k <= hi; ++k) {
    if (left > mid)
      a[k] = scratch[right++];
    else if (right > hi)
      a[k] = scratch[left++];
    else if (compare(AsLong(scratch[left]), AsLong(scratch[right]), extra) < 0)
      a[k] = scratch[left++];
    else
      a[k] = scratch[right++];
  }
}

}  // namespace

void QuickSort(CObArray& array, ZelSortCompare compare, unsigned long extra) {
  const INT_PTR size = array.GetSize();
  if (size < 2) return;
  CObject** a = array.GetData();
  const long x = static_cast<long>(extra);
  // The range sorted first is worked on at once; the other waits on this stack. That is
  // the order the recursive definition gives, without its depth.
  std::vector<std::pair<INT_PTR, INT_PTR>> waiting;
  waiting.emplace_back(0, size - 1);
  while (!waiting.empty()) {
    auto [lo, hi] = waiting.back();
    waiting.pop_back();
    for (;;) {
      CObject* pivot = a[hi];
      INT_PTR i = lo;
      INT_PTR j = hi - 1;
      do {
        while (i < j && compare(AsLong(a[i]), AsLong(pivot), x) <= 0) ++i;
        while (i < j && compare(AsLong(a[j]), AsLong(pivot), x) >= 0) --j;
        if (i < j) std::swap(a[i], a[j]);
      } while (i < j);
      if (i < hi && compare(AsLong(a[i]), AsLong(pivot), x) > 0) std::swap(a[i], a[hi]);
      ++i;
      bool hasLeft = lo < j;
      bool hasRight = i < hi;
      INT_PTR firstLo, firstHi, secondLo, secondHi;
      bool hasFirst, hasSecond;
      if (j - lo < hi - i) {
        firstLo = i, firstHi = hi, hasFirst = hasRight;
        secondLo = lo, secondHi = j, hasSecond = hasLeft;
      } else {
        firstLo = lo, firstHi = j, hasFirst = hasLeft;
        secondLo = i, secondHi = hi, hasSecond = hasRight;
      }
      if (hasSecond) waiting.emplace_back(secondLo, secondHi);
      if (!hasFirst) break;
      lo = firstLo;
      hi = firstHi;
    }
  }
}

void MergeSort(CObArray& array, ZelSortCompare compare, unsigned long extra) {
  const INT_PTR size = array.GetSize();
  std::vector<CObject*>& scratch = MergeScratch();
  if (static_cast<INT_PTR>(scratch.size()) < size) scratch.resize(static_cast<size_t>(size));
  if (size < 2) return;
  MergeRange(array.GetData(), scratch.data(), 0, size - 1, compare, static_cast<long>(extra));
}
