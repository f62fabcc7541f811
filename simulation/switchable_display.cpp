// SPDX-License-Identifier: MIT
#include "simulation/switchable_display.h"

#include "simulation/simulation.h"

namespace kelpa {

void SwitchableDisplay::SetAside() {
  shownDiscs_.clear();
  for (const auto& [shape, disc] : discs_) {
    shownDiscs_.insert(shape);
  }
  target_.store(&none_, std::memory_order_release);
}

void SwitchableDisplay::ShowAgain(const Simulation& sim) {
  if (Shown()) {
    return;
  }
  target_.store(&shown_, std::memory_order_release);
  for (const ShapeId shape : shownDiscs_) {
    if (discs_.count(shape) == 0) {
      shown_.ReleaseShape(shape);
    }
  }
  std::vector<DiscPlace> places;
  std::optional<DiscPlace> running;
  for (const auto& [shape, disc] : discs_) {
    if (shownDiscs_.count(shape) == 0) {
      shown_.CreateShape(shape, disc.Pid, disc.Color);
    }
    if (disc.Attached) {
      shown_.AttachShape(shape);
    }
    if (!disc.Place) {
      continue;
    }
    if (shape == onProcessor_ && disc.Place->Where == DiscLocation::Processor) {
      running = disc.Place;
    } else {
      places.push_back(*disc.Place);
    }
  }
  shownDiscs_.clear();
  // A disc not placed since it was created stays where the window puts new ones; the ready ones
  // are placed by the window from the queues.
  if (!places.empty()) {
    shown_.RefreshWaitArea(places);
  }
  // Drawn over a disc that was last put on the processor before it.
  if (running) {
    shown_.ShowOnCpu(*running);
  }
  shown_.AdvanceWaitCounter(sim.Espera.WaitCounter);
  shown_.RedrawPageFile();
}

void SwitchableDisplay::CreateShape(ShapeId shape, std::int32_t pid, TColor color) {
  discs_[shape] = {pid, color, false, std::nullopt};
  Target().CreateShape(shape, pid, color);
}

void SwitchableDisplay::AttachShape(ShapeId shape) {
  if (const auto found = discs_.find(shape); found != discs_.end()) {
    found->second.Attached = true;
  }
  Target().AttachShape(shape);
}

void SwitchableDisplay::ReleaseShape(ShapeId shape) {
  discs_.erase(shape);
  Target().ReleaseShape(shape);
}

void SwitchableDisplay::Put(const DiscPlace& place) {
  if (const auto found = discs_.find(place.Shape); found != discs_.end()) {
    found->second.Color = place.Color;
    found->second.Place = place;
  }
}

void SwitchableDisplay::ShowOnCpu(const DiscPlace& place) {
  Put(place);
  onProcessor_ = place.Shape;
  Target().ShowOnCpu(place);
}

void SwitchableDisplay::RefreshWaitArea(const std::vector<DiscPlace>& places) {
  for (const DiscPlace& place : places) {
    Put(place);
  }
  Target().RefreshWaitArea(places);
}

void SwitchableDisplay::AdvanceWaitCounter(int value) {
  Target().AdvanceWaitCounter(value);
}

void SwitchableDisplay::RedrawPageFile() {
  Target().RedrawPageFile();
}

}  // namespace kelpa
