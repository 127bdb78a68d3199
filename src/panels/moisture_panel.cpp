#include "panels/moisture_panel.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <utility>
#include <vector>

#include "core/moisture_conversion.h"
#include "core/number_text.h"
#include "core/single_precision.h"
#include "core/unit_tables.h"
#include "model/clipboard_lines.h"
#include "model/from_value_reexpression.h"
#include "model/parameter_labels.h"
#include "panels/ambient_dialog.h"
#include "panels/density_dialog.h"
#include "panels/gas_dialog.h"
#include "panels/graph_control.h"
#include "panels/liquid_dialog.h"
#include "panels/moisture_graph.h"
#include "panels/moisture_panel_ids.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"

namespace tavimor {

namespace ids = moisture_ids;

// Collects the repaint requests of one handler and of the notifications it raises; the
// outermost batch recomputes once on leaving.
class RepaintBatch {
 public:
  explicit RepaintBatch(MoisturePanel& panel) : m_panel(panel) { ++m_panel.m_batchDepth; }
  ~RepaintBatch() {
    if (--m_panel.m_batchDepth == 0) m_panel.flushRepaint();
  }
  RepaintBatch(const RepaintBatch&) = delete;
  RepaintBatch& operator=(const RepaintBatch&) = delete;

 private:
  MoisturePanel& m_panel;
};

namespace {

const QString kEnterNewValue = QStringLiteral("enter new val");

// A list line longer than this can hold no more number than its first 14 characters; the
// From field is spared a multi-megabyte text.
constexpr qsizetype kClipboardLineMaxChars = 1000;

// Every line goes through the From field and may raise the range warning, so a list is
// converted in a time a user waits for; longer lists belong to tavimor-convert.
constexpr std::size_t kClipboardListMaxLines = 100000;

std::size_t CountClipboardLines(std::string_view text) {
  const auto feeds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  return feeds + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

constexpr int kOptionUnits[] = {6, 10, 8, 9};  // in the order of the label and dialog pass

QString Text(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

float FieldNumber(const QLineEdit* field) {
  return HoldSingle(ReadNumber(field->text().toStdString()));
}

bool IsOptionUnit(int unit) {
  return unit == 6 || unit == 8 || unit == 9 || unit == 10;
}

QString IsobarCaption(int id) {
  switch (id) {
    case ids::kIsobarMeasured:
      return QStringLiteral("dark green  curves\n2x & 4x measured\npressure selection");
    case ids::kIsobarComputed:
      return QStringLiteral("dark green  curves\n2x & 4x computed\npressure selection");
    default:
      return QStringLiteral(" ");
  }
}

// The twelve etched lines (dialog units, x, y, length) framing the From area, the To area
// and the two pressure areas; the template gives them no rectangles of their own.
struct EtchedLine {
  bool horizontal;
  int x, y, length;
};
constexpr EtchedLine kEtchedLines[] = {
    {true, 2, 9, 418},    {true, 2, 31, 418},   {false, 2, 9, 22},     {false, 420, 9, 22},
    {true, 4, 164, 412},  {true, 4, 187, 412},  {false, 4, 164, 23},   {false, 416, 164, 23},
    {false, 316, 31, 30}, {true, 316, 61, 104}, {true, 313, 119, 122}, {false, 313, 119, 45},
};

QFrame* AddEtchedLine(QWidget* panel, const EtchedLine& line) {
  auto* frame = new QFrame(panel);
  frame->setFrameShape(line.horizontal ? QFrame::HLine : QFrame::VLine);
  frame->setFrameShadow(QFrame::Sunken);
  const QRect r = line.horizontal ? DialogRect(line.x, line.y, line.length, 0)
                                  : DialogRect(line.x, line.y, 0, line.length);
  frame->setGeometry(r.x(), r.y(), line.horizontal ? r.width() : 2,
                     line.horizontal ? 2 : r.height());
  frame->setFocusPolicy(Qt::NoFocus);
  return frame;
}

}  // namespace

MoisturePanel::MoisturePanel(CalcSettings& settings, MoisturePanelState& state,
                             ProfileReader profile, UiServices ui, QWidget* parent)
    : Panel(parent),
      m_settings(settings),
      m_state(state),
      m_profile(std::move(profile)),
      m_ui(std::move(ui)) {
  setObjectName(QStringLiteral("132"));
  setFont(DialogFont());
  setMouseTracking(true);
  buildControls();
  connectEvents();
  fillLists();
  LoadSavedSelections();
  if (auto* graph = qobject_cast<MoistureGraphControl*>(m_graph)) graph->createSurface();
  m_state.ZoomHeld = false;
  m_initialised = true;
  requestRepaint();
  leaveFocusToPlatform();
}

MoisturePanel::~MoisturePanel() = default;

QSize MoisturePanel::sizeHint() const {
  return DialogRect(0, 0, 533, 202).size();
}

void MoisturePanel::buildControls() {
  // Frames first, so the controls they surround lie above them.
  AddGroupBox(this, QStringLiteral("Incremental Analysis"), DialogRect(443, 2, 78, 188));
  AddGroupBox(this, QStringLiteral("Graph Isobars"), DialogRect(311, 64, 124, 50));
  for (const EtchedLine& line : kEtchedLines) AddEtchedLine(this, line);

  AddStaticText(this, 0, QStringLiteral("From:"), DialogRect(5, 16, 18, 8));
  m_fromValue =
      AddEditField(this, ids::kFromValue, DialogRect(29, 14, 64, 14), QStringLiteral("From value"));
  m_fromUnitList = AddDropDownList(this, ids::kFromUnit, DialogRect(117, 14, 298, 123),
                                   QStringLiteral("From unit"));

  AddStaticText(this, 0, QStringLiteral("delta"), DialogRect(451, 19, 16, 8));
  m_increment = AddEditField(this, ids::kIncrement, DialogRect(473, 15, 40, 14),
                             QStringLiteral("Increment of the From value"));
  AddStaticText(this, 0,
                QStringLiteral("Examine what change would occur in the units of interest, if "
                               "the source units changed by the specified amount near the "
                               "current conversion value."),
                DialogRect(453, 57, 59, 83));
  AddStaticText(this, 0, QStringLiteral("delta"), DialogRect(452, 169, 16, 8));
  m_delta = AddEditField(this, ids::kDelta, DialogRect(475, 166, 40, 14),
                         QStringLiteral("Effect of the increment on the result"),
                         /*readOnly=*/true);

  AddStaticText(this, 0, QStringLiteral("measured at pressure of:"), DialogRect(321, 32, 78, 8));
  m_measured = AddEditField(this, ids::kMeasuredPressure, DialogRect(320, 42, 40, 14),
                            QStringLiteral("Measured pressure"));
  m_measuredUnitList =
      AddDropDownList(this, ids::kMeasuredPressureUnit, DialogRect(371, 43, 43, 69),
                      QStringLiteral("Measured pressure unit"));

  m_graph = new MoistureGraphControl(this);
  NameControl(m_graph, ids::kGraph, QStringLiteral("Graph"));
  m_graph->setGeometry(DialogRect(72, 43, 233, 111));

  AddDecoration(this, DialogRect(6, 49, 42, 63));
  m_zoomButton = new QPushButton(QStringLiteral("Zoom\nGraph"), this);
  NameControl(m_zoomButton, ids::kZoomButton, QStringLiteral("Zoom Graph"));
  m_zoomButton->setGeometry(DialogRect(9, 122, 35, 21));
  m_zoomButton->setAutoDefault(false);

  m_isobars = new QButtonGroup(this);
  AddOptionButton(this, m_isobars, ids::kIsobarMeasured, QStringLiteral("\"measured\""),
                  DialogRect(313, 75, 53, 10));
  AddOptionButton(this, m_isobars, ids::kIsobarNone, QStringLiteral("no isobars"),
                  DialogRect(313, 88, 48, 10));
  AddOptionButton(this, m_isobars, ids::kIsobarComputed, QStringLiteral("\"computed\""),
                  DialogRect(313, 100, 54, 10));
  m_isobarCaption = new QPlainTextEdit(this);
  NameControl(m_isobarCaption, ids::kIsobarCaption, QStringLiteral("Isobar caption"));
  m_isobarCaption->setGeometry(DialogRect(367, 75, 65, 32));
  m_isobarCaption->setReadOnly(true);
  m_isobarCaption->setFrameShape(QFrame::NoFrame);
  m_isobarCaption->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_isobarCaption->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_isobarCaption->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_isobarCaption->document()->setDocumentMargin(0);
  {
    QPalette palette = m_isobarCaption->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    m_isobarCaption->setPalette(palette);
  }

  m_pressureChoice = new QButtonGroup(this);
  AddOptionButton(this, m_pressureChoice, ids::kComputeAtMeasured,
                  QStringLiteral("compute at measured pressure"), DialogRect(318, 123, 111, 10));
  AddOptionButton(this, m_pressureChoice, ids::kComputeAtPressure,
                  QStringLiteral("compute at pressure of:"), DialogRect(318, 134, 90, 10));
  m_compute = AddEditField(this, ids::kComputePressure, DialogRect(320, 145, 40, 14),
                           QStringLiteral("Compute-at pressure"));
  m_computeUnitList = AddDropDownList(this, ids::kComputePressureUnit, DialogRect(368, 147, 43, 73),
                                      QStringLiteral("Compute-at pressure unit"));

  AddStaticText(this, 0, QStringLiteral("To:"), DialogRect(8, 172, 12, 8));
  m_result = AddEditField(this, ids::kResult, DialogRect(27, 169, 64, 14), QStringLiteral("Result"),
                          /*readOnly=*/true);
  m_toUnitList = AddDropDownList(this, ids::kToUnit, DialogRect(113, 169, 298, 108),
                                 QStringLiteral("To unit"));

  m_convertClipboard = new QAction(QStringLiteral("Convert Clipboard List"), this);
  m_convertClipboard->setObjectName(QStringLiteral("ConvertClipboardList"));
  m_convertClipboard->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
  // Whenever the panel is shown in the active window, whatever has the focus, or nothing
  // after a From unit change.
  m_convertClipboard->setShortcutContext(Qt::WindowShortcut);
  addAction(m_convertClipboard);
}

void MoisturePanel::connectEvents() {
  OnEveryEditNotification(m_fromValue, &m_notifications, [this] { onFromFieldNotification(); });
  OnEveryEditNotification(m_measured, &m_notifications, [this] { onMeasuredFieldNotification(); });
  for (QLineEdit* field : {m_compute, m_increment}) {
    OnEveryEditNotification(field, &m_notifications, [this] {
      RepaintBatch batch(*this);
      requestRepaint();
    });
  }
  // Only a change of a list's selection by the user has an effect; picking the entry that is
  // already selected counts too.
  connect(m_fromUnitList, &QComboBox::activated, this, &MoisturePanel::onFromUnitChange);
  connect(m_toUnitList, &QComboBox::activated, this, &MoisturePanel::onToUnitChange);
  connect(m_measuredUnitList, &QComboBox::activated, this,
          &MoisturePanel::onMeasuredPressureUnitChange);
  connect(m_computeUnitList, &QComboBox::activated, this,
          &MoisturePanel::onComputePressureUnitChange);
  connect(m_isobars, &QButtonGroup::idClicked, this, &MoisturePanel::onIsobarCommand);
  connect(m_pressureChoice, &QButtonGroup::idClicked, this, &MoisturePanel::onPressureChoice);
  // The zoom lasts while the left button is held on 1047 (see eventFilter); the keyboard's
  // Space presses the button without zooming.
  m_zoomButton->installEventFilter(this);
  connect(m_zoomButton, &QPushButton::clicked, this, [this] { setZoomHeld(false); });
  connect(m_convertClipboard, &QAction::triggered, this, &MoisturePanel::ConvertClipboardList);
}

void MoisturePanel::fillLists() {
  // A filled list has no selection until one is set, as the classic list box.
  m_measuredUnitList->clear();
  for (const PressureUnitRow& row : kPressureUnits) m_measuredUnitList->addItem(Text(row.Name));
  m_measuredUnitList->setCurrentIndex(-1);
  m_fromUnitList->clear();
  for (const MoistureUnitRow& row : kMoistureUnits) m_fromUnitList->addItem(Text(row.ComboText));
  m_fromUnitList->setCurrentIndex(-1);
  m_computeUnitList->clear();
  for (const PressureUnitRow& row : kPressureUnits) m_computeUnitList->addItem(Text(row.Name));
  m_computeUnitList->setCurrentIndex(-1);
  m_toUnitList->clear();
  for (const MoistureUnitRow& row : kMoistureUnits) m_toUnitList->addItem(Text(row.ComboText));
  m_toUnitList->setCurrentIndex(-1);
}

void MoisturePanel::LoadSavedSelections() {
  RepaintBatch batch(*this);
  // Fields after one that does not parse keep the values of the previous creation.
  PanelSelections saved;
  saved.FromUnit = m_state.FromUnit;
  saved.ToUnit = m_state.ToUnit;
  saved.MeasuredPressureUnit = m_state.MeasuredPressureUnit;
  saved.ComputePressureUnit = m_state.ComputePressureUnit;
  ReadSavedSelections(m_profile, saved, m_settings);

  // The From field is written before its list has a selection: no range check here.
  SetFieldText(m_fromValue, QString::fromStdString(FormatSignificant(saved.FromValue, 5)));
  m_state.FromUnit = saved.FromUnit;
  m_fromUnitList->setCurrentIndex(saved.FromUnit);
  SetFieldText(m_measured, QString::fromStdString(FormatSignificant(saved.MeasuredPressure, 6)));
  m_state.MeasuredPressureUnit = saved.MeasuredPressureUnit;
  m_measuredUnitList->setCurrentIndex(saved.MeasuredPressureUnit);
  m_state.ToUnit = saved.ToUnit;
  m_toUnitList->setCurrentIndex(saved.ToUnit);
  SetFieldText(m_compute, QString::fromStdString(FormatSignificant(saved.ComputePressure, 6)));
  m_state.ComputePressureUnit = saved.ComputePressureUnit;
  m_computeUnitList->setCurrentIndex(saved.ComputePressureUnit);

  const int isobar = saved.IsobarChoice;
  m_isobars->button(isobar)->setChecked(true);
  // As a click queued to the panel: the caption is written after initialisation.
  QMetaObject::invokeMethod(
      this, [this, isobar] { onIsobarCommand(isobar); }, Qt::QueuedConnection);
  m_pressureChoice->button(saved.PressureChoice)->setChecked(true);
  const bool computeAtPressure = saved.PressureChoice != ids::kComputeAtMeasured;
  m_compute->setEnabled(computeAtPressure);
  m_computeUnitList->setEnabled(computeAtPressure);
}

void MoisturePanel::requestRepaint() {
  m_repaintPending = true;
  if (m_batchDepth == 0) flushRepaint();
}

void MoisturePanel::flushRepaint() {
  if (!m_repaintPending || !m_initialised) return;
  m_repaintPending = false;
  RecomputeResults();
  paintGraph();
  update();
}

void MoisturePanel::paintGraph() {
  if (auto* graph = qobject_cast<MoistureGraphControl*>(m_graph)) {
    graph->paintGraph(graphInputs());
  } else {
    m_graph->update();
  }
}

GraphInputs MoisturePanel::graphInputs() const {
  GraphInputs in;
  in.FromValue = ReadNumber(m_fromValue->text().toStdString());
  in.FromUnit = m_fromUnitList->currentIndex();
  in.ToUnit = m_toUnitList->currentIndex();
  in.MeasuredPressureMbar =
      ReadPressureMbar(FieldNumber(m_measured), m_measuredUnitList->currentIndex());
  in.ComputePressureMbar =
      ReadPressureMbar(FieldNumber(m_compute), m_computeUnitList->currentIndex());
  in.IsobarButton = m_isobars->checkedId();
  in.ZoomHeld = m_state.ZoomHeld;
  in.Settings = m_settings;
  return in;
}

void MoisturePanel::paintEvent(QPaintEvent* event) {
  Panel::paintEvent(event);
  // The leader lines join the From and To fields to the marker on the graph's edges.
  if (auto* graph = qobject_cast<MoistureGraphControl*>(m_graph)) {
    QPainter painter(this);
    PaintLeaderLines(painter, m_graph->geometry(), m_fromValue->geometry(), m_result->geometry(),
                     graph->lastPlan());
  }
}

void MoisturePanel::setGraphControl(QWidget* graph) {
  if (!graph || graph == m_graph) return;
  graph->setParent(this);
  graph->setGeometry(m_graph->geometry());
  NameControl(graph, ids::kGraph, QStringLiteral("Graph"));
  graph->stackUnder(m_graph);
  graph->show();
  delete m_graph;
  m_graph = graph;
  requestRepaint();
}

void MoisturePanel::refresh() {
  RepaintBatch batch(*this);
  requestRepaint();
}

void MoisturePanel::ValidateFromValue() {
  const auto message =
      FromValueRangeMessage(m_fromUnitList->currentIndex(), FieldNumber(m_fromValue));
  if (!message) return;
  if (m_ui.beep) m_ui.beep();
  SetFieldText(m_fromValue, kEnterNewValue);
  // The panel shows the replaced entry's results behind the message box.
  flushRepaint();
  if (m_ui.showInformation) m_ui.showInformation(this, Text(*message));
  m_fromValue->setFocus(Qt::OtherFocusReason);
  m_fromValue->selectAll();
}

void MoisturePanel::RecomputeResults() {
  MoistureInputs inputs;
  inputs.FromValue = FieldNumber(m_fromValue);
  inputs.Increment = FieldNumber(m_increment);
  inputs.FromUnit = m_state.FromUnit;
  inputs.FromListSelection = m_fromUnitList->currentIndex();
  inputs.ToListSelection = m_toUnitList->currentIndex();
  inputs.MeasuredPressure = FieldNumber(m_measured);
  inputs.MeasuredPressureUnit = m_measuredUnitList->currentIndex();
  inputs.ComputePressure = FieldNumber(m_compute);
  inputs.ComputePressureUnit = m_computeUnitList->currentIndex();
  const MoistureResults results = ComputeMoistureResults(inputs, m_settings);
  m_state.ToUnit = inputs.ToListSelection;
  SetFieldText(m_result, QString::fromStdString(results.ResultText));
  SetFieldText(m_delta, QString::fromStdString(results.DeltaText));
}

void MoisturePanel::onFromFieldNotification() {
  RepaintBatch batch(*this);
  ValidateFromValue();
  requestRepaint();
}

void MoisturePanel::onMeasuredFieldNotification() {
  RepaintBatch batch(*this);
  if (m_pressureChoice->checkedId() == ids::kComputeAtMeasured) {
    SetFieldText(m_compute, m_measured->text());
  }
  requestRepaint();
}

void MoisturePanel::onMeasuredPressureUnitChange(int index) {
  RepaintBatch batch(*this);
  if (index != m_state.MeasuredPressureUnit && IsPressureUnitIndex(index)) {
    if (m_pressureChoice->checkedId() == ids::kComputeAtMeasured) {
      m_computeUnitList->setCurrentIndex(index);
      m_state.ComputePressureUnit = index;
    }
    const float mbar = ReadPressureMbar(FieldNumber(m_measured), m_state.MeasuredPressureUnit);
    const float value = PressureFromMbar(mbar, index);
    // Notifies the panel, which copies the new text into 1011 under 1016.
    SetFieldText(m_measured, QString::fromStdString(FormatSignificant(value, 7)));
    m_state.MeasuredPressureUnit = index;
  }
  requestRepaint();
  setFocus(Qt::OtherFocusReason);
}

void MoisturePanel::onComputePressureUnitChange(int index) {
  RepaintBatch batch(*this);
  if (index != m_state.ComputePressureUnit && IsPressureUnitIndex(index)) {
    const float mbar = ReadPressureMbar(FieldNumber(m_compute), m_state.ComputePressureUnit);
    const float value = PressureFromMbar(mbar, index);
    SetFieldText(m_compute, QString::fromStdString(FormatSignificant(value, 7)));
    m_state.ComputePressureUnit = index;
  }
  requestRepaint();
  setFocus(Qt::OtherFocusReason);
}

void MoisturePanel::onIsobarCommand(int id) {
  RepaintBatch batch(*this);
  m_isobarCaption->setPlainText(IsobarCaption(id));
  requestRepaint();
}

void MoisturePanel::onPressureChoice(int id) {
  RepaintBatch batch(*this);
  if (id == ids::kComputeAtMeasured) {
    m_compute->setEnabled(false);
    m_computeUnitList->setEnabled(false);
    const int unit = m_measuredUnitList->currentIndex();
    m_computeUnitList->setCurrentIndex(unit);
    m_state.ComputePressureUnit = unit;
    SetFieldText(m_compute, m_measured->text());
  } else {
    m_compute->setEnabled(true);
    m_computeUnitList->setEnabled(true);
  }
  requestRepaint();
}

void MoisturePanel::setZoomHeld(bool held) {
  if (m_state.ZoomHeld == held) return;
  RepaintBatch batch(*this);
  m_state.ZoomHeld = held;
  requestRepaint();
}

bool MoisturePanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_zoomButton && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    setZoomHeld(true);
  }
  return Panel::eventFilter(watched, event);
}

void MoisturePanel::mouseMoveEvent(QMouseEvent* event) {
  // The mouse over the panel itself, outside its controls, ends a held zoom.
  if (m_state.ZoomHeld) setZoomHeld(false);
  Panel::mouseMoveEvent(event);
}

void MoisturePanel::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(m_convertClipboard);
  menu.exec(event->globalPos());
}

void MoisturePanel::onFromUnitChange(int index) {
  RepaintBatch batch(*this);
  if (!MoistureUnitFromIndex(index)) return;
  labelAndDialogPass(Side::From, m_fromUnitList, index);
  if (index == m_state.FromUnit && !IsOptionUnit(index)) {
    setFocus(Qt::OtherFocusReason);
    return;
  }
  const float measuredMbar =
      ReadPressureMbar(FieldNumber(m_measured), m_measuredUnitList->currentIndex());
  const ReexpressedFromValue reexpressed =
      ReexpressFromValue(FieldNumber(m_fromValue), m_state.FromUnit, index, measuredMbar,
                         m_settings, m_fromUnitList->currentIndex(), m_toUnitList->currentIndex());
  if (reexpressed.Outcome == ReexpressOutcome::OldUnitFailed) {
    SetFieldText(m_fromValue, kEnterNewValue);
    m_fromValue->setFocus(Qt::OtherFocusReason);
    m_fromValue->selectAll();
  } else {
    // Notifies the panel: the new text is checked against the range of the new unit.
    SetFieldText(m_fromValue, QString::fromStdString(reexpressed.Text));
    if (QWidget* focused = window()->focusWidget()) focused->clearFocus();
    requestRepaint();
  }
  m_state.FromUnit = index;
  m_settings.FromBasis = BasisOf(m_settings.From);
}

void MoisturePanel::onToUnitChange(int index) {
  RepaintBatch batch(*this);
  if (!MoistureUnitFromIndex(index)) return;
  labelAndDialogPass(Side::To, m_toUnitList, index);
  requestRepaint();
  setFocus(Qt::OtherFocusReason);
}

void MoisturePanel::labelAndDialogPass(Side side, QComboBox* list, int selected) {
  for (const int unit : kOptionUnits) {
    const std::string_view base = kMoistureUnits[static_cast<std::size_t>(unit)].ComboText;
    if (unit == selected) {
      const std::string suffix = runParameterDialog(unit, side);
      list->setItemText(unit, QString::fromStdString(EntryTextWithChoice(base, suffix)));
      list->setCurrentIndex(unit);
    } else {
      list->setItemText(unit, Text(base));
    }
  }
}

std::string MoisturePanel::runParameterDialog(int unit, Side side) {
  SideParams& params = side == Side::From ? m_settings.From : m_settings.To;
  // The panel shows its current results while the dialog is open.
  flushRepaint();
  const auto run = [this](QDialog& dialog) {
    if (m_ui.runDialog) m_ui.runDialog(dialog);
  };
  // The dialog's result code is not consulted: its working copy is taken back as it is.
  switch (unit) {
    case 6: {
      GasDialog dialog({params.GasIndex, params.MolWeight}, m_gasLabelSuffix, this);
      run(dialog);
      params.GasIndex = dialog.working().GasIndex;
      params.MolWeight = dialog.working().MolWeight;
      return m_gasLabelSuffix = dialog.labelSuffix();
    }
    case 10: {
      LiquidDialog dialog({params.Liquid, params.HenryK}, m_liquidLabelSuffix, this);
      run(dialog);
      params.Liquid = dialog.working().Liquid;
      params.HenryK = dialog.working().HenryK;
      return m_liquidLabelSuffix = dialog.labelSuffix();
    }
    case 8: {
      DensityDialog dialog({params.DensityMedium, params.VaporTempUnit, params.VaporTempC},
                           m_mediumLabelSuffix, this);
      run(dialog);
      params.DensityMedium = dialog.working().DensityMedium;
      params.VaporTempUnit = dialog.working().VaporTempUnit;
      params.VaporTempC = dialog.working().VaporTempC;
      return m_mediumLabelSuffix = dialog.labelSuffix();
    }
    case 9: {
      AmbientDialog dialog({params.AmbientTempUnit, params.AmbientTempC}, m_ambientLabelSuffix,
                           this);
      run(dialog);
      params.AmbientTempUnit = dialog.working().AmbientTempUnit;
      params.AmbientTempC = dialog.working().AmbientTempC;
      return m_ambientLabelSuffix = dialog.labelSuffix();
    }
    default:
      return {};
  }
}

void MoisturePanel::ConvertClipboardList() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return;
  const QMimeData* mime = clipboard->mimeData();
  if (!mime || !mime->hasText()) {
    clipboard->setText(QString());
    return;
  }
  const std::string text = clipboard->text().toStdString();
  const std::size_t lineCount = CountClipboardLines(text);
  if (lineCount > kClipboardListMaxLines) {
    if (m_ui.showWarning) {
      m_ui.showWarning(this, QStringLiteral("Convert Clipboard List"),
                       QStringLiteral("The clipboard holds %1 lines; a list of at most %2 lines "
                                      "is converted here. Convert longer lists with "
                                      "tavimor-convert.")
                           .arg(lineCount)
                           .arg(kClipboardListMaxLines));
    }
    return;
  }
  std::vector<std::string> results;
  {
    RepaintBatch batch(*this);
    const std::vector<std::string_view> lines = SplitClipboardLines(text);
    results.reserve(lines.size());
    for (const std::string_view line : lines) {
      SetFieldText(m_fromValue, Text(line).left(kClipboardLineMaxChars));
      ValidateFromValue();
      RecomputeResults();
      m_repaintPending = true;
      results.push_back(m_result->text().left(14).toStdString());
    }
  }
  clipboard->setText(QString::fromStdString(JoinClipboardResults(results)));
}

PanelSelectionTexts MoisturePanel::selectionTexts() const {
  PanelSelectionTexts texts;
  if (m_isobars->button(ids::kIsobarMeasured)->isChecked()) {
    texts.IsobarChoice = ids::kIsobarMeasured;
  } else if (m_isobars->button(ids::kIsobarComputed)->isChecked()) {
    texts.IsobarChoice = ids::kIsobarComputed;
  } else {
    texts.IsobarChoice = ids::kIsobarNone;
  }
  texts.PressureChoice = m_pressureChoice->button(ids::kComputeAtMeasured)->isChecked()
                             ? ids::kComputeAtMeasured
                             : ids::kComputeAtPressure;
  texts.FromText = m_fromValue->text().toStdString();
  texts.FromListIndex = m_fromUnitList->currentIndex();
  texts.ToListIndex = m_toUnitList->currentIndex();
  texts.MeasuredText = m_measured->text().toStdString();
  texts.MeasuredListIndex = m_measuredUnitList->currentIndex();
  texts.ComputeText = m_compute->text().toStdString();
  texts.ComputeListIndex = m_computeUnitList->currentIndex();
  return texts;
}

ProfileKeys MoisturePanel::savedSelectionKeys() const {
  return ComposePanelSavedKeys(selectionTexts(), m_settings);
}

}  // namespace tavimor
