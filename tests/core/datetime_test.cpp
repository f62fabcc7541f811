// Date-times as days, the forms they are printed in, and the process identifier.
#include <gtest/gtest.h>

#include <vector>

#include "core/datetime.h"

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

}  // namespace
}  // namespace kelpa
