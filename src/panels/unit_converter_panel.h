#pragma once

#include <QObject>
#include <QSize>
#include <QStringList>

#include "ui/panel.h"

class QComboBox;
class QLineEdit;

namespace tavimor {

// What distinguishes one small converter category from another: its identifiers, units
// and size. The layout of the From and To groups is the same in both templates.
struct UnitConverterTemplate {
  int FromValueId;
  int FromUnitId;
  int ResultId;
  int ToUnitId;
  QStringList UnitNames;
  int FromUnit;        // selected at creation
  int ToUnit;          // selected at creation
  QSize TemplateSize;  // dialog units
};

// A value in a From unit shown in a To unit, recomputed at every notification of the From
// field and at every change of either unit; a From unit change re-expresses the field's
// number in the new unit.
class UnitConverterPanel : public Panel {
  Q_OBJECT

 public:
  QSize sizeHint() const override;

 protected:
  UnitConverterPanel(const UnitConverterTemplate& layout, QWidget* parent);

  // Connects the notifications; called by the category's constructor once its own
  // controls exist, so creation computes nothing.
  void connectNotifications();

  // The result text for the value in fromUnit, shown in toUnit.
  virtual QString resultText(double value, int fromUnit, int toUnit) = 0;
  // The From field's value in a newly chosen From unit.
  virtual double reexpress(double value, int fromUnit, int toUnit) const = 0;

 private:
  void computeResult(int toUnit);
  void onToUnitSelected(int index);
  void onFromUnitSelected(int index);
  double readFromValue() const;
  bool isUnit(int index) const;

  const UnitConverterTemplate m_layout;
  // The units as last acted on, reset at every creation.
  int m_fromUnit;
  int m_toUnit;

  QLineEdit* m_fromValue = nullptr;
  QComboBox* m_fromUnitList = nullptr;
  QLineEdit* m_result = nullptr;
  QComboBox* m_toUnitList = nullptr;
  // Owns the edit field's notifications, so they end before the controls are destroyed.
  QObject m_notifications;
};

}  // namespace tavimor
