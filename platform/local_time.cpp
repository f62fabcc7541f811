// SPDX-License-Identifier: MIT
#include "platform/local_time.h"

#include <ctime>
#include <utility>

namespace kelpa {
namespace {

constexpr std::int64_t kMsPerHour = 3600000;
constexpr std::int64_t kMsPerDayInt = 86400000;
// Days from 1899-12-30, where date-times count from, to 1970-01-01.
constexpr std::int64_t kUnixEpochDays = 25569;

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  const std::int64_t quotient = value / divisor;
  return quotient * divisor > value ? quotient - 1 : quotient;
}

}  // namespace

LocalTimeCache::LocalTimeCache(OffsetAt offsetAt) : offsetAt_(std::move(offsetAt)) {}

std::int64_t LocalTimeCache::HostOffset(std::int64_t utcSeconds) {
  const std::time_t seconds = static_cast<std::time_t>(utcSeconds);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local.tm_gmtoff;
}

void LocalTimeCache::Refresh(std::int64_t utcMs) {
  ++lookups_;
  const std::int64_t utcSeconds = FloorDiv(utcMs, 1000);
  offsetMs_ = offsetAt_(utcSeconds) * 1000;
  const std::int64_t localMs = utcMs + offsetMs_;
  const std::int64_t nextLocalHour = (FloorDiv(localMs, kMsPerHour) + 1) * kMsPerHour;
  fromMs_ = utcMs;
  untilMs_ = nextLocalHour - offsetMs_;
  // Zones change their offset at whole local hours; should one not, the offset is asked again
  // every second until past the change.
  if (offsetAt_(FloorDiv(untilMs_ - 1, 1000)) * 1000 != offsetMs_) {
    untilMs_ = (utcSeconds + 1) * 1000;
  }
}

TDateTime LocalTimeCache::Local(std::int64_t utcMs) {
  if (utcMs < fromMs_ || utcMs >= untilMs_) {
    Refresh(utcMs);
  }
  const std::int64_t localMs = utcMs + offsetMs_;
  const std::int64_t days = FloorDiv(localMs, kMsPerDayInt);
  // Whole days plus the fraction of the day, as EncodeDateTime builds them.
  return static_cast<double>(days + kUnixEpochDays) +
         static_cast<double>(localMs - days * kMsPerDayInt) / kMsPerDay;
}

}  // namespace kelpa
