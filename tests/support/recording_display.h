// SPDX-License-Identifier: MIT
// A display that records what the simulation asked to show, for tests.
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "simulation/display.h"

namespace kelpa::test {

class RecordingDisplay final : public IDisplay {
 public:
  void CreateShape(ShapeId shape, std::int32_t, TColor) override {
    std::lock_guard lock(mutex_);
    created.insert(shape);
  }
  void AttachShape(ShapeId shape) override {
    std::lock_guard lock(mutex_);
    attached.insert(shape);
  }
  void ReleaseShape(ShapeId shape) override {
    std::lock_guard lock(mutex_);
    released.insert(shape);
  }
  void ShowOnCpu(const DiscPlace& place) override {
    std::lock_guard lock(mutex_);
    onCpu.push_back(place);
  }
  void RefreshWaitArea(const std::vector<DiscPlace>& places) override {
    std::lock_guard lock(mutex_);
    waitArea = places;
    ++waitAreaRefreshes;
  }
  void AdvanceWaitCounter(int value) override {
    std::lock_guard lock(mutex_);
    waitCounter.push_back(value);
  }
  void RedrawPageFile() override {
    std::lock_guard lock(mutex_);
    ++pageFileRedraws;
  }

  std::mutex mutex_;
  std::set<ShapeId> created;
  std::set<ShapeId> attached;
  std::set<ShapeId> released;
  std::vector<DiscPlace> onCpu;
  std::vector<DiscPlace> waitArea;
  int waitAreaRefreshes = 0;
  std::vector<int> waitCounter;
  int pageFileRedraws = 0;
};

}  // namespace kelpa::test
