// SPDX-License-Identifier: MIT
// The PCB window: one process's control block on page "PCB" and its page table on page "PPT",
// refreshed when shown and every second while visible; the arrows step through the process table.
// Under a replacement policy other than FIFO the page table gains the reference bits (and, under
// LRU, each resident page's place in the order of use) and the window widens to hold them; a
// process with a program of its own gets a page with the program and where its PC stands.
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
  // The grid's columns for the policy in force, the window widened by the columns added.
  void SetPageTableColumns(int columns);
  void ShowProgram(const ProcessDetail& shot);

  Simulation& sim_;
  TLanguage* language_;
  QGroupBox* TGroupBox1 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QLabel* StaticText1 = nullptr;
  std::array<QLabel*, 9> valueBoxes_{};  // StaticText2..StaticText8 at their numbers
  QTableWidget* stg1 = nullptr;
  QWidget* programPage_ = nullptr;  // on the page control only for a program of one's own
  QLabel* programText_ = nullptr;
  QTimer* Timer1 = nullptr;
  bool inShowEvent_ = false;
};

}  // namespace kelpa
