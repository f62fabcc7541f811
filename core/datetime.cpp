#include "core/datetime.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace kelpa {
namespace {

constexpr std::chrono::sys_days kEpoch =
    std::chrono::sys_days{std::chrono::year{1899} / std::chrono::December / 30};

// Milliseconds since the epoch, rounded to the nearest millisecond.
std::int64_t TotalMilliseconds(double days) {
  return static_cast<std::int64_t>(std::llround(days * kMsPerDay));
}

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

}  // namespace

TDateTime EncodeDateTime(const DateTimeParts& parts) {
  using namespace std::chrono;
  const sys_days date = sys_days{year{parts.Year} / month{static_cast<unsigned>(parts.Month)} /
                                 day{static_cast<unsigned>(parts.Day)}};
  const double days = static_cast<double>((date - kEpoch).count());
  const double ms =
      ((parts.Hour * 60.0 + parts.Minute) * 60.0 + parts.Second) * 1000.0 + parts.Millisecond;
  return days + ms / kMsPerDay;
}

DateTimeParts DecodeDateTime(TDateTime value) {
  using namespace std::chrono;
  const std::int64_t total = TotalMilliseconds(value);
  std::int64_t dayCount = total / 86400000;
  std::int64_t msOfDay = total % 86400000;
  if (msOfDay < 0) {
    msOfDay += 86400000;
    --dayCount;
  }
  const year_month_day ymd{kEpoch + days{dayCount}};
  DateTimeParts parts;
  parts.Year = static_cast<int>(ymd.year());
  parts.Month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  parts.Day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  parts.Hour = static_cast<int>(msOfDay / 3600000);
  parts.Minute = static_cast<int>(msOfDay / 60000 % 60);
  parts.Second = static_cast<int>(msOfDay / 1000 % 60);
  parts.Millisecond = static_cast<int>(msOfDay % 1000);
  return parts;
}

std::string FormatSpan(double span) {
  if (!(span > 0)) {
    span = 0;
  }
  const DateTimeParts p = DecodeDateTime(span);
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d:%03d", p.Hour, p.Minute, p.Second,
                p.Millisecond);
  return text;
}

std::string FormatTimeOfDay(TDateTime value) {
  const DateTimeParts p = DecodeDateTime(value);
  return TwoDigits(p.Hour) + ":" + TwoDigits(p.Minute) + ":" + TwoDigits(p.Second);
}

std::string FormatMonthDayHourMinute(TDateTime value) {
  const DateTimeParts p = DecodeDateTime(value);
  return TwoDigits(p.Month) + TwoDigits(p.Day) + TwoDigits(p.Hour) + TwoDigits(p.Minute);
}

std::int32_t IdentifierFromTime(TDateTime value) {
  const DateTimeParts p = DecodeDateTime(value);
  return p.Minute * 100000 + p.Second * 1000 + p.Millisecond;
}

std::int64_t WholeSeconds(double span) {
  // Round to the millisecond first so that 10.9 s stored as days does not come out as 10.899.
  return TotalMilliseconds(span) / 1000;
}

}  // namespace kelpa
