// SPDX-License-Identifier: MIT
// The thread under each of the simulation's loops (clock, processor, wait service): created idle,
// started, asked to terminate; the loop tests the request once per pass, and its sleeps end at
// once when the request comes or when it is woken.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kelpa {

class TSimThread {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  TSimThread() = default;
  ~TSimThread();
  TSimThread(const TSimThread&) = delete;
  TSimThread& operator=(const TSimThread&) = delete;

  // Runs loop on a new thread; a second call does nothing.
  void Start(std::function<void()> loop);
  void RequestTerminate();
  void Join();
  bool TerminateRequested() const { return terminate_.load(); }

  // Sleeps until the deadline, which is read again after every wake, or until termination.
  void SleepUntil(const std::function<TimePoint()>& deadline);
  void SleepFor(std::chrono::milliseconds span);
  // Sleeps, with no time-out, while condition holds (read again after every wake) and no
  // termination is asked for.
  void SleepWhile(const std::function<bool()>& condition);
  // Makes a sleeping loop read its deadline again.
  void Wake();

 private:
  std::atomic<bool> terminate_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
};

}  // namespace kelpa
