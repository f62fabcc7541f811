// SPDX-License-Identifier: MIT
#include "simulation/scheduling_policy.h"

#include "simulation/process.h"

namespace kelpa {

int NextBurst(const TProcesso& p) {
  if (p.ProgramDone() || p.Length <= 0) {
    return 0;
  }
  int burst = 0;
  for (int pc = p.PC; burst < p.Length;) {
    ++burst;
    if (IsIoInstruction(p.Instructions[static_cast<std::size_t>(pc)])) {
      break;
    }
    if (++pc == p.Length) {
      if (!p.Repeats) {
        break;
      }
      pc = 0;
    }
  }
  return burst;
}

}  // namespace kelpa
