// The sorts: their exact comparison and exchange orders, ties, and deep ranges.
#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "collections/Sorting.h"

namespace {

class CKey : public CObject {
 public:
  CKey(int k, int t) : key(k), tag(t) {}
  int key;
  int tag;
};

struct Log {
  std::vector<std::pair<int, int>> calls;  // (tag of a, tag of b)
  long extra = 0;
  bool extraSeen = true;
};
Log g_log;

int ByKey(long a, long b, long extra) {
  auto* x = reinterpret_cast<CKey*>(a);
  auto* y = reinterpret_cast<CKey*>(b);
  g_log.calls.emplace_back(x->tag, y->tag);
  if (extra != g_log.extra) g_log.extraSeen = false;
  return x->key < y->key ? -1 : x->key > y->key ? 1 : 0;
}

class SortingTest : public ::testing::Test {
 protected:
  ~SortingTest() override {
    for (CKey* k : keys) delete k;
  }
  // An array of keys; each element's tag is its starting index.
  CObArray Make(const std::vector<int>& values) {
    CObArray array;
    for (int v : values) {
      keys.push_back(new CKey(v, static_cast<int>(keys.size() - first)));
      array.Add(keys.back());
    }
    return array;
  }
  std::vector<int> Tags(const CObArray& array) {
    std::vector<int> out;
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
      out.push_back(static_cast<CKey*>(array.GetAt(i))->tag);
    return out;
  }
  void Reset(long extra) {
    g_log = Log{};
    g_log.extra = extra;
    first = keys.size();
  }
  std::vector<CKey*> keys;
  size_t first = 0;
};

TEST_F(SortingTest, SmallArraysAndTies) {
  for (auto sort : {&QuickSort, &MergeSort}) {
    Reset(7);
    CObArray empty = Make({});
    sort(empty, &ByKey, 7);
    CObArray one = Make({4});
    sort(one, &ByKey, 7);
    EXPECT_TRUE(g_log.calls.empty());
  }
  // Quick sort's small arrays and ties follow its reference (below), from two elements up.
  Reset(7);
  CObArray two = Make({2, 1});
  MergeSort(two, &ByKey, 7);
  EXPECT_EQ(g_log.calls, (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_EQ(Tags(two), (std::vector<int>{1, 0}));
  Reset(7);
  CObArray tie = Make({3, 3});
  MergeSort(tie, &ByKey, 7);
  EXPECT_EQ(Tags(tie), (std::vector<int>{0, 1}));
  Reset(7);
  CObArray three = Make({5, 5, 5});
  MergeSort(three, &ByKey, 7);
  EXPECT_EQ(Tags(three), (std::vector<int>{2, 0, 1}));
}

// The recursive definition, written out, as the reference for the order of calls.
void ReferenceQuick(std::vector<CKey*>& a, int lo, int hi) {
  CKey* pivot = a[static_cast<size_t>(hi)];
  auto cmp = [&](CKey* x) {
    return ByKey(reinterpret_cast<long>(x), reinterpret_cast<long>(pivot), g_log.extra);
  };
  int i = lo, j = hi - 1;
  do {
    while (i < j && cmp(a[static_cast<size_t>(i)]) <= 0) ++i;
    while (i < j && cmp(a[static_cast<size_t>(j)]) >= 0) --j;
    if (i < j) std::swap(a[static_cast<size_t>(i)], a[static_cast<size_t>(j)]);
  } while (i < j);
  if (i < hi && cmp(a[static_cast<size_t>(i)]) > 0)
    std::swap(a[static_cast<size_t>(i)], a[static_cast<size_t>(hi)]);
  ++i;
  if (j - lo < hi - i) {
    if (i < hi) ReferenceQuick(a, i, hi);
    if (lo < j) ReferenceQuick(a, lo, j);
  } else {
    if (lo < j) ReferenceQuick(a, lo, j);
    if (i < hi) ReferenceQuick(a, i, hi);
  }
}

TEST_F(SortingTest, QuickSortFollowsTheRecursiveOrderExactly) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  for (int round = 0; round < 50; ++round) {
    std::vector<int> values(static_cast<size_t>(2 + round));  // every length from 2 up
    for (int& v : values) v = static_cast<int>(rng() % 8);    // many ties
    Reset(round);
    CObArray array = Make(values);
    std::vector<CKey*> reference(keys.begin() + static_cast<long>(first), keys.end());
    ReferenceQuick(reference, 0, static_cast<int>(reference.size()) - 1);
    auto expectedCalls = g_log.calls;
    g_log.calls.clear();
    QuickSort(array, &ByKey, static_cast<unsigned long>(round));
    ASSERT_EQ(g_log.calls, expectedCalls);
    for (size_t i = 0; i < reference.size(); ++i)
      ASSERT_EQ(array.GetAt(static_cast<INT_PTR>(i)), reference[i]);
    ASSERT_TRUE(std::is_sorted(reference.begin(), reference.end(),
                               [](CKey* a, CKey* b) { return a->key < b->key; }));
    EXPECT_TRUE(g_log.extraSeen);
  }
}

TEST_F(SortingTest, MergeSortSortsAndPrefersTheRightRunOnTies) {
  Reset(3);
  CObArray array = Make({4, 1, 4, 2, 4, 1, 3});
  MergeSort(array, &ByKey, 3);
  std::vector<int> sortedKeys;
  for (INT_PTR i = 0; i < array.GetSize(); ++i)
    sortedKeys.push_back(static_cast<CKey*>(array.GetAt(i))->key);
  EXPECT_EQ(sortedKeys, (std::vector<int>{1, 1, 2, 3, 4, 4, 4}));
  // Equal keys: runs (0) (2) and (4) merge right first.
  EXPECT_EQ(Tags(array), (std::vector<int>{5, 1, 3, 6, 4, 2, 0}));
  EXPECT_TRUE(g_log.extraSeen);
}

int Plain(long a, long b, long) {
  int x = reinterpret_cast<CKey*>(a)->key, y = reinterpret_cast<CKey*>(b)->key;
  return x < y ? -1 : x > y;
}

TEST_F(SortingTest, SortedInputNestsOneLevelPerElementWithoutTheStack) {
  // 10,000 sorted elements make 10,000 nested ranges (and 5e7 comparisons): far more than
  // a 256 KiB stack holds if each level took a frame, so the sort runs on such a stack.
  Reset(0);
  std::vector<int> values(10000);
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int>(i);
  CObArray array = Make(values);
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 256 * 1024);
  pthread_t sorter;
  auto run = [](void* a) -> void* {
    QuickSort(*static_cast<CObArray*>(a), &Plain, 0);
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&sorter, &attr, run, &array), 0);
  pthread_join(sorter, nullptr);
  pthread_attr_destroy(&attr);
  for (INT_PTR i = 0; i < array.GetSize(); ++i)
    ASSERT_EQ(static_cast<CKey*>(array.GetAt(i))->key, i);
}

}  // namespace
