#include "panels/moisture_graph.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>

#include "panels/graph_surface.h"

namespace tavimor {

namespace {

// Width 0 is the cosmetic one-pixel pen.
QPen PenOf(GraphPen pen) {
  QPen p(GraphPenColor(pen), 0);
  p.setCosmetic(true);
  return p;
}

void DrawPolyline(QPainter& painter, const std::vector<PixelPoint>& points) {
  // A single point is only a move: nothing is drawn.
  if (points.size() < 2) return;
  QPolygon polygon;
  polygon.reserve(static_cast<int>(points.size()));
  for (const PixelPoint& p : points) polygon << QPoint(p.X, p.Y);
  painter.drawPolyline(polygon);
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
      painter.drawLine(kPlotMarginLeft, plan.GridRows[k], w - kPlotMarginRight, plan.GridRows[k]);
    }
    for (std::size_t k = 0; k < 6; ++k) {
      if (labels) {
        painter.setPen(textPen);
        DrawLabel(painter, plan.XLabelAt[k], plan.XLabels[k], ascent);
      }
      painter.setPen(gridPen);
      painter.drawLine(plan.GridColumns[k], kPlotMarginTop, plan.GridColumns[k],
                       h - kPlotMarginBottom);
    }
  }

  painter.setPen(PenOf(GraphPen::Curve));
  DrawPolyline(painter, plan.Curve);
  painter.setPen(PenOf(GraphPen::Isobar));
  for (const std::vector<PixelPoint>& isobar : plan.Isobars) DrawPolyline(painter, isobar);

  painter.setPen(PenOf(GraphPen::Marker));
  if (plan.MarkerAt) {
    const QPoint corner(plan.MarkerAt->Column, plan.MarkerAt->Row);
    const QPoint path[] = {QPoint(0, corner.y()), corner, QPoint(corner.x(), 0)};
    painter.drawPolyline(path, 3);
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
  const std::array<QLine, 2> lines = LeaderLines(graphControl, fromField, toField, *plan.MarkerAt);
  panelPainter.drawLines(lines.data(), static_cast<int>(lines.size()));
  panelPainter.restore();
}

}  // namespace tavimor
