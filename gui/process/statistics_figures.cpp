// SPDX-License-Identifier: MIT
#include "gui/process/statistics_figures.h"

#include "gui/common/qt_convert.h"
#include "simulation/statistics.h"

namespace kelpa {
namespace {

QString FormatPlain(double value, int decimals, const QLocale& locale) {
  QLocale plain(locale);
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  return plain.toString(value, 'f', decimals);
}

const QString kBlank = QStringLiteral(" ");

}  // namespace

QString FormatGrouped(double value, int decimals, const QLocale& locale) {
  QLocale grouped(locale);
  grouped.setNumberOptions(QLocale::DefaultNumberOptions);
  return grouped.toString(value, 'f', decimals);
}

StatisticsFigures ComputeStatistics(const StatisticsInputs& in, const QLocale& locale) {
  const StatisticsNumbers n = ComputeStatisticsNumbers(in);
  const auto grouped = [&](const std::optional<double>& value, int decimals) {
    return value ? std::optional(FormatGrouped(*value, decimals, locale)) : std::nullopt;
  };
  // An empty figure shows a blank where there is nothing to count yet, and otherwise leaves its
  // box as it was.
  const auto orBlank = [&](const std::optional<double>& value) {
    return value ? FormatGrouped(*value, 2, locale) : kBlank;
  };
  StatisticsFigures f;
  // Read with the other counters: the window may be made before start-up has finished, and a
  // scenario opened later starts the run again.
  f.StartTime = ToQString(FormatTimeOfDay(in.StartTime));
  f.Elapsed = ToQString(FormatTimeOfDay(n.ElapsedSpan));
  f.Processes = QString::number(n.Processes);
  f.Dispatches = QString::number(n.Dispatches);
  f.Throughput = grouped(n.Throughput, 5);
  f.CpuSeconds = QString::number(n.CpuSeconds);
  f.Utilisation = grouped(n.Utilisation, 2);
  f.Ready = QString::number(n.Ready);
  f.Running = QString::number(n.Running);
  f.Waiting = QString::number(n.Waiting);
  f.Turnaround = orBlank(n.Turnaround);
  f.ReadyWaitTotal = FormatGrouped(n.ReadyWaitTotal, 2, locale);
  if (n.ReadyWaitMean || n.Processes == 0) {
    f.ReadyWaitMean = orBlank(n.ReadyWaitMean);
  }
  f.ReadyWaitPerDispatch = orBlank(n.ReadyWaitPerDispatch);
  f.PageFaults = QString::number(n.PageFaults);
  f.PageFaultRate = grouped(n.PageFaultRate, 2);
  f.HardFaults = QString::number(n.HardFaults);
  f.SoftFaults = QString::number(n.SoftFaults);
  f.MemorySize = QString::number(n.MemorySize);
  f.MemoryInUse = QString::number(n.MemoryInUse);
  f.FreePercent = FormatPlain(n.FreePercent, 0, locale) + QLatin1Char('%');
  return f;
}

}  // namespace kelpa
