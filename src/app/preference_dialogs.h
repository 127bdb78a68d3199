#pragma once

#include <QDialog>
#include <functional>

#include "core/calc_settings.h"

class QButtonGroup;

namespace tavimor {

// Dialog 139: the saturation-vapour-pressure formula and the enhancement factor. The
// buttons hold working choices; only OK copies them into the settings and then calls
// settingsChanged (the main window asks the current panel to refresh).
class SwvpFormulaDialog : public QDialog {
  Q_OBJECT

 public:
  SwvpFormulaDialog(CalcSettings& settings, std::function<void()> settingsChanged, QWidget* parent);

  void accept() override;

 private:
  CalcSettings& m_settings;
  std::function<void()> m_settingsChanged;
  QButtonGroup* m_formula;
  QButtonGroup* m_factor;
};

// Dialog 140: the method for water vapour in natural gas.
class GasMethodDialog : public QDialog {
  Q_OBJECT

 public:
  GasMethodDialog(CalcSettings& settings, std::function<void()> settingsChanged, QWidget* parent);

  void accept() override;

 private:
  CalcSettings& m_settings;
  std::function<void()> m_settingsChanged;
  QButtonGroup* m_method;
};

}  // namespace tavimor
