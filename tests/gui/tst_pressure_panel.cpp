#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "panel_test_support.h"
#include "panels/pressure_panel.h"
#include "panels/pressure_panel_ids.h"

namespace tavimor {

using test::Control;
using test::Pick;
using test::Retype;
namespace ids = pressure_ids;

enum Unit { Mbar = 0, Psia = 1, Psig = 2, Atm = 3, Kpa = 4 };

class PressurePanelTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithEmptyFieldsAndPsiaToMillibar();
  void focusOnTheEmptyFieldComputesZeroPsia();
  void convertsWhatIsTyped_data();
  void convertsWhatIsTyped();
  void fromUnitChangeReexpressesTheValue();
  void reselectingTheCurrentUnitChangesNothing();
  void toUnitChangeRecomputesAtOnce();
};

void PressurePanelTest::startsWithEmptyFieldsAndPsiaToMillibar() {
  PressurePanel panel;
  struct Expected {
    int id;
    const char* className;
  };
  const Expected controls[] = {
      {ids::kDecoration, "QLabel"}, {ids::kFromValue, "QLineEdit"}, {ids::kFromUnit, "QComboBox"},
      {ids::kResult, "QLineEdit"},  {ids::kToUnit, "QComboBox"},
  };
  for (const Expected& c : controls) {
    QWidget* w = Control<QWidget>(&panel, c.id);
    QVERIFY2(w, qPrintable(QString::number(c.id)));
    QCOMPARE(w->metaObject()->className(), c.className);
    QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(QString::number(c.id)));
  }
  QCOMPARE(Control<QLineEdit>(&panel, ids::kFromValue)->text(), QString());
  QCOMPARE(Control<QLineEdit>(&panel, ids::kResult)->text(), QString());
  QVERIFY(Control<QLineEdit>(&panel, ids::kResult)->isReadOnly());
  for (int id : {ids::kFromUnit, ids::kToUnit}) {
    auto* list = Control<QComboBox>(&panel, id);
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    QCOMPARE(items, QStringList({"mBAR", "PSIA", "PSIG", "ATM", "kPa"}));
  }
  QCOMPARE(Control<QComboBox>(&panel, ids::kFromUnit)->currentIndex(), int(Psia));
  QCOMPARE(Control<QComboBox>(&panel, ids::kToUnit)->currentIndex(), int(Mbar));
}

void PressurePanelTest::focusOnTheEmptyFieldComputesZeroPsia() {
  test::PanelHost<PressurePanel> host;
  QVERIFY(host.show());
  QCOMPARE(Control<QLineEdit>(host.panel, ids::kResult)->text(), QString());
  QTest::mouseClick(Control<QLineEdit>(host.panel, ids::kFromValue), Qt::LeftButton);
  QCOMPARE(Control<QLineEdit>(host.panel, ids::kResult)->text(), QString("0."));
}

void PressurePanelTest::convertsWhatIsTyped_data() {
  QTest::addColumn<int>("fromUnit");
  QTest::addColumn<int>("toUnit");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("result");
  QTest::newRow("14.7 PSIA to mBAR") << int(Psia) << int(Mbar) << "14.7"
                                     << "1013.53";
  QTest::newRow("0 PSIG to mBAR") << int(Psig) << int(Mbar) << "0"
                                  << "1013.25";
  QTest::newRow("0 mBAR to PSIG") << int(Mbar) << int(Psig) << "0"
                                  << "-14.696";
  QTest::newRow("1 ATM to PSIA") << int(Atm) << int(Psia) << "1"
                                 << "14.696";
  QTest::newRow("1 ATM to PSIG") << int(Atm) << int(Psig) << "1"
                                 << "0.";
  QTest::newRow("100 kPa to ATM") << int(Kpa) << int(Atm) << "100"
                                  << "0.987";
  QTest::newRow("1 mBAR to ATM") << int(Mbar) << int(Atm) << "1"
                                 << "1.e-003";
  QTest::newRow("trailing text ignored") << int(Kpa) << int(Mbar) << "101.325 kPa"
                                         << "1013.25";
}

void PressurePanelTest::convertsWhatIsTyped() {
  QFETCH(int, fromUnit);
  QFETCH(int, toUnit);
  QFETCH(QString, typed);
  QFETCH(QString, result);
  test::PanelHost<PressurePanel> host;
  QVERIFY(host.show());
  auto* from = Control<QLineEdit>(host.panel, ids::kFromValue);
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), fromUnit);
  Pick(Control<QComboBox>(host.panel, ids::kToUnit), toUnit);
  Retype(from, typed);
  QCOMPARE(from->text(), typed);
  QCOMPARE(Control<QLineEdit>(host.panel, ids::kResult)->text(), result);
}

void PressurePanelTest::fromUnitChangeReexpressesTheValue() {
  test::PanelHost<PressurePanel> host;
  QVERIFY(host.show());
  auto* from = Control<QLineEdit>(host.panel, ids::kFromValue);
  auto* result = Control<QLineEdit>(host.panel, ids::kResult);
  Retype(from, "14.7");
  QCOMPARE(result->text(), QString("1013.53"));
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), Mbar);
  QCOMPARE(from->text(), QString("1013.53"));
  QCOMPARE(result->text(), QString("1013.53"));
}

void PressurePanelTest::reselectingTheCurrentUnitChangesNothing() {
  test::PanelHost<PressurePanel> host;
  QVERIFY(host.show());
  auto* from = Control<QLineEdit>(host.panel, ids::kFromValue);
  Retype(from, "14.70");
  Pick(Control<QComboBox>(host.panel, ids::kFromUnit), Psia);
  QCOMPARE(from->text(), QString("14.70"));
  Pick(Control<QComboBox>(host.panel, ids::kToUnit), Mbar);
  QCOMPARE(Control<QLineEdit>(host.panel, ids::kResult)->text(), QString("1013.53"));
}

void PressurePanelTest::toUnitChangeRecomputesAtOnce() {
  test::PanelHost<PressurePanel> host;
  QVERIFY(host.show());
  auto* result = Control<QLineEdit>(host.panel, ids::kResult);
  Retype(Control<QLineEdit>(host.panel, ids::kFromValue), "14.7");
  Pick(Control<QComboBox>(host.panel, ids::kToUnit), Kpa);
  QCOMPARE(result->text(), QString("101.353"));
  Pick(Control<QComboBox>(host.panel, ids::kToUnit), Psig);
  QCOMPARE(result->text(), QString("4.e-003"));
}

}  // namespace tavimor

QTEST_MAIN(tavimor::PressurePanelTest)
#include "tst_pressure_panel.moc"
