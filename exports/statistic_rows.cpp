// SPDX-License-Identifier: MIT
#include "exports/statistic_rows.h"

#include "exports/output_buffer.h"
#include "exports/run_figures.h"
#include "platform/ini_file.h"

namespace kelpa {
namespace {

std::optional<std::string> Fixed(const std::optional<double>& value, int decimals) {
  return value ? std::optional(FixedText(*value, decimals)) : std::nullopt;
}

}  // namespace

std::string StatisticText(const StatisticRow& row) {
  return row.Value ? *row.Value + (row.Percent ? "%" : "") : "-";
}

StatisticsCaptionTexts LoadStatisticsCaptions(bool fromFile) {
  StatisticsCaptionTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    texts[i] = kStatisticsCaptions[i].Caption;
  }
  if (fromFile) {
    const TIniFile ini(KelpaIniPath());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      texts[i] = ini.ReadString("STAT", kStatisticsCaptions[i].Label, texts[i]);
    }
  }
  for (std::string& text : texts) {
    text = std::string(TrimBlanks(text));
  }
  return texts;
}

std::vector<StatisticRow> StatisticRows(const StatisticsNumbers& n,
                                        const StatisticsCaptionTexts& captions) {
  const auto whole = [](std::int64_t value) { return std::optional(std::to_string(value)); };
  // Same order as kStatisticsCaptions.
  std::vector<StatisticRow> rows = {
      {"start_time", nullptr, VirtualTimeText(0, false), false},
      {"elapsed", nullptr, VirtualTimeText(SpanMs(n.ElapsedSpan), false), false},
      {"processes", nullptr, whole(n.Processes)},
      {"ready", nullptr, whole(n.Ready)},
      {"running", nullptr, whole(n.Running)},
      {"waiting", nullptr, whole(n.Waiting)},
      {"dispatches", nullptr, whole(n.Dispatches)},
      {"throughput", nullptr, Fixed(n.Throughput, 5)},
      {"turnaround_s", nullptr, Fixed(n.Turnaround, 2)},
      {"cpu_s", nullptr, whole(n.CpuSeconds)},
      {"cpu_use_percent", nullptr, Fixed(n.Utilisation, 2)},
      {"ready_wait_s", nullptr, Fixed(n.ReadyWaitTotal, 2)},
      {"ready_wait_mean_s", nullptr, Fixed(n.ReadyWaitMean, 2)},
      {"wait_per_dispatch_s", nullptr, Fixed(n.ReadyWaitPerDispatch, 2)},
      {"memory_bytes", nullptr, whole(n.MemorySize)},
      {"memory_in_use_bytes", nullptr, whole(n.MemoryInUse)},
      {"free_percent", nullptr, FixedText(n.FreePercent, 0), true, true},
      {"page_faults", nullptr, whole(n.PageFaults)},
      {"page_faults_per_s", nullptr, Fixed(n.PageFaultRate, 2)},
      {"hard_faults", nullptr, whole(n.HardFaults)},
      {"soft_faults", nullptr, whole(n.SoftFaults)},
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i].Caption = &captions[i];
  }
  return rows;
}

}  // namespace kelpa
