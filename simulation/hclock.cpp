// SPDX-License-Identifier: MIT
#include "simulation/hclock.h"

#include "simulation/event.h"

namespace kelpa {

THClock::THClock(TEvent& clockEvent) : clockEvent_(clockEvent) {}

THClock::~THClock() {
  RequestTerminate();
  Join();
}

void THClock::Start() {
  thread_.Start([this] { Run(); });
}

void THClock::RequestTerminate() {
  thread_.RequestTerminate();
}

void THClock::Join() {
  thread_.Join();
}

void THClock::PeriodChanged() {
  thread_.Wake();
}

void THClock::Rest() {
  resting_.store(true);
}

void THClock::Resume() {
  if (resting_.exchange(false)) {
    thread_.Wake();
  }
}

void THClock::Run() {
  using namespace std::chrono;
  steady_clock::time_point last = steady_clock::now();
  // The next tick is due one period after the previous one; a period changed meanwhile counts
  // from that tick too, so moving the control takes effect at once.
  const auto due = [&] { return last + milliseconds(Period.load()); };
  while (!thread_.TerminateRequested()) {
    if (resting_.load()) {
      thread_.SleepWhile([this] { return resting_.load(); });
      last = steady_clock::now();
    } else {
      clockEvent_.Set();
      if (OnTick) {
        OnTick(last);
      }
    }
    thread_.SleepUntil(due);
    // Keep to the schedule; after a stall longer than a period, start afresh instead of bursting.
    const auto deadline = due();
    const auto now = steady_clock::now();
    last = (now - deadline > milliseconds(Period.load())) ? now : deadline;
  }
}

}  // namespace kelpa
