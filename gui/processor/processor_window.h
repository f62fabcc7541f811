// SPDX-License-Identifier: MIT
// The processor-management window: the ready queues with their discs (sixteen under the priority
// kernel), the processor, the I/O device with its wait counter, the suspended row, and the three
// speed controls.
#pragma once

#include <QMainWindow>
#include <vector>

#include "gui/processor/disc_board.h"
#include "simulation/display.h"
#include "simulation/kernel.h"
#include "simulation/run_options.h"

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QSlider;
class QTimer;

namespace kelpa {

class DiscRegistry;
class TLanguage;
class Simulation;
class Tfrm_Opt;
class ReadyQueuePicture;
class TShpProcesso;

class TfrmGP : public QMainWindow, public DiscBoard {
  Q_OBJECT

 public:
  TfrmGP(Simulation& sim, TLanguage* language = nullptr, QWidget* parent = nullptr);

  void SetOptionsWindow(Tfrm_Opt* options);
  // The window shows the display's discs and wait counter.
  void FollowDisplay(QtDisplay& display) override;
  // The disc of a process's shape, or null when it does not exist (yet or any more).
  TShpProcesso* Disc(ShapeId shape) const;

  // The label that shows priority 0..15 (Label1..Label16); null outside that range. Under a
  // policy with fewer queues, the lowest labels name its queues and the others are hidden.
  QLabel* PriorityLabel(int priority) const;
  // How many ready queues the window draws: 16 priorities, the feedback queue's levels, or 1.
  int QueueRows() const;
  // Colours the priority labels: red from the lowest real-time priority up (under the priority
  // kernel only: no other policy knows real time).
  void PaintRealTimeLabels(int threshold);
  QProgressBar* WaitProgress() const { return ProgressBar1; }
  // The client area: the discs are its children and placed in its coordinates.
  QWidget* ClientArea() const { return centralWidget(); }

  // Follows an option set in the simulation: a speed control moves to its position (without
  // setting it again), the real-time labels take their colours, or the ready queues become the
  // policy's.
  void ShowOption(OptionId option, int value);

  // Places every ready disc in its queue's row (the timer calls it every 500 ms).
  void Timer1Timer();

  static constexpr int kClientWidth = 417;
  static constexpr int kClientHeight = 317;

 signals:
  // The user closed the window (it only hides): the console clears its check.
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateComponents();
  void CreateSpeedControls();
  QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                   bool bold = false);
  QSlider* AddTrackBar(const char* name, int left, int top, int width, int position);
  void ForcePriorityNumbers();
  // Draws and labels the queues of the policy in force: the described ladder under the priority
  // kernel, the lowest rows otherwise (the discs of queue q stand in the row of priority q).
  void ShowQueues();
  // The three controls' values with their units, under them, and the wait bar's length.
  void ShowSpeedValues();
  void TrackBar1Change(int position);
  void tcbQuantumChange(int position);
  void tbClockChange(int position);
  void Opcoes1Click();

  Simulation& sim_;
  // The real-time threshold the priority numbers are coloured for (none until first shown).
  int threshold_ = kPriorityLevels;
  // The policy and the feedback queue's levels the queues are drawn for.
  int scheduler_ = 0;
  int levels_ = 3;
  Tfrm_Opt* options_ = nullptr;
  DiscRegistry* discs_ = nullptr;

  ReadyQueuePicture* S_ESCALONA = nullptr;
  QFrame* S_CPU = nullptr;
  QFrame* S_IO = nullptr;
  QLabel* Labels_[16] = {};
  QString priorityHints_[16];  // the language file's, given back under the priority kernel
  QLabel* Label19 = nullptr;   // "Pronto", above the highest row drawn
  QProgressBar* ProgressBar1 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QSlider* TrackBar1 = nullptr;
  QSlider* tcbQuantum = nullptr;
  QSlider* tbClock = nullptr;
  std::vector<QLabel*> values_;  // wait, slice, clock
  QAction* Opcoes1 = nullptr;
  QTimer* Timer1 = nullptr;
};

}  // namespace kelpa
