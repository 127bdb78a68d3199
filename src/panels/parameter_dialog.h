#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <utility>

#include "core/calc_settings.h"

class QLineEdit;
class QPushButton;

namespace tavimor {

// Base of the four parameter dialogs: fixed size from its template, the dialog font, and
// no way out but an accepted OK (Escape and the close box do nothing).
class ParameterDialog : public QDialog {
  Q_OBJECT

 public:
  // labelSuffix: the suffix its kind of dialog last left, kept until the dialog sets one.
  ParameterDialog(int templateId, const QString& title, int widthDu, int heightDu,
                  std::string labelSuffix, QWidget* parent);

  // The choice text the panel appends to the unit's list entry; UTF-8.
  const std::string& labelSuffix() const { return m_labelSuffix; }

  // Copies the dialog's working values into a side; the side's other values stay.
  virtual void applyTo(SideParams& side) const = 0;

  // Escape and the close box end in reject(): the dialog stays open.
  void reject() override {}

 protected:
  // The default OK button (identifier 1) at its template rectangle.
  QPushButton* addOkButton(int x, int y);
  // The number of an edit field, read as every field is read, held in single precision.
  static float fieldNumber(const QLineEdit* field);
  // Writes a number into an edit field with 7 significant digits.
  static void setFieldNumber(QLineEdit* field, float value);
  void setLabelSuffix(std::string suffix) { m_labelSuffix = std::move(suffix); }

 private:
  std::string m_labelSuffix;
};

}  // namespace tavimor
