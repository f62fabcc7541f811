// SPDX-License-Identifier: MIT
// The simulation's display, which a jump of a scenario's run (replaying thousands of ticks to go
// back, or running on to a later tick) sets aside: shown, every request of every tick would be
// queued to the user-interface thread, which would then spend seconds catching up with pictures
// nobody sees. Meanwhile the requests go to a display that shows nothing, and what the windows
// would show after them is kept: each disc with its process, whether it is on the window, and
// where it was last put. Shown again, the display is told that state once.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "simulation/display.h"

namespace kelpa {

class Simulation;

class SwitchableDisplay final : public IDisplay {
 public:
  explicit SwitchableDisplay(IDisplay& shown) : shown_(shown) {}

  // From now on nothing is shown. The lock must be held.
  void SetAside();
  // Shown again: the discs that went meanwhile are released, those that came are created, every
  // disc is put where the requests since SetAside left it, the process on the processor last;
  // then the wait counter and the page file. Requests in the same order as had they been shown
  // one by one, but one per disc. The lock must be held.
  void ShowAgain(const Simulation& sim);
  bool Shown() const { return target_.load(std::memory_order_acquire) == &shown_; }

  void CreateShape(ShapeId shape, std::int32_t pid, TColor color) override;
  void AttachShape(ShapeId shape) override;
  void ReleaseShape(ShapeId shape) override;
  void ShowOnCpu(const DiscPlace& place) override;
  void RefreshWaitArea(const std::vector<DiscPlace>& places) override;
  void AdvanceWaitCounter(int value) override;
  void RedrawPageFile() override;
  void WaitUntilShown() override { target_.load(std::memory_order_acquire)->WaitUntilShown(); }

 private:
  struct Disc {
    std::int32_t Pid = 0;
    TColor Color = 0;
    bool Attached = false;
    std::optional<DiscPlace> Place;
  };
  void Put(const DiscPlace& place);
  IDisplay& Target() const { return *target_.load(std::memory_order_acquire); }

  IDisplay& shown_;
  NullDisplay none_;
  // Read without the lock by WaitUntilShown; switched with the lock held.
  std::atomic<IDisplay*> target_{&shown_};
  // Every disc alive, as the requests so far left it (kept while shown too, so that setting the
  // display aside needs no copy of the simulation).
  std::unordered_map<ShapeId, Disc> discs_;
  // The discs the shown display had when it was set aside.
  std::unordered_set<ShapeId> shownDiscs_;
  ShapeId onProcessor_ = 0;
};

}  // namespace kelpa
