#include "plot/plot_axes.h"

#include <cmath>

#include "core/number_text.h"
#include "core/single_precision.h"

namespace tavimor {

AxisRange DefaultAxisRange(MoistureUnit unit) {
  switch (unit) {
    case MoistureUnit::PartialPressure:
      return {0, 123.4f};
    case MoistureUnit::DewFrostPointC:
    case MoistureUnit::DewPointC:
      return {-140, 50};
    case MoistureUnit::DewFrostPointF:
    case MoistureUnit::DewPointF:
      return {-220, 122};
    case MoistureUnit::Ppmv:
    case MoistureUnit::PpmwGas:
      return {0, 138670};
    case MoistureUnit::LbsPerMmscf:
      return {0, 5812};
    case MoistureUnit::GramsPerM3:
      return {0, 93};
    case MoistureUnit::RelHumidity:
      return {0, 100};
    case MoistureUnit::PpmwLiquid:
      return {0, 1900};
  }
  return {0, 0};
}

std::optional<float> ZoomedXMax(AxisRange defaultX, double fromValue, bool fromIsAmount) {
  // A NaN fails this test as well, so it keeps the default ranges.
  if (!(fromValue < static_cast<double>(defaultX.Max))) return std::nullopt;
  const double k = fromIsAmount ? 2.0 : 1.1;
  const double xmin = defaultX.Min;
  const double zoomed = xmin + k * (fromValue - xmin);
  return zoomed < static_cast<double>(defaultX.Max) ? HoldSingle(zoomed) : defaultX.Max;
}

float LabelStep(AxisRange range) {
  return (range.Max - range.Min) * 0.2f;
}

int LabelDecimals(GraphAxis axis, bool isAmount, float axisMax, float step) {
  if (!isAmount || axisMax >= 100) return 1;
  const double s = step;
  if (s >= 0.01) return 2;
  if (s >= 0.001) return 3;
  if (s >= 0.0001) return 4;
  if (s >= 0.00001) return 5;
  if (s >= 0.000001) return 6;
  return axis == GraphAxis::Y ? 9 : 6;
}

std::array<std::string, 6> AxisLabels(GraphAxis axis, bool isAmount, AxisRange range) {
  const float step = LabelStep(range);
  const int decimals = LabelDecimals(axis, isAmount, range.Max, step);
  std::array<std::string, 6> labels;
  for (int k = 0; k < 6; ++k) {
    const float value = range.Min + static_cast<float>(k) * step;
    // The ranges reaching here are finite; a text never shows "inf" or "nan" all the same.
    labels[static_cast<std::size_t>(k)] =
        std::isfinite(value) ? FormatFixed(value, decimals) : std::string();
  }
  return labels;
}

}  // namespace tavimor
