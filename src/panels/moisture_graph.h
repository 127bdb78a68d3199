#pragma once

#include <QLine>
#include <QRect>
#include <array>

#include "plot/plot_graph.h"

class QPainter;

namespace tavimor {

class GraphSurface;

// Paints the whole graph for these inputs into the surface: background, grid and labels,
// curve, isobars and marker. Returns what was drawn, whose marker the leader lines join.
GraphPlan PaintMoistureGraph(GraphSurface& surface, const GraphInputs& inputs);

// The two leader lines in panel coordinates: from the middle of the From field's bottom edge
// to the marker's column on the graph's top edge, and from the middle of the To field's top
// edge to the marker's row on the graph's left edge. Rectangles are in panel coordinates.
std::array<QLine, 2> LeaderLines(const QRect& graphControl, const QRect& fromField,
                                 const QRect& toField, const GraphPlan::Marker& marker);

// Draws the leader lines with the marker pen; nothing when the last paint had no marker.
void PaintLeaderLines(QPainter& panelPainter, const QRect& graphControl, const QRect& fromField,
                      const QRect& toField, const GraphPlan& plan);

}  // namespace tavimor
