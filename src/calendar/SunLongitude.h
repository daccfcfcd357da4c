#pragma once

#include "foundation/Dates.h"

namespace kzm {

// Dates here are day numbers with a fraction for the time of day, Japan time: whole days
// since 1899-12-30, 0.5 being noon.

// Years since the beginning of 1975, universal time, counted to the whole hour of the
// moment. The longitude series below is written against this argument.
[[nodiscard]] double TimeArgument(double localDate);

// The sun's apparent ecliptic longitude at the moment, in degrees in [0, 360). A short
// trigonometric series: good to a few hundredths of a degree for the twentieth and
// twenty-first centuries, which is what a calendar of named days needs.
[[nodiscard]] double SunLongitude(double localDate);

// Where the sun reaches longitude degrees, found by one straight-line step between
// local midnight of dayNumber and of the day after. The whole part of the result is the
// local day of the crossing when dayNumber lies within a day or two of it; the angles are
// taken the short way round, so a target of 0 works from either side of the crossing.
[[nodiscard]] double CrossingDay(double longitude, TDayNumber dayNumber);

}  // namespace kzm
