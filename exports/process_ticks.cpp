// SPDX-License-Identifier: MIT
#include "exports/process_ticks.h"

#include <algorithm>

#include "catalogue/messages.h"
#include "exports/output_buffer.h"
#include "simulation/simulation.h"

namespace kelpa {
namespace {

// A page brought in for a reference of the process. The pages loaded as a process is created come
// before its creation event, and those read back at a swap-in are no fault of a reference.
bool IsFault(EventKind kind) {
  return kind == EventKind::HardFaultFromImage || kind == EventKind::SoftFaultFromFreeList ||
         kind == EventKind::SoftFaultFromModifiedList || kind == EventKind::HardFaultFromPageFile;
}

std::optional<double> Mean(std::int64_t sum, int count) {
  return count > 0 ? std::optional(static_cast<double>(sum) / count) : std::nullopt;
}

std::optional<std::string> Whole(std::optional<std::int64_t> value) {
  return value ? std::optional(std::to_string(*value)) : std::nullopt;
}

std::optional<std::string> Decimals(std::optional<double> value, int decimals) {
  return value ? std::optional(FixedText(*value, decimals)) : std::nullopt;
}

}  // namespace

std::int64_t CpuTicks(const ProcessTicks& p) {
  return p.TicksIn[static_cast<std::size_t>(psRunning)];
}

std::int64_t WaitingTicks(const ProcessTicks& p) {
  // A ready process swapped out stays in its ready queue, to be brought back as it is dispatched.
  return p.TicksIn[static_cast<std::size_t>(psReady)] +
         p.TicksIn[static_cast<std::size_t>(psReadyOut)];
}

std::optional<std::int64_t> TurnaroundTicks(const ProcessTicks& p) {
  return p.End ? std::optional(*p.End - p.Arrival) : std::nullopt;
}

std::optional<std::int64_t> ResponseTicks(const ProcessTicks& p) {
  return p.FirstRun ? std::optional(*p.FirstRun - p.Arrival) : std::nullopt;
}

std::optional<double> HitRatio(std::int64_t references, std::int64_t faults) {
  return references > 0 ? std::optional(static_cast<double>(references - faults) /
                                        static_cast<double>(references))
                        : std::nullopt;
}

TickSummary SummariseTicks(const std::vector<const ProcessTicks*>& processes) {
  TickSummary s;
  std::int64_t cpu = 0;
  std::int64_t turnaround = 0;
  std::int64_t waiting = 0;
  std::int64_t response = 0;
  int responded = 0;
  for (const ProcessTicks* p : processes) {
    s.References += p->References;
    s.Faults += p->Faults;
    if (!p->Ended) {
      continue;
    }
    s.Ended += 1;
    cpu += CpuTicks(*p);
    turnaround += TurnaroundTicks(*p).value_or(0);
    waiting += WaitingTicks(*p);
    if (const auto r = ResponseTicks(*p)) {
      response += *r;
      responded += 1;
    }
  }
  s.CpuTicks = Mean(cpu, s.Ended);
  s.Turnaround = Mean(turnaround, s.Ended);
  s.Waiting = Mean(waiting, s.Ended);
  s.Response = Mean(response, responded);
  s.HitRatio = HitRatio(s.References, s.Faults);
  return s;
}

std::vector<TickField> ProcessTickFields(const ProcessTicks& p, const TMessages& msg) {
  std::vector<TickField> fields = {
      {"arrival", &msg.MsgTicksChegada, std::to_string(p.Arrival)},
      {"first_run", &msg.MsgTicksDespacho, Whole(p.FirstRun)},
      {"end", &msg.MsgTicksFim, Whole(p.End)},
      {"cpu_ticks", &msg.MsgTicksUcp, std::to_string(CpuTicks(p))},
      {"turnaround", &msg.MsgTicksRetorno, Whole(TurnaroundTicks(p))},
      {"waiting", &msg.MsgTicksEspera, std::to_string(WaitingTicks(p))},
      {"response", &msg.MsgTicksResposta, Whole(ResponseTicks(p))},
      {"references", &msg.MsgTicksReferencias, std::to_string(p.References)},
      {"faults", &msg.MsgTicksFalhas, std::to_string(p.Faults)},
      {"hit_ratio", &msg.MsgTicksAcerto, Decimals(HitRatio(p.References, p.Faults), 4)}};
  if (!p.Created) {
    for (TickField& field : fields) {
      field.Value.reset();
    }
  }
  return fields;
}

std::vector<TickField> SummaryTickFields(const TickSummary& s, const TMessages& msg) {
  return {{"mean_cpu_ticks", &msg.MsgTicksUcp, Decimals(s.CpuTicks, 2)},
          {"mean_turnaround", &msg.MsgTicksRetorno, Decimals(s.Turnaround, 2)},
          {"mean_waiting", &msg.MsgTicksEspera, Decimals(s.Waiting, 2)},
          {"mean_response", &msg.MsgTicksResposta, Decimals(s.Response, 2)},
          {"ended", &msg.MsgTicksTerminados, std::to_string(s.Ended)},
          {"total_references", &msg.MsgTicksReferencias, std::to_string(s.References)},
          {"total_faults", &msg.MsgTicksFalhas, std::to_string(s.Faults)},
          {"total_hit_ratio", &msg.MsgTicksAcerto, Decimals(s.HitRatio, 4)}};
}

void ProcessTickFollower::CountTicks(Live& live) {
  ProcessTicks& p = *live.Record;
  if (p.State) {
    p.TicksIn[static_cast<std::size_t>(*p.State)] += tick_ - live.Since;
  }
  live.Since = tick_;
}

void ProcessTickFollower::Report(const SimEvent& event) {
  if (event.Kind == EventKind::TickEnded) {
    ++tick_;
    return;
  }
  if (IsControlEvent(event.Kind)) {
    return;
  }
  if (event.Kind == EventKind::Created || event.Kind == EventKind::CreationFailed) {
    ProcessTicks* p = place_();
    if (p == nullptr) {
      return;
    }
    if (event.Kind == EventKind::CreationFailed) {
      p->Refused = true;
      return;
    }
    p->Created = true;
    p->Pid = event.Pid;
    p->State = event.To;
    p->Arrival = tick_;
    live_.push_back({event.Pid, p, tick_});
    return;
  }
  if (!AboutAProcess(event.Kind)) {
    return;
  }
  // No two live processes share an identifier, and there are at most twenty of them.
  const auto found = std::find_if(live_.begin(), live_.end(),
                                  [&](const Live& live) { return live.Pid == event.Pid; });
  if (found == live_.end()) {
    return;
  }
  ProcessTicks& p = *found->Record;
  if (event.Kind == EventKind::StateChanged) {
    CountTicks(*found);
    p.State = event.To;
  } else if (event.Kind == EventKind::Dispatched) {
    if (!p.FirstRun) {
      p.FirstRun = tick_;
    }
  } else if (IsFault(event.Kind)) {
    p.Faults += 1;
  } else if (event.Kind == EventKind::TimesReported) {
    CountTicks(*found);
    p.Ended = true;
    p.State.reset();
    p.End = tick_;
    p.References = event.References;
    live_.erase(found);
  }
}

void ProcessTickFollower::CountLive(const Simulation& sim) {
  for (Live& live : live_) {
    CountTicks(live);
    if (const TProcesso* p = sim.Kernel.FindByPID(live.Pid)) {
      live.Record->References = p->References;
    }
  }
}

void ProcessTickFollower::Restart() {
  tick_ = 0;
  live_.clear();
}

std::vector<ProcessTicks> ProcessTickLog::Read(const Simulation& sim) {
  follower_.CountLive(sim);
  std::vector<ProcessTicks> created;
  for (const ProcessTicks& p : processes_) {
    if (p.Created) {
      created.push_back(p);
    }
  }
  return created;
}

}  // namespace kelpa
