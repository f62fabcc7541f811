#include "core/hclock.h"

#include "core/event.h"

namespace kelpa {

THClock::THClock(TEvent& clockEvent) : clockEvent_(clockEvent) {}

THClock::~THClock() {
  RequestTerminate();
  Join();
}

void THClock::Start() {
  if (!thread_.joinable()) {
    thread_ = std::thread([this] { Run(); });
  }
}

void THClock::RequestTerminate() {
  {
    std::lock_guard lock(mutex_);
    terminate_.store(true);
  }
  wake_.notify_all();
}

void THClock::Join() {
  if (thread_.joinable()) {
    thread_.join();
  }
}

void THClock::PeriodChanged() {
  // Taking the mutex orders the wake-up after the clock has either read the new period or begun
  // to wait; a bare notify could fall between the two and be lost until the old deadline.
  { std::lock_guard lock(mutex_); }
  wake_.notify_all();
}

void THClock::Run() {
  using namespace std::chrono;
  steady_clock::time_point last = steady_clock::now();
  while (!terminate_.load()) {
    clockEvent_.Set();
    if (OnTick) {
      OnTick(last);
    }
    std::unique_lock lock(mutex_);
    // The next tick is due one period after the previous one; a period changed meanwhile counts
    // from that tick too, so moving the control takes effect at once.
    steady_clock::time_point deadline = last + milliseconds(Period.load());
    while (!terminate_.load() && steady_clock::now() < deadline) {
      wake_.wait_until(lock, deadline);
      deadline = last + milliseconds(Period.load());
    }
    // Keep to the schedule; after a stall longer than a period, start afresh instead of bursting.
    const auto now = steady_clock::now();
    last = (now - deadline > milliseconds(Period.load())) ? now : deadline;
  }
}

}  // namespace kelpa
