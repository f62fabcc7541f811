// SPDX-License-Identifier: MIT
// The one lock of the simulation: a mutex that knows which thread holds it, so every operation
// that assumes the lock can check it (in debug builds) instead of only saying so.
#pragma once

#include <atomic>
#include <cassert>
#include <mutex>
#include <thread>

namespace kelpa {

class SimLock {
 public:
  void lock() {
    mutex_.lock();
    owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
  }
  void unlock() {
    owner_.store(std::thread::id(), std::memory_order_relaxed);
    mutex_.unlock();
  }

  bool HeldByThisThread() const {
    return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
  }
  // Stops a debug build at the first operation entered without the lock.
  void AssertHeld() const { assert(HeldByThisThread() && "the simulation lock is not held"); }

 private:
  std::mutex mutex_;
  // Only the holder writes its own id here, and only it can read its own id back, so relaxed
  // order suffices: another thread reads some other value, never this thread's id.
  std::atomic<std::thread::id> owner_{};
};

}  // namespace kelpa
