// Whether two C libraries give the same bits for the functions the physics calls: writes, for
// 300000 arguments in the ranges the saturation formulas and the natural-gas methods use
// them, the results of exp, log, log10 and pow as raw doubles to a file. Build it natively and
// with Emscripten and compare the files (README, "In a browser"):
//   g++ -O2 -ffp-contract=off bench/web/libm_bits.cpp -o libm_bits && ./libm_bits native.bin
//   em++ -O2 -sSINGLE_FILE -sENVIRONMENT=node -sNODERAWFS bench/web/libm_bits.cpp -o libm_bits.js
//   node libm_bits.js wasm.bin && python3 bench/web/compare_bits.py native.bin wasm.bin
#include <cmath>
#include <cstdint>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) return 1;
  // A generator of our own: the two standard libraries' distributions differ.
  uint64_t state = 7;
  const auto uniform = [&](double lo, double hi) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return lo + (hi - lo) * static_cast<double>(state >> 11) * 0x1p-53;
  };
  for (int i = 0; i < 300000; ++i) {
    const double kelvin = uniform(100, 400);
    const double results[] = {
        std::log10(373.16 / kelvin),         // Goff-Gratch over water
        std::pow(10.0, uniform(-12, 4)),     // Goff-Gratch's powers of ten
        std::pow(uniform(1e-8, 400), 0.73),  // IGT Bulletin 8
        std::exp(uniform(-60, 60)),          // Hyland and Wexler, Bögel, ASTM
        std::log(kelvin),                    // Hyland and Wexler, Sonntag
        std::log10(uniform(1e-8, 400)),
    };
    std::fwrite(results, sizeof results, 1, out);
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
