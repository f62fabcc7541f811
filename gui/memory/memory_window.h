// SPDX-License-Identifier: MIT
// The memory window: the 100 frames of real memory as a 10 x 10 grid, with the sizes of the
// free-page and modified-page lists below it. Its menu opens the virtual-memory options and the
// page-file window.
#pragma once

#include <QMainWindow>

#include "gui/memory/cell_grid.h"

class QAction;
class QLabel;
class QProgressBar;
class QTimer;

namespace kelpa {

class TLanguage;
class Simulation;
class TfrmPageFile;
class Tfrm_Opt_MV;

class TfrmMemoVirt : public QMainWindow {
  Q_OBJECT

 public:
  TfrmMemoVirt(Simulation& sim, TLanguage* language = nullptr, QWidget* parent = nullptr);

  void SetPageFileWindow(TfrmPageFile* window);
  void SetOptionsWindow(Tfrm_Opt_MV* window);

  // The timer's work: repaint the grid and show the two list sizes.
  void Timer1Timer();
  // "Opções": shows the options window without waiting for it.
  void Opes1Click();
  // "Pagefile": shows or hides the page-file window.
  void Pagefile1Click();

 signals:
  // The user closed the window (it only hides): the console clears its check.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  void BuildClientArea();
  // A copy of the frame table, taken under the simulation lock.
  GridCells ReadFrames();
  TfrmPageFile* PageFileWindow();

  Simulation& sim_;
  TLanguage* language_;
  TCellGrid* stg1 = nullptr;
  QProgressBar* FPLsize = nullptr;
  QProgressBar* MPLsize = nullptr;
  QLabel* StaticText1 = nullptr;
  QLabel* StaticText2 = nullptr;
  QTimer* Timer1 = nullptr;
  QAction* Pagefile1 = nullptr;
  TfrmPageFile* pageFile_ = nullptr;
  Tfrm_Opt_MV* options_ = nullptr;
};

}  // namespace kelpa
