// Every conversion on arbitrary doubles (NaN, infinities, subnormals, 0, negative pressures)
// and arbitrary choices: each returns a finite number or OutOfRange, within a bounded number
// of saturation evaluations, and the panel's texts never show "nan" or "inf".
#include <fuzzer/FuzzedDataProvider.h>

#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "core/conversion_hub.h"
#include "core/moisture_conversion.h"
#include "core/unit_tables.h"
#include "fuzz_check.h"

namespace {

using namespace tavimor;

// Worst case of one conversion: the lb/MMSCF bisection (29 halvings of 50 mbar down to 1e-07,
// two trials each), each trial an ASTM dew point search (14 halvings of 100 °C down to 0.01,
// two evaluations each), then one more dew point search: 29 * 2 * 28 + 28 = 1652.
constexpr long kMaxEvaluationsPerConversion = 1652;

long g_evaluations = 0;
long g_mostEvaluations = 0;

void PrintMostEvaluations() {
  std::fprintf(stderr, "most saturation evaluations in one conversion: %ld (bound %ld)\n",
               g_mostEvaluations, kMaxEvaluationsPerConversion);
}

double AnyDouble(FuzzedDataProvider& in) {
  static constexpr double kSpecial[] = {
      0.0,
      -0.0,
      std::numeric_limits<double>::quiet_NaN(),
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      std::numeric_limits<double>::denorm_min(),
      -std::numeric_limits<double>::denorm_min(),
      std::numeric_limits<double>::min(),
      std::numeric_limits<double>::max(),
      std::numeric_limits<double>::lowest(),
      1013.25,
      -1013.25,
      -273.15,
      -243.12,
      -272.2,
      -273,
      20,
      1e-300,
      1e300,
      138670,
  };
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return kSpecial[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kSpecial) - 1)];
    case 1:
      return std::bit_cast<double>(in.ConsumeIntegral<uint64_t>());
    case 2:
      return in.ConsumeFloatingPointInRange(-300.0, 2000.0);
    default:
      return in.ConsumeFloatingPoint<double>();
  }
}

float AnyFloat(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) return std::bit_cast<float>(in.ConsumeIntegral<uint32_t>());
  const double v = AnyDouble(in);
  return std::isfinite(v) && std::fabs(v) > 3e38 ? std::copysign(3e38f, static_cast<float>(v))
                                                 : static_cast<float>(v);
}

// Mostly a member of the set, sometimes any number a hand-edited file could hold.
template <class T>
T AnyChoice(FuzzedDataProvider& in, int32_t first, int32_t last) {
  if (in.ConsumeIntegralInRange(0, 7) == 0) return static_cast<T>(in.ConsumeIntegral<int16_t>());
  return static_cast<T>(in.ConsumeIntegralInRange(first, last));
}

PhysicsChoice AnyPhysics(FuzzedDataProvider& in) {
  PhysicsChoice p;
  p.SwvpFormula = AnyChoice<SwvpFormula>(in, 1020, 1023);
  p.EnhancementFactor = AnyChoice<EnhancementFactor>(in, 1024, 1026);
  p.GasMethod = AnyChoice<GasMethod>(in, 1025, 1026);
  return p;
}

UnitParams AnyParams(FuzzedDataProvider& in) {
  UnitParams u;
  u.AmbientTempC = AnyDouble(in);
  u.MolWeight = AnyDouble(in);
  u.HenryK = AnyDouble(in);
  u.VaporTempC = AnyDouble(in);
  u.DensityMedium = AnyChoice<DensityMedium>(in, 1036, 1038);
  return u;
}

SideParams AnySide(FuzzedDataProvider& in) {
  SideParams s;
  s.GasIndex = in.ConsumeIntegral<int16_t>();
  s.MolWeight = AnyFloat(in);
  s.Liquid = AnyChoice<LiquidChoice>(in, 1018, 1031);
  s.HenryK = AnyFloat(in);
  s.AmbientTempUnit = AnyChoice<AmbientTempUnit>(in, 1033, 1034);
  s.AmbientTempC = AnyFloat(in);
  s.DensityMedium = AnyChoice<DensityMedium>(in, 1036, 1038);
  s.VaporTempUnit = AnyChoice<VaporTempUnit>(in, 1039, 1040);
  s.VaporTempC = AnyFloat(in);
  return s;
}

void CheckBounded(long evaluations, int conversions) {
  if (evaluations > g_mostEvaluations) g_mostEvaluations = evaluations;
  FUZZ_CHECK(evaluations <= kMaxEvaluationsPerConversion * conversions, "%ld evaluations",
             evaluations);
}

void CheckText(const std::string& text, bool valid, bool allowNotApplicable) {
  if (!valid) {
    FUZZ_CHECK(text == kOutOfRangeText || (allowNotApplicable && text == kNotApplicableText),
               "invalid result shown as %s", text.c_str());
    return;
  }
  FUZZ_CHECK(!text.empty() && text.find_first_not_of("0123456789.-") == std::string::npos,
             "result text %s", text.c_str());
}

}  // namespace

// Every call of the two saturation functions goes through here (see fuzz/CMakeLists.txt).
extern "C" {
double __real__ZN7tavimor23SaturationPressureWaterEddRKNS_13PhysicsChoiceE(
    double, double, const tavimor::PhysicsChoice&);
double __real__ZN7tavimor26SaturationPressureDewFrostEddRKNS_13PhysicsChoiceE(
    double, double, const tavimor::PhysicsChoice&);
double __wrap__ZN7tavimor23SaturationPressureWaterEddRKNS_13PhysicsChoiceE(
    double t, double p, const tavimor::PhysicsChoice& c) {
  ++g_evaluations;
  return __real__ZN7tavimor23SaturationPressureWaterEddRKNS_13PhysicsChoiceE(t, p, c);
}
double __wrap__ZN7tavimor26SaturationPressureDewFrostEddRKNS_13PhysicsChoiceE(
    double t, double p, const tavimor::PhysicsChoice& c) {
  ++g_evaluations;
  return __real__ZN7tavimor26SaturationPressureDewFrostEddRKNS_13PhysicsChoiceE(t, p, c);
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(PrintMostEvaluations);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);

  // The two halves of a conversion, directly.
  const auto from = static_cast<MoistureUnit>(in.ConsumeIntegralInRange(-1, 12));
  const auto to = static_cast<MoistureUnit>(in.ConsumeIntegralInRange(-1, 12));
  const PhysicsChoice physics = AnyPhysics(in);
  const UnitParams fromSide = AnyParams(in);
  const UnitParams toSide = AnyParams(in);
  const double value = AnyDouble(in);
  const double p = AnyDouble(in);
  const double pc = AnyDouble(in);

  g_evaluations = 0;
  const double ppmv = MoistureToPpmv(from, value, p, fromSide, physics);
  CheckBounded(g_evaluations, 1);
  FUZZ_CHECK(std::isfinite(ppmv), "MoistureToPpmv gave %g", ppmv);

  const double ppmvIn = in.ConsumeBool() ? ppmv : AnyDouble(in);
  g_evaluations = 0;
  const double result = PpmvToMoisture(to, ppmvIn, pc, toSide, p, physics);
  CheckBounded(g_evaluations, 1);
  FUZZ_CHECK(std::isfinite(result), "PpmvToMoisture gave %g", result);

  // The panel's whole recomputation: four conversions, texts as shown.
  MoistureInputs inputs;
  inputs.FromValue = AnyFloat(in);
  inputs.Increment = AnyFloat(in);
  inputs.FromUnit = in.ConsumeIntegralInRange(-2, 12);
  inputs.FromListSelection = in.ConsumeBool() ? inputs.FromUnit : in.ConsumeIntegral<int>();
  inputs.ToListSelection = in.ConsumeIntegralInRange(-2, 12);
  inputs.MeasuredPressure = AnyFloat(in);
  inputs.MeasuredPressureUnit = in.ConsumeIntegralInRange(-1, 6);
  inputs.ComputePressure = AnyFloat(in);
  inputs.ComputePressureUnit = in.ConsumeIntegralInRange(-1, 6);
  CalcSettings settings;
  settings.SwvpFormula = AnyChoice<SwvpFormula>(in, 1020, 1023);
  settings.EnhancementFactor = AnyChoice<EnhancementFactor>(in, 1024, 1026);
  settings.GasMethod = AnyChoice<GasMethod>(in, 1025, 1026);
  settings.From = AnySide(in);
  settings.To = AnySide(in);

  g_evaluations = 0;
  const MoistureResults r = ComputeMoistureResults(inputs, settings);
  CheckBounded(g_evaluations, 4);
  CheckText(r.ResultText, r.ResultValid, false);
  CheckText(r.DeltaText, r.DeltaValid, true);
  if (r.ResultValid) FUZZ_CHECK(std::isfinite(r.Result), "result %g", double(r.Result));
  if (r.DeltaValid) FUZZ_CHECK(std::isfinite(r.Delta), "delta %g", double(r.Delta));
  (void)FromValueRangeMessage(inputs.FromListSelection, inputs.FromValue);

  // The pressure helpers with any index.
  (void)ReadPressureMbar(inputs.MeasuredPressure, inputs.MeasuredPressureUnit);
  (void)PressureFromMbar(inputs.ComputePressure, inputs.ComputePressureUnit);
  (void)RoundToPowerOfTen(value, in.ConsumeIntegralInRange(-20, 20));
  return 0;
}
