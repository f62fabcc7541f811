// SPDX-License-Identifier: MIT
#include "simulation/statistics.h"

namespace kelpa {
namespace {

constexpr int kBytesPerFrame = 8;

double SecondsPer(double total, int count) {
  return static_cast<double>(WholeSeconds(total)) / count;
}

}  // namespace

StatisticsNumbers ComputeStatisticsNumbers(const StatisticsInputs& in) {
  StatisticsNumbers n;
  const double span = in.Now - in.StartTime;
  const std::int64_t elapsed = WholeSeconds(span);
  n.ElapsedSpan = span > 0 ? span : 0;
  n.Processes = in.ProcessCount;
  n.Dispatches = in.DispatchCount;
  if (elapsed > 0) {
    n.Throughput = static_cast<double>(in.DispatchCount) / elapsed;
  }
  n.CpuSeconds = WholeSeconds(in.BusyTime);
  if (span > 0) {
    n.Utilisation = in.BusyTime / span * 100;
  }
  n.Ready = in.Ready;
  n.Running = in.Running;
  n.Waiting = in.Waiting;
  if (in.FinishedCount > 0) {
    n.Turnaround = SecondsPer(in.TotalTurnaroundTime, in.FinishedCount);
  }
  n.ReadyWaitTotal = static_cast<double>(WholeSeconds(in.ReadyWaitSum));
  if (in.ReadyWaitCount > 0) {
    n.ReadyWaitMean = SecondsPer(in.ReadyWaitSum, in.ReadyWaitCount);
  }
  if (in.DispatchCount > 0) {
    n.ReadyWaitPerDispatch = SecondsPer(in.TotalReadyWaitTime, in.DispatchCount);
  }
  n.PageFaults = static_cast<std::int64_t>(in.HardFaults) + in.SoftFaults;
  if (n.PageFaults > 0 && elapsed > 0) {
    n.PageFaultRate = static_cast<double>(n.PageFaults) / elapsed;
  }
  n.HardFaults = in.HardFaults;
  n.SoftFaults = in.SoftFaults;
  const int freeBytes = kBytesPerFrame * in.FreePages;
  n.MemoryInUse = kMemoryBytes - freeBytes;
  n.FreePercent = static_cast<double>(freeBytes) / kMemoryBytes * 100;
  return n;
}

}  // namespace kelpa
