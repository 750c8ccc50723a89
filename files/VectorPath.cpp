// The processor's vector path, asked once.
#include "files/VectorPathInternal.h"

namespace zel_vector {

Path Best() {
#if defined(__x86_64__)
  static const Path best = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")
                               ? Path::kAvx2
                               : Path::kSse2;
  return best;
#else
  return Path::kPortable;
#endif
}

}  // namespace zel_vector
