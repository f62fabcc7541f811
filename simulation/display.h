// SPDX-License-Identifier: MIT
// What the simulation asks the windows to show. The simulation never touches a widget: it hands
// each update over through this interface, holding the simulation lock. Implementations carry the
// updates out on the user-interface thread in the order they were requested, and must never wait
// for that thread inside these calls (the caller holds the lock).
#pragma once

#include <cstdint>
#include <vector>

#include "simulation/colour.h"

namespace kelpa {

// Names a process's disc. The process owns it; the user-interface thread creates and deletes the
// widget. 0 names no disc.
using ShapeId = std::uint64_t;

// Where a disc stands on the processor window, without pixels: the window owns the positions.
enum class DiscLocation : std::uint8_t {
  Ready,      // in the ready queue of priority Queue, Index-th to be dispatched
  Processor,  // running
  IoDevice,   // head of the wait list, being served
  WaitList,   // Index-th behind the head of the wait list
  Suspended,  // Index-th of the suspended list
};

struct DiscPlace {
  ShapeId Shape = 0;
  TColor Color = 0;
  DiscLocation Where = DiscLocation::Ready;
  int Queue = 0;  // ready queue (priority); only for Ready
  int Index = 0;  // order in its queue or list, 0 first

  friend bool operator==(const DiscPlace&, const DiscPlace&) = default;
};

class IDisplay {
 public:
  virtual ~IDisplay() = default;
  // A new process's disc: a 12 x 12 circle in its colour, hint = pid, no window yet.
  virtual void CreateShape(ShapeId shape, std::int32_t pid, TColor color) = 0;
  // The process became ready: its disc is placed on the processor window (the window's own timer
  // positions it in its queue's row).
  virtual void AttachShape(ShapeId shape) = 0;
  // The process ended: its disc is hidden and deleted.
  virtual void ReleaseShape(ShapeId shape) = 0;
  // The dispatched process's disc moves onto the processor (place.Where is Processor).
  virtual void ShowOnCpu(const DiscPlace& place) = 0;
  // The discs of the wait list and the suspended list, in their order.
  virtual void RefreshWaitArea(const std::vector<DiscPlace>& places) = 0;
  // The I/O wait counter shown on the processor window's progress bar.
  virtual void AdvanceWaitCounter(int value) = 0;
  // A page-file block changed state: the page-file grid is repainted.
  virtual void RedrawPageFile() = 0;
  // Called by a simulation thread with the lock released: returns once the user-interface thread
  // has carried out every update requested so far, or at once when the display is stopping.
  virtual void WaitUntilShown() {}
};

// A display that shows nothing (benchmarks, headless runs).
class NullDisplay final : public IDisplay {
 public:
  void CreateShape(ShapeId, std::int32_t, TColor) override {}
  void AttachShape(ShapeId) override {}
  void ReleaseShape(ShapeId) override {}
  void ShowOnCpu(const DiscPlace&) override {}
  void RefreshWaitArea(const std::vector<DiscPlace>&) override {}
  void AdvanceWaitCounter(int) override {}
  void RedrawPageFile() override {}
};

}  // namespace kelpa
