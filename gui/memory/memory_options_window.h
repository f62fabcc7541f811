// SPDX-License-Identifier: MIT
// The virtual-memory options window: fetch policy, frame limit, the least share of free frames
// and the page replacement policy.
// The settings live only in the memory manager; this window mirrors them in its controls.
#pragma once

#include <QDialog>

#include "simulation/run_options.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace kelpa {

class TLanguage;
class Simulation;

class Tfrm_Opt_MV : public QDialog {
  Q_OBJECT

 public:
  Tfrm_Opt_MV(Simulation& sim, TLanguage* language = nullptr, QWidget* parent = nullptr);

  // "Confirmar": writes the four settings and closes.
  void SpeedButton1Click();
  // "Cancelar": sets the controls back to the settings in force and closes.
  void SpeedButton2Click();
  // The controls show the settings in force.
  void ShowValuesInForce();
  // A control follows an option set in the simulation (its own "Confirmar", a scenario's change).
  void ShowOption(OptionId option, int value);

 private:
  void BuildControls();
  void FormCreate();
  // Anticipated fetch only when the combo box shows its first item.
  bool AnticipatedChosen() const;
  // The spin edit's text as a whole number in 0..100; text that is not a number counts as 0.
  int MinFreeChosen() const;

  Simulation& sim_;
  TLanguage* language_;
  QComboBox* ComboBox1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QComboBox* ComboBox2 = nullptr;  // the replacement policy, by its name in scenario files
};

}  // namespace kelpa
