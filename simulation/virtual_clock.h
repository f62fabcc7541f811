// SPDX-License-Identifier: MIT
// Virtual time: a clock that moves only when the run does, counted in whole milliseconds from
// 00:00:00:000. Runs driven by it are the same on every machine and every repetition.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace kelpa {

class VirtualClock final : public IClock {
 public:
  TDateTime Now() const override { return static_cast<double>(ms_) / kMsPerDay; }
  std::int64_t Ms() const { return ms_; }
  void SetMs(std::int64_t ms) { ms_ = ms; }

 private:
  std::int64_t ms_ = 0;
};

}  // namespace kelpa
