// Which vector instructions the bulk scanners use, decided in one place for all of them:
// AVX2 (with POPCNT, which every AVX2 processor has) where the processor has it, SSE2
// elsewhere on x86-64 (every such processor has it), a byte at a time on other processors.
#pragma once

namespace zel_vector {

enum class Path { kPortable, kSse2, kAvx2 };

// The widest path this processor runs, found at first use.
Path Best();

// A scanner's functions by path; the vector ones are null where not built.
template <typename Fn>
struct Paths {
  Fn portable;
  Fn sse2 = nullptr;
  Fn avx2 = nullptr;
};

// The function for path, or for the widest narrower path the scanner has.
template <typename Fn>
Fn Pick(const Paths<Fn>& paths, Path path = Best()) {
  if (path >= Path::kAvx2 && paths.avx2) return paths.avx2;
  if (path >= Path::kSse2 && paths.sse2) return paths.sse2;
  return paths.portable;
}

// fn when the processor runs AVX2, else null: for testing each path against the others.
template <typename Fn>
Fn IfAvx2(Fn fn) {
  return Best() == Path::kAvx2 ? fn : nullptr;
}

}  // namespace zel_vector
