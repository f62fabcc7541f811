// SPDX-License-Identifier: MIT
// The live program's clock: the host's time until a scenario is opened, then the virtual time
// its run drives. Everything that reads "now" (log stamps, process times, the statistics) follows
// the switch, so a scenario played in the windows logs the times the runner prints.
#pragma once

#include <atomic>
#include <memory>

#include "platform/clock.h"
#include "simulation/virtual_clock.h"

namespace kelpa {

class SwitchableClock final : public IClock {
 public:
  explicit SwitchableClock(std::unique_ptr<IClock> real) : real_(std::move(real)) {}

  TDateTime Now() const override {
    return virtualTime_.load(std::memory_order_acquire) ? virtual_.Now() : real_->Now();
  }
  // The virtual clock is set only by the thread that drives the run, with the simulation's
  // threads parked, so it needs no lock of its own.
  void UseVirtualTime(bool on) { virtualTime_.store(on, std::memory_order_release); }
  bool VirtualTime() const { return virtualTime_.load(std::memory_order_acquire); }
  VirtualClock& Virtual() { return virtual_; }

 private:
  std::unique_ptr<IClock> real_;
  VirtualClock virtual_;
  std::atomic<bool> virtualTime_{false};
};

}  // namespace kelpa
