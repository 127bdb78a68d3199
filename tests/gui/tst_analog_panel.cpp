#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "panel_test_support.h"
#include "panels/analog_panel.h"
#include "panels/analog_panel_ids.h"

namespace tavimor {

using test::Control;
using test::Retype;
namespace ids = analog_ids;

class AnalogPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void startsInCurrentModeWithTheDefaultRange();
  void keepsItsTexts();
  void convertsCurrentReadings_data();
  void convertsCurrentReadings();
  void convertsVoltageReadings_data();
  void convertsVoltageReadings();
  void switchingBackToCurrentRestoresMilliamps();
  void rangeEditsShowAtTheNextReadingEdit();
  void acceptsAFallingScale();
  void resistorEditsUpdateTheVoltageRange();
  void focusOnTheReadingRecomputes();
  void escapeDoesNotHideThePanel();
  void startsWithTheFocusInTheLowField();

 private:
  struct Fixture {
    test::PanelHost<AnalogPanel> host;
    QLineEdit* field(int id) const { return Control<QLineEdit>(host.panel, id); }
    QString result() const { return field(ids::kResult)->text(); }
    QString unitText() const { return Control<QLabel>(host.panel, ids::kReadingUnit)->text(); }
    void click(int id) const { Control<QRadioButton>(host.panel, id)->click(); }
  };
};

void AnalogPanelTest::startsInCurrentModeWithTheDefaultRange() {
  AnalogPanel panel;
  struct Expected {
    int id;
    const char* className;
    const char* text;
    bool enabled;
  };
  const Expected controls[] = {
      {ids::kLowValue, "QLineEdit", "-100", true},
      {ids::kHighValue, "QLineEdit", "20", true},
      {ids::kDetectCurrent, "QRadioButton", "Detecting Current", true},
      {ids::kDetectVoltage, "QRadioButton", "Detecting Voltage across", true},
      {ids::kResistor, "QLineEdit", "250", false},
      {ids::kReading, "QLineEdit", "", true},
      // Setting the resistor default is a change of that field: computed once, no reading.
      {ids::kResult, "QLineEdit", "Error", true},
      {ids::kResistorLabel, "QLabel", "Ohm resistor", false},
      {ids::kReadingUnit, "QLabel", "mA", true},
  };
  for (const Expected& c : controls) {
    QWidget* w = Control<QWidget>(&panel, c.id);
    QVERIFY2(w, qPrintable(QString::number(c.id)));
    QCOMPARE(w->metaObject()->className(), c.className);
    QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(QString::number(c.id)));
    QCOMPARE(w->isEnabled(), c.enabled);
    QCOMPARE(w->property("text").toString(), QString(c.text));
  }
  QVERIFY(Control<QRadioButton>(&panel, ids::kDetectCurrent)->isChecked());
  QVERIFY(!Control<QRadioButton>(&panel, ids::kDetectVoltage)->isChecked());
  QVERIFY(Control<QLineEdit>(&panel, ids::kResult)->isReadOnly());
  QVERIFY(!Control<QLabel>(&panel, ids::kDecoration)->pixmap().isNull());
  // Both option buttons are one group that hands out their identifiers.
  QButtonGroup* group = Control<QRadioButton>(&panel, ids::kDetectCurrent)->group();
  QVERIFY(group);
  QCOMPARE(group->checkedId(), ids::kDetectCurrent);
  QCOMPARE(group->id(Control<QRadioButton>(&panel, ids::kDetectVoltage)), ids::kDetectVoltage);
}

void AnalogPanelTest::keepsItsTexts() {
  AnalogPanel panel;
  QStringList texts;
  for (const QLabel* label : panel.findChildren<QLabel*>()) texts << label->text();
  for (const char* text :
       {"generates 4mA when measuring", "generates 20mA when measuring", "e.g. volt-amp meter",
        "Enter Value Detected", "Computed Result",
        "Same units as the Instrument producing the Analog Output",
        "This conversion category is for computing an instrument's measurement transmitted on a "
        "4-20 mA loop."}) {
    QVERIFY2(texts.contains(QString(text)), text);
  }
}

void AnalogPanelTest::convertsCurrentReadings_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("result");
  QTest::newRow("12 mA") << "12"
                         << "-40.0";
  QTest::newRow("4 mA") << "4"
                        << "-100.0";
  QTest::newRow("20 mA") << "20"
                         << "20.0";
  QTest::newRow("3.99 mA") << "3.99"
                           << "Error";
  QTest::newRow("20.01 mA") << "20.01"
                            << "Error";
  QTest::newRow("empty") << ""
                         << "Error";
  QTest::newRow("12.3 mA in single precision") << "12.3"
                                               << "-37.7";
}

void AnalogPanelTest::convertsCurrentReadings() {
  QFETCH(QString, typed);
  QFETCH(QString, result);
  Fixture f;
  QVERIFY(f.host.show());
  Retype(f.field(ids::kReading), "7");
  Retype(f.field(ids::kReading), typed);
  QCOMPARE(f.result(), result);
}

void AnalogPanelTest::convertsVoltageReadings_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("result");
  QTest::newRow("3 V") << "3"
                       << "-40.0";
  QTest::newRow("1 V") << "1"
                       << "-100.0";
  QTest::newRow("5 V") << "5"
                       << "20.0";
  QTest::newRow("0.999 V") << "0.999"
                           << "Error";
}

void AnalogPanelTest::convertsVoltageReadings() {
  QFETCH(QString, typed);
  QFETCH(QString, result);
  Fixture f;
  QVERIFY(f.host.show());
  f.click(ids::kDetectVoltage);
  QVERIFY(f.field(ids::kResistor)->isEnabled());
  QVERIFY(Control<QLabel>(f.host.panel, ids::kResistorLabel)->isEnabled());
  QCOMPARE(f.unitText(), QString("Volts\n(1.000V to 5.000V)"));
  Retype(f.field(ids::kReading), typed);
  QCOMPARE(f.result(), result);
}

void AnalogPanelTest::switchingBackToCurrentRestoresMilliamps() {
  Fixture f;
  QVERIFY(f.host.show());
  f.click(ids::kDetectVoltage);
  Retype(f.field(ids::kReading), "5");
  QCOMPARE(f.result(), QString("20.0"));
  f.click(ids::kDetectCurrent);
  QCOMPARE(f.unitText(), QString("mA"));
  QVERIFY(!f.field(ids::kResistor)->isEnabled());
  QVERIFY(!Control<QLabel>(f.host.panel, ids::kResistorLabel)->isEnabled());
  // 5 taken as mA: -100 + 120 x 1 / 16.
  QCOMPARE(f.result(), QString("-92.5"));
}

void AnalogPanelTest::rangeEditsShowAtTheNextReadingEdit() {
  Fixture f;
  QVERIFY(f.host.show());
  Retype(f.field(ids::kReading), "12");
  QCOMPARE(f.result(), QString("-40.0"));
  Retype(f.field(ids::kLowValue), "0");
  Retype(f.field(ids::kHighValue), "100");
  QCOMPARE(f.result(), QString("-40.0"));
  Retype(f.field(ids::kReading), "12.0");
  QCOMPARE(f.result(), QString("50.0"));
  Retype(f.field(ids::kHighValue), "200");
  f.click(ids::kDetectCurrent);  // clicking the checked option recomputes too
  QCOMPARE(f.result(), QString("100.0"));
}

void AnalogPanelTest::acceptsAFallingScale() {
  Fixture f;
  QVERIFY(f.host.show());
  Retype(f.field(ids::kLowValue), "20");
  Retype(f.field(ids::kHighValue), "-100");
  Retype(f.field(ids::kReading), "12");
  QCOMPARE(f.result(), QString("-40.0"));
  Retype(f.field(ids::kReading), "8");
  QCOMPARE(f.result(), QString("-10.0"));
}

void AnalogPanelTest::resistorEditsUpdateTheVoltageRange() {
  Fixture f;
  QVERIFY(f.host.show());
  // In current mode the resistor changes neither the unit text nor the reading's meaning.
  f.field(ids::kResistor)->setText("500");
  Retype(f.field(ids::kReading), "12");
  QCOMPARE(f.unitText(), QString("mA"));
  QCOMPARE(f.result(), QString("-40.0"));
  f.click(ids::kDetectVoltage);
  QCOMPARE(f.unitText(), QString("Volts\n(2.000V to 10.000V)"));
  QCOMPARE(f.result(), QString("Error"));  // 12 V across 500 ohm is 24 mA
  Retype(f.field(ids::kReading), "6");
  QCOMPARE(f.result(), QString("-40.0"));
  Retype(f.field(ids::kResistor), "0");
  QCOMPARE(f.unitText(), QString("Volts\n(0.000V to 0.000V)"));
  QCOMPARE(f.result(), QString("Error"));
  Retype(f.field(ids::kReading), "0");
  QCOMPARE(f.result(), QString("Error"));  // 0 / 0
}

void AnalogPanelTest::focusOnTheReadingRecomputes() {
  Fixture f;
  QVERIFY(f.host.show());
  Retype(f.field(ids::kReading), "12");
  Retype(f.field(ids::kHighValue), "100");
  QCOMPARE(f.result(), QString("-40.0"));
  QTest::mouseClick(f.field(ids::kReading), Qt::LeftButton);
  QVERIFY(f.field(ids::kReading)->hasFocus());
  QCOMPARE(f.result(), QString("0.0"));
  // Losing the focus is a notification too: the next range shows when the reading loses it.
  f.field(ids::kLowValue)->setText("-200");
  f.host.outside->setFocus();
  QCOMPARE(f.result(), QString("-50.0"));
}

void AnalogPanelTest::escapeDoesNotHideThePanel() {
  Fixture f;
  QVERIFY(f.host.show());
  Retype(f.field(ids::kReading), "12");
  QTest::mouseClick(f.field(ids::kReading), Qt::LeftButton);
  QTest::keyClick(f.field(ids::kReading), Qt::Key_Escape);
  QTest::keyClick(f.host.panel, Qt::Key_Escape);
  QVERIFY(f.host.panel->isVisible());
  QCOMPARE(f.result(), QString("-40.0"));
}

void AnalogPanelTest::startsWithTheFocusInTheLowField() {
  // The initialisation leaves the focus to the platform: the 4 mA field, its text selected,
  // so typing goes there without a click and replaces "-100".
  Fixture f;
  f.host.window->show();
  f.host.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.host.window.get()));
  QLineEdit* low = f.field(ids::kLowValue);
  QCOMPARE(QApplication::focusWidget(), low);
  QCOMPARE(low->selectedText(), QString("-100"));
  QTest::keyClicks(low, "-50");
  QCOMPARE(low->text(), QString("-50"));
}

}  // namespace tavimor

QTEST_MAIN(tavimor::AnalogPanelTest)
#include "tst_analog_panel.moc"
