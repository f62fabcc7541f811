// The PCB window against a real simulation: the fields of the process at ProcessIndex, the page
// table with its location names, the arrows, and hiding itself when no process is left.
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <mutex>

#include "support/test_simulation.h"
#include "ui/common/qt_convert.h"
#include "ui/process/pcb_window.h"

using kelpa::MakeColor;
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
    const QTableWidgetItem* item = grid->item(row, column);
    cells << (item == nullptr ? QString() : item->text());
  }
  return cells;
}
void Click(TPCB& pcb, const char* name) {
  QTest::mouseClick(pcb.findChild<QToolButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}
std::int32_t PidAt(TestSimulation& t, int index) {
  std::lock_guard lock(t.sim.Lock);
  return t.sim.Kernel.Processes[static_cast<std::size_t>(index)]->PID;
}

}  // namespace

class PcbWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheControlBlockOfTheChosenProcess() {
    TestSimulation t;
    t.Create(kelpa::pkCPU);
    TProcesso* p = t.Create(kelpa::pkIO2, 7, 3, MakeColor(255, 128, 0));
    TPCB pcb(t.sim);
    QVERIFY(!pcb.isVisible());
    pcb.ProcessIndex = 1;
    {
      std::lock_guard lock(t.sim.Lock);
      p->Priority = 9;
      p->PC = 17;
      p->CpuTime = 3725.0 / 86400;
    }
    pcb.show();
    QCOMPARE(pcb.windowTitle(), QStringLiteral("Bloco de Controle do Processo"));
    QCOMPARE(Box(pcb, "StaticText1"), QString::number(p->PID));
    QCOMPARE(
        pcb.findChild<QLabel*>(QStringLiteral("StaticText1"))->palette().color(QPalette::Window),
        QColor(255, 128, 0));
    QCOMPARE(Box(pcb, "StaticText2"), QStringLiteral("7"));
    QCOMPARE(Box(pcb, "StaticText3"), QStringLiteral("9"));
    QCOMPARE(Box(pcb, "StaticText4"), QStringLiteral("Pronto"));
    QCOMPARE(Box(pcb, "StaticText5"), QString::fromStdString(kelpa::FormatTimeOfDay(p->CreatedAt)));
    QCOMPARE(Box(pcb, "StaticText6"), QStringLiteral("01:02:05"));
    QCOMPARE(Box(pcb, "StaticText7"), QStringLiteral("3"));
    QCOMPARE(Box(pcb, "StaticText8"), QStringLiteral("17"));
    auto* tabs = pcb.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("PCB"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("PPT"));

    // An unknown state code leaves the state box as it was.
    {
      std::lock_guard lock(t.sim.Lock);
      p->State = 42;
    }
    pcb.Timer1Timer();
    QCOMPARE(Box(pcb, "StaticText4"), QStringLiteral("Pronto"));
  }

  void pageTableOfAProcessUnderDemandFetch() {
    TestSimulation t;
    {
      std::lock_guard lock(t.sim.Lock);
      t.sim.Memoria.AnticipatedFetch = false;
    }
    t.Create(kelpa::pkCPU);
    TPCB pcb(t.sim);
    pcb.show();
    auto* grid = pcb.findChild<QTableWidget*>(QStringLiteral("stg1"));
    QCOMPARE(grid->rowCount(), 6);
    const int widths[] = {64, 34, 33, 31, 36};
    for (int column = 0; column < 5; ++column) {
      QCOMPARE(grid->columnWidth(column), widths[column]);
    }
    QCOMPARE(Row(pcb, 0), (QStringList{"NPV", "NPR", "Bit V", "Bit M", "Local"}));
    for (int page = 0; page < 5; ++page) {
      QCOMPARE(Row(pcb, page + 1), (QStringList{QString::number(page), "0", "0", "0", "Exe"}));
    }
    // A location code of no known place shows a star.
    {
      std::lock_guard lock(t.sim.Lock);
      t.sim.Kernel.Processes[0]->PageTable[4].Location = 9;
    }
    pcb.Timer1Timer();
    QCOMPARE(Row(pcb, 5)[4], QStringLiteral("*"));
  }

  void frameLimitSendsModifiedAndCleanPagesToTheirLists() {
    TestSimulation t;
    TProcesso* writer = t.Create(kelpa::pkCPU, 0, 1);
    TProcesso* reader = t.Create(kelpa::pkCPU, 0, 1);
    // The writer runs until its second instruction has written page 0.
    t.sim.Kernel.Quantum = 5000;
    t.Cycle(3);
    {
      std::lock_guard lock(t.sim.Lock);
      QVERIFY(writer->PageTable[0].Modified);
      QVERIFY(!reader->PageTable[0].Modified);
      // Both move on to page 1: the limit of one frame gives up page 0.
      for (TProcesso* p : {writer, reader}) {
        p->PC = 8;
        QVERIFY(t.sim.Memoria.ServePageFault(p));
      }
    }
    TPCB pcb(t.sim);
    pcb.show();
    QCOMPARE(Row(pcb, 1)[4], QStringLiteral("M bit"));
    QCOMPARE(Row(pcb, 1)[2], QStringLiteral("0"));
    QCOMPARE(Row(pcb, 1)[3], QStringLiteral("1"));
    QCOMPARE(Row(pcb, 2)[2], QStringLiteral("1"));
    QCOMPARE(Row(pcb, 2)[4], QStringLiteral("Mem"));
    pcb.ProcessIndex = 1;
    pcb.Timer1Timer();
    QCOMPARE(Row(pcb, 1)[4], QStringLiteral("V bit"));
    QCOMPARE(Row(pcb, 1)[3], QStringLiteral("0"));
  }

  void arrowsStepThroughTheTableAndStopAtItsEnds() {
    TestSimulation t;
    for (int i = 0; i < 3; ++i) {
      t.Create(kelpa::pkCPU);
    }
    TPCB pcb(t.sim);
    pcb.ProcessIndex = 2;
    pcb.show();
    Click(pcb, "SpeedButton2");
    QCOMPARE(pcb.ProcessIndex, 2);
    Click(pcb, "SpeedButton1");
    QCOMPARE(pcb.ProcessIndex, 1);
    // The window shows the new process at the next tick.
    QCOMPARE(Box(pcb, "StaticText1"), QString::number(PidAt(t, 2)));
    pcb.Timer1Timer();
    QCOMPARE(Box(pcb, "StaticText1"), QString::number(PidAt(t, 1)));
    Click(pcb, "SpeedButton1");
    Click(pcb, "SpeedButton1");
    QCOMPARE(pcb.ProcessIndex, 0);

    // An index past the end of the table goes back to the first process.
    pcb.ProcessIndex = 7;
    pcb.Timer1Timer();
    QCOMPARE(pcb.ProcessIndex, 0);
    QCOMPARE(Box(pcb, "StaticText1"), QString::number(PidAt(t, 0)));
  }

  void hidesItselfWhenNoProcessIsLeft() {
    TestSimulation t;
    TProcesso* p = t.Create(kelpa::pkCPU);
    TPCB pcb(t.sim);
    pcb.show();
    QVERIFY(pcb.isVisible());
    {
      std::lock_guard lock(t.sim.Lock);
      p->RequestKill();
    }
    for (int i = 0; i < 50 && pcb.isVisible(); ++i) {
      t.Cycle();
      pcb.Timer1Timer();
    }
    QVERIFY(!pcb.isVisible());

    // Shown with an empty table, it hides again at once.
    pcb.show();
    QTRY_VERIFY(!pcb.isVisible());
  }
};

QTEST_MAIN(PcbWindowTest)
#include "pcb_window_test.moc"
