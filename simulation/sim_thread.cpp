// SPDX-License-Identifier: MIT
#include "simulation/sim_thread.h"

namespace kelpa {

TSimThread::~TSimThread() {
  RequestTerminate();
  Join();
}

void TSimThread::Start(std::function<void()> loop) {
  if (!thread_.joinable()) {
    thread_ = std::thread(std::move(loop));
  }
}

void TSimThread::RequestTerminate() {
  {
    std::lock_guard lock(mutex_);
    terminate_.store(true);
  }
  wake_.notify_all();
}

void TSimThread::Join() {
  if (thread_.joinable()) {
    thread_.join();
  }
}

void TSimThread::SleepUntil(const std::function<TimePoint()>& deadline) {
  std::unique_lock lock(mutex_);
  TimePoint until = deadline();
  while (!terminate_.load() && std::chrono::steady_clock::now() < until) {
    wake_.wait_until(lock, until);
    until = deadline();
  }
}

void TSimThread::SleepFor(std::chrono::milliseconds span) {
  const TimePoint until = std::chrono::steady_clock::now() + span;
  SleepUntil([until] { return until; });
}

void TSimThread::SleepWhile(const std::function<bool()>& condition) {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [&] { return terminate_.load() || !condition(); });
}

void TSimThread::Wake() {
  // Taking the mutex orders the wake-up after the sleeper has either read its deadline or begun
  // to wait; a bare notify could fall between the two and be lost.
  { std::lock_guard lock(mutex_); }
  wake_.notify_all();
}

}  // namespace kelpa
