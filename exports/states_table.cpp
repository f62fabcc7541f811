// SPDX-License-Identifier: MIT
#include "exports/states_table.h"

#include "timeline/timeline_picture.h"

namespace kelpa {
// Appended rather than "P" + a number: GCC 12 warns falsely on that concatenation at -O3.
std::string ProcessColumn(std::int64_t number) {
  std::string name = "P";
  name += std::to_string(number);
  return name;
}

std::vector<std::string> StatesColumns(const Scenario* resolved) {
  std::vector<std::string> columns = {"tick"};
  if (resolved != nullptr) {
    for (const ScenarioProcess& p : resolved->Processes) {
      columns.push_back(ProcessColumn(p.Number));
    }
  }
  columns.emplace_back("cpu");
  return columns;
}

std::vector<std::string> StatesRow(std::int64_t tick, const std::vector<ProcessFigures>& processes,
                                   const TCPU::CycleOutcome& cycle) {
  std::vector<std::string> row;
  row.reserve(processes.size() + 2);
  row.push_back(std::to_string(tick));
  for (const ProcessFigures& f : processes) {
    row.emplace_back(StateCode(f.State));
  }
  row.push_back(ProcessorCode(cycle));
  return row;
}

void StatesTableRecorder::Begin(const RunHeader& header) {
  table_.Columns = StatesColumns(header.Resolved);
  table_.RightAligned = {true};
}

void StatesTableRecorder::Tick(std::int64_t tick, const std::vector<ProcessFigures>& processes,
                               const TCPU::CycleOutcome& cycle) {
  table_.Rows.push_back(StatesRow(tick, processes, cycle));
}

PrintTable StatesTableOf(const TimelineModel& model) {
  // Only the lanes that live in the ticks kept: a long session's processes ended before them
  // would be columns of nothing but "-".
  TimelineFrame kept;
  kept.First = model.FirstTick();
  kept.Last = model.Ticks() - 1;
  std::vector<const TimelineLane*> lanes;
  for (const std::size_t lane : LanesShown(model, kept)) {
    lanes.push_back(&model.Lanes()[lane]);
  }
  PrintTable table;
  table.Columns = {"tick"};
  for (const TimelineLane* lane : lanes) {
    table.Columns.push_back(ProcessColumn(lane->Number));
  }
  table.Columns.emplace_back("cpu");
  table.RightAligned = {true};
  for (std::int64_t tick = model.FirstTick(); tick < model.Ticks(); ++tick) {
    std::vector<std::string> row = {std::to_string(tick)};
    for (const TimelineLane* lane : lanes) {
      row.emplace_back(StateCode(TimelineModel::StateAt(*lane, tick)));
    }
    const auto run = TimelineModel::RunAt(model.Processor(), tick);
    const ProcessorUse use = run ? run->Use : ProcessorUse::Idle;
    row.push_back(use == ProcessorUse::Process     ? std::to_string(run->Pid)
                  : use == ProcessorUse::Interrupt ? "INT"
                                                   : "IDLE");
    table.Rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace kelpa
