#pragma once

#include <optional>

#include "plot/plot_axes.h"

namespace tavimor {

// Plot area margins of the graph bitmap, pixels.
inline constexpr int kPlotMarginLeft = 50;
inline constexpr int kPlotMarginRight = 25;
inline constexpr int kPlotMarginTop = 15;
inline constexpr int kPlotMarginBottom = 10;

// Coordinates far outside the bitmap are held to the range of 16-bit device coordinates.
inline constexpr int kPixelLimit = 32767;

// The mapping between axis values and bitmap pixels of one paint.
struct PlotGeometry {
  int Width = 0;   // W
  int Height = 0;  // H
  int Nx = 0;      // W - 75, columns of the plot area
  int Ny = 0;      // H - 25, rows of the plot area
  int Gx = 0;      // (W - 75) / 5, spacing of the vertical grid lines
  int Gy = 0;      // (H - 25) / 5, spacing of the horizontal grid lines
  AxisRange X;
  AxisRange Y;
  float XPerPixel = 0;  // single precision, as the pixel arithmetic
  float YPerPixel = 0;
};

// Nothing when the plot area is empty or a scale is not a finite positive number (an empty,
// reversed or overflowing range): such a mapping would place points arbitrarily.
std::optional<PlotGeometry> MakePlotGeometry(int width, int height, AxisRange x, AxisRange y);

// The plot area alone, for grid lines when no axis range is defined.
bool HasPlotArea(int width, int height);

// truncate((x - xmin) / xPerPixel + 50), all in single precision; nothing for a value that
// is not finite, held to +-kPixelLimit otherwise.
std::optional<int> ColumnOf(const PlotGeometry& g, float x);

// truncate(H - ((y - ymin) / yPerPixel + 10)) in single precision, like ColumnOf.
std::optional<int> RowOf(const PlotGeometry& g, float y);

// Truncation toward zero that never leaves the int range: nothing for NaN or infinity.
std::optional<int> TruncateToPixel(float v);

}  // namespace tavimor
