// SPDX-License-Identifier: MIT
// Each process's life counted in ticks, as the textbooks tabulate it: arrival, first dispatch,
// end, ticks in each state, references and faults. A tick counts in the state a process ended it
// in; the ticks are the TickEnded events seen (a scenario's ticks, or the live processor's
// cycles), so the runner and the windows count alike.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulation/process_state.h"
#include "simulation/sim_event.h"

namespace kelpa {

class Simulation;
struct TMessages;

struct ProcessTicks {
  std::int32_t Pid = 0;  // once created
  bool Created = false;
  bool Refused = false;  // the page file had no room for it
  bool Ended = false;
  std::optional<ProcessState> State;                // while it lives
  std::array<std::int64_t, kStateCount> TicksIn{};  // ticks that ended with it in each state
  std::int64_t Arrival = 0;                         // the tick it was created in
  std::optional<std::int64_t> FirstRun;             // the tick it was first dispatched in
  std::optional<std::int64_t> End;                  // the tick it ended in
  std::int64_t References = 0;
  std::int64_t Faults = 0;  // pages its references brought in (hard and soft)
};

// The figures made from the counts.
std::int64_t CpuTicks(const ProcessTicks& p);      // ticks ended running
std::int64_t WaitingTicks(const ProcessTicks& p);  // ticks ended ready, in memory or out
std::optional<std::int64_t> TurnaroundTicks(const ProcessTicks& p);  // End - Arrival
std::optional<std::int64_t> ResponseTicks(const ProcessTicks& p);    // FirstRun - Arrival
// (references - faults) / references; none without a reference.
std::optional<double> HitRatio(std::int64_t references, std::int64_t faults);

// The means over the ended processes (response over those of them that were dispatched), and
// the references and faults of every process, ended or not.
struct TickSummary {
  int Ended = 0;
  std::optional<double> CpuTicks;
  std::optional<double> Turnaround;
  std::optional<double> Waiting;
  std::optional<double> Response;
  std::int64_t References = 0;
  std::int64_t Faults = 0;
  std::optional<double> HitRatio;
};
TickSummary SummariseTicks(const std::vector<const ProcessTicks*>& processes);

// One figure as the formats write it: a stable key, the catalogue's caption, and the value with
// '.' decimals (none: it has none yet, as the end of a live process).
struct TickField {
  std::string_view Key;
  const std::string* Caption = nullptr;
  std::optional<std::string> Value;
};
// arrival, first_run, end, cpu_ticks, turnaround, waiting, response, references, faults,
// hit_ratio (a fraction, four decimals); every one none for a process never created.
std::vector<TickField> ProcessTickFields(const ProcessTicks& p, const TMessages& msg);
// mean_cpu_ticks, mean_turnaround, mean_waiting, mean_response (two decimals) and ended, then
// total_references, total_faults and total_hit_ratio of every process.
std::vector<TickField> SummaryTickFields(const TickSummary& s, const TMessages& msg);
inline constexpr std::size_t kSummaryMeans = 4;  // the first four summary fields are means

// Follows the events (with the simulation lock held, as they come) and counts each process's
// ticks. Where each created process is kept is up to the owner (place: the next one created or
// refused, null to leave it out); a kept record must stay where it is while the process lives.
class ProcessTickFollower {
 public:
  using Place = std::function<ProcessTicks*()>;
  explicit ProcessTickFollower(Place place) : place_(std::move(place)) {}

  void Report(const SimEvent& event);
  // The ticks ended so far.
  std::int64_t Tick() const { return tick_; }
  // Brings the live processes' counts up to the ticks ended so far and reads their references
  // from sim (its lock held).
  void CountLive(const Simulation& sim);
  // A run started again from its first tick (a scenario opened or replayed): nobody is followed.
  void Restart();

 private:
  struct Live {
    std::int32_t Pid = 0;
    ProcessTicks* Record = nullptr;
    std::int64_t Since = 0;  // the first tick of its present state
  };
  void CountTicks(Live& live);

  Place place_;
  std::int64_t tick_ = 0;
  std::vector<Live> live_;
};

// Every process of a run, in the order of creation: what the windows show.
class ProcessTickLog final : public IEventSink {
 public:
  ProcessTickLog() : follower_([this] { return &processes_.emplace_back(); }) {}
  ProcessTickLog(const ProcessTickLog&) = delete;
  ProcessTickLog& operator=(const ProcessTickLog&) = delete;

  void Report(const SimEvent& event) override { follower_.Report(event); }
  void Restart() {
    follower_.Restart();
    processes_.clear();
  }
  // A copy of the created processes, their counts brought up to now (sim's lock held).
  std::vector<ProcessTicks> Read(const Simulation& sim);

 private:
  std::deque<ProcessTicks> processes_;  // a deque keeps each record where it is as it grows
  ProcessTickFollower follower_;
};

}  // namespace kelpa
