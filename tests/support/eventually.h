// SPDX-License-Identifier: MIT
// Waits for a condition another thread brings about. The bound only keeps a broken test from
// hanging; no test depends on how soon the condition holds.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace kelpa::test {

inline bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace kelpa::test
