#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "plot/plot_graph.h"

class QAction;

namespace tavimor {

class GraphSurface;

// What the graph's context menu needs from outside; tests replace both.
struct GraphFileServices {
  // The file to save the graph to, or an empty text when the user cancelled.
  std::function<QString(QWidget* parent)> chooseSaveFile;
  std::function<void(QWidget* parent, const QString& title, const QString& text)> showWarning;
};

GraphFileServices DefaultGraphFileServices();

// Control 1008: shows the graph's surface one to one at its top-left corner, without a
// border, and offers "Save Graph As..." and "Copy Graph" in its context menu.
class MoistureGraphControl : public QWidget {
  Q_OBJECT

 public:
  explicit MoistureGraphControl(QWidget* parent = nullptr);
  ~MoistureGraphControl() override;

  // Takes the surface at the control's current size; called once the panel is laid out.
  void createSurface();
  GraphSurface* surface() const { return m_surface.get(); }

  // Repaints the surface for these inputs and schedules the control's own repaint.
  // Without a surface nothing is painted and the plan is still returned.
  GraphPlan paintGraph(const GraphInputs& inputs);
  // What the last paintGraph drew (its marker places the leader lines).
  const GraphPlan& lastPlan() const { return m_lastPlan; }

  void setFileServices(GraphFileServices services) { m_services = std::move(services); }

  // Writes the current picture as PNG; false when cancelled or failed (a failure is shown).
  bool saveGraphAs();
  void copyGraph();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  std::unique_ptr<GraphSurface> m_surface;
  GraphPlan m_lastPlan;
  GraphFileServices m_services;
  QAction* m_saveAction = nullptr;
  QAction* m_copyAction = nullptr;
};

}  // namespace tavimor
