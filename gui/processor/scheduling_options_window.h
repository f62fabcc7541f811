// The scheduling-options dialog: preemption, dynamic priority and the lowest real-time priority.
// The controls are an edit copy of the settings; "Confirmar" puts them into effect and saves them.
#pragma once

#include <functional>

#include <QDialog>

class QCheckBox;
class QLabel;
class QToolButton;

namespace kelpa {

class Simulation;
class TfrmGP;
class SelectionTrackBar;

class Tfrm_Opt : public QDialog {
  Q_OBJECT

 public:
  // saveSettings writes the settings file; false when it could not (it reported why).
  Tfrm_Opt(Simulation& sim, std::function<bool()> saveSettings, QWidget* parent = nullptr);

  void SetProcessorWindow(TfrmGP* window);
  // Colours the processor window's priority labels: red from the real-time threshold up.
  void PaintRealTimeLabels();

  void SpeedButton1Click();
  void SpeedButton2Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateComponents();
  void LoadFromSettings();
  void TrackBar1Change(int position);

  Simulation& sim_;
  std::function<bool()> saveSettings_;
  TfrmGP* processor_ = nullptr;

  QLabel* Label1 = nullptr;
  SelectionTrackBar* TrackBar1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QToolButton* SpeedButton2 = nullptr;
};

}  // namespace kelpa
