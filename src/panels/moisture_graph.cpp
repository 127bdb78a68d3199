#include "panels/moisture_graph.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <cstdlib>

#include "panels/graph_surface.h"

namespace tavimor {

namespace {

// Width 0 is the cosmetic one-pixel pen.
QPen PenOf(GraphPen pen) {
  QPen p(GraphPenColor(pen), 0);
  p.setCosmetic(true);
  return p;
}

// The pixels the platform's LineTo lights from one point to the next: a Bresenham walk along
// the longer axis that stops one pixel short of the end point, whichever way the line runs.
// Every pixel position of the graph assumes the missing end pixel.
void AppendLineTo(QPolygon& pixels, QPoint from, QPoint to) {
  const int dx = std::abs(to.x() - from.x());
  const int dy = std::abs(to.y() - from.y());
  const int sx = to.x() < from.x() ? -1 : 1;
  const int sy = to.y() < from.y() ? -1 : 1;
  const bool xMajor = dx >= dy;
  const int major = xMajor ? dx : dy;
  const int minor = xMajor ? dy : dx;
  int error = 2 * minor - major;
  QPoint at = from;
  for (int i = 0; i < major; ++i) {
    pixels << at;
    if (error > 0) {
      at += xMajor ? QPoint(0, sy) : QPoint(sx, 0);
      error -= 2 * major;
    }
    error += 2 * minor;
    at += xMajor ? QPoint(sx, 0) : QPoint(0, sy);
  }
}

// MoveToEx to the first point, then LineTo each following one.
void DrawLinesTo(QPainter& painter, const QPolygon& points) {
  QPolygon pixels;
  for (int i = 1; i < points.size(); ++i) AppendLineTo(pixels, points[i - 1], points[i]);
  painter.drawPoints(pixels);
}

void DrawPolyline(QPainter& painter, const std::vector<PixelPoint>& points) {
  QPolygon polygon;
  polygon.reserve(static_cast<int>(points.size()));
  for (const PixelPoint& p : points) polygon << QPoint(p.X, p.Y);
  DrawLinesTo(painter, polygon);
}

// Text with its top-left corner at the point; QPainter places text by its baseline.
void DrawLabel(QPainter& painter, const PixelPoint& at, const std::string& text, int ascent) {
  painter.drawText(at.X, at.Y + ascent, QString::fromStdString(text));
}

}  // namespace

GraphPlan PaintMoistureGraph(GraphSurface& surface, const GraphInputs& inputs) {
  const int w = surface.size().width();
  const int h = surface.size().height();
  GraphPlan plan = PlanMoistureGraph(inputs, w, h);
  if (surface.image().isNull()) {
    surface.setSelectedPen(GraphPen::Marker);
    return plan;
  }

  QPainter painter(&surface.image());
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setFont(surface.labelFont());
  const int ascent = QFontMetrics(surface.labelFont(), &surface.image()).ascent();

  painter.fillRect(0, 0, w, h, kGraphBackground);
  painter.setPen(PenOf(surface.selectedPen()));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, w - 1, h - 1);

  if (plan.HasGrid) {
    const QPen gridPen = PenOf(GraphPen::Grid);
    const QPen textPen(kGraphLabelColor, 0);
    const bool labels = plan.Geometry.has_value();
    for (std::size_t k = 0; k < 6; ++k) {
      if (labels) {
        painter.setPen(textPen);
        DrawLabel(painter, plan.YLabelAt[k], plan.YLabels[k], ascent);
      }
      painter.setPen(gridPen);
      DrawLinesTo(painter, QPolygon({QPoint(kPlotMarginLeft, plan.GridRows[k]),
                                     QPoint(w - kPlotMarginRight, plan.GridRows[k])}));
    }
    for (std::size_t k = 0; k < 6; ++k) {
      if (labels) {
        painter.setPen(textPen);
        DrawLabel(painter, plan.XLabelAt[k], plan.XLabels[k], ascent);
      }
      painter.setPen(gridPen);
      DrawLinesTo(painter, QPolygon({QPoint(plan.GridColumns[k], kPlotMarginTop),
                                     QPoint(plan.GridColumns[k], h - kPlotMarginBottom)}));
    }
  }

  painter.setPen(PenOf(GraphPen::Curve));
  DrawPolyline(painter, plan.Curve);
  painter.setPen(PenOf(GraphPen::Isobar));
  for (const std::vector<PixelPoint>& isobar : plan.Isobars) DrawPolyline(painter, isobar);

  painter.setPen(PenOf(GraphPen::Marker));
  if (plan.MarkerAt) {
    const QPoint corner(plan.MarkerAt->Column, plan.MarkerAt->Row);
    DrawLinesTo(painter, QPolygon({QPoint(0, corner.y()), corner, QPoint(corner.x(), 0)}));
  }
  surface.setSelectedPen(GraphPen::Marker);
  return plan;
}

std::array<QLine, 2> LeaderLines(const QRect& graphControl, const QRect& fromField,
                                 const QRect& toField, const GraphPlan::Marker& marker) {
  // Edges as the platform's rectangles give them: the bottom is top + height.
  const QPoint fromAnchor(fromField.x() + fromField.width() / 2,
                          fromField.y() + fromField.height());
  const QPoint toAnchor(toField.x() + toField.width() / 2, toField.y());
  return {QLine(fromAnchor, QPoint(graphControl.x() + marker.Column, graphControl.y())),
          QLine(toAnchor, QPoint(graphControl.x(), graphControl.y() + marker.Row))};
}

void PaintLeaderLines(QPainter& panelPainter, const QRect& graphControl, const QRect& fromField,
                      const QRect& toField, const GraphPlan& plan) {
  if (!plan.MarkerAt) return;
  panelPainter.save();
  panelPainter.setRenderHint(QPainter::Antialiasing, false);
  panelPainter.setPen(PenOf(GraphPen::Marker));
  for (const QLine& line : LeaderLines(graphControl, fromField, toField, *plan.MarkerAt)) {
    DrawLinesTo(panelPainter, QPolygon({line.p1(), line.p2()}));
  }
  panelPainter.restore();
}

}  // namespace tavimor
