#include "panels/graph_control.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QSaveFile>

#include "panels/graph_surface.h"
#include "panels/moisture_graph.h"

namespace tavimor {

GraphFileServices DefaultGraphFileServices() {
  GraphFileServices services;
  services.chooseSaveFile = [](QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Save Graph As"), QString(),
                       QStringLiteral("PNG image (*.png)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
  };
  services.showWarning = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
  };
  return services;
}

MoistureGraphControl::MoistureGraphControl(QWidget* parent)
    : QWidget(parent), m_services(DefaultGraphFileServices()) {
  // The picture covers the whole control, so nothing behind it needs painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setContentsMargins(0, 0, 0, 0);
  m_saveAction = new QAction(QStringLiteral("Save Graph As..."), this);
  m_copyAction = new QAction(QStringLiteral("Copy Graph"), this);
  m_saveAction->setObjectName(QStringLiteral("SaveGraphAs"));
  m_copyAction->setObjectName(QStringLiteral("CopyGraph"));
  connect(m_saveAction, &QAction::triggered, this, &MoistureGraphControl::saveGraphAs);
  connect(m_copyAction, &QAction::triggered, this, &MoistureGraphControl::copyGraph);
}

MoistureGraphControl::~MoistureGraphControl() = default;

void MoistureGraphControl::createSurface() {
  m_surface = CreateGraphSurface(*this);
  update();
}

GraphPlan MoistureGraphControl::paintGraph(const GraphInputs& inputs) {
  if (m_surface) {
    m_lastPlan = PaintMoistureGraph(*m_surface, inputs);
  } else {
    m_lastPlan = PlanMoistureGraph(inputs, width(), height());
  }
  update();
  return m_lastPlan;
}

bool MoistureGraphControl::saveGraphAs() {
  if (!m_surface || m_surface->image().isNull() || !m_services.chooseSaveFile) return false;
  const QString path = m_services.chooseSaveFile(this);
  if (path.isEmpty()) return false;
  // Written beside the target and renamed, so a failed save never leaves half a file.
  QSaveFile file(path);
  const bool saved =
      file.open(QIODevice::WriteOnly) && m_surface->image().save(&file, "PNG") && file.commit();
  if (!saved && m_services.showWarning) {
    const QString reason =
        file.errorString().isEmpty() ? QStringLiteral("unknown error") : file.errorString();
    m_services.showWarning(this, QStringLiteral("Save Graph As"),
                           QStringLiteral("The graph could not be saved to %1: %2")
                               .arg(QDir::toNativeSeparators(path), reason));
  }
  return saved;
}

void MoistureGraphControl::copyGraph() {
  if (!m_surface || m_surface->image().isNull()) return;
  QGuiApplication::clipboard()->setImage(m_surface->image());
}

void MoistureGraphControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_surface && !m_surface->image().isNull()) {
    painter.drawImage(0, 0, m_surface->image());
    // A control grown after the surface was taken shows black beyond the picture.
    const QSize s = m_surface->size();
    if (s.width() < width())
      painter.fillRect(s.width(), 0, width() - s.width(), height(), Qt::black);
    if (s.height() < height())
      painter.fillRect(0, s.height(), s.width(), height() - s.height(), Qt::black);
  } else {
    painter.fillRect(rect(), Qt::black);
  }
}

void MoistureGraphControl::contextMenuEvent(QContextMenuEvent* event) {
  const bool hasPicture = m_surface && !m_surface->image().isNull();
  m_saveAction->setEnabled(hasPicture);
  m_copyAction->setEnabled(hasPicture);
  QMenu menu(this);
  menu.addAction(m_saveAction);
  menu.addAction(m_copyAction);
  menu.exec(event->globalPos());
}

}  // namespace tavimor
