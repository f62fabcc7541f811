// SPDX-License-Identifier: MIT
// The scheduling-options dialog: preemption, dynamic priority, the lowest real-time priority, the
// scheduling policy and the multi-level feedback queue's rules.
// The controls are an edit copy of the settings; "Confirmar" puts them into effect and saves them.
#pragma once

#include <QDialog>
#include <functional>

#include "simulation/run_options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QToolButton;

namespace kelpa {

class TLanguage;
class Simulation;
class SelectionTrackBar;

class Tfrm_Opt : public QDialog {
  Q_OBJECT

 public:
  // saveSettings writes the settings file; false when it could not (it reported why).
  Tfrm_Opt(Simulation& sim, std::function<bool()> saveSettings, TLanguage* language = nullptr,
           QWidget* parent = nullptr);

  void SpeedButton1Click();
  void SpeedButton2Click();
  // The controls show the options in force.
  void LoadFromSettings();
  // A control follows an option set in the simulation (its own "Confirmar", a scenario's change).
  void ShowOption(OptionId option, int value);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateComponents();
  void CreatePolicyControls();
  void TrackBar1Change(int position);
  // The feedback queue's rules can be edited only while it is the chosen policy.
  void ComboBox1Change(int index);

  Simulation& sim_;
  std::function<bool()> saveSettings_;

  QLabel* Label1 = nullptr;
  SelectionTrackBar* TrackBar1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* ComboBox1 = nullptr;  // the policy, in SchedulingPolicy's order
  // The feedback queue's levels, allotment and boost period, with their labels.
  QLabel* Label3 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QLabel* Label4 = nullptr;
  QSpinBox* SpinEdit2 = nullptr;
  QLabel* Label5 = nullptr;
  QSpinBox* SpinEdit3 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QToolButton* SpeedButton2 = nullptr;
};

}  // namespace kelpa
