// SPDX-License-Identifier: MIT
// The statistics window: figures computed from chosen counters (whole seconds before dividing,
// blanks and unchanged boxes, the locale's separators, no whole second yet) and the window
// refreshing from a real simulation.
#include <QAction>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <mutex>

#include "gui/process/process_ticks_window.h"
#include "gui/process/statistics_figures.h"
#include "gui/process/statistics_window.h"
#include "simulation/event_fan_out.h"
#include "support/test_simulation.h"

using kelpa::ComputeStatistics;
using kelpa::StatisticsInputs;
using kelpa::TEstatisticas;
using kelpa::test::TestSimulation;

namespace {

constexpr double kSecond = 1.0 / 86400;

StatisticsInputs RunOf(double seconds) {
  StatisticsInputs in;
  in.StartTime = 46000.25;
  in.Now = in.StartTime + seconds * kSecond;
  in.FreePages = 100;
  return in;
}
QString Box(TEstatisticas& window, const char* name) {
  return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

}  // namespace

class StatisticsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void figuresTakeWholeSecondsBeforeDividing() {
    StatisticsInputs in = RunOf(90.7);
    in.ProcessCount = 3;
    in.DispatchCount = 45;
    in.HardFaults = 2;
    in.SoftFaults = 1;
    in.BusyTime = 45.35 * kSecond;
    in.FinishedCount = 2;
    in.TotalTurnaroundTime = 11.2 * kSecond;
    in.TotalReadyWaitTime = 90.99 * kSecond;
    in.ReadyWaitSum = 12.7 * kSecond;
    in.ReadyWaitCount = 2;
    const auto f = ComputeStatistics(in, QLocale::c());
    QCOMPARE(*f.Throughput, QStringLiteral("0.50000"));
    QCOMPARE(*f.PageFaultRate, QStringLiteral("0.03"));
    QCOMPARE(*f.CpuSeconds, QStringLiteral("45"));
    QCOMPARE(*f.Utilisation, QStringLiteral("50.00"));  // the spans themselves
    QCOMPARE(*f.Elapsed, QStringLiteral("00:01:30"));
    QCOMPARE(*f.Turnaround, QStringLiteral("5.50"));
    QCOMPARE(*f.ReadyWaitPerDispatch, QStringLiteral("2.00"));
    QCOMPARE(*f.ReadyWaitTotal, QStringLiteral("12.00"));
    QCOMPARE(*f.ReadyWaitMean, QStringLiteral("6.00"));
  }

  void emptyCountersGiveBlanksOrLeaveBoxesAlone() {
    StatisticsInputs in = RunOf(5);
    auto f = ComputeStatistics(in, QLocale::c());
    QCOMPARE(*f.Turnaround, QStringLiteral(" "));
    QCOMPARE(*f.ReadyWaitPerDispatch, QStringLiteral(" "));
    QCOMPARE(*f.ReadyWaitMean, QStringLiteral(" "));  // no process at all
    QVERIFY(!f.PageFaultRate);                        // no page fault yet
    QCOMPARE(*f.MemoryInUse + " " + *f.FreePercent, QStringLiteral("0 100%"));
    in.ProcessCount = 2;  // processes, none ready
    in.FreePages = 25;
    f = ComputeStatistics(in, QLocale::c());
    QVERIFY(!f.ReadyWaitMean);
    QCOMPARE(*f.MemoryInUse + " " + *f.FreePercent, QStringLiteral("600 25%"));
  }

  void separatorsComeFromTheLocale() {
    StatisticsInputs in = RunOf(1);
    in.DispatchCount = 1234567;
    in.FinishedCount = 1;
    in.TotalTurnaroundTime = 1234 * kSecond;
    auto f = ComputeStatistics(in, QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(*f.Throughput + " " + *f.Turnaround, QStringLiteral("1,234,567.00000 1,234.00"));
    f = ComputeStatistics(in, QLocale(QLocale::Portuguese, QLocale::Brazil));
    QCOMPARE(*f.Throughput + " " + *f.Turnaround, QStringLiteral("1.234.567,00000 1.234,00"));
  }

  // Under a whole second of run, or with the clock set back before the start, the rates have no
  // divisor and keep what they showed.
  void noWholeSecondYetKeepsTheRates() {
    for (double seconds : {0.0, 0.6, -30.0}) {
      StatisticsInputs in = RunOf(seconds);
      in.DispatchCount = 3;
      in.HardFaults = 2;
      in.BusyTime = 0.1 * kSecond;
      const auto f = ComputeStatistics(in, QLocale::c());
      QVERIFY(!f.Throughput && !f.PageFaultRate);
      QCOMPARE(f.Utilisation.has_value(), seconds > 0);
      QCOMPARE(*f.Elapsed, QStringLiteral("00:00:00"));
    }
  }

  // The program makes the window during the splash, before the start is known; a scenario
  // opened later starts the run again. The start time follows both.
  void startTimeFollowsTheRun() {
    TestSimulation t;
    TEstatisticas s(t.sim);
    for (int later : {0, 3600}) {
      t.clock.AdvanceMs(later * 1000);
      {
        std::lock_guard lock(t.sim.Lock);
        t.sim.StartTime = t.clock.Now();
      }
      s.Timer1Timer();
      QCOMPARE(Box(s, "StaticText1"),
               QString::fromStdString(kelpa::FormatTimeOfDay(t.clock.Now())));
    }
  }

  void windowRefreshesFromTheSimulationOnEveryTickAndShow() {
    TestSimulation t;
    t.sim.StartTime = t.clock.Now();
    TEstatisticas s(t.sim);
    s.Locale = QLocale::c();
    int closed = 0;
    QObject::connect(&s, &TEstatisticas::closed, [&] { ++closed; });
    QCOMPARE(Box(s, "StaticText1"), QString::fromStdString(kelpa::FormatTimeOfDay(t.clock.Now())));
    QCOMPARE(Box(s, "StaticText10"), QStringLiteral("0"));
    // A hidden window does not tick.
    QVERIFY(!s.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());

    s.Timer1Timer();  // less than a second after the start
    QCOMPARE(Box(s, "StaticText4"), QString());
    QCOMPARE(Box(s, "StaticText10"), QStringLiteral(" "));
    QCOMPARE(Box(s, "StaticText16"), QStringLiteral("0"));

    // One process ready for two seconds, then running: the mean wait keeps its value.
    t.Create(kelpa::pkCPU);
    t.clock.AdvanceMs(2000);
    s.Timer1Timer();
    QCOMPARE(Box(s, "StaticText13"), QStringLiteral("2.00"));
    t.Cycle();
    s.Timer1Timer();
    QCOMPARE(Box(s, "StaticText7") + Box(s, "StaticText8"), QStringLiteral("01"));
    QCOMPARE(Box(s, "StaticText13"), QStringLiteral("2.00"));

    s.show();
    QVERIFY(s.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    s.close();
    QVERIFY(!s.isVisible());
    QVERIFY(!s.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    QCOMPARE(closed, 1);
    {
      std::lock_guard lock(t.sim.Lock);
      t.sim.Kernel.DispatchCount = 45;
      t.sim.StartTime = t.clock.Now() - 90 * kSecond;
      t.sim.Memoria.FreePageList.resize(25);
    }
    // Showing it again shows the figures of that moment, not those from before it was hidden.
    s.show();
    QCOMPARE(Box(s, "StaticText4"), QStringLiteral("0.50000"));
    QCOMPARE(Box(s, "StaticText18") + " " + Box(s, "StaticText19"), QStringLiteral("600 25%"));
  }

  // In the live program a tick is a cycle of the processor, however it came (here by hand), and
  // the menu of the statistics window asks for the table.
  void processesInTicksCountTheProcessorsCycles() {
    kelpa::EventFanOut events;  // outlives the simulation that reports to it
    TestSimulation t;
    t.sim.SetEvents(&events);
    TEstatisticas s(t.sim);
    kelpa::TProcessTicks ticks(t.sim, events);
    ticks.Locale = QLocale::c();
    int asked = 0;
    QObject::connect(&s, &TEstatisticas::ticksRequested, [&] { ++asked; });
    s.findChild<QAction*>(QStringLiteral("ProcessosEmTicks1"))->trigger();
    QCOMPARE(asked, 1);

    t.sim.Apply(kelpa::SetOption{kelpa::OptionId::SlicePosition, 10});  // no slice ends
    t.sim.Apply(kelpa::StepOneTick{});
    t.sim.Apply(kelpa::StepOneTick{});
    const kelpa::ShapeId shape = t.sim.Apply(kelpa::HandAction{});  // a CPU process, at tick 2
    for (int i = 0; i < 3; ++i) {
      t.sim.Apply(kelpa::StepOneTick{});  // running at ticks 2, 3 and 4: 0, the write, 2
    }
    t.sim.Apply(kelpa::HandAction{kelpa::HandActionKind::End, shape});
    t.sim.Apply(kelpa::StepOneTick{});  // it ends as it comes to its next step, at tick 5
    ticks.Timer1Timer();
    QTableWidget* grid = ticks.Grid();
    QCOMPARE(grid->rowCount(), 3);
    QStringList row;
    for (int column = 1; column < grid->columnCount(); ++column) {
      row << grid->item(0, column)->text();
    }
    // arrival, first dispatch, end, processor ticks, turnaround, waiting, response, references,
    // faults (the pages came with it), hit ratio
    QCOMPARE(row.join(' '), QStringLiteral("2 2 5 3 3 0 0 4 0 1.0000"));
    QCOMPARE(grid->item(1, 5)->text(), QStringLiteral("3.00"));  // the mean turnaround
  }
};

QTEST_MAIN(StatisticsWindowTest)
#include "statistics_window_test.moc"
