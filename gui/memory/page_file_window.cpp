// SPDX-License-Identifier: MIT
#include "gui/memory/page_file_window.h"

#include <QCloseEvent>

#include "gui/common/qt_convert.h"
#include "gui/memory/window_frame.h"
#include "simulation/snapshots.h"

namespace kelpa {
namespace {

const QColor kGrey(128, 128, 128);

GridCell BlockCell(const BlockView& block) {
  GridCell cell;
  switch (block.State) {
    case bsFree:
      break;
    case bsReserved:
      cell.ReservedMark = true;
      cell.NumberColour = Qt::red;
      break;
    case bsAllocated:
      cell.Background = block.Modified ? kGrey : QColor(Qt::white);
      // The memory manager clears the owner when the process ends: such a block shows no disc.
      if (block.OwnerColor) {
        cell.Disc = ToQColor(*block.OwnerColor);
      }
      break;
    default:
      cell.Painted = false;
      break;
  }
  return cell;
}

}  // namespace

TfrmPageFile::TfrmPageFile(Simulation& sim, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      sim_(sim) {
  setObjectName(QStringLiteral("frmPageFile"));
  setWindowTitle(QStringLiteral("Pagefile"));
  setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 8));
  setFixedSize(ClientForOuter(261, 282));
  move(517, 381);

  stg1 = new TCellGrid([this] { return ReadBlocks(); }, this);
  stg1->setGeometry(-1, -1, 253, 253);
}

void TfrmPageFile::RedrawGrid() {
  stg1->update();
}

GridCells TfrmPageFile::ReadBlocks() {
  static_assert(kGridCells == kBlockCount, "one cell per block");
  const BlockViews blocks = SnapshotBlocks(sim_);
  GridCells cells;
  for (std::size_t n = 0; n < cells.size(); ++n) {
    cells[n] = BlockCell(blocks[n]);
  }
  return cells;
}

void TfrmPageFile::closeEvent(QCloseEvent* event) {
  event->accept();
  hide();
  emit closed();
}

}  // namespace kelpa
