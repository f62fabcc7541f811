// SPDX-License-Identifier: MIT
#include "simulation/run_options.h"

#include <algorithm>

#include "platform/ini_text.h"

namespace kelpa {
namespace {

using enum OptionId;
using enum OptionKind;
using enum OptionSection;

constexpr OptionRow FlagRow(OptionId id, OptionSection section, std::string_view key,
                            std::string_view json, OptionKind kind, bool byDefault,
                            bool keptInSettings, bool RunOptions::*member) {
  return {id, section,           key,  json,           kind,   0,
          1,  byDefault ? 1 : 0, true, keptInSettings, member, nullptr};
}

constexpr OptionRow NumberRow(OptionId id, OptionSection section, std::string_view key,
                              std::string_view json, int min, int max, int byDefault,
                              bool changeable, bool keptInSettings, int RunOptions::*member) {
  return {id,  section,   key,        json,           Number,  min,
          max, byDefault, changeable, keptInSettings, nullptr, member};
}

// A number that came after the file formats were fixed: written into them only when not at its
// default.
constexpr OptionRow LaterNumberRow(OptionId id, OptionSection section, std::string_view key,
                                   std::string_view json, int min, int max, int byDefault,
                                   int RunOptions::*member) {
  OptionRow row = NumberRow(id, section, key, json, min, max, byDefault, true, false, member);
  row.QuietAtDefault = true;
  return row;
}

// One of names, the first by default. A choice came after the file formats were fixed, so it is
// written into them only when not at its default.
constexpr OptionRow ChoiceRow(OptionId id, OptionSection section, std::string_view key,
                              std::string_view json, std::span<const std::string_view> names,
                              bool changeable, bool keptInSettings, int RunOptions::*member) {
  return {id,
          section,
          key,
          json,
          Choice,
          0,
          static_cast<int>(names.size()) - 1,
          0,
          changeable,
          keptInSettings,
          nullptr,
          member,
          names,
          true};
}

}  // namespace

const std::array<OptionRow, kOptionCount> kOptionTable = {{
    FlagRow(Preemption, Global, "PREEMPCAO", "preemption", Flag, true, true,
            &RunOptions::Preemption),
    FlagRow(DynamicPriority, Global, "PRIORIDADE_DINAMICA", "dynamic_priority", Flag, true, true,
            &RunOptions::DynamicPriority),
    NumberRow(RealTimeThreshold, Global, "TEMPO_REAL", "real_time_threshold", 0, 16, 8, true, true,
              &RunOptions::RealTimeThreshold),
    NumberRow(SlicePosition, Global, "FATIA", "slice_position", 1, 10, 1, true, false,
              &RunOptions::SlicePosition),
    NumberRow(ClockPosition, Global, "RELOGIO", "clock_position", 1, 10, 1, false, false,
              &RunOptions::ClockPosition),
    NumberRow(IoWaitPosition, Global, "ESPERA_IO", "io_wait_position", 1, 10, 10, true, false,
              &RunOptions::IoWaitPosition),
    FlagRow(AnticipatedFetch, Memory, "BUSCA", "anticipated_fetch", Fetch, true, false,
            &RunOptions::AnticipatedFetch),
    FlagRow(FrameLimitEnabled, Memory, "LIMITE_FRAMES", "frame_limit_enabled", Flag, true, false,
            &RunOptions::FrameLimitEnabled),
    NumberRow(MinFreePercent, Memory, "MIN_LIVRES", "min_free_percent", 0, 100, 80, true, false,
              &RunOptions::MinFreePercent),
    ChoiceRow(Replacement, Memory, "SUBSTITUICAO", "replacement", kReplacementNames, true, false,
              &RunOptions::Replacement),
    ChoiceRow(Scheduler, Global, "ESCALONADOR", "scheduler", kSchedulerNames, true, false,
              &RunOptions::Scheduler),
    LaterNumberRow(MlfqLevels, Global, "MLFQ_NIVEIS", "mlfq_levels", 1, 16, 3,
                   &RunOptions::MlfqLevels),
    LaterNumberRow(MlfqAllotment, Global, "MLFQ_COTA", "mlfq_allotment", 1, 100, 4,
                   &RunOptions::MlfqAllotment),
    LaterNumberRow(MlfqBoostPeriod, Global, "MLFQ_IMPULSO", "mlfq_boost_period", 0, 1000, 0,
                   &RunOptions::MlfqBoostPeriod),
}};

int OptionRow::Get(const RunOptions& o) const {
  return FlagMember != nullptr ? static_cast<int>(o.*FlagMember) : o.*NumberMember;
}

void OptionRow::Set(RunOptions& o, int value) const {
  if (FlagMember != nullptr) {
    o.*FlagMember = value != 0;
  } else {
    o.*NumberMember = value;
  }
}

const OptionRow& RowOf(OptionId id) {
  return kOptionTable[static_cast<std::size_t>(id)];
}

const OptionRow* RowOfKey(std::string_view key) {
  const auto row = std::find_if(kOptionTable.begin(), kOptionTable.end(),
                                [key](const OptionRow& r) { return r.Key == key; });
  return row == kOptionTable.end() ? nullptr : &*row;
}

std::string_view SectionName(OptionSection section) {
  return section == Global ? "GLOBAL" : "MEMORIA";
}

std::string OptionText(const OptionRow& row, int value) {
  switch (row.Kind) {
    case Flag:
      return value != 0 ? "1" : "0";
    case Fetch:
      return value != 0 ? "ANTECIPADA" : "DEMANDA";
    case Choice:
      if (value >= 0 && value < static_cast<int>(row.Names.size())) {
        return std::string(row.Names[static_cast<std::size_t>(value)]);
      }
      break;
    case Number:
      break;
  }
  return std::to_string(value);
}

std::optional<int> ChoiceOf(const OptionRow& row, std::string_view name) {
  const auto found =
      std::find_if(row.Names.begin(), row.Names.end(),
                   [name](std::string_view candidate) { return SameName(candidate, name); });
  return found == row.Names.end() ? std::nullopt
                                  : std::optional<int>(static_cast<int>(found - row.Names.begin()));
}

int QuantumOf(int position) {
  return 1000 * position;
}

int SlicePositionOf(int quantum) {
  return std::clamp(quantum / 1000, 1, 10);
}

int ClockPeriodMs(int position) {
  return 1100 - 100 * position;
}

int WaitPasses(int position) {
  return 10 * position;
}

int ClockPositionOf(int periodMs) {
  return std::clamp((1100 - periodMs) / 100, 1, 10);
}

int WaitPositionOf(int passes) {
  return std::clamp(passes / 10, 1, 10);
}

int RunOptions::ClockPeriodMs() const {
  return kelpa::ClockPeriodMs(ClockPosition);
}

int RunOptions::WaitLength() const {
  return WaitPasses(IoWaitPosition);
}

bool OptionSet::Empty() const {
  return std::none_of(values_.begin(), values_.end(), [](const auto& v) { return v.has_value(); });
}

}  // namespace kelpa
