#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "moisture_test_support.h"
#include "panels/graph_control.h"
#include "plot/plot_geometry.h"
#include "store/profile_store.h"
#include "store/saved_selections.h"
#include "ui/dialog_units.h"

using namespace tavimor;
using namespace tavimor::test;
namespace ids = tavimor::moisture_ids;

namespace {

QRadioButton* Radio(QWidget* panel, int id) {
  return Control<QRadioButton>(panel, id);
}

QString Caption(QWidget* panel) {
  return Control<QPlainTextEdit>(panel, ids::kIsobarCaption)->toPlainText();
}

// Chooses a row of the gas dialog, then OK.
std::function<void(QDialog&)> ChooseGas(int row) {
  return [row](QDialog& dialog) {
    dialog.findChild<QComboBox*>(QStringLiteral("1050"))->setCurrentIndex(row);
    ClickOk(dialog);
  };
}

}  // namespace

class TestMoisturePanel : public QObject {
  Q_OBJECT

 private slots:
  void layoutHasEveryControl();
  void rangeWarningMovesFocusAndSelectsText();
  void savedIsoAndPrsr();
  void toSideDialogLeavesFromSide();
  void parameterDialogsOpenAtThePanelsCorner();
  void clipboardWarningAppearsWithItsLine();
  void clipboardTooLongIsRefusedAndKept();
  void clipboardWithoutText();
  void clipboardShortcutAndMenuEntry();
  void saveThenLoadEveryKey();
  void handEditedFileLoadsDefaults();
  void zoomHeldWhileButtonDown();
  void realRangeWarningBoxIsModalWithOneOk();
  void writtenFieldsShowTheStartOfTheirText();
  void startsWithTheFromTextSelected();
};

void TestMoisturePanel::layoutHasEveryControl() {
  MoistureHost host;
  host.create();
  QCOMPARE(host.panel->sizeHint(), QSize(800, 328));
  const int edits[] = {1004, 1007, 1009, 1011, 1018, 1019};
  for (const int id : edits) QVERIFY2(host.field(id), qPrintable(QString::number(id)));
  QVERIFY(host.field(ids::kResult)->isReadOnly());
  QVERIFY(host.field(ids::kDelta)->isReadOnly());
  for (const int id : {1005, 1006, 1010, 1012}) {
    QComboBox* list = host.list(id);
    QVERIFY(list);
    QVERIFY(!list->isEditable());
  }
  QCOMPARE(host.list(ids::kFromUnit)->count(), 11);
  QCOMPARE(host.list(ids::kMeasuredPressureUnit)->itemText(2), QStringLiteral("PSIG"));
  QCOMPARE(host.list(ids::kToUnit)->itemText(7),
           QStringLiteral("lbs H2O per Million Feet³ - water vapor density in Natural Gas @ STP"));
  QWidget* graph = host.panel->findChild<QWidget*>(QStringLiteral("1008"));
  QVERIFY(graph);
  QCOMPARE(graph->geometry(), QRect(108, 70, 350, 180));
  QCOMPARE(host.field(ids::kFromValue)->geometry(), DialogRect(29, 14, 64, 14));
  QVERIFY(host.panel->findChild<QWidget*>(QStringLiteral("1048")));
  auto* zoom = host.panel->findChild<QPushButton*>(QStringLiteral("1047"));
  QVERIFY(zoom);
  QCOMPARE(zoom->text(), QStringLiteral("Zoom\nGraph"));
  QCOMPARE(Radio(host.panel, 1013)->text(), QStringLiteral("\"measured\""));
  QCOMPARE(Radio(host.panel, 1014)->text(), QStringLiteral("no isobars"));
  QCOMPARE(Radio(host.panel, 1015)->text(), QStringLiteral("\"computed\""));
  QCOMPARE(Radio(host.panel, 1016)->text(), QStringLiteral("compute at measured pressure"));
  QCOMPARE(Radio(host.panel, 1017)->text(), QStringLiteral("compute at pressure of:"));
  int etched = 0;
  for (QFrame* frame : host.panel->findChildren<QFrame*>(Qt::FindDirectChildrenOnly)) {
    if (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine) ++etched;
  }
  QCOMPARE(etched, 12);
  QStringList texts;
  for (QLabel* label : host.panel->findChildren<QLabel*>()) texts << label->text();
  for (const char* t : {"From:", "To:", "delta", "measured at pressure of:"}) {
    QVERIFY2(texts.contains(QString::fromUtf8(t)), t);
  }
}

void TestMoisturePanel::rangeWarningMovesFocusAndSelectsText() {
  MoistureHost host;
  host.create();
  QVERIFY(host.show());
  host.pick(ids::kFromUnit, 0);
  QLineEdit* from = host.field(ids::kFromValue);
  from->setFocus();
  from->selectAll();
  QTest::keyClicks(from, QStringLiteral("500"));
  QCOMPARE(host.messages, QStringList(QStringLiteral("stay between 0 and 123.4 mb.")));
  QCOMPARE(host.beeps, 1);
  QCOMPARE(QApplication::focusWidget(), from);
  QCOMPARE(from->selectedText(), QStringLiteral("enter new val"));
  // "enter new val" converts as 0 mbar.
  host.pick(ids::kToUnit, 5);
  QCOMPARE(host.text(ids::kResult), QStringLiteral("0.0"));
  QCOMPARE(host.messages.size(), 1);
}

void TestMoisturePanel::savedIsoAndPrsr() {
  MoistureHost host;
  host.create(MapReader({{"IsoAndPrsr", "1013,1016"}}));
  QVERIFY(Radio(host.panel, ids::kIsobarMeasured)->isChecked());
  QCOMPARE(Caption(host.panel),
           QStringLiteral("dark green  curves\n2x & 4x measured\npressure selection"));
  QVERIFY(Radio(host.panel, ids::kComputeAtMeasured)->isChecked());
  QVERIFY(!host.field(ids::kComputePressure)->isEnabled());
  QVERIFY(!host.list(ids::kComputePressureUnit)->isEnabled());

  host.create(MapReader({{"IsoAndPrsr", "1015,1017"}, {"ToPrs", "2,3"}}));
  QCOMPARE(Caption(host.panel),
           QStringLiteral("dark green  curves\n2x & 4x computed\npressure selection"));
  QCOMPARE(host.text(ids::kComputePressure), QStringLiteral("2."));
  QCOMPARE(host.list(ids::kComputePressureUnit)->currentText(), QStringLiteral("ATM"));
  Radio(host.panel, ids::kIsobarNone)->click();
  QCOMPARE(Caption(host.panel), QStringLiteral(" "));
}

void TestMoisturePanel::toSideDialogLeavesFromSide() {
  MoistureHost host;
  host.create();
  host.answers.push_back([](QDialog& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("1032"))->setText(QStringLiteral("68"));
    dialog.findChild<QRadioButton*>(QStringLiteral("1034"))->click();
    ClickOk(dialog);
  });
  host.pick(ids::kToUnit, 9);
  QCOMPARE(host.dialogTitles,
           QStringList(QStringLiteral("Ambient Temperature for RH calculation")));
  QCOMPARE(host.settings.To.AmbientTempC, 20.0f);
  QCOMPARE(host.settings.To.AmbientTempUnit, AmbientTempUnit::AmbientFahrenheit);
  QCOMPARE(host.settings.From.AmbientTempUnit, AmbientTempUnit::AmbientCelsius);
  QCOMPARE(host.list(ids::kToUnit)->itemText(9),
           QStringLiteral("%RH  -  percent Relative Humidity  at dry bulb temperature of 68.0°F"));
}

void TestMoisturePanel::parameterDialogsOpenAtThePanelsCorner() {
  // Their templates place them at (0, 0) dialog units from the owner's client area, the
  // panel's, with no centring.
  MoistureHost host;
  host.create();
  QVERIFY(host.show());
  const struct {
    int unit;
    const char* id;
    QSize sizeDu;
  } cases[] = {{6, "145", {262, 65}},
               {10, "141", {366, 121}},
               {9, "142", {211, 71}},
               {8, "143", {227, 111}}};
  for (const auto& c : cases) {
    QString id;
    QRect shown;
    host.answers.push_back([&](QDialog& dialog) {
      id = dialog.objectName();
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      shown = dialog.geometry();
      ClickOk(dialog);
    });
    host.pick(ids::kToUnit, c.unit);
    QCOMPARE(id, QLatin1String(c.id));
    QCOMPARE(shown, QRect(host.panel->mapToGlobal(QPoint(0, 0)),
                          DialogRect(0, 0, c.sizeDu.width(), c.sizeDu.height()).size()));
  }
}

void TestMoisturePanel::clipboardWarningAppearsWithItsLine() {
  // State: From "mB", To dew/frost point °C; a list whose middle line is outside the range.
  // Expected: the box appears while that line is on screen, before the next line converts.
  MoistureHost host;
  host.create();
  QVERIFY(host.show());
  host.pick(ids::kFromUnit, 0);
  host.pick(ids::kToUnit, 1);
  auto* graph = host.panel->findChild<MoistureGraphControl*>(QStringLiteral("1008"));
  QVERIFY(graph);
  struct Seen {
    QString from, result, strip;
    std::optional<int> markerColumn, zeroColumn;
  };
  QList<Seen> seen;
  host.onMessage = [&](const QString&) {
    const GraphPlan& plan = graph->lastPlan();
    seen.append({host.text(ids::kFromValue), host.text(ids::kResult), host.panel->statusLine(),
                 plan.MarkerAt ? std::optional(plan.MarkerAt->Column) : std::nullopt,
                 ColumnOf(*plan.Geometry, 0)});
  };
  QGuiApplication::clipboard()->setText(QStringLiteral("10\r\n500\r\n20\r\n"));
  host.panel->ConvertClipboardList();
  QCOMPARE(host.messages, QStringList(QStringLiteral("stay between 0 and 123.4 mb.")));
  QCOMPARE(host.beeps, 1);
  QCOMPARE(seen[0].from, QStringLiteral("enter new val"));
  QCOMPARE(seen[0].result, QStringLiteral("out of range"));
  QVERIFY2(seen[0].strip.endsWith(QStringLiteral(": out of range")), qPrintable(seen[0].strip));
  // The graph's marker stands at 0, the value "enter new val" reads as.
  QVERIFY(seen[0].markerColumn);
  QCOMPARE(seen[0].markerColumn, seen[0].zeroColumn);
  // The output keeps one line per input line; the fields keep the last line.
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("7.0\nout of range\n17.5\n"));
  QCOMPARE(host.text(ids::kFromValue), QStringLiteral("20"));
  QCOMPARE(host.text(ids::kResult), QStringLiteral("17.5"));
}

void TestMoisturePanel::clipboardTooLongIsRefusedAndKept() {
  MoistureHost host;
  host.create();
  host.pick(ids::kFromUnit, 0);
  // 10 MB of lines: refused at once with a message, the clipboard left as it was.
  const QString huge = QStringLiteral("1\n").repeated(5 * 1024 * 1024);
  QGuiApplication::clipboard()->setText(huge);
  QElapsedTimer timer;
  timer.start();
  host.panel->ConvertClipboardList();
  QVERIFY2(timer.elapsed() < 10000, "a refused list must not be converted line by line");
  QCOMPARE(host.messages.size(), 1);
  QVERIFY(host.messages.first().contains(QStringLiteral("tavimor-convert")));
  QCOMPARE(QGuiApplication::clipboard()->text().size(), huge.size());
  QCOMPARE(host.beeps, 0);
}

void TestMoisturePanel::clipboardWithoutText() {
  MoistureHost host;
  host.create();
  QGuiApplication::clipboard()->clear();
  host.panel->ConvertClipboardList();
  QVERIFY(QGuiApplication::clipboard()->mimeData()->hasText());
  QCOMPARE(QGuiApplication::clipboard()->text(), QString());
  QCOMPARE(host.text(ids::kFromValue), QStringLiteral("0."));
}

void TestMoisturePanel::clipboardShortcutAndMenuEntry() {
  MoistureHost host;
  host.create();
  QVERIFY(host.show());
  auto* action = host.panel->findChild<QAction*>(QStringLiteral("ConvertClipboardList"));
  QVERIFY(action);
  QCOMPARE(action->text(), QStringLiteral("Convert Clipboard List"));
  QCOMPARE(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+V")));
  QVERIFY(host.panel->actions().contains(action));
  host.pick(ids::kFromUnit, 0);
  host.pick(ids::kToUnit, 5);
  QGuiApplication::clipboard()->setText(QStringLiteral("10\n"));
  host.field(ids::kIncrement)->setFocus();
  QTest::keyClick(host.field(ids::kIncrement), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("9967.6\n"));
  // A From unit change releases the focus; the shortcut still works in the active window.
  host.pick(ids::kFromUnit, 5);
  QCOMPARE(QApplication::focusWidget(), nullptr);
  QGuiApplication::clipboard()->setText(QStringLiteral("10\n"));
  QTest::keyClick(host.window.get(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("10.0\n"));
}

void TestMoisturePanel::saveThenLoadEveryKey() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const std::filesystem::path ini = (dir.path() + QStringLiteral("/tavimor.ini")).toStdString();
  SavedKeys keys;
  CalcSettings before;
  {
    MoistureHost host;
    host.create();
    host.settings.SwvpFormula = SwvpFormula::Sonntag;
    host.settings.EnhancementFactor = EnhancementFactor::Bogel;
    host.settings.GasMethod = GasMethod::Astm;
    host.answers.push_back(ChooseGas(8));
    host.pick(ids::kFromUnit, 6);
    host.field(ids::kFromValue)->setText(QStringLiteral("1234.5"));
    host.answers.push_back([](QDialog& dialog) {
      dialog.findChild<QRadioButton*>(QStringLiteral("1037"))->click();
      dialog.findChild<QLineEdit*>(QStringLiteral("1035"))->setText(QStringLiteral("25"));
      ClickOk(dialog);
    });
    host.pick(ids::kToUnit, 8);
    host.answers.push_back([](QDialog& dialog) {
      dialog.findChild<QRadioButton*>(QStringLiteral("1019"))->click();
      dialog.findChild<QLineEdit*>(QStringLiteral("1027"))->setText(QStringLiteral("3.5"));
      ClickOk(dialog);
    });
    host.pick(ids::kToUnit, 10);
    host.pick(ids::kMeasuredPressureUnit, 1);
    Radio(host.panel, ids::kIsobarComputed)->click();
    Radio(host.panel, ids::kComputeAtMeasured)->click();
    keys = host.panel->savedSelectionKeys();
    before = host.settings;
  }
  QCOMPARE(keys.size(), size_t(12));
  QCOMPARE(QString::fromStdString(keys.front().first), QStringLiteral("IsoAndPrsr"));
  QCOMPARE(QString::fromStdString(keys.back().first), QStringLiteral("MediumDensity"));
  keys.emplace_back("ConvCategory", "1001");
  QVERIFY(WriteProfileStrings(ini, kProfileSection, keys).Ok);

  MoistureHost host;
  host.create(ProfileReaderForFile(ini));
  QCOMPARE(host.text(ids::kFromValue), QStringLiteral("1234.5"));
  QCOMPARE(host.list(ids::kFromUnit)->currentIndex(), 6);
  QCOMPARE(host.list(ids::kToUnit)->currentIndex(), 10);
  QCOMPARE(host.text(ids::kMeasuredPressure), QStringLiteral("14.696"));
  QCOMPARE(host.list(ids::kMeasuredPressureUnit)->currentIndex(), 1);
  QCOMPARE(host.text(ids::kComputePressure), QStringLiteral("14.696"));
  QCOMPARE(host.list(ids::kComputePressureUnit)->currentIndex(), 1);
  QVERIFY(Radio(host.panel, ids::kIsobarComputed)->isChecked());
  QVERIFY(Radio(host.panel, ids::kComputeAtMeasured)->isChecked());
  QVERIFY(!host.field(ids::kComputePressure)->isEnabled());
  const CalcSettings& s = host.settings;
  QCOMPARE(s.SwvpFormula, SwvpFormula::Sonntag);
  QCOMPARE(s.EnhancementFactor, EnhancementFactor::Bogel);
  QCOMPARE(s.GasMethod, GasMethod::Astm);
  QCOMPARE(s.From.GasIndex, 8);
  QCOMPARE(s.From.MolWeight, 4.0f);
  QCOMPARE(s.To.DensityMedium, DensityMedium::AirMixture);
  QCOMPARE(s.To.VaporTempC, 25.0f);
  QCOMPARE(s.To.Liquid, LiquidChoice::CustomLiquid);
  QCOMPARE(s.To.HenryK, 3.5f);
  QCOMPARE(host.state.FromBasis.MolWeight, 4.0f);
  // The same keys come out again.
  SavedKeys again = host.panel->savedSelectionKeys();
  again.emplace_back("ConvCategory", "1001");
  QCOMPARE(again, keys);
}

void TestMoisturePanel::handEditedFileLoadsDefaults() {
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/tavimor.ini");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(
      "[Tavimor]\r\nFromDew=enter new val,42\r\nFromPrs=1e400,9\r\nToDew=0,-1\r\n"
      "ToPrs=,,\r\nMW=77,-,\r\nHenry=5,abc\r\nTAmbient=1033\r\nMediumDensity=1,2\r\n"
      "TDensity=x\r\nEquDensity=99999999999\r\nEquSWVP=1024,1020\r\nIsoAndPrsr=0,0\r\n");
  file.close();
  MoistureHost host;
  host.create(ProfileReaderForFile(path.toStdString()));
  QCOMPARE(host.text(ids::kFromValue), QStringLiteral("0."));
  QCOMPARE(host.list(ids::kFromUnit)->currentIndex(), 1);
  QCOMPARE(host.text(ids::kMeasuredPressure), QStringLiteral("1013.25"));
  QCOMPARE(host.list(ids::kMeasuredPressureUnit)->currentIndex(), 0);
  QCOMPARE(host.list(ids::kToUnit)->currentIndex(), 1);
  QCOMPARE(host.text(ids::kComputePressure), QStringLiteral("1013.25"));
  QVERIFY(Radio(host.panel, ids::kIsobarNone)->isChecked());
  QVERIFY(Radio(host.panel, ids::kComputeAtPressure)->isChecked());
  QCOMPARE(host.settings.From.GasIndex, 1);
  QCOMPARE(host.settings.From.MolWeight, 29.0f);
  QCOMPARE(host.settings.From.Liquid, LiquidChoice::Hexane);
  QCOMPARE(host.settings.From.HenryK, 1.9f);
  QCOMPARE(host.settings.SwvpFormula, SwvpFormula::GoffGratch);
  QCOMPARE(host.settings.EnhancementFactor, EnhancementFactor::NoEnhancement);
  QCOMPARE(host.text(ids::kResult), QStringLiteral("-0.0"));
  // Every parameter dialog opens on sound values.
  for (const int unit : {6, 8, 9, 10}) host.pick(ids::kFromUnit, unit);
  QCOMPARE(host.dialogTitles.size(), 4);
}

void TestMoisturePanel::zoomHeldWhileButtonDown() {
  MoistureHost host;
  host.create();
  QVERIFY(host.show());
  auto* zoom = host.panel->findChild<QPushButton*>(QStringLiteral("1047"));
  QTest::mousePress(zoom, Qt::LeftButton);
  QVERIFY(host.state.ZoomHeld);
  QTest::mouseRelease(zoom, Qt::LeftButton);
  QVERIFY(!host.state.ZoomHeld);
  // Only the mouse zooms: Space presses the focused button without zooming.
  zoom->setFocus();
  QTest::keyPress(zoom, Qt::Key_Space);
  QVERIFY(zoom->isDown());
  QVERIFY(!host.state.ZoomHeld);
  QTest::keyRelease(zoom, Qt::Key_Space);
  QVERIFY(!host.state.ZoomHeld);
}

void TestMoisturePanel::realRangeWarningBoxIsModalWithOneOk() {
  CalcSettings settings;
  MoisturePanelState state;
  UiServices ui = DefaultUiServices();
  int beeps = 0;
  ui.beep = [&beeps] { ++beeps; };
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* panel = new MoisturePanel(settings, state, MapReader({{"FromDew", "0,0"}}), ui, &window);
  layout->addWidget(panel);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QString text;
  int buttons = 0;
  QTimer timer;
  QDeadlineTimer deadline(5000);
  connect(&timer, &QTimer::timeout, this, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      text = box->text();
      buttons = box->buttons().size();
      box->button(QMessageBox::Ok)->click();
    } else if (modal && deadline.hasExpired()) {
      modal->close();
    }
  });
  timer.start(20);
  Control<QLineEdit>(panel, ids::kFromValue)->setText(QStringLiteral("200"));
  timer.stop();
  QCOMPARE(text, QStringLiteral("stay between 0 and 123.4 mb."));
  QCOMPARE(buttons, 1);
  QCOMPARE(beeps, 1);
  QCOMPARE(Control<QLineEdit>(panel, ids::kFromValue)->text(), QStringLiteral("enter new val"));
  QCOMPARE(Control<QLineEdit>(panel, ids::kFromValue)->selectedText(),
           QStringLiteral("enter new val"));
}

void TestMoisturePanel::writtenFieldsShowTheStartOfTheirText() {
  // A long negative delta in the 60-pixel field keeps its sign in view.
  MoistureHost host;
  host.create(MapReader({{"FromDew", "20,1"}, {"ToDew", "0,5"}}));
  QVERIFY(host.show());
  QTest::keyClicks(host.field(ids::kIncrement), QStringLiteral("-1"));
  QLineEdit* delta = host.field(ids::kDelta);
  QCOMPARE(delta->text(), QStringLiteral("-1454.17773438"));
  QCOMPARE(FirstVisiblePosition(delta), 0);
}

void TestMoisturePanel::startsWithTheFromTextSelected() {
  // The panel's initialisation leaves the focus to the platform: the From field, its text
  // selected, so typing replaces "0.".
  MoistureHost host;
  host.create();
  host.window->show();
  host.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(host.window.get()));
  QLineEdit* from = host.field(ids::kFromValue);
  QCOMPARE(QApplication::focusWidget(), from);
  QCOMPARE(from->selectedText(), QStringLiteral("0."));
  QTest::keyClicks(from, QStringLiteral("20"));
  QCOMPARE(from->text(), QStringLiteral("20"));
}

QTEST_MAIN(TestMoisturePanel)
#include "tst_moisture_panel.moc"
