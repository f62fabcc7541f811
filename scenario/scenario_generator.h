// SPDX-License-Identifier: MIT
// Drawing processes for a [GERAR] section: the same seed and ranges give the same processes with
// every standard library, so each student can get a variant of one exercise by its seed.
//
// The generator is std::mt19937 seeded with the seed. A value in LO..HI is drawn from its raw
// 32-bit outputs by rejection: with n = HI - LO + 1, an output r is taken when it is below
// 2^32 - (2^32 mod n), giving LO + r mod n; otherwise the next output is tried. Per process, in
// order: its kind (an index into the kind list), its priority, its frame limit, its arrival tick
// and, only when a burst range is given, its burst (so that the other draws stay as they were).
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "scenario/scenario.h"

namespace kelpa {

struct ScenarioDraw {
  std::uint32_t Seed = 0;
  int Count = 1;
  std::vector<int> Kinds = {0, 1, 2, 3, 4, 5};  // drawn from with equal chance each
  int PriorityMin = 0;
  int PriorityMax = 15;
  int FramesMin = 1;
  int FramesMax = 5;
  std::int64_t ArrivalMin = 0;
  std::int64_t ArrivalMax = 0;
  // A job of that many compute instructions that ends after them, instead of the kind's program.
  std::optional<std::pair<int, int>> Burst;
};

// Count processes numbered firstNumber, firstNumber + 1, ...; their colours are left for the
// reader to give by position.
std::vector<ScenarioProcess> DrawProcesses(const ScenarioDraw& draw, int firstNumber);

}  // namespace kelpa
