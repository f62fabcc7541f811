// SPDX-License-Identifier: MIT
// The figures of the statistics window computed from one reading of the counters: pure, so they
// can be checked with chosen inputs.
#pragma once

#include <QLocale>
#include <QString>
#include <optional>

#include "simulation/snapshots.h"

namespace kelpa {

// One text per value box; nullopt leaves the box as it is.
struct StatisticsFigures {
  std::optional<QString> StartTime;             // StaticText1
  std::optional<QString> Elapsed;               // StaticText2
  std::optional<QString> Processes;             // StaticText3
  std::optional<QString> Throughput;            // StaticText4
  std::optional<QString> CpuSeconds;            // StaticText5
  std::optional<QString> Utilisation;           // StaticText6
  std::optional<QString> Ready;                 // StaticText7
  std::optional<QString> Running;               // StaticText8
  std::optional<QString> Waiting;               // StaticText9
  std::optional<QString> Turnaround;            // StaticText10
  std::optional<QString> ReadyWaitPerDispatch;  // StaticText11
  std::optional<QString> ReadyWaitTotal;        // StaticText12
  std::optional<QString> ReadyWaitMean;         // StaticText13
  std::optional<QString> PageFaults;            // StaticText14
  std::optional<QString> Dispatches;            // StaticText15
  std::optional<QString> PageFaultRate;         // StaticText16
  std::optional<QString> MemorySize;            // StaticText17
  std::optional<QString> MemoryInUse;           // StaticText18
  std::optional<QString> FreePercent;           // StaticText19
  std::optional<QString> HardFaults;            // StaticText20
  std::optional<QString> SoftFaults;            // StaticText21
};

// While less than a whole second has passed since the start (or the clock was set back before
// it), the per-second rates have nothing to divide by and keep what they showed; the utilisation
// does the same while no time at all has passed, and the elapsed time then reads 00:00:00.
StatisticsFigures ComputeStatistics(const StatisticsInputs& in, const QLocale& locale);

// Fixed-point with the locale's decimal and group separators ("#,##0.00" with two decimals).
QString FormatGrouped(double value, int decimals, const QLocale& locale);

}  // namespace kelpa
