// The statistics window: the figures computed from chosen counters (whole seconds before
// dividing, blanks and unchanged boxes, the locale's separators) and the window refreshing from
// a real simulation, hidden or shown.
#include <QLabel>
#include <QTimer>
#include <QtTest>
#include <mutex>

#include "support/test_simulation.h"
#include "ui/process/statistics_figures.h"
#include "ui/process/statistics_window.h"

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

// A window refreshing with the point as decimal separator.
struct Window {
  explicit Window(TestSimulation& t) : window(t.sim) { window.Locale = QLocale::c(); }
  TEstatisticas window;
};

}  // namespace

class StatisticsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void ratesDivideByWholeElapsedSeconds() {
    StatisticsInputs in = RunOf(90.7);
    in.DispatchCount = 45;
    in.HardFaults = 2;
    in.SoftFaults = 1;
    in.BusyTime = 45.35 * kSecond;
    const auto f = ComputeStatistics(in, QLocale::c());
    QCOMPARE(*f.Throughput, QStringLiteral("0.50000"));
    QCOMPARE(*f.Dispatches, QStringLiteral("45"));
    QCOMPARE(*f.PageFaults, QStringLiteral("3"));
    QCOMPARE(*f.PageFaultRate, QStringLiteral("0.03"));
    QCOMPARE(*f.HardFaults, QStringLiteral("2"));
    QCOMPARE(*f.SoftFaults, QStringLiteral("1"));
    QCOMPARE(*f.CpuSeconds, QStringLiteral("45"));
    // The utilisation divides the spans themselves.
    QCOMPARE(*f.Utilisation, QStringLiteral("50.00"));
    QCOMPARE(*f.Elapsed, QStringLiteral("00:01:30"));
  }

  void meansTakeWholeSecondsBeforeDividing() {
    StatisticsInputs in = RunOf(100);
    in.ProcessCount = 3;
    in.FinishedCount = 2;
    in.TotalTurnaroundTime = 10.9 * kSecond;
    in.DispatchCount = 4;
    in.TotalReadyWaitTime = 10.99 * kSecond;
    in.ReadyWaitSum = 12.7 * kSecond;
    in.ReadyWaitCount = 2;
    auto f = ComputeStatistics(in, QLocale::c());
    QCOMPARE(*f.Turnaround, QStringLiteral("5.00"));
    QCOMPARE(*f.ReadyWaitPerDispatch, QStringLiteral("2.50"));
    QCOMPARE(*f.ReadyWaitTotal, QStringLiteral("12.00"));
    QCOMPARE(*f.ReadyWaitMean, QStringLiteral("6.00"));

    in.TotalTurnaroundTime = 11.2 * kSecond;
    f = ComputeStatistics(in, QLocale::c());
    QCOMPARE(*f.Turnaround, QStringLiteral("5.50"));
  }

  void emptyCountersGiveBlanksOrLeaveBoxesAlone() {
    StatisticsInputs in = RunOf(5);
    auto f = ComputeStatistics(in, QLocale::c());
    QCOMPARE(*f.Turnaround, QStringLiteral(" "));
    QCOMPARE(*f.ReadyWaitPerDispatch, QStringLiteral(" "));
    QCOMPARE(*f.ReadyWaitMean, QStringLiteral(" "));  // no process at all
    QVERIFY(!f.PageFaultRate);                        // no page fault yet
    in.ProcessCount = 2;                              // processes, none ready
    f = ComputeStatistics(in, QLocale::c());
    QVERIFY(!f.ReadyWaitMean);
  }

  void memoryInUseAndFreeShare() {
    StatisticsInputs in = RunOf(5);
    auto f = ComputeStatistics(in, QLocale::c());
    QCOMPARE(*f.MemorySize, QStringLiteral("800"));
    QCOMPARE(*f.MemoryInUse, QStringLiteral("0"));
    QCOMPARE(*f.FreePercent, QStringLiteral("100%"));
    in.FreePages = 25;
    f = ComputeStatistics(in, QLocale::c());
    QCOMPARE(*f.MemoryInUse, QStringLiteral("600"));
    QCOMPARE(*f.FreePercent, QStringLiteral("25%"));
  }

  void separatorsComeFromTheLocale() {
    StatisticsInputs in = RunOf(1);
    in.DispatchCount = 1234567;
    in.FinishedCount = 1;
    in.TotalTurnaroundTime = 1234 * kSecond;
    auto f = ComputeStatistics(in, QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(*f.Throughput, QStringLiteral("1,234,567.00000"));
    QCOMPARE(*f.Turnaround, QStringLiteral("1,234.00"));
    f = ComputeStatistics(in, QLocale(QLocale::Portuguese, QLocale::Brazil));
    QCOMPARE(*f.Throughput, QStringLiteral("1.234.567,00000"));
    QCOMPARE(*f.Turnaround, QStringLiteral("1.234,00"));
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
      QVERIFY(!f.Throughput);
      QVERIFY(!f.PageFaultRate);
      QCOMPARE(f.Utilisation.has_value(), seconds > 0);
      QCOMPARE(*f.Elapsed, QStringLiteral("00:00:00"));
      QCOMPARE(*f.Dispatches, QStringLiteral("3"));
    }
  }

  void windowStartsWithZerosAndRefreshesFromTheSimulation() {
    TestSimulation t;
    t.sim.StartTime = t.clock.Now();
    Window w(t);
    TEstatisticas& s = w.window;
    QCOMPARE(s.windowTitle(), QStringLiteral("Estatísticas"));
    QCOMPARE(Box(s, "StaticText1"), QString::fromStdString(kelpa::FormatTimeOfDay(t.clock.Now())));
    for (const char* name : {"StaticText10", "StaticText11", "StaticText13", "StaticText16"}) {
      QCOMPARE(Box(s, name), QStringLiteral("0"));
    }
    QVERIFY(!s.isVisible());
    QVERIFY(s.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());

    // The first refresh, less than a second after the start: nothing fails.
    s.Timer1Timer();
    QCOMPARE(Box(s, "StaticText2"), QStringLiteral("00:00:00"));
    QCOMPARE(Box(s, "StaticText4"), QString());
    QCOMPARE(Box(s, "StaticText10"), QStringLiteral(" "));
    QCOMPARE(Box(s, "StaticText13"), QStringLiteral(" "));
    QCOMPARE(Box(s, "StaticText16"), QStringLiteral("0"));
    QCOMPARE(Box(s, "StaticText18"), QStringLiteral("0"));
    QCOMPARE(Box(s, "StaticText19"), QStringLiteral("100%"));

    // One process ready for two seconds, then running: the mean wait keeps its value.
    t.Create(kelpa::pkCPU);
    t.clock.AdvanceMs(2000);
    s.Timer1Timer();
    QCOMPARE(Box(s, "StaticText3"), QStringLiteral("1"));
    QCOMPARE(Box(s, "StaticText7"), QStringLiteral("1"));
    QCOMPARE(Box(s, "StaticText13"), QStringLiteral("2.00"));
    t.Cycle();
    s.Timer1Timer();
    QCOMPARE(Box(s, "StaticText7"), QStringLiteral("0"));
    QCOMPARE(Box(s, "StaticText8"), QStringLiteral("1"));
    QCOMPARE(Box(s, "StaticText13"), QStringLiteral("2.00"));

    {
      std::lock_guard lock(t.sim.Lock);
      t.sim.Kernel.DispatchCount = 45;
      t.sim.StartTime = t.clock.Now() - 90 * kSecond;
      t.sim.Memoria.FreePageList.resize(25);
    }
    s.Timer1Timer();
    QCOMPARE(Box(s, "StaticText4"), QStringLiteral("0.50000"));
    QCOMPARE(Box(s, "StaticText15"), QStringLiteral("45"));
    QCOMPARE(Box(s, "StaticText18"), QStringLiteral("600"));
    QCOMPARE(Box(s, "StaticText19"), QStringLiteral("25%"));
  }

  void closingHidesAndTellsTheConsole() {
    TestSimulation t;
    Window w(t);
    int closed = 0;
    w.window.OnClosed = [&] { ++closed; };
    w.window.show();
    w.window.close();
    QVERIFY(!w.window.isVisible());
    QCOMPARE(closed, 1);
    QVERIFY(w.window.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
  }
};

QTEST_MAIN(StatisticsWindowTest)
#include "statistics_window_test.moc"
