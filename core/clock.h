// Every reading of "now" goes through IClock, so tests can drive time by hand.
#pragma once

#include <atomic>

#include "core/datetime.h"

namespace kelpa {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual TDateTime Now() const = 0;
};

// Local date and time of the host, to the millisecond.
class SystemClock final : public IClock {
 public:
  TDateTime Now() const override;
};

// A clock that moves only when told; safe to read from any thread.
class ManualClock final : public IClock {
 public:
  explicit ManualClock(TDateTime start = EncodeDateTime({2026, 12, 7, 9, 0, 0, 0})) : now_(start) {}
  TDateTime Now() const override { return now_.load(); }
  void Set(TDateTime value) { now_.store(value); }
  void Set(const DateTimeParts& parts) { now_.store(EncodeDateTime(parts)); }
  void AdvanceMs(double milliseconds) {
    TDateTime expected = now_.load();
    while (!now_.compare_exchange_weak(expected, expected + milliseconds / kMsPerDay)) {
    }
  }

 private:
  std::atomic<TDateTime> now_;
};

}  // namespace kelpa
