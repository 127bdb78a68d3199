#include "plot/plot_geometry.h"

#include <algorithm>
#include <cmath>

namespace tavimor {

bool HasPlotArea(int width, int height) {
  return width > kPlotMarginLeft + kPlotMarginRight && height > kPlotMarginTop + kPlotMarginBottom;
}

std::optional<PlotGeometry> MakePlotGeometry(int width, int height, AxisRange x, AxisRange y) {
  if (!HasPlotArea(width, height)) return std::nullopt;
  PlotGeometry g;
  g.Width = width;
  g.Height = height;
  g.Nx = width - kPlotMarginLeft - kPlotMarginRight;
  g.Ny = height - kPlotMarginTop - kPlotMarginBottom;
  g.Gx = g.Nx / 5;
  g.Gy = g.Ny / 5;
  g.X = x;
  g.Y = y;
  g.XPerPixel = (x.Max - x.Min) / static_cast<float>(g.Nx);
  g.YPerPixel = (y.Max - y.Min) / static_cast<float>(g.Ny);
  const auto usable = [](float scale) { return std::isfinite(scale) && scale > 0; };
  if (!std::isfinite(x.Min) || !std::isfinite(y.Min) || !usable(g.XPerPixel) ||
      !usable(g.YPerPixel)) {
    return std::nullopt;
  }
  return g;
}

std::optional<int> TruncateToPixel(float v) {
  if (!std::isfinite(v)) return std::nullopt;
  const float limit = static_cast<float>(kPixelLimit);
  return static_cast<int>(std::clamp(v, -limit, limit));
}

std::optional<int> ColumnOf(const PlotGeometry& g, float x) {
  return TruncateToPixel((x - g.X.Min) / g.XPerPixel + static_cast<float>(kPlotMarginLeft));
}

std::optional<int> RowOf(const PlotGeometry& g, float y) {
  return TruncateToPixel(static_cast<float>(g.Height) -
                         ((y - g.Y.Min) / g.YPerPixel + static_cast<float>(kPlotMarginBottom)));
}

}  // namespace tavimor
