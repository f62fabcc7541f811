// SPDX-License-Identifier: MIT
#include "platform/datetime.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace kelpa {
namespace {

constexpr std::chrono::sys_days kEpoch =
    std::chrono::sys_days{std::chrono::year{1899} / std::chrono::December / 30};

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

}  // namespace

std::int64_t SpanMs(double days) {
  return static_cast<std::int64_t>(std::llround(days * kMsPerDay));
}

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
  const std::int64_t total = SpanMs(value);
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
  // Every log line is stamped with this: the time of day alone, without decoding the date.
  std::int64_t ms = SpanMs(span) % 86400000;
  std::string text = "00:00:00:000";
  const auto put = [&text](std::size_t end, std::int64_t value, int digits) {
    for (int i = 1; i <= digits; ++i, value /= 10) {
      text[end - i] = static_cast<char>('0' + value % 10);
    }
  };
  put(12, ms % 1000, 3);
  ms /= 1000;
  put(8, ms % 60, 2);
  ms /= 60;
  put(5, ms % 60, 2);
  put(2, ms / 60, 2);
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

std::int32_t NextIdentifier(std::int32_t identifier) {
  std::int32_t ms = identifier % 1000 + 1;
  std::int32_t second = identifier / 1000 % 100;
  std::int32_t minute = identifier / 100000;
  if (ms == 1000) {
    ms = 0;
    ++second;
  }
  if (second >= 60) {
    second = 0;
    ++minute;
  }
  if (minute >= 60) {
    minute = 0;
  }
  return minute * 100000 + second * 1000 + ms;
}

std::int64_t WholeSeconds(double span) {
  // Round to the millisecond first so that 10.9 s stored as days does not come out as 10.899.
  return SpanMs(span) / 1000;
}

}  // namespace kelpa
