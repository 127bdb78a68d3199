#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tavimor {

// Random numbers that are the same bits on every platform and standard library, so that a
// propagated uncertainty is the same in the desktop program, the command, the Python package
// and the WebAssembly page. The standard library's distributions are implementation-defined
// and libm's log, exp, sin and cos may differ by an ulp between C libraries, so nothing here
// uses them: the generator is integer arithmetic, and the normal transform uses only +, -, *,
// / and sqrt (exactly rounded by IEEE 754; the build contracts no multiply-add) and a
// logarithm written out in the same operations.
//
// xoshiro256** 1.0 (D. Blackman and S. Vigna, "Scrambled linear pseudorandom number
// generators", ACM Trans. Math. Softw. 47 (2021) 36), its state filled from the seed by
// SplitMix64 as its authors recommend.
class RandomStream {
 public:
  // Stream number `stream` of the seed: the generator of the seed advanced by stream × 2^128
  // draws (the generator's jump), so that streams never overlap.
  RandomStream(uint64_t seed, uint64_t stream);

  uint64_t next();

  // (k + 0.5) / 2^53 for the top 53 bits k of next(): in (0, 1), never 0 or 1.
  double uniform();

  // A standard normal deviate: NormalQuantile of uniform(). One draw per deviate, so the
  // deviates of a stream do not depend on their values.
  double normal();
  // n standard normal deviates into out: the same bits as n calls of normal(), in bulk, where
  // the quantile's central region is computed for many deviates at once.
  void normals(double* out, std::size_t n);

 private:
  void jump();

  std::array<uint64_t, 4> m_state{};
};

// The p-quantile of the standard normal distribution for 0 < p < 1 (NaN otherwise): M. J.
// Wichura, "Algorithm AS 241: The percentage points of the normal distribution", Applied
// Statistics 37 (1988) 477-484, PPND16, relative error about 1e-16.
double NormalQuantile(double p);
// NormalQuantile of each of n values, the same bits, in bulk.
void NormalQuantiles(const double* p, double* z, std::size_t n);

}  // namespace tavimor
