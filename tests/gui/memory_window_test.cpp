// SPDX-License-Identifier: MIT
// The memory window against a real simulation: cells read from the frame table, the list sizes
// after a tick, the menu's page-file toggle and hiding on close.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QtTest>
#include <mutex>

#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/memory/cell_grid.h"
#include "gui/memory/memory_window.h"
#include "gui/memory/page_file_window.h"
#include "support/test_simulation.h"

using kelpa::MakeColor;
using kelpa::TCellGrid;
using kelpa::TfrmMemoVirt;
using kelpa::TfrmPageFile;
using kelpa::test::TestSimulation;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);
constexpr kelpa::TColor kBlue = MakeColor(0, 0, 255);
constexpr kelpa::TColor kGreen = MakeColor(0, 160, 0);
constexpr kelpa::TColor kRed = MakeColor(220, 0, 0);

QImage GridImage(TfrmMemoVirt& window) {
  auto* grid = window.findChild<TCellGrid*>(QStringLiteral("stg1"));
  return grid->grab().toImage();
}

// The centre of a cell, inside the disc when one is drawn.
QColor Centre(const QImage& image, int column, int row) {
  return image.pixelColor(TCellGrid::CellRect(column, row).center());
}
// A corner clear of the number and the disc: the cell's background.
QColor Background(const QImage& image, int column, int row) {
  const QRect cell = TCellGrid::CellRect(column, row);
  return image.pixelColor(cell.right() - 1, cell.bottom() - 1);
}
QColor CentreOfFrame(const QImage& image, int frame) {
  return Centre(image, frame / 10, frame % 10);
}
QColor BackgroundOfFrame(const QImage& image, int frame) {
  return Background(image, frame / 10, frame % 10);
}
// Whether the top-left corner of a cell holds dark text pixels (its number).
bool HasDarkText(const QImage& image, int column, int row) {
  const QRect cell = TCellGrid::CellRect(column, row);
  for (int y = cell.top(); y < cell.top() + 9; ++y) {
    for (int x = cell.left(); x < cell.left() + 12; ++x) {
      if (image.pixelColor(x, y).value() < 100) {
        return true;
      }
    }
  }
  return false;
}

QString Text(TfrmMemoVirt& window, const char* name) {
  return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
}
int BarValue(TfrmMemoVirt& window, const char* name) {
  return window.findChild<QProgressBar*>(QString::fromLatin1(name))->value();
}

}  // namespace

class MemoryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithEmptyMemoryAndPlaceholderTexts() {
    TestSimulation t;
    TfrmMemoVirt window(t.sim);
    QCOMPARE(Text(window, "StaticText1"), QStringLiteral("fp"));
    QCOMPARE(Text(window, "StaticText2"), QStringLiteral("mp"));
    window.show();

    QCOMPARE(window.windowTitle(), QStringLiteral("Gerência de Memória"));
    QCOMPARE(window.centralWidget()->size(), QSize(255, 316));
    QCOMPARE(window.pos(), QPoint(482, 95));
    QCOMPARE(window.findChild<TCellGrid*>(QStringLiteral("stg1"))->geometry(),
             QRect(0, 0, 253, 253));
    QCOMPARE(Text(window, "Label1"), QStringLiteral("Tam. LPL"));
    QCOMPARE(Text(window, "Label2"), QStringLiteral("Tam. LPM"));
    QCOMPARE(window.findChild<QProgressBar*>(QStringLiteral("FPLsize"))->maximum(), 100);
    QCOMPARE(window.findChild<QTimer*>(QStringLiteral("Timer1"))->interval(), 2000);

    const QImage image = GridImage(window);
    for (int column = 0; column < 10; ++column) {
      for (int row = 0; row < 10; ++row) {
        QCOMPARE(Background(image, column, row), kWhite);
        QCOMPARE(Centre(image, column, row), kWhite);
        QVERIFY(HasDarkText(image, column, row));
      }
    }
  }

  // The list sizes stand on the theme's highlighted-text colour, white or black in a dark theme,
  // while the theme's text is light: their text is whichever of black and white reads on it.
  void listSizesReadOnTheirBoxInAnyTheme_data() {
    QTest::addColumn<QColor>("boxColour");
    QTest::newRow("dark theme, white box") << QColor(Qt::white);
    QTest::newRow("dark theme, black box") << QColor(Qt::black);
  }
  void listSizesReadOnTheirBoxInAnyTheme() {
    QFETCH(QColor, boxColour);
    const QPalette before = QApplication::palette();
    QPalette theme(QColor(45, 45, 48));
    theme.setColor(QPalette::HighlightedText, boxColour);
    QApplication::setPalette(theme);
    {
      TestSimulation t;
      TfrmMemoVirt window(t.sim);
      for (const char* name : {"StaticText1", "StaticText2"}) {
        const QPalette box = window.findChild<QLabel*>(QString::fromLatin1(name))->palette();
        QCOMPARE(box.color(QPalette::Window), boxColour);
        QVERIFY2(kelpa::ContrastRatio(box.color(QPalette::WindowText), boxColour) >= 4.5, name);
      }
    }
    QApplication::setPalette(before);
  }

  void timerRunsOnlyWhileShownAndShowingRefreshesAtOnce() {
    TestSimulation t;
    TfrmMemoVirt window(t.sim);
    auto* timer = window.findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(!timer->isActive());
    window.show();
    QVERIFY(timer->isActive());
    QCOMPARE(Text(window, "StaticText1"), QStringLiteral("100"));
    window.close();
    QVERIFY(!timer->isActive());
    t.Create(kelpa::pkCPU, 0, 3, kBlue);
    window.show();
    QCOMPARE(Text(window, "StaticText1"), QStringLiteral("97"));
    QCOMPARE(BarValue(window, "FPLsize"), 97);
  }

  void firstTickShowsListSizes() {
    TestSimulation t;
    TfrmMemoVirt window(t.sim);
    window.Timer1Timer();
    QCOMPARE(BarValue(window, "FPLsize"), 100);
    QCOMPARE(Text(window, "StaticText1"), QStringLiteral("100"));
    QCOMPARE(BarValue(window, "MPLsize"), 0);
    QCOMPARE(Text(window, "StaticText2"), QStringLiteral("0"));

    t.Create(kelpa::pkCPU, 0, 3, kBlue);
    window.Timer1Timer();
    QCOMPARE(BarValue(window, "FPLsize"), 97);
    QCOMPARE(Text(window, "StaticText1"), QStringLiteral("97"));
  }

  void writtenFrameTakenByTheLimitIsGreyWithoutDisc() {
    TestSimulation t;
    TfrmMemoVirt window(t.sim);
    kelpa::TProcesso* p = t.Create(kelpa::pkCPU, 0, 1, kBlue);
    QVERIFY(p != nullptr);
    {
      std::lock_guard lock(t.sim.Lock);
      QCOMPARE(p->PageTable[0].Frame, 0);
      // A write to page 0, then a fault on page 1: the limit of one frame takes frame 0.
      p->PageTable[0].Modified = true;
      t.sim.Memoria.MarkModified(p->PageTable[0].Frame);
      p->PC = 8;
      QVERIFY(t.sim.Memoria.ServePageFault(p));
      QCOMPARE(p->PageTable[1].Frame, 1);
    }
    window.Timer1Timer();
    const QImage image = GridImage(window);
    QCOMPARE(BackgroundOfFrame(image, 0), kGrey);
    QCOMPARE(CentreOfFrame(image, 0), kGrey);
    QCOMPARE(BackgroundOfFrame(image, 1), kWhite);
    QCOMPARE(CentreOfFrame(image, 1), kelpa::ToQColor(kBlue));
    QCOMPARE(BarValue(window, "MPLsize"), 1);
    QCOMPARE(Text(window, "StaticText2"), QStringLiteral("1"));
    QCOMPARE(Text(window, "StaticText1"), QStringLiteral("98"));
  }

  void cellsNumberFramesDownTheColumns() {
    TestSimulation t;
    TfrmMemoVirt window(t.sim);
    t.Create(kelpa::pkCPU, 0, 5, kBlue);   // frames 0..4
    t.Create(kelpa::pkCPU, 0, 5, kGreen);  // frames 5..9
    t.Create(kelpa::pkCPU, 0, 5, kRed);    // frames 10..14
    const QImage image = GridImage(window);
    QCOMPARE(TCellGrid::ItemAt(1, 0), 10);
    QCOMPARE(TCellGrid::ItemAt(0, 9), 9);
    QCOMPARE(Centre(image, 0, 0), kelpa::ToQColor(kBlue));
    QCOMPARE(Centre(image, 0, 4), kelpa::ToQColor(kBlue));
    QCOMPARE(Centre(image, 0, 5), kelpa::ToQColor(kGreen));
    QCOMPARE(Centre(image, 0, 9), kelpa::ToQColor(kGreen));
    QCOMPARE(Centre(image, 1, 0), kelpa::ToQColor(kRed));
    QCOMPARE(Centre(image, 1, 4), kelpa::ToQColor(kRed));
    QCOMPARE(Centre(image, 1, 5), kWhite);
    // Row 1 of column 0 is frame 1, not frame 10.
    QCOMPARE(Centre(image, 0, 1), kelpa::ToQColor(kBlue));
    QCOMPARE(Centre(image, 2, 0), kWhite);
  }

  void endedProcessLeavesItsFramesUnowned() {
    TestSimulation t;
    TfrmMemoVirt window(t.sim);
    kelpa::TProcesso* p = t.Create(kelpa::pkCPU, 0, 2, kBlue);
    {
      std::lock_guard lock(t.sim.Lock);
      t.sim.Kernel.RemoveFromReadyQueues(p);
      t.sim.Kernel.RemoveProcess(p);
    }
    // Painting after the end must not reach the freed process (the sanitizer would tell).
    const QImage image = GridImage(window);
    QCOMPARE(CentreOfFrame(image, 0), kWhite);
    QCOMPARE(CentreOfFrame(image, 1), kWhite);
  }

  void pagefileMenuTogglesTheWindowAndItsCheck() {
    TestSimulation t;
    TfrmMemoVirt window(t.sim);
    TfrmPageFile pageFile(t.sim);
    window.SetPageFileWindow(&pageFile);
    auto* action = window.findChild<QAction*>(QStringLiteral("Pagefile1"));
    QVERIFY(action->isCheckable());
    QVERIFY(!action->isChecked());
    QVERIFY(!pageFile.isVisible());

    action->trigger();
    QVERIFY(pageFile.isVisible());
    QVERIFY(action->isChecked());
    action->trigger();
    QVERIFY(!pageFile.isVisible());
    QVERIFY(!action->isChecked());

    // Closed from its own frame, the window takes the check mark with it.
    action->trigger();
    QVERIFY(action->isChecked());
    pageFile.close();
    QVERIFY(!pageFile.isVisible());
    QVERIFY(!action->isChecked());
    action->trigger();
    QVERIFY(pageFile.isVisible());
    QVERIFY(action->isChecked());
  }

  void pagefileMenuCreatesTheWindowWhenMissing() {
    TestSimulation t;
    TfrmMemoVirt window(t.sim);
    window.Pagefile1Click();
    auto* pageFile = window.findChild<TfrmPageFile*>();
    QVERIFY(pageFile != nullptr);
    QVERIFY(pageFile->isVisible());
    QVERIFY(window.findChild<QAction*>(QStringLiteral("Pagefile1"))->isChecked());
  }

  void closingHidesAndReports() {
    TestSimulation t;
    TfrmMemoVirt window(t.sim);
    int closed = 0;
    QObject::connect(&window, &TfrmMemoVirt::closed, [&closed] { ++closed; });
    window.show();
    window.close();
    QVERIFY(!window.isVisible());
    QCOMPARE(closed, 1);
    // Still alive and working after being closed.
    window.Timer1Timer();
    QCOMPARE(Text(window, "StaticText1"), QStringLiteral("100"));
  }
};

QTEST_MAIN(MemoryWindowTest)
#include "memory_window_test.moc"
