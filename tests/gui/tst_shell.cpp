// The application shell: start-up from the saved category, panel switching, layout, menu,
// About, preference dialogs and Save Selections, with every dialog and message box answered
// through the UiServices seam so no modal loop ever runs.

#include <sys/resource.h>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <fstream>
#include <memory>

#include "app/app_state.h"
#include "app/category_bar.h"
#include "app/ini_location.h"
#include "app/main_window.h"
#include "app/save_selections_dialog.h"
#include "app/shell_ids.h"
#include "ui/dialog_units.h"

using namespace tavimor;

namespace {

constexpr int kCategoryIds[] = {1001, 1002, 1003, 1004, 1005};

// One main window over its own INI file, with recording fakes for dialogs and messages.
struct Shell {
  QTemporaryDir dir;
  AppState state;
  QStringList dialogsRun;                 // window titles, in order
  QStringList warnings;                   // texts of warning boxes
  std::function<int(QDialog&)> onDialog;  // answers a dialog; default: rejected unseen
  std::unique_ptr<MainWindow> window;

  explicit Shell(const QByteArray* ini = nullptr) {
    state.IniFile = iniPath().toStdString();
    if (ini) writeIni(*ini);
    state.Ui.beep = [] {};
    state.Ui.showInformation = [this](QWidget*, const QString& text) { warnings << text; };
    state.Ui.showWarning = [this](QWidget*, const QString&, const QString& text) {
      warnings << text;
    };
    state.Ui.runDialog = [this](QDialog& dialog) {
      dialogsRun << dialog.windowTitle();
      return onDialog ? onDialog(dialog) : int(QDialog::Rejected);
    };
  }

  QString iniPath() const { return dir.filePath(QStringLiteral("tavimor.ini")); }
  // The panel shown (none for the generator), the category bar, the strip's three lines.
  QWidget* panel() const { return window->findChild<Panel*>(); }
  CategoryBar* bar() const { return window->findChild<CategoryBar*>(); }
  QString strip() const {
    return window->findChild<QWidget*>(QStringLiteral("ClientArea"))->accessibleName();
  }
  void writeIni(const QByteArray& bytes) const {
    QFile f(iniPath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray readIni() const {
    QFile f(iniPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  // Creates and shows the window and lets the queued category choice arrive.
  bool start() {
    window = std::make_unique<MainWindow>(state);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return false;
    settle();
    return true;
  }
  static void settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  }

  QPushButton* categoryButton(int id) const {
    return bar()->findChild<QPushButton*>(QString::number(id));
  }
  void clickCategory(int id) {
    categoryButton(id)->click();
    settle();
  }
  int checkedCategory() const {
    int checked = -1;
    for (int id : kCategoryIds) {
      if (categoryButton(id)->isChecked()) checked = id;
    }
    return checked;
  }
  QAction* command(int id) const {
    return window->menuBar()->findChild<QAction*>(QString::number(id));
  }
  QLineEdit* firstField() const {
    QWidget* shown = panel();
    return shown ? shown->findChild<QLineEdit*>() : nullptr;
  }
};

// A dialog handler that shows the dialog, clicks the buttons with these identifiers in
// order and returns the dialog's result.
std::function<int(QDialog&)> Clicking(QList<int> ids) {
  return [ids](QDialog& dialog) {
    dialog.show();
    for (int id : ids) {
      auto* button = dialog.findChild<QPushButton*>(QString::number(id));
      if (!button) {
        qWarning("no button %d", id);
        dialog.reject();
        break;
      }
      button->click();
    }
    return dialog.result();
  };
}

// Counts paint events of a widget, to see a refresh request arrive.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// The room a control's text needs against the room it has, as "needs WxH, has WxH"; empty
// when the whole text shows. An option button or check box needs its indicator beside it.
QString CutText(QWidget* w) {
  const QFontMetrics fm = w->fontMetrics();
  QString text;
  QSize need;
  QSize have;
  if (auto* label = qobject_cast<QLabel*>(w)) {
    text = label->text();
    have = label->contentsRect().size();
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    need = fm.boundingRect(QRect(0, 0, have.width(), 10000), flags, text).size();
  } else if (auto* button = qobject_cast<QPushButton*>(w)) {
    text = button->text();
    QStyleOptionButton option;
    option.initFrom(button);
    have = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
    need = fm.size(Qt::TextShowMnemonic, text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    text = button->text();
    have = button->size();
    need = QSize(button->sizeHint().width(), fm.size(Qt::TextShowMnemonic, text).height());
  } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
    text = box->title();
    have = box->size();
    need = QSize(fm.horizontalAdvance(text), 0);
  }
  if (text.isEmpty() || (need.width() <= have.width() && need.height() <= have.height())) {
    return {};
  }
  return QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
      .arg(w->objectName(), text)
      .arg(need.width())
      .arg(need.height())
      .arg(have.width())
      .arg(have.height());
}

QStringList CutTexts(QWidget* root) {
  QStringList cut;
  const QString name = root->objectName().isEmpty() ? root->windowTitle() : root->objectName();
  for (QWidget* w : root->findChildren<QWidget*>()) {
    const QString c = CutText(w);
    if (!c.isEmpty()) cut << name + QStringLiteral(": ") + c;
  }
  return cut;
}

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  // Keeps the per-user default INI folder of the tests away from the real one.
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void startsWithTheSavedCategory_data();
  void startsWithTheSavedCategory();
  void readsTheCategoryTextAsADecimalNumber_data();
  void readsTheCategoryTextAsADecimalNumber();
  void switchingRecreatesPanelsAndReclickingKeepsThem();
  void generatorRequestChangesNothing();
  void layoutFollowsTheBaseUnit();
  void menuHasTheCommandsWithTheirMnemonics();
  void categoryBarControlsAreNamedAndNotTabStops();
  void textStripIsThreeLinesWithoutAddresses();
  void stripShowsTheSpreadOfTheMoistureResult_data();
  void stripShowsTheSpreadOfTheMoistureResult();
  void aboutOpensFromMenuAndFromAltKeys();
  void exitEndsTheProgramWithCodeZero();
  void preferenceDialogsStoreOnlyOnOk_data();
  void preferenceDialogsStoreOnlyOnOk();
  void preferenceDialogsMarkTheStoredChoices();
  void preferenceOkAsksThePanelToRepaint();
  void saveFromTemperatureWritesOnlyConvCategory();
  void saveFromMoistureWritesAllThirteenKeys();
  void saveCancelledWritesNothing_data();
  void saveCancelledWritesNothing();
  void saveSelectionsComposesPanelKeysOnlyForMoisture();
  void failedSaveIsReportedAndOldFileKept_data();
  void failedSaveIsReportedAndOldFileKept();
  void iniFileComesFromOptionThenEnvironmentThenConfigFolder();
  void everyTextFitsItsControl();
  void groupBoxTitlesSitOnTheirFrameLine();
  void activationLeavesTheConverterFieldsEmpty_data();
  void activationLeavesTheConverterFieldsEmpty();
};

void ShellTest::startsWithTheSavedCategory_data() {
  QTest::addColumn<bool>("fileExists");
  QTest::addColumn<QByteArray>("ini");
  QTest::addColumn<int>("checked");  // the marked button, -1 for none
  QTest::addColumn<int>("kind");     // PanelKind
  QTest::addColumn<QString>("panelClass");
  QTest::addColumn<int>("selected");  // ShellState.SelectedCategory

  QTest::newRow("no file") << false << QByteArray() << 1001 << 1 << "tavimor::MoisturePanel"
                           << 1001;
  QTest::newRow("empty file") << true << QByteArray() << 1001 << 1 << "tavimor::MoisturePanel"
                              << 1001;
  QTest::newRow("empty key") << true << QByteArray("[Tavimor]\nConvCategory=\n") << 1001 << 1
                             << "tavimor::MoisturePanel" << 1001;
  QTest::newRow("1003") << true << QByteArray("[Tavimor]\nConvCategory=1003\n") << 1003 << 3
                        << "tavimor::PressurePanel" << 1003;
  QTest::newRow("1005 hidden generator")
      << true << QByteArray("[Tavimor]\nConvCategory=1005\n") << 1005 << 0 << "" << 1005;
  QTest::newRow("7 names nothing")
      << true << QByteArray("[Tavimor]\nConvCategory=7\n") << -1 << 0 << "" << 7;
  QTest::newRow("leading blank") << true << QByteArray("[Tavimor]\nConvCategory= \t1002\n") << 1002
                                 << 2 << "tavimor::TemperaturePanel" << 1002;
  QTest::newRow("trailing letters") << true << QByteArray("[Tavimor]\nConvCategory=1004abc\n")
                                    << 1004 << 4 << "tavimor::AnalogPanel" << 1004;
  QTest::newRow("no number") << true << QByteArray("[Tavimor]\nConvCategory=abc\n") << -1 << 0 << ""
                             << 0;
  QTest::newRow("too large") << true << QByteArray("[Tavimor]\nConvCategory=99999\n") << -1 << 0
                             << "" << 0;
  QTest::newRow("CRLF, other case") << true
                                    << QByteArray(
                                           "[other]\r\nx=1\r\n[TAVIMOR]\r\nconvcategory = "
                                           "1002\r\n")
                                    << 1002 << 2 << "tavimor::TemperaturePanel" << 1002;
}

void ShellTest::startsWithTheSavedCategory() {
  QFETCH(bool, fileExists);
  QFETCH(QByteArray, ini);
  QFETCH(int, checked);
  QFETCH(int, kind);
  QFETCH(QString, panelClass);
  QFETCH(int, selected);
  Shell shell(fileExists ? &ini : nullptr);
  QVERIFY(shell.start());
  QCOMPARE(shell.checkedCategory(), checked);
  QVERIFY(!shell.categoryButton(1005)->isVisible());
  QCOMPARE(static_cast<int>(shell.state.Shell.PanelKind), kind);
  QCOMPARE(static_cast<int>(shell.state.Shell.SelectedCategory), selected);
  QWidget* panel = shell.panel();
  if (kind == 0) {
    QVERIFY(panel == nullptr);
  } else {
    QVERIFY(panel != nullptr);
    QVERIFY2(panel->inherits(qPrintable(panelClass)), panel->metaObject()->className());
    QVERIFY(panel->isVisible());
  }
}

void ShellTest::readsTheCategoryTextAsADecimalNumber_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<int>("expected");  // -100000: nothing read
  const int none = -100000;
  QTest::newRow("plain") << QByteArray("1003") << 1003;
  QTest::newRow("leading blanks") << QByteArray(" \t1002") << 1002;
  QTest::newRow("trailing letters") << QByteArray("1004abc") << 1004;
  QTest::newRow("plus sign") << QByteArray("+1001") << 1001;
  QTest::newRow("negative") << QByteArray("-5") << -5;
  QTest::newRow("smallest") << QByteArray("-32768") << -32768;
  QTest::newRow("beyond 16 bits") << QByteArray("32768") << none;
  QTest::newRow("many digits") << QByteArray("100000000000000000000000") << none;
  QTest::newRow("letters") << QByteArray("abc") << none;
  QTest::newRow("sign alone") << QByteArray("- 5") << none;
  QTest::newRow("empty") << QByteArray("") << none;
}

void ShellTest::readsTheCategoryTextAsADecimalNumber() {
  QFETCH(QByteArray, text);
  QFETCH(int, expected);
  const auto parsed = ParseCategoryText(std::string_view(text.constData(), text.size()));
  QCOMPARE(parsed ? int(*parsed) : -100000, expected);
}

void ShellTest::switchingRecreatesPanelsAndReclickingKeepsThem() {
  const QByteArray ini("[Tavimor]\nConvCategory=1003\n");
  Shell shell(&ini);
  QVERIFY(shell.start());
  QPointer<QWidget> pressure = shell.panel();
  QVERIFY(pressure);
  QLineEdit* field = shell.firstField();
  QVERIFY(field);
  const QString fresh = field->text();
  QTest::keyClicks(field, QStringLiteral("42"));
  const QString typed = field->text();
  QVERIFY(typed != fresh);

  shell.clickCategory(1003);
  QCOMPARE(shell.panel(), pressure.data());
  QCOMPARE(shell.firstField()->text(), typed);

  shell.clickCategory(1002);
  QVERIFY(pressure.isNull());
  QVERIFY(shell.panel()->inherits("tavimor::TemperaturePanel"));
  QCOMPARE(shell.checkedCategory(), 1002);
  QCOMPARE(int(shell.state.Shell.SelectedCategory), 1002);

  shell.clickCategory(1003);
  QVERIFY(shell.panel()->inherits("tavimor::PressurePanel"));
  QCOMPARE(shell.firstField()->text(), fresh);
  // Only one panel exists at any time.
  QCOMPARE(shell.window->findChildren<QWidget*>(QStringLiteral("134")).size(), 1);
}

void ShellTest::generatorRequestChangesNothing() {
  const QByteArray ini("[Tavimor]\nConvCategory=7\n");
  Shell shell(&ini);
  QVERIFY(shell.start());
  QVERIFY(!shell.panel());
  // The menu still works without a panel, and the first click shows one.
  shell.command(kCmdWaterVaporPressure)->trigger();
  QCOMPARE(shell.dialogsRun.size(), 1);
  shell.clickCategory(1004);
  QPointer<QWidget> analog = shell.panel();
  QVERIFY(analog && analog->inherits("tavimor::AnalogPanel"));

  shell.bar()->chooseCategory(1005);
  Shell::settle();
  QCOMPARE(shell.panel(), analog.data());
  QCOMPARE(static_cast<int>(shell.state.Shell.PanelKind), 4);
  QCOMPARE(int(shell.state.Shell.SelectedCategory), 1005);
}

void ShellTest::layoutFollowsTheBaseUnit() {
  const QByteArray ini("[Tavimor]\nConvCategory=1002\n");
  Shell shell(&ini);
  QVERIFY(shell.start());
  QCOMPARE(shell.window->windowTitle(), QStringLiteral("Tavimor"));
  QCOMPARE(int(shell.state.Shell.BaseUnitY), 16);
  QWidget* client = shell.window->centralWidget();
  QCOMPARE(client->size(), QSize(794, 420));
  QCOMPARE(shell.bar()->geometry(), QRect(0, 0, 794, 48));
  QCOMPARE(shell.panel()->geometry(), QRect(0, 48, 794, 420 - 96));
  // Fixed size, minimisable, no maximise box.
  QCOMPARE(shell.window->minimumSize(), shell.window->maximumSize());
  const Qt::WindowFlags flags = shell.window->windowFlags();
  QVERIFY(flags & Qt::WindowMinimizeButtonHint);
  QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
  QVERIFY(!shell.window->windowIcon().isNull());
  // The text strip lies on the window's own background, white, not on the panels' face.
  const QImage shown = client->grab().toImage();
  QCOMPARE(shown.pixel(client->width() - 2, client->height() - 2) | 0xff000000u,
           qRgb(255, 255, 255));
}

void ShellTest::menuHasTheCommandsWithTheirMnemonics() {
  Shell shell;
  QVERIFY(shell.start());
  const QList<QAction*> tops = shell.window->menuBar()->actions();
  QCOMPARE(tops.size(), 2);
  QCOMPARE(tops[0]->text(), QStringLiteral("&Preferences"));
  QCOMPARE(tops[1]->text(), QStringLiteral("&Help"));
  struct Item {
    int menu;
    int id;
    const char* text;
  };
  const Item items[] = {{0, 32776, "Water Vapor Pressure Calculations"},
                        {0, 32777, "Natural Gas Method"},
                        {0, 32778, "Save Selections"},
                        {0, 105, "E&xit"},
                        {1, 104, "&About ..."}};
  QList<QAction*> entries[2] = {tops[0]->menu()->actions(), tops[1]->menu()->actions()};
  QCOMPARE(entries[0].size(), 4);
  QCOMPARE(entries[1].size(), 1);
  int index[2] = {0, 0};
  for (const Item& item : items) {
    QAction* action = entries[item.menu][index[item.menu]++];
    QCOMPARE(action->objectName(), QString::number(item.id));
    QCOMPARE(action->text(), QString::fromLatin1(item.text));
    QVERIFY(!action->isSeparator());
  }
}

void ShellTest::categoryBarControlsAreNamedAndNotTabStops() {
  Shell shell;
  QVERIFY(shell.start());
  struct Button {
    int id;
    const char* text;
    QRect rect;
  };
  const Button buttons[] = {{1001, "Moisture/Humidity", DialogRect(45, 6, 73, 17)},
                            {1002, "Temperature", DialogRect(127, 6, 56, 17)},
                            {1003, "Pressure", DialogRect(192, 6, 43, 17)},
                            {1004, "Analog Output", DialogRect(242, 6, 57, 17)},
                            {1005, "DewPoint Generator", DialogRect(445, 5, 72, 17)}};
  for (const Button& b : buttons) {
    QPushButton* button = shell.categoryButton(b.id);
    QVERIFY2(button, b.text);
    QCOMPARE(button->text(), QString::fromLatin1(b.text));
    QCOMPARE(button->accessibleName(), QString::fromLatin1(b.text));
    QCOMPARE(button->geometry(), b.rect);
    QVERIFY(button->isCheckable());
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);
  }
  QStringList texts;
  for (QLabel* label : shell.bar()->findChildren<QLabel*>()) {
    texts << label->text();
  }
  QVERIFY(texts.contains(QStringLiteral("Choose\nConversion\nCategory")));
  QVERIFY(texts.contains(QStringLiteral(
      "Contact Velmorant if you think it would be useful to add other unit conversions")));
}

void ShellTest::textStripIsThreeLinesWithoutAddresses() {
  const QString text = TextStrip();
  QCOMPARE(text.split(QLatin1Char('\n')).size(), 3);
  QVERIFY(text.toLatin1().size() < 300);
  for (const char* address : {"http", "www.", ".com", "@"}) {
    QVERIFY2(!text.contains(QLatin1String(address)), address);
  }
}

void ShellTest::stripShowsTheSpreadOfTheMoistureResult_data() {
  QTest::addColumn<QByteArray>("ini");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("spreadLine");
  const auto ini = [](const char* from, const char* to, const char* pressure) {
    return QByteArray("[Tavimor]\nConvCategory=1001\nFromDew=0,") + from + "\nToDew=0," + to +
           "\nFromPrs=" + pressure + ",0\nToPrs=" + pressure + ",0\n";
  };
  QTest::newRow("-80 frost point at 20 bar to ppmv")
      << ini("1", "5", "20000") << "-80"
      << "Over the 4 saturation-pressure formulas and 3 enhancement-factor choices: 0.02661 to "
         "0.03232 PPMv";
  QTest::newRow("a wide line: 50 °C frost point in ppmw")
      << ini("1", "6", "1013.25") << "50"
      << "Over the 4 saturation-pressure formulas and 3 enhancement-factor choices: 86021.7 to "
         "86724.6 PPMw(mol/mol)";
  QTest::newRow("natural gas decides")
      << ini("5", "7", "1013.25") << "1000"
      << "All formula choices give 48.23 lbs H2O per Million Feet³ under the natural-gas method";
}

void ShellTest::stripShowsTheSpreadOfTheMoistureResult() {
  // State: the Moisture/Humidity panel shown. Expected: the motto stays the strip's first
  // line, the spread takes the second, whole within the window; other panels get the
  // program's own second line back.
  QFETCH(QByteArray, ini);
  QFETCH(QString, typed);
  QFETCH(QString, spreadLine);
  Shell shell(&ini);
  QVERIFY(shell.start());
  auto* from = shell.panel()->findChild<QLineEdit*>(QStringLiteral("1004"));
  QVERIFY(from);
  from->selectAll();
  QTest::keyClicks(from, typed);
  const QStringList own = TextStrip().split(QLatin1Char('\n'));
  QCOMPARE(shell.strip(), QStringList({own[0], spreadLine, own[2]}).join(' '));
  QVERIFY(QFontMetrics(SystemFont()).horizontalAdvance(spreadLine) <
          shell.window->centralWidget()->width());
  shell.clickCategory(1002);
  QCOMPARE(shell.strip(), own.join(' '));
}

void ShellTest::aboutOpensFromMenuAndFromAltKeys() {
  const QByteArray ini("[Tavimor]\nConvCategory=1003\n");
  Shell shell(&ini);
  QVERIFY(shell.start());
  QString seenName;
  QRect seenGeometry;
  QString seenVersion;
  QFont seenFont;
  shell.onDialog = [&](QDialog& dialog) {
    seenName = dialog.objectName();
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) return int(QDialog::Rejected);
    seenGeometry = dialog.geometry();
    if (auto* version = dialog.findChild<QLabel*>(QStringLiteral("AboutVersion"))) {
      seenVersion = version->text();
      seenFont = version->font();
    }
    return int(QDialog::Accepted);
  };
  shell.command(kCmdAbout)->trigger();
  QCOMPARE(shell.dialogsRun, QStringList{QStringLiteral("About")});
  QCOMPARE(seenName, QStringLiteral("103"));
  // Its template names the system font, 8 x 16 pixels a base unit: 230 x 75 dialog units at
  // (22, 17) from the main window's client area.
  QCOMPARE(seenGeometry,
           QRect(shell.window->centralWidget()->mapToGlobal(QPoint(44, 34)), QSize(460, 150)));
  // Its texts in that font (everyTextFitsItsControl sees them whole).
  QCOMPARE(seenFont, SystemFont());
  // The version --version prints, from the build's one version.
  QCOMPARE(seenVersion, QStringLiteral("Tavimor version " TAVIMOR_VERSION));

  shell.onDialog = {};
  shell.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(shell.window.get()));
  QLineEdit* field = shell.firstField();
  QVERIFY(field);
  field->setFocus();
  QTest::keyClick(field, Qt::Key_Question, Qt::AltModifier);
  QCOMPARE(shell.dialogsRun.size(), 2);
  QTest::keyClick(field, Qt::Key_Slash, Qt::AltModifier);
  QCOMPARE(shell.dialogsRun.size(), 3);
  QCOMPARE(shell.dialogsRun.last(), QStringLiteral("About"));
  // The field did not take the keys as text.
  QVERIFY(!field->text().contains(QLatin1Char('?')));
}

void ShellTest::exitEndsTheProgramWithCodeZero() {
  Shell shell;
  QVERIFY(shell.start());
  QTimer::singleShot(0, shell.window.get(), [&] { shell.command(kCmdExit)->trigger(); });
  QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(99); });  // watchdog
  QCOMPARE(QApplication::exec(), 0);
  QVERIFY(!shell.window->isVisible());
}

void ShellTest::preferenceDialogsStoreOnlyOnOk_data() {
  QTest::addColumn<int>("command");
  QTest::addColumn<QList<int>>("clicks");
  QTest::addColumn<bool>("escape");
  QTest::addColumn<int>("formula");
  QTest::addColumn<int>("factor");
  QTest::addColumn<int>("method");

  QTest::newRow("Magnus, OK") << 32776 << QList<int>{1023, 1} << false << 1023 << 1024 << 1025;
  QTest::newRow("Magnus, Cancel") << 32776 << QList<int>{1023, 2} << false << 1020 << 1024 << 1025;
  QTest::newRow("Magnus, Escape") << 32776 << QList<int>{1023} << true << 1020 << 1024 << 1025;
  QTest::newRow("Hyland-Wexler and Greenspan, OK")
      << 32776 << QList<int>{1021, 1025, 1} << false << 1021 << 1025 << 1025;
  QTest::newRow("Sonntag, Bogel, change of mind, OK")
      << 32776 << QList<int>{1022, 1026, 1020, 1} << false << 1020 << 1026 << 1025;
  QTest::newRow("ASTM, OK") << 32777 << QList<int>{1026, 1} << false << 1020 << 1024 << 1026;
  QTest::newRow("ASTM, Cancel") << 32777 << QList<int>{1026, 2} << false << 1020 << 1024 << 1025;
  QTest::newRow("ASTM, Escape") << 32777 << QList<int>{1026} << true << 1020 << 1024 << 1025;
}

void ShellTest::preferenceDialogsStoreOnlyOnOk() {
  QFETCH(int, command);
  QFETCH(QList<int>, clicks);
  QFETCH(bool, escape);
  QFETCH(int, formula);
  QFETCH(int, factor);
  QFETCH(int, method);
  Shell shell;
  QVERIFY(shell.start());
  auto click = Clicking(clicks);
  shell.onDialog = [&](QDialog& dialog) {
    const int result = click(dialog);
    if (escape) {
      QTest::keyClick(&dialog, Qt::Key_Escape);
      return dialog.result();
    }
    return result;
  };
  shell.command(command)->trigger();
  QCOMPARE(shell.dialogsRun.size(), 1);
  const CalcSettings& s = shell.state.Settings;
  QCOMPARE(static_cast<int>(s.SwvpFormula), formula);
  QCOMPARE(static_cast<int>(s.EnhancementFactor), factor);
  QCOMPARE(static_cast<int>(s.GasMethod), method);
}

void ShellTest::preferenceDialogsMarkTheStoredChoices() {
  Shell shell;
  QVERIFY(shell.start());
  struct Case {
    int command;
    const char* title;
    QSize size;
    QList<int> marked;
    int focused;  // the first tab stop of the template
  };
  shell.state.Settings.SwvpFormula = SwvpFormula::Sonntag;
  shell.state.Settings.EnhancementFactor = EnhancementFactor::Bogel;
  shell.state.Settings.GasMethod = GasMethod::Astm;
  const Case cases[] = {
      {32776,
       "Saturation Water Vapor Pressure Conversion Formulas",
       DialogRect(0, 0, 311, 161).size(),
       {1022, 1026},
       1020},
      {32777,
       "Method of Computation of water vapor density in Natural Gas",
       DialogRect(0, 0, 319, 71).size(),
       {1026},
       1025},
  };
  const QPoint at = shell.window->centralWidget()->mapToGlobal(DialogRect(30, 20, 0, 0).topLeft());
  for (const Case& c : cases) {
    QList<int> marked;
    QSize size;
    QPoint pos;
    QString focused;
    shell.onDialog = [&](QDialog& dialog) {
      size = dialog.size();
      pos = dialog.geometry().topLeft();
      focused = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
      for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->isChecked()) marked << b->objectName().toInt();
      }
      QTest::keyClick(&dialog, Qt::Key_Escape);
      return dialog.result();
    };
    shell.command(c.command)->trigger();
    QCOMPARE(shell.dialogsRun.last(), QString::fromLatin1(c.title));
    QCOMPARE(size, c.size);
    QCOMPARE(pos, at);
    QCOMPARE(focused, QString::number(c.focused));
    std::sort(marked.begin(), marked.end());
    QCOMPARE(marked, c.marked);
  }
  // The texts of dialog 139, line breaks and all.
  shell.onDialog = [&](QDialog& dialog) {
    auto text = [&](int id) { return dialog.findChild<QPushButton*>(QString::number(id))->text(); };
    [&] {
      QCOMPARE(text(1020), QStringLiteral("Goff-Gratch equations\nintegration of "
                                          "Clausius-Clapeyron\ndeviating from perfect gas"));
      QCOMPARE(text(1021), QStringLiteral("Hyland and Wexler (1983b)"));
      QCOMPARE(text(1026), QStringLiteral("Bogel\nwater vapor enhancement factor"));
      QCOMPARE(text(2), QStringLiteral("Cancel"));
      QCOMPARE(text(1), QStringLiteral("OK"));
    }();
    return int(QDialog::Rejected);
  };
  shell.command(32776)->trigger();
}

void ShellTest::preferenceOkAsksThePanelToRepaint() {
  const QByteArray ini("[Tavimor]\nConvCategory=1002\n");
  Shell shell(&ini);
  QVERIFY(shell.start());
  QTest::qWait(50);
  PaintCounter counter;
  shell.panel()->installEventFilter(&counter);
  shell.onDialog = Clicking({1023, 1});
  shell.command(kCmdWaterVaporPressure)->trigger();
  QTRY_VERIFY(counter.paints > 0);
}

void ShellTest::saveFromTemperatureWritesOnlyConvCategory() {
  const QByteArray before =
      "; saved by hand\r\n[Other]\r\nKey = value\r\n\r\n[Tavimor]\r\nIsoAndPrsr=1013,1016\r\n"
      "FromDew=-40,1\r\nToDew=0,3\r\nFromPrs=2,1\r\nToPrs=1013.25,0\r\n"
      "TDensity=1039,20.000000,1039,20.000000\r\nMW=1,29.000000,1,29.000000\r\n"
      "TAmbient=1033,20.000000,1033,20.000000\r\nHenry=1028,1.900000,1028,1.900000\r\n"
      "EquSWVP=1023,1025\r\nEquDensity=1026\r\nMediumDensity=1038,1038\r\nConvCategory=1003\r\n";
  Shell shell(&before);
  QVERIFY(shell.start());
  shell.clickCategory(1002);
  shell.onDialog = Clicking({1});
  shell.command(kCmdSaveSelections)->trigger();
  QCOMPARE(shell.dialogsRun, QStringList{QStringLiteral("Save Selections")});
  QByteArray expected = before;
  expected.replace("ConvCategory=1003", "ConvCategory=1002");
  QCOMPARE(shell.readIni(), expected);
  QVERIFY(shell.warnings.isEmpty());

  // Without a file, the new file holds the one key.
  Shell fresh;
  QVERIFY(fresh.start());
  fresh.clickCategory(1002);
  fresh.onDialog = Clicking({1});
  fresh.command(kCmdSaveSelections)->trigger();
  QCOMPARE(fresh.readIni(), QByteArray("[Tavimor]\nConvCategory=1002\n"));
}

void ShellTest::saveFromMoistureWritesAllThirteenKeys() {
  const QByteArray before("; hand-written\n[Other]\nA=1\n");
  Shell shell(&before);
  QVERIFY(shell.start());
  QVERIFY(shell.panel()->inherits("tavimor::MoisturePanel"));
  auto* from = shell.panel()->findChild<QLineEdit*>(QStringLiteral("1004"));
  QVERIFY(from);
  from->selectAll();
  QTest::keyClicks(from, QStringLiteral("-40"));
  shell.onDialog = Clicking({1});
  shell.command(kCmdSaveSelections)->trigger();
  QVERIFY(shell.warnings.isEmpty());
  // The section as saved with the defaults and a From value of -40.
  QCOMPARE(shell.readIni(), before + QByteArray("[Tavimor]\n"
                                                "IsoAndPrsr=1014,1017\n"
                                                "FromDew=-40,1\n"
                                                "ToDew=0,1\n"
                                                "FromPrs=1013.25,0\n"
                                                "ToPrs=1013.25,0\n"
                                                "TDensity=1039,20.000000,1039,20.000000\n"
                                                "MW=1,29.000000,1,29.000000\n"
                                                "TAmbient=1033,20.000000,1033,20.000000\n"
                                                "Henry=1028,1.900000,1028,1.900000\n"
                                                "EquSWVP=1020,1024\n"
                                                "EquDensity=1025\n"
                                                "MediumDensity=1038,1038\n"
                                                "ConvCategory=1001\n"));
}

void ShellTest::saveCancelledWritesNothing_data() {
  QTest::addColumn<int>("how");  // 0 Cancel, 1 Escape, 2 close box, 3 Enter
  QTest::newRow("Cancel") << 0;
  QTest::newRow("Escape") << 1;
  QTest::newRow("close box") << 2;
  // The focus starts on the template's first tab stop, Cancel, which Enter then presses.
  QTest::newRow("Enter right after opening") << 3;
}

void ShellTest::saveCancelledWritesNothing() {
  QFETCH(int, how);
  const QByteArray before("[Tavimor]\nConvCategory=1003\n");
  Shell shell(&before);
  QVERIFY(shell.start());
  shell.clickCategory(1004);
  QSize size;
  QString text;
  QString focused;
  shell.onDialog = [&](QDialog& dialog) {
    dialog.show();
    size = dialog.size();
    QWidget* focus = dialog.focusWidget();
    focused = focus ? focus->objectName() : QString();
    for (QLabel* label : dialog.findChildren<QLabel*>()) text += label->text() + QLatin1Char('|');
    if (how == 0) dialog.findChild<QPushButton*>(QStringLiteral("2"))->click();
    if (how == 1) QTest::keyClick(&dialog, Qt::Key_Escape);
    if (how == 2) dialog.close();
    if (how == 3 && focus) QTest::keyClick(focus, Qt::Key_Return);
    return dialog.result();
  };
  shell.command(kCmdSaveSelections)->trigger();
  QCOMPARE(size, DialogRect(0, 0, 228, 110).size());
  QCOMPARE(focused, QStringLiteral("2"));
  QCOMPARE(text, QStringLiteral(
                     "Press OK to save all of the selections made in this conversion category , "
                     "so that the next time the program is started the window opens in the same "
                     "state as it is now, including selections of units conversions, values, and "
                     "conversion formulas.|Press CANCEL to leave the selections as they were.|"));
  QCOMPARE(shell.readIni(), before);
}

void ShellTest::saveSelectionsComposesPanelKeysOnlyForMoisture() {
  const SavedKeys panelKeys = {{"IsoAndPrsr", "1014,1017"}, {"FromDew", "-40,1"}};
  struct Case {
    const char* name;
    int16_t category;
    bool panel;
    SavedKeys expected;
  };
  const Case cases[] = {
      {"moisture with its panel",
       1001,
       true,
       {{"IsoAndPrsr", "1014,1017"}, {"FromDew", "-40,1"}, {"ConvCategory", "1001"}}},
      {"moisture before its panel exists", 1001, false, {{"ConvCategory", "1001"}}},
      {"temperature", 1002, true, {{"ConvCategory", "1002"}}},
      {"generator", 1005, true, {{"ConvCategory", "1005"}}},
      {"hand-edited number", 7, true, {{"ConvCategory", "7"}}},
  };
  for (const Case& c : cases) {
    const SavedKeys got = SelectionsToSave(c.category, c.panel ? &panelKeys : nullptr);
    QVERIFY2(got == c.expected, c.name);
  }
}

void ShellTest::failedSaveIsReportedAndOldFileKept_data() {
  QTest::addColumn<int>("how");  // 0 read-only folder, 1 folder is a file, 2 disk full
  QTest::newRow("read-only folder") << 0;
  QTest::newRow("folder is a file") << 1;
  QTest::newRow("disk full") << 2;
}

void ShellTest::failedSaveIsReportedAndOldFileKept() {
  QFETCH(int, how);
  QByteArray before("; keep\n[Tavimor]\nConvCategory=1003\n");
  before += QByteArray(4096, ';') + '\n';
  Shell shell(&before);
  const QString folder = shell.dir.path();
  if (how == 1)
    shell.state.IniFile = (shell.iniPath() + QStringLiteral("/tavimor.ini")).toStdString();
  QVERIFY(shell.start());
  shell.clickCategory(1002);
  shell.onDialog = Clicking({1});

  rlimit old{};
  auto restore = qScopeGuard([&] {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (how == 2) {
      setrlimit(RLIMIT_FSIZE, &old);
      std::signal(SIGXFSZ, SIG_DFL);
    }
  });
  if (how == 0) {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (std::ofstream(folder.toStdString() + "/probe")) {
      QSKIP("running with rights that ignore folder permissions");
    }
  }
  if (how == 2) {
    // A file size limit fails write() as a full disk does, also for root.
    getrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  shell.command(kCmdSaveSelections)->trigger();
  QCOMPARE(shell.warnings.size(), 1);
  QVERIFY2(shell.warnings[0].contains(QStringLiteral("could not be saved")),
           qPrintable(shell.warnings[0]));
  QCOMPARE(shell.readIni(), before);
  QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"tavimor.ini"});
}

void ShellTest::iniFileComesFromOptionThenEnvironmentThenConfigFolder() {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    const char* env;       // nullptr: unset
    std::string expected;  // empty: the per-user default
    std::string error;
  };
  const Case cases[] = {
      {"option", {"tavimor", "--ini", "/x/a.ini"}, "/y/b.ini", "/x/a.ini", ""},
      {"option with '='", {"tavimor", "--ini=/x/c.ini"}, nullptr, "/x/c.ini", ""},
      {"environment", {"tavimor", "-style", "Windows"}, "/y/b.ini", "/y/b.ini", ""},
      {"empty environment", {"tavimor"}, "", "", ""},
      {"default", {"tavimor"}, nullptr, "", ""},
      {"option without file", {"tavimor", "--ini"}, nullptr, "", "--ini needs a file name"},
  };
  const QByteArray saved = qgetenv("TAVIMOR_INI");
  auto restore = qScopeGuard([&] {
    if (saved.isNull()) {
      qunsetenv("TAVIMOR_INI");
    } else {
      qputenv("TAVIMOR_INI", saved);
    }
  });
  for (const Case& c : cases) {
    if (c.env) {
      qputenv("TAVIMOR_INI", c.env);
    } else {
      qunsetenv("TAVIMOR_INI");
    }
    const DesktopCommandLine line = ParseCommandLine(c.args);
    QVERIFY2(line.Error == c.error, c.name);
    if (!c.error.empty()) continue;
    const std::filesystem::path got = ResolveIniFile(line);
    if (c.expected.empty()) {
      QVERIFY2(got.filename() == "tavimor.ini", c.name);
      QVERIFY2(std::filesystem::is_directory(got.parent_path()), c.name);
    } else {
      QVERIFY2(got == c.expected, c.name);
    }
  }
}

void ShellTest::everyTextFitsItsControl() {
  // The category bar, the four panels and every dialog: each option button, check box,
  // static text, push button and frame title shows its whole text.
  Shell shell;
  QVERIFY(shell.start());
  QStringList cut = CutTexts(shell.bar());
  for (int category : {1001, 1002, 1003, 1004}) {
    shell.clickCategory(category);
    cut << CutTexts(shell.panel());
  }
  shell.onDialog = [&](QDialog& dialog) {
    cut << CutTexts(&dialog);
    if (auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("1"))) ok->click();
    return dialog.result();
  };
  for (int command : {kCmdAbout, kCmdWaterVaporPressure, kCmdNaturalGasMethod}) {
    shell.command(command)->trigger();
  }
  shell.clickCategory(1001);
  auto* fromUnit = shell.panel()->findChild<QComboBox*>(QStringLiteral("1005"));
  for (int unit : {6, 8, 9, 10}) {
    fromUnit->setCurrentIndex(unit);
    emit fromUnit->activated(unit);
  }
  shell.onDialog = [&](QDialog& dialog) {
    cut << CutTexts(&dialog);
    return int(QDialog::Rejected);
  };
  shell.command(kCmdSaveSelections)->trigger();
  QCOMPARE(shell.dialogsRun.size(), 8);
  QCOMPARE(cut, QStringList());
}

void ShellTest::groupBoxTitlesSitOnTheirFrameLine() {
  // As the classic platform draws a group box: the frame's top line runs through the middle
  // of the title, and the title interrupts it.
  Shell shell;
  QVERIFY(shell.start());
  QStringList titles;
  QStringList wrong;
  for (int category : {1001, 1002, 1003, 1004}) {
    shell.clickCategory(category);
    for (QGroupBox* box : shell.panel()->findChildren<QGroupBox*>()) {
      const QString title = box->title();
      titles << title;
      const QImage image = box->grab().toImage();
      const QRgb frame = box->palette().color(QPalette::Dark).rgb();
      const auto onLine = [&](int x, int y) { return image.pixel(x, y) == frame; };
      const QFontMetrics fm(box->font());
      // The top line: the first row in the frame's colour, inside the left edge.
      int row = 0;
      while (row < image.height() && !onLine(3, row)) ++row;
      // Along it: the line, a gap as wide as the title, the line again up to the right edge.
      int gapStart = 3;
      while (gapStart < image.width() && onLine(gapStart, row)) ++gapStart;
      int gapEnd = image.width() - 3;
      while (gapEnd > gapStart && onLine(gapEnd, row)) --gapEnd;
      const int gap = gapEnd - gapStart + 1;
      const int titleWidth = fm.horizontalAdvance(title);
      // The title's ink above the line and below it, inside the gap.
      bool inkAbove = false;
      bool inkBelow = false;
      for (int x = gapStart; x <= gapEnd; ++x) {
        for (int y = 0; y < fm.height(); ++y) {
          if (qGray(image.pixel(x, y)) >= 100) continue;
          inkAbove = inkAbove || y < row;
          inkBelow = inkBelow || y > row + 1;
        }
      }
      if (qAbs(row - fm.height() / 2) > 1 || gapStart < 5 || gap < titleWidth ||
          gap > titleWidth + 4 || !inkAbove || !inkBelow) {
        wrong << QStringLiteral(
                     "%1: line at row %2 of a %3-pixel title, gap %4 px from x = %5 "
                     "for a %6-px title, ink above %7, below %8")
                     .arg(title)
                     .arg(row)
                     .arg(fm.height())
                     .arg(gap)
                     .arg(gapStart)
                     .arg(titleWidth)
                     .arg(inkAbove)
                     .arg(inkBelow);
      }
    }
  }
  QCOMPARE(titles.size(), 8);
  QCOMPARE(wrong, QStringList());
}

void ShellTest::activationLeavesTheConverterFieldsEmpty_data() {
  QTest::addColumn<QByteArray>("ini");
  QTest::addColumn<int>("category");  // chosen after start-up; 0: none
  QTest::newRow("Temperature at start-up") << QByteArray("[Tavimor]\nConvCategory=1002\n") << 0;
  QTest::newRow("Pressure at start-up") << QByteArray("[Tavimor]\nConvCategory=1003\n") << 0;
  // The Moisture/Humidity panel's From field has the focus when it is destroyed.
  QTest::newRow("Temperature after Moisture/Humidity") << QByteArray() << 1002;
}

void ShellTest::activationLeavesTheConverterFieldsEmpty() {
  // These panels leave the focus where it is when they are created; activating the window,
  // first or after another window, must not focus their From field, whose focus
  // notification would compute a result nobody asked for.
  QFETCH(QByteArray, ini);
  QFETCH(int, category);
  Shell shell(&ini);
  QVERIFY(shell.start());
  shell.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(shell.window.get()));
  if (category) shell.clickCategory(category);
  QWidget other;
  for (int round = 0; round < 2; ++round) {
    shell.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shell.window.get()));
    QVERIFY(!qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    for (QLineEdit* field : shell.panel()->findChildren<QLineEdit*>()) {
      QCOMPARE(field->text(), QString());
    }
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
  }
}

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
