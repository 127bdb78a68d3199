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
#include <QScopedValueRollback>
#include <utility>

#include "core/unit_tables.h"
#include "panels/ambient_dialog.h"
#include "panels/density_dialog.h"
#include "panels/gas_dialog.h"
#include "panels/graph_control.h"
#include "panels/liquid_dialog.h"
#include "panels/moisture_graph.h"
#include "ui/dialog_units.h"
#include "ui/panel_controls.h"

namespace tavimor {

namespace ids = moisture_ids;

namespace {

QString Text(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
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
    : Panel(parent), m_model(settings, state), m_ui(std::move(ui)) {
  setObjectName(QStringLiteral("132"));
  setFont(DialogFont());
  setMouseTracking(true);
  buildControls();
  connectEvents();
  fillLists();
  apply(m_model.load(profile));
  // As a click queued to the panel: the caption is written after initialisation.
  const int isobar = m_model.isobarChoice();
  QMetaObject::invokeMethod(
      this, [this, isobar] { apply(m_model.isobarClicked(isobar)); }, Qt::QueuedConnection);
  m_graph->createSurface();
  apply(m_model.setZoomHeld(false));
  apply(m_model.start());
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
  const auto notifications = [this](QLineEdit* field, MoistureControl id,
                                    MoistureChanges (MoistureModel::*notified)(std::string_view)) {
    OnEditNotifications(
        field, &m_notifications,
        [this, notified](const QString& text) { onFieldNotification(notified, text); },
        [this, id, notified] {
          // Gaining or losing the focus notifies too, with the text the field holds.
          apply((m_model.*notified)(m_model.text(id)));
        });
  };
  notifications(m_fromValue, ids::kFromValue, &MoistureModel::fromFieldNotified);
  notifications(m_measured, ids::kMeasuredPressure, &MoistureModel::measuredFieldNotified);
  notifications(m_compute, ids::kComputePressure, &MoistureModel::computeAtFieldNotified);
  notifications(m_increment, ids::kIncrement, &MoistureModel::incrementFieldNotified);
  // Only a change of a list's selection by the user has an effect; picking the entry that is
  // already selected counts too.
  const auto runDialog = [this](const ParameterDialogRequest& request) {
    return runParameterDialog(request);
  };
  connect(m_fromUnitList, &QComboBox::activated, this,
          [this, runDialog](int index) { apply(m_model.fromUnitPicked(index, runDialog)); });
  connect(m_toUnitList, &QComboBox::activated, this,
          [this, runDialog](int index) { apply(m_model.toUnitPicked(index, runDialog)); });
  connect(m_measuredUnitList, &QComboBox::activated, this,
          [this](int index) { apply(m_model.measuredUnitPicked(index)); });
  connect(m_computeUnitList, &QComboBox::activated, this,
          [this](int index) { apply(m_model.computeAtUnitPicked(index)); });
  connect(m_isobars, &QButtonGroup::idClicked, this,
          [this](int id) { apply(m_model.isobarClicked(id)); });
  connect(m_pressureChoice, &QButtonGroup::idClicked, this,
          [this](int id) { apply(m_model.pressureChoiceClicked(id)); });
  // The zoom lasts while the left button is held on the zoom button (see eventFilter); the
  // keyboard's Space presses the button without zooming. The pressed button keeps the mouse:
  // the moves it ignores once the pointer is off it are not the panel's.
  m_zoomButton->installEventFilter(this);
  m_zoomButton->setAttribute(Qt::WA_NoMousePropagation);
  connect(m_zoomButton, &QPushButton::clicked, this, [this] { apply(m_model.setZoomHeld(false)); });
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

void MoisturePanel::onFieldNotification(
    MoistureChanges (MoistureModel::*notified)(std::string_view), const QString& text) {
  if (m_writingBack) return;
  apply((m_model.*notified)(text.toStdString()));
}

QLineEdit* MoisturePanel::field(MoistureControl id) const {
  switch (id) {
    case ids::kFromValue:
      return m_fromValue;
    case ids::kIncrement:
      return m_increment;
    case ids::kMeasuredPressure:
      return m_measured;
    case ids::kComputePressure:
      return m_compute;
    case ids::kDelta:
      return m_delta;
    default:
      return m_result;
  }
}

void MoisturePanel::apply(const MoistureChanges& changes) {
  {
    const QScopedValueRollback writing(m_writingBack, true);
    for (const MoistureControl id : changes.Fields) {
      SetFieldText(field(id), Text(m_model.text(id)));
    }
    if (changes.Lists) writeLists();
    if (changes.Choices) writeChoices();
    if (changes.Results) writeResults();
  }
  if (changes.Warning) showWarning(*changes.Warning);
  switch (changes.Focus) {
    case MoistureFocus::Unchanged:
      break;
    case MoistureFocus::Panel:
      setFocus(Qt::OtherFocusReason);
      break;
    case MoistureFocus::FromFieldSelected:
      m_fromValue->setFocus(Qt::OtherFocusReason);
      m_fromValue->selectAll();
      break;
    case MoistureFocus::Released:
      if (QWidget* focused = window()->focusWidget()) focused->clearFocus();
      break;
  }
}

void MoisturePanel::showWarning(const std::string& message) {
  if (m_ui.beep) m_ui.beep();
  if (m_ui.showInformation) m_ui.showInformation(this, Text(message));
  // Typing then replaces "enter new val".
  m_fromValue->setFocus(Qt::OtherFocusReason);
  m_fromValue->selectAll();
}

void MoisturePanel::writeLists() {
  const struct {
    QComboBox* list;
    MoistureControl id;
  } lists[] = {{m_fromUnitList, ids::kFromUnit},
               {m_toUnitList, ids::kToUnit},
               {m_measuredUnitList, ids::kMeasuredPressureUnit},
               {m_computeUnitList, ids::kComputePressureUnit}};
  for (const auto& [list, id] : lists) {
    if (id == ids::kFromUnit || id == ids::kToUnit) {
      const MoistureSide side = id == ids::kFromUnit ? MoistureSide::From : MoistureSide::To;
      for (int unit = 0; unit < list->count(); ++unit) {
        const QString entry = Text(m_model.unitEntry(side, unit));
        if (list->itemText(unit) != entry) list->setItemText(unit, entry);
      }
    }
    const int selection = m_model.listSelection(id);
    if (list->currentIndex() != selection) list->setCurrentIndex(selection);
  }
}

void MoisturePanel::writeChoices() {
  if (QAbstractButton* button = m_isobars->button(m_model.isobarChoice())) {
    button->setChecked(true);
  }
  if (QAbstractButton* button = m_pressureChoice->button(m_model.pressureChoice())) {
    button->setChecked(true);
  }
  const QString caption = Text(m_model.isobarCaption());
  if (m_isobarCaption->toPlainText() != caption) m_isobarCaption->setPlainText(caption);
  m_compute->setEnabled(m_model.computeAtEnabled());
  m_computeUnitList->setEnabled(m_model.computeAtEnabled());
}

void MoisturePanel::writeResults() {
  SetFieldText(m_result, Text(m_model.text(ids::kResult)));
  SetFieldText(m_delta, Text(m_model.text(ids::kDelta)));
  m_graph->paintGraph(m_model.graphInputs());
  update();
  emit statusLineChanged();
}

void MoisturePanel::paintEvent(QPaintEvent* event) {
  Panel::paintEvent(event);
  // The leader lines join the From and To fields to the marker on the graph's edges.
  QPainter painter(this);
  PaintLeaderLines(painter, m_graph->geometry(), m_fromValue->geometry(), m_result->geometry(),
                   m_graph->lastPlan());
}

void MoisturePanel::refresh() {
  apply(m_model.settingsChanged());
}

bool MoisturePanel::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::MouseButtonPress;
  if (watched == m_zoomButton && (press || event->type() == QEvent::MouseButtonRelease) &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    // The button receives the release wherever the pointer is; released off the button it
    // is no click, yet the zoom ends all the same.
    apply(m_model.setZoomHeld(press));
  }
  return Panel::eventFilter(watched, event);
}

void MoisturePanel::mouseMoveEvent(QMouseEvent* event) {
  // The mouse over the panel itself, outside its controls, ends a held zoom.
  apply(m_model.setZoomHeld(false));
  Panel::mouseMoveEvent(event);
}

void MoisturePanel::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(m_convertClipboard);
  menu.exec(event->globalPos());
}

ParameterDialogAnswer MoisturePanel::runParameterDialog(const ParameterDialogRequest& request) {
  ParameterDialogAnswer answer{request.Params, request.LabelSuffix};
  SideParams& params = answer.Params;
  const auto run = [this](QDialog& dialog) {
    // Every parameter template opens at (0, 0) from the panel, its owner.
    PlaceDialog(dialog, *this, 0, 0);
    if (m_ui.runDialog) m_ui.runDialog(dialog);
  };
  switch (request.Unit) {
    case MoistureUnit::PpmwGas: {
      GasDialog dialog({params.GasIndex, params.MolWeight}, request.LabelSuffix, this);
      run(dialog);
      params.GasIndex = dialog.working().GasIndex;
      params.MolWeight = dialog.working().MolWeight;
      answer.LabelSuffix = dialog.labelSuffix();
      break;
    }
    case MoistureUnit::PpmwLiquid: {
      LiquidDialog dialog({params.Liquid, params.HenryK}, request.LabelSuffix, this);
      run(dialog);
      params.Liquid = dialog.working().Liquid;
      params.HenryK = dialog.working().HenryK;
      answer.LabelSuffix = dialog.labelSuffix();
      break;
    }
    case MoistureUnit::GramsPerM3: {
      DensityDialog dialog({params.DensityMedium, params.VaporTempUnit, params.VaporTempC},
                           request.LabelSuffix, this);
      run(dialog);
      params.DensityMedium = dialog.working().DensityMedium;
      params.VaporTempUnit = dialog.working().VaporTempUnit;
      params.VaporTempC = dialog.working().VaporTempC;
      answer.LabelSuffix = dialog.labelSuffix();
      break;
    }
    case MoistureUnit::RelHumidity: {
      AmbientDialog dialog({params.AmbientTempUnit, params.AmbientTempC}, request.LabelSuffix,
                           this);
      run(dialog);
      params.AmbientTempUnit = dialog.working().AmbientTempUnit;
      params.AmbientTempC = dialog.working().AmbientTempC;
      answer.LabelSuffix = dialog.labelSuffix();
      break;
    }
    default:
      break;
  }
  return answer;
}

void MoisturePanel::ConvertClipboardList() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return;
  const QMimeData* mime = clipboard->mimeData();
  if (!mime || !mime->hasText()) {
    clipboard->setText(QString());
    return;
  }
  // A line outside the range is written back and warned about before the next is converted.
  const ClipboardListConversion conversion = m_model.convertClipboardList(
      clipboard->text().toStdString(), [this](const MoistureChanges& changes) { apply(changes); });
  if (conversion.Refusal) {
    if (m_ui.showWarning) {
      m_ui.showWarning(this, QStringLiteral("Convert Clipboard List"), Text(*conversion.Refusal));
    }
    return;
  }
  apply(conversion.Changes);
  clipboard->setText(Text(conversion.Output));
}

QString MoisturePanel::statusLine() const {
  return Text(m_model.spreadLine());
}

ProfileKeys MoisturePanel::savedSelectionKeys() const {
  return ComposePanelSavedKeys(m_model.selectionTexts(), m_model.settings());
}

}  // namespace tavimor
