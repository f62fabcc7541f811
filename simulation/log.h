// SPDX-License-Identifier: MIT
// The one way every part of the simulation reports what happens: a line of text and its colour.
// Implementations stamp the time and must accept calls from any thread, keeping their order.
#pragma once

#include <string>

#include "simulation/colour.h"

namespace kelpa {

class ILog {
 public:
  virtual ~ILog() = default;
  virtual void AddLine(const std::string& text, TColor colour) = 0;
  // True for a log that keeps nothing: the lines are then not even composed. Asked once, when the
  // simulation is made.
  virtual bool Discards() const { return false; }
};

// A log that keeps nothing (the runner, whose trace comes from the events; benchmarks).
class NullLog final : public ILog {
 public:
  void AddLine(const std::string&, TColor) override {}
  bool Discards() const override { return true; }
};

}  // namespace kelpa
