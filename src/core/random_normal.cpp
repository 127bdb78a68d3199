#include "core/random_normal.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/std_bridge.h"

namespace tavimor {

namespace {

uint64_t RotateLeft(uint64_t x, int k) {
  return (x << k) | (x >> (64 - k));
}

// SplitMix64 (G. L. Steele, D. Lea and C. H. Flood, OOPSLA 2014), the seeding generator.
uint64_t SplitMix64(uint64_t& state) {
  uint64_t z = (state += 0x9e3779b97f4a7c15);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
  z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
  return z ^ (z >> 31);
}

// ln 2 split so that e × kLn2High is exact for every binary exponent e of a double.
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kSqrtHalf = 0.70710678118654752440;

// ln x for finite x > 0. x = m × 2^e with sqrt(1/2) <= m < sqrt(2) (frexp and the doubling
// are exact); ln m = 2 atanh(s) with s = (m - 1) / (m + 1), |s| <= 0.1716, summed to s^23,
// beyond which the terms are below 1e-18 of the sum. Accurate to a few ulp, and the same bits
// everywhere, which libm's log does not promise.
double PortableLog(double x) {
  int e = 0;
  double m = std::frexp(x, &e);
  if (m < kSqrtHalf) {
    m *= 2;
    --e;
  }
  const double s = (m - 1) / (m + 1);
  const double s2 = s * s;
  double series = 1.0 / 23;
  for (int k = 21; k >= 1; k -= 2) series = series * s2 + 1.0 / k;
  const double exponent = e;
  return exponent * kLn2High + (exponent * kLn2Low + 2 * s * series);
}

double Horner(const double (&c)[8], double x) {
  double v = c[7];
  for (int i = 6; i >= 0; --i) v = v * x + c[i];
  return v;
}

// AS 241, PPND16: coefficients of the central region and of the two tail regions, lowest
// power first.
constexpr double kA[8] = {3.3871328727963666080e0,  1.3314166789178437745e+2,
                          1.9715909503065514427e+3, 1.3731693765509461125e+4,
                          4.5921953931549871457e+4, 6.7265770927008700853e+4,
                          3.3430575583588128105e+4, 2.5090809287301226727e+3};
constexpr double kB[8] = {1.0,
                          4.2313330701600911252e+1,
                          6.8718700749205790830e+2,
                          5.3941960214247511077e+3,
                          2.1213794301586595867e+4,
                          3.9307895800092710610e+4,
                          2.8729085735721942674e+4,
                          5.2264952788528545610e+3};
constexpr double kC[8] = {1.42343711074968357734e0,  4.63033784615654529590e0,
                          5.76949722146069140550e0,  3.64784832476320460504e0,
                          1.27045825245236838258e0,  2.41780725177450611770e-1,
                          2.27238449892691845833e-2, 7.74545014278341407640e-4};
constexpr double kD[8] = {1.0,
                          2.05319162663775882187e0,
                          1.67638483018380384940e0,
                          6.89767334985100004550e-1,
                          1.48103976427480074590e-1,
                          1.51986665636164571966e-2,
                          5.47593808499534494600e-4,
                          1.05075007164441684324e-9};
constexpr double kE[8] = {6.65790464350110377720e0,  5.46378491116411436990e0,
                          1.78482653991729133580e0,  2.96560571828504891230e-1,
                          2.65321895265761230930e-2, 1.24266094738807843860e-3,
                          2.71155556874348757815e-5, 2.01033439929228813265e-7};
constexpr double kF[8] = {1.0,
                          5.99832206555887937690e-1,
                          1.36929880922735805310e-1,
                          1.48753612908506148525e-2,
                          7.86869131145613259100e-4,
                          1.84631831751005468180e-5,
                          1.42151175831644588870e-7,
                          2.04426310338993978564e-15};

// The central region of AS 241, |p - 0.5| <= 0.425.
double CentralQuantile(double p) {
  const double q = p - 0.5;
  const double r = 0.180625 - q * q;
  return q * Horner(kA, r) / Horner(kB, r);
}

// The tails, |p - 0.5| > 0.425.
double TailQuantile(double p) {
  const double q = p - 0.5;
  double r = std::sqrt(-PortableLog(q < 0 ? p : 1 - p));
  double value;
  if (r <= 5) {
    r -= 1.6;
    value = Horner(kC, r) / Horner(kD, r);
  } else {
    r -= 5;
    value = Horner(kE, r) / Horner(kF, r);
  }
  return q < 0 ? -value : value;
}

// Values computed at once by NormalQuantiles.
constexpr std::size_t kNormalBlock = 256;

// TailQuantile of n <= kNormalBlock values of p in the tails, written without branches so
// that the compiler may compute several at once: the same operations on the same values, so
// the same bits. The logarithm is PortableLog with its frexp taken from the bits (the values
// are normal doubles). Where r > 5, which few draws reach, or p lies outside (0, 1),
// NormalQuantile puts it right after.
void TailQuantiles(const double* p, double* z, std::size_t n) {
  double r[kNormalBlock];
  // Both sides of each choice are computed, so that choosing is no branch.
  for (std::size_t j = 0; j < n; ++j) {
    const double q = p[j] - 0.5;
    const double complement = 1 - p[j];
    const double x = q < 0 ? p[j] : complement;
    const auto bits = BitCast<uint64_t>(x);
    const double fraction = BitCast<double>((bits & 0x000fffffffffffff) | (uint64_t{1022} << 52));
    // 2^52 + the biased exponent, exactly, less 2^52 + 1022: frexp's exponent.
    const double exponent = BitCast<double>((bits >> 52) | 0x4330000000000000) - (0x1p52 + 1022);
    const double doubled = fraction * 2;
    const double lowered = exponent - 1;
    const bool below = fraction < kSqrtHalf;
    const double m = below ? doubled : fraction;
    const double e = below ? lowered : exponent;
    const double s = (m - 1) / (m + 1);
    const double s2 = s * s;
    double series = 1.0 / 23;
    series = series * s2 + 1.0 / 21;
    series = series * s2 + 1.0 / 19;
    series = series * s2 + 1.0 / 17;
    series = series * s2 + 1.0 / 15;
    series = series * s2 + 1.0 / 13;
    series = series * s2 + 1.0 / 11;
    series = series * s2 + 1.0 / 9;
    series = series * s2 + 1.0 / 7;
    series = series * s2 + 1.0 / 5;
    series = series * s2 + 1.0 / 3;
    series = series * s2 + 1.0;
    r[j] = std::sqrt(-(e * kLn2High + (e * kLn2Low + 2 * s * series)));
    const double c = r[j] - 1.6;
    const double value = Horner(kC, c) / Horner(kD, c);
    const double negative = -value;
    z[j] = q < 0 ? negative : value;
  }
  for (std::size_t j = 0; j < n; ++j) {
    if (!(r[j] <= 5)) z[j] = NormalQuantile(p[j]);
  }
}

}  // namespace

RandomStream::RandomStream(uint64_t seed, uint64_t stream) {
  uint64_t mix = seed;
  for (uint64_t& word : m_state) word = SplitMix64(mix);
  for (uint64_t i = 0; i < stream; ++i) jump();
}

uint64_t RandomStream::next() {
  const uint64_t result = RotateLeft(m_state[1] * 5, 7) * 9;
  const uint64_t t = m_state[1] << 17;
  m_state[2] ^= m_state[0];
  m_state[3] ^= m_state[1];
  m_state[1] ^= m_state[2];
  m_state[0] ^= m_state[3];
  m_state[2] ^= t;
  m_state[3] = RotateLeft(m_state[3], 45);
  return result;
}

void RandomStream::jump() {
  constexpr uint64_t kJump[4] = {0x180ec6d33cfd0aba, 0xd5a61266f0c9392c, 0xa9582618e03fc9aa,
                                 0x39abdc4529b1661c};
  std::array<uint64_t, 4> jumped{};
  for (const uint64_t word : kJump) {
    for (int bit = 0; bit < 64; ++bit) {
      if (word & (uint64_t{1} << bit)) {
        for (std::size_t i = 0; i < jumped.size(); ++i) jumped[i] ^= m_state[i];
      }
      next();
    }
  }
  m_state = jumped;
}

double RandomStream::uniform() {
  // (2k + 1) / 2^53 for a 52-bit k: exact in double, and symmetric about 1/2, so the normal
  // deviates are too.
  const uint64_t k = next() >> 12;
  // Below 2^53, so a signed conversion (the cheaper one) is exact too.
  return static_cast<double>(static_cast<int64_t>(2 * k + 1)) * 0x1p-53;
}

double RandomStream::normal() {
  return NormalQuantile(uniform());
}

double NormalQuantile(double p) {
  if (!(p > 0 && p < 1)) return std::numeric_limits<double>::quiet_NaN();
  return std::fabs(p - 0.5) <= 0.425 ? CentralQuantile(p) : TailQuantile(p);
}

void RandomStream::normals(double* out, std::size_t n) {
  double p[kNormalBlock];
  for (std::size_t start = 0; start < n; start += kNormalBlock) {
    const std::size_t count = std::min(kNormalBlock, n - start);
    for (std::size_t j = 0; j < count; ++j) p[j] = uniform();
    NormalQuantiles(p, out + start, count);
  }
}

void NormalQuantiles(const double* p, double* z, std::size_t n) {
  // In blocks: the central region for all, then the tails (about 15 %, and any p outside
  // (0, 1)) gathered, each in a loop without branches that the compiler may run on several
  // values at once.
  uint16_t tails[kNormalBlock];
  double tailP[kNormalBlock];
  double tailZ[kNormalBlock];
  for (std::size_t start = 0; start < n; start += kNormalBlock) {
    const std::size_t count = std::min(kNormalBlock, n - start);
    const double* pBlock = p + start;
    double* zBlock = z + start;
    std::size_t tailCount = 0;
    for (std::size_t j = 0; j < count; ++j) {
      tails[tailCount] = static_cast<uint16_t>(j);
      tailP[tailCount] = pBlock[j];
      tailCount += std::fabs(pBlock[j] - 0.5) <= 0.425 ? 0 : 1;
    }
    for (std::size_t j = 0; j < count; ++j) zBlock[j] = CentralQuantile(pBlock[j]);
    TailQuantiles(tailP, tailZ, tailCount);
    for (std::size_t t = 0; t < tailCount; ++t) zBlock[tails[t]] = tailZ[t];
  }
}

}  // namespace tavimor
