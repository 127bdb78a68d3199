#include "app/main_window.h"

#include <QAction>
#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>

#include "app/about_dialog.h"
#include "app/category_bar.h"
#include "app/preference_dialogs.h"
#include "app/save_selections_dialog.h"
#include "app/shell_ids.h"
#include "ui/dialog_units.h"

namespace tavimor {

QString TextStrip() {
  return QStringLiteral(
      "A reading is only as good as the sample line: keep it short, clean, dry and leak-tight.\n"
      "Hygrometers and moisture analyzers stay trustworthy with regular calibration against a "
      "reference.\n"
      "Tavimor also converts from a terminal: run tavimor-convert --help for the details.");
}

// The area below the menu bar; paints the text strip into its bottom 3 x BaseUnitY pixels.
class ClientArea : public QWidget {
 public:
  ClientArea(const ShellState& shell, QWidget* parent) : QWidget(parent), m_shell(shell) {
    setObjectName(QStringLiteral("ClientArea"));
    setFixedSize(kClientWidth, kClientHeight);
    setPanelLine(QString());
  }

  // The second line, below the motto; empty: the program's own second line.
  void setPanelLine(const QString& line) {
    QStringList lines = TextStrip().split(QLatin1Char('\n'));
    if (!line.isEmpty()) lines[1] = line;
    if (lines == m_lines) return;
    m_lines = lines;
    setAccessibleName(m_lines.join(QLatin1Char(' ')));
    update(stripRect());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect strip = stripRect();
    const int lineHeight = m_shell.BaseUnitY;
    // The window class's background (the system window colour, white), not the panels' face.
    painter.fillRect(strip, Qt::white);
    painter.setFont(SystemFont());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setClipRect(strip);
    for (int i = 0; i < m_lines.size(); ++i) {
      painter.drawText(QRect(0, strip.top() + i * lineHeight, width(), lineHeight),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_lines[i]);
    }
  }

 private:
  QRect stripRect() const {
    const int lineHeight = m_shell.BaseUnitY;
    return QRect(0, height() - 3 * lineHeight, width(), 3 * lineHeight);
  }

  const ShellState& m_shell;
  QStringList m_lines;
};

namespace {

QAction* AddCommand(QMenu* menu, int id, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QString::number(id));
  return action;
}

}  // namespace

MainWindow::MainWindow(AppState& state, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_state(state) {
  setWindowTitle(QStringLiteral("Tavimor"));
  setObjectName(QStringLiteral("TAVIMOR"));
  QIcon icon;
  icon.addPixmap(LargeIcon());
  icon.addPixmap(SmallIcon());
  setWindowIcon(icon);
  // The height of the classic system font, whatever the fonts installed here.
  m_state.Shell.BaseUnitY = 16;

  QMenu* preferences = menuBar()->addMenu(QStringLiteral("&Preferences"));
  preferences->setObjectName(QStringLiteral("Preferences"));
  struct Item {
    QMenu* menu;
    int id;
    const char* text;
  };
  QMenu* help = nullptr;
  const Item prefItems[] = {
      {preferences, kCmdWaterVaporPressure, "Water Vapor Pressure Calculations"},
      {preferences, kCmdNaturalGasMethod, "Natural Gas Method"},
      {preferences, kCmdSaveSelections, "Save Selections"},
      {preferences, kCmdExit, "E&xit"},
  };
  for (const Item& item : prefItems) {
    const int id = item.id;
    connect(AddCommand(item.menu, id, QString::fromLatin1(item.text)), &QAction::triggered, this,
            [this, id] { runCommand(id); });
  }
  help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("Help"));
  connect(AddCommand(help, kCmdAbout, QStringLiteral("&About ...")), &QAction::triggered, this,
          [this] { runCommand(kCmdAbout); });
  // Alt+? and Alt+/ open About wherever the keyboard focus is in the window.
  for (const QKeySequence& keys :
       {QKeySequence(Qt::ALT | Qt::Key_Question), QKeySequence(Qt::ALT | Qt::Key_Slash)}) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { runCommand(kCmdAbout); });
  }

  m_client = new ClientArea(m_state.Shell, this);
  setCentralWidget(m_client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  m_bar = new CategoryBar(m_state, m_client);
  connect(m_bar, &CategoryBar::ShowMoisturePanel, this, &MainWindow::ShowMoisturePanel,
          Qt::QueuedConnection);
  connect(m_bar, &CategoryBar::ShowTemperaturePanel, this, &MainWindow::ShowTemperaturePanel,
          Qt::QueuedConnection);
  connect(m_bar, &CategoryBar::ShowPressurePanel, this, &MainWindow::ShowPressurePanel,
          Qt::QueuedConnection);
  connect(m_bar, &CategoryBar::ShowAnalogPanel, this, &MainWindow::ShowAnalogPanel,
          Qt::QueuedConnection);
  layoutChildren();
}

MainWindow::~MainWindow() {
  // The bar first, then the panel, as the window is destroyed.
  delete m_bar;
  delete m_panel.data();
}

void MainWindow::showStatusLine() {
  m_client->setPanelLine(m_panel ? m_panel->statusLine() : QString());
}

void MainWindow::layoutChildren() {
  const int v = m_state.Shell.BaseUnitY;
  const int width = m_client->width();
  const int height = m_client->height();
  m_bar->setGeometry(0, 0, width, 3 * v);
  if (m_panel) m_panel->setGeometry(0, 3 * v, width, std::max(0, height - 6 * v));
}

void MainWindow::ShowMoisturePanel() {
  showPanel(PanelKind::Moisture);
}
void MainWindow::ShowTemperaturePanel() {
  showPanel(PanelKind::Temperature);
}
void MainWindow::ShowPressurePanel() {
  showPanel(PanelKind::Pressure);
}
void MainWindow::ShowAnalogPanel() {
  showPanel(PanelKind::Analog);
}

void MainWindow::showPanel(PanelKind kind) {
  if (m_state.Shell.PanelKind == kind) return;
  m_state.Shell.PanelKind = kind;
  // The old panel goes before the new one is made, so at most one exists at any time.
  delete m_panel.data();
  m_panel = CreatePanel(kind, m_state, m_client);
  if (m_panel) {
    connect(m_panel, &Panel::statusLineChanged, this, &MainWindow::showStatusLine);
    layoutChildren();
    m_panel->show();
  }
  showStatusLine();
}

bool MainWindow::event(QEvent* event) {
  // Activation gives the focus to the main window itself unless a control holds it, so a
  // field whose focus notification computes is not focused unasked.
  if (event->type() == QEvent::WindowActivate) {
    const QWidget* focused = focusWidget();
    if (!focused || !focused->isVisible()) m_client->setFocus(Qt::ActiveWindowFocusReason);
  }
  return QMainWindow::event(event);
}

void MainWindow::refreshPanel() {
  if (m_panel) m_panel->refresh();
}

void MainWindow::runCommand(int command) {
  auto run = [this](QDialog& dialog) {
    if (m_state.Ui.runDialog) m_state.Ui.runDialog(dialog);
  };
  switch (command) {
    case kCmdAbout: {
      AboutDialog dialog(this);
      PlaceDialog(dialog, *m_client, 22, 17, kSystemFontUnits);
      run(dialog);
      break;
    }
    case kCmdExit:
      close();
      break;
    case kCmdWaterVaporPressure: {
      SwvpFormulaDialog dialog(
          m_state.Settings, [this] { refreshPanel(); }, this);
      PlaceDialog(dialog, *m_client, 30, 20);
      run(dialog);
      break;
    }
    case kCmdNaturalGasMethod: {
      GasMethodDialog dialog(
          m_state.Settings, [this] { refreshPanel(); }, this);
      PlaceDialog(dialog, *m_client, 30, 20);
      run(dialog);
      break;
    }
    case kCmdSaveSelections: {
      SaveSelectionsDialog dialog(m_state, m_panel, this);
      run(dialog);
      break;
    }
    default:
      break;
  }
}

}  // namespace tavimor
