// SPDX-License-Identifier: MIT
// Date-times as days, the forms they are printed in, and the process identifier.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/datetime.h"
#include "platform/local_time.h"

namespace kelpa {
namespace {

TDateTime At(int hour, int minute, int second, int ms, int day = 7) {
  return EncodeDateTime({2026, 12, day, hour, minute, second, ms});
}

double Span(int hour, int minute, int second, int ms) {
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + ms) / kMsPerDay;
}

TEST(DateTimeTest, IdentifierIsMinutesSecondsAndMillisecondsOfTheTime) {
  EXPECT_EQ(IdentifierFromTime(At(9, 0, 5, 7)), 5007);
  EXPECT_EQ(IdentifierFromTime(At(10, 59, 59, 999)), 5959999);
  EXPECT_EQ(IdentifierFromTime(At(12, 5, 7, 89)), 507089);
  EXPECT_EQ(IdentifierFromTime(At(23, 0, 0, 0)), 0);
  // The hour plays no part: the identifier repeats every hour.
  EXPECT_EQ(IdentifierFromTime(At(14, 30, 0, 1)), IdentifierFromTime(At(3, 30, 0, 1)));
}

TEST(DateTimeTest, NextIdentifierIsTheNextMillisecondWithinTheHour) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {0, 1},          {507089, 507090},   {5998, 5999},       {5999, 6000},
      {59999, 100000}, {1259999, 1300000}, {5959998, 5959999}, {5959999, 0}};
  for (const auto& [from, next] : cases) {
    EXPECT_EQ(NextIdentifier(from), next) << from;
  }
}

TEST(DateTimeTest, FormatSpanPrintsHoursMinutesSecondsAndMilliseconds) {
  EXPECT_EQ(FormatSpan(0), "00:00:00:000");
  EXPECT_EQ(FormatSpan(Span(1, 2, 3, 4)), "01:02:03:004");
  EXPECT_EQ(FormatSpan(Span(23, 59, 59, 999)), "23:59:59:999");
  EXPECT_EQ(FormatSpan(0.1 / 86400), "00:00:00:100");
  // Beyond a day only the part past whole days shows.
  EXPECT_EQ(FormatSpan(2 + Span(2, 0, 0, 3)), "02:00:00:003");
  EXPECT_EQ(FormatSpan(-Span(0, 0, 1, 0)), "00:00:00:000");
  // A difference of two of today's date-times keeps its milliseconds.
  EXPECT_EQ(FormatSpan(At(9, 0, 1, 234) - At(8, 59, 0, 0)), "00:01:01:234");
  EXPECT_EQ(FormatSpan(At(0, 0, 0, 1, 8) - At(23, 59, 59, 999)), "00:00:00:002");
}

TEST(DateTimeTest, WholeSecondsTruncatesAfterRoundingToTheMillisecond) {
  EXPECT_EQ(WholeSeconds(At(9, 0, 10, 900) - At(9, 0, 0, 0)), 10);
  EXPECT_EQ(WholeSeconds(At(9, 1, 0, 0) - At(9, 0, 0, 0)), 60);
  EXPECT_EQ(WholeSeconds(Span(0, 0, 0, 999)), 0);
  EXPECT_EQ(WholeSeconds(0), 0);
}

TEST(DateTimeTest, OtherPrintedFormsAndTheRoundTrip) {
  const TDateTime value = EncodeDateTime({2024, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(FormatMonthDayHourMinute(value), "03040506");
  EXPECT_EQ(FormatTimeOfDay(value), "05:06:07");
  EXPECT_EQ(EncodeDateTime({1899, 12, 30, 0, 0, 0, 0}), 0);
  EXPECT_EQ(EncodeDateTime({1900, 1, 1, 12, 0, 0, 0}), 2.5);

  const DateTimeParts p = DecodeDateTime(EncodeDateTime({2024, 2, 29, 23, 59, 59, 999}));
  EXPECT_EQ((std::vector<int>{p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second, p.Millisecond}),
            (std::vector<int>{2024, 2, 29, 23, 59, 59, 999}));
}

// A zone at UTC-3 that moves to UTC-2 at 02:00 local time on 2026-10-18 (a whole local hour), and,
// to check the guard, at 04:30 UTC on 2026-03-01 (not a whole hour) back from UTC-2 to UTC-3.
constexpr std::int64_t kSpringForwardUtc = 1792299600;  // 2026-10-18 05:00 UTC = 02:00 at UTC-3
constexpr std::int64_t kOddChangeUtc = 1772339400;      // 2026-03-01 04:30 UTC

std::int64_t TestZone(std::int64_t utcSeconds) {
  return utcSeconds >= kOddChangeUtc && utcSeconds < kSpringForwardUtc ? -3 * 3600 : -2 * 3600;
}

TEST(LocalTimeTest, TheZoneIsAskedOncePerLocalHourAndEveryChangeShows) {
  LocalTimeCache cache(TestZone);
  const auto local = [&cache](std::int64_t utcSeconds, int ms = 0) {
    const DateTimeParts p = DecodeDateTime(cache.Local(utcSeconds * 1000 + ms));
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d %02d:%02d:%02d.%03d", p.Month, p.Day, p.Hour,
                  p.Minute, p.Second, p.Millisecond);
    return std::string(text);
  };
  // A whole hour of readings asks once; the next local hour asks again.
  const std::int64_t before = kSpringForwardUtc - 3600;  // 01:00 local
  EXPECT_EQ(local(before), "10-18 01:00:00.000");
  EXPECT_EQ(local(before + 1799, 250), "10-18 01:29:59.250");
  EXPECT_EQ(local(kSpringForwardUtc - 1, 999), "10-18 01:59:59.999");
  EXPECT_EQ(cache.Lookups(), 1);
  // Daylight saving time starts: 02:00 at UTC-3 is 03:00 at UTC-2.
  EXPECT_EQ(local(kSpringForwardUtc), "10-18 03:00:00.000");
  EXPECT_EQ(cache.Lookups(), 2);
  // The date changes with the local midnight, not the UTC one.
  EXPECT_EQ(local(kSpringForwardUtc + 21 * 3600 - 1), "10-18 23:59:59.000");
  EXPECT_EQ(local(kSpringForwardUtc + 21 * 3600), "10-19 00:00:00.000");
  // A clock set back is read again.
  EXPECT_EQ(local(before), "10-18 01:00:00.000");

  // An offset that changes within a local hour is still seen at once.
  EXPECT_EQ(local(kOddChangeUtc - 600), "03-01 02:20:00.000");
  EXPECT_EQ(local(kOddChangeUtc), "03-01 01:30:00.000");
  // And it is the same value the date-time of the parts would be.
  EXPECT_EQ(cache.Local(kOddChangeUtc * 1000 + 7), EncodeDateTime({2026, 3, 1, 1, 30, 0, 7}));
}

}  // namespace
}  // namespace kelpa
