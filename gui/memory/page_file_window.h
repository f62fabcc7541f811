// SPDX-License-Identifier: MIT
// The page-file window: the 100 blocks of the page file as a 10 x 10 grid, free blocks white,
// reserved blocks with a red "R", allocated blocks with a disc in the colour of the page's owner.
#pragma once

#include <QWidget>

#include "gui/memory/cell_grid.h"

namespace kelpa {

class Simulation;

class TfrmPageFile : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmPageFile(Simulation& sim, QWidget* parent = nullptr);

  // Repaints the whole grid from the block table; called on the user-interface thread.
  void RedrawGrid();

 signals:
  // The user closed the window (it only hides): the menu clears its check.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // A copy of the block table, taken under the simulation lock.
  GridCells ReadBlocks();

  Simulation& sim_;
  TCellGrid* stg1;
};

}  // namespace kelpa
