// The one choice of vector path behind the bulk scanners.
#include <gtest/gtest.h>

#include "files/LineScan.h"
#include "files/SequenceScanInternal.h"
#include "files/VectorPathInternal.h"

namespace {

using zel_vector::Path;
using Fn = int (*)();
int Portable() { return 0; }
int Sse2() { return 1; }
int Avx2() { return 2; }

TEST(VectorPath, EachScannerGetsTheWidestPathItHasThatTheProcessorRuns) {
  struct Case {
    Path processor;
    zel_vector::Paths<Fn> scanner;
    Fn chosen;
  } cases[] = {
      {Path::kPortable, {&Portable, &Sse2, &Avx2}, &Portable},
      {Path::kSse2, {&Portable, &Sse2, &Avx2}, &Sse2},
      {Path::kAvx2, {&Portable, &Sse2, &Avx2}, &Avx2},
      {Path::kAvx2, {&Portable, &Sse2}, &Sse2},
      {Path::kAvx2, {&Portable, nullptr, &Avx2}, &Avx2},
      {Path::kSse2, {&Portable, nullptr, &Avx2}, &Portable},
      {Path::kAvx2, {&Portable}, &Portable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.processor) * 10 + c.chosen());
    EXPECT_EQ(zel_vector::Pick(c.scanner, c.processor), c.chosen);
  }
}

TEST(VectorPath, TheScannersAgreeOnWhatTheProcessorRuns) {
#if defined(__x86_64__)
  EXPECT_NE(zel_vector::Best(), Path::kPortable);
  const bool avx2 = zel_vector::Best() == Path::kAvx2;
  EXPECT_EQ(avx2, __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt"));
  EXPECT_EQ(zel_linescan::CountLineEndsAvx2() != nullptr, avx2);
  EXPECT_EQ(zel_seqscan::BaseRunAvx2() != nullptr, avx2);
#else
  EXPECT_EQ(zel_vector::Best(), Path::kPortable);
#endif
}

}  // namespace
