// SPDX-License-Identifier: MIT
// Local date-times from instants of the system clock. Asking the time zone for every reading
// costs more than all the rest of a log line's stamp, and the zone's offset from UTC only changes
// at whole local hours, so the offset is kept for the rest of the local hour it was asked in.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/datetime.h"

namespace kelpa {

class LocalTimeCache {
 public:
  // The zone's offset from UTC, in seconds, at an instant given in seconds since 1970 UTC.
  using OffsetAt = std::function<std::int64_t(std::int64_t utcSeconds)>;

  explicit LocalTimeCache(OffsetAt offsetAt = HostOffset);

  // The local date-time of an instant given in milliseconds since 1970 UTC.
  TDateTime Local(std::int64_t utcMs);
  // How many times the zone has been asked (tests).
  int Lookups() const { return lookups_; }

  static std::int64_t HostOffset(std::int64_t utcSeconds);

 private:
  void Refresh(std::int64_t utcMs);

  OffsetAt offsetAt_;
  std::int64_t offsetMs_ = 0;
  // The cached offset holds for instants in [fromMs_, untilMs_).
  std::int64_t fromMs_ = 0;
  std::int64_t untilMs_ = 0;
  int lookups_ = 0;
};

}  // namespace kelpa
