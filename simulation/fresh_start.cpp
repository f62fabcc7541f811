// SPDX-License-Identifier: MIT
// Simulation::ReturnToStart: a scenario opened in the windows, or replayed to go back, starts
// from the state of a new simulation without building one (the windows hold references to it).
#include "simulation/simulation.h"

namespace kelpa {

void Simulation::ReturnToStart() {
  Lock.AssertHeld();
  for (const auto& process : Kernel.Processes) {
    Display.ReleaseShape(process->Shape);
  }
  Cpu.RunningProcess = nullptr;
  Cpu.SliceCounter = 0;
  Cpu.SliceDue = false;
  Cpu.BusyTime = 0;
  Cpu.LastStamp = 0;
  Espera.Clear();
  for (auto& queue : Kernel.ReadyQueues) {
    queue.clear();
  }
  for (auto& queue : Kernel.InterruptQueues) {
    queue.clear();
  }
  Kernel.DispatchCount = 0;
  Kernel.TotalReadyWaitTime = 0;
  Kernel.Cycles = 0;
  // The memory manager's tables point at the processes: they go first, then the processes.
  Memoria.Clear();
  Kernel.Processes.clear();
  FinishedCount = 0;
  TotalTurnaroundTime = 0;
  StartTime = 0;
  Display.RedrawPageFile();
}

}  // namespace kelpa
