// SPDX-License-Identifier: MIT
#include "scenario/scenario_generator.h"

#include <random>

namespace kelpa {
namespace {

// A value in lo..hi (hi - lo below 2^32) from the generator's raw outputs, by rejection.
std::int64_t Draw(std::mt19937& generator, std::int64_t lo, std::int64_t hi) {
  constexpr std::uint64_t kOutputs = std::uint64_t{1} << 32;
  const auto count = static_cast<std::uint64_t>(hi - lo) + 1;
  const std::uint64_t limit = kOutputs - kOutputs % count;
  for (;;) {
    const std::uint64_t raw = generator();
    if (raw < limit) {
      return lo + static_cast<std::int64_t>(raw % count);
    }
  }
}

}  // namespace

std::vector<ScenarioProcess> DrawProcesses(const ScenarioDraw& draw, int firstNumber) {
  std::mt19937 generator(draw.Seed);
  std::vector<ScenarioProcess> processes;
  const auto lastKind = static_cast<std::int64_t>(draw.Kinds.size()) - 1;
  for (int i = 0; i < draw.Count && lastKind >= 0; ++i) {
    ScenarioProcess p;
    p.Number = firstNumber + i;
    p.Kind = draw.Kinds[static_cast<std::size_t>(Draw(generator, 0, lastKind))];
    p.Priority = static_cast<int>(Draw(generator, draw.PriorityMin, draw.PriorityMax));
    p.FrameLimit = static_cast<int>(Draw(generator, draw.FramesMin, draw.FramesMax));
    p.Arrival = Draw(generator, draw.ArrivalMin, draw.ArrivalMax);
    if (draw.Burst) {
      const auto burst = Draw(generator, draw.Burst->first, draw.Burst->second);
      p.Program.Codes.assign(static_cast<std::size_t>(burst), kCompute);
      p.Program.Repeats = false;
    }
    processes.push_back(std::move(p));
  }
  return processes;
}

}  // namespace kelpa
