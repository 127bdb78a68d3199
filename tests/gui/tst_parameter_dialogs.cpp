#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "model/parameter_labels.h"
#include "panels/ambient_dialog.h"
#include "panels/density_dialog.h"
#include "panels/gas_dialog.h"
#include "panels/liquid_dialog.h"

using namespace tavimor;

namespace {

template <class T = QWidget>
T* Child(QWidget* dialog, int id) {
  return dialog->findChild<T*>(QString::number(id));
}

void Ok(QDialog& dialog) {
  Child<QPushButton>(&dialog, 1)->click();
}

QStringList Labels(QWidget* dialog) {
  QStringList texts;
  for (QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
  return texts;
}

}  // namespace

class TestParameterDialogs : public QObject {
  Q_OBJECT

 private slots:
  void gasDialog();
  void gasLabelStaysBoundedForExponentForm();
  void liquidDialog();
  void ambientDialogLimits_data();
  void ambientDialogLimits();
  void ambientDialogUnits();
  void densityDialog();
  void closeOnlyThroughAcceptedOk();
  void escapeDoesNothingInAModalLoop();
  void defaultFocusIsTheFirstTabStop();
};

void TestParameterDialogs::gasDialog() {
  GasDialog dialog({1, 29}, std::string());
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Common Gas Molecular Weights"));
  auto* list = Child<QComboBox>(&dialog, 1050);
  auto* field = Child<QLineEdit>(&dialog, 1051);
  QVERIFY(!list->isEditable());
  QCOMPARE(list->count(), 16);
  QCOMPARE(list->currentText(), QStringLiteral("Air MW=29"));
  QCOMPARE(list->itemText(15), QStringLiteral("other gas enter MW"));
  QVERIFY(!field->isEnabled());
  QCOMPARE(field->text(), QString());
  QVERIFY(Labels(&dialog).contains(QStringLiteral("Molecular Wt.")));
  QCOMPARE(dialog.labelSuffix(), std::string(" in Air MW=29"));

  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  list->setCurrentIndex(15);
  QVERIFY(field->isEnabled());
  QCOMPARE(field->text(), QStringLiteral("29."));
  // Typed text is digits only.
  field->setFocus();
  field->clear();
  QTest::keyClicks(field, QStringLiteral("1x8."));
  QCOMPARE(field->text(), QStringLiteral("18"));
  // Any notification of the list, its gaining the focus too, puts the working weight back.
  list->setFocus();
  QCOMPARE(field->text(), QStringLiteral("29."));
  field->setFocus();
  field->clear();
  QTest::keyClicks(field, QStringLiteral("18"));
  Ok(dialog);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.working().GasIndex, 15);
  QCOMPARE(dialog.working().MolWeight, 18.0f);
  QCOMPARE(dialog.labelSuffix(), std::string(" in some gas with MW= 18.0"));

  // An empty weight keeps the dialog open; a table gas then takes its own weight.
  GasDialog other({15, 18}, std::string());
  other.show();
  Child<QLineEdit>(&other, 1051)->clear();
  Ok(other);
  QVERIFY(other.isVisible());
  Child<QComboBox>(&other, 1050)->setCurrentIndex(3);
  QVERIFY(!Child<QLineEdit>(&other, 1051)->isEnabled());
  Ok(other);
  QVERIFY(!other.isVisible());
  QCOMPARE(other.working().MolWeight, 40.0f);
  QCOMPARE(other.labelSuffix(), std::string(" in Argon MW=40"));
}

void TestParameterDialogs::gasLabelStaysBoundedForExponentForm() {
  GasDialog dialog({15, 29}, std::string());
  dialog.show();
  Child<QLineEdit>(&dialog, 1051)->setText(QStringLiteral("1e38"));  // pasted
  Ok(dialog);
  QVERIFY(!dialog.isVisible());
  QVERIFY(dialog.labelSuffix().size() <= kLabelSuffixMaxBytes);
  QCOMPARE(dialog.labelSuffix(), std::string(" in some gas with MW=1.e+038"));
  // A weight beyond the float range is refused rather than held as infinity.
  GasDialog huge({15, 29}, std::string());
  huge.show();
  Child<QLineEdit>(&huge, 1051)->setText(QStringLiteral("1e39"));
  Ok(huge);
  QVERIFY(huge.isVisible());
}

void TestParameterDialogs::liquidDialog() {
  LiquidDialog dialog({LiquidChoice::CustomLiquid, 3.5f}, std::string());
  QCOMPARE(dialog.windowTitle(),
           QStringLiteral(
               "Henry's Constant (K) used for computation of ppmW of water vapor in a liquid"));
  const struct {
    int id;
    const char* text;
  } buttons[] = {{1031, "Transformer Oil (K=1.7)"}, {1028, "Hexane (K=1.9)"},
                 {1029, "Hexene (K=6.2)"},          {1018, "Hexane 50% + Benzene 50% (K=8.6)"},
                 {1030, "Benzene (K=15.5)"},        {1019, "Custom K, ppm/mBar"}};
  for (const auto& b : buttons) {
    QCOMPARE(Child<QRadioButton>(&dialog, b.id)->text(), QString::fromUtf8(b.text));
  }
  QVERIFY(Labels(&dialog).contains(
      QStringLiteral("Note: K is temperature independent for strait chain hydrocarbons only")));
  QVERIFY(Child<QRadioButton>(&dialog, 1019)->isChecked());
  auto* field = Child<QLineEdit>(&dialog, 1027);
  QCOMPARE(field->text(), QStringLiteral("3.5"));
  Child<QRadioButton>(&dialog, 1030)->click();
  QCOMPARE(dialog.working().HenryK, 15.5f);
  QCOMPARE(dialog.labelSuffix(), std::string(" in Benzene K=15.5"));
  Child<QRadioButton>(&dialog, 1019)->click();
  QCOMPARE(field->text(), QStringLiteral("15.5"));
  dialog.show();
  field->setText(QStringLiteral("0"));
  Ok(dialog);
  QVERIFY(dialog.isVisible());
  field->setText(QStringLiteral("2.25"));
  Ok(dialog);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.working().Liquid, LiquidChoice::CustomLiquid);
  QCOMPARE(dialog.working().HenryK, 2.25f);
  QCOMPARE(dialog.labelSuffix(), std::string(" in Unknown Liquid K=  2.2"));

  // The field is ignored while another liquid is marked.
  LiquidDialog hexane({LiquidChoice::Hexane, 1.9f}, std::string());
  hexane.show();
  Child<QLineEdit>(&hexane, 1027)->setText(QStringLiteral("7"));
  Ok(hexane);
  QVERIFY(!hexane.isVisible());
  QCOMPARE(hexane.working().HenryK, 1.9f);
  QCOMPARE(hexane.labelSuffix(), std::string(" in Hexane K=1.9"));
}

void TestParameterDialogs::ambientDialogLimits_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("unit");
  QTest::addColumn<bool>("accepted");
  QTest::newRow("199.9 C") << "199.9" << 1033 << true;
  QTest::newRow("200 C") << "200" << 1033 << false;
  QTest::newRow("-79.9 C") << "-79.9" << 1033 << true;
  QTest::newRow("-80 C") << "-80" << 1033 << false;
  QTest::newRow("392 F") << "392" << 1034 << false;
  QTest::newRow("-112 F") << "-112" << 1034 << false;
  QTest::newRow("text as 0 C") << "abc" << 1033 << true;
}

void TestParameterDialogs::ambientDialogLimits() {
  QFETCH(QString, typed);
  QFETCH(int, unit);
  QFETCH(bool, accepted);
  AmbientDialog dialog({AmbientTempUnit::AmbientCelsius, 20}, std::string());
  dialog.show();
  Child<QRadioButton>(&dialog, unit)->click();
  Child<QLineEdit>(&dialog, 1032)->setText(typed);
  Ok(dialog);
  QCOMPARE(!dialog.isVisible(), accepted);
}

void TestParameterDialogs::ambientDialogUnits() {
  AmbientDialog dialog({AmbientTempUnit::AmbientFahrenheit, 20}, std::string());
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Ambient Temperature for RH calculation"));
  QVERIFY(Labels(&dialog).contains(
      QStringLiteral("Ambient Temperature (dry bulb)\nfor Relative Humidity (RH) calculation")));
  QVERIFY(Child<QRadioButton>(&dialog, 1034)->isChecked());
  QCOMPARE(Child<QLineEdit>(&dialog, 1032)->text(), QStringLiteral("68."));
  dialog.show();
  Ok(dialog);
  QCOMPARE(dialog.working().AmbientTempC, 20.0f);
  QCOMPARE(dialog.labelSuffix(), std::string(" at dry bulb temperature of 68.0°F"));

  AmbientDialog celsius({AmbientTempUnit::AmbientCelsius, 20}, std::string());
  celsius.show();
  Child<QLineEdit>(&celsius, 1032)->setText(QStringLiteral("25"));
  Ok(celsius);
  QCOMPARE(celsius.labelSuffix(), std::string(" at dry bulb temperature of  25.0°C"));

  // The number is read in the unit marked at OK.
  AmbientDialog switched({AmbientTempUnit::AmbientCelsius, 0}, std::string());
  switched.show();
  Child<QLineEdit>(&switched, 1032)->setText(QStringLiteral("68"));
  Child<QRadioButton>(&switched, 1034)->click();
  Ok(switched);
  QCOMPARE(switched.working().AmbientTempC, 20.0f);
  QCOMPARE(switched.working().AmbientTempUnit, AmbientTempUnit::AmbientFahrenheit);
}

void TestParameterDialogs::densityDialog() {
  DensityDialog dialog({DensityMedium::AirMixture, VaporTempUnit::VaporFahrenheit, 20},
                       std::string());
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Water Vapor Density Calculation"));
  QCOMPARE(Child<QRadioButton>(&dialog, 1038)->text(),
           QStringLiteral("Natural Gas at STP\nChoose method in preference menu "));
  QCOMPARE(Child<QRadioButton>(&dialog, 1036)->text(),
           QStringLiteral("pure Water Vapor (no other gas)\nonly above 10°C frost point"));
  QVERIFY(Labels(&dialog).contains(QStringLiteral("vapor temperature")));
  auto* field = Child<QLineEdit>(&dialog, 1035);
  QCOMPARE(field->text(), QStringLiteral("68."));
  Child<QRadioButton>(&dialog, 1038)->click();
  QCOMPARE(field->text(), QStringLiteral("60"));
  QVERIFY(!field->isEnabled());
  QVERIFY(!Child<QRadioButton>(&dialog, 1039)->isEnabled());
  QVERIFY(!Child<QRadioButton>(&dialog, 1040)->isEnabled());
  Child<QRadioButton>(&dialog, 1037)->click();
  QVERIFY(field->isEnabled());
  QVERIFY(Child<QRadioButton>(&dialog, 1040)->isEnabled());
  QCOMPARE(field->text(), QStringLiteral("60"));
  Child<QRadioButton>(&dialog, 1039)->click();
  dialog.show();
  field->setText(QStringLiteral("250"));
  Ok(dialog);
  QVERIFY(dialog.isVisible());
  field->setText(QStringLiteral("25"));
  Ok(dialog);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.working().VaporTempC, 25.0f);
  QCOMPARE(dialog.labelSuffix(), std::string(" of Air/H2O-vapor mixture @  25.0°C"));

  DensityDialog gasC({DensityMedium::NaturalGas, VaporTempUnit::VaporCelsius, 20}, std::string());
  gasC.show();
  Ok(gasC);
  QCOMPARE(gasC.working().VaporTempC, 15.6f);
  QCOMPARE(gasC.labelSuffix(), std::string(" Natural Gas/H2O-vapor mix. @  15.6°C"));
  DensityDialog gasF({DensityMedium::NaturalGas, VaporTempUnit::VaporFahrenheit, 20},
                     std::string());
  gasF.show();
  Ok(gasF);
  QCOMPARE(gasF.working().VaporTempC, CelsiusFromFahrenheit(60));
  QCOMPARE(gasF.labelSuffix(), std::string(" Natural Gas/H2O-vapor mix. @  60.0°F"));
}

void TestParameterDialogs::closeOnlyThroughAcceptedOk() {
  GasDialog gas({1, 29}, std::string());
  LiquidDialog liquid({LiquidChoice::Hexane, 1.9f}, std::string());
  AmbientDialog ambient({AmbientTempUnit::AmbientCelsius, 20}, std::string());
  DensityDialog density({DensityMedium::NaturalGas, VaporTempUnit::VaporCelsius, 20},
                        std::string());
  for (QDialog* dialog : std::initializer_list<QDialog*>{&gas, &liquid, &ambient, &density}) {
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(dialog->isVisible());
    dialog->close();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("2")));
    Ok(*dialog);
    QVERIFY(!dialog->isVisible());
  }
}

void TestParameterDialogs::escapeDoesNothingInAModalLoop() {
  AmbientDialog dialog({AmbientTempUnit::AmbientCelsius, 20}, std::string());
  bool escapeIgnored = false;
  QDeadlineTimer deadline(5000);
  QTimer timer;
  int step = 0;
  connect(&timer, &QTimer::timeout, this, [&] {
    if (deadline.hasExpired()) {
      dialog.done(0);  // never hang: the checks below then fail
      return;
    }
    if (QApplication::activeModalWidget() != &dialog) return;
    if (step++ == 0) {
      QTest::keyClick(&dialog, Qt::Key_Escape);
      return;
    }
    escapeIgnored = dialog.isVisible();
    Ok(dialog);
  });
  timer.start(20);
  dialog.exec();
  timer.stop();
  QVERIFY(escapeIgnored);
  QVERIFY(!deadline.hasExpired());
}

void TestParameterDialogs::defaultFocusIsTheFirstTabStop() {
  // Each dialog's initialisation leaves the focus to the platform: the first tab stop of the
  // template, an edit field with its whole text selected.
  GasDialog gas({1, 29}, std::string());
  LiquidDialog liquid({LiquidChoice::Benzene, 15.5f}, std::string());
  AmbientDialog ambient({AmbientTempUnit::AmbientCelsius, 20}, std::string());
  DensityDialog density({DensityMedium::AirMixture, VaporTempUnit::VaporCelsius, 20},
                        std::string());
  const struct {
    QDialog* dialog;
    int focus;
    const char* selected;
  } cases[] = {
      {&gas, 1050, ""}, {&liquid, 1031, ""}, {&density, 1038, ""}, {&ambient, 1032, "20."}};
  for (const auto& c : cases) {
    c.dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(c.dialog));
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    QCOMPARE(focused->objectName(), QString::number(c.focus));
    if (auto* field = qobject_cast<QLineEdit*>(focused)) {
      QCOMPARE(field->selectedText(), QString::fromUtf8(c.selected));
    }
  }
  QVERIFY(!Child<QRadioButton>(&liquid, 1031)->isChecked());  // focused, not chosen

  // In the dialog opened last, typing replaces the number: 25 and Enter give 25 °C, not 20.25.
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("25"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QVERIFY(!ambient.isVisible());
  QCOMPARE(ambient.working().AmbientTempC, 25.0f);
  QCOMPARE(ambient.labelSuffix(), std::string(" at dry bulb temperature of  25.0°C"));
}

QTEST_MAIN(TestParameterDialogs)
#include "tst_parameter_dialogs.moc"
