// SPDX-License-Identifier: MIT
// The simulation's one way in: options, hand actions, run/stop and a step, each reported.
#include <algorithm>
#include <mutex>

#include "simulation/live_step.h"
#include "simulation/process.h"
#include "simulation/simulation.h"

namespace kelpa {
namespace {

template <typename... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};

}  // namespace

ShapeId Simulation::Apply(const Command& command) {
  return std::visit(Overloaded{[this](const SetRunning& run) -> ShapeId {
                                 std::lock_guard lock(Lock);
                                 if (run.Running) {
                                   StopRunEvent.Set();
                                 } else {
                                   StopRunEvent.Reset();
                                 }
                                 return 0;
                               },
                               [this](const StepOneTick&) -> ShapeId {
                                 StepLiveTick(*this);
                                 return 0;
                               },
                               [this, &command](const auto&) -> ShapeId {
                                 std::lock_guard lock(Lock);
                                 return ApplyLocked(command);
                               }},
                    command);
}

ShapeId Simulation::ApplyLocked(const Command& command) {
  Lock.AssertHeld();
  if (const auto* option = std::get_if<SetOption>(&command)) {
    SetOptionLocked(*option);
    return 0;
  }
  if (const auto* action = std::get_if<HandAction>(&command)) {
    return TakeHandActionLocked(*action);
  }
  return 0;
}

void Simulation::SetOptionLocked(const SetOption& option) {
  // Every reader of options keeps them in range; a value from elsewhere is brought into it.
  const OptionRow& row = RowOf(option.Option);
  const int value = std::clamp(option.Value, row.Min, row.Max);
  switch (option.Option) {
    case OptionId::Preemption:
      Settings.PreemptionEnabled = value != 0;
      break;
    case OptionId::DynamicPriority:
      Settings.DynamicPriorityEnabled = value != 0;
      break;
    case OptionId::RealTimeThreshold:
      Settings.RealTimeThreshold = value;
      break;
    case OptionId::SlicePosition:
      Kernel.Quantum = QuantumOf(value);
      break;
    case OptionId::ClockPosition:
      HClock.Period = ClockPeriodMs(value);
      HClock.PeriodChanged();
      break;
    case OptionId::IoWaitPosition:
      Espera.SetWaitLength(WaitPasses(value));
      break;
    case OptionId::AnticipatedFetch:
      Memoria.AnticipatedFetch = value != 0;
      break;
    case OptionId::FrameLimitEnabled:
      Memoria.FrameLimitEnabled = value != 0;
      break;
    case OptionId::MinFreePercent:
      Memoria.MinFreePercent = value;
      break;
    case OptionId::Replacement:
      Memoria.Replacement = static_cast<ReplacementPolicy>(value);
      break;
    case OptionId::Scheduler:
      Kernel.SetPolicy(static_cast<SchedulingPolicy>(value));
      break;
    case OptionId::MlfqLevels:
      Kernel.SetMlfqLevels(value);
      break;
    case OptionId::MlfqAllotment:
      Kernel.Mlfq.Allotment = value;
      break;
    case OptionId::MlfqBoostPeriod:
      Kernel.Mlfq.BoostPeriod = value;
      break;
  }
  if (Listened()) {
    SimEvent event;
    event.Kind = EventKind::OptionChanged;
    event.Page = static_cast<int>(option.Option);
    event.Value = value;
    Report(event);
  }
}

RunOptions Simulation::Options() const {
  Lock.AssertHeld();
  RunOptions o;
  o.Preemption = Settings.PreemptionEnabled.load();
  o.DynamicPriority = Settings.DynamicPriorityEnabled.load();
  o.RealTimeThreshold = Settings.RealTimeThreshold.load();
  o.SlicePosition = SlicePositionOf(Kernel.Quantum.load());
  o.ClockPosition = ClockPositionOf(HClock.Period.load());
  o.IoWaitPosition = WaitPositionOf(Espera.WaitLength());
  o.AnticipatedFetch = Memoria.AnticipatedFetch;
  o.FrameLimitEnabled = Memoria.FrameLimitEnabled;
  o.MinFreePercent = Memoria.MinFreePercent;
  o.Replacement = static_cast<int>(Memoria.Replacement);
  o.Scheduler = static_cast<int>(Kernel.Policy);
  o.MlfqLevels = Kernel.Mlfq.Levels;
  o.MlfqAllotment = Kernel.Mlfq.Allotment;
  o.MlfqBoostPeriod = Kernel.Mlfq.BoostPeriod;
  return o;
}

ShapeId Simulation::TakeHandActionLocked(const HandAction& action) {
  TProcesso* p = nullptr;
  if (action.Kind == HandActionKind::Create) {
    p = AddNewProcess(*this, action.ProcessKind, action.Priority, action.FrameLimit, action.Color,
                      action.Program);
    if (p == nullptr && ShuttingDown()) {
      return 0;
    }
  } else {
    p = Kernel.FindByShape(action.Shape);
    if (p == nullptr) {
      return 0;  // ended meanwhile: nothing was asked
    }
    TakeRequest(*this, *p, action.Kind, action.Priority);
  }
  lastHand_ = action;
  lastHand_.Shape = p != nullptr ? p->Shape : 0;
  if (Listened()) {
    SimEvent event;
    event.Kind = EventKind::HandActionTaken;
    event.Pid = p != nullptr ? p->PID : 0;
    event.Color = action.Color;
    event.Value = static_cast<int>(action.Kind);
    Report(event);
  }
  return lastHand_.Shape;
}

}  // namespace kelpa
