// SPDX-License-Identifier: MIT
// An event as the simulation's threads use it: manual reset (stays set until reset) or automatic
// reset (one waiter passes and it resets itself; repeated sets while nobody waits collapse into
// one). Close wakes every waiter and lets every later wait return at once, so shutdown never
// blocks on an event.
#pragma once

#include <condition_variable>
#include <mutex>

namespace kelpa {

class TEvent {
 public:
  TEvent(bool manualReset, bool initiallySet) : manual_(manualReset), set_(initiallySet) {}
  TEvent(const TEvent&) = delete;
  TEvent& operator=(const TEvent&) = delete;

  void Set();
  void Reset();
  // Waits without time-out until the event is set (or closed). Returns false when closed.
  bool Wait();
  void Close();
  bool IsSet() const;
  bool IsClosed() const;

 private:
  const bool manual_;
  bool set_;
  bool closed_ = false;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
};

}  // namespace kelpa
