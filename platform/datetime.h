// SPDX-License-Identifier: MIT
// Date-times as the simulation keeps them: a double number of days since 1899-12-30 in local time
// (the integer part is the date, the fraction the time of day). Spans are differences of two.
#pragma once

#include <cstdint>
#include <string>

namespace kelpa {

using TDateTime = double;

inline constexpr double kMsPerDay = 86400000.0;

// Whole milliseconds of a span of days, rounded to the nearest.
std::int64_t SpanMs(double days);

struct DateTimeParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
};

TDateTime EncodeDateTime(const DateTimeParts& parts);
DateTimeParts DecodeDateTime(TDateTime value);

// "hh:nn:ss:zzz" of the time-of-day part; a span of a day or more shows only what lies beyond
// whole days; a negative span prints as zero.
std::string FormatSpan(double span);
// "hh:nn:ss", the time of day as the windows show times.
std::string FormatTimeOfDay(TDateTime value);
// "mmddhhnn": month, day, hour and minute, two digits each (the log file name).
std::string FormatMonthDayHourMinute(TDateTime value);
// The process identifier: "NNSSZZZ" (minutes, seconds, milliseconds) read as a decimal number.
std::int32_t IdentifierFromTime(TDateTime value);
// The identifier of the millisecond after that of an identifier; after 5959999 comes 0.
std::int32_t NextIdentifier(std::int32_t identifier);
// Whole seconds of a span, truncated towards zero.
std::int64_t WholeSeconds(double span);

}  // namespace kelpa
