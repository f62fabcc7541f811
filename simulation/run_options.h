// SPDX-License-Identifier: MIT
// The options of a run, described once. Every reader and writer of options (scenario files and
// their changes, command-line overrides, the runner's headers, kelpa.ini, the option windows)
// walks the one table below, so a new option is one row here plus the code that uses it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kelpa {

enum class OptionId : std::uint8_t {
  Preemption,
  DynamicPriority,
  RealTimeThreshold,
  SlicePosition,
  ClockPosition,
  IoWaitPosition,
  AnticipatedFetch,
  FrameLimitEnabled,
  MinFreePercent,
  Replacement,
  Scheduler,
  MlfqLevels,
  MlfqAllotment,
  MlfqBoostPeriod,
};
inline constexpr std::size_t kOptionCount = 14;

// The page replacement policies, in the order of their names.
enum class ReplacementPolicy : std::uint8_t { Fifo, Lru, SecondChance, Optimal };
inline constexpr std::string_view kReplacementNames[] = {"FIFO", "LRU", "SEGUNDA_CHANCE", "OTIMA"};
// The scheduling policies, in SchedulingPolicy's order: the priority kernel first.
inline constexpr std::string_view kSchedulerNames[] = {"PRIORIDADE", "FCFS", "RR",
                                                       "SJF",        "SRTF", "MLFQ"};

// Every option of a run, the three speed controls by their track-bar positions (1..10).
struct RunOptions {
  // Scheduling.
  bool Preemption = true;
  bool DynamicPriority = true;
  int RealTimeThreshold = 8;  // 0..16
  int SlicePosition = 1;      // the time slice, in instructions
  int ClockPosition = 1;      // see ClockPeriodMs
  int IoWaitPosition = 10;    // see WaitPasses
  int Scheduler = 0;          // a SchedulingPolicy
  // The multi-level feedback queue's rules (see MlfqRules).
  int MlfqLevels = 3;
  int MlfqAllotment = 4;
  int MlfqBoostPeriod = 0;
  // Memory.
  bool AnticipatedFetch = true;
  bool FrameLimitEnabled = true;
  int MinFreePercent = 80;  // 0..100
  int Replacement = 0;      // a ReplacementPolicy
  friend bool operator==(const RunOptions&, const RunOptions&) = default;

  int ClockPeriodMs() const;
  int WaitLength() const;
};

// How an option's value is written: "0"/"1", a decimal number, ANTECIPADA/DEMANDA, or one of the
// row's names (the value is the name's index).
enum class OptionKind : std::uint8_t { Flag, Number, Fetch, Choice };

// The section of scenario files that holds an option.
enum class OptionSection : std::uint8_t { Global, Memory };

struct OptionRow {
  OptionId Id;
  OptionSection Section;
  std::string_view Key;   // in scenario files, their changes, --set and kelpa.ini
  std::string_view Json;  // in the runner's JSON header and changes
  OptionKind Kind;
  int Min;
  int Max;
  int Default;
  // Whether the option may change while a run goes on (by hand, or a scenario's change); the
  // clock sets the length of every tick, so it cannot.
  bool Changeable;
  // Whether kelpa.ini's [GLOBAL] keeps it between sessions.
  bool KeptInSettings;
  // The member of RunOptions that holds it: a flag (Flag, Fetch) or a number.
  bool RunOptions::*FlagMember = nullptr;
  int RunOptions::*NumberMember = nullptr;
  // The names of a Choice, value 0 first; empty for the other kinds.
  std::span<const std::string_view> Names = {};
  // Written into scenario files, traces and headers only when not at its default: an option that
  // came after those formats leaves the files of runs that do not use it as they were.
  bool QuietAtDefault = false;

  int Get(const RunOptions& o) const;
  void Set(RunOptions& o, int value) const;
};

extern const std::array<OptionRow, kOptionCount> kOptionTable;

const OptionRow& RowOf(OptionId id);
// The row of a scenario key (upper case, as written); none for a key that is no option.
const OptionRow* RowOfKey(std::string_view key);
std::string_view SectionName(OptionSection section);  // "GLOBAL", "MEMORIA"

// How scenario files and kelpa.ini write a value of the row: "0"/"1", the number,
// ANTECIPADA/DEMANDA, or the choice's name.
std::string OptionText(const OptionRow& row, int value);
// The index of a Choice's name (any ASCII case); none for a name the row does not have.
// Whether the files that list every option list this one at that value (see QuietAtDefault).
inline bool OptionListed(const OptionRow& row, int value) {
  return !row.QuietAtDefault || value != row.Default;
}
std::optional<int> ChoiceOf(const OptionRow& row, std::string_view name);

// What the core runs with, from the track-bar positions, and back (clamped to 1..10).
int QuantumOf(int position);      // TKernel::Quantum: 1000 x position (the slice in instructions)
int ClockPeriodMs(int position);  // THClock::Period: 1100 - 100 x position
int WaitPasses(int position);     // the wait length: 10 x position
int SlicePositionOf(int quantum);
int ClockPositionOf(int periodMs);
int WaitPositionOf(int passes);

// Some options, each given or not: a change of options.
class OptionSet {
 public:
  void Set(OptionId id, int value) { values_[Index(id)] = value; }
  void Clear(OptionId id) { values_[Index(id)].reset(); }
  std::optional<int> Get(OptionId id) const { return values_[Index(id)]; }
  bool Empty() const;
  friend bool operator==(const OptionSet&, const OptionSet&) = default;

 private:
  static std::size_t Index(OptionId id) { return static_cast<std::size_t>(id); }
  std::array<std::optional<int>, kOptionCount> values_{};
};

}  // namespace kelpa
