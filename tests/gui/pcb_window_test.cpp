// SPDX-License-Identifier: MIT
// The PCB window against a real simulation: the fields of the process at ProcessIndex, the page
// table with its location names, the arrows, and hiding itself when no process is left.
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <mutex>

#include "gui/common/qt_convert.h"
#include "gui/process/pcb_window.h"
#include "support/test_simulation.h"

using kelpa::TPCB;
using kelpa::TProcesso;
using kelpa::test::TestSimulation;

namespace {

QString Box(TPCB& pcb, const char* name) {
  return pcb.findChild<QLabel*>(QString::fromLatin1(name))->text();
}
QStringList Row(TPCB& pcb, int row) {
  auto* grid = pcb.findChild<QTableWidget*>(QStringLiteral("stg1"));
  QStringList cells;
  for (int column = 0; column < grid->columnCount(); ++column) {
    cells << grid->item(row, column)->text();
  }
  return cells;
}
QLabel* PidBox(TPCB& pcb) {
  return pcb.findChild<QLabel*>(QStringLiteral("StaticText1"));
}
QString PidAt(TestSimulation& t, int index) {
  std::lock_guard lock(t.sim.Lock);
  return QString::number(t.sim.Kernel.Processes.at(static_cast<std::size_t>(index))->PID);
}

}  // namespace

class PcbWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheControlBlockOfTheChosenProcess() {
    TestSimulation t;
    t.Create(kelpa::pkCPU);
    TProcesso* p = t.Create(kelpa::pkIO2, 7, 3, kelpa::MakeColor(255, 128, 0));
    {
      std::lock_guard lock(t.sim.Lock);
      p->Priority = 9;
      p->PC = 17;
      p->CpuTime = 3725.0 / 86400;
    }
    TPCB pcb(t.sim);
    pcb.ProcessIndex = 1;
    pcb.show();
    QCOMPARE(Box(pcb, "StaticText1"), PidAt(t, 1));
    QCOMPARE(pcb.findChild<QLabel*>(QStringLiteral("StaticText1"))->palette().window().color(),
             QColor(255, 128, 0));
    QCOMPARE(Box(pcb, "StaticText2") + "/" + Box(pcb, "StaticText3"), QStringLiteral("7/9"));
    QCOMPARE(Box(pcb, "StaticText4"), QStringLiteral("Pronto"));
    QCOMPARE(Box(pcb, "StaticText6"), QStringLiteral("01:02:05"));
    QCOMPARE(Box(pcb, "StaticText7"), QStringLiteral("3"));
    QCOMPARE(Box(pcb, "StaticText8"), QStringLiteral("17"));

    // Unknown state and location codes: the state box keeps its text, the location is a star.
    {
      std::lock_guard lock(t.sim.Lock);
      p->State = static_cast<kelpa::ProcessState>(42);
      p->PageTable[4].Location = static_cast<kelpa::PageLocation>(9);
    }
    pcb.Timer1Timer();
    QCOMPARE(Box(pcb, "StaticText4"), QStringLiteral("Pronto"));
    QCOMPARE(Row(pcb, 5)[4], QStringLiteral("*"));
  }

  void pidIsWrittenInBlackOrWhiteToStayReadableOnItsColour() {
    TestSimulation t;
    const kelpa::TColor colours[] = {kelpa::MakeColor(0, 0, 0), kelpa::MakeColor(0, 0, 255),
                                     kelpa::MakeColor(255, 255, 0)};
    for (kelpa::TColor colour : colours) {
      t.Create(kelpa::pkCPU, 0, 5, colour);
    }
    TPCB pcb(t.sim);
    pcb.show();
    const QColor expected[] = {Qt::white, Qt::white, Qt::black};
    for (int index = 0; index < 3; ++index) {
      pcb.ProcessIndex = index;
      pcb.Timer1Timer();
      const QPalette palette = PidBox(pcb)->palette();
      QCOMPARE(palette.window().color(), kelpa::ToQColor(colours[index]));
      QCOMPARE(palette.windowText().color(), expected[index]);
    }
  }

  // Every column is at least as wide as the widest of its texts (so none is cut to "Bit…"), and
  // all of them fit the grid.
  void pageTableColumnsFitTheirTexts() {
    TestSimulation t;
    TProcesso* p = t.Create(kelpa::pkCPU);
    {
      std::lock_guard lock(t.sim.Lock);
      p->PageTable[2].Location = kelpa::plModifiedList;  // "M bit"
      p->PageTable[3].Location = kelpa::plPageFile;      // "PFile"
    }
    TPCB pcb(t.sim);
    pcb.show();
    pcb.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    auto* grid = pcb.findChild<QTableWidget*>(QStringLiteral("stg1"));
    const QAbstractItemView* view = grid;
    int total = 0;
    for (int column = 0; column < grid->columnCount(); ++column) {
      QVERIFY2(grid->columnWidth(column) >= view->sizeHintForColumn(column),
               qPrintable(grid->item(0, column)->text()));
      total += grid->columnWidth(column);
    }
    QVERIFY(total <= grid->viewport()->width());
  }

  void processUnderDemandFetchStartsWithNoPageInMemory() {
    TestSimulation t;
    t.sim.Memoria.AnticipatedFetch = false;
    t.Create(kelpa::pkCPU);
    TPCB pcb(t.sim);
    pcb.show();
    QCOMPARE(Row(pcb, 0), (QStringList{"NPV", "NPR", "Bit V", "Bit M", "Local"}));
    for (int page = 0; page < 5; ++page) {
      QCOMPARE(Row(pcb, page + 1), (QStringList{QString::number(page), "0", "0", "0", "Exe"}));
    }
  }

  void frameLimitSendsModifiedAndCleanPagesToTheirLists() {
    TestSimulation t;
    TProcesso* writer = t.Create(kelpa::pkCPU, 0, 1);
    TProcesso* reader = t.Create(kelpa::pkCPU, 0, 1);
    t.sim.Kernel.Quantum = 5000;
    t.Cycle(3);  // the writer's second instruction writes page 0
    {
      std::lock_guard lock(t.sim.Lock);
      QVERIFY(writer->PageTable[0].Modified && !reader->PageTable[0].Modified);
      // Both move on to page 1: the limit of one frame gives up page 0.
      for (TProcesso* p : {writer, reader}) {
        p->PC = 8;
        QVERIFY(t.sim.Memoria.ServePageFault(p));
      }
    }
    TPCB pcb(t.sim);
    pcb.show();
    QCOMPARE(Row(pcb, 1).mid(2), (QStringList{"0", "1", "M bit"}));
    QCOMPARE(Row(pcb, 2).mid(2), (QStringList{"1", "0", "Mem"}));
    pcb.ProcessIndex = 1;
    pcb.Timer1Timer();
    QCOMPARE(Row(pcb, 1).mid(2), (QStringList{"0", "0", "V bit"}));
  }

  // Under LRU the page table adds the reference bits and each resident page's place in the order
  // of use (1 goes first), widening the window; at FIFO it is the five columns again. A program of
  // one's own gets a page of its own; a kind's program none.
  void replacementColumnsAndOwnProgramFollowThePolicyAndTheProcess() {
    TestSimulation t;
    TProcesso* p = t.Create(kelpa::pkCPU, 0, 3);  // anticipated fetch: pages 0..2 in memory
    t.Create(kelpa::pkCPU);
    {
      std::lock_guard lock(t.sim.Lock);
      p->PageTable[0].LastUse = 7;
      p->PageTable[1].LastUse = 3;
      p->PageTable[1].Referenced = false;
      p->PageTable[2].LastUse = 5;
      p->Instructions[0] = kelpa::kReadBase + 3;
      p->Instructions[1] = kelpa::kCompute;
      p->Length = 2;
      p->Repeats = false;
      p->OwnProgram = true;
      p->PC = 1;
    }
    TPCB pcb(t.sim);
    pcb.show();
    auto* grid = pcb.findChild<QTableWidget*>(QStringLiteral("stg1"));
    auto* tabs = pcb.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    QCOMPARE(grid->columnCount(), 5);
    QCOMPARE(tabs->count(), 3);
    const QString program = pcb.findChild<QLabel*>(QStringLiteral("StaticText9"))->text();
    QVERIFY2(program.startsWith("L3, C\n(termina no fim)") &&
                 program.endsWith("Contador de programa: 1 (C)"),
             qPrintable(program));
    const int narrow = pcb.width();

    t.sim.Apply(kelpa::SetOption{kelpa::OptionId::Replacement, 1});
    pcb.Timer1Timer();
    QCOMPARE(Row(pcb, 0).mid(5), (QStringList{"Bit R", "Uso"}));
    QCOMPARE(Row(pcb, 1).mid(5), (QStringList{"1", "3"}));
    QCOMPARE(Row(pcb, 2).mid(5), (QStringList{"0", "1"}));
    QCOMPARE(Row(pcb, 3).mid(5), (QStringList{"1", "2"}));
    QCOMPARE(Row(pcb, 4).mid(5), (QStringList{"0", ""}));
    QVERIFY(pcb.width() > narrow);
    tabs->setCurrentIndex(1);
    int total = 0;
    for (int column = 0; column < grid->columnCount(); ++column) {
      total += grid->columnWidth(column);
    }
    QVERIFY(total <= grid->viewport()->width());

    t.sim.Apply(kelpa::SetOption{kelpa::OptionId::Replacement, 0});
    pcb.ProcessIndex = 1;
    pcb.Timer1Timer();
    QCOMPARE(grid->columnCount(), 5);
    QCOMPARE(pcb.width(), narrow);
    QCOMPARE(tabs->count(), 2);
  }

  void arrowsStepThroughTheTableAndStopAtItsEnds() {
    TestSimulation t;
    for (int i = 0; i < 3; ++i) {
      t.Create(kelpa::pkCPU);
    }
    TPCB pcb(t.sim);
    pcb.ProcessIndex = 2;
    pcb.show();
    auto click = [&](const char* name) {
      pcb.findChild<QToolButton*>(QString::fromLatin1(name))->click();
    };
    click("SpeedButton2");
    QCOMPARE(pcb.ProcessIndex, 2);
    click("SpeedButton1");
    QCOMPARE(Box(pcb, "StaticText1"), PidAt(t, 2));  // the new process shows at the next tick
    pcb.Timer1Timer();
    QCOMPARE(Box(pcb, "StaticText1"), PidAt(t, 1));
    click("SpeedButton1");
    click("SpeedButton1");
    QCOMPARE(pcb.ProcessIndex, 0);
    // An index past the end of the table goes back to the first process.
    pcb.ProcessIndex = 7;
    pcb.Timer1Timer();
    QCOMPARE(pcb.ProcessIndex, 0);
  }

  void hidesItselfWhenNoProcessIsLeft() {
    TestSimulation t;
    TProcesso* p = t.Create(kelpa::pkCPU);
    TPCB pcb(t.sim);
    pcb.show();
    {
      std::lock_guard lock(t.sim.Lock);
      p->RequestKill();
    }
    for (int i = 0; i < 50 && pcb.isVisible(); ++i) {
      t.Cycle();
      pcb.Timer1Timer();
    }
    QVERIFY(!pcb.isVisible());
    pcb.show();  // shown with an empty table, it hides again at once
    QTRY_VERIFY(!pcb.isVisible());
  }
};

QTEST_MAIN(PcbWindowTest)
#include "pcb_window_test.moc"
