// SPDX-License-Identifier: MIT
// The PCB window: one process's control block on page "PCB" and its page table on page "PPT",
// refreshed when shown and every second while visible; the arrows step through the process table.
#pragma once

#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolButton;

namespace kelpa {

class TLanguage;
class Simulation;
struct ProcessDetail;

class TPCB : public QWidget {
  Q_OBJECT
 public:
  TPCB(Simulation& sim, TLanguage* language = nullptr, QWidget* parent = nullptr);

  // Index in the kernel's process table of the process shown.
  int ProcessIndex = 0;

  // Caption, translation, then the process at ProcessIndex; hides the window when no process is
  // left.
  void Refresh();
  void Timer1Timer();
  void SpeedButton1Click();
  void SpeedButton2Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void BuildFirstPage(QWidget* page);
  void BuildPageTable(QWidget* page);
  void ShowSnapshot(const ProcessDetail& shot);
  void ShowPageTable(const ProcessDetail& shot);
  void FitPageTableColumns();

  Simulation& sim_;
  TLanguage* language_;
  QGroupBox* TGroupBox1 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QLabel* StaticText1 = nullptr;
  std::array<QLabel*, 9> valueBoxes_{};  // StaticText2..StaticText8 at their numbers
  QTableWidget* stg1 = nullptr;
  QTimer* Timer1 = nullptr;
  bool inShowEvent_ = false;
};

}  // namespace kelpa
