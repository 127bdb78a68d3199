// The fast conversion path against the literal algorithms it replaces: any sequence of
// searches and conversions, on any keys (formula, factor, pressure) in any order, gives the
// same bits as the reference, whatever the per-thread grid caches learnt from the calls
// before. The values searched for lie mostly a few ulps from the saturation values at the
// grid points, where a wrong cached interval would send a search the wrong way.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/conversion_hub.h"
#include "core/dew_point.h"
#include "core/natural_gas.h"
#include "fuzz_check.h"
#include "reference/reference.h"

namespace {

using namespace tavimor;

constexpr int kMaxSteps = 64;

bool SameBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b) ||
         (std::isnan(a) && std::isnan(b));
}

// A few pressures, so that calls share and evict cache slots.
double AnyPressure(FuzzedDataProvider& in) {
  static constexpr double kPressures[] = {1013.25, 1013.26, 500, 34473.8, 0.01, 200000, -5, 0};
  if (in.ConsumeIntegralInRange(0, 9) == 0) return in.ConsumeFloatingPoint<double>();
  return kPressures[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPressures) - 1)];
}

PhysicsChoice AnyPhysics(FuzzedDataProvider& in) {
  PhysicsChoice p;
  p.SwvpFormula = static_cast<SwvpFormula>(in.ConsumeIntegralInRange(1019, 1023));
  p.EnhancementFactor = static_cast<EnhancementFactor>(in.ConsumeIntegralInRange(1024, 1027));
  p.GasMethod = static_cast<GasMethod>(in.ConsumeIntegralInRange(1025, 1026));
  return p;
}

// A grid point of the searches: -40 and halved steps from 50 down to 100/2^14.
double AnyGridPoint(FuzzedDataProvider& in) {
  double t = -40;
  double half = 50;
  const int depth = in.ConsumeIntegralInRange(0, 13);
  for (int k = 0; k < depth; ++k) {
    t += in.ConsumeBool() ? half : -half;
    half *= 0.5;
  }
  return t;
}

// Mostly a saturation value next to a grid point, moved by a few ulps.
double AnyPartialPressure(FuzzedDataProvider& in, bool water, double p, const PhysicsChoice& c) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return std::bit_cast<double>(in.ConsumeIntegral<uint64_t>());
    case 1:
      return in.ConsumeFloatingPointInRange(-1.0, 200.0);
    default: {
      const double t = AnyGridPoint(in) + (in.ConsumeBool() ? 0.01 : -0.01);
      double x = water ? SaturationPressureWater(t, p, c) : SaturationPressureDewFrost(t, p, c);
      for (int ulps = in.ConsumeIntegralInRange(-3, 3); ulps != 0; ulps += ulps < 0 ? 1 : -1) {
        x = std::nextafter(x, ulps < 0 ? -INFINITY : INFINITY);
      }
      return x;
    }
  }
}

UnitParams AnyParams(FuzzedDataProvider& in) {
  UnitParams u;
  u.AmbientTempC = in.ConsumeFloatingPointInRange(-100.0, 250.0);
  u.MolWeight = in.ConsumeFloatingPointInRange(-1.0, 300.0);
  u.HenryK = in.ConsumeFloatingPointInRange(-1.0, 20.0);
  u.VaporTempC = in.ConsumeFloatingPointInRange(-100.0, 250.0);
  u.DensityMedium = static_cast<DensityMedium>(in.ConsumeIntegralInRange(1035, 1038));
  return u;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  for (int step = 0; step < kMaxSteps && in.remaining_bytes() > 0; ++step) {
    const PhysicsChoice c = AnyPhysics(in);
    const double p = AnyPressure(in);
    const int what = in.ConsumeIntegralInRange(0, 5);
    const bool water = what != 1;
    const double x = AnyPartialPressure(in, water, p, c);
    switch (what) {
      case 0:
        FUZZ_CHECK(
            SameBits(DewPointFromPressure(x, p, c), reference::DewPointFromPressure(x, p, c)),
            "dew point of %a at %a", x, p);
        break;
      case 1:
        FUZZ_CHECK(SameBits(DewFrostPointFromPressure(x, p, c),
                            reference::DewFrostPointFromPressure(x, p, c)),
                   "dew/frost point of %a at %a", x, p);
        break;
      case 2:
        FUZZ_CHECK(SameBits(GasWaterContent(x, p, c), reference::GasWaterContent(x, p, c)),
                   "water content of %a at %a", x, p);
        FUZZ_CHECK(SameBits(PressureFromGasWaterContent(x, p, c),
                            reference::PressureFromGasWaterContent(x, p, c)),
                   "pressure of water content %a at %a", x, p);
        break;
      default: {
        const auto unit = static_cast<MoistureUnit>(in.ConsumeIntegralInRange(0, 10));
        const UnitParams side = AnyParams(in);
        const double p2 = AnyPressure(in);
        const double v = in.ConsumeBool() ? x : in.ConsumeFloatingPointInRange(-200.0, 200000.0);
        FUZZ_CHECK(SameBits(MoistureToPpmv(unit, v, p, side, c),
                            reference::MoistureToPpmv(unit, v, p, side, c)),
                   "unit %d value %a to ppmv at %a", static_cast<int>(unit), v, p);
        FUZZ_CHECK(SameBits(PpmvToMoisture(unit, v, p, side, p2, c),
                            reference::PpmvToMoisture(unit, v, p, side, p2, c)),
                   "ppmv %a to unit %d at %a, %a", v, static_cast<int>(unit), p, p2);
        break;
      }
    }
  }
  return 0;
}
