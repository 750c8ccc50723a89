/// \file
/// QuickSort and MergeSort of an object array with a caller's comparison. compare gets two
/// elements (their pointer values) and the caller's extra value, and answers <0, 0 or >0.
/// Both follow one fixed order of comparisons and exchanges, which decides the result
/// when the comparison ties or is inconsistent; neither is stable. Arrays of fewer than
/// two elements are left alone. One sort at a time in the whole process (MergeSort keeps
/// its scratch array between calls); a comparison must not start a sort.
#pragma once

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"

using ZelSortCompare = int (*)(long a, long b, long extra);

/// Last element of each range as pivot. Ranges waiting their turn are kept on the heap, so
/// an already sorted array (which nests one level per element) cannot exhaust the stack;
/// it still costs a quadratic number of comparisons.
ZEL_API void QuickSort(CObArray& array, ZelSortCompare compare, unsigned long extra);
/// Top-down merge; on a tie the merge takes the right run's element first.
ZEL_API void MergeSort(CObArray& array, ZelSortCompare compare, unsigned long extra);
