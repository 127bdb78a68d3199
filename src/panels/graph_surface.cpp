#include "panels/graph_surface.h"

#include <QWidget>

#include "ui/dialog_units.h"

namespace tavimor {

QColor GraphPenColor(GraphPen pen) {
  switch (pen) {
    case GraphPen::Curve:
      return {0, 255, 0};
    case GraphPen::Isobar:
      return {0, 127, 0};
    case GraphPen::Marker:
      return {0, 0, 175};
    case GraphPen::Grid:
      return {95, 95, 95};
  }
  return {0, 0, 175};
}

GraphSurface::GraphSurface(QSize size, const QFont& labelFont)
    : m_image(size.isValid() ? size : QSize(0, 0), QImage::Format_RGB32), m_labelFont(labelFont) {
  // Text without smoothing, like lines, so every label pixel is exactly the label grey.
  m_labelFont.setStyleStrategy(QFont::NoAntialias);
  if (!m_image.isNull()) m_image.fill(kGraphBackground);
}

std::unique_ptr<GraphSurface> CreateGraphSurface(const QWidget& control) {
  return std::make_unique<GraphSurface>(control.size(), DialogFont());
}

}  // namespace tavimor
