// SPDX-License-Identifier: MIT
// Every reading of "now" goes through IClock, so tests can drive time by hand.
#pragma once

#include <atomic>
#include <mutex>

#include "platform/datetime.h"
#include "platform/local_time.h"

namespace kelpa {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual TDateTime Now() const = 0;
};

// Local date and time of the host, to the millisecond. Every log line reads it, so the zone's
// offset is kept for the rest of the local hour (LocalTimeCache).
class SystemClock final : public IClock {
 public:
  TDateTime Now() const override;

 private:
  mutable std::mutex mutex_;
  mutable LocalTimeCache local_;
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
