#include "gui/process/statistics_figures.h"

#include <cstdint>

#include "gui/common/qt_convert.h"

namespace kelpa {
namespace {

constexpr int kMemoryBytes = 800;
constexpr int kBytesPerFrame = 8;

QString FormatPlain(double value, int decimals, const QLocale& locale) {
  QLocale plain(locale);
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  return plain.toString(value, 'f', decimals);
}

// Whole seconds of a total shared out over a count: the seconds are truncated first.
QString SecondsPer(double total, int count, const QLocale& locale) {
  return FormatGrouped(static_cast<double>(WholeSeconds(total)) / count, 2, locale);
}

const QString kBlank = QStringLiteral(" ");

}  // namespace

QString FormatGrouped(double value, int decimals, const QLocale& locale) {
  QLocale grouped(locale);
  grouped.setNumberOptions(QLocale::DefaultNumberOptions);
  return grouped.toString(value, 'f', decimals);
}

StatisticsFigures ComputeStatistics(const StatisticsInputs& in, const QLocale& locale) {
  StatisticsFigures f;
  const double span = in.Now - in.StartTime;
  const std::int64_t elapsed = WholeSeconds(span);

  f.Elapsed = ToQString(FormatTimeOfDay(span > 0 ? span : 0));
  f.Processes = QString::number(in.ProcessCount);
  f.Dispatches = QString::number(in.DispatchCount);
  if (elapsed > 0) {
    f.Throughput = FormatGrouped(static_cast<double>(in.DispatchCount) / elapsed, 5, locale);
  }
  f.CpuSeconds = QString::number(WholeSeconds(in.BusyTime));
  if (span > 0) {
    f.Utilisation = FormatGrouped(in.BusyTime / span * 100, 2, locale);
  }
  f.Ready = QString::number(in.Ready);
  f.Running = QString::number(in.Running);
  f.Waiting = QString::number(in.Waiting);

  f.Turnaround =
      in.FinishedCount <= 0 ? kBlank : SecondsPer(in.TotalTurnaroundTime, in.FinishedCount, locale);
  f.ReadyWaitTotal = FormatGrouped(static_cast<double>(WholeSeconds(in.ReadyWaitSum)), 2, locale);
  if (in.ReadyWaitCount > 0) {
    f.ReadyWaitMean = SecondsPer(in.ReadyWaitSum, in.ReadyWaitCount, locale);
  } else if (in.ProcessCount == 0) {
    f.ReadyWaitMean = kBlank;
  }
  f.ReadyWaitPerDispatch =
      in.DispatchCount <= 0 ? kBlank : SecondsPer(in.TotalReadyWaitTime, in.DispatchCount, locale);

  const std::int64_t faults = static_cast<std::int64_t>(in.HardFaults) + in.SoftFaults;
  f.PageFaults = QString::number(faults);
  if (faults > 0 && elapsed > 0) {
    f.PageFaultRate = FormatGrouped(static_cast<double>(faults) / elapsed, 2, locale);
  }
  f.HardFaults = QString::number(in.HardFaults);
  f.SoftFaults = QString::number(in.SoftFaults);

  const int freeBytes = kBytesPerFrame * in.FreePages;
  f.MemorySize = QString::number(kMemoryBytes);
  f.MemoryInUse = QString::number(kMemoryBytes - freeBytes);
  f.FreePercent = FormatPlain(static_cast<double>(freeBytes) / kMemoryBytes * 100, 0, locale) +
                  QLatin1Char('%');
  return f;
}

}  // namespace kelpa
