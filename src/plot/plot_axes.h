#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/unit_tables.h"

namespace tavimor {

// One axis of the graph, in the axis unit, held in single precision.
struct AxisRange {
  float Min = 0;
  float Max = 0;
  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// The unzoomed range of a unit's axis.
AxisRange DefaultAxisRange(MoistureUnit unit);

// The x maximum while the zoom button is held: xmin + k (v - xmin), k 2.0 for a quantity of
// water and 1.1 for a dew or frost point, never above the default maximum. Nothing when v
// is not below the default maximum (the default ranges stand).
std::optional<float> ZoomedXMax(AxisRange defaultX, double fromValue, bool fromIsAmount);

// (max - min) * 0.2, the factor and the result in single precision.
float LabelStep(AxisRange range);

enum class GraphAxis { X, Y };

// Digits after the point of an axis's labels, decided by the unit kind, the axis maximum
// and the step as held in single precision. Below 0.000001 the y axis shows 9 digits, the
// x axis stays at 6.
int LabelDecimals(GraphAxis axis, bool isAmount, float axisMax, float step);

// The six labels from the minimum up: min + k * step in single-precision arithmetic.
std::array<std::string, 6> AxisLabels(GraphAxis axis, bool isAmount, AxisRange range);

}  // namespace tavimor
