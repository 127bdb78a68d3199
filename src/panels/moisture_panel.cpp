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
#include <memory>
#include <utility>

#include "core/unit_tables.h"
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
using Field = MoistureField;
using List = MoistureList;

namespace {

// The place of a field or list in the panel's arrays.
template <class Enum>
constexpr std::size_t At(Enum id) {
  return static_cast<std::size_t>(id);
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

// The parameter dialog of a unit, on a side's values and the label suffix its kind of dialog
// last left; none for a unit without parameter.
std::unique_ptr<ParameterDialog> MakeParameterDialog(MoistureUnit unit, const SideParams& side,
                                                     std::string suffix, QWidget* parent) {
  switch (unit) {
    case MoistureUnit::PpmwGas:
      return std::make_unique<GasDialog>(GasWorking{side.GasIndex, side.MolWeight},
                                         std::move(suffix), parent);
    case MoistureUnit::PpmwLiquid:
      return std::make_unique<LiquidDialog>(LiquidWorking{side.Liquid, side.HenryK},
                                            std::move(suffix), parent);
    case MoistureUnit::GramsPerM3:
      return std::make_unique<DensityDialog>(
          DensityWorking{side.DensityMedium, side.VaporTempUnit, side.VaporTempC},
          std::move(suffix), parent);
    case MoistureUnit::RelHumidity:
      return std::make_unique<AmbientDialog>(
          AmbientWorking{side.AmbientTempUnit, side.AmbientTempC}, std::move(suffix), parent);
    default:
      return nullptr;
  }
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
  const IsobarChoice isobar = m_model.isobarChoice();
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
  m_fields[At(Field::From)] =
      AddEditField(this, ids::kFromValue, DialogRect(29, 14, 64, 14), QStringLiteral("From value"));
  m_lists[At(List::FromUnit)] = AddDropDownList(this, ids::kFromUnit, DialogRect(117, 14, 298, 123),
                                                QStringLiteral("From unit"));

  AddStaticText(this, 0, QStringLiteral("delta"), DialogRect(451, 19, 16, 8));
  m_fields[At(Field::Increment)] = AddEditField(this, ids::kIncrement, DialogRect(473, 15, 40, 14),
                                                QStringLiteral("Increment of the From value"));
  AddStaticText(this, 0,
                QStringLiteral("Examine what change would occur in the units of interest, if "
                               "the source units changed by the specified amount near the "
                               "current conversion value."),
                DialogRect(453, 57, 59, 83));
  AddStaticText(this, 0, QStringLiteral("delta"), DialogRect(452, 169, 16, 8));
  m_fields[At(Field::Delta)] =
      AddEditField(this, ids::kDelta, DialogRect(475, 166, 40, 14),
                   QStringLiteral("Effect of the increment on the result"), /*readOnly=*/true);

  AddStaticText(this, 0, QStringLiteral("measured at pressure of:"), DialogRect(321, 32, 78, 8));
  m_fields[At(Field::Measured)] =
      AddEditField(this, ids::kMeasuredPressure, DialogRect(320, 42, 40, 14),
                   QStringLiteral("Measured pressure"));
  m_lists[At(List::MeasuredUnit)] =
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
  m_fields[At(Field::ComputeAt)] =
      AddEditField(this, ids::kComputePressure, DialogRect(320, 145, 40, 14),
                   QStringLiteral("Compute-at pressure"));
  m_lists[At(List::ComputeAtUnit)] =
      AddDropDownList(this, ids::kComputePressureUnit, DialogRect(368, 147, 43, 73),
                      QStringLiteral("Compute-at pressure unit"));

  AddStaticText(this, 0, QStringLiteral("To:"), DialogRect(8, 172, 12, 8));
  m_fields[At(Field::Result)] =
      AddEditField(this, ids::kResult, DialogRect(27, 169, 64, 14), QStringLiteral("Result"),
                   /*readOnly=*/true);
  m_lists[At(List::ToUnit)] = AddDropDownList(this, ids::kToUnit, DialogRect(113, 169, 298, 108),
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
  onFieldNotifications(Field::From,
                       [this](std::string_view text) { return m_model.fromFieldNotified(text); });
  onFieldNotifications(Field::Measured, [this](std::string_view text) {
    return m_model.measuredFieldNotified(text);
  });
  onFieldNotifications(Field::ComputeAt, [this](std::string_view text) {
    return m_model.computeAtFieldNotified(text);
  });
  onFieldNotifications(Field::Increment, [this](std::string_view text) {
    return m_model.incrementFieldNotified(text);
  });
  // Only a change of a list's selection by the user has an effect; picking the entry that is
  // already selected counts too. A unit with a parameter opens its dialog first, and the
  // model takes the dialog's answer with the pick.
  connect(list(List::FromUnit), &QComboBox::activated, this, [this](int index) {
    const auto answer = runParameterDialog(m_model.parameterDialogFor(MoistureSide::From, index));
    apply(m_model.fromUnitPicked(index, answer));
  });
  connect(list(List::ToUnit), &QComboBox::activated, this, [this](int index) {
    const auto answer = runParameterDialog(m_model.parameterDialogFor(MoistureSide::To, index));
    apply(m_model.toUnitPicked(index, answer));
  });
  connect(list(List::MeasuredUnit), &QComboBox::activated, this,
          [this](int index) { apply(m_model.measuredUnitPicked(index)); });
  connect(list(List::ComputeAtUnit), &QComboBox::activated, this,
          [this](int index) { apply(m_model.computeAtUnitPicked(index)); });
  // The groups hold only the buttons of their choices.
  connect(m_isobars, &QButtonGroup::idClicked, this,
          [this](int id) { apply(m_model.isobarClicked(static_cast<IsobarChoice>(id))); });
  connect(m_pressureChoice, &QButtonGroup::idClicked, this, [this](int id) {
    apply(m_model.pressureChoiceClicked(static_cast<PressureChoice>(id)));
  });
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
  QStringList pressureUnits;
  for (const PressureUnitRow& row : kPressureUnits) pressureUnits << TextOf(row.Name);
  QStringList moistureUnits;
  for (const MoistureUnitRow& row : kMoistureUnits) moistureUnits << TextOf(row.ComboText);
  const auto fill = [](QComboBox* unitList, const QStringList& texts) {
    unitList->clear();
    unitList->addItems(texts);
    unitList->setCurrentIndex(-1);
  };
  fill(list(List::MeasuredUnit), pressureUnits);
  fill(list(List::FromUnit), moistureUnits);
  fill(list(List::ComputeAtUnit), pressureUnits);
  fill(list(List::ToUnit), moistureUnits);
}

void MoisturePanel::onFieldNotifications(
    MoistureField id, std::function<MoistureChanges(std::string_view text)> notified) {
  OnEditNotifications(
      field(id), &m_notifications,
      [this, notified](const QString& text) {
        if (!m_writingBack) apply(notified(text.toStdString()));
      },
      // Gaining or losing the focus notifies too, with the text the field holds.
      [this, id, notified] { apply(notified(m_model.text(id))); });
}

void MoisturePanel::apply(const MoistureChanges& changes) {
  {
    const QScopedValueRollback writing(m_writingBack, true);
    for (const MoistureField id : changes.Fields) SetFieldText(field(id), TextOf(m_model.text(id)));
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
      field(Field::From)->setFocus(Qt::OtherFocusReason);
      field(Field::From)->selectAll();
      break;
    case MoistureFocus::Released:
      if (QWidget* focused = window()->focusWidget()) focused->clearFocus();
      break;
  }
}

void MoisturePanel::showWarning(const std::string& message) {
  if (m_ui.beep) m_ui.beep();
  if (m_ui.showInformation) m_ui.showInformation(this, TextOf(message));
  // Typing then replaces "enter new val".
  field(Field::From)->setFocus(Qt::OtherFocusReason);
  field(Field::From)->selectAll();
}

void MoisturePanel::writeLists() {
  for (const List id : {List::FromUnit, List::ToUnit, List::MeasuredUnit, List::ComputeAtUnit}) {
    QComboBox* shown = list(id);
    if (id == List::FromUnit || id == List::ToUnit) {
      const MoistureSide side = id == List::FromUnit ? MoistureSide::From : MoistureSide::To;
      for (int unit = 0; unit < shown->count(); ++unit) {
        const QString entry = TextOf(m_model.unitEntry(side, unit));
        if (shown->itemText(unit) != entry) shown->setItemText(unit, entry);
      }
    }
    const int selection = m_model.listSelection(id);
    if (shown->currentIndex() != selection) shown->setCurrentIndex(selection);
  }
}

void MoisturePanel::writeChoices() {
  if (QAbstractButton* button = m_isobars->button(m_model.isobarChoice())) {
    button->setChecked(true);
  }
  if (QAbstractButton* button = m_pressureChoice->button(m_model.pressureChoice())) {
    button->setChecked(true);
  }
  const QString caption = TextOf(m_model.isobarCaption());
  if (m_isobarCaption->toPlainText() != caption) m_isobarCaption->setPlainText(caption);
  field(Field::ComputeAt)->setEnabled(m_model.computeAtEnabled());
  list(List::ComputeAtUnit)->setEnabled(m_model.computeAtEnabled());
}

void MoisturePanel::writeResults() {
  SetFieldText(field(Field::Result), TextOf(m_model.text(Field::Result)));
  SetFieldText(field(Field::Delta), TextOf(m_model.text(Field::Delta)));
  m_graph->paintGraph(m_model.graphInputs());
  update();
  emit statusLineChanged();
}

void MoisturePanel::paintEvent(QPaintEvent* event) {
  Panel::paintEvent(event);
  // The leader lines join the From and To fields to the marker on the graph's edges.
  QPainter painter(this);
  PaintLeaderLines(painter, m_graph->geometry(), field(Field::From)->geometry(),
                   field(Field::Result)->geometry(), m_graph->lastPlan());
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

std::optional<ParameterDialogAnswer> MoisturePanel::runParameterDialog(
    const std::optional<ParameterDialogRequest>& request) {
  if (!request) return std::nullopt;
  const std::unique_ptr<ParameterDialog> dialog =
      MakeParameterDialog(request->Unit, request->Params, request->LabelSuffix, this);
  if (!dialog) return std::nullopt;
  // Every parameter template opens at (0, 0) from the panel, its owner.
  PlaceDialog(*dialog, *this, 0, 0);
  if (m_ui.runDialog) m_ui.runDialog(*dialog);
  ParameterDialogAnswer answer{request->Params, dialog->labelSuffix()};
  dialog->applyTo(answer.Params);
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
      m_ui.showWarning(this, QStringLiteral("Convert Clipboard List"), TextOf(*conversion.Refusal));
    }
    return;
  }
  apply(conversion.Changes);
  clipboard->setText(TextOf(conversion.Output));
}

QString MoisturePanel::statusLine() const {
  return TextOf(m_model.spreadLine());
}

SavedKeys MoisturePanel::savedSelectionKeys() const {
  return ComposePanelSavedKeys(m_model.selectionTexts(), m_model.settings());
}

}  // namespace tavimor
