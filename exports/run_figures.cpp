// SPDX-License-Identifier: MIT
#include "exports/run_figures.h"

#include <cmath>

#include "platform/datetime.h"
#include "scenario/scenario_values.h"

namespace kelpa {

std::string_view StateCode(std::optional<ProcessState> state) {
  static constexpr std::array<std::string_view, kStateCount> kCodes = {
      "RDY", "RDY_OUT", "RUN", "IO", "IO_OUT", "SUSP", "SUSP_OUT", "PF", "PF_OUT"};
  const auto index = state ? static_cast<std::size_t>(*state) : kCodes.size();
  return index < kCodes.size() ? kCodes[index] : "-";
}

std::string_view KindName(int kind) {
  return kind >= 0 && kind < static_cast<int>(std::size(kScenarioKindNames))
             ? kScenarioKindNames[static_cast<std::size_t>(kind)]
             : "?";
}

std::string ProcessorCode(const TCPU::CycleOutcome& cycle) {
  if (cycle.Interrupt) {
    switch (cycle.Served) {
      case InterruptPreemption:
        return "INT_PREEMPT";
      case InterruptTimeSlice:
        return "INT_SLICE";
      case InterruptPageFault:
        return "INT_PF";
      case InterruptNone:
        break;
    }
  }
  return cycle.Stepped ? std::to_string(cycle.Pid) : "IDLE";
}

std::string_view EventName(EventKind kind) {
  static constexpr std::array<std::string_view, 36> kNames = {"StateChanged",
                                                              "Created",
                                                              "CreationFailed",
                                                              "Eliminated",
                                                              "TimesReported",
                                                              "Dispatched",
                                                              "StartedIO",
                                                              "Preempted",
                                                              "SliceEnded",
                                                              "PageFaultRaised",
                                                              "Suspended",
                                                              "PriorityRaised",
                                                              "PriorityCapped",
                                                              "PreemptedForShorter",
                                                              "ChosenFirstCome",
                                                              "ChosenInTurn",
                                                              "ChosenShortestBurst",
                                                              "ChosenShortestRemaining",
                                                              "ChosenTopLevel",
                                                              "LevelLowered",
                                                              "HardFaultFromImage",
                                                              "SoftFaultFromFreeList",
                                                              "SoftFaultFromModifiedList",
                                                              "HardFaultFromPageFile",
                                                              "NoFreeFrame",
                                                              "PageFileReserved",
                                                              "PageFileReleased",
                                                              "SwapInStarted",
                                                              "SwapInPageRead",
                                                              "SwapInFinished",
                                                              "SwappedOut",
                                                              "PageReplaced",
                                                              "FreeFramesLow",
                                                              "ModifiedListWritten",
                                                              "SwapStarted",
                                                              "LevelsBoosted"};
  static_assert(static_cast<std::size_t>(EventKind::LevelsBoosted) + 1 == kNames.size());
  const auto index = static_cast<std::size_t>(kind);
  return index < kNames.size() ? kNames[index] : "?";
}

}  // namespace kelpa
