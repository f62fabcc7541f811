// SPDX-License-Identifier: MIT
// The page-file window against a real simulation: reserved, allocated and freed blocks as the
// memory manager moves them, read from the grid's pixels.
#include <QImage>
#include <QtTest>
#include <mutex>

#include "gui/common/qt_convert.h"
#include "gui/memory/cell_grid.h"
#include "gui/memory/page_file_window.h"
#include "support/test_simulation.h"

using kelpa::MakeColor;
using kelpa::TCellGrid;
using kelpa::TfrmPageFile;
using kelpa::test::TestSimulation;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);
constexpr kelpa::TColor kBlue = MakeColor(0, 0, 255);
constexpr kelpa::TColor kGreen = MakeColor(0, 160, 0);

QImage GridImage(TfrmPageFile& window) {
  return window.findChild<TCellGrid*>(QStringLiteral("stg1"))->grab().toImage();
}

bool IsRed(const QColor& c) {
  return c.red() > 150 && c.green() < 110 && c.blue() < 110;
}

int CountPixels(const QImage& image, const QRect& area, bool (*wanted)(const QColor&)) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      count += wanted(image.pixelColor(x, y)) ? 1 : 0;
    }
  }
  return count;
}

// The part of a block's cell where the "R" is written, clear of the number.
QRect MarkArea(int block) {
  const QRect cell = TCellGrid::ItemRect(block);
  return QRect(cell.left() + 10, cell.top() + 10, cell.width() - 10, cell.height() - 10);
}
// The part of a cell where the number is written.
QRect NumberArea(int block) {
  const QRect cell = TCellGrid::ItemRect(block);
  return QRect(cell.left(), cell.top(), 12, 9);
}
bool ShowsReserved(const QImage& image, int block) {
  return CountPixels(image, MarkArea(block), IsRed) > 0 &&
         CountPixels(image, NumberArea(block), IsRed) > 0;
}
bool ShowsAnyRed(const QImage& image, int block) {
  return CountPixels(image, TCellGrid::ItemRect(block), IsRed) > 0;
}
QColor Centre(const QImage& image, int block) {
  return image.pixelColor(TCellGrid::ItemRect(block).center());
}
QColor Background(const QImage& image, int block) {
  const QRect cell = TCellGrid::ItemRect(block);
  return image.pixelColor(cell.right() - 1, cell.bottom() - 1);
}

}  // namespace

class PageFileWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void layoutAndHiddenStart() {
    TestSimulation t;
    TfrmPageFile window(t.sim);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Pagefile"));
    QCOMPARE(window.pos(), QPoint(517, 381));
    QCOMPARE(window.findChild<TCellGrid*>(QStringLiteral("stg1"))->geometry(),
             QRect(-1, -1, 253, 253));
  }

  void threeCreationsReserveFifteenBlocks() {
    TestSimulation t;
    TfrmPageFile window(t.sim);
    for (int i = 0; i < 3; ++i) {
      QVERIFY(t.Create(kelpa::pkCPU, 0, 5, kBlue) != nullptr);
    }
    const QImage image = GridImage(window);
    for (int block = 0; block < 15; ++block) {
      QVERIFY2(ShowsReserved(image, block), qPrintable(QString::number(block)));
      QCOMPARE(Background(image, block), kWhite);
    }
    for (int block = 15; block < 100; ++block) {
      QVERIFY2(!ShowsAnyRed(image, block), qPrintable(QString::number(block)));
      QCOMPARE(Background(image, block), kWhite);
      QCOMPARE(Centre(image, block), kWhite);
    }
  }

  void swappedOutPagesShowTheOwnersDiscsUntilSwapIn() {
    TestSimulation t;
    TfrmPageFile window(t.sim);
    kelpa::TProcesso* p = t.Create(kelpa::pkCPU, 0, 3, kBlue);
    QVERIFY(p != nullptr);
    {
      std::lock_guard lock(t.sim.Lock);
      t.sim.Memoria.SwapOutVictim();
      QCOMPARE(p->State, kelpa::psReadyOut);
    }
    QImage image = GridImage(window);
    for (int block = 0; block < 3; ++block) {
      QCOMPARE(Centre(image, block), kelpa::ToQColor(kBlue));
      QCOMPARE(Background(image, block), kWhite);  // clean pages
      QVERIFY(!ShowsReserved(image, block));
    }
    QVERIFY(ShowsReserved(image, 3));
    QVERIFY(ShowsReserved(image, 4));

    t.Cycle();  // the dispatch swaps it back in
    {
      std::lock_guard lock(t.sim.Lock);
      QCOMPARE(t.sim.Cpu.RunningProcess, p);
    }
    image = GridImage(window);
    for (int block = 0; block < 5; ++block) {
      QVERIFY2(ShowsReserved(image, block), qPrintable(QString::number(block)));
      QVERIFY(Centre(image, block) != kelpa::ToQColor(kBlue));
    }
  }

  void modifiedPageWrittenOutIsGreyWithDisc() {
    TestSimulation t;
    TfrmPageFile window(t.sim);
    kelpa::TProcesso* p = t.Create(kelpa::pkCPU, 0, 1, kGreen);
    {
      std::lock_guard lock(t.sim.Lock);
      p->PageTable[0].Modified = true;
      t.sim.Memoria.MarkModified(p->PageTable[0].Frame);
      p->PC = 8;
      QVERIFY(t.sim.Memoria.ServePageFault(p));  // page 0's frame goes to the modified list
      t.sim.Memoria.FlushModifiedList();
      QCOMPARE(p->PageTable[0].Location, kelpa::plPageFile);
      QCOMPARE(p->PageTable[0].Frame, 0);
    }
    const QImage image = GridImage(window);
    QCOMPARE(Background(image, 0), kGrey);
    QCOMPARE(Centre(image, 0), kelpa::ToQColor(kGreen));
    QVERIFY(ShowsReserved(image, 1));
  }

  void endedProcessBlocksDrawWithoutReachingIt() {
    TestSimulation t;
    TfrmPageFile window(t.sim);
    kelpa::TProcesso* p = t.Create(kelpa::pkCPU, 0, 3, kBlue);
    // A higher priority keeps the other process out of the victim search.
    kelpa::TProcesso* other = t.Create(kelpa::pkCPU, 1, 1, kGreen);
    QVERIFY(other != nullptr);
    {
      std::lock_guard lock(t.sim.Lock);
      t.sim.Memoria.SwapOutVictim();
      QCOMPARE(p->State, kelpa::psReadyOut);
      t.sim.Kernel.RemoveFromReadyQueues(p);
      t.sim.Kernel.RemoveProcess(p);
    }
    // Painting after the end must not reach the freed process (the sanitizer would tell); no
    // block shows its colour any more.
    const QImage image = GridImage(window);
    for (int block = 0; block < 100; ++block) {
      QVERIFY2(Centre(image, block) != kelpa::ToQColor(kBlue), qPrintable(QString::number(block)));
    }
  }

  void redrawRepaintsAndCloseHides() {
    TestSimulation t;
    TfrmPageFile window(t.sim);
    int closed = 0;
    QObject::connect(&window, &TfrmPageFile::closed, [&closed] { ++closed; });
    window.show();
    window.RedrawGrid();
    QCoreApplication::processEvents();
    window.close();
    QVERIFY(!window.isVisible());
    QCOMPARE(closed, 1);
  }
};

QTEST_MAIN(PageFileWindowTest)
#include "page_file_window_test.moc"
