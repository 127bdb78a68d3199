#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <memory>

class QWidget;

namespace tavimor {

// The four pens of the graph; all are one pixel wide.
enum class GraphPen { Curve, Isobar, Marker, Grid };

QColor GraphPenColor(GraphPen pen);  // bright green, dark green, blue, grey
inline const QColor kGraphLabelColor{127, 127, 127};
inline const QColor kGraphBackground{0, 0, 0};

// The off-screen picture of the graph control, taken once at the control's size when the
// panel is created and kept until the panel is destroyed.
class GraphSurface {
 public:
  GraphSurface(QSize size, const QFont& labelFont);

  QSize size() const { return m_image.size(); }
  const QImage& image() const { return m_image; }
  QImage& image() { return m_image; }
  const QFont& labelFont() const { return m_labelFont; }

  // The pen the last paint ended with; it outlines the next background. A new surface
  // starts with the curve pen, so its first paint is outlined bright green.
  GraphPen selectedPen() const { return m_selectedPen; }
  void setSelectedPen(GraphPen pen) { m_selectedPen = pen; }

 private:
  QImage m_image;
  QFont m_labelFont;
  GraphPen m_selectedPen = GraphPen::Curve;
};

// A surface of the control's current size. The labels use the font the dialog units are
// computed for, in which an eight-character label fits the 50-pixel left margin.
std::unique_ptr<GraphSurface> CreateGraphSurface(const QWidget& control);

}  // namespace tavimor
