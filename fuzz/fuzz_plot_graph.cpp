// The graph's plan on any state of the panel's fields and lists and any bitmap size: it never
// fails, samples at most one point per pixel column, keeps every coordinate within 16-bit
// device coordinates and every label short.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "fuzz_check.h"
#include "plot/plot_graph.h"

namespace {

using namespace tavimor;

constexpr std::size_t kMaxLabelChars = 48;

double AnyDouble(FuzzedDataProvider& in) {
  static constexpr double kSpecial[] = {0.0,
                                        -0.0,
                                        std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::denorm_min(),
                                        1e30,
                                        1e300,
                                        -1e300,
                                        1013.25,
                                        -40,
                                        20};
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
      return kSpecial[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kSpecial) - 1)];
    case 1:
      return std::bit_cast<double>(in.ConsumeIntegral<uint64_t>());
    default:
      return in.ConsumeFloatingPointInRange(-300.0, 200000.0);
  }
}

float AnyFloat(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) return std::bit_cast<float>(in.ConsumeIntegral<uint32_t>());
  return static_cast<float>(in.ConsumeFloatingPointInRange(-2000.0, 200000.0));
}

void CheckPoint(PixelPoint p) {
  FUZZ_CHECK(std::abs(p.X) <= kPixelLimit && std::abs(p.Y) <= kPixelLimit, "point %d,%d", p.X, p.Y);
}

void CheckCurve(const std::vector<PixelPoint>& curve, int width) {
  FUZZ_CHECK(curve.size() <= static_cast<std::size_t>(std::max(width, 0)) + 1,
             "%zu samples for %d columns", curve.size(), width);
  for (const PixelPoint& p : curve) CheckPoint(p);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  GraphInputs g;
  g.FromValue = AnyDouble(in);
  g.FromUnit = in.ConsumeIntegralInRange(-2, 12);
  g.ToUnit = in.ConsumeIntegralInRange(-2, 12);
  g.MeasuredPressureMbar = AnyFloat(in);
  g.ComputePressureMbar = AnyFloat(in);
  g.Isobars = static_cast<GraphIsobars>(in.ConsumeIntegralInRange(0, 2));
  g.ZoomHeld = in.ConsumeBool();
  CalcSettings& s = g.Settings;
  s.SwvpFormula = static_cast<SwvpFormula>(in.ConsumeIntegralInRange(1019, 1024));
  s.EnhancementFactor = static_cast<EnhancementFactor>(in.ConsumeIntegralInRange(1023, 1027));
  s.GasMethod = static_cast<GasMethod>(in.ConsumeIntegralInRange(1024, 1027));
  for (SideParams* side : {&s.From, &s.To}) {
    side->MolWeight = AnyFloat(in);
    side->HenryK = AnyFloat(in);
    side->AmbientTempC = AnyFloat(in);
    side->VaporTempC = AnyFloat(in);
    side->DensityMedium = static_cast<DensityMedium>(in.ConsumeIntegralInRange(1035, 1039));
  }
  const int width = in.ConsumeIntegralInRange(-5, 1200);
  const int height = in.ConsumeIntegralInRange(-5, 800);

  const GraphPlan plan = PlanMoistureGraph(g, width, height);
  CheckCurve(plan.Curve, width);
  FUZZ_CHECK(plan.Isobars.size() <= 2, "%zu isobars", plan.Isobars.size());
  for (const auto& isobar : plan.Isobars) CheckCurve(isobar, width);
  // A label of an axis near the float maximum has 39 integer digits.
  for (const auto* labels : {&plan.XLabels, &plan.YLabels}) {
    for (const std::string& label : *labels) {
      FUZZ_CHECK(label.size() <= kMaxLabelChars, "%s", label.c_str());
    }
  }
  for (const PixelPoint& p : plan.XLabelAt) CheckPoint(p);
  for (const PixelPoint& p : plan.YLabelAt) CheckPoint(p);
  if (plan.MarkerAt) CheckPoint({plan.MarkerAt->Column, plan.MarkerAt->Row});
  return 0;
}
