// SPDX-License-Identifier: MIT
#include "timeline/timeline_recorder.h"

namespace kelpa {

TickSample TimelineRecorder::SampleTick(const Simulation& sim) {
  TickSample sample;
  const TCPU::CycleOutcome& cycle = sim.Cpu.LastCycle;
  if (cycle.Interrupt) {
    sample.Processor = ProcessorUse::Interrupt;
  } else if (cycle.Stepped) {
    sample.Processor = ProcessorUse::Process;
    sample.ProcessorPid = cycle.Pid;
    sample.ProcessorColor = cycle.Color;
  }
  if (!sim.Espera.WaitList.empty()) {
    const TProcesso* head = sim.Espera.WaitList.front();
    sample.DevicePid = head->PID;
    sample.DeviceColor = head->Color;
  }
  sample.Priorities.reserve(sim.Kernel.Processes.size());
  for (const auto& p : sim.Kernel.Processes) {
    sample.Priorities.emplace_back(p->PID, p->Priority);
  }
  return sample;
}

}  // namespace kelpa
