#include "calendar/SunLongitude.h"

#include <gtest/gtest.h>

#include <cmath>

#include "foundation/Dates.h"

namespace kzm {
namespace {


double LocalTime(int year, int month, int day, int hour, int minute) {
  return EncodeDate(year, month, day) + (hour * 60 + minute) / 1440.0;
}

TEST(SunLongitude, TimeArgumentCountsFromTheStartOf1975InUniversalTime) {
  // Local midnight is 15:00 of the day before in universal time.
  EXPECT_DOUBLE_EQ(TimeArgument(EncodeDate(1975, 1, 1)), (15.0 / 24.0) / 365.25);
  EXPECT_DOUBLE_EQ(TimeArgument(LocalTime(1975, 1, 1, 9, 0)), 1.0 / 365.25);
  // Minutes are dropped: 09:59 is still hour 0 of universal time.
  EXPECT_DOUBLE_EQ(TimeArgument(LocalTime(1975, 1, 1, 9, 59)), 1.0 / 365.25);
  EXPECT_DOUBLE_EQ(TimeArgument(LocalTime(1976, 1, 1, 9, 0)), 366.0 / 365.25);
  EXPECT_LT(TimeArgument(EncodeDate(1900, 1, 1)), -74.9);
}

TEST(SunLongitude, MatchesTheMomentsOfEquinoxesAndSolstices) {
  // Published moments (Japan time); the series works to the hour, so allow 0.1 degree.
  struct Case {
    double date;
    double degrees;
  };
  const Case cases[] = {
      {LocalTime(2004, 3, 20, 15, 49), 0},   {LocalTime(2004, 6, 21, 9, 57), 90},
      {LocalTime(2004, 9, 23, 1, 30), 180},  {LocalTime(2004, 12, 21, 21, 42), 270},
          {LocalTime(2026, 3, 20, 23, 46), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.degrees);
    const double longitude = SunLongitude(c.date);
    ASSERT_GE(longitude, 0.0);
    ASSERT_LT(longitude, 360.0);
    double difference = std::fmod(longitude - c.degrees + 540.0, 360.0) - 180.0;
    EXPECT_NEAR(difference, 0.0, 0.1);
  }
}

TEST(SunLongitude, CrossingDayFindsTheDayFromEitherSide) {
  // The sun crosses 0 degrees on 20 March 2004 (Japan time); the step takes the short way
  // round whether it starts before or after the crossing.
  const int32_t equinox = EncodeDate(2004, 3, 20);
  for (int32_t start = equinox - 2; start <= equinox + 2; ++start) {
    SCOPED_TRACE(start - equinox);
    EXPECT_EQ(std::floor(CrossingDay(0, start)), equinox);
  }
  EXPECT_EQ(std::floor(CrossingDay(180, EncodeDate(2012, 9, 23))), EncodeDate(2012, 9, 22));
}

}  // namespace
}  // namespace kzm
