#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "panel_test_support.h"
#include "panels/temperature_panel.h"
#include "panels/temperature_panel_ids.h"

namespace tavimor {

using test::Control;
using test::Pick;
using test::Retype;
namespace ids = temperature_ids;

enum Unit { Celsius = 0, Fahrenheit = 1, Kelvin = 2, Rankine = 3 };

class TemperaturePanelTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithEmptyFieldsAndFahrenheitToCelsius();
  void listsTheFourUnitsInOrder();
  void keepsTheSentenceWithItsQuotationMarks();
  void focusOnTheEmptyFieldComputesZeroFahrenheit();
  void convertsWhatIsTyped_data();
  void convertsWhatIsTyped();
  void fromUnitChangeReexpressesTheValue();
  void reselectingTheCurrentUnitChangesNothing();
  void survivesHugeAndLongInput();
  void destroyingThePanelWhileItsFieldHasFocusIsSafe();
  void writtenFieldsShowTheStartOfTheirText();
};

void TemperaturePanelTest::startsWithEmptyFieldsAndFahrenheitToCelsius() {
  TemperaturePanel panel;
  struct Expected {
    int id;
    const char* className;
  };
  const Expected controls[] = {
      {ids::kDecoration, "QLabel"}, {ids::kFromValue, "QLineEdit"}, {ids::kFromUnit, "QComboBox"},
      {ids::kResult, "QLineEdit"},  {ids::kToUnit, "QComboBox"},    {ids::kSentence, "QLabel"},
  };
  for (const Expected& c : controls) {
    QWidget* w = Control<QWidget>(&panel, c.id);
    QVERIFY2(w, qPrintable(QString::number(c.id)));
    QCOMPARE(w->metaObject()->className(), c.className);
    QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(QString::number(c.id)));
  }
  QVERIFY(!Control<QLabel>(&panel, ids::kDecoration)->pixmap().isNull());
  QCOMPARE(Control<QLineEdit>(&panel, ids::kFromValue)->text(), QString());
  QCOMPARE(Control<QLineEdit>(&panel, ids::kResult)->text(), QString());
  QVERIFY(Control<QLineEdit>(&panel, ids::kResult)->isReadOnly());
  QCOMPARE(Control<QComboBox>(&panel, ids::kFromUnit)->currentText(), QString("Fahrenheit"));
  QCOMPARE(Control<QComboBox>(&panel, ids::kToUnit)->currentText(), QString("Celsius"));
  QVERIFY(Control<QLabel>(&panel, ids::kSentence)->isHidden());
  const QStringList groups = {panel.findChildren<QGroupBox*>()[0]->title(),
                              panel.findChildren<QGroupBox*>()[1]->title()};
  QCOMPARE(groups, QStringList({"From:", "To:"}));
}

void TemperaturePanelTest::listsTheFourUnitsInOrder() {
  TemperaturePanel panel;
  for (int id : {ids::kFromUnit, ids::kToUnit}) {
    auto* list = Control<QComboBox>(&panel, id);
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    QCOMPARE(items, QStringList({"Celsius", "Fahrenheit", "Kelvin", "Rankine"}));
  }
}

void TemperaturePanelTest::keepsTheSentenceWithItsQuotationMarks() {
  TemperaturePanel panel;
  QCOMPARE(Control<QLabel>(&panel, ids::kSentence)->text(),
           QString("\"Fahrenheit four five one is the temperature at which book paper catches "
                   "fire and starts to burn.\""));
}

void TemperaturePanelTest::focusOnTheEmptyFieldComputesZeroFahrenheit() {
  test::PanelHost<TemperaturePanel> host;
  QVERIFY(host.show());
  auto* from = Control<QLineEdit>(host.panel, ids::kFromValue);
  QCOMPARE(Control<QLineEdit>(host.panel, ids::kResult)->text(), QString());
  QTest::mouseClick(from, Qt::LeftButton);
  QVERIFY(from->hasFocus());
  QCOMPARE(Control<QLineEdit>(host.panel, ids::kResult)->text(), QString("-17.78"));
}

void TemperaturePanelTest::convertsWhatIsTyped_data() {
  QTest::addColumn<int>("fromUnit");
  QTest::addColumn<int>("toUnit");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("result");
  QTest::addColumn<bool>("sentence");
  QTest::newRow("100 C to F") << int(Celsius) << int(Fahrenheit) << "100"
                              << "212." << false;
  QTest::newRow("20 C to K") << int(Celsius) << int(Kelvin) << "20"
                             << "293.15" << false;
  QTest::newRow("273.15 K to C") << int(Kelvin) << int(Celsius) << "273.15"
                                 << "0." << false;
  QTest::newRow("0 K to C") << int(Kelvin) << int(Celsius) << "0"
                            << "-273.15" << false;
  QTest::newRow("-40 C to F") << int(Celsius) << int(Fahrenheit) << "-40"
                              << "-40." << false;
  QTest::newRow("451 F to C") << int(Fahrenheit) << int(Celsius) << "451"
                              << "232.78" << true;
  QTest::newRow("451 F to K") << int(Fahrenheit) << int(Kelvin) << "451"
                              << "505.92" << true;
  QTest::newRow("451 F to R") << int(Fahrenheit) << int(Rankine) << "451"
                              << "910.67" << true;
  QTest::newRow("451 F to F") << int(Fahrenheit) << int(Fahrenheit) << "451"
                              << "451." << true;
  QTest::newRow("232.775 C to F") << int(Celsius) << int(Fahrenheit) << "232.775"
                                  << "451." << true;
  QTest::newRow("232.78 C to F") << int(Celsius) << int(Fahrenheit) << "232.78"
                                 << "451.01" << false;
  QTest::newRow("text reads as 0") << int(Celsius) << int(Kelvin) << "abc"
                                   << "273.15" << false;
}

void TemperaturePanelTest::convertsWhatIsTyped() {
  QFETCH(int, fromUnit);
  QFETCH(int, toUnit);
  QFETCH(QString, typed);
  QFETCH(QString, result);
  QFETCH(bool, sentence);
  test::PanelHost<TemperaturePanel> host;
  QVERIFY(host.show());
  auto* from = Control<QLineEdit>(host.panel, ids::kFromValue);
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), fromUnit);
  Pick(Control<QComboBox>(host.panel, ids::kToUnit), toUnit);
  Retype(from, typed);
  QCOMPARE(from->text(), typed);
  QCOMPARE(Control<QLineEdit>(host.panel, ids::kResult)->text(), result);
  QCOMPARE(!Control<QLabel>(host.panel, ids::kSentence)->isHidden(), sentence);
}

void TemperaturePanelTest::fromUnitChangeReexpressesTheValue() {
  test::PanelHost<TemperaturePanel> host;
  QVERIFY(host.show());
  auto* from = Control<QLineEdit>(host.panel, ids::kFromValue);
  auto* result = Control<QLineEdit>(host.panel, ids::kResult);
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), Celsius);
  Pick(Control<QComboBox>(host.panel, ids::kToUnit), Fahrenheit);
  Retype(from, "20");
  QCOMPARE(result->text(), QString("68."));
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), Kelvin);
  QCOMPARE(from->text(), QString("293.15"));
  // Recomputed from 293.15 K: the same temperature up to the 0.01 rounding.
  QCOMPARE(result->text(), QString("68.01"));

  // Re-expressing into Fahrenheit gives 451, and the recomputation shows the sentence.
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), Celsius);
  Retype(from, "232.775");
  Pick(Control<QComboBox>(host.panel, ids::kToUnit), Celsius);
  QVERIFY(Control<QLabel>(host.panel, ids::kSentence)->isHidden());
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), Fahrenheit);
  QCOMPARE(from->text(), QString("451."));
  QVERIFY(!Control<QLabel>(host.panel, ids::kSentence)->isHidden());
}

void TemperaturePanelTest::reselectingTheCurrentUnitChangesNothing() {
  test::PanelHost<TemperaturePanel> host;
  QVERIFY(host.show());
  auto* from = Control<QLineEdit>(host.panel, ids::kFromValue);
  Retype(from, "20");
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), Fahrenheit);
  QCOMPARE(from->text(), QString("20"));
  Pick(Control<QComboBox>(host.panel, ids::kToUnit), Celsius);
  QCOMPARE(Control<QLineEdit>(host.panel, ids::kResult)->text(), QString("-6.67"));
}

void TemperaturePanelTest::survivesHugeAndLongInput() {
  test::PanelHost<TemperaturePanel> host;
  QVERIFY(host.show());
  auto* from = Control<QLineEdit>(host.panel, ids::kFromValue);
  auto* result = Control<QLineEdit>(host.panel, ids::kResult);
  Retype(from, "1e999");
  QVERIFY(!result->text().isEmpty());
  // Only the first 14 characters count: 12345678901234 °F, not 15 digits or more.
  from->setText(QString(100000, QLatin1Char('1')).prepend("12345678901234"));
  QCOMPARE(result->text(), QString("6.858642e+012"));
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), Kelvin);
  QVERIFY(!from->text().isEmpty());
}

void TemperaturePanelTest::destroyingThePanelWhileItsFieldHasFocusIsSafe() {
  test::PanelHost<TemperaturePanel> host;
  QVERIFY(host.show());
  auto* from = Control<QLineEdit>(host.panel, ids::kFromValue);
  QTest::mouseClick(from, Qt::LeftButton);
  QVERIFY(from->hasFocus());
  delete host.panel;
  host.panel = nullptr;
  QVERIFY(host.window->isVisible());
}

void TemperaturePanelTest::writtenFieldsShowTheStartOfTheirText() {
  // Texts wider than the 60-pixel fields keep their sign and leading digits in view: the
  // result, and the From field re-expressed in a new unit.
  test::PanelHost<TemperaturePanel> host;
  QVERIFY(host.show());
  auto* from = Control<QLineEdit>(host.panel, ids::kFromValue);
  auto* result = Control<QLineEdit>(host.panel, ids::kResult);
  Retype(from, "-1e30");
  QCOMPARE(result->text(), QString("-5.5555e+029"));
  QCOMPARE(test::FirstVisiblePosition(result), 0);
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), Kelvin);
  QVERIFY(from->text().startsWith(QLatin1String("-5.5555")));
  QCOMPARE(test::FirstVisiblePosition(from), 0);
}

}  // namespace tavimor

QTEST_MAIN(tavimor::TemperaturePanelTest)
#include "tst_temperature_panel.moc"
